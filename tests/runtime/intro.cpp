#include "runtime/DrawIntro.h"
#include "runtime/FileNameOf.h"
#include "runtime/PlainBitmap.h"
#include "fakes/TestRegistry.h"

#include <QFile>
#include <QImage>
#include <QtEndian>
#include <QtTest>

namespace {
constexpr GdiColor Face = 0xF0F0F0;
const QRgb BandBlue = qRgb(0, 115, 255);
const QRgb Purple = qRgb(192, 31, 170);

QImage Canvas(QSize size) {
    QImage canvas(size, QImage::Format_RGB32);
    canvas.setDotsPerMeterX(3780);
    canvas.setDotsPerMeterY(3780);
    canvas.fill(Qt::black);
    return canvas;
}

// A Windows bitmap of w x h pixels, BI_RGB unless told otherwise; pixel (x, y)
// gets a colour of its own.
QByteArray Bitmap(int w, int h, int bits, bool topDown, quint32 compression = 0) {
    const int stride = (w * bits / 8 + 3) / 4 * 4;
    QByteArray b(54 + stride * h, '\0');
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, b.data() + at); };
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, b.data() + at); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, quint32(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(topDown ? -h : h));
    put16(26, 1);
    put16(28, quint16(bits));
    put32(30, compression);
    for (int y = 0; y < h; ++y) {
        const int row = topDown ? y : h - 1 - y;
        for (int x = 0; x < w; ++x) {
            char* p = b.data() + 54 + row * stride + x * bits / 8;
            p[0] = char(10 * x + 1); // blue
            p[1] = char(20 * y + 2); // green
            p[2] = char(x * y + 3);  // red
        }
    }
    return b;
}

int CountBlueText(const QImage& img, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            n += (qBlue(p) > 200 && qRed(p) < 90 && qGreen(p) < 90) ? 1 : 0;
        }
    }
    return n;
}
} // namespace

