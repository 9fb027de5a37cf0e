#include "obf/ZipWriter.h"

#include <QFile>

#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

ZipWriter::~ZipWriter() {
    if (m_zip != nullptr) {
        zip_discard(m_zip);
    }
}

bool ZipWriter::start(const QString& path) {
    int error = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    return m_zip != nullptr;
}

bool ZipWriter::add(const QString& name, const QByteArray& bytes) {
    // The library reads the buffer only when the archive is written, so it gets its own copy.
    void* copy = std::malloc(std::size_t(std::max<qsizetype>(bytes.size(), 1)));
    if (copy == nullptr) {
        return false;
    }
    std::memcpy(copy, bytes.constData(), std::size_t(bytes.size()));
    zip_source_t* source = zip_source_buffer(m_zip, copy, zip_uint64_t(bytes.size()), 1);
    if (source == nullptr) {
        std::free(copy);
        return false;
    }
    if (zip_file_add(m_zip, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
        zip_source_free(source);
        return false;
    }
    return true;
}

bool ZipWriter::finish() {
    if (zip_close(m_zip) != 0) {
        return false;
    }
    m_zip = nullptr;
    return true;
}
