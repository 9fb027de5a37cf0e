#pragma once

#include <QByteArray>
#include <QString>

struct zip;

// Writes a new ZIP file. The entries are collected and the file appears
// only when finish() succeeds: the library writes beside it and renames.
class ZipWriter {
public:
    ZipWriter() = default;
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Starts a new archive that will replace `path`; false when it cannot.
    bool start(const QString& path);
    bool add(const QString& name, const QByteArray& bytes);
    // Writes the archive; false (and no file) when it cannot be written.
    bool finish();

private:
    zip* m_zip = nullptr;
};
