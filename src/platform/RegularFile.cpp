#include "platform/RegularFile.h"

#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::optional<QByteArray> ReadOpened(QFile& file, qint64 maxBytes, qint64 limit) {
    QByteArray bytes(std::min(file.size(), limit < 0 ? maxBytes : limit), Qt::Uninitialized);
    const qint64 got = file.read(bytes.data(), bytes.size());
    if (got < 0) {
        return std::nullopt;
    }
    bytes.truncate(got);
    return bytes;
}
} // namespace

bool OpenRegularFile(QFile& file, const QString& path, qint64 maxBytes) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxBytes ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, qint64 limit) {
    QFile file;
    if (!OpenRegularFile(file, path, maxBytes)) {
        return std::nullopt;
    }
    return ReadOpened(file, maxBytes, limit);
}

std::optional<QByteArray> ReadFileOrResource(const QString& path, qint64 maxBytes, qint64 limit) {
    if (!path.startsWith(QLatin1String(":/"))) {
        return ReadRegularFile(path, maxBytes, limit);
    }
    QFile resource(path);
    if (!resource.open(QIODevice::ReadOnly) || resource.size() > maxBytes) {
        return std::nullopt;
    }
    return ReadOpened(resource, maxBytes, limit);
}
