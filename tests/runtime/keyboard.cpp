#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "fakes/LoggingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/RuntimeTestProgram.h"
#include "fakes/TestSupport.h"
#include "grid/cGriglia.h"
#include "runtime/F_GO.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

#include <memory>

namespace {
const QString NotFound = QStringLiteral("Il file che si cerca di caricare non viene trovato.");
const QString NotValid =
    QStringLiteral("Il layout che si cerca di utilizzare non è valido. Crearne uno valido.");
const QString Resources =
    QStringLiteral("Si è verificato un errore nella lettura delle risorse.\r\n"
                   "Controllare che le risorse da utilizzare siano quelle previste dal programma.");
} // namespace

// The keys of the runtime window, sent as real key events.
class TstKeyboard : public QObject {
    Q_OBJECT

    RuntimeTestProgram* program = nullptr;
    RecordingMessages messages;
    NullFilePicker picker;
    LoggingAudioOutput audio;
    RecordingRuntimeWindows windows;
    std::unique_ptr<F_GO> window;
    QString start;

private slots:
    void init() {
        ResetSharedIni();
        messages.shown.clear();
        program = new RuntimeTestProgram;
        RuntimeTestProgram::Layout sixteen;
        sixteen.keys = 16;
        sixteen.sound = false;
        const QString sixteenPath = program->writeLayout("layout/sedici.ini", sixteen);
        TestSupport::writeFile(program->path("layout/testo.ini"), "solo testo\r\nKey=niente\r\n");
        RuntimeTestProgram::Layout broken = sixteen;
        broken.tasti = "7";
        const QString brokenPath = program->writeLayout("layout/rotto.ini", broken);
        RuntimeTestProgram::Layout l;
        l.keys = 2;
        l.sound = false;
        // F3 shows this layout again; F4 the 16-key one; F5 is empty; F6 a missing file;
        // F7 a text file without the marker; F8 a layout that fails the full check; F9 a folder.
        l.functionKeys = QStringList{"",
                                     "",
                                     program->path("layout/start.ini"),
                                     sixteenPath,
                                     "",
                                     program->path("layout/manca.ini"),
                                     program->path("layout/testo.ini"),
                                     brokenPath,
                                     program->path("layout")};
        start = program->writeLayout("layout/start.ini", l);
        program->writeCfg(start);
        window = std::make_unique<F_GO>(program->folder(), F_GO::Services{messages, picker, audio, windows});
        window->resize(1024, 768);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        window.reset();
        delete program;
        program = nullptr;
    }

