#include "config/CINIFile.h"
#include "config/LayoutReader.h"
#include "fakes/RecordingMessages.h"
#include "fakes/LayoutBuilder.h"
#include "fakes/TestSupport.h"
#include "startup/Installer.h"
#include "fakes/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {
// A default layout as the installation must write it into folder `p`.
QByteArray Expected(int n, const QString& p) {
    static const int keyCounts[] = {1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16};
    static const char* const names[] = {"Arancia", "Banana",  "Befana",  "Casa",    "Contadino", "Elicottero",
                                        "Gallo",   "Lettera", "Mela",    "Missile", "Pallone",   "Pera",
                                        "Postino", "Sedia",   "Tamburo", "Torta"};
    TestLayout l;
    const int keys = keyCounts[n - 1];
    l.keys = QString::number(keys);
    for (int i = 1; i <= keys; ++i) {
        l.pictures << p + "/immagini/" + names[i - 1] + ".gif";
        l.sounds << p + QString("/suoni/%1.wav").arg(i);
        // The eight-key layout leaves its last two keys silent.
        l.texts << (n == 6 && i >= 7 ? QString() : QString(names[i - 1]));
    }
    for (int f = 1; f <= 12; ++f) {
        l.functionKeys << p + QString("/layout/lay%1.ini").arg(f);
    }
    return l.bytes();
}

