#include "runtime/PictureFile.h"

#include "config/FileExists.h"

#include <QFile>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QImage LoadPictureFile(const QString& path) {
    const QString name = ResolveFileCase(path);
    if (name.isEmpty()) {
        return {};
    }
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
    const int fd = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return {};
    }
    // Only a regular file is decoded, never a FIFO, a device without end or a
    // folder: its type and size are checked on the opened file itself. The
    // decoder then reads the file in place; a copy of the whole file in memory
    // made every paint slow, as the heap grew and shrank by megabytes.
    struct stat info {};
    QFile file;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0 ||
        info.st_size > MaxPictureFileBytes ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    QImageReader reader(&file);
    // Qt's allocation limit (256 MB by default) refuses pictures with absurd dimensions.
    reader.setDecideFormatFromContent(true);
    return reader.read();
}
