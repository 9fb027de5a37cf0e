#include "fakes/FakeGridContainer.h"
#include "grid/FillBox.h"
#include "grid/GdiShapes.h"
#include "grid/cGriglia.h"
#include "fakes/TestRegistry.h"

#include <QPainter>
#include <QtTest>

#include <limits>
#include <memory>

Q_DECLARE_METATYPE(GridRect)

namespace {
constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Black = 0xFF000000u;
constexpr QRgb Blue = 0xFF0000FFu;
constexpr GdiColor GdiBlue = 0xFF0000u;
constexpr GdiColor GdiWhite = 0xFFFFFFu;
constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

// A table with the runtime window's options: frames on, 1-pixel inset, white, gaps of 10.
std::unique_ptr<cGriglia> makeGrid(FakeGridContainer& window, int rows, int columns, GdiColor back = GdiWhite,
                                   bool showFrames = true, bool showSelection = false) {
    auto grid = std::make_unique<cGriglia>();
    grid->Init(window, rows, columns, showFrames, 1, back, 0x808080, 10, 10, showSelection, 0xFFF9F4, 5, 5,
               true, true, true, false, false);
    return grid;
}

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

// True when every pixel that differs between the two images lies in `area`
// (the whole image when `area` is empty): what was shown covers what changed.
bool ChangesWithin(const QImage& before, const QImage& after, const QRect& area) {
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y) && !area.isEmpty() && !area.contains(x, y)) {
                return false;
            }
        }
    }
    return true;
}

int countDifferent(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return n;
}
} // namespace

