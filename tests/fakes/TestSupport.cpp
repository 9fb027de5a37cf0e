#include "TestSupport.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

namespace {
// Keeps Qt quiet about a missing runtime folder in every test executable.
void setUpTestEnvironment() {
    static QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid()) {
        QFile::setPermissions(runtimeDir.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    }
}
Q_COREAPP_STARTUP_FUNCTION(setUpTestEnvironment)
} // namespace

namespace TestSupport {
QString sourceDir() {
    return qEnvironmentVariable("MIRELVA_SOURCE_DIR");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QStringList snapshot(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        // Only regular files are read: a FIFO would hang, a link may lead anywhere.
        const bool regular = info.isFile() && !info.isSymLink();
        entries << info.filePath() + (info.isDir() ? QStringLiteral("/") : QString()) +
                       (regular ? ' ' + QString::fromLatin1(readFile(info.filePath()).toBase64()) + ' ' +
                                      QString::number(info.lastModified().toMSecsSinceEpoch())
                                : QString());
    }
    entries.sort();
    return entries;
}
} // namespace TestSupport
