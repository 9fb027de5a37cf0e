#include "pictures/StretchAnd.h"

#include <QRect>

#include <algorithm>
#include <array>
#include <vector>

namespace {
// A premultiplied pixel drawn onto white: white shows through by what the
// pixel leaves uncovered, 255 - alpha on every channel.
QRgb OverWhite(QRgb premultiplied) {
    const int uncovered = 255 - qAlpha(premultiplied);
    return qRgb(qRed(premultiplied) + uncovered, qGreen(premultiplied) + uncovered,
                qBlue(premultiplied) + uncovered);
}

// Which source pixel each pixel of a run of `length`, starting `offset` into
// a square side of `side`, takes from a source of `sourceLength` pixels: the
// one under its centre, stepped in 16.16 fixed point exactly as the painter's
// own scaling steps, so that the table looks as it did when drawn by it.
std::vector<int> Samples(int offset, int length, int side, int sourceLength) {
    const auto step = quint32(65536.0 / (double(side) / double(sourceLength)));
    std::vector<int> at(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        const quint64 position = step / 2 + quint64(offset + i) * step;
        at[size_t(i)] = std::min(int(position >> 16), sourceLength - 1);
    }
    return at;
}
} // namespace

void StretchAndInto(QImage& canvas, const QImage& picture, int left, int top, int side) {
    StretchAndInto(canvas, picture, QRect(left, top, side, side));
}

QRect FitInto(QSize size, const QRect& square) {
    if (size.isEmpty() || square.isEmpty()) {
        return {};
    }
    const QSize fitted = size.scaled(square.size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return {square.left() + (square.width() - fitted.width()) / 2,
            square.top() + (square.height() - fitted.height()) / 2, fitted.width(), fitted.height()};
}

void StretchAndInto(QImage& canvas, const QImage& picture, const QRect& target) {
    const int left = target.left();
    const int top = target.top();
    if (picture.isNull() || target.isEmpty()) {
        return;
    }
    if (canvas.format() != QImage::Format_RGB32) {
        canvas.convertTo(QImage::Format_RGB32);
    }
    const QRect area = target.intersected(canvas.rect());
    if (area.isEmpty()) {
        return;
    }
    // Indexed pictures (GIF) are read through their colour table; the three
    // formats the decoders give directly are read as they are; anything else
    // is converted once.
    const QImage::Format format = picture.format();
    const bool direct = format == QImage::Format_Indexed8 || format == QImage::Format_RGB32 ||
                        format == QImage::Format_ARGB32_Premultiplied;
    const QImage source = direct ? picture : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::array<QRgb, 256> palette{};
    if (format == QImage::Format_Indexed8) {
        palette.fill(qRgb(255, 255, 255)); // an index beyond the table: nothing drawn
        const QList<QRgb> table = source.colorTable();
        for (qsizetype i = 0; i < table.size() && i < qsizetype(palette.size()); ++i) {
            palette[size_t(i)] = OverWhite(qPremultiply(table[i]));
        }
    }
    const std::vector<int> columns =
        Samples(area.left() - left, area.width(), target.width(), source.width());
    const std::vector<int> rows = Samples(area.top() - top, area.height(), target.height(), source.height());
    for (int r = 0; r < area.height(); ++r) {
        auto* to = reinterpret_cast<QRgb*>(canvas.scanLine(area.top() + r)) + area.left();
        const uchar* line = source.constScanLine(rows[size_t(r)]);
        if (format == QImage::Format_Indexed8) {
            for (size_t i = 0; i < columns.size(); ++i) {
                to[i] &= palette[line[columns[i]]];
            }
        } else if (format == QImage::Format_RGB32) {
            const auto* from = reinterpret_cast<const QRgb*>(line);
            for (size_t i = 0; i < columns.size(); ++i) {
                to[i] &= from[columns[i]] | 0xFF000000u;
            }
        } else {
            const auto* from = reinterpret_cast<const QRgb*>(line);
            for (size_t i = 0; i < columns.size(); ++i) {
                to[i] &= OverWhite(from[columns[i]]);
            }
        }
    }
}
