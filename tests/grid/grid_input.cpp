#include "fakes/FakeGridContainer.h"
#include "grid/cGriglia.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(CellPos)

namespace {
using Points = QList<QPoint>;
using Cells = QList<CellPos>;

std::unique_ptr<cGriglia> makeGrid(FakeGridContainer& window, bool clickDisabled = false,
                                   bool mouseMoveDisabled = false) {
    auto grid = std::make_unique<cGriglia>();
    // The 12-key table: columns 4-250, 260-506, 516-762, 772-1018; rows 6-252, 262-506, 516-762.
    grid->Init(window, 3, 4, true, 1, 0xFFFFFF, 0x808080, 10, 10, false, 0xFFF9F4, 5, 5, true, true, true,
               mouseMoveDisabled, clickDisabled);
    return grid;
}

struct ClickArgs {
    int r, c, x, y, rPrevious, cPrevious;
};

ClickArgs argsOf(const QList<QVariant>& signal) {
    return {signal[0].toInt(), signal[1].toInt(), signal[2].toInt(),
            signal[3].toInt(), signal[4].toInt(), signal[5].toInt()};
}
} // namespace

static char* toString(const CellPos& p) {
    return QTest::toString(QStringLiteral("cell (%1, %2)").arg(p.Row).arg(p.Col));
}

