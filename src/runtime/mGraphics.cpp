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

void TransparentPicture(QPainter& dc, const QImage& picture, int x, int y, QRgb key) {
    if (picture.isNull()) {
        return;
    }
    QImage copy = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyOpaque = key | 0xFF000000u;
    for (int row = 0; row < copy.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(copy.scanLine(row));
        for (int col = 0; col < copy.width(); ++col) {
            if ((line[col] | 0xFF000000u) == keyOpaque) {
                line[col] = 0;
            }
        }
    }
    dc.drawImage(x, y, copy);
}

} // namespace mGraphics
