#include "config/CINIFile.h"
#include "config/LayoutReader.h"
#include "fakes/RecordingMessages.h"
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
// The default layouts as they must be on disk, with P for the program folder
// and LF for the CR LF line ends.
const char* const Lay1 = R"([KeyProgram]
Key=<$$-COMUNICATORE-$$>

[Impostazioni]
Tasti = 1
IsSezione1 = 1
IsSezione2 = 1
IsSezione3 = 1

[Input Obbligato]
IsInput = 0

[Sequenza]
SequenzaInput1=
SequenzaInput2=
SequenzaInput3=
SequenzaInput4=
SequenzaInput5=
SequenzaInput6=
SequenzaInput7=
SequenzaInput8=
SequenzaInput9=
SequenzaInput10=
SequenzaInput11=
SequenzaInput12=
SequenzaInput13=
SequenzaInput14=
SequenzaInput15=
SequenzaInput16=
SequenzaInput17=
SequenzaInput18=
SequenzaInput19=
SequenzaInput20=
SequenzaInput21=

[Bonus]
File1=

[Sezione Immagini]
Immagine1=P/immagini/Arancia.gif
Immagine2=
Immagine3=
Immagine4=
Immagine5=
Immagine6=
Immagine7=
Immagine8=
Immagine9=
Immagine10=
Immagine11=
Immagine12=
Immagine13=
Immagine14=
Immagine15=
Immagine16=
Immagine17=
Immagine18=
Immagine19=
Immagine20=
Immagine21=

[Sezione Sonoro]
Sonoro1=P/suoni/1.wav
Sonoro2=
Sonoro3=
Sonoro4=
Sonoro5=
Sonoro6=
Sonoro7=
Sonoro8=
Sonoro9=
Sonoro10=
Sonoro11=
Sonoro12=
Sonoro13=
Sonoro14=
Sonoro15=
Sonoro16=
Sonoro17=
Sonoro18=
Sonoro19=
Sonoro20=
Sonoro21=

[Sezione Testo]
Testo1=Arancia
Testo2=
Testo3=
Testo4=
Testo5=
Testo6=
Testo7=
Testo8=
Testo9=
Testo10=
Testo11=
Testo12=
Testo13=
Testo14=
Testo15=
Testo16=
Testo17=
Testo18=
Testo19=
Testo20=
Testo21=

[Tasti Funzione]
F1=P/layout/lay1.ini
F2=P/layout/lay2.ini
F3=P/layout/lay3.ini
F4=P/layout/lay4.ini
F5=P/layout/lay5.ini
F6=P/layout/lay6.ini
F7=P/layout/lay7.ini
F8=P/layout/lay8.ini
F9=P/layout/lay9.ini
F10=P/layout/lay10.ini
F11=P/layout/lay11.ini
F12=P/layout/lay12.ini
)";

const char* const Lay6 = R"([KeyProgram]
Key=<$$-COMUNICATORE-$$>

[Impostazioni]
Tasti = 8
IsSezione1 = 1
IsSezione2 = 1
IsSezione3 = 1

[Input Obbligato]
IsInput = 0

[Sequenza]
SequenzaInput1=
SequenzaInput2=
SequenzaInput3=
SequenzaInput4=
SequenzaInput5=
SequenzaInput6=
SequenzaInput7=
SequenzaInput8=
SequenzaInput9=
SequenzaInput10=
SequenzaInput11=
SequenzaInput12=
SequenzaInput13=
SequenzaInput14=
SequenzaInput15=
SequenzaInput16=
SequenzaInput17=
SequenzaInput18=
SequenzaInput19=
SequenzaInput20=
SequenzaInput21=

[Bonus]
File1=

[Sezione Immagini]
Immagine1=P/immagini/Arancia.gif
Immagine2=P/immagini/Banana.gif
Immagine3=P/immagini/Befana.gif
Immagine4=P/immagini/Casa.gif
Immagine5=P/immagini/Contadino.gif
Immagine6=P/immagini/Elicottero.gif
Immagine7=P/immagini/Gallo.gif
Immagine8=P/immagini/Lettera.gif
Immagine9=
Immagine10=
Immagine11=
Immagine12=
Immagine13=
Immagine14=
Immagine15=
Immagine16=
Immagine17=
Immagine18=
Immagine19=
Immagine20=
Immagine21=

[Sezione Sonoro]
Sonoro1=P/suoni/1.wav
Sonoro2=P/suoni/2.wav
Sonoro3=P/suoni/3.wav
Sonoro4=P/suoni/4.wav
Sonoro5=P/suoni/5.wav
Sonoro6=P/suoni/6.wav
Sonoro7=P/suoni/7.wav
Sonoro8=P/suoni/8.wav
Sonoro9=
Sonoro10=
Sonoro11=
Sonoro12=
Sonoro13=
Sonoro14=
Sonoro15=
Sonoro16=
Sonoro17=
Sonoro18=
Sonoro19=
Sonoro20=
Sonoro21=

[Sezione Testo]
Testo1=Arancia
Testo2=Banana
Testo3=Befana
Testo4=Casa
Testo5=Contadino
Testo6=Elicottero
Testo7=
Testo8=
Testo9=
Testo10=
Testo11=
Testo12=
Testo13=
Testo14=
Testo15=
Testo16=
Testo17=
Testo18=
Testo19=
Testo20=
Testo21=

