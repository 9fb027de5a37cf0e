#include "printing/PageArithmetic.h"
#include "fakes/TestRegistry.h"

#include <QTest>

using namespace PageArithmetic;

class TestPrintArithmetic : public QObject {
    Q_OBJECT
private slots:
    void roundHalfEven_data();
    void roundHalfEven();
    void zoomed_data();
    void zoomed();
    void fitInside_data();
    void fitInside();
    void place_data();
    void place();
    void previewRect_data();
    void previewRect();
    void printRect_data();
    void printRect();
    void previewPageRect_data();
    void previewPageRect();
    void twips_data();
    void twips();
};

void TestPrintArithmetic::roundHalfEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::addRow("half below even goes down") << 2.5 << 2;
    QTest::addRow("half below odd goes up") << 1.5 << 2;
    QTest::addRow("zero and a half") << 0.5 << 0;
    QTest::addRow("negative half to even") << -1.5 << -2;
    QTest::addRow("negative half to zero") << -0.5 << 0;
    QTest::addRow("just below half") << 444.4999 << 444;
    QTest::addRow("just above half") << 444.5001 << 445;
    QTest::addRow("whole number") << 7.0 << 7;
}

void TestPrintArithmetic::roundHalfEven() {
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(RoundHalfEven(value), expected);
}

void TestPrintArithmetic::zoomed_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("zoomIndex");
    QTest::addColumn<QSize>("expected");
    QTest::addRow("100 per cent keeps the size") << QSize(1000, 600) << 9 << QSize(1000, 600);
    QTest::addRow("50 per cent") << QSize(1000, 600) << 4 << QSize(500, 300);
    QTest::addRow("10 per cent of 1024x768 rounds") << QSize(1024, 768) << 0 << QSize(102, 77);
    QTest::addRow("30 per cent hits an exact half") << QSize(1025, 768) << 2 << QSize(308, 230);
    QTest::addRow("50 per cent half rounds to even") << QSize(1025, 767) << 4 << QSize(512, 384);
}

void TestPrintArithmetic::zoomed() {
    QFETCH(QSize, size);
    QFETCH(int, zoomIndex);
    QFETCH(QSize, expected);
    QCOMPARE(Zoomed(size, zoomIndex), expected);
}

void TestPrintArithmetic::fitInside_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("available");
    QTest::addColumn<int>("margin");
    QTest::addColumn<QSize>("expected");
    QTest::addRow("1000x600 too wide for 900x636")
        << QSize(1000, 600) << QSize(900, 636) << 0 << QSize(900, 540);
    QTest::addRow("500x300 fits 900x636") << QSize(500, 300) << QSize(900, 636) << 0 << QSize(500, 300);
    QTest::addRow("15360x11520 twips too tall for landscape")
        << QSize(15360, 11520) << QSize(15840, 11040) << 0 << QSize(14720, 11040);
    QTest::addRow("15360x11520 twips too wide for portrait")
        << QSize(15360, 11520) << QSize(11040, 15840) << 0 << QSize(11040, 8280);
    QTest::addRow("too tall, then still too wide")
        << QSize(2000, 1000) << QSize(900, 636) << 0 << QSize(900, 450);
    QTest::addRow("height rounds half to even")
        << QSize(2000, 1000) << QSize(889, 636) << 0 << QSize(889, 444);
    QTest::addRow("margin off both sides when it fits")
        << QSize(500, 300) << QSize(900, 636) << 9 << QSize(491, 291);
    QTest::addRow("margin off the reduced width")
        << QSize(1000, 600) << QSize(900, 700) << 9 << QSize(891, 535);
    QTest::addRow("margin off the reduced height")
        << QSize(600, 1000) << QSize(900, 700) << 7 << QSize(416, 693);
    QTest::addRow("empty picture") << QSize(0, 600) << QSize(900, 636) << 0 << QSize(0, 0);
    QTest::addRow("no room at all") << QSize(500, 300) << QSize(5, 5) << 9 << QSize(0, 0);
}

void TestPrintArithmetic::fitInside() {
    QFETCH(QSize, size);
    QFETCH(QSize, available);
    QFETCH(int, margin);
    QFETCH(QSize, expected);
    QCOMPARE(FitInside(size, available, margin), expected);
}

void TestPrintArithmetic::place_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QPoint>("expected");
    const QSize page(900, 636);
    QTest::addRow("In alto a sinistra") << 0 << page << QPoint(0, 0);
    QTest::addRow("In alto al centro") << 1 << page << QPoint(200, 0);
    QTest::addRow("In alto a destra") << 2 << page << QPoint(400, 0);
    QTest::addRow("Al centro a sinistra") << 3 << page << QPoint(0, 168);
    QTest::addRow("Al centro") << 4 << page << QPoint(200, 168);
    QTest::addRow("Al centro a destra") << 5 << page << QPoint(400, 168);
    QTest::addRow("In basso a sinistra") << 6 << page << QPoint(0, 336);
    QTest::addRow("In basso al centro") << 7 << page << QPoint(200, 336);
    QTest::addRow("In basso a destra") << 8 << page << QPoint(400, 336);
    QTest::addRow("odd spare rounds half to even") << 4 << QSize(901, 637) << QPoint(200, 168);
    QTest::addRow("odd spare rounds half up to even") << 4 << QSize(903, 639) << QPoint(202, 170);
}

