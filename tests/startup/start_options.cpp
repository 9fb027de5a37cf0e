#include "config/DataFolder.h"
#include "startup/CommandLine.h"

#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Root ignores mode bits, so root gets a read-only bind mount in a mount
// namespace of this process alone; anyone else the mode bits.
bool MakeReadOnly(const QString& folder) {
    const QByteArray path = folder.toLocal8Bit();
    if (geteuid() != 0) {
        return chmod(path.constData(), 0555) == 0;
    }
    static const bool ownNamespace =
        unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return ownNamespace && mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0 &&
           mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}

// Gives the folder back to the temporary folder's clean-up.
struct Writable {
    QString folder;
    ~Writable() {
        const QByteArray path = folder.toLocal8Bit();
        if (!folder.isEmpty() &&
            (geteuid() == 0 ? umount2(path.constData(), MNT_DETACH) : chmod(path.constData(), 0755)) != 0) {
            qWarning("cannot make %s writable again", path.constData());
        }
    }
};
} // namespace

// Paths in the rows are relative to a temporary root R; "/usr/bin" and
// "/proc/..." stay as they are. The expected folder is empty when the
// decision must fail.
class TstDataFolder : public QObject {
    Q_OBJECT
private slots:
    void decide_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("holdsCfg");
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("expected");

        const auto row = [](const char* name, const char* program, bool readOnly, bool holdsCfg,
                            const char* requested, const char* xdg, const char* expected) {
            QTest::addRow("%s", name) << QString(program) << readOnly << holdsCfg << QString(requested)
                                      << QString(xdg) << QString(expected);
        };
        row("writable program folder", "app", false, false, "", "xdg", "app");
        row("read-only program folder, XDG_DATA_HOME set", "app", true, false, "", "xdg", "xdg/mirelva");
        row("read-only program folder, XDG_DATA_HOME unset", "app", true, false, "", "",
            "home/.local/share/mirelva");
        row("relative XDG_DATA_HOME is ignored", "app", true, false, "", "rel/xdg",
            "home/.local/share/mirelva");
        row("read-only program folder that holds cfg.ini", "app", true, true, "", "xdg", "app");
        row("program folder under /proc", "/proc/self", false, false, "", "xdg", "xdg/mirelva");
        row("installed under /usr, even for root", "/usr/bin", false, false, "", "",
            "home/.local/share/mirelva");
        row("--data wins, created with its parents", "app", false, false, "new/data/", "xdg", "new/data");
        row("--data cannot be created", "app", false, false, "/proc/self/mirelva", "xdg", "");
        row("--data names a file", "app", false, false, "app/file", "xdg", "");
        row("--data is read-only", "app", true, false, "app", "xdg", "");
        row("user's data folder cannot be created", "app", true, false, "", "/proc/self/xdg", "");
    }
    void decide() {
        QFETCH(QString, program);
        QFETCH(bool, readOnly);
        QFETCH(bool, holdsCfg);
        QFETCH(QString, requested);
        QFETCH(QString, xdg);
        QFETCH(QString, expected);
        QTemporaryDir root;
        const auto at = [&](const QString& p) {
            return p.isEmpty() || p.startsWith('/') ? p : root.filePath(p);
        };
        QVERIFY(TestSupport::writeFile(root.filePath("app/file"), "x"));
        if (holdsCfg) {
            QVERIFY(TestSupport::writeFile(root.filePath("app/cfg.ini"), "[KeyProgram]\r\n"));
        }
        Writable restore;
        if (readOnly) {
            restore.folder = root.filePath("app");
            QVERIFY2(MakeReadOnly(root.filePath("app")), "no read-only folder on this machine");
        }
        QDir::setCurrent(root.path());

        const DataFolder folder =
            DataFolder::decide({at(program), requested.isEmpty() ? QString() : at(requested),
                                xdg.startsWith("rel") ? xdg : at(xdg), root.filePath("home")});
        QCOMPARE(folder.path(), at(expected));
        QCOMPARE(folder.ok(), !expected.isEmpty());
        if (folder.ok()) {
            QVERIFY(QFileInfo(folder.path()).isDir());
        } else {
            QVERIFY2(folder.error().contains(QDir::cleanPath(requested.isEmpty() ? at(xdg) : at(requested))),
                     qPrintable(folder.error()));
        }
    }
};
MIRELVA_TEST(TstDataFolder)

// The expected text is the data folder when the program runs, else a piece of what is printed.
class TstCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("run");
        QTest::addColumn<QString>("expected");

        QTest::addRow("none") << QStringList{} << 0 << true << "";
        QTest::addRow("--data DIR") << QStringList{"--data", "/tmp/d"} << 0 << true << "/tmp/d";
        QTest::addRow("--help") << QStringList{"--help"} << 0 << false << "--data <CARTELLA>";
        QTest::addRow("unknown option")
            << QStringList{"--fullscreen"} << 2 << false << "fullscreen\nUso: mirelva";
        QTest::addRow("--data without a folder") << QStringList{"--data"} << 2 << false << "Uso: mirelva";
        QTest::addRow("--data with an empty folder")
            << QStringList{"--data="} << 2 << false << "Uso: mirelva";
        QTest::addRow("stray argument") << QStringList{"lay1.ini"} << 2 << false << "lay1.ini\nUso: mirelva";
    }
    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(bool, run);
        QFETCH(QString, expected);
        const CommandLineOptions options = ParseCommandLine(QStringList{"/usr/bin/mirelva"} + arguments);
        QCOMPARE(options.run, run);
        QCOMPARE(options.exitCode, exitCode);
        if (run) {
            QCOMPARE(options.dataFolder, expected);
        } else {
            QVERIFY2(options.output.contains(expected), qPrintable(options.output));
        }
    }
};
MIRELVA_TEST(TstCommandLine)

#include "start_options.moc"
