#include "fakes/FakeGridContainer.h"
#include "grid/FillBox.h"
#include "grid/GdiShapes.h"
#include "grid/cGriglia.h"
#include "fakes/TestRegistry.h"

#include <QPainter>
#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(GridRect)

namespace {
constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Black = 0xFF000000u;
constexpr QRgb Blue = 0xFF0000FFu;
constexpr GdiColor GdiBlue = 0xFF0000u;
constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

// Pixels that vary everywhere, so that an inversion or a stray write cannot go unseen.
QImage patterned(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb((x * 7 + y) & 0xFF, (y * 13 + x * 3) & 0xFF, (x ^ y) & 0xFF));
        }
    }
    return image;
}

bool onOutline(const GridRect& r, int x, int y) {
    const bool inside = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
    return inside && (x == r.Left || x == r.Right - 1 || y == r.Top || y == r.Bottom - 1);
}

// The points where the images differ; with an area, only those outside it.
int countDifferent(const QImage& a, const QImage& b, const QRect& area = {}) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            n += a.pixel(x, y) != b.pixel(x, y) && !area.contains(x, y) ? 1 : 0;
        }
    }
    return n;
}
} // namespace

// The 12-key table on 1024 x 768: cell (0, 0) is (4, 6, 250, 252), (0, 1) is (260, 6, 506, 252),
// (1, 1) is (260, 262, 506, 506).
class TstGridDrawing : public QObject {
    Q_OBJECT
private slots:
    void onlyTheDottedOutlinesAreDark() {
        FakeGridContainer window(1024, 768);
        auto grid = MakeTestGrid(window, 3, 4);
        grid->Refresh();
        QList<GridRect> cells;
        for (int i = 0; i < 12; ++i) {
            cells.append(grid->CellRect(i / 4, i % 4));
        }
        int dots = 0;
        for (int y = 0; y < 768; ++y) {
            for (int x = 0; x < 1024; ++x) {
                const bool dotted = (x + y) % 2 == 0 && std::any_of(cells.begin(), cells.end(), [&](auto& r) {
                                        return onOutline(r, x, y);
                                    });
                dots += dotted ? 1 : 0;
                QVERIFY2(window.image.pixel(x, y) == (dotted ? Black : White),
                         qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
            }
        }
        // Rows 0 and 2: outlines of 980 pixels, row 1 of 976; half of each is dotted.
        QCOMPARE(dots, (8 * 980 + 4 * 976) / 2);
    }

    void focusFrameTwiceRestoresEveryPixel_data() {
        QTest::addColumn<GridRect>("rect");
        QTest::addColumn<int>("changed");
        QTest::addRow("4 x 3 at the origin") << GridRect{0, 0, 4, 3} << 5;
        QTest::addRow("corners swapped") << GridRect{4, 3, 0, 0} << 5;
        QTest::addRow("whole 32-bit range") << GridRect{IntMin, IntMin, IntMax, IntMax} << 0;
        QTest::addRow("table cell") << GridRect{4, 6, 50, 52} << 90;
    }
    void focusFrameTwiceRestoresEveryPixel() {
        QFETCH(GridRect, rect);
        FakeGridContainer window(100, 80);
        window.image = patterned(100, 80);
        const QImage before = window.image;
        auto grid = MakeTestGrid(window, 1, 1);
        grid->DrawFocusFrame(rect);
        QTEST(countDifferent(before, window.image), "changed");
        if (!window.shownAreas.last().isEmpty()) {
            QCOMPARE(countDifferent(before, window.image, window.shownAreas.last()), 0);
        }
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 100; ++x) {
                if (window.image.pixel(x, y) != before.pixel(x, y)) {
                    QVERIFY(onOutline(NormalizedRect(rect), x, y) && (x + y) % 2 == 0);
                    QCOMPARE(window.image.pixel(x, y), before.pixel(x, y) ^ 0x00FFFFFFu);
                }
            }
        }
        grid->DrawFocusFrame(rect);
        QCOMPARE(window.image, before);
        QCOMPARE(window.shown, 2);
    }

    // The blue frame of cell (0, 1): a pen of 5 centred on columns 260 and 505, rows 6 and 251.
    void blueFrameReach_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("blue");
        QTest::addRow("left edge, 2 into the gap") << QPoint(258, 100) << true;
        QTest::addRow("left edge, 2 into the cell") << QPoint(262, 100) << true;
        QTest::addRow("left edge, 3 into the cell") << QPoint(263, 100) << false;
        QTest::addRow("round outer corner") << QPoint(258, 4) << false;
        QTest::addRow("hollow inside") << QPoint(300, 100) << false;
    }
    void blueFrameReach() {
        QFETCH(QPoint, point);
        QFETCH(bool, blue);
        FakeGridContainer window(1024, 768);
        window.image.fill(Qt::white);
        const QImage before = window.image;
        cGriglia::DrawBox(window, {260, 6, 506, 252}, 5, GdiBlue);
        QCOMPARE(window.image.pixel(point), blue ? Blue : White);
        // Only the frame's surroundings need showing, and they hold all of it.
        QCOMPARE(window.shown, 1);
        QVERIFY(!window.shownAreas[0].isEmpty() && window.shownAreas[0].width() < 300);
        QCOMPARE(countDifferent(before, window.image, window.shownAreas[0]), 0);
    }

    void movingTheFrameLeavesTheTableAsItWas_data() {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("c");
        QTest::addColumn<bool>("framedBefore");
        QTest::addRow("first click, cell 0 0 never framed") << 0 << 0 << false;
        QTest::addRow("framed middle cell") << 1 << 2 << true;
        QTest::addRow("framed last cell") << 2 << 3 << true;
    }
    void movingTheFrameLeavesTheTableAsItWas() {
        QFETCH(int, r);
        QFETCH(int, c);
        QFETCH(bool, framedBefore);
        FakeGridContainer window(1024, 768);
        auto grid = MakeTestGrid(window, 3, 4);
        grid->Refresh();
        const QImage table = window.image;
        const GridRect cell = grid->CellRect(r, c);
        if (framedBefore) {
            cGriglia::DrawBox(window, cell, 5, GdiBlue);
            QVERIFY(window.image != table);
        }
        // The runtime takes a frame away with the back colour, then puts the dots back.
        cGriglia::DrawBox(window, cell, 5, 0xFFFFFF);
        grid->DrawFocusFrame(cell);
        QCOMPARE(window.image, table);
    }

    // Cells keep the geometry of Init; whatever of them lies on a resized canvas is drawn.
    void refreshOnACanvasOfAnotherSize() {
        for (const QSize size : {QSize(300, 200), QSize(1600, 1000), QSize(0, 0)}) {
            FakeGridContainer window(1024, 768);
            auto grid = MakeTestGrid(window, 3, 4);
            window.image = QImage(size, QImage::Format_RGB32);
            grid->Refresh();
            grid->DrawFocusFrame(grid->CellRect(0, 0));
            cGriglia::DrawBox(window, grid->CellRect(2, 3), 5, GdiBlue);
            QCOMPARE(window.image.size(), size);
            if (!size.isEmpty()) {
                QCOMPARE(window.image.pixel(4, 6), White);   // a dot of cell (0, 0), inverted back
                QCOMPARE(window.image.pixel(260, 6), Black); // a dot of cell (0, 1)
                QCOMPARE(window.image.pixel(size.width() - 1, size.height() - 1), White);
            }
        }
    }

    // FillBox covers Left to Right - 1 and Top to Bottom - 1, like a GDI rectangle without a pen.
    void fillBoxCoversWhatGdiCovers_data() {
        QTest::addColumn<GridRect>("rect");
        QTest::addRow("ordinary") << GridRect{10, 12, 50, 40};
        QTest::addRow("swapped corners") << GridRect{50, 40, 10, 12};
        QTest::addRow("over the edges") << GridRect{-10, -10, 200, 200};
    }
    void fillBoxCoversWhatGdiCovers() {
        QFETCH(GridRect, rect);
        QImage filled = patterned(120, 90);
        {
            QPainter painter(&filled);
            FillBox(painter, rect.Left, rect.Top, rect.Right, rect.Bottom, 0x336699);
        }
        const GridRect box = NormalizedRect(rect);
        const QRect covered =
            QRect(QPoint(box.Left, box.Top), QPoint(box.Right - 1, box.Bottom - 1)) & filled.rect();
        QImage expected = patterned(120, 90);
        QPainter(&expected).fillRect(covered, QColor(0x99, 0x66, 0x33));
        QCOMPARE(filled, expected);
    }

    void fillBoxKeepsThePaintersState() {
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.setPen(Qt::red);
        FillBox(painter, 2, 2, 6, 6, 0x00FF00);
        QCOMPARE(painter.compositionMode(), QPainter::RasterOp_SourceAndDestination);
        QCOMPARE(painter.pen().color(), QColor(Qt::red));
        painter.end();
        // Opaque even over black under the caller's AND mode.
        QCOMPARE(image.pixel(5, 5), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(6, 5), qRgb(0, 0, 0));
        painter.begin(&image);
        FillBox(painter, IntMin, IntMin, IntMax, IntMax, 0xFFFFFF);
        painter.end();
        QCOMPARE(image.pixel(19, 19), White);
    }
};

MIRELVA_TEST(TstGridDrawing)
#include "grid_drawing.moc"