    void functionKeys_data() {
        QTest::addColumn<bool>("table");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("cfgFile");
        QTest::addColumn<bool>("tableAfter");
        QTest::addColumn<int>("columnsAfter");

        const QString sixteen = QStringLiteral("layout/sedici.ini");
        QTest::addRow("F4 switches to the 16-key layout")
            << true << Qt::Key_F4 << Qt::KeyboardModifiers() << QStringList{} << sixteen << true << 4;
        QTest::addRow("Shift+F4 acts like F4")
            << true << Qt::Key_F4 << Qt::KeyboardModifiers(Qt::ShiftModifier) << QStringList{} << sixteen
            << true << 4;
        QTest::addRow("Ctrl+F4 acts like F4")
            << true << Qt::Key_F4 << Qt::KeyboardModifiers(Qt::ControlModifier) << QStringList{} << sixteen
            << true << 4;
        QTest::addRow("F3 reloads the layout shown") << true << Qt::Key_F3 << Qt::KeyboardModifiers()
                                                     << QStringList{} << "layout/start.ini" << true << 2;
        QTest::addRow("F4 on the intro does nothing") << false << Qt::Key_F4 << Qt::KeyboardModifiers()
                                                      << QStringList{} << "layout/start.ini" << false << 0;
        QTest::addRow("F5 empty") << true << Qt::Key_F5 << Qt::KeyboardModifiers() << QStringList{NotFound}
                                  << "layout/start.ini" << true << 2;
        QTest::addRow("F6 missing file") << true << Qt::Key_F6 << Qt::KeyboardModifiers()
                                         << QStringList{NotFound} << "layout/start.ini" << true << 2;
        QTest::addRow("F7 text file without the marker")
            << true << Qt::Key_F7 << Qt::KeyboardModifiers() << QStringList{NotValid} << "layout/start.ini"
            << true << 2;
        QTest::addRow("F9 a folder") << true << Qt::Key_F9 << Qt::KeyboardModifiers() << QStringList{NotValid}
                                     << "layout/start.ini" << true << 2;
        QTest::addRow("F8 marker but a wrong key count: cfg.ini keeps the new path")
            << true << Qt::Key_F8 << Qt::KeyboardModifiers()
            << QStringList{"Il numero dei tasti del layout non è compreso fra i seguenti: 1, 2, 3, 4, 6, 8, "
                           "9, 10, 12, "
                           "14, 15, 16, 18, 20, 21.",
                           Resources}
            << "layout/rotto.ini" << false << 0;
        QTest::addRow("F12 unbound") << true << Qt::Key_F12 << Qt::KeyboardModifiers()
                                     << QStringList{NotFound} << "layout/start.ini" << true << 2;
    }
    void functionKeys() {
        QFETCH(bool, table);
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QStringList, shown);
        QFETCH(QString, cfgFile);
        QFETCH(bool, tableAfter);
        QFETCH(int, columnsAfter);
        if (table) {
            QTest::keyClick(window.get(), Qt::Key_Return);
            QVERIFY(window->TableActive());
        }
        QTest::keyClick(window.get(), key, modifiers);
        QCOMPARE(messages.texts(), shown);
        QCOMPARE(program->cfgFileValue(), program->path(cfgFile));
        QCOMPARE(window->TableActive(), tableAfter);
        if (tableAfter) {
            QCOMPARE(window->Grid()->LastCol() + 1, columnsAfter);
            QCOMPARE(ActiveLayoutPath(), program->path(cfgFile));
        }
        for (const auto& m : messages.shown) {
            QCOMPARE(m.title.startsWith(QStringLiteral("Mirelva")), true);
        }
    }

    // Keys that are not commands do nothing, on either face.
    void otherKeysDoNothing_data() {
        QTest::addColumn<bool>("table");
        QTest::addColumn<Qt::Key>("key");
        QTest::addRow("space on the intro") << false << Qt::Key_Space;
        QTest::addRow("letter on the intro") << false << Qt::Key_M;
        QTest::addRow("arrow on the table") << true << Qt::Key_Right;
        QTest::addRow("tab on the table") << true << Qt::Key_Tab;
        QTest::addRow("letter on the table") << true << Qt::Key_A;
    }
    void otherKeysDoNothing() {
        QFETCH(bool, table);
        QFETCH(Qt::Key, key);
        if (table) {
            QTest::keyClick(window.get(), Qt::Key_Return);
        }
        const QImage before = window->canvas().copy();
        QTest::keyClick(window.get(), key);
        QCOMPARE(window->TableActive(), table);
        QVERIFY(window->isVisible());
        QCOMPARE(messages.texts(), QStringList{});
        QCOMPARE(windows.opened, QStringList{});
        QVERIFY(window->canvas() == before);
    }

    // Enter on the table reads the layout again: edits saved meanwhile appear.
    void enterReloadsFromDisk() {
        QTest::keyClick(window.get(), Qt::Key_Return);
        QCOMPARE(window->Grid()->LastCol() + 1, 2);
        RuntimeTestProgram::Layout nine;
        nine.keys = 9;
        nine.sound = false;
        program->writeLayout("layout/start.ini", nine);
        QTest::keyClick(window.get(), Qt::Key_Enter);
        QCOMPARE(window->Grid()->LastCol() + 1, 3);
        QCOMPARE(window->Grid()->LastRow() + 1, 3);
    }

    // Alt+A with real key events reaches the open-layout dialog.
    void altLetterFromKeyEvents() {
        QTest::keyClick(window.get(), Qt::Key_A, Qt::AltModifier);
        QTest::keyClick(window.get(), Qt::Key_I, Qt::AltModifier | Qt::ControlModifier);
        QCOMPARE(windows.opened, QStringList{"open"});
    }
};

MIRELVA_TEST(TstKeyboard)
#include "keyboard.moc"
