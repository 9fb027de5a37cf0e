#include "access/AccessOptions.h"
#include "fakes/RuntimeHarness.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

using namespace RuntimeHarness;

// The runtime window with step scanning: keys chosen by switches take the
// click's path (blue frame, sound, forced input), and the highlight leaves
// the pictures as they were drawn.
class TstAccessWindow : public QObject {
    Q_OBJECT
private slots:
    void stepScanThroughForcedInput() {
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        l.forced = true;
        l.sequence = {2, 1, 3, 4};
        rt.program.writeCfg(rt.program.writeLayout("layout/scan.ini", l));
        AccessOptions options;
        options.method = AccessOptions::Method::StepScan;
        options.order = AccessOptions::Order::Linear;
        QVERIFY(options.Save(rt.program.folder()));
        rt.open();
        // Enter on the intro screen still starts the table, although Enter selects on it.
        QTest::keyClick(rt.window.get(), Qt::Key_Return);
        QVERIFY(rt.window->TableActive());
        const QRect key1 =
            QRect(QPoint(rt.cell(1).Left, rt.cell(1).Top), QPoint(rt.cell(1).Right, rt.cell(1).Bottom));
        const QImage key1Plain = rt.window->canvas().copy(key1.adjusted(20, 20, -20, -20));
        const QPoint edge2(rt.cell(2).Left, (rt.cell(2).Top + rt.cell(2).Bottom) / 2);

        QTest::keyClick(rt.window.get(), Qt::Key_Space);
        QCOMPARE(QColor(rt.pixel(edge2)), QColor(255, 200, 0));
        QCOMPARE(rt.window->canvas().copy(key1.adjusted(20, 20, -20, -20)), key1Plain);
        QVERIFY(rt.audio.log.isEmpty());

        // Key 2 is the sequence's first step: framed in blue, heard.
        QTest::keyClick(rt.window.get(), Qt::Key_Return);
        QCOMPARE(rt.audio.log, QStringList({"tone 2000", "end"}));
        QCOMPARE(rt.framePixel(2), Blue);
        QCOMPARE(rt.window->SequencePos(), qint16(1));
        // The scan starts again at key 1, the next step.
        QTest::keyClick(rt.window.get(), Qt::Key_Return);
        QCOMPARE(rt.audio.log.mid(2), QStringList({"tone 1000", "end"}));
        // Key 1 again is out of turn: silent, back to the start.
        QTest::keyClick(rt.window.get(), Qt::Key_Return);
        QCOMPARE(rt.audio.log.size(), 4);
        QCOMPARE(rt.window->SequencePos(), qint16(0));
        // Esc keeps its meaning.
        QTest::keyClick(rt.window.get(), Qt::Key_Escape);
        QVERIFY(!rt.window->TableActive());
    }

    // Alt alone with O opens the options, on both faces of the window.
    void altO() {
        Runtime rt;
        rt.program.writeCfg(rt.program.writeLayout("layout/uno.ini", {}));
        rt.open();
        rt.window->Form_KeyUp('O', 6);
        rt.window->Form_KeyUp('O', 4);
        rt.window->Form_KeyPress(13);
        rt.window->Form_KeyUp('O', 4);
        QCOMPARE(rt.windows.opened, QStringList({"access", "access"}));
        QVERIFY(!QFile::exists(AccessOptions::FilePath(rt.program.folder())));
    }
};

MIRELVA_TEST(TstAccessWindow)
#include "access_window.moc"
