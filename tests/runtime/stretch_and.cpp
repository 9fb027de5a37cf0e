#include "runtime/StretchAnd.h"
#include "fakes/TestRegistry.h"

#include <QPainter>
#include <QtTest>

namespace {
QImage Canvas(QSize size, QRgb colour) {
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(colour);
    return canvas;
}
} // namespace

class TstStretchAnd : public QObject {
    Q_OBJECT
private slots:
    // On a white canvas the square shows the picture exactly as the painter stretches it onto
    // white, and nothing around it.
    void matchesQtScaling_data() {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<int>("side");
        QTest::addColumn<QImage::Format>("format");
        QTest::addRow("512 to 246, indexed") << QSize(512, 512) << 246 << QImage::Format_Indexed8;
        QTest::addRow("30x10 to 37, premultiplied")
            << QSize(30, 10) << 37 << QImage::Format_ARGB32_Premultiplied;
        QTest::addRow("3 to 1900, enlarged") << QSize(3, 2) << 1900 << QImage::Format_RGB32;
        QTest::addRow("999 to 1000") << QSize(999, 999) << 1000 << QImage::Format_RGB32;
    }
    void matchesQtScaling() {
        QFETCH(QSize, source);
        QFETCH(int, side);
        QFETCH(QImage::Format, format);
        QImage picture(source, QImage::Format_RGB32);
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x) {
                picture.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) * 5 % 256));
            }
        }
        picture = picture.convertToFormat(format);
        QImage canvas = Canvas({side + 20, side + 20}, qRgb(255, 255, 255));
        StretchAndInto(canvas, picture, 10, 10, side);
        QImage expected = Canvas({side + 20, side + 20}, qRgb(255, 255, 255));
        QPainter(&expected).drawImage(QRect(10, 10, side, side), picture);
        QCOMPARE(canvas, expected);
    }

    // The canvas keeps only the bits both have; transparency counts as white, and so does an
    // index beyond the colour table.
    void andsOntoTheCanvas_data() {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<QRgb>("pixel"); // as stored, not premultiplied
        QTest::addColumn<int>("index");
        QTest::addColumn<QRgb>("expected");
        const QRgb beneath = qRgb(0x0F, 0xF0, 0xFF);
        const QRgb anded = qRgb(0x0F, 0x00, 0x33);
        QTest::addRow("opaque") << QImage::Format_RGB32 << qRgb(0xFF, 0x0F, 0x33) << 0 << anded;
        QTest::addRow("half transparent black")
            << QImage::Format_ARGB32 << qRgba(0, 0, 0, 128) << 0 << qRgb(0x0F & 127, 0xF0 & 127, 0xFF & 127);
        QTest::addRow("indexed, transparent entry")
            << QImage::Format_Indexed8 << qRgba(9, 9, 9, 0) << 0 << beneath;
        QTest::addRow("indexed, opaque entry")
            << QImage::Format_Indexed8 << qRgb(0xFF, 0x0F, 0x33) << 0 << anded;
        QTest::addRow("index beyond the table") << QImage::Format_Indexed8 << qRgb(0, 0, 0) << 200 << beneath;
    }
    void andsOntoTheCanvas() {
        QFETCH(QImage::Format, format);
        QFETCH(QRgb, pixel);
        QFETCH(int, index);
        QFETCH(QRgb, expected);
        QImage picture(3, 3, format);
        if (format == QImage::Format_Indexed8) {
            picture.setColorTable({pixel});
            picture.fill(index);
        } else {
            picture.fill(QColor::fromRgba(pixel));
        }
        QImage canvas = Canvas({8, 8}, qRgb(0x0F, 0xF0, 0xFF));
        StretchAndInto(canvas, picture, 1, 1, 6);
        QCOMPARE(canvas.pixel(3, 3), expected);
        QCOMPARE(canvas.pixel(0, 0), qRgb(0x0F, 0xF0, 0xFF));
    }

    // Squares partly off the canvas, or of no size: the part on the canvas is drawn, nothing else.
    void edges() {
        QImage picture(2, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        for (const QList<int>& c : QList<QList<int>>{{-3, -1, 5}, {8, 7, 6}, {20, 3, 5}, {2, 2, 0}}) {
            QImage canvas = Canvas({10, 10}, qRgb(255, 255, 255));
            StretchAndInto(canvas, picture, c[0], c[1], c[2]);
            QImage expected = Canvas({10, 10}, qRgb(255, 255, 255));
            QPainter(&expected).fillRect(c[0], c[1], c[2], c[2], Qt::red);
            QCOMPARE(canvas, expected);
        }
    }
};

MIRELVA_TEST(TstStretchAnd)
#include "stretch_and.moc"
