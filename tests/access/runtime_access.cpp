#include "access/AccessOptions.h"

#include "fakes/RuntimeHarness.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

using namespace RuntimeHarness;

namespace {
using Method = AccessOptions::Method;
using Order = AccessOptions::Order;

AccessOptions With(Method method, Order order = Order::RowColumn) {
    return {
        .method = method, .scanIntervalMs = 1000, .firstItemPercent = 150, .scanRounds = 2, .order = order};
}
} // namespace

class TstRuntimeAccess : public QObject {
    Q_OBJECT
private slots:
    // The runtime window with step scanning: keys chosen by switches take the click's path (blue
    // frame, sound, forced input), and the highlight leaves the pictures as they were drawn.
    void stepScanThroughForcedInput() {
        Runtime rt;
        RuntimeTestProgram::Layout l = Keys(4);
        l.forced = true;
        l.sequence = {2, 1, 3, 4};
        QVERIFY(With(Method::StepScan, Order::Linear).Save(rt.program.folder()));
        // Enter on the intro screen still starts the table, although Enter selects on it.
        rt.start(l, false);
        QTest::keyClick(rt.window.get(), Qt::Key_Return);
        const QRect inner1(rt.cell(1).Left + 20, rt.cell(1).Top + 20, 200, 200);
        const QImage key1 = rt.window->canvas().copy(inner1);
        QTest::keyClick(rt.window.get(), Qt::Key_Space);
        QCOMPARE(QColor(rt.pixel({rt.cell(2).Left, CentreOf(rt.cell(2)).y()})), QColor(255, 200, 0));
        QCOMPARE(rt.window->canvas().copy(inner1), key1);
        QVERIFY(rt.audio.log.isEmpty());
        // Key 2, the first step, is framed and heard; the scan starts again at key 1, the next
        // step; key 1 again is out of turn: silent, back to the start.
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(rt.window.get(), Qt::Key_Return);
        }
        QCOMPARE(rt.audio.tones(), QStringList({"tone 2000", "tone 1000"}));
        QCOMPARE(rt.window->SequencePos(), qint16(0));
        QTest::keyClick(rt.window.get(), Qt::Key_Escape);
        QVERIFY(!rt.window->TableActive());
        // Alt+O opens the options on both faces; Ctrl+Alt+O does not.
        rt.window->Form_KeyUp('O', 6);
        rt.window->Form_KeyUp('O', 4);
        rt.window->Form_KeyPress(13);
        rt.window->Form_KeyUp('O', 4);
        QCOMPARE(rt.windows.opened, QStringList({"access", "access"}));
    }

    // Under Sosta the intro screen goes on to the table by a dwell on its panel.
    void introScreenGoesOn() {
        Runtime rt;
        AccessOptions o = With(Method::Dwell);
        o.dwellMs = 500;
        QVERIFY(o.Save(rt.program.folder()));
        rt.start(Keys(2), false);
        rt.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(rt.window.get()));
        const QPoint panel(512, 384);
        QMouseEvent move(QEvent::MouseMove, QPointF(panel), QPointF(rt.window->mapToGlobal(panel)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(rt.window.get(), &move);
        QVERIFY(!rt.window->TableActive());
        QTRY_VERIFY_WITH_TIMEOUT(rt.window->TableActive(), 3000);
    }
};

MIRELVA_TEST(TstRuntimeAccess)
#include "runtime_access.moc"
