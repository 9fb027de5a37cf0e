#include "fakes/TestRegistry.h"
#include "printing/PageArithmetic.h"

#include <QTest>

using namespace PageArithmetic;

// Each row is what one call gives and what it must give.
class TestPrintArithmetic : public QObject {
    Q_OBJECT
private slots:
    void arithmetic_data() {
        QTest::addColumn<QVariant>("actual");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* name, QVariant actual, QVariant expected) {
            QTest::addRow("%s", name) << actual << expected;
        };
        row("fit too wide", FitInside({1000, 600}, {900, 636}, 0), QSize(900, 540));
        row("fit too tall", FitInside({15360, 11520}, {15840, 11040}, 0), QSize(14720, 11040));
        row("fit too tall, then still too wide", FitInside({2000, 1000}, {900, 636}, 0), QSize(900, 450));
        row("margin off both sides when it fits", FitInside({500, 300}, {900, 636}, 9), QSize(491, 291));
        row("margin off the reduced height", FitInside({600, 1000}, {900, 700}, 7), QSize(416, 693));
        row("exactly as tall, with a margin", FitInside({400, 636}, {900, 636}, 9), QSize(391, 627));
        row("empty picture", FitInside({0, 600}, {900, 636}, 0), QSize(0, 0));
        row("no room at all", FitInside({500, 300}, {5, 5}, 9), QSize(0, 0));
        row("In basso a sinistra", Place({500, 300}, {900, 636}, 6), QRect(0, 336, 500, 300));
        row("odd spare rounds half to even", Place({500, 300}, {901, 637}, 4), QRect(200, 168, 500, 300));
        row("odd spare rounds half up to even", Place({500, 300}, {903, 639}, 4), QRect(202, 170, 500, 300));
        row("preview 30 per cent", PreviewRect({1025, 768}, 2, 0, {900, 636}), QRect(0, 0, 308, 230));
        row("preview page wider than the window", PreviewPageRect({15840, 11040}, {15, 15}, {1000, 800}, 60),
            QRect(5, 85, 990, 690));
        row("preview page that fits loses the margin",
            PreviewPageRect({9000, 6000}, {15, 15}, {1000, 800}, 60), QRect(205, 235, 590, 390));
        row("no printer, no page", PreviewPageRect({0, 0}, {15, 15}, {1000, 800}, 60), QRect(500, 430, 0, 0));
        row("120 dpi is 12 twips a pixel", PixelsToTwips({1024, 768}, TwipsPerPixel(120, 120)),
            QSize(12288, 9216));
        row("unknown resolution taken as 96", TwipsToPixels({150, 300}, TwipsPerPixel(0, 0)), QSize(10, 20));
    }
    void arithmetic() {
        QFETCH(QVariant, actual);
        QTEST(actual, "expected");
    }
};

MIRELVA_TEST(TestPrintArithmetic)
#include "print_arithmetic.moc"
