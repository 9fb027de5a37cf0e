#include "runtime/PlainBitmap.h"

#include <QFile>
#include <QtEndian>

#include <cstdint>
#include <cstring>

namespace {
constexpr qsizetype FileHeaderSize = 14;
constexpr quint32 InfoHeaderSize = 40;
constexpr quint32 BiRgb = 0;
// Far beyond any bitmap of ours; keeps the arithmetic below in range.
constexpr qint64 MaxSide = 1 << 15;

quint32 U32(const QByteArray& b, qsizetype at) {
    quint32 v = 0;
    std::memcpy(&v, b.constData() + at, sizeof v);
    return qFromLittleEndian(v);
}
quint16 U16(const QByteArray& b, qsizetype at) {
    quint16 v = 0;
    std::memcpy(&v, b.constData() + at, sizeof v);
    return qFromLittleEndian(v);
}
} // namespace

QImage DecodePlainBitmap(const QByteArray& bytes) {
    if (bytes.size() < FileHeaderSize + InfoHeaderSize || !bytes.startsWith("BM")) {
        return {};
    }
    const qint64 pixelsAt = U32(bytes, 10);
    const quint32 headerSize = U32(bytes, 14);
    const qint64 width = qint32(U32(bytes, 18));
    const qint64 signedHeight = qint32(U32(bytes, 22));
    const quint16 planes = U16(bytes, 26);
    const quint16 bits = U16(bytes, 28);
    const quint32 compression = U32(bytes, 30);
    const qint64 height = signedHeight < 0 ? -signedHeight : signedHeight;
    if (headerSize < InfoHeaderSize || planes != 1 || compression != BiRgb || (bits != 24 && bits != 32) ||
        width <= 0 || height <= 0 || width > MaxSide || height > MaxSide) {
        return {};
    }
    const qint64 bytesPerPixel = bits / 8;
    const qint64 stride = (width * bytesPerPixel + 3) / 4 * 4;
    if (pixelsAt < FileHeaderSize + headerSize || pixelsAt + stride * height > bytes.size()) {
        return {};
    }
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    const bool bottomUp = signedHeight > 0;
    for (qint64 y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const uchar*>(bytes.constData() + pixelsAt +
                                                          stride * (bottomUp ? height - 1 - y : y));
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x, from += bytesPerPixel) {
            to[x] = qRgb(from[2], from[1], from[0]); // stored blue, green, red
        }
    }
    return image;
}

QImage LoadBitmap(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    const QImage plain = DecodePlainBitmap(bytes);
    return plain.isNull() ? QImage::fromData(bytes) : plain;
}
