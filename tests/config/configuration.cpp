#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "config/Configuration.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestSupport.h"
#include "startup/Installer.h"
#include "fakes/TestRegistry.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {
const QString Damaged = "Il file di configurazione è danneggiato.";
const QString Recreated = "File di configurazione e layout di default ricreato.";
const QString InvalidLayout = "Il layout che si cerca di utilizzare non è valido.";
const QString NoValidLayout = "Non esiste alcun layout valido per il funzionamento del programma.";
const QByteArray LayoutBytes = "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n";
} // namespace

class TstConfiguration : public QObject {
    Q_OBJECT
private slots:
    void init() {
        ResetSharedIni();
        SetActiveLayoutPath("stale");
    }

    // cfg.ini's text uses L for the layout file's path; "-" means no file. The
    // check passes when it shows no message, and a repair installs afresh.
    void checkConfiguration_data() {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<QByteArray>("layout"); // "folder" for a folder in its place
        QTest::addColumn<QStringList>("messages");
        const QByteArray good =
            "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=L\r\nIsProgramInstalled=1\r\n";
        const QStringList repair{Damaged, Recreated};
        QTest::addRow("all valid") << good << LayoutBytes << QStringList();
        QTest::addRow("marker in lower case")
            << QByteArray("[keyprogram]\r\nkey = <$$-comunicatore-$$>\r\nfile =L\r\n")
            << QByteArray("[KeyProgram]\r\nKey=<$$-comunicatore-$$>\r\n") << QStringList();
        QTest::addRow("no cfg.ini") << QByteArray("-") << LayoutBytes << repair;
        QTest::addRow("cfg.ini without marker")
            << QByteArray("[KeyProgram]\r\nFile=L\r\n") << LayoutBytes << repair;
        QTest::addRow("cfg.ini of binary garbage")
            << QByteArray("\x01\xFF[\x00]=\x80\r\r\n\x7F", 12) << LayoutBytes << repair;
        QTest::addRow("layout without marker")
            << good << QByteArray("[KeyProgram]\r\nKey=altro\r\n") << QStringList{InvalidLayout};
        QTest::addRow("layout is a folder") << good << QByteArray("folder") << QStringList{InvalidLayout};
        QTest::addRow("layout missing") << good << QByteArray("-") << QStringList{NoValidLayout};
        QTest::addRow("cfg.ini without File") << LayoutBytes << LayoutBytes << QStringList{NoValidLayout};
    }
    void checkConfiguration() {
        QFETCH(QByteArray, cfg);
        QFETCH(QByteArray, layout);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        const QString p = dir.path();
        const QString layoutPath = p + "/mio.ini";
        QVERIFY(cfg == "-" ||
                writeFile(p + "/cfg.ini", QByteArray(cfg).replace("=L", "=" + layoutPath.toUtf8())));
        QVERIFY(layout == "folder" ? QDir().mkpath(layoutPath)
                                   : layout == "-" || writeFile(layoutPath, layout));
        RecordingMessages shown;
        Installer installer(p);
        QCOMPARE(CheckConfiguration(p, shown, installer), messages.isEmpty());
        QCOMPARE(shown.shown.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i) {
            QVERIFY2(shown.shown[i].text.startsWith(messages[i]), qPrintable(shown.shown[i].text));
        }
        const bool installs = messages.contains(Recreated);
        QCOMPARE(QFileInfo::exists(p + "/layout/lay1.ini"), installs);
        if (installs) { // the next attempt passes with the new files
            RecordingMessages again;
            QVERIFY(CheckConfiguration(p, again, installer));
            QVERIFY(again.shown.isEmpty());
        }
    }

    // A repair that cannot write the default files ends the program after
    // its report. The test runs itself as a child process for that.
    void failedRepairEndsTheProgram() {
        const QString childFolder = qEnvironmentVariable("TST_CONFIGURATION_FOLDER");
        if (!childFolder.isEmpty()) {
            RecordingMessages shown;
            Installer installer(childFolder);
            CheckConfiguration(childFolder, shown, installer);
            std::exit(42); // it returned: the parent sees the wrong exit code
        }
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("suoni"), "not a folder"));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TST_CONFIGURATION_FOLDER", dir.path());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"configuration", "failedRepairEndsTheProgram"});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), EXIT_FAILURE);
        const QString err = QString::fromUtf8(child.readAllStandardError());
        QVERIFY2(err.contains("Mirelva: Installazione non riuscita: impossibile scrivere il file " +
                              dir.path() + "/suoni/1.wav"),
                 qPrintable(err));
    }

    // Only a flag of 0 asks for a new installation; cfg.ini is found in any letter case.
    void installationDue_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("flag");
        QTest::addColumn<bool>("due");
        QTest::addRow("flag 0") << "cfg.ini" << QByteArray("IsProgramInstalled=0") << true;
        QTest::addRow("flag 1") << "cfg.ini" << QByteArray("IsProgramInstalled=1") << false;
        QTest::addRow("no flag") << "cfg.ini" << QByteArray("File=x") << false;
        QTest::addRow("CFG.INI, flag 0") << "CFG.INI" << QByteArray("IsProgramInstalled=0") << true;
    }
    void installationDue() {
        QFETCH(QString, file);
        QFETCH(QByteArray, flag);
        QFETCH(bool, due);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(file), "[KeyProgram]\r\n" + flag + "\r\n"));
        QCOMPARE(InstallationDue(dir.path()), due);
    }

    // Only an existing layout becomes the active one.
    void readActivePath_data() {
        QTest::addColumn<QString>("named"); // "-" for no cfg.ini; {mio} for the existing layout
        QTest::addColumn<QString>("expected");
        QTest::addRow("existing layout") << "{mio}"
                                         << "{mio}";
        QTest::addRow("layout in other case") << "{MIO}"
                                              << "{MIO}";
        QTest::addRow("missing layout") << "/nessuno/manca.ini"
                                        << "";
        QTest::addRow("no cfg.ini") << "-"
                                    << "";
    }
    void readActivePath() {
        QFETCH(QString, named);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString layout = dir.filePath("layout/Mio.ini");
        QVERIFY(writeFile(layout, LayoutBytes));
        const auto expand = [&](QString s) {
            return s.replace("{MIO}", dir.filePath("LAYOUT/MIO.INI")).replace("{mio}", layout);
        };
        if (named != "-") {
            QVERIFY(writeFile(dir.filePath("cfg.ini"),
                              ("[KeyProgram]\r\nFile=" + expand(named) + "\r\n").toUtf8()));
        }
        ReadActivePath(dir.path());
        QCOMPARE(ActiveLayoutPath(), expand(expected));
    }
};

MIRELVA_TEST(TstConfiguration)
#include "configuration.moc"
