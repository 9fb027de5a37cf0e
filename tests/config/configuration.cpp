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
const QString Damaged = "Il file di configurazione è danneggiato.\r\n"
                        "Il programma provvederà a ricreare il layout di default.";
const QString Recreated = "File di configurazione e layout di default ricreato.";
const QString InvalidLayout = "Il layout che si cerca di utilizzare non è valido. Crearne uno valido.";
const QString NoValidLayout =
    "Non esiste alcun layout valido per il funzionamento del programma. Creare un layout valido.";
const QByteArray LayoutBytes = "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n";
} // namespace

class TstConfiguration : public QObject {
    Q_OBJECT
private slots:
    void init() {
        ResetSharedIni();
        SetActiveLayoutPath("stale");
    }

    // cfg.ini's text uses L for the layout file's path; "-" means no cfg.ini.
    void checkConfiguration_data() {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<QByteArray>("layout"); // "-" for no layout file
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("installs");

        const QByteArray good =
            "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=L\r\nIsProgramInstalled=1\r\n";
        QTest::addRow("all valid") << good << LayoutBytes << true << QStringList() << false;
        QTest::addRow("marker in lower case")
            << QByteArray("[keyprogram]\r\nkey = <$$-comunicatore-$$>\r\nfile =L\r\n")
            << QByteArray("[KeyProgram]\r\nKey=<$$-comunicatore-$$>\r\n") << true << QStringList() << false;
        QTest::addRow("no cfg.ini") << QByteArray("-") << LayoutBytes << false
                                    << QStringList{Damaged, Recreated} << true;
        QTest::addRow("cfg.ini without marker") << QByteArray("[KeyProgram]\r\nFile=L\r\n") << LayoutBytes
                                                << false << QStringList{Damaged, Recreated} << true;
        QTest::addRow("cfg.ini of binary garbage")
            << QByteArray("\x01\xFF[\x00]=\x80\r\r\n\x7F", 12) << LayoutBytes << false
            << QStringList{Damaged, Recreated} << true;
        QTest::addRow("layout without marker") << good << QByteArray("[KeyProgram]\r\nKey=altro\r\n") << false
                                               << QStringList{InvalidLayout} << false;
        QTest::addRow("layout is a folder")
            << good << QByteArray("folder") << false << QStringList{InvalidLayout} << false;
        QTest::addRow("layout missing")
            << good << QByteArray("-") << false << QStringList{NoValidLayout} << false;
        QTest::addRow("cfg.ini without File") << QByteArray("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n")
                                              << LayoutBytes << false << QStringList{NoValidLayout} << false;
    }
    void checkConfiguration() {
        QFETCH(QByteArray, cfg);
        QFETCH(QByteArray, layout);
        QFETCH(bool, result);
        QFETCH(QStringList, messages);
        QFETCH(bool, installs);
        QTemporaryDir dir;
        const QString p = dir.path();
        const QString layoutPath = p + "/mio.ini";
        if (cfg != "-") {
            QVERIFY(writeFile(p + "/cfg.ini", QByteArray(cfg).replace("=L", "=" + layoutPath.toUtf8())));
        }
        if (layout == "folder") {
            QVERIFY(QDir().mkpath(layoutPath));
        } else if (layout != "-") {
            QVERIFY(writeFile(layoutPath, layout));
        }
        RecordingMessages shown;
        Installer installer(p);
        QCOMPARE(CheckConfiguration(p, shown, installer), result);
        QCOMPARE(shown.texts(), messages);
        for (const auto& s : shown.shown) {
            QCOMPARE(s.title, QString("Mirelva"));
            QCOMPARE(s.icon, s.text == Recreated ? MsgIcon::Information : MsgIcon::Exclamation);
        }
        QCOMPARE(QFileInfo::exists(p + "/layout/lay1.ini"), installs);
        if (installs) {
            // The next attempt passes with the new files.
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
        child.start(QCoreApplication::applicationFilePath(), {"failedRepairEndsTheProgram"});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), EXIT_FAILURE);
        const QString err = QString::fromUtf8(child.readAllStandardError());
        QVERIFY2(err.contains("Mirelva: Installazione non riuscita: impossibile scrivere il file " +
                              dir.path() + "/suoni/1.wav"),
                 qPrintable(err));
    }

    void installationDecision_data() {
        QTest::addColumn<QByteArray>("cfg"); // "-" for no cfg.ini
        QTest::addColumn<bool>("due");
        QTest::addRow("no cfg.ini") << QByteArray("-") << true;
        QTest::addRow("installed is 0") << QByteArray("[KeyProgram]\r\nIsProgramInstalled=0\r\n") << true;
        QTest::addRow("installed is 0 with blanks")
            << QByteArray("[keyprogram]\r\nisprograminstalled = 0 \r\n") << true;
        QTest::addRow("installed is 1") << QByteArray("[KeyProgram]\r\nIsProgramInstalled=1\r\n") << false;
        QTest::addRow("installed is 2") << QByteArray("[KeyProgram]\r\nIsProgramInstalled=2\r\n") << false;
        QTest::addRow("installed is 00") << QByteArray("[KeyProgram]\r\nIsProgramInstalled=00\r\n") << false;
        QTest::addRow("key missing") << QByteArray("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n") << false;
        QTest::addRow("empty cfg.ini") << QByteArray("") << false;
    }
    void installationDecision() {
        QFETCH(QByteArray, cfg);
        QFETCH(bool, due);
        QTemporaryDir dir;
        if (cfg != "-") {
            QVERIFY(writeFile(dir.filePath("cfg.ini"), cfg));
        }
        QCOMPARE(InstallationDue(dir.path()), due);
    }

    void installationDecisionWithCfgInOtherCase() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("CFG.INI"), "[KeyProgram]\r\nIsProgramInstalled=1\r\n"));
        QVERIFY(!InstallationDue(dir.path()));
    }

    void readActivePath_data() {
        QTest::addColumn<QString>("named"); // "-" for no cfg.ini; {mio} for the existing layout
        QTest::addColumn<QString>("expected");
        QTest::addRow("existing layout") << "{mio}"
                                         << "{mio}";
        QTest::addRow("layout in other case") << "{MIO}"
                                              << "{MIO}";
        QTest::addRow("missing layout") << "/nessuno/manca.ini"
                                        << "";
        QTest::addRow("empty File") << ""
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
