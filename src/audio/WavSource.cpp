#include "audio/WavSource.h"

#include "audio/WavDecoder.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::optional<QByteArray> result;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        QByteArray bytes;
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        bool failed = false;
        // A file that shrinks while it is read ends early; one that grows is cut.
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                failed = true;
                break;
            }
            if (got == 0) {
                break;
            }
            done += got;
        }
        if (!failed) {
            bytes.resize(done);
            result = bytes;
        }
    }
    ::close(fd);
    return result;
}

void DecodeWav(const QByteArray& wav, AudioFormat target,
               const std::function<void(std::span<const qint16>)>& sink) {
    WavDecoder decoder(wav, target);
    for (std::vector<qint16> piece = decoder.next(); !piece.empty(); piece = decoder.next()) {
        sink(piece);
    }
}
