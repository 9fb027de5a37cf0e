#include "config/CINIFile.h"
#include "config/Configuration.h"
#include "config/LayoutReader.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestSupport.h"
#include "startup/Installer.h"
#include "startup/frmSplash.h"
#include "fakes/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {
QStringList Names(const QString& folder, const QString& pattern = "*") {
    return QDir(folder).entryList({pattern}, QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}
} // namespace

class TstInstaller : public QObject {
    Q_OBJECT
private slots:
    void init() { ResetSharedIni(); }

    // Every resource is written whole, also over an older, longer file.
    void installsIntoAnEmptyFolder() {
        QTemporaryDir dir;
        const QString p = dir.path();
        QVERIFY(writeFile(p + "/suoni/16.wav", QByteArray(4 << 20, 'x')));
        QVERIFY(writeFile(p + "/immagini/torta.gif", QByteArray(4 << 20, 'x')));
        const Outcome installed = Installer(p).Install();
        QVERIFY2(installed, qPrintable(installed.message()));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(Names(p), (QStringList{"cfg.ini", "immagini", "layout", "suoni"}));
        // Pictures in alphabetical order are the keys' order.
        QCOMPARE((QList<qsizetype>{Names(p + "/immagini").size(), Names(p + "/suoni").size(),
                                   Names(p + "/layout").size()}),
                 (QList<qsizetype>{16, 17, 12}));
        for (int i = 1; i <= 16; ++i) {
            QCOMPARE(readFile(p + QString("/suoni/%1.wav").arg(i)),
                     readFile(QString(":/R1_AUDIO/%1.wav").arg(110 + i)));
            QCOMPARE(readFile(p + "/immagini/" + Names(p + "/immagini").value(i - 1)),
                     readFile(QString(":/R2_PICTURE/%1.gif").arg(110 + i)));
        }
        QCOMPARE(readFile(p + "/suoni/applauso.wav"), readFile(":/R1_AUDIO/127.wav"));
        QVERIFY(readFile(p + "/suoni/16.wav").startsWith("RIFF") &&
                readFile(p + "/immagini/torta.gif").startsWith("GIF8"));
        QCOMPARE(readFile(p + "/cfg.ini"), ("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + p +
                                            "/layout/lay1.ini\r\nIsProgramInstalled=1\r\n")
                                               .toUtf8());
    }

