#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::readFile;

class TstLog : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Log::Uninstall(); }

    // Warnings and failures reach the file with their category; chatter does not.
    void whatIsWritten() {
        QTemporaryDir dir;
        Log::Install(dir.path());
        qCDebug(lcFiles) << "rumore";
        qCInfo(lcAudio) << "informazione";
        qCWarning(lcAudio) << "dispositivo assente";
        Log::Failure(lcImport, Outcome::Failed(QStringLiteral("il disco è pieno"),
                                               QStringLiteral("/x/a.png: No space")));
        Log::Failure(lcImport, Outcome::Done());
        const QStringList lines =
            QString::fromUtf8(readFile(Log::FilePath(dir.path()))).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(
            lines[0].contains(QRegularExpression(
                "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d warning mirelva.audio: .*dispositivo assente")),
            qPrintable(lines[0]));
        QVERIFY2(lines[1].endsWith("warning mirelva.import: il disco è pieno - /x/a.png: No space"),
                 qPrintable(lines[1]));
    }

    // A long life never fills the disk: the file moves aside at its cap and one older file is kept.
    void sizeIsCapped() {
        QTemporaryDir dir;
        Log::Install(dir.path());
        const QString line(1000, QLatin1Char('x'));
        for (int i = 0; i < 3 * Log::MaxFileSize / 1000; ++i) {
            qCWarning(lcFiles).noquote() << line;
        }
        const QString path = Log::FilePath(dir.path());
        QVERIFY(QFileInfo(path).size() <= Log::MaxFileSize);
        QVERIFY(QFileInfo(path + ".1").size() <= Log::MaxFileSize);
        QVERIFY(QFileInfo(path + ".1").size() > Log::MaxFileSize / 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    // A log file that cannot be written costs the lines, never the program.
    void unwritableFolder() {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(Log::FilePath(dir.path()))); // a folder where the file goes
        Log::Install(dir.path());
        qCWarning(lcFiles) << "perso";
        QVERIFY(QFileInfo(Log::FilePath(dir.path())).isDir());
    }
};

MIRELVA_TEST(TstLog)
#include "log.moc"
