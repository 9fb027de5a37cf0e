#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "config/ConfigFile.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestSupport.h"
#include "runtime/ConfigurationCheck.h"
#include "startup/Installer.h"
#include "fakes/TestRegistry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

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
        const auto row = [](const char* name, const QByteArray& cfg, const QByteArray& layout,
                            const QStringList& messages) {
            QTest::addRow("%s", name) << cfg << layout << messages;
        };
        row("all valid", good, LayoutBytes, {});
        row("marker in lower case", "[keyprogram]\r\nkey = <$$-comunicatore-$$>\r\nfile =L\r\n",
            "[KeyProgram]\r\nKey=<$$-comunicatore-$$>\r\n", {});
        row("no cfg.ini", "-", LayoutBytes, repair);
        row("cfg.ini without marker", "[KeyProgram]\r\nFile=L\r\n", LayoutBytes, repair);
        row("cfg.ini of binary garbage", QByteArray("\x01\xFF[\x00]=\x80\r\r\n\x7F", 12), LayoutBytes,
            repair);
        row("layout without marker", good, "[KeyProgram]\r\nKey=altro\r\n", {InvalidLayout});
        row("layout is a folder", good, "folder", {InvalidLayout});
        row("layout missing", good, "-", {NoValidLayout});
        row("cfg.ini without File", LayoutBytes, LayoutBytes, {NoValidLayout});
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
        QCOMPARE(ConfirmConfiguration(p, shown, [&] { return RepairConfiguration(p, shown); }),
                 messages.isEmpty());
        QCOMPARE(shown.shown.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i) {
            QVERIFY2(shown.shown[i].text.startsWith(messages[i]), qPrintable(shown.shown[i].text));
        }
        const bool installs = messages.contains(Recreated);
        QCOMPARE(QFileInfo::exists(p + "/layout/lay1.ini"), installs);
    }

    // A repair that cannot write the default files is reported, not called a
    // success, and the table does not start.
    void failedRepair() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("suoni"), "not a folder"));
        RecordingMessages shown;
        QVERIFY(
            !ConfirmConfiguration(dir.path(), shown, [&] { return RepairConfiguration(dir.path(), shown); }));
        QCOMPARE(shown.texts().size(), 2);
        QVERIFY(shown.texts()[0].startsWith(Damaged));
        QVERIFY(shown.texts()[1].startsWith("Installazione non riuscita: impossibile scrivere il file " +
                                            dir.path() + "/suoni/1.wav"));
    }

    // What start-up reads from cfg.ini: whether to install (only a flag of 0
    // asks for it) and the active layout (only an existing one becomes it).
    void startDecisions_data() {
        QTest::addColumn<QString>("file"); // "-" for no cfg.ini
        QTest::addColumn<QString>("cfg");  // {mio} names the existing layout, {MIO} in other case
        QTest::addColumn<bool>("due");
        QTest::addColumn<QString>("active");
        const auto row = [](const char* name, const char* file, const char* cfg, bool due,
                            const char* active) {
            QTest::addRow("%s", name) << QString(file) << QString(cfg) << due << QString(active);
        };
        row("existing layout, flag 1", "cfg.ini", "File={mio}\r\nIsProgramInstalled=1", false, "{mio}");
        row("layout in other case, flag 0", "cfg.ini", "File={MIO}\r\nIsProgramInstalled=0", true, "{MIO}");
        row("missing layout, no flag", "cfg.ini", "File=/nessuno/manca.ini", false, "");
        row("CFG.INI, flag 0", "CFG.INI", "IsProgramInstalled=0", true, "");
        row("no cfg.ini: first run", "-", "", true, "");
    }
    void startDecisions() {
        QFETCH(QString, file);
        QFETCH(QString, cfg);
        QFETCH(QString, active);
        QTemporaryDir dir;
        const QString layout = dir.filePath("layout/Mio.ini");
        QVERIFY(writeFile(layout, LayoutBytes));
        const auto expand = [&](QString s) {
            return s.replace("{MIO}", dir.filePath("LAYOUT/MIO.INI")).replace("{mio}", layout);
        };
        QVERIFY(file == "-" ||
                writeFile(dir.filePath(file), ("[KeyProgram]\r\n" + expand(cfg) + "\r\n").toUtf8()));
        QTEST(ConfigFile::InstallationDue(dir.path()), "due");
        ConfigFile::RefreshActivePath(dir.path());
        QCOMPARE(ActiveLayoutPath(), expand(active));
    }
};

MIRELVA_TEST(TstConfiguration)
#include "configuration.moc"
