#include "access/CanvasOverlay.h"

#include <QPainter>

#include <algorithm>

namespace {
const QColor Outline(0, 0, 0);
constexpr int OutlineWidth = 2;

// The four sides of a ring of `thickness` pixels inside `outer`.
std::vector<QRect> RingSides(const QRect& outer, int thickness) {
    const QRect inner = outer.adjusted(thickness, thickness, -thickness, -thickness);
    if (inner.width() <= 0 || inner.height() <= 0) {
        return {outer};
    }
    return {QRect(outer.left(), outer.top(), outer.width(), thickness),
            QRect(outer.left(), inner.bottom() + 1, outer.width(), thickness),
            QRect(outer.left(), inner.top(), thickness, inner.height()),
            QRect(inner.right() + 1, inner.top(), thickness, inner.height())};
}
} // namespace

QRect CanvasOverlay::keep(QImage& canvas, const QRect& area) {
    const QRect clipped = area.intersected(canvas.rect());
    if (!clipped.isEmpty()) {
        m_saved.push_back({clipped.topLeft(), canvas.copy(clipped)});
    }
    return clipped;
}

QRect CanvasOverlay::remove(QImage& canvas) {
    QRect changed;
    if (m_saved.empty()) {
        return changed;
    }
    QPainter p(&canvas);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const Piece& piece : m_saved) {
        p.drawImage(piece.at, piece.pixels);
        changed |= QRect(piece.at, piece.pixels.size());
    }
    m_saved.clear();
    return changed;
}

QRect CanvasOverlay::showFrame(QImage& canvas, const QRect& rect, int width, const QColor& colour) {
    QRect changed = remove(canvas);
    const int half = width / 2;
    const QRect band = rect.adjusted(-half, -half, width - half, width - half);
    // Every colour is light: on a dark picture the band stands out, on a light
    // one its dark edges, each half as wide as the band, so that the mark is
    // seen at least as wide as asked for whatever lies under it.
    const int edge = std::max(OutlineWidth, (width + 1) / 2);
    const QRect outer = band.adjusted(-edge, -edge, edge, edge);
    const std::vector<QRect> sides = RingSides(outer, width + 2 * edge);
    for (const QRect& side : sides) {
        changed |= keep(canvas, side);
    }
    QPainter p(&canvas);
    for (const QRect& side : sides) {
        p.fillRect(side, Outline);
    }
    for (const QRect& side : RingSides(band, width)) {
        p.fillRect(side, colour);
    }
    return changed;
}

QRect CanvasOverlay::showProgress(QImage& canvas, const QRect& cell, double progress, const QColor& colour) {
    QRect changed = remove(canvas);
    const int height = std::max(12, cell.height() / 10);
    const int margin = std::max(8, cell.width() / 20);
    const QRect track(cell.left() + margin, cell.bottom() - margin - height, cell.width() - 2 * margin,
                      height);
    changed |= keep(canvas, track);
    QPainter p(&canvas);
    p.fillRect(track, Outline);
    const QRect inside = track.adjusted(OutlineWidth, OutlineWidth, -OutlineWidth, -OutlineWidth);
    const int filled = int(inside.width() * std::clamp(progress, 0.0, 1.0));
    p.fillRect(QRect(inside.left(), inside.top(), filled, inside.height()), colour);
    return changed;
}