[Tasti Funzione]
F1=P/layout/lay1.ini
F2=P/layout/lay2.ini
F3=P/layout/lay3.ini
F4=P/layout/lay4.ini
F5=P/layout/lay5.ini
F6=P/layout/lay6.ini
F7=P/layout/lay7.ini
F8=P/layout/lay8.ini
F9=P/layout/lay9.ini
F10=P/layout/lay10.ini
F11=P/layout/lay11.ini
F12=P/layout/lay12.ini
)";

const char* const Lay12 = R"([KeyProgram]
Key=<$$-COMUNICATORE-$$>

[Impostazioni]
Tasti = 16
IsSezione1 = 1
IsSezione2 = 1
IsSezione3 = 1

[Input Obbligato]
IsInput = 0

[Sequenza]
SequenzaInput1=
SequenzaInput2=
SequenzaInput3=
SequenzaInput4=
SequenzaInput5=
SequenzaInput6=
SequenzaInput7=
SequenzaInput8=
SequenzaInput9=
SequenzaInput10=
SequenzaInput11=
SequenzaInput12=
SequenzaInput13=
SequenzaInput14=
SequenzaInput15=
SequenzaInput16=
SequenzaInput17=
SequenzaInput18=
SequenzaInput19=
SequenzaInput20=
SequenzaInput21=

[Bonus]
File1=

[Sezione Immagini]
Immagine1=P/immagini/Arancia.gif
Immagine2=P/immagini/Banana.gif
Immagine3=P/immagini/Befana.gif
Immagine4=P/immagini/Casa.gif
Immagine5=P/immagini/Contadino.gif
Immagine6=P/immagini/Elicottero.gif
Immagine7=P/immagini/Gallo.gif
Immagine8=P/immagini/Lettera.gif
Immagine9=P/immagini/Mela.gif
Immagine10=P/immagini/Missile.gif
Immagine11=P/immagini/Pallone.gif
Immagine12=P/immagini/Pera.gif
Immagine13=P/immagini/Postino.gif
Immagine14=P/immagini/Sedia.gif
Immagine15=P/immagini/Tamburo.gif
Immagine16=P/immagini/Torta.gif
Immagine17=
Immagine18=
Immagine19=
Immagine20=
Immagine21=

[Sezione Sonoro]
Sonoro1=P/suoni/1.wav
Sonoro2=P/suoni/2.wav
Sonoro3=P/suoni/3.wav
Sonoro4=P/suoni/4.wav
Sonoro5=P/suoni/5.wav
Sonoro6=P/suoni/6.wav
Sonoro7=P/suoni/7.wav
Sonoro8=P/suoni/8.wav
Sonoro9=P/suoni/9.wav
Sonoro10=P/suoni/10.wav
Sonoro11=P/suoni/11.wav
Sonoro12=P/suoni/12.wav
Sonoro13=P/suoni/13.wav
Sonoro14=P/suoni/14.wav
Sonoro15=P/suoni/15.wav
Sonoro16=P/suoni/16.wav
Sonoro17=
Sonoro18=
Sonoro19=
Sonoro20=
Sonoro21=

[Sezione Testo]
Testo1=Arancia
Testo2=Banana
Testo3=Befana
Testo4=Casa
Testo5=Contadino
Testo6=Elicottero
Testo7=Gallo
Testo8=Lettera
Testo9=Mela
Testo10=Missile
Testo11=Pallone
Testo12=Pera
Testo13=Postino
Testo14=Sedia
Testo15=Tamburo
Testo16=Torta
Testo17=
Testo18=
Testo19=
Testo20=
Testo21=

[Tasti Funzione]
F1=P/layout/lay1.ini
F2=P/layout/lay2.ini
F3=P/layout/lay3.ini
F4=P/layout/lay4.ini
F5=P/layout/lay5.ini
F6=P/layout/lay6.ini
F7=P/layout/lay7.ini
F8=P/layout/lay8.ini
F9=P/layout/lay9.ini
F10=P/layout/lay10.ini
F11=P/layout/lay11.ini
F12=P/layout/lay12.ini
)";

QByteArray Expected(const char* text, const QString& folder) {
    return QString::fromLatin1(text).replace("=P/", "=" + folder + "/").replace("\n", "\r\n").toLatin1();
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
        QTest::addColumn<QByteArray>("text");
        QTest::addRow("lay1") << 1 << QByteArray(Lay1);
        QTest::addRow("lay6") << 6 << QByteArray(Lay6);
        QTest::addRow("lay12") << 12 << QByteArray(Lay12);
    }
    void defaultLayoutsByteForByte() {
        QFETCH(int, n);
        QFETCH(QByteArray, text);
        QTemporaryDir dir;
        // A folder whose name Windows-1252 can hold keeps its accent in the paths.
        const QString p = dir.filePath(QString::fromUtf8("Comunicatore è"));
        QVERIFY(QDir().mkpath(p + "/layout"));
        Installer(p).WriteDefaultLayouts();
        // Latin-1 bytes equal Windows-1252 for "è".
        QCOMPARE(readFile(p + QString("/layout/lay%1.ini").arg(n)), Expected(text.constData(), p));
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
