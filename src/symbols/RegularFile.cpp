#include "symbols/RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, qint64 limit) {
    if (limit < 0) {
        limit = maxBytes;
    }
    if (path.startsWith(QLatin1String(":/"))) {
        QFile resource(path);
        if (!resource.open(QIODevice::ReadOnly) || resource.size() > maxBytes) {
            return std::nullopt;
        }
        return resource.read(limit);
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<QByteArray> result;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        QByteArray bytes(qsizetype(std::min<qint64>(info.st_size, limit)), Qt::Uninitialized);
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, std::size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            done += got;
        }
        bytes.truncate(done);
        result = std::move(bytes);
    }
    ::close(fd);
    return result;
}
