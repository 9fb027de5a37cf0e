#include "fakes/FakeGridContainer.h"
#include "grid/GdiColor.h"
#include "grid/GdiRound.h"
#include "grid/cGriglia.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

#include <limits>
#include <memory>

Q_DECLARE_METATYPE(GridRect)

namespace {
using Rects = QList<GridRect>;

// The options the runtime window gives every table; only the size and the spacings vary.
std::unique_ptr<cGriglia> makeGrid(FakeGridContainer& window, int rows, int columns, int spacingX = 10,
                                   int spacingY = 10) {
    auto grid = std::make_unique<cGriglia>();
    grid->Init(window, rows, columns, true, 1, 0xFFFFFF, 0x808080, spacingX, spacingY, false, 0xFFF9F4, 5, 5,
               true, true, true, false, false);
    return grid;
}

Rects cellsOf(const cGriglia& grid) {
    Rects out;
    for (int r = 0; r <= grid.LastRow(); ++r) {
        for (int c = 0; c <= grid.LastCol(); ++c) {
            out.append(grid.CellRect(r, c));
        }
    }
    return out;
}

// Rows and columns the runtime chooses for each key count.
struct Shape {
    int keys, rows, columns;
};
constexpr Shape Shapes[] = {{1, 1, 1},  {2, 1, 2},  {3, 1, 3},  {4, 2, 2},  {6, 2, 3},
                            {8, 2, 4},  {9, 3, 3},  {10, 2, 5}, {12, 3, 4}, {14, 2, 7},
                            {15, 3, 5}, {16, 4, 4}, {18, 3, 6}, {20, 4, 5}, {21, 3, 7}};
} // namespace