class TstGridDrawing : public QObject {
    Q_OBJECT
private slots:
    void twelveKeyTablePixels_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QRgb>("expected");
        QTest::addRow("margin top left") << QPoint(0, 0) << White;
        QTest::addRow("margin bottom right") << QPoint(1023, 767) << White;
        QTest::addRow("gap between columns") << QPoint(255, 100) << White;
        QTest::addRow("gap between rows") << QPoint(100, 257) << White;
        QTest::addRow("first cell corner is a dot") << QPoint(4, 6) << Black;
        QTest::addRow("beside the dot") << QPoint(5, 6) << White;
        QTest::addRow("left frame dot") << QPoint(4, 100) << Black;
        QTest::addRow("left frame gap") << QPoint(4, 101) << White;
        QTest::addRow("right frame is Right - 1") << QPoint(249, 101) << Black;
        QTest::addRow("Right itself is outside") << QPoint(250, 100) << White;
        QTest::addRow("bottom frame is Bottom - 1") << QPoint(101, 251) << Black;
        QTest::addRow("Bottom itself is outside") << QPoint(100, 252) << White;
        QTest::addRow("inside next to the frame") << QPoint(5, 7) << White;
        QTest::addRow("last cell's last corner") << QPoint(1017, 761) << Black;
        QTest::addRow("middle cell top frame") << QPoint(518, 262) << Black;
    }
    void twelveKeyTablePixels() {
        QFETCH(QPoint, point);
        QFETCH(QRgb, expected);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, 3, 4);
        grid->Refresh();
        QCOMPARE(window.image.pixel(point), expected);
    }

    void onlyTheDottedOutlinesAreDark() {
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, 3, 4);
        grid->Refresh();
        QList<GridRect> cells;
        for (int r = 0; r <= grid->LastRow(); ++r) {
            for (int c = 0; c <= grid->LastCol(); ++c) {
                cells.append(grid->CellRect(r, c));
            }
        }
        int dots = 0;
        for (int y = 0; y < 768; ++y) {
            for (int x = 0; x < 1024; ++x) {
                const bool dotted =
                    (x + y) % 2 == 0 && std::any_of(cells.begin(), cells.end(),
                                                    [&](const GridRect& r) { return onOutline(r, x, y); });
                dots += dotted ? 1 : 0;
                QVERIFY2(window.image.pixel(x, y) == (dotted ? Black : White),
                         qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
            }
        }
        // Rows 0 and 2 hold cells of 246 x 246 (outlines of 980 pixels), row 1 cells of
        // 246 x 244 (976 pixels); half of every outline is dotted.
        QCOMPARE(dots, (8 * 980 + 4 * 976) / 2);
    }

    void fillIsInsetByTheLineWidth_data() {
        QTest::addColumn<bool>("showFrames");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QRgb>("expected");
        const QRgb green = qRgb(0, 255, 0);
        const QRgb red = qRgb(255, 0, 0);
        const QRgb magenta = qRgb(255, 0, 255);
        const QRgb cyan = qRgb(0, 255, 255);
        // Cell (1, 1) is (260, 262, 506, 506), cell (0, 0) is (4, 6, 250, 252).
        QTest::addRow("ring left to the background") << false << QPoint(260, 263) << green;
        QTest::addRow("ring bottom to the background") << false << QPoint(300, 505) << green;
        QTest::addRow("inside filled") << false << QPoint(261, 263) << red;
        QTest::addRow("last filled column") << false << QPoint(504, 300) << red;
        QTest::addRow("ring right to the background") << false << QPoint(505, 300) << green;
        QTest::addRow("previous cell filled on its ring") << false << QPoint(4, 7) << red;
        QTest::addRow("previous cell fill ends before Right") << false << QPoint(250, 7) << green;
        QTest::addRow("dot on the background ring") << true << QPoint(260, 262) << magenta;
        QTest::addRow("no dot on the background ring") << true << QPoint(260, 263) << green;
        QTest::addRow("dot on the previous cell's ring") << true << QPoint(4, 8) << cyan;
        QTest::addRow("no dot on the previous cell's ring") << true << QPoint(4, 7) << red;
    }
    void fillIsInsetByTheLineWidth() {
        QFETCH(bool, showFrames);
        QFETCH(QPoint, point);
        QFETCH(QRgb, expected);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, 3, 4, 0x00FF00, showFrames);
        grid->CellAt(0, 0)->BackColor = 0x0000FF;
        grid->CellAt(1, 1)->BackColor = 0x0000FF;
        grid->Refresh();
        QCOMPARE(window.image.pixel(point), expected);
    }

    void refreshSetsBackColourRemembersCurrentAndSignals() {
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, 3, 4);
        QSignalSpy refreshed(grid.get(), &cGriglia::RefreshEvent);
        window.backColors.clear();
        window.pointer = QPoint(900, 700);
        grid->ContainerClick();
        QCOMPARE(CellPos(grid->PreviousRow(), grid->PreviousCol()), CellPos(0, 0));
        grid->Refresh();
        QCOMPARE(refreshed.count(), 1);
        QCOMPARE(CellPos(grid->PreviousRow(), grid->PreviousCol()), CellPos(2, 3));
        QCOMPARE(window.backColors, QList<GdiColor>{GdiWhite});
        // The window's paint shows the canvas once the pictures are on it too.
        QCOMPARE(window.shown, 0);
    }

    void refreshOnACanvasOfAnotherSize_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<QRgb>("expected");
        QTest::addRow("window shrank") << QSize(300, 200) << QPoint(299, 199) << White;
        QTest::addRow("window grew, last cell boxed") << QSize(1600, 1000) << QPoint(900, 600) << Blue;
        QTest::addRow("window grew, new area cleared") << QSize(1600, 1000) << QPoint(1599, 999) << White;
        QTest::addRow("no canvas") << QSize(0, 0) << QPoint(-1, -1) << White;
    }
    void refreshOnACanvasOfAnotherSize() {
        // Cells keep the geometry of Init; whatever of them lies on the canvas is drawn.
        QFETCH(QSize, size);
        QFETCH(QPoint, probe);
        QFETCH(QRgb, expected);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, 3, 4);
        window.image = QImage(size, QImage::Format_RGB32);
        grid->Refresh();
        grid->DrawFocusFrame(grid->CellRect(0, 0));
        cGriglia::DrawBox(window, grid->CellRect(2, 3), 0, 5, GdiBlue, 0, 0, GdiBlue);
        QCOMPARE(window.image.size(), size);
        if (!size.isEmpty()) {
            QCOMPARE(window.image.pixel(4, 6), White);   // a dot of cell (0, 0), inverted back
            QCOMPARE(window.image.pixel(260, 6), Black); // a dot of cell (0, 1)
            QCOMPARE(window.image.pixel(probe), expected);
        }
    }

    void focusFrameTwiceRestoresEveryPixel_data() {
        QTest::addColumn<GridRect>("rect");
        QTest::addColumn<int>("changed");
        QTest::addRow("4 x 3 at the origin") << GridRect{0, 0, 4, 3} << 5;
        QTest::addRow("1 x 1 on a dot") << GridRect{3, 3, 4, 4} << 1;
        QTest::addRow("1 x 1 off the dots") << GridRect{3, 4, 4, 5} << 0;
        QTest::addRow("one column") << GridRect{10, 10, 11, 20} << 5;
        QTest::addRow("one row") << GridRect{10, 10, 21, 11} << 6;
        QTest::addRow("2 x 2") << GridRect{10, 10, 12, 12} << 2;
        QTest::addRow("corners swapped") << GridRect{4, 3, 0, 0} << 5;
        QTest::addRow("empty") << GridRect{5, 5, 5, 40} << 0;
        QTest::addRow("partly off the canvas") << GridRect{-5, -5, 5, 5} << 5;
        QTest::addRow("wholly off the canvas") << GridRect{200, 200, 300, 300} << 0;
        QTest::addRow("whole 32-bit range") << GridRect{IntMin, IntMin, IntMax, IntMax} << 0;
        QTest::addRow("table cell") << GridRect{4, 6, 50, 52} << 90;
    }
    void focusFrameTwiceRestoresEveryPixel() {
        QFETCH(GridRect, rect);
        QFETCH(int, changed);
        FakeGridContainer window(100, 80);
        window.image = patterned(100, 80);
        const QImage before = window.image;
        cGriglia grid;
        grid.Init(window, 1, 1, false, 1, GdiWhite, 0, 10, 10, false, 0, 0, 0, true, true, true, false,
                  false);
        grid.DrawFocusFrame(rect);
        QCOMPARE(countDifferent(before, window.image), changed);
        QVERIFY(ChangesWithin(before, window.image, window.shownAreas.last()));
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 100; ++x) {
                if (window.image.pixel(x, y) != before.pixel(x, y)) {
                    QVERIFY(onOutline(NormalizedRect(rect), x, y) && (x + y) % 2 == 0);
                    QCOMPARE(window.image.pixel(x, y), before.pixel(x, y) ^ 0x00FFFFFFu);
                }
            }
        }
        grid.DrawFocusFrame(rect);
        QCOMPARE(window.image, before);
        QCOMPARE(window.shown, 2);
    }

    void focusFrameOnAnotherCanvasFormat() {
        QImage image = patterned(40, 30).convertToFormat(QImage::Format_RGB888);
        const QImage before = image.convertToFormat(QImage::Format_RGB32);
        DrawFocusRect(image, {2, 2, 30, 20});
        QVERIFY(countDifferent(image.convertToFormat(QImage::Format_RGB32), before) > 0);
        DrawFocusRect(image, {2, 2, 30, 20});
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32), before);
    }

    void blueFrameReach_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("blue");
        // Cell (0, 1) of the 12-key table: (260, 6, 506, 252); the pen is centred on
        // columns 260 and 505 and rows 6 and 251.
        QTest::addRow("left edge, 2 into the gap") << QPoint(258, 100) << true;
        QTest::addRow("left edge, 3 into the gap") << QPoint(257, 100) << false;
        QTest::addRow("left edge, 2 into the cell") << QPoint(262, 100) << true;
        QTest::addRow("left edge, 3 into the cell") << QPoint(263, 100) << false;
        QTest::addRow("right edge, 2 into the cell") << QPoint(503, 100) << true;
        QTest::addRow("right edge, 3 into the cell") << QPoint(502, 100) << false;
        QTest::addRow("right edge, 2 into the gap") << QPoint(507, 100) << true;
        QTest::addRow("right edge, 3 into the gap") << QPoint(508, 100) << false;
        QTest::addRow("top edge, 2 above") << QPoint(300, 4) << true;
        QTest::addRow("top edge, 3 above") << QPoint(300, 3) << false;
        QTest::addRow("top edge, 2 below") << QPoint(300, 8) << true;
        QTest::addRow("top edge, 3 below") << QPoint(300, 9) << false;
        QTest::addRow("bottom edge, 2 above") << QPoint(300, 249) << true;
        QTest::addRow("bottom edge, 3 above") << QPoint(300, 248) << false;
        QTest::addRow("bottom edge, 2 below") << QPoint(300, 253) << true;
        QTest::addRow("bottom edge, 3 below") << QPoint(300, 254) << false;
        QTest::addRow("round outer corner") << QPoint(258, 4) << false;
        QTest::addRow("beside the outer corner") << QPoint(259, 4) << true;
        QTest::addRow("below the outer corner") << QPoint(258, 5) << true;
        QTest::addRow("round bottom-right corner") << QPoint(507, 253) << false;
        QTest::addRow("inside the bottom-right corner") << QPoint(503, 249) << true;
        QTest::addRow("hollow inside") << QPoint(300, 100) << false;
    }
    void blueFrameReach() {
        QFETCH(QPoint, point);
        QFETCH(bool, blue);
        FakeGridContainer window(1024, 768);
        window.image.fill(Qt::white);
        const QImage before = window.image;
        cGriglia::DrawBox(window, {260, 6, 506, 252}, 0, 5, GdiBlue, 1, 0, 0);
        QCOMPARE(window.image.pixel(point), blue ? Blue : White);
        QCOMPARE(window.shown, 1);
        // Only the frame's surroundings need showing, and they hold all of it.
        QVERIFY(!window.shownAreas[0].isEmpty() && window.shownAreas[0].width() < 300);
        QVERIFY(ChangesWithin(before, window.image, window.shownAreas[0]));
    }

    void movingTheFrameLeavesTheTableAsItWas_data() {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("c");
        QTest::addColumn<bool>("framedBefore");
        QTest::addRow("first click, cell 0 0 never framed") << 0 << 0 << false;
        QTest::addRow("framed corner cell") << 0 << 0 << true;
        QTest::addRow("framed middle cell") << 1 << 2 << true;
        QTest::addRow("framed last cell") << 2 << 3 << true;
    }
    void movingTheFrameLeavesTheTableAsItWas() {
        QFETCH(int, r);
        QFETCH(int, c);
        QFETCH(bool, framedBefore);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, 3, 4);
        grid->Refresh();
        const QImage table = window.image;
        const GridRect cell = grid->CellRect(r, c);
        if (framedBefore) {
            cGriglia::DrawBox(window, cell, 0, 5, GdiBlue, 1, 0, 0);
            QVERIFY(window.image != table);
        }
        // The runtime takes a frame away with the back colour, then puts the dots back.
        cGriglia::DrawBox(window, cell, 0, 5, GdiWhite, 1, 0, 0);
        grid->DrawFocusFrame(cell);
        QCOMPARE(window.image, table);
    }

    void rectangleMatchesFillBox_data() {
        QTest::addColumn<GridRect>("rect");
        QTest::addRow("ordinary") << GridRect{10, 12, 50, 40};
        QTest::addRow("one pixel") << GridRect{5, 5, 6, 6};
        QTest::addRow("swapped corners") << GridRect{50, 40, 10, 12};
        QTest::addRow("over the edges") << GridRect{-10, -10, 200, 200};
        QTest::addRow("empty") << GridRect{10, 10, 10, 30};
    }
    void rectangleMatchesFillBox() {
        QFETCH(GridRect, rect);
        QImage drawn = patterned(120, 90);
        QImage filled = drawn;
        DrawGdiRectangle(drawn, rect, GdiPen{0, 1, 0x336699}, GdiBrush{0, 0, 0x336699});
        FillBox(filled, rect.Left, rect.Top, rect.Right, rect.Bottom, 0x336699);
        QCOMPARE(drawn, filled);
        // FillBox covers Left to Right - 1 and Top to Bottom - 1.
        const GridRect box = NormalizedRect(rect);
        const QRect covered =
            QRect(QPoint(box.Left, box.Top), QPoint(box.Right - 1, box.Bottom - 1)) & drawn.rect();
        int painted = 0;
        for (int y = 0; y < 90; ++y) {
            for (int x = 0; x < 120; ++x) {
                painted += filled.pixel(x, y) == qRgb(0x99, 0x66, 0x33) ? 1 : 0;
            }
        }
        QCOMPARE(painted, covered.isValid() ? covered.width() * covered.height() : 0);
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
        QCOMPARE(image.pixel(2, 2), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(5, 5), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(6, 5), qRgb(0, 0, 0));
    }

    void fillBoxSurvivesExtremeCoordinates() {
        QImage image(30, 30, QImage::Format_RGB32);
        image.fill(Qt::black);
        FillBox(image, IntMin, IntMin, IntMax, IntMax, 0xFFFFFF);
        QCOMPARE(image.pixel(29, 29), White);
        QImage none;
        FillBox(none, 0, 0, 10, 10, 0xFFFFFF);
        QVERIFY(none.isNull());
    }

    void penAndBrushStyles_data() {
        QTest::addColumn<GdiPen>("pen");
        QTest::addColumn<GdiBrush>("brush");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QRgb>("expected");
        const GdiPen red{0, 1, 0x0000FF};
        const GdiBrush hollow{1, 0, 0};
        const QRgb r = qRgb(255, 0, 0);
        const QRgb g = qRgb(0, 255, 0);
        const QRgb k = qRgb(0, 0, 0);
        // The rectangle is always (10, 10, 40, 30) on black.
        QTest::addRow("null pen, solid brush, first pixel")
            << GdiPen{5, 1, 0} << GdiBrush{0, 0, 0x00FF00} << QPoint(10, 10) << g;
        QTest::addRow("null pen leaves the right column")
            << GdiPen{5, 1, 0} << GdiBrush{0, 0, 0x00FF00} << QPoint(39, 20) << k;
        QTest::addRow("null pen fills to Right - 2")
            << GdiPen{5, 1, 0} << GdiBrush{0, 0, 0x00FF00} << QPoint(38, 28) << g;
        QTest::addRow("null pen leaves the bottom row")
            << GdiPen{5, 1, 0} << GdiBrush{0, 0, 0x00FF00} << QPoint(20, 29) << k;
        QTest::addRow("width 0 draws one pixel") << GdiPen{0, 0, 0x0000FF} << hollow << QPoint(10, 20) << r;
        QTest::addRow("width 0 stays on the outline")
            << GdiPen{0, 0, 0x0000FF} << hollow << QPoint(9, 20) << k;
        QTest::addRow("inside frame keeps within") << GdiPen{6, 5, 0x0000FF} << hollow << QPoint(9, 20) << k;
        QTest::addRow("inside frame reaches 5 in") << GdiPen{6, 5, 0x0000FF} << hollow << QPoint(14, 20) << r;
        QTest::addRow("inside frame not 6 in") << GdiPen{6, 5, 0x0000FF} << hollow << QPoint(15, 20) << k;
        QTest::addRow("dotted pen starts on") << GdiPen{2, 1, 0x0000FF} << hollow << QPoint(12, 10) << r;
        QTest::addRow("dotted pen then off") << GdiPen{2, 1, 0x0000FF} << hollow << QPoint(13, 10) << k;
        QTest::addRow("dashed pen 18 on") << GdiPen{1, 1, 0x0000FF} << hollow << QPoint(27, 10) << r;
        QTest::addRow("dashed pen then 6 off") << GdiPen{1, 1, 0x0000FF} << hollow << QPoint(28, 10) << k;
        QTest::addRow("wide dashed pen is solid") << GdiPen{1, 3, 0x0000FF} << hollow << QPoint(28, 10) << r;
        QTest::addRow("solid brush under the pen") << red << GdiBrush{0, 0, 0x00FF00} << QPoint(20, 20) << g;
        QTest::addRow("pattern brush without a pattern")
            << red << GdiBrush{3, 0, 0x00FF00} << QPoint(20, 20) << k;
        QTest::addRow("hatch never outside")
            << GdiPen{5, 1, 0} << GdiBrush{2, 4, 0x00FF00} << QPoint(9, 12) << k;
    }
    void penAndBrushStyles() {
        QFETCH(GdiPen, pen);
        QFETCH(GdiBrush, brush);
        QFETCH(QPoint, point);
        QFETCH(QRgb, expected);
        QImage image(60, 50, QImage::Format_RGB32);
        image.fill(Qt::black);
        DrawGdiRectangle(image, {10, 10, 40, 30}, pen, brush);
        QCOMPARE(image.pixel(point), expected);
    }

    void selectionHighlightKeepsItsMargins_data() {
        QTest::addColumn<int>("leftBorder");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("highlighted");
        // Current cell (0, 0) is (4, 6, 250, 252): inset 1 for the frame plus 5 of margin.
        QTest::addRow("first highlighted column") << 0 << QPoint(10, 100) << true;
        QTest::addRow("margin column") << 0 << QPoint(9, 100) << false;
        QTest::addRow("first highlighted row") << 0 << QPoint(100, 12) << true;
        QTest::addRow("margin row") << 0 << QPoint(100, 11) << false;
        QTest::addRow("last highlighted column") << 0 << QPoint(243, 100) << true;
        QTest::addRow("right margin") << 0 << QPoint(244, 100) << false;
        QTest::addRow("border of 4 pushes it by 2") << 4 << QPoint(11, 100) << false;
        QTest::addRow("after the border's half") << 4 << QPoint(12, 100) << true;
    }
    void selectionHighlightKeepsItsMargins() {
        QFETCH(int, leftBorder);
        QFETCH(QPoint, point);
        QFETCH(bool, highlighted);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, 3, 4, GdiWhite, true, true);
        if (leftBorder > 0) {
            grid->CellAt(0, 0)->Borders[GridCell::LeftEdge] = BorderSide{true, leftBorder, 0x000000};
        }
        grid->Refresh();
        QCOMPARE(window.image.pixel(point), highlighted ? qRgb(244, 249, 255) : White);
        // Only the current cell is highlighted.
        QCOMPARE(window.image.pixel(300, 100), White);
    }

    void visibleBorderLinesAreDrawn_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<QPoint>("onLine");
        QTest::addColumn<QPoint>("offLine");
        // Cell (1, 1) is (260, 262, 506, 506).
        QTest::addRow("left") << int(GridCell::LeftEdge) << QPoint(260, 300) << QPoint(300, 263);
        QTest::addRow("top") << int(GridCell::TopEdge) << QPoint(300, 262) << QPoint(260, 301);
        QTest::addRow("right") << int(GridCell::RightEdge) << QPoint(506, 300) << QPoint(300, 505);
        QTest::addRow("bottom") << int(GridCell::BottomEdge) << QPoint(300, 506) << QPoint(505, 300);
        QTest::addRow("falling diagonal")
            << int(GridCell::FallingDiagonal) << QPoint(383, 384) << QPoint(383, 290);
        QTest::addRow("rising diagonal")
            << int(GridCell::RisingDiagonal) << QPoint(383, 384) << QPoint(383, 290);
    }
    void visibleBorderLinesAreDrawn() {
        QFETCH(int, side);
        QFETCH(QPoint, onLine);
        QFETCH(QPoint, offLine);
        FakeGridContainer window(1024, 768);
        auto grid = makeGrid(window, 3, 4, GdiWhite, false);
        grid->CellAt(1, 1)->Borders[static_cast<std::size_t>(side)] = BorderSide{true, 3, 0x0000FF};
        grid->Refresh();
        QCOMPARE(window.image.pixel(onLine), qRgb(255, 0, 0));
        QCOMPARE(window.image.pixel(offLine), White);
    }
};

MIRELVA_TEST(TstGridDrawing)
#include "grid_drawing.moc"
