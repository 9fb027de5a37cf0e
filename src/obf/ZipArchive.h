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

    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Opens the file; a failure when it is no ZIP or holds too many entries.
    Outcome open(const QString& path);

    // The bytes of the named entry ("./" and "\" are taken as in the writer's
    // own tree), or nothing when the archive has no such entry; a failure
    // when the name is unsafe, the entry too large or it cannot be inflated.
    Result<std::optional<QByteArray>> read(const QString& name);

    // A name as it stands in the archive, or nothing when it climbs out of
    // the archive (an absolute path, a drive letter or a ".." component).
    static std::optional<QString> CleanName(const QString& name);
    // The failure of a name that CleanName refuses.
    static Outcome UnsafeName(const QString& name);

private:
    zip* m_zip = nullptr;
};
