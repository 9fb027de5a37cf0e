#pragma once

#include "platform/Outcome.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct zip;

// A ZIP file opened for reading, with the limits an archive from elsewhere
// needs: a bounded number of entries, entries whose declared or real size is
// bounded, and names that could reach outside the archive's own tree refused.
class ZipArchive {
public:
    // Twelve full boards with a picture and a sound per key hold some 520 files.
    static constexpr int MaxEntries = 20000;
    static constexpr qint64 MaxEntryBytes = 64LL * 1024 * 1024;

    enum class Fault { None, NotAZip, TooManyEntries, MissingEntry, UnsafeName, TooLarge, Damaged };

    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Opens the file; false with the fault when it is no ZIP or holds too many entries.
    bool open(const QString& path);
    Fault fault() const { return m_fault; }

    // The bytes of the named entry ("./" and "\" are taken as in the writer's
    // own tree); nothing, with fault() saying why, when the name is unsafe,
    // missing, too large or the entry cannot be inflated.
    std::optional<QByteArray> read(const QString& name);

    // A name as it stands in the archive, or nothing when it climbs out of
    // the archive (an absolute path, a drive letter or a ".." component).
    static std::optional<QString> CleanName(const QString& name);
    // What the fault means, in Italian, for a message about the whole file.
    static QString FaultText(Fault fault);
    // The fault as a failure: FaultText for the user, the fault and the entry for the log.
    static Outcome Failure(Fault fault, const QString& entry = QString());

private:
    zip* m_zip = nullptr;
    Fault m_fault = Fault::None;
};
