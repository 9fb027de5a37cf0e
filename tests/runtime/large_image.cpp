#include "runtime/LargeImage.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

// Full-screen canvases come from LargeImage: they must behave exactly like
// ordinary images of the same size and format.
class TstLargeImage : public QObject {
    Q_OBJECT
private slots:
    void sameShapeAsAnOrdinaryImage_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QImage::Format>("format");
        QTest::addRow("full HD canvas") << QSize(1920, 1080) << QImage::Format_RGB32;
        QTest::addRow("odd width, 24-bit rows padded") << QSize(1921, 1001) << QImage::Format_RGB888;
        QTest::addRow("just under one huge page") << QSize(1024, 511) << QImage::Format_RGB32;
        QTest::addRow("small window") << QSize(17, 9) << QImage::Format_RGB32;
        QTest::addRow("one long row") << QSize(700000, 1) << QImage::Format_ARGB32_Premultiplied;
        QTest::addRow("empty") << QSize(0, 0) << QImage::Format_RGB32;
    }
    void sameShapeAsAnOrdinaryImage() {
        QFETCH(QSize, size);
        QFETCH(QImage::Format, format);
        const QImage ordinary(size, format);
        QImage large = LargeImage(size, format);
        QCOMPARE(large.size(), ordinary.size());
        QCOMPARE(large.format(), ordinary.format());
        QCOMPARE(large.bytesPerLine(), ordinary.bytesPerLine());
        QCOMPARE(large.sizeInBytes(), ordinary.sizeInBytes());
        if (large.isNull()) {
            return;
        }
        // Every byte can be written (the sanitizer build checks the bounds) and reads back.
        large.fill(qRgb(12, 34, 56));
        const QPoint last(size.width() - 1, size.height() - 1);
        QCOMPARE(large.pixel(last), qRgb(12, 34, 56));
        QCOMPARE(large.pixel(0, 0), qRgb(12, 34, 56));
    }
};

MIRELVA_TEST(TstLargeImage)
#include "large_image.moc"
