#include "fakes/FakeGridContainer.h"
#include "grid/GdiColor.h"
#include "grid/GdiRound.h"
#include "grid/cGriglia.h"

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

char* toString(const GridRect& r) {
    return QTest::toString(
        QStringLiteral("(%1, %2, %3, %4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom));
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
};

QTEST_GUILESS_MAIN(TstGridGeometry)
#include "tst_grid_geometry.moc"
