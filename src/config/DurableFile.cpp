#include "config/DurableFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A save takes well under a second; one this old was killed.
constexpr int StaleAfterSeconds = 60;

int Sync(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

QString TemporaryName(const QFileInfo& target) {
    static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i) {
        suffix += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof(Letters) - 1))]);
    }
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.') + suffix;
}

int WriteAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (got < 0 && errno != EINTR) {
            return errno;
        }
        done += got > 0 ? got : 0;
    }
    return 0;
}
} // namespace

namespace DurableFile {
int Write(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (info.isDir()) {
        return EISDIR;
    }
    struct stat existing {};
    const bool replacing = ::stat(QFile::encodeName(path).constData(), &existing) == 0;
    QString temporary;
    int fd = -1;
    while (fd < 0) {
        temporary = TemporaryName(info);
        // An installed file is an ordinary one: the umask decides, or the replaced file's mode.
        fd = ::open(QFile::encodeName(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    replacing ? existing.st_mode & 07777 : 0666);
        if (fd < 0 && errno != EEXIST) {
            return errno;
        }
    }
    int error = WriteAll(fd, bytes);
    ::close(fd);
    if (error == 0) {
        error = Replace(temporary, path);
    }
    if (error != 0) {
        ::unlink(QFile::encodeName(temporary).constData());
    }
    return error;
}

int Replace(const QString& temporary, const QString& target) {
    // Some file systems cannot sync at all; there the rename is all we have.
    if (const int error = Sync(temporary, O_RDONLY); error != 0 && error != EINVAL && error != ENOTSUP) {
        return error;
    }
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        return errno;
    }
    // The rename itself lives in the folder: without this a power cut may
    // undo it. The new content is in place either way, so a folder that
    // cannot be synced is no failure.
    Sync(QFileInfo(target).absolutePath(), O_RDONLY | O_DIRECTORY);
    return 0;
}

void RemoveStaleTemporaries(const QString& target) {
    static const QRegularExpression OwnNaming(QStringLiteral("^\\..+\\.ini\\.[A-Za-z0-9]{6}$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-StaleAfterSeconds);
    const QDir folder = QFileInfo(target).absoluteDir();
    const QFileInfoList hidden = folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& file : hidden) {
        if (OwnNaming.match(file.fileName()).hasMatch() && file.lastModified().toUTC() < before) {
            QFile::remove(file.absoluteFilePath());
        }
    }
}

QString ErrorText(int error) {
    switch (error) {
    case ENOENT:
        return QStringLiteral("la cartella non esiste");
    case ENOTDIR:
        return QStringLiteral("una parte del percorso non è una cartella");
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case EROFS:
        return QStringLiteral("il disco è protetto da scrittura");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("il disco è pieno");
    case EISDIR:
        return QStringLiteral("al suo posto c'è una cartella");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString Detail(const QString& file, int error) {
    return file + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}
} // namespace DurableFile