class TstIntro : public QObject {
    Q_OBJECT
private slots:
    void fileNameOf_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addRow("slashes") << "/p/layout/lay1.ini"
                                 << "lay1.ini";
        QTest::addRow("backslashes") << "C:\\P\\layout\\lay2.ini"
                                     << "lay2.ini";
        QTest::addRow("one trailing separator removed") << "/p/layout/"
                                                        << "layout";
        QTest::addRow("only the last of two trailing") << "/p/layout//"
                                                       << "";
        QTest::addRow("bare name") << "lay3.ini"
                                   << "lay3.ini";
        QTest::addRow("empty") << ""
                               << "";
    }
    void fileNameOf() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(FileNameOf(path), name);
    }

    void bandsAndBoxes_data() {
        QTest::addColumn<QSize>("size");
        QTest::addRow("1280x1024") << QSize(1280, 1024);
        QTest::addRow("1024x768") << QSize(1024, 768);
        QTest::addRow("800x600") << QSize(800, 600);
    }
    void bandsAndBoxes() {
        QFETCH(QSize, size);
        const int w = size.width();
        const int h = size.height();
        QImage canvas = Canvas(size);
        DrawIntro(canvas, Face, QString());
        const QImage leftTile(QStringLiteral(":/bitmaps/101.bmp"));
        QVERIFY(!leftTile.isNull());
        const auto px = [](double p, int total) { return int(std::nearbyint(total / 100.0 * p)); };

        // Top bar, from the left tiles to the right edge, 0 to 2 % of the height.
        QCOMPARE(canvas.pixel(leftTile.width() + 1, 0), BandBlue);
        QCOMPARE(canvas.pixel(leftTile.width() + 1, px(2, h) - 1), BandBlue);
        QCOMPARE(canvas.pixel(leftTile.width() + 1, px(2, h)), qRgb(240, 240, 240));
        // Thin band at 18 % to 18.5 %.
        QCOMPARE(canvas.pixel(w / 3, px(18, h)), BandBlue);
        QCOMPARE(canvas.pixel(w / 3, px(18, h) - 1), qRgb(240, 240, 240));
        QCOMPARE(canvas.pixel(w / 3, px(18.5, h)), qRgb(240, 240, 240));
        // Thin band at 96.5 % to 97 %.
        QCOMPARE(canvas.pixel(w / 3, px(96.5, h)), BandBlue);
        QCOMPARE(canvas.pixel(w / 3, px(97, h)), qRgb(240, 240, 240));
        // Block at the bottom right, 70 % of the width onwards, 90 % to 98 % of the height.
        // (On a narrow screen the right band's tiles are drawn over the block's left end.)
        const int rightBand = w - 3 * QImage(QStringLiteral(":/bitmaps/102.bmp")).width();
        if (px(70, w) < rightBand) {
            QCOMPARE(canvas.pixel(px(70, w), px(98, h) - 1), BandBlue);
            QCOMPARE(canvas.pixel(px(70, w) - 1, px(98, h) - 1), qRgb(240, 240, 240));
        }

        // Description box: purple along the top and left, black box moved by 1 %.
        const int left = px(8, w), top = px(40, h), right = px(80, w), bottom = px(62, h);
        const int dx = px(1, w), dy = px(1, h);
        QCOMPARE(canvas.pixel(left, top), Purple);
        QCOMPARE(canvas.pixel(left + dx - 1, bottom - 1), Purple);
        QCOMPARE(canvas.pixel(right - 1, top + dy - 1), Purple);
        QCOMPARE(canvas.pixel(left + dx, bottom + dy - 1), qRgb(0, 0, 0));
        QCOMPARE(canvas.pixel(right + dx - 1, bottom + dy - 1), qRgb(0, 0, 0));
        QCOMPARE(canvas.pixel(left + dx - 1, bottom + 1), qRgb(240, 240, 240));
        QCOMPARE(canvas.pixel(left - 1, top + 1), qRgb(240, 240, 240));

        // The left band: tile 101 at its own size from the bottom up.
        QCOMPARE(canvas.pixel(3, h - leftTile.height() + 5), leftTile.pixel(3, 5));
        QCOMPARE(canvas.pixel(leftTile.width() - 1, h - 2 * leftTile.height()),
                 leftTile.pixel(leftTile.width() - 1, 0));
    }

    // Bitmap 102 leaves its white out; 103 and 104 their RGB(255, 123, 57).
    void keyColoursLeftOut() {
        const QSize size(1280, 1024);
        QImage canvas = Canvas(size);
        DrawIntro(canvas, Face, QString());
        const QImage tile = QImage(QStringLiteral(":/bitmaps/102.bmp")).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!tile.isNull());
        // The fourth tile from the bottom in the outer column: nothing else is drawn there.
        const int x0 = size.width() - tile.width();
        const int y0 = size.height() - 4 * tile.height();
        int white = 0;
        for (int y = 0; y < tile.height(); ++y) {
            for (int x = 0; x < tile.width(); ++x) {
                const QRgb t = tile.pixel(x, y);
                const QRgb c = canvas.pixel(x0 + x, y0 + y);
                if (t == qRgb(255, 255, 255)) {
                    ++white;
                    QCOMPARE(c, qRgb(240, 240, 240));
                } else {
                    QCOMPARE(c, t);
                }
            }
        }
        QVERIFY2(white > 0, "tile 102 has white to leave out");

        const QImage emblem =
            QImage(QStringLiteral(":/bitmaps/103.bmp")).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!emblem.isNull());
        int keyed = 0;
        for (int y = 0; y < qMin(18, emblem.height()); ++y) {
            for (int x = 0; x < emblem.width(); ++x) {
                const QRgb c = canvas.pixel(size.width() - emblem.width() + x, y);
                if (emblem.pixel(x, y) == qRgb(255, 123, 57)) {
                    ++keyed;
                    QVERIFY(c != qRgb(255, 123, 57));
                } else {
                    QCOMPARE(c, emblem.pixel(x, y));
                }
            }
        }
        QVERIFY2(keyed > 0, "emblem 103 has its key colour in the top rows");
    }

    // The last line names the active layout's file, in blue; nothing after the label without one.
    void activeLayoutName() {
        const QSize size(1280, 1024);
        QImage named = Canvas(size);
        DrawIntro(named, Face, QStringLiteral("/p/layout/lay1.ini"));
        QImage none = Canvas(size);
        DrawIntro(none, Face, QString());
        const QRect line(int(1280 * 0.09), int(1024 * 0.64), int(1280 * 0.72), int(1024 * 0.04));
        QVERIFY(CountBlueText(none, line) > 20);
        QVERIFY(CountBlueText(named, line) > CountBlueText(none, line) + 20);
        QVERIFY(named.copy(0, 0, 1280, line.top()) == none.copy(0, 0, 1280, line.top()));
    }

    // The intro's bitmaps are decoded without Qt's image reader: the pixels
    // must be exactly those the reader gives, and anything else is refused.
    void plainBitmaps_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("plain");
        for (const char* name : {"101", "102", "103", "104"}) {
            QFile file(QStringLiteral(":/bitmaps/%1.bmp").arg(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::addRow("resource %s", name) << file.readAll() << true;
        }
        QTest::addRow("24 bits, odd width, padded rows") << Bitmap(5, 3, 24, false) << true;
        QTest::addRow("24 bits, top-down") << Bitmap(7, 4, 24, true) << true;
        QTest::addRow("32 bits") << Bitmap(3, 2, 32, false) << true;
        QTest::addRow("run-length encoded") << Bitmap(4, 4, 24, false, 1) << false;
        QTest::addRow("8 bits") << Bitmap(4, 4, 8, false) << false;
        QTest::addRow("truncated pixels") << Bitmap(9, 9, 24, false).chopped(10) << false;
        QTest::addRow("header only") << Bitmap(9, 9, 24, false).left(54) << false;
        QTest::addRow("not a bitmap") << QByteArray("GIF89a").leftJustified(80, '\0') << false;
        QByteArray huge = Bitmap(2, 2, 24, false);
        qToLittleEndian(quint32(1u << 30), huge.data() + 18);
        QTest::addRow("absurd width") << huge << false;
        QByteArray pixelsInHeader = Bitmap(2, 2, 24, false);
        qToLittleEndian(quint32(20), pixelsInHeader.data() + 10);
        QTest::addRow("pixels said to start inside the header") << pixelsInHeader << false;
    }
    void plainBitmaps() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, plain);
        const QImage decoded = DecodePlainBitmap(bytes);
        QCOMPARE(!decoded.isNull(), plain);
        if (plain) {
            const QImage expected = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
            QVERIFY(!expected.isNull());
            QCOMPARE(decoded, expected);
        }
    }

    // After a table has been shown the window's back colour is white.
    void clearsToBackColour() {
        QImage canvas = Canvas({1024, 768});
        DrawIntro(canvas, 0xFFFFFF, QString());
        QCOMPARE(canvas.pixel(500, 100), qRgb(255, 255, 255));
    }
};

MIRELVA_TEST(TstIntro)
#include "intro.moc"
