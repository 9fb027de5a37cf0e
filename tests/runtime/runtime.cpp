#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "fakes/RuntimeHarness.h"
#include "fakes/LoggingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/RuntimeTestProgram.h"
#include "fakes/TestSupport.h"
#include "grid/cGriglia.h"
#include "runtime/F_GO.h"
#include "fakes/TestRegistry.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMouseEvent>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

using namespace RuntimeHarness;

class TstRuntime : public QObject {
    Q_OBJECT
private slots:
    void init() { ResetSharedIni(); }
    // The frame moves first, then the sound is heard to its end, then the text.
    void keyOutputOrder_data() {
        QTest::addColumn<bool>("sound");
        QTest::addColumn<bool>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("sound and text") << true << true << QStringList{"tone 3000", "end", "speech", "end"};
        QTest::addRow("sound only") << true << false << QStringList{"tone 3000", "end"};
        QTest::addRow("text only") << false << true << QStringList{"speech", "end"};
        QTest::addRow("neither: frame only") << false << false << QStringList{};
    }
    void keyOutputOrder() {
        QFETCH(bool, sound);
        QFETCH(bool, text);
        QFETCH(QStringList, expected);
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        l.sound = sound;
        l.text = text;
        l.texts = QStringList{"uno", "due", "tre", "quattro"};
        rt.program.writeCfg(rt.program.writeLayout("layout/quattro.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        QVERIFY(rt.window->TableActive());
        QCOMPARE(rt.messages.texts(), QStringList{});

        QRgb frameWhenHeard = 0;
        rt.audio.onEnqueue = [&](const QString&) {
            if (frameWhenHeard == 0) {
                frameWhenHeard = rt.framePixel(3);
            }
        };
        rt.clickKey(3);
        QCOMPARE(rt.messages.texts(), QStringList{});
        QCOMPARE(rt.audio.log, expected);
        QCOMPARE(rt.framePixel(3), Blue);
        if (!expected.isEmpty()) {
            QCOMPARE(frameWhenHeard, Blue);
        }
        QCOMPARE(rt.window->Grid()->CurrentRow(), 1);
        QCOMPARE(rt.window->Grid()->CurrentCol(), 0);
    }
    // Without a synthesizer the text's error is shown and the activation goes on:
    // the bonus of the completed sequence still plays, after the message.
    void speechErrorIsShownAndActivationGoesOn() {
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 1;
        l.text = true;
        l.texts = QStringList{"arancia"};
        l.forced = true;
        l.sequence = {1};
        l.bonus = rt.program.writeTone("suoni/bonus.wav", 9000);
        rt.program.writeCfg(rt.program.writeLayout("layout/uno.ini", l));
        rt.open({1024, 768}, QStringLiteral("Name=Nessuna;Language=9999"));
        rt.window->Form_KeyPress(13);
        rt.audio.onEnqueue = [&](const QString& what) {
            if (what == QStringLiteral("tone 9000")) {
                rt.audio.log << QStringLiteral("messages: %1").arg(rt.messages.shown.size());
            }
        };
        rt.clickKey(1);
        QCOMPARE(rt.audio.log, (QStringList{"tone 1000", "end", "tone 9000", "messages: 1", "end"}));
        QCOMPARE(rt.messages.shown.size(), 1);
        QCOMPARE(rt.messages.shown[0].text,
                 QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"));
        QCOMPARE(rt.messages.shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(rt.messages.shown[0].title, QStringLiteral("Mirelva"));
        // The message box closed over the table: the frame is gone.
        QCOMPARE(rt.framePixel(1), White);
    }
    // Clicking another key moves the frame; clicking in a gap does nothing.
    void frameMoves_data() {
        QTest::addColumn<QList<QPoint>>("clicks");
        QTest::addColumn<QList<int>>("framedKeys");
        QTest::addColumn<QStringList>("tones");
        QTest::addRow("two keys") << QList<QPoint>{{200, 200}, {700, 500}} << QList<int>{4}
                                  << QStringList{"tone 1000", "tone 4000"};
        QTest::addRow("same key twice plays twice") << QList<QPoint>{{200, 200}, {201, 201}} << QList<int>{1}
                                                    << QStringList{"tone 1000", "tone 1000"};
        QTest::addRow("gap between keys")
            << QList<QPoint>{{200, 200}, {511, 200}} << QList<int>{1} << QStringList{"tone 1000"};
    }
    void frameMoves() {
        QFETCH(QList<QPoint>, clicks);
        QFETCH(QList<int>, framedKeys);
        QFETCH(QStringList, tones);
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        rt.program.writeCfg(rt.program.writeLayout("layout/quattro.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        for (const QPoint& p : clicks) {
            rt.clickAt(p);
        }
        QCOMPARE(rt.audio.tones(), tones);
        for (int key = 1; key <= 4; ++key) {
            QCOMPARE(rt.framePixel(key) == Blue, framedKeys.contains(key));
        }
    }
    // The worked example of the forced sequence 2, 4, 1, 3 on four keys.
    void forcedInputWorkedExample() {
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        l.forced = true;
        l.sequence = {2, 4, 1, 3};
        l.bonus = rt.program.writeTone("suoni/bonus.wav", 9000);
        rt.program.writeCfg(rt.program.writeLayout("layout/sequenza.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        QVERIFY(rt.window->TableActive());

        const QList<int> choices{2, 4, 3, 2, 4, 1, 3, 2, 2};
        const QList<QStringList> heard{{"tone 2000"},
                                       {"tone 4000"},
                                       {},
                                       {"tone 2000"},
                                       {"tone 4000"},
                                       {"tone 1000"},
                                       {"tone 3000", "tone 9000"},
                                       {},
                                       {"tone 2000"}};
        const QList<int> positions{1, 2, 0, 1, 2, 3, 4, 0, 1};
        for (int i = 0; i < choices.size(); ++i) {
            rt.audio.log.clear();
            rt.clickKey(choices[i]);
            QCOMPARE(rt.audio.tones(), heard[i]);
            QCOMPARE(rt.window->SequencePos(), qint16(positions[i]));
            // The frame follows every click, right or wrong.
            QCOMPARE(rt.framePixel(choices[i]), Blue);
        }
    }
    // A click made while a sound plays is handled afterwards, where the pointer is then.
    void clickDuringOutputIsHandledAfterwards() {
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        rt.program.writeCfg(rt.program.writeLayout("layout/quattro.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        bool posted = false;
        rt.audio.onDrain = [&] {
            if (posted) {
                return;
            }
            posted = true;
            // The user clicks key 3 and then moves the pointer over key 2 before the sound ends.
            const QPoint at3 = CentreOf(rt.cell(3));
            const QPoint global3 = rt.window->mapToGlobal(at3);
            QCoreApplication::postEvent(rt.window.get(),
                                        new QMouseEvent(QEvent::MouseButtonPress, at3, global3,
                                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(rt.window.get(),
                                        new QMouseEvent(QEvent::MouseButtonRelease, at3, global3,
                                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            QCursor::setPos(rt.window->mapToGlobal(CentreOf(rt.cell(2))));
            QCOMPARE(rt.audio.tones(), QStringList{"tone 1000"});
        };
        rt.clickKey(1);
        QCOMPARE(rt.audio.tones(), QStringList{"tone 1000"});
        QCoreApplication::processEvents();
        QCOMPARE(rt.audio.tones(), (QStringList{"tone 1000", "tone 2000"}));
        QCOMPARE(rt.framePixel(2), Blue);
        QVERIFY(rt.framePixel(1) != Blue);
    }
    // Whenever the window is painted afresh, the frame of the last key is gone.
    void repaintRemovesFrame_data() {
        QTest::addColumn<QString>("cause");
        QTest::addRow("message box closed over the table") << "message";
        QTest::addRow("settings window closed") << "settings";
        QTest::addRow("open-layout dialog closed") << "open";
        QTest::addRow("print preview closed") << "print";
        QTest::addRow("Enter reloads the table") << "enter";
    }
    void repaintRemovesFrame() {
        QFETCH(QString, cause);
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        rt.program.writeCfg(rt.program.writeLayout("layout/quattro.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        rt.clickKey(2);
        QCOMPARE(rt.framePixel(2), Blue);
        if (cause == "message") {
            rt.window->Form_KeyUp(116, 0); // F5, bound to nothing
            QCOMPARE(rt.messages.texts(), QStringList{"Il file che si cerca di caricare non viene trovato."});
        } else if (cause == "settings") {
            rt.window->Form_KeyUp('I', 4);
        } else if (cause == "open") {
            rt.window->Form_KeyUp('A', 4);
        } else if (cause == "print") {
            rt.window->Form_KeyUp('P', 4);
        } else {
            rt.window->Form_KeyPress(13);
        }
        QVERIFY(rt.window->TableActive());
        QCOMPARE(rt.framePixel(2), White);
        // The next click paints white over a frame that is no longer there.
        rt.clickKey(4);
        QCOMPARE(rt.framePixel(4), Blue);
        QCOMPARE(rt.framePixel(2), White);
    }
    // Esc leaves the table, then ends the program.
    void escape() {
        Runtime rt;
        RuntimeTestProgram::Layout l;
        rt.program.writeCfg(rt.program.writeLayout("layout/uno.ini", l));
        rt.open();
        rt.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(rt.window.get()));
        QTest::keyClick(rt.window.get(), Qt::Key_Return);
        QVERIFY(rt.window->TableActive());
        QTest::keyClick(rt.window.get(), Qt::Key_Escape);
        QVERIFY(!rt.window->TableActive());
        QVERIFY(rt.window->Grid() == nullptr);
        QVERIFY(rt.window->isVisible());
        QTest::keyClick(rt.window.get(), Qt::Key_Escape);
        QVERIFY(!rt.window->isVisible());
        // The unload released the shared settings object.
        QCOMPARE(SharedIni().File(), QString());
        // A key still queued after the close starts nothing.
        rt.window->Form_KeyPress(13);
        QVERIFY(!rt.window->TableActive());
        QVERIFY(rt.window->Grid() == nullptr);
    }
};

MIRELVA_TEST(TstRuntime)
#include "runtime.moc"
