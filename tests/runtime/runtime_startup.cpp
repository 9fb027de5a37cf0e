#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "fakes/LoggingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/RuntimeTestProgram.h"
#include "fakes/TestSupport.h"
#include "runtime/ScreenPointer.h"
#include "startup/frmSplash.h"
#include "startup/mAvvio.h"
#include "fakes/TestRegistry.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

// The entry routine: installation when due, the runtime window shown, the
// splash gone and the default pointer back.
class TstRuntimeStartup : public QObject {
    Q_OBJECT

    RecordingMessages messages;
    NullFilePicker picker;
    LoggingAudioOutput audio;
    RecordingRuntimeWindows windows;

    static bool SplashShown() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmSplash*>(w) != nullptr && w->isVisible()) {
                return true;
            }
        }
        return false;
    }

private slots:
    void init() {
        messages.shown.clear();
        ResetSharedIni();
        SetActiveLayoutPath(QStringLiteral("stale"));
    }

    void installationDecision_data() {
        QTest::addColumn<QString>("cfg");
        QTest::addColumn<bool>("installs");
        QTest::addRow("first launch in an empty folder") << QString() << true;
        QTest::addRow("IsProgramInstalled 0")
            << "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nIsProgramInstalled=0\r\n"
            << true;
        QTest::addRow("IsProgramInstalled 2")
            << "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nIsProgramInstalled=2\r\n"
            << false;
        QTest::addRow("no IsProgramInstalled") << "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n" << false;
    }
    void installationDecision() {
        QFETCH(QString, cfg);
        QFETCH(bool, installs);
        QTemporaryDir dir;
        if (!cfg.isEmpty()) {
            QVERIFY(TestSupport::writeFile(dir.filePath("cfg.ini"), cfg.toLatin1()));
        }
        const std::unique_ptr<F_GO> window =
            Main(dir.path(), F_GO::Services{messages, picker, audio, windows});
        QVERIFY(window != nullptr);
        QCOMPARE(QFile::exists(dir.filePath("layout/lay12.ini")), installs);
        QCOMPARE(QFile::exists(dir.filePath("immagini")), installs);
        QVERIFY(window->isVisible());
        QVERIFY(!window->TableActive());
        // Shown and exposed: the intro screen is on the canvas (the description box's purple border).
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QSize client = window->size();
        QCOMPARE(window->canvas().pixel(int(std::nearbyint(client.width() * 0.08)) + 1,
                                        int(std::nearbyint(client.height() * 0.40)) + 1),
                 qRgb(192, 31, 170));
        QVERIFY(!SplashShown());
        QCOMPARE(ScreenMousePointer(), PointerShape::Default);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(messages.texts(), QStringList{});
        // The window read the active layout at its load.
        QCOMPARE(ActiveLayoutPath(), installs ? dir.filePath("layout/lay1.ini") : QString());
        if (installs) {
            QVERIFY(TestSupport::readFile(dir.filePath("cfg.ini")).contains("IsProgramInstalled=1"));
            // The installed default table starts.
            window->Form_KeyPress(13);
            QVERIFY(window->TableActive());
        }
    }

    // An installation that cannot write its files is reported and the program ends.
    void installationFailureEndsTheProgram() {
        QTemporaryDir dir;
        // A file where the picture folder should be.
        QVERIFY(TestSupport::writeFile(dir.filePath("immagini"), "not a folder"));
        const std::unique_ptr<F_GO> window =
            Main(dir.path(), F_GO::Services{messages, picker, audio, windows});
        QVERIFY(window == nullptr);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(!SplashShown());
        QCOMPARE(ScreenMousePointer(), PointerShape::Default);
    }
};

MIRELVA_TEST(TstRuntimeStartup)
#include "runtime_startup.moc"
