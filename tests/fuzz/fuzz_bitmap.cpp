// Fuzzed code: runtime/PlainBitmap.cpp
#include "FuzzTarget.h"

#include "runtime/PlainBitmap.h"

#include <QImage>

// The intro screen's bitmaps are read by our own decoder; wherever Qt's reader
// decodes the same bytes too, both give the same picture.
MIRELVA_FUZZ_TARGET(bitmap) {
    const QByteArray bytes = data.toByteArray();
    const QImage plain = DecodePlainBitmap(bytes);
    if (plain.isNull()) {
        return;
    }
    FUZZ_CHECK(plain.format() == QImage::Format_RGB32, QString());
    const QImage qt = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
    if (qt.isNull()) {
        return;
    }
    FUZZ_CHECK(plain.size() == qt.size(), QStringLiteral("%1x%2 against Qt's %3x%4")
                                              .arg(plain.width())
                                              .arg(plain.height())
                                              .arg(qt.width())
                                              .arg(qt.height()));
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            FUZZ_CHECK(plain.pixel(x, y) == qt.pixel(x, y), QStringLiteral("pixel %1,%2: %3 against Qt's %4")
                                                                .arg(x)
                                                                .arg(y)
                                                                .arg(plain.pixel(x, y), 8, 16)
                                                                .arg(qt.pixel(x, y), 8, 16));
        }
    }
}