void TestPrintArithmetic::place() {
    QFETCH(int, position);
    QFETCH(QSize, page);
    QFETCH(QPoint, expected);
    QCOMPARE(Place(QSize(500, 300), page, position), QRect(expected, QSize(500, 300)));
}

void TestPrintArithmetic::previewRect_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("zoomIndex");
    QTest::addColumn<int>("position");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QRect>("expected");
    QTest::addRow("1000x600 at 100 per cent top centre")
        << QSize(1000, 600) << 9 << 1 << QSize(900, 636) << QRect(0, 0, 900, 540);
    QTest::addRow("1000x600 at 50 per cent top centre")
        << QSize(1000, 600) << 4 << 1 << QSize(900, 636) << QRect(200, 0, 500, 300);
    QTest::addRow("1000x600 at 100 per cent bottom right")
        << QSize(1000, 600) << 9 << 8 << QSize(900, 636) << QRect(0, 96, 900, 540);
    QTest::addRow("Pagina intera at 100 per cent fills the box")
        << QSize(1000, 600) << 9 << 9 << QSize(900, 636) << QRect(0, 0, 900, 636);
    QTest::addRow("Pagina intera at 50 per cent half the box, centred")
        << QSize(1000, 600) << 4 << 9 << QSize(900, 636) << QRect(225, 159, 450, 318);
    QTest::addRow("Pagina intera ignores the picture's proportions")
        << QSize(10, 1000) << 9 << 9 << QSize(900, 636) << QRect(0, 0, 900, 636);
}

void TestPrintArithmetic::previewRect() {
    QFETCH(QSize, picture);
    QFETCH(int, zoomIndex);
    QFETCH(int, position);
    QFETCH(QSize, box);
    QFETCH(QRect, expected);
    QCOMPARE(PreviewRect(picture, zoomIndex, position, box), expected);
}

void TestPrintArithmetic::printRect_data() {
    QTest::addColumn<int>("zoomIndex");
    QTest::addColumn<int>("position");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QRect>("expected");
    const QSize landscape(15840, 11040);
    const QSize portrait(11040, 15840);
    QTest::addRow("100 per cent landscape, reduced, top centre")
        << 9 << 1 << landscape << QRect(560, 0, 14720, 11040);
    QTest::addRow("100 per cent portrait, full width") << 9 << 1 << portrait << QRect(0, 0, 11040, 8280);
    QTest::addRow("10 per cent is one tenth, not enlarged")
        << 0 << 1 << landscape << QRect(7155, 0, 1530, 1155);
    QTest::addRow("50 per cent centred") << 4 << 4 << landscape << QRect(4080, 2640, 7680, 5760);
    QTest::addRow("Pagina intera 100 per cent fills the printable area")
        << 9 << 9 << landscape << QRect(0, 0, 15840, 11040);
    QTest::addRow("Pagina intera 50 per cent") << 4 << 9 << landscape << QRect(3960, 2760, 7920, 5520);
    QTest::addRow("10 per cent bottom right") << 0 << 8 << portrait << QRect(9510, 14685, 1530, 1155);
}

void TestPrintArithmetic::printRect() {
    QFETCH(int, zoomIndex);
    QFETCH(int, position);
    QFETCH(QSize, page);
    QFETCH(QRect, expected);
    QCOMPARE(PrintRect(QSize(1024, 768), zoomIndex, position, QSizeF(15, 15), page), expected);
}

void TestPrintArithmetic::previewPageRect_data() {
    QTest::addColumn<QSize>("pageTwips");
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<int>("strip");
    QTest::addColumn<QRect>("expected");
    QTest::addRow("page wider than the window")
        << QSize(15840, 11040) << QSize(1000, 800) << 60 << QRect(5, 85, 990, 690);
    QTest::addRow("page that fits loses the margin")
        << QSize(9000, 6000) << QSize(1000, 800) << 60 << QRect(205, 235, 590, 390);
    QTest::addRow("portrait page taller than the space")
        << QSize(11040, 15840) << QSize(1000, 800) << 60 << QRect(246, 65, 509, 730);
    QTest::addRow("no printer, no page") << QSize(0, 0) << QSize(1000, 800) << 60 << QRect(500, 430, 0, 0);
}

void TestPrintArithmetic::previewPageRect() {
    QFETCH(QSize, pageTwips);
    QFETCH(QSize, inner);
    QFETCH(int, strip);
    QFETCH(QRect, expected);
    QCOMPARE(PreviewPageRect(pageTwips, QSizeF(15, 15), inner, strip), expected);
}

void TestPrintArithmetic::twips_data() {
    QTest::addColumn<double>("dpi");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QSize>("twips");
    QTest::addRow("96 dpi is 15 twips a pixel") << 96.0 << QSize(1024, 768) << QSize(15360, 11520);
    QTest::addRow("120 dpi is 12 twips a pixel") << 120.0 << QSize(1024, 768) << QSize(12288, 9216);
    QTest::addRow("unknown resolution taken as 96") << 0.0 << QSize(10, 20) << QSize(150, 300);
}

void TestPrintArithmetic::twips() {
    QFETCH(double, dpi);
    QFETCH(QSize, pixels);
    QFETCH(QSize, twips);
    const QSizeF perPixel = TwipsPerPixel(dpi, dpi);
    QCOMPARE(PixelsToTwips(pixels, perPixel), twips);
    QCOMPARE(TwipsToPixels(twips, perPixel), pixels);
}

MIRELVA_TEST(TestPrintArithmetic)
#include "print_arithmetic.moc"
