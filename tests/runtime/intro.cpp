#include "runtime/DrawIntro.h"
#include "runtime/FileNameOf.h"
#include "runtime/PlainBitmap.h"
#include "fakes/TestRegistry.h"

#include <QFile>
#include <QImage>
#include <QtTest>

namespace {
QImage Canvas(QSize size) {
    QImage canvas(size, QImage::Format_RGB32);
    canvas.setDotsPerMeterX(3780);
    canvas.setDotsPerMeterY(3780);
    canvas.fill(Qt::black);
    return canvas;
}
} // namespace

class TstIntro : public QObject {
    Q_OBJECT
private slots:
    void fileNameOf() {
        QCOMPARE(FileNameOf("C:\\P\\layout\\lay2.ini"), QStringLiteral("lay2.ini"));
        QCOMPARE(FileNameOf("/p/layout/"), QStringLiteral("layout"));
        QCOMPARE(FileNameOf("/p/layout//"), QString());
        QCOMPARE(FileNameOf("lay3.ini"), QStringLiteral("lay3.ini"));
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
            QFile file(QStringLiteral(":/bitmaps/%1.bmp").arg(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const QImage expected = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
            QVERIFY(!expected.isNull());
            QCOMPARE(DecodePlainBitmap(bytes), expected);
            QVERIFY(DecodePlainBitmap(bytes.chopped(10)).isNull());
        }
    }
};

MIRELVA_TEST(TstIntro)
#include "intro.moc"
