#include "runtime/DrawIntro.h"
#include "editor/PathRules.h"
#include "runtime/PlainBitmap.h"
#include "pictures/StretchAnd.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {
QImage Canvas(QSize size, QRgb colour = qRgb(0, 0, 0)) {
    QImage canvas(size, QImage::Format_RGB32);
    canvas.setDotsPerMeterX(3780);
    canvas.setDotsPerMeterY(3780);
    canvas.fill(colour);
    return canvas;
}
} // namespace

// The intro screen, and the pictures stretched and ANDed into the table.
class TstIntro : public QObject {
    Q_OBJECT
private slots:
    void fileNameOf() {
        QCOMPARE(PathRules::FileNameOf("C:\\P\\layout\\lay2.ini"), QStringLiteral("lay2.ini"));
        QCOMPARE(PathRules::FileNameOf("/p/layout/"), QStringLiteral("layout"));
        QCOMPARE(PathRules::FileNameOf("/p/layout//"), QString());
    }

    // Tile 102 leaves its white out and emblem 103 its RGB(255, 123, 57): what is beneath shows there.
    void keyColoursLeftOut_data() {
        QTest::addColumn<QString>("bitmap");
        QTest::addColumn<QPoint>("at"); // from the canvas's bottom right corner, in tiles
        QTest::addColumn<QRgb>("key");
        QTest::addRow("102, fourth tile of the outer column") << "102" << QPoint(1, 4) << qRgb(255, 255, 255);
        QTest::addRow("103 at the top right") << "103" << QPoint(1, 0) << qRgb(255, 123, 57);
    }
    void keyColoursLeftOut() {
        QFETCH(QString, bitmap);
        QFETCH(QPoint, at);
        QFETCH(QRgb, key);
        QImage canvas = Canvas({1280, 1024});
        DrawIntro(canvas, 0xF0F0F0, QString());
        const QImage tile =
            QImage(QStringLiteral(":/bitmaps/%1.bmp").arg(bitmap)).convertToFormat(QImage::Format_RGB32);
        const int x0 = 1280 - at.x() * tile.width();
        const int y0 = at.y() == 0 ? 0 : 1024 - at.y() * tile.height();
        int keyed = 0;
        for (int y = 0; y < qMin(18, tile.height()); ++y) {
            for (int x = 0; x < tile.width(); ++x) {
                const bool left = tile.pixel(x, y) == key;
                keyed += left ? 1 : 0;
                QCOMPARE(canvas.pixel(x0 + x, y0 + y) == key, left ? false : tile.pixel(x, y) == key);
                QVERIFY(left || canvas.pixel(x0 + x, y0 + y) == tile.pixel(x, y));
            }
        }
        QVERIFY(keyed > 0);
    }

    // The last line names the active layout's file, in blue; nothing else changes with it.
    void activeLayoutName() {
        QImage named = Canvas({1280, 1024});
        DrawIntro(named, 0xF0F0F0, QStringLiteral("/p/layout/lay1.ini"));
        QImage none = Canvas({1280, 1024});
        DrawIntro(none, 0xF0F0F0, QString());
        const QRect line(int(1280 * 0.09), int(1024 * 0.64), int(1280 * 0.72), int(1024 * 0.04));
        int blue = 0;
        for (int y = 0; y < 1024; ++y) {
            for (int x = 0; x < 1280; ++x) {
                const QRgb p = named.pixel(x, y);
                QVERIFY(p == none.pixel(x, y) || line.contains(x, y));
                blue += p != none.pixel(x, y) && qBlue(p) > 200 && qRed(p) < 90 && qGreen(p) < 90 ? 1 : 0;
            }
        }
        QVERIFY(blue > 20);
    }

    // The intro's bitmaps are decoded without Qt's image reader, to exactly the reader's pixels.
    void plainBitmaps() {
        for (const char* name : {"101", "102", "103", "104"}) {
            const QByteArray bytes =
                TestSupport::readFile(QStringLiteral(":/bitmaps/%1.bmp").arg(QLatin1String(name)));
            QVERIFY(!bytes.isEmpty());
            const QImage expected = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
            QVERIFY(!expected.isNull());
            QCOMPARE(DecodePlainBitmap(bytes), expected);
            QVERIFY(DecodePlainBitmap(bytes.chopped(10)).isNull());
        }
    }

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
        QTest::addRow("index beyond the table") << QImage::Format_Indexed8 << qRgb(0, 0, 0) << 200 << beneath;
    }
    void andsOntoTheCanvas() {
        QFETCH(QImage::Format, format);
        QFETCH(QRgb, pixel);
        QFETCH(int, index);
        QImage picture(3, 3, format);
        if (format == QImage::Format_Indexed8) {
            picture.setColorTable({pixel});
            picture.fill(index);
        } else {
            picture.fill(QColor::fromRgba(pixel));
        }
        QImage canvas = Canvas({8, 8}, qRgb(0x0F, 0xF0, 0xFF));
        StretchAndInto(canvas, picture, 1, 1, 6);
        QTEST(canvas.pixel(3, 3), "expected");
        QCOMPARE(canvas.pixel(0, 0), qRgb(0x0F, 0xF0, 0xFF));
    }

    // Squares reaching past the canvas, or of no size: what lies on the canvas is drawn, nothing else.
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

MIRELVA_TEST(TstIntro)
#include "intro.moc"
