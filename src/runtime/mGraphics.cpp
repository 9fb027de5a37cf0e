#include "runtime/mGraphics.h"

#include <QPainter>

namespace mGraphics {

float Percentage(float p, float total) {
    return total / 100.0f * p;
}

QFont FontMaker(const QString& name, double size, bool bold, bool italic, bool underline,
                bool strikethrough) {
    QFont font(name);
    font.setPointSizeF(size > 0 ? size : 1.0);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikethrough);
    return font;
}

void TextBox(QPainter& dc, const QString& text, int left, int top, int right, int bottom,
             TextAlign alignment) {
    const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
    Qt::Alignment align = Qt::AlignLeft;
    if (alignment == TextAlign::Centre) {
        align = Qt::AlignHCenter;
    } else if (alignment == TextAlign::Right) {
        align = Qt::AlignRight;
    }
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    dc.save();
    dc.setClipRect(box);
    dc.drawText(box, int(align | Qt::AlignTop) | Qt::TextWordWrap | Qt::TextExpandTabs, lines);
    dc.restore();
}

QImage KeyedOut(const QImage& picture, QRgb key) {
    // Premultiplied: the painter draws it without converting it first.
    QImage keyed = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb keyOpaque = key | 0xFF000000u;
    for (int row = 0; row < keyed.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(row));
        for (int col = 0; col < keyed.width(); ++col) {
            if ((line[col] | 0xFF000000u) == keyOpaque) {
                line[col] = 0;
            }
        }
    }
    return keyed;
}

void TransparentPicture(QPainter& dc, const QImage& picture, int x, int y, QRgb key) {
    if (!picture.isNull()) {
        dc.drawImage(x, y, KeyedOut(picture, key));
    }
}

} // namespace mGraphics
