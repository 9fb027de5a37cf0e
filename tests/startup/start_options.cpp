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

} // namespace

// Paths in the rows are relative to a temporary root R; "/usr/bin" and
// "/proc/..." stay as they are. The expected folder is empty when the
// decision must fail.
class TstStartOptions : public QObject {
    Q_OBJECT
private slots:
    void decide_data() {
        QTest::addColumn<QString>("program"); // "+ro": read-only, "+cfg": holding cfg.ini
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* program, const char* requested, const char* xdg,
                            const char* expected) {
            QTest::addRow("%s", name)
                << QString(program) << QString(requested) << QString(xdg) << QString(expected);
        };
        const char* const home = "home/.local/share/mirelva";
        row("writable program folder", "app", "", "xdg", "app");
        row("read-only program folder, XDG_DATA_HOME set", "app+ro", "", "xdg", "xdg/mirelva");
        row("read-only program folder, XDG_DATA_HOME unset", "app+ro", "", "", home);
        row("relative XDG_DATA_HOME is ignored", "app+ro", "", "rel/xdg", home);
        row("read-only program folder that holds cfg.ini", "app+ro+cfg", "", "xdg", "app");
        row("program folder under /proc", "/proc/self", "", "xdg", "xdg/mirelva");
        row("installed under /usr, even for root", "/usr/bin", "", "", home);
        row("--data wins, created with its parents", "app", "new/data/", "xdg", "new/data");
        row("--data cannot be created", "app", "/proc/self/mirelva", "xdg", "");
        row("--data names a file", "app", "app/file", "xdg", "");
        row("--data is read-only", "app+ro", "app", "xdg", "");
        row("user's data folder cannot be created", "app+ro", "", "/proc/self/xdg", "");
    }
    void decide() {
        QFETCH(QString, program);
        QFETCH(QString, requested);
        QFETCH(QString, xdg);
        QFETCH(QString, expected);
        QTemporaryDir root;
        const auto at = [&](const QString& p) {
            return p.isEmpty() || p.startsWith('/') ? p : root.filePath(p);
        };
        QVERIFY(TestSupport::writeFile(root.filePath("app/file"), "x"));
        QVERIFY(!program.contains("+cfg") ||
                TestSupport::writeFile(root.filePath("app/cfg.ini"), "[KeyProgram]\r\n"));
        const QByteArray app = root.filePath("app").toLocal8Bit();
        const bool readOnly = program.contains("+ro");
        QVERIFY2(!readOnly || MakeReadOnly(root.filePath("app")), "no read-only folder on this machine");
        const auto writable = qScopeGuard([&] { // back to the temporary folder's clean-up
            QVERIFY(!readOnly || (geteuid() == 0 ? umount2(app.constData(), MNT_DETACH)
                                                 : chmod(app.constData(), 0755)) == 0);
        });
        QDir::setCurrent(root.path());
        const Result<QString> folder = DataFolder::decide(
            {at(program.section('+', 0, 0)), requested.isEmpty() ? QString() : at(requested),
             xdg.startsWith("rel") ? xdg : at(xdg), root.filePath("home")});
        QCOMPARE(folder ? *folder : QString(), at(expected));
        QCOMPARE(folder.ok(), !expected.isEmpty());
        QVERIFY(!folder || QFileInfo(*folder).isDir());
        const QString named = QDir::cleanPath(requested.isEmpty() ? at(xdg) : at(requested));
        QVERIFY2(folder || (folder.failure().message().contains(named) &&
                            folder.failure().detail().contains(named)),
                 qPrintable(folder.failure().message()));
    }

    // A folder is what the program runs with; any other text is part of what it prints before ending.
    void parseCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QStringList& arguments, int exitCode,
                            const char* expected) {
            QTest::addRow("%s", name) << arguments << exitCode << QString(expected);
        };
        row("none", {}, 0, "");
        row("--data DIR", {"--data", "/tmp/d"}, 0, "/tmp/d");
        row("--help", {"--help"}, 0, "--data <CARTELLA>");
        row("unknown option", {"--fullscreen"}, 2, "fullscreen\nUso: mirelva");
        row("--data without a folder", {"--data"}, 2, "Uso: mirelva");
        row("--data with an empty folder", {"--data="}, 2, "Uso: mirelva");
        row("stray argument", {"lay1.ini"}, 2, "lay1.ini\nUso: mirelva");
    }
    void parseCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const CommandLineOptions options = ParseCommandLine(QStringList{"/usr/bin/mirelva"} + arguments);
        const bool run = expected.isEmpty() || expected.startsWith('/');
        QCOMPARE(options.run, run);
        QTEST(options.exitCode, "exitCode");
        QVERIFY2(run ? options.dataFolder == expected : options.output.contains(expected),
                 qPrintable(options.output));
    }
};
MIRELVA_TEST(TstStartOptions)

#include "start_options.moc"