static char* toString(const GridRect& r) {
    return QTest::toString(
        QStringLiteral("(%1, %2, %3, %4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom));
}

static char* toString(const CellPos& p) {
    return QTest::toString(QStringLiteral("cell (%1, %2)").arg(p.Row).arg(p.Col));
}

class TstGridGeometry : public QObject {
    Q_OBJECT
private slots:
    void roundsHalvesToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::addRow("4.5 down to even") << 4.5 << 4;
        QTest::addRow("5.5 up to even") << 5.5 << 6;
        QTest::addRow("250.5 down to even") << 250.5 << 250;
        QTest::addRow("below half") << 2.4999 << 2;
        QTest::addRow("above half") << 2.5001 << 3;
        QTest::addRow("-0.5 to zero") << -0.5 << 0;
        QTest::addRow("-1.5 to -2") << -1.5 << -2;
        QTest::addRow("-2.5 to -2") << -2.5 << -2;
        QTest::addRow("whole number") << 7.0 << 7;
        QTest::addRow("huge clamps high") << 1e12 << std::numeric_limits<int>::max();
        QTest::addRow("huge clamps low") << -1e12 << std::numeric_limits<int>::min();
        QTest::addRow("NaN gives zero") << std::numeric_limits<double>::quiet_NaN() << 0;
    }
    void roundsHalvesToEven() {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(RoundHalfEven(value), expected);
    }

    void convertsColours_data() {
        QTest::addColumn<uint>("gdi");
        QTest::addColumn<QColor>("color");
        QTest::addRow("blue frame") << 0xFF0000u << QColor(0, 0, 255);
        QTest::addRow("band blue") << 0xFF7300u << QColor(0, 115, 255);
        QTest::addRow("selection") << 0xFFF9F4u << QColor(244, 249, 255);
        QTest::addRow("red") << 0x0000FFu << QColor(255, 0, 0);
        QTest::addRow("high byte ignored") << 0x80000005u << QColor(5, 0, 0);
    }
    void convertsColours() {
        QFETCH(uint, gdi);
        QFETCH(QColor, color);
        QCOMPARE(QColorFromGdiColor(gdi), color);
        QCOMPARE(GdiColorFromRgb(color.rgb()), gdi & 0xFFFFFFu);
    }

    void workedExamples_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<Rects>("expected");
        QTest::addRow("12 keys on 1024x768")
            << 1024 << 768 << 3 << 4
            << Rects{{4, 6, 250, 252},   {260, 6, 506, 252},   {516, 6, 762, 252},   {772, 6, 1018, 252},
                     {4, 262, 250, 506}, {260, 262, 506, 506}, {516, 262, 762, 506}, {772, 262, 1018, 506},
                     {4, 516, 250, 762}, {260, 516, 506, 762}, {516, 516, 762, 762}, {772, 516, 1018, 762}};
        QTest::addRow("4 keys on 1280x1024")
            << 1280 << 1024 << 2 << 2
            << Rects{{4, 6, 634, 508}, {644, 6, 1274, 508}, {4, 518, 634, 1018}, {644, 518, 1274, 1018}};
        QTest::addRow("3 keys in one row on 800x600")
            << 800 << 600 << 1 << 3 << Rects{{4, 6, 260, 594}, {270, 6, 528, 594}, {538, 6, 794, 594}};
    }
    void workedExamples() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(Rects, expected);
        FakeGridContainer window(width, height);
        auto grid = makeGrid(window, rows, columns);
        QCOMPARE(grid->LastRow(), rows - 1);
        QCOMPARE(grid->LastCol(), columns - 1);
        QCOMPARE(cellsOf(*grid), expected);
    }

    void innerSizes() {
        FakeGridContainer window(1280, 1024);
        auto grid = makeGrid(window, 2, 2);
        QCOMPARE(grid->InnerWidth(), 629.5f);
        QCOMPARE(grid->InnerHeight(), 501.5f);
        FakeGridContainer other(1024, 768);
        auto twelve = makeGrid(other, 3, 4);
        QCOMPARE(twelve->CellWidth(), 255.75f);
        QCOMPARE(twelve->InnerWidth(), 245.75f);
        QCOMPARE(twelve->AreaWidth(), 1024.0f);
        QCOMPARE(twelve->AreaHeight(), 768.0f);
    }

    void everyShapeIsARegularCentredTable_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        for (const QSize size : {QSize(1024, 768), QSize(1280, 1024), QSize(800, 600), QSize(1920, 1080)}) {
            for (const Shape& shape : Shapes) {
                QTest::addRow("%d keys on %dx%d", shape.keys, size.width(), size.height())
                    << size.width() << size.height() << shape.keys << shape.rows << shape.columns;
            }
        }
    }
    void everyShapeIsARegularCentredTable() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, keys);
        QFETCH(int, rows);
        QFETCH(int, columns);
        FakeGridContainer window(width, height);
        auto grid = makeGrid(window, rows, columns);
        QCOMPARE((grid->LastRow() + 1) * (grid->LastCol() + 1), keys);
        const Rects cells = cellsOf(*grid);
        QCOMPARE(cells.size(), keys);
        const auto at = [&](int r, int c) { return cells[r * columns + c]; };
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                const GridRect cell = at(r, c);
                // Columns and rows line up.
                QCOMPARE(cell.Left, at(0, c).Left);
                QCOMPARE(cell.Right, at(0, c).Right);
                QCOMPARE(cell.Top, at(r, 0).Top);
                QCOMPARE(cell.Bottom, at(r, 0).Bottom);
                // Every cell is as wide and high as the inner size, give or take its two roundings.
                QVERIFY2(qAbs((cell.Right - cell.Left) - grid->InnerWidth()) < 2.0f, toString(cell));
                QVERIFY2(qAbs((cell.Bottom - cell.Top) - grid->InnerHeight()) < 2.0f, toString(cell));
                // Gaps of the spacing between neighbours, give or take the rounding.
                if (c > 0) {
                    QVERIFY2(qAbs(cell.Left - at(r, c - 1).Right - 10) <= 1, toString(cell));
                }
                if (r > 0) {
                    QVERIFY2(qAbs(cell.Top - at(r - 1, c).Bottom - 10) <= 1, toString(cell));
                }
            }
        }
        // The block sits in the middle: the margins round it differ by at most a pixel.
        const GridRect first = at(0, 0);
        const GridRect last = at(rows - 1, columns - 1);
        QVERIFY(first.Left > 0 && first.Top > 0 && last.Right < width - 1 && last.Bottom < height - 1);
        QVERIFY2(qAbs(first.Left - (width - 1 - last.Right)) <= 1, toString(last));
        QVERIFY2(qAbs(first.Top - (height - 1 - last.Bottom)) <= 1, toString(last));
    }

    void withoutSpacingCellsTileTheArea_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addRow("12 keys on 1024x768") << 1024 << 768 << 3 << 4;
        QTest::addRow("21 keys on 1280x1024") << 1280 << 1024 << 3 << 7;
        QTest::addRow("1 key on 800x600") << 800 << 600 << 1 << 1;
        QTest::addRow("14 keys on 1366x768") << 1366 << 768 << 2 << 7;
    }
    void withoutSpacingCellsTileTheArea() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, rows);
        QFETCH(int, columns);
        FakeGridContainer window(width, height);
        auto grid = makeGrid(window, rows, columns, 0, 0);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                const GridRect cell = grid->CellRect(r, c);
                QCOMPARE(cell.Left, c == 0 ? 0 : grid->CellRect(r, c - 1).Right);
                QCOMPARE(cell.Top, r == 0 ? 0 : grid->CellRect(r - 1, c).Bottom);
            }
        }
        QCOMPARE(grid->CellRect(rows - 1, columns - 1).Right, width - 1);
        QCOMPARE(grid->CellRect(rows - 1, columns - 1).Bottom, height - 1);
    }

    void cellsSmallerThanTheirGapStayUpright_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("expectedSpacingX");
        QTest::addColumn<int>("expectedSpacingY");
        QTest::addRow("tiny window") << 15 << 15 << 10 << 0 << 0;
        QTest::addRow("narrow window") << 50 << 600 << 10 << 0 << 10;
        QTest::addRow("low window") << 800 << 20 << 10 << 10 << 0;
        QTest::addRow("wide gap, cells over 20") << 1024 << 768 << 200 << 126 << 200;
        QTest::addRow("empty window") << 0 << 0 << 10 << 0 << 0;
    }
    void cellsSmallerThanTheirGapStayUpright() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, spacing);
        QFETCH(int, expectedSpacingX);
        QFETCH(int, expectedSpacingY);
        FakeGridContainer window(width, height);
        auto grid = makeGrid(window, 3, 7, spacing, spacing);
        QCOMPARE(grid->SpacingX(), expectedSpacingX);
        QCOMPARE(grid->SpacingY(), expectedSpacingY);
        if (width > 1 && height > 1) {
            for (const GridRect& cell : cellsOf(*grid)) {
                QVERIFY2(cell.Left <= cell.Right && cell.Top <= cell.Bottom, toString(cell));
            }
        }
    }

    void rowsAndColumnsAreKeptInRange_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("lastRow");
        QTest::addColumn<int>("lastCol");
        QTest::addRow("no rows") << 0 << 4 << 0 << 3;
        QTest::addRow("negative columns") << 3 << -2 << 2 << 0;
        QTest::addRow("absurd counts") << 100000 << std::numeric_limits<int>::max() << 255 << 255;
    }
    void rowsAndColumnsAreKeptInRange() {
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(int, lastRow);
        QFETCH(int, lastCol);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, rows, columns);
        QCOMPARE(grid->LastRow(), lastRow);
        QCOMPARE(grid->LastCol(), lastCol);
        QVERIFY(grid->CellAt(lastRow, lastCol) != nullptr);
        QVERIFY(grid->CellAt(lastRow + 1, lastCol) == nullptr);
    }

    void cellCoordAnswersEachSide_data() {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("which");
        QTest::addColumn<float>("expected");
        QTest::addRow("left") << 1 << 2 << 1 << 516.0f;
        QTest::addRow("top") << 1 << 2 << 2 << 262.0f;
        QTest::addRow("right") << 1 << 2 << 3 << 762.0f;
        QTest::addRow("bottom") << 1 << 2 << 4 << 506.0f;
        QTest::addRow("which 0") << 1 << 2 << 0 << 0.0f;
        QTest::addRow("which 5") << 1 << 2 << 5 << 0.0f;
        QTest::addRow("which -1") << 1 << 2 << -1 << 0.0f;
        QTest::addRow("row past the table") << 3 << 0 << 1 << 0.0f;
        QTest::addRow("column past the table") << 0 << 4 << 3 << 0.0f;
        QTest::addRow("negative row") << -1 << 0 << 2 << 0.0f;
    }
    void cellCoordAnswersEachSide() {
        QFETCH(int, r);
        QFETCH(int, c);
        QFETCH(int, which);
        QFETCH(float, expected);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, 3, 4);
        QCOMPARE(grid->CellCoord(r, c, which), expected);
    }

    void freshGridIsEmptyAtCellZero() {
        cGriglia grid;
        QCOMPARE(CellPos(grid.CurrentRow(), grid.CurrentCol()), CellPos(0, 0));
        QCOMPARE(CellPos(grid.PreviousRow(), grid.PreviousCol()), CellPos(0, 0));
        QVERIFY(grid.CellAt(0, 0) == nullptr);
        QCOMPARE(grid.CellCoord(0, 0, 1), 0.0f);
        QCOMPARE(grid.HitTest(10, 10), CellPos(0, 0));
        QSignalSpy refreshed(&grid, &cGriglia::RefreshEvent);
        QSignalSpy clicked(&grid, &cGriglia::Click);
        grid.Refresh();
        grid.ContainerClick();
        QCOMPARE(refreshed.count(), 0);
        QCOMPARE(clicked.count(), 0);
    }

    void initStoresEveryOptionInItsPlace() {
        FakeGridContainer window(1024, 768);
        cGriglia grid;
        grid.Init(window, 2, 5, false, 3, 0x112233, 0x445566, 7, 9, true, 0x778899, 4, 6, true, false, true,
                  true, false);
        QCOMPARE(grid.LastRow(), 1);
        QCOMPARE(grid.LastCol(), 4);
        QCOMPARE(grid.ShowFrames(), false);
        QCOMPARE(grid.DrawWidth(), 3);
        QCOMPARE(grid.BackColor(), 0x112233u);
        QCOMPARE(grid.GridColor(), 0x445566u);
        QCOMPARE(grid.SpacingX(), 7);
        QCOMPARE(grid.SpacingY(), 9);
        QCOMPARE(grid.ShowSelection(), true);
        QCOMPARE(grid.SelectionColor(), 0x778899u);
        QCOMPARE(grid.KeyUpDisabled(), true);
        QCOMPARE(grid.KeyDownDisabled(), false);
        QCOMPARE(grid.KeyPressDisabled(), true);
        QCOMPARE(grid.MouseMoveDisabled(), true);
        QCOMPARE(grid.ClickDisabled(), false);
        // The window takes the table's back colour; every cell starts with it too.
        QCOMPARE(window.backColors, QList<GdiColor>{0x112233u});
        const GridCell* cell = grid.CellAt(1, 4);
        QVERIFY(cell != nullptr);
        QCOMPARE(cell->BackColor, 0x112233u);
        QCOMPARE(cell->Captions[0].Font.Name, QStringLiteral("Verdana"));
        QCOMPARE(cell->Captions[7].Font.Size, 8.0);
        QVERIFY(cell->Captions[3].Text.isEmpty());
        for (int side = GridCell::LeftEdge; side <= GridCell::BottomEdge; ++side) {
            QCOMPARE(cell->Borders[side].Visible, false);
            QCOMPARE(cell->Borders[side].Width, 1);
        }
        QCOMPARE(cell->Borders[GridCell::RisingDiagonal].Width, 0);
        QCOMPARE(cell->Borders[GridCell::FallingDiagonal].Width, 0);
        // Init draws nothing.
        QCOMPARE(window.image.pixel(0, 0), QColor(Qt::darkGray).rgb());
        QCOMPARE(window.shown, 0);
    }
};

MIRELVA_TEST(TstGridGeometry)
#include "grid_geometry.moc"
