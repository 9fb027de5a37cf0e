#include "editor/MediaCopy.h"

#include "config/DurableFile.h"
#include "config/FileExists.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
bool Inside(const QString& file, const QString& folder) {
    const QString root = QFileInfo(folder).canonicalFilePath();
    return !root.isEmpty() && file.startsWith(root + QLatin1Char('/'));
}

bool SameBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.size() == bytes.size() && file.open(QIODevice::ReadOnly) &&
           file.readAll() == bytes;
}
} // namespace

namespace MediaCopy {
Result<QString> Adopt(const QString& path, const QString& dataFolder, const QString& folder) {
    const QFileInfo source(ResolveFileCase(path));
    if (path.isEmpty() || !source.isFile() || Inside(source.canonicalFilePath(), dataFolder)) {
        return path;
    }
    QFile file(source.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        return Outcome::Failed(QStringLiteral("Impossibile leggere il file «%1».").arg(path),
                               file.errorString());
    }
    const QByteArray bytes = file.readAll();
    const QString target = dataFolder + QLatin1Char('/') + folder;
    if (!QDir().mkpath(target)) {
        return Outcome::Failed(QStringLiteral("Impossibile creare la cartella «%1».").arg(target));
    }
    const QString base = source.completeBaseName();
    const QString suffix = source.suffix().isEmpty() ? QString() : QLatin1Char('.') + source.suffix();
    QString copy = target + QLatin1Char('/') + base + suffix;
    for (int n = 2; FileExists(copy); ++n) {
        if (SameBytes(ResolveFileCase(copy), bytes)) {
            return ResolveFileCase(copy);
        }
        copy = target + QLatin1Char('/') + base + QStringLiteral("_%1").arg(n) + suffix;
    }
    if (const int error = DurableFile::Write(copy, bytes); error != 0) {
        return Outcome::Failed(QStringLiteral("Impossibile copiare il file «%1» in «%2»: %3.")
                                   .arg(path, copy, DurableFile::ErrorText(error)),
                               copy);
    }
    return copy;
}
} // namespace MediaCopy
