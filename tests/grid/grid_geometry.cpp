#include "fakes/FakeGridContainer.h"
#include "grid/cGriglia.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(GridRect)

namespace {
using Rects = QList<GridRect>;

Rects cellsOf(const cGriglia& grid) {
    Rects out;
    for (int r = 0; r <= grid.LastRow(); ++r) {
        for (int c = 0; c <= grid.LastCol(); ++c) {
            out.append(grid.CellRect(r, c));
        }
    }
    return out;
}

// Clicks at each point and returns, per click, "current<previous" as the signal reports them.
QStringList clicks(cGriglia& grid, FakeGridContainer& window, const QList<QPoint>& points) {
    QSignalSpy spy(&grid, &cGriglia::Click);
    for (const QPoint& point : points) {
        window.pointer = point;
        grid.ContainerClick();
    }
    QStringList out;
    for (const QList<QVariant>& a : spy) {
        if (QPoint(a[2].toInt(), a[3].toInt()) != points[out.size()]) {
            return {QStringLiteral("not the point clicked")};
        }
        out << QStringLiteral("%1%2<%3%4")
                   .arg(a[0].toInt())
                   .arg(a[1].toInt())
                   .arg(a[4].toInt())
                   .arg(a[5].toInt());
    }
    return out;
}
} // namespace

static char* toString(const GridRect& r) {
    return QTest::toString(
        QStringLiteral("(%1, %2, %3, %4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom));
}

// The 12-key table on 1024 x 768: columns 4-250, 260-506, 516-762, 772-1018; rows 6-252,
// 262-506, 516-762.
class TstGridGeometry : public QObject {
    Q_OBJECT
private slots:
    void workedExample() {
        FakeGridContainer window(1024, 768);
        auto grid = MakeTestGrid(window, 3, 4);
        using Span = std::pair<int, int>;
        Rects expected;
        for (const auto& [top, bottom] : {Span{6, 252}, Span{262, 506}, Span{516, 762}}) {
            for (const auto& [left, right] :
                 {Span{4, 250}, Span{260, 506}, Span{516, 762}, Span{772, 1018}}) {
                expected << GridRect{left, top, right, bottom};
            }
        }
        QCOMPARE(cellsOf(*grid), expected);
    }

    // Every table the runtime shows is regular and centred, and tiles the area without spacing.
    void everyShapeIsARegularCentredTable() {
        const QList<QList<int>> shapes{{1, 1}, {1, 2}, {1, 3}, {2, 2}, {2, 3}, {2, 4}, {3, 3}, {2, 5},
                                       {3, 4}, {2, 7}, {3, 5}, {4, 4}, {3, 6}, {4, 5}, {3, 7}};
        for (const QSize size : {QSize(1280, 1024), QSize(800, 600), QSize(1366, 768)}) {
            for (const QList<int>& shape : shapes) {
                for (const int spacing : {10, 0}) {
                    FakeGridContainer window(size.width(), size.height());
                    auto grid = MakeTestGrid(window, shape[0], shape[1], spacing);
                    const Rects cells = cellsOf(*grid);
                    QCOMPARE(cells.size(), shape[0] * shape[1]);
                    for (int i = 0; i < cells.size(); ++i) {
                        const GridRect cell = cells[i], first = cells[i % shape[1]];
                        const GridRect left = cells[i - i % shape[1]];
                        QCOMPARE(cell.Left, first.Left);
                        QCOMPARE(cell.Top, left.Top);
                        QVERIFY2(qAbs((cell.Right - cell.Left) - grid->InnerWidth()) < 2.0f, toString(cell));
                        QVERIFY2(qAbs((cell.Bottom - cell.Top) - grid->InnerHeight()) < 2.0f, toString(cell));
                        if (i % shape[1] > 0) {
                            QVERIFY2(qAbs(cell.Left - cells[i - 1].Right - spacing) <= 1, toString(cell));
                        }
                    }
                    const GridRect first = cells.first(), last = cells.last();
                    QVERIFY2(qAbs(first.Left - (size.width() - 1 - last.Right)) <= 1, toString(last));
                    QVERIFY2(qAbs(first.Top - (size.height() - 1 - last.Bottom)) <= 1, toString(last));
                    if (spacing == 0) {
                        QCOMPARE(last.Right, size.width() - 1);
                        QCOMPARE(last.Bottom, size.height() - 1);
                    }
                }
            }
        }
    }

    void cellsSmallerThanTheirGapStayUpright_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<QSize>("expected"); // the spacings kept
        QTest::addRow("narrow window") << QSize(50, 600) << 10 << QSize(0, 10);
        QTest::addRow("wide gap, cells over 20") << QSize(1024, 768) << 200 << QSize(126, 200);
        QTest::addRow("empty window") << QSize(0, 0) << 10 << QSize(0, 0);
    }
    void cellsSmallerThanTheirGapStayUpright() {
        QFETCH(QSize, size);
        QFETCH(int, spacing);
        FakeGridContainer window(size.width(), size.height());
        auto grid = MakeTestGrid(window, 3, 7, spacing);
        QTEST(QSize(grid->SpacingX(), grid->SpacingY()), "expected");
        for (const GridRect& cell : cellsOf(*grid)) {
            QVERIFY2(size.isEmpty() || (cell.Left <= cell.Right && cell.Top <= cell.Bottom), toString(cell));
        }
    }

    void rowsAndColumnsAreKeptInRange() {
        FakeGridContainer window(1024, 768);
        auto none = MakeTestGrid(window, 0, -2);
        QCOMPARE(CellPos(none->LastRow(), none->LastCol()), CellPos(0, 0));
        auto absurd = MakeTestGrid(window, 100000, std::numeric_limits<int>::max());
        QCOMPARE(CellPos(absurd->LastRow(), absurd->LastCol()), CellPos(255, 255));
        QVERIFY(absurd->CellRect(255, 255) != GridRect{});
        QCOMPARE(absurd->CellRect(256, 255), GridRect{});
    }

    void clicksReportCurrentAndPrevious() {
        FakeGridContainer window(1024, 768);
        auto grid = MakeTestGrid(window, 3, 4);
        // Bounds are inclusive; a click in a gap or outside keeps the current cell.
        QCOMPARE(
            clicks(*grid, window,
                   {{600, 400}, {900, 700}, {255, 100}, {-40, 5000}, {506, 506}, {506, 506}, {900, 300}}),
            QStringList({"12<00", "23<12", "23<23", "23<23", "11<23", "11<11", "13<11"}));
    }
};

MIRELVA_TEST(TstGridGeometry)
#include "grid_geometry.moc"