QStringList Names(const QString& folder, const QString& pattern) {
    return QDir(folder).entryList({pattern}, QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

const QStringList Pictures = {"arancia.gif",   "banana.gif",     "befana.gif",  "casa.gif",
                              "contadino.gif", "elicottero.gif", "gallo.gif",   "lettera.gif",
                              "mela.gif",      "missile.gif",    "pallone.gif", "pera.gif",
                              "postino.gif",   "sedia.gif",      "tamburo.gif", "torta.gif"};
} // namespace

class TstInstaller : public QObject {
    Q_OBJECT
private slots:
    void init() { ResetSharedIni(); }

    void installsIntoAnEmptyFolder() {
        QTemporaryDir dir;
        const QString p = dir.path();
        QString error;
        QVERIFY2(Installer(p).Install(&error), qPrintable(error));
        QCOMPARE(Names(p + "/immagini", "*"), Pictures);
        QStringList sounds;
        for (int i = 1; i <= 16; ++i) {
            sounds << QString("%1.wav").arg(i);
        }
        sounds << "applauso.wav";
        sounds.sort();
        QCOMPARE(Names(p + "/suoni", "*"), sounds);
        QStringList layouts;
        for (int n = 1; n <= 12; ++n) {
            layouts << QString("lay%1.ini").arg(n);
        }
        layouts.sort();
        QCOMPARE(Names(p + "/layout", "*"), layouts);
        QCOMPARE(readFile(p + "/cfg.ini"), ("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + p +
                                            "/layout/lay1.ini\r\nIsProgramInstalled=1\r\n")
                                               .toUtf8());
        QCOMPARE(Names(p, "*"), (QStringList{"cfg.ini", "immagini", "layout", "suoni"}));
    }

    void resourcesAreWrittenWhole_data() {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("magic");
        QTest::addRow("first sound") << ":/R1_AUDIO/111.wav"
                                     << "suoni/1.wav" << QByteArray("RIFF");
        QTest::addRow("last key sound") << ":/R1_AUDIO/126.wav"
                                        << "suoni/16.wav" << QByteArray("RIFF");
        QTest::addRow("applause") << ":/R1_AUDIO/127.wav"
                                  << "suoni/applauso.wav" << QByteArray("RIFF");
        QTest::addRow("first picture") << ":/R2_PICTURE/111.gif"
                                       << "immagini/arancia.gif" << QByteArray("GIF8");
        QTest::addRow("fifth picture") << ":/R2_PICTURE/115.gif"
                                       << "immagini/contadino.gif" << QByteArray("GIF8");
        QTest::addRow("last picture") << ":/R2_PICTURE/126.gif"
                                      << "immagini/torta.gif" << QByteArray("GIF8");
    }
    void resourcesAreWrittenWhole() {
        QFETCH(QString, resource);
        QFETCH(QString, file);
        QFETCH(QByteArray, magic);
        QTemporaryDir dir;
        // An older, longer file must not leave its tail behind.
        QVERIFY(writeFile(dir.filePath(file), QByteArray(4 << 20, 'x')));
        QVERIFY(Installer(dir.path()).Install());
        const QByteArray expected = readFile(resource);
        QVERIFY(expected.startsWith(magic));
        QCOMPARE(readFile(dir.filePath(file)), expected);
    }

    void defaultLayoutsByteForByte_data() {
        QTest::addColumn<int>("n");
        QTest::addRow("lay1") << 1;
        QTest::addRow("lay6, eight keys") << 6;
        QTest::addRow("lay12") << 12;
    }
    void defaultLayoutsByteForByte() {
        QFETCH(int, n);
        QTemporaryDir dir;
        // A folder whose name Windows-1252 can hold keeps its accent in the paths.
        const QString p = dir.filePath(QString::fromUtf8("Comunicatore è"));
        QVERIFY(QDir().mkpath(p + "/layout"));
        Installer(p).WriteDefaultLayouts();
        // Latin-1 bytes equal Windows-1252 for "è".
        QCOMPARE(readFile(p + QString("/layout/lay%1.ini").arg(n)), Expected(n, p));
    }

    void everyDefaultLayoutPassesTheReader() {
        QTemporaryDir dir;
        const QString p = dir.path();
        QVERIFY(Installer(p).Install());
        const QList<int> counts = {1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16};
        for (int n = 1; n <= 12; ++n) {
            CINIFile cfg;
            cfg.SetFile(p + "/cfg.ini");
            cfg.SetSection("KeyProgram");
            cfg.SetValues("File", p + QString("/layout/lay%1.ini").arg(n));
            RecordingMessages shown;
            LayoutData data;
            QVERIFY2(!LayoutReader(p, shown, data).ReadLayout(), qPrintable(shown.texts().join(" / ")));
            QCOMPARE(data.KeyCount, counts[n - 1]);
            QCOMPARE(data.PicturePaths[1], p + "/immagini/Arancia.gif");
            QCOMPARE(data.FunctionKeyPaths[5], p + "/layout/lay5.ini");
        }
    }

    void repairKeepsEditedLayouts() {
        QTemporaryDir dir;
        const QString p = dir.path();
        QVERIFY(Installer(p).Install());
        const QByteArray pristine3 = readFile(p + "/layout/lay3.ini");
        const QByteArray edited = pristine3 + "; mia modifica\r\n";
        QVERIFY(writeFile(p + "/layout/lay3.ini", edited));
        QVERIFY(writeFile(p + "/layout/mine.ini", "[KeyProgram]\r\nKey=x\r\n"));
        CINIFile cfg;
        cfg.SetFile(p + "/cfg.ini");
        cfg.SetSection("KeyProgram");
        cfg.SetValues("File", p + "/layout/mine.ini");

        QVERIFY(Installer(p).Install());
        QCOMPARE(readFile(p + "/layout/lay3.ini"), pristine3);
        QCOMPARE(readFile(p + "/layout/lay3.ini.bak"), edited);
        QCOMPARE(Names(p + "/layout", "*.bak*"), QStringList{"lay3.ini.bak"});
        QCOMPARE(readFile(p + "/layout/mine.ini"), QByteArray("[KeyProgram]\r\nKey=x\r\n"));
        QCOMPARE(cfg.GetValue("File"), p + "/layout/lay1.ini");

        // The same edits again need no second copy; new edits get one.
        QVERIFY(writeFile(p + "/layout/lay3.ini", edited));
        QVERIFY(Installer(p).Install());
        QCOMPARE(Names(p + "/layout", "*.bak*"), QStringList{"lay3.ini.bak"});
        QVERIFY(writeFile(p + "/layout/lay3.ini", edited + "x=1\r\n"));
        QVERIFY(Installer(p).Install());
        QCOMPARE(Names(p + "/layout", "*.bak*"), (QStringList{"lay3.ini.bak", "lay3.ini.bak2"}));
        QCOMPARE(readFile(p + "/layout/lay3.ini.bak"), edited);
        QCOMPARE(readFile(p + "/layout/lay3.ini.bak2"), edited + "x=1\r\n");
    }

    void editedLayoutThatCannotBeKeptStays() {
        QTemporaryDir dir;
        const QString p = dir.path();
        QVERIFY(Installer(p).Install());
        QVERIFY(writeFile(p + "/layout/lay2.ini", "mia"));
        // Every backup name is taken by other content.
        QVERIFY(QDir().mkpath(p + "/layout/lay2.ini.bak"));
        for (int k = 2; k <= 99; ++k) {
            QVERIFY(writeFile(p + QString("/layout/lay2.ini.bak%1").arg(k), "altro"));
        }
        QVERIFY(Installer(p).Install());
        QCOMPARE(readFile(p + "/layout/lay2.ini"), QByteArray("mia"));
    }

    void failedWritesAreReported_data() {
        QTest::addColumn<QString>("obstacle"); // a folder made a file, or a file made a folder
        QTest::addColumn<QString>("named");
        QTest::addRow("sound folder is a file") << "file:suoni"
                                                << "suoni/1.wav";
        QTest::addRow("picture is a folder") << "folder:immagini/befana.gif"
                                             << "immagini/befana.gif";
        QTest::addRow("applause is a folder") << "folder:suoni/applauso.wav"
                                              << "suoni/applauso.wav";
        QTest::addRow("cfg.ini is a folder") << "folder:cfg.ini"
                                             << "cfg.ini";
    }
    void failedWritesAreReported() {
        QFETCH(QString, obstacle);
        QFETCH(QString, named);
        QTemporaryDir dir;
        const QString target = dir.filePath(obstacle.section(':', 1));
        if (obstacle.startsWith("file:")) {
            QVERIFY(writeFile(target, "x"));
        } else {
            QVERIFY(QDir().mkpath(target + "/dentro"));
        }
        QString error;
        QVERIFY(!Installer(dir.path()).Install(&error));
        QVERIFY2(error.startsWith("Installazione non riuscita") && error.contains(dir.filePath(named)),
                 qPrintable(error));
        RecordingMessages shown;
        ReportInstallationFailure(shown, error);
        QCOMPARE(shown.shown.size(), 1);
        QCOMPARE(shown.shown[0].text, error);
        QCOMPARE(shown.shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(shown.shown[0].title, QString("Mirelva"));
    }
};

MIRELVA_TEST(TstInstaller)
#include "installer.moc"
