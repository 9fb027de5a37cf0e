#include "access/AccessOptions.h"
#include "access/CanvasOverlay.h"

#include "fakes/TestRegistry.h"

#include <QtTest>

#include <cmath>

namespace {
// Relative luminance and contrast ratio as WCAG defines them.
double Luminance(const QColor& c) {
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}
double Contrast(const QColor& a, const QColor& b) {
    return (std::max(Luminance(a), Luminance(b)) + 0.05) / (std::min(Luminance(a), Luminance(b)) + 0.05);
}

} // namespace

class TstCanvasOverlay : public QObject {
    Q_OBJECT
private slots:
    // Every highlight colour is seen on white and on black pictures: crossing the frame, at least
    // as many pixels as the band is wide differ from the picture by 3:1 or more.
    void highlightSeenOnAnyPicture_data() {
        QTest::addColumn<int>("colour");
        const QStringList names = AccessOptions::ColourNames();
        for (int i = 0; i < names.size(); ++i) {
            QTest::addRow("%s", qPrintable(names.at(i))) << i;
        }
    }
    void highlightSeenOnAnyPicture() {
        QFETCH(int, colour);
        AccessOptions o;
        o.highlightColour = AccessOptions::Colour(colour);
        const QRect key(50, 50, 100, 100);
        const int y = key.center().y();
        for (const int width : {4, 8, 20}) {
            // Where the frame lies: the pixels it changes on a canvas of a colour it never uses.
            QImage sentinel(200, 200, QImage::Format_RGB32);
            sentinel.fill(qRgb(1, 2, 3));
            CanvasOverlay().showFrame(sentinel, key, width, o.colour());
            for (const QColor picture : {QColor(Qt::white), QColor(Qt::black)}) {
                QImage canvas = sentinel;
                canvas.fill(picture);
                CanvasOverlay().showFrame(canvas, key, width, o.colour());
                int seen = 0;
                for (int x = 0; x < key.center().x(); ++x) {
                    const bool framed = sentinel.pixel(x, y) != qRgb(1, 2, 3);
                    seen += framed && Contrast(canvas.pixelColor(x, y), picture) >= 3.0 ? 1 : 0;
                }
                QVERIFY2(seen >= width,
                         qPrintable(QStringLiteral("width %1 on %2").arg(width).arg(picture.name())));
            }
        }
    }
};

MIRELVA_TEST(TstCanvasOverlay)
#include "canvas_overlay.moc"
