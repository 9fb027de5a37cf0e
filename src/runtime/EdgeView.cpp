#include "runtime/EdgeView.h"

#include "pictures/PictureFile.h"
#include "pictures/StretchAnd.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace {
const QColor BarBack(232, 238, 248);
const QColor ItemBack(255, 255, 255);
const QColor ActionBack(214, 226, 246);
const QColor Outline(60, 60, 60);
const QColor TextColour(0, 0, 0);
constexpr int Gap = 10;

// A choosable item: a box with its label, as large as it fits.
void DrawItem(QPainter& p, const QRect& r, const QString& label, const QColor& back) {
    p.setPen(QPen(Outline, 2));
    p.setBrush(back);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 8, 8);
    QFont font = p.font();
    font.setBold(true);
    // As large as a fifth of the item, smaller when a word of the label would not fit its width.
    int size = std::clamp(r.height() / 5, 10, 40);
    const QStringList words = label.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (; size > 8; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        if (std::all_of(words.begin(), words.end(),
                        [&](const QString& w) { return metrics.horizontalAdvance(w) <= r.width() - 14; })) {
            break;
        }
    }
    p.setFont(font);
    p.setPen(TextColour);
    p.drawText(r.adjusted(6, 4, -6, -4), Qt::AlignCenter | Qt::TextWordWrap, label);
}
} // namespace

QRect EdgeView::drawEdges(QImage& canvas, const EdgeLayout& layout, const QList<SentenceItem>& sentence) {
    QRect drawn = drawBar(canvas, layout, sentence);
    if (layout.stripArea().isEmpty()) {
        return drawn;
    }
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(layout.stripArea(), BarBack);
    for (qsizetype i = 0; i < layout.items().size(); ++i) {
        if (layout.items().at(i).kind == EdgeItem::Kind::Layout) {
            DrawItem(p, layout.rects().at(i), layout.items().at(i).label, ItemBack);
        }
    }
    return drawn.united(layout.stripArea());
}

QRect EdgeView::drawBar(QImage& canvas, const EdgeLayout& layout, const QList<SentenceItem>& sentence) {
    if (!layout.hasBar()) {
        return {};
    }
    const QRect area = layout.sentenceArea();
    const int side = area.height();
    const int pictureSide = side * 3 / 4;
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(layout.barArea(), BarBack);
        p.setPen(QPen(Outline, 2));
        p.setBrush(ItemBack);
        p.drawRect(area.adjusted(-4, -4, 4, 4));
        for (qsizetype i = 0; i < layout.items().size(); ++i) {
            if (layout.items().at(i).kind != EdgeItem::Kind::Layout) {
                DrawItem(p, layout.rects().at(i), layout.items().at(i).label, ActionBack);
            }
        }
    }
    // The words from the last one back, as many as fit: the last is always in sight.
    QFont font;
    font.setPixelSize(std::max(10, side - pictureSide - 6));
    const QFontMetrics metrics(font);
    struct Tile {
        QRect rect;
        QString caption;
        QImage image;
    };
    std::vector<Tile> tiles;
    for (qsizetype i = sentence.size() - 1, right = area.right(); i >= 0 && right > area.left(); --i) {
        const QString caption = Sentence::Caption(sentence.at(i));
        const int width = std::max(pictureSide, metrics.horizontalAdvance(caption) + 4);
        tiles.push_back({QRect(int(right) - width + 1, area.top(), width, side), caption,
                         picture(sentence.at(i).picture, pictureSide)});
        right -= width + Gap;
    }
    for (const Tile& tile : tiles) {
        const QRect square(tile.rect.left() + (tile.rect.width() - pictureSide) / 2, tile.rect.top(),
                           pictureSide, pictureSide);
        // A picture cut by the bar's left end is left out; its word still shows what it was.
        if (!tile.image.isNull() && area.contains(square)) {
            StretchAndInto(canvas, tile.image, FitInto(tile.image.size(), square));
        }
    }
    QPainter p(&canvas);
    p.setClipRect(area);
    p.setFont(font);
    p.setPen(TextColour);
    for (const Tile& tile : tiles) {
        const int top = tile.image.isNull() ? 0 : pictureSide;
        p.drawText(tile.rect.adjusted(0, top, 0, 0), Qt::AlignCenter,
                   tile.caption.isEmpty() ? QStringLiteral("\u266A") : tile.caption);
    }
    return layout.barArea();
}

QImage EdgeView::picture(const QString& path, int side) {
    if (path.isEmpty() || side <= 0) {
        return {};
    }
    const QString key = path + QLatin1Char('\n') + QString::number(side);
    const auto found = m_pictures.constFind(key);
    if (found != m_pictures.constEnd()) {
        return *found;
    }
    const QImage image = LoadPictureFile(path, QSize(side, side));
    m_pictures.insert(key, image);
    return image;
}

void EdgeView::DrawPhrases(QImage& canvas, const QList<QRect>& rects, const QStringList& labels) {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    for (qsizetype i = 0; i < rects.size() && i < labels.size(); ++i) {
        DrawItem(p, rects.at(i), labels.at(i), i == 0 ? ActionBack : ItemBack);
    }
}
