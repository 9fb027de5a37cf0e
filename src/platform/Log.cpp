#include "platform/Log.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

Q_LOGGING_CATEGORY(lcFiles, "mirelva.files")
Q_LOGGING_CATEGORY(lcAudio, "mirelva.audio")
Q_LOGGING_CATEGORY(lcImport, "mirelva.import")

namespace {
struct Sink {
    QMutex mutex;
    QString path;
    QtMessageHandler previous = nullptr;
};

Sink& TheSink() {
    static Sink sink;
    return sink;
}

const char* LevelName(QtMsgType type) {
    switch (type) {
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    case QtDebugMsg:
    case QtInfoMsg:
        break;
    }
    return "info";
}

// Appends one line, first moving a full file aside. A file that cannot be
// written costs the line, never the program.
void Append(const QString& path, const QByteArray& line) {
    QFile file(path);
    if (QFileInfo(path).isFile() && file.size() + line.size() > Log::MaxFileSize) {
        const QString older = path + QStringLiteral(".1");
        QFile::remove(older);
        QFile::rename(path, older);
    }
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        file.write(line);
    }
}

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    Sink& sink = TheSink();
    QMutexLocker lock(&sink.mutex);
    if (sink.previous != nullptr) {
        sink.previous(type, context, message);
    }
    if (type == QtDebugMsg || type == QtInfoMsg || sink.path.isEmpty()) {
        return;
    }
    const QString text =
        QStringLiteral("%1 %2 %3: %4\n")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                 QLatin1String(LevelName(type)),
                 QLatin1String(context.category ? context.category : "default"),
                 QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    Append(sink.path, text.toUtf8());
}
} // namespace

namespace Log {
void Install(const QString& dataFolder) {
    Sink& sink = TheSink();
    QMutexLocker lock(&sink.mutex);
    if (sink.path.isEmpty()) {
        sink.previous = qInstallMessageHandler(Handle);
    }
    sink.path = FilePath(dataFolder);
}

void Uninstall() {
    Sink& sink = TheSink();
    QMutexLocker lock(&sink.mutex);
    if (!sink.path.isEmpty()) {
        qInstallMessageHandler(sink.previous);
        sink.path.clear();
        sink.previous = nullptr;
    }
}

QString FilePath(const QString& dataFolder) {
    return dataFolder + QStringLiteral("/mirelva.log");
}

void Failure(const QLoggingCategory& (*category)(), const Outcome& failure) {
    if (failure.ok()) {
        return;
    }
    qCWarning(category).noquote() << failure.message() << "-" << failure.detail();
}
} // namespace Log