class TstGridInput : public QObject {
    Q_OBJECT
private slots:
    void hitTest_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<CellPos>("current");
        QTest::addColumn<CellPos>("expected");
        const CellPos origin{0, 0};
        const CellPos elsewhere{2, 1};
        QTest::addRow("inside the first cell") << QPoint(100, 100) << elsewhere << CellPos{0, 0};
        QTest::addRow("inside the last cell") << QPoint(900, 700) << origin << CellPos{2, 3};
        QTest::addRow("on a Left edge") << QPoint(260, 100) << origin << CellPos{0, 1};
        QTest::addRow("on a Right edge") << QPoint(250, 100) << elsewhere << CellPos{0, 0};
        QTest::addRow("on a Top edge") << QPoint(100, 262) << origin << CellPos{1, 0};
        QTest::addRow("on a Bottom edge") << QPoint(100, 252) << elsewhere << CellPos{0, 0};
        QTest::addRow("on the last corner") << QPoint(1018, 762) << origin << CellPos{2, 3};
        QTest::addRow("one past Right, in the gap") << QPoint(251, 100) << elsewhere << elsewhere;
        QTest::addRow("gap after column 0") << QPoint(255, 100) << elsewhere << elsewhere;
        QTest::addRow("one before Left, in the gap") << QPoint(259, 100) << origin << origin;
        QTest::addRow("gap between rows") << QPoint(600, 257) << elsewhere << elsewhere;
        QTest::addRow("margin top left") << QPoint(0, 0) << elsewhere << elsewhere;
        QTest::addRow("margin bottom right") << QPoint(1023, 767) << elsewhere << elsewhere;
        QTest::addRow("outside the window") << QPoint(-40, 5000) << elsewhere << elsewhere;
    }
    void hitTest() {
        QFETCH(QPoint, point);
        QFETCH(CellPos, current);
        QFETCH(CellPos, expected);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window);
        // Make the wanted cell current with a click inside it.
        window.pointer = QPoint(grid->CellRect(current.Row, current.Col).Left + 1,
                                grid->CellRect(current.Row, current.Col).Top + 1);
        grid->ContainerClick();
        QCOMPARE(CellPos(grid->CurrentRow(), grid->CurrentCol()), current);
        QCOMPARE(grid->HitTest(point.x(), point.y()), expected);
    }

    void clicksReportCurrentAndPrevious_data() {
        QTest::addColumn<Points>("clicks");
        QTest::addColumn<Cells>("current");
        QTest::addColumn<Cells>("previous");
        QTest::addRow("first click reports previous 0, 0")
            << Points{{600, 400}} << Cells{{1, 2}} << Cells{{0, 0}};
        QTest::addRow("previous follows the clicks")
            << Points{{600, 400}, {900, 700}, {100, 100}} << Cells{{1, 2}, {2, 3}, {0, 0}}
            << Cells{{0, 0}, {1, 2}, {2, 3}};
        QTest::addRow("same key twice")
            << Points{{300, 300}, {300, 300}} << Cells{{1, 1}, {1, 1}} << Cells{{0, 0}, {1, 1}};
        QTest::addRow("gap keeps the current cell")
            << Points{{600, 400}, {255, 100}} << Cells{{1, 2}, {1, 2}} << Cells{{0, 0}, {1, 2}};
        QTest::addRow("edge pixels hit")
            << Points{{506, 506}, {772, 516}} << Cells{{1, 1}, {2, 3}} << Cells{{0, 0}, {1, 1}};
    }
    void clicksReportCurrentAndPrevious() {
        QFETCH(Points, clicks);
        QFETCH(Cells, current);
        QFETCH(Cells, previous);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window);
        QSignalSpy spy(grid.get(), &cGriglia::Click);
        for (const QPoint& point : clicks) {
            window.pointer = point;
            grid->ContainerClick();
        }
        QCOMPARE(spy.count(), clicks.size());
        for (int i = 0; i < clicks.size(); ++i) {
            const ClickArgs args = argsOf(spy.at(i));
            QCOMPARE(CellPos(args.r, args.c), current[i]);
            QCOMPARE(QPoint(args.x, args.y), clicks[i]);
            QCOMPARE(CellPos(args.rPrevious, args.cPrevious), previous[i]);
        }
        QCOMPARE(CellPos(grid->CurrentRow(), grid->CurrentCol()), current.last());
        QCOMPARE(CellPos(grid->PreviousRow(), grid->PreviousCol()), previous.last());
    }

    void clickReadsThePointerWhenHandled() {
        // A click queued while a sound played lands where the pointer is when it is handled,
        // not where the pointer was last seen moving.
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window);
        QSignalSpy spy(grid.get(), &cGriglia::Click);
        grid->ContainerMouseMove(1, 0, 100.0f, 100.0f);
        window.pointer = QPoint(900, 300);
        grid->ContainerClick();
        const ClickArgs args = argsOf(spy.at(0));
        QCOMPARE(CellPos(args.r, args.c), CellPos(1, 3));
        QCOMPARE(QPoint(args.x, args.y), QPoint(900, 300));
    }

    void disabledClicksChangeNothing() {
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, true);
        QSignalSpy spy(grid.get(), &cGriglia::Click);
        window.pointer = QPoint(900, 700);
        grid->ContainerClick();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(CellPos(grid->CurrentRow(), grid->CurrentCol()), CellPos(0, 0));
        QCOMPARE(CellPos(grid->PreviousRow(), grid->PreviousCol()), CellPos(0, 0));
    }

    void mouseMoves_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<CellPos>("expected");
        // The current cell is (2, 3) throughout.
        QTest::addRow("over a cell") << 600.0f << 400.0f << CellPos{1, 2};
        QTest::addRow("over a gap reports the current cell") << 255.0f << 100.0f << CellPos{2, 3};
        QTest::addRow("259.5 rounds to 260, column 1") << 259.5f << 100.0f << CellPos{0, 1};
        QTest::addRow("260.5 rounds to 260, column 1") << 260.5f << 100.0f << CellPos{0, 1};
        QTest::addRow("250.5 rounds to 250, column 0") << 250.5f << 100.0f << CellPos{0, 0};
        QTest::addRow("251.5 rounds to 252, the gap") << 251.5f << 100.0f << CellPos{2, 3};
        QTest::addRow("252.5 down to Bottom 252") << 100.0f << 252.5f << CellPos{0, 0};
        QTest::addRow("outside the window") << -3.0f << -3.0f << CellPos{2, 3};
    }
    void mouseMoves() {
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(CellPos, expected);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window);
        window.pointer = QPoint(900, 700);
        grid->ContainerClick();
        grid->ContainerClick();
        QSignalSpy spy(grid.get(), &cGriglia::MouseMove);
        grid->ContainerMouseMove(1, 2, x, y);
        QCOMPARE(spy.count(), 1);
        const QList<QVariant> args = spy.at(0);
        QCOMPARE(args[0].toInt(), 1);
        QCOMPARE(args[1].toInt(), 2);
        QCOMPARE(args[2].toFloat(), x);
        QCOMPARE(args[3].toFloat(), y);
        QCOMPARE(CellPos(args[4].toInt(), args[5].toInt()), expected);
        // A move changes neither the current nor the previous cell.
        QCOMPARE(CellPos(grid->CurrentRow(), grid->CurrentCol()), CellPos(2, 3));
        QCOMPARE(CellPos(grid->PreviousRow(), grid->PreviousCol()), CellPos(2, 3));
    }

    void disabledMovesRaiseNothing() {
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, false, true);
        QSignalSpy spy(grid.get(), &cGriglia::MouseMove);
        grid->ContainerMouseMove(0, 0, 600.0f, 400.0f);
        QCOMPARE(spy.count(), 0);
    }

    void masks_data() {
        QTest::addColumn<Qt::MouseButtons>("buttons");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("shift");
        QTest::addRow("nothing") << Qt::MouseButtons() << Qt::KeyboardModifiers() << 0 << 0;
        QTest::addRow("left with Shift")
            << Qt::MouseButtons(Qt::LeftButton) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 1 << 1;
        QTest::addRow("right with Ctrl")
            << Qt::MouseButtons(Qt::RightButton) << Qt::KeyboardModifiers(Qt::ControlModifier) << 2 << 2;
        QTest::addRow("middle with Alt")
            << Qt::MouseButtons(Qt::MiddleButton) << Qt::KeyboardModifiers(Qt::AltModifier) << 4 << 4;
        QTest::addRow("all") << (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)
                             << (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) << 7 << 7;
    }
    void masks() {
        QFETCH(Qt::MouseButtons, buttons);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, button);
        QFETCH(int, shift);
        QCOMPARE(cGriglia::ButtonMask(buttons), button);
        QCOMPARE(cGriglia::ShiftMask(modifiers), shift);
    }
};

MIRELVA_TEST(TstGridInput)
#include "grid_input.moc"