    // Folder names in any script lead back to the files, in Windows-1252
    // wherever that code page can hold the name, else in UTF-8 with its mark.
    void installAndStartInAnyFolder_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("utf8");
        QTest::addRow("Windows-1252 letters") << "Città" << false;
        QTest::addRow("Polish and Cyrillic") << "Łódź Общий" << true;
    }
    void installAndStartInAnyFolder() {
        QFETCH(QString, folder);
        QFETCH(bool, utf8);
        QTemporaryDir dir;
        const QString p = dir.filePath(folder);
        Installer installer(p);
        QVERIFY(installer.Install());
        QCOMPARE(readFile(p + "/layout/lay3.ini").startsWith("\xEF\xBB\xBF"), utf8);
        QCOMPARE(readFile(p + "/cfg.ini").startsWith("\xEF\xBB\xBF"), utf8);
        RecordingMessages shown;
        QCOMPARE(CheckConfiguration(p), ConfigurationState::Ready);
        LayoutData data;
        QVERIFY(!LayoutReader(p, shown, data).ReadLayout());
        QCOMPARE(shown.texts(), QStringList());
        QCOMPARE(data.PicturePaths.value(1), p + "/immagini/Arancia.gif");
        QCOMPARE(data.FunctionKeyPaths.value(12), p + "/layout/lay12.ini");
        // The eight-key layout leaves its last two keys silent.
        CINIFile cfg;
        cfg.SetFile(p + "/cfg.ini");
        cfg.SetSection("KeyProgram");
        cfg.SetValues("File", p + "/layout/lay6.ini");
        QVERIFY(!LayoutReader(p, shown, data).ReadLayout());
        QCOMPARE(data.KeyTexts.mid(6), (QStringList{"Elicottero", "", ""}));
        QCOMPARE(data.SoundPaths.value(8), p + "/suoni/8.wav");
    }

    // A repair puts the default layouts back; edits are kept once beside them.
    void repairKeepsEditedLayouts() {
        QTemporaryDir dir;
        const QString p = dir.path();
        QVERIFY(Installer(p).Install());
        const QByteArray pristine3 = readFile(p + "/layout/lay3.ini");
        const QByteArray edited = pristine3 + "; mia modifica\r\n";
        QVERIFY(writeFile(p + "/layout/lay3.ini", edited));
        QVERIFY(writeFile(p + "/layout/mine.ini", "[KeyProgram]\r\nKey=x\r\n"));
        QVERIFY(Installer(p).Install());
        QCOMPARE(readFile(p + "/layout/lay3.ini"), pristine3);
        QCOMPARE(readFile(p + "/layout/lay3.ini.bak"), edited);
        QCOMPARE(readFile(p + "/layout/mine.ini"), QByteArray("[KeyProgram]\r\nKey=x\r\n"));
        // The same edits again need no second copy; new edits get one.
        QVERIFY(writeFile(p + "/layout/lay3.ini", edited));
        QVERIFY(Installer(p).Install());
        QCOMPARE(Names(p + "/layout", "*.bak*"), QStringList{"lay3.ini.bak"});
        QVERIFY(writeFile(p + "/layout/lay3.ini", edited + "x=1\r\n"));
        QVERIFY(Installer(p).Install());
        QCOMPARE(Names(p + "/layout", "*.bak*"), (QStringList{"lay3.ini.bak", "lay3.ini.bak2"}));
        QCOMPARE(readFile(p + "/layout/lay3.ini.bak2"), edited + "x=1\r\n");
        // When every backup name is taken by other content, the edited layout stays.
        QVERIFY(writeFile(p + "/layout/lay2.ini", "mia"));
        QVERIFY(QDir().mkpath(p + "/layout/lay2.ini.bak"));
        for (int k = 2; k <= 99; ++k) {
            QVERIFY(writeFile(p + QString("/layout/lay2.ini.bak%1").arg(k), "altro"));
        }
        QVERIFY(Installer(p).Install());
        QCOMPARE(readFile(p + "/layout/lay2.ini"), QByteArray("mia"));
    }

    // Each failed write names its file and the reason in Italian, and gives the pointer back.
    void failedWritesAreReported_data() {
        QTest::addColumn<QString>("obstacle"); // what stands where the installation writes
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* name, const char* obstacle, const char* named, const char* reason) {
            QTest::addRow("%s", name) << QString(obstacle) << QString(named) << QString(reason);
        };
        row("sound folder is a file", "file:suoni", "suoni/1.wav",
            "una parte del percorso non è una cartella");
        row("picture is a folder", "folder:immagini/befana.gif", "immagini/befana.gif", ".+");
        row("cfg.ini is a folder", "folder:cfg.ini", "cfg.ini", ""); // said without a reason
        row("folder missing", "link:nowhere", "suoni/1.wav", "la cartella non esiste");
        // sysfs refuses new files even to root; some machines mount it read-only.
        row("permission denied", "link:/sys", "suoni/1.wav",
            "(permesso negato|il disco è protetto da scrittura)");
    }
    void failedWritesAreReported() {
        QFETCH(QString, obstacle);
        QFETCH(QString, named);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString target =
            obstacle.startsWith("link:") ? dir.filePath("suoni") : dir.filePath(obstacle.section(':', 1));
        if (obstacle.startsWith("file:")) {
            QVERIFY(writeFile(target, "x"));
        } else if (obstacle.startsWith("link:")) {
            QVERIFY(QFile::link(obstacle.section(':', 1), target));
        } else {
            QVERIFY(QDir().mkpath(target + "/dentro"));
        }
        const Outcome installed = Installer(dir.path()).Install();
        const QString error = installed.message();
        QVERIFY(!installed);
        QVERIFY2(installed.detail().startsWith(dir.filePath(named)), qPrintable(installed.detail()));
        QVERIFY(!QGuiApplication::overrideCursor());
        const QString expected = QString("^Installazione non riuscita: impossibile scrivere il file %1%2\\.$")
                                     .arg(QRegularExpression::escape(dir.filePath(named)),
                                          reason.isEmpty() ? "" : " \\(" + reason + "\\)");
        QVERIFY2(QRegularExpression(expected).match(error).hasMatch(), qPrintable(error));
    }

    // A key press on the intro screen unloads it and gives the default pointer back.
    void unloadByKeyRestoresDefaultPointer() {
        frmSplash splash;
        splash.Form_Load();
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        QTest::keyClick(&splash, Qt::Key_X);
        QVERIFY(!splash.isVisible());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }
};
MIRELVA_TEST(TstInstaller)

#include "installer.moc"
