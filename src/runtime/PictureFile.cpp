#include "runtime/PictureFile.h"

#include "config/FileExists.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray ReadRegularFile(const QString& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; the type is then
    // checked on the open descriptor, so a swap after the check cannot fool it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        st.st_size > MaxPictureFileBytes) {
        ::close(fd);
        return {};
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    return file.read(MaxPictureFileBytes);
}
} // namespace

QImage LoadPictureFile(const QString& path) {
    if (path.isEmpty()) {
        return {};
    }
    QByteArray bytes = ReadRegularFile(ResolveFileCase(path));
    if (bytes.isEmpty()) {
        return {};
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Qt's allocation limit (256 MB by default) refuses pictures with absurd dimensions.
    reader.setDecideFormatFromContent(true);
    return reader.read();
}
