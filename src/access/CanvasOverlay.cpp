#include "access/CanvasOverlay.h"

#include <QPainter>

#include <algorithm>

namespace {
const QColor Outline(0, 0, 0);
constexpr int OutlineWidth = 2;

// A ring of `thickness` pixels inside `outer`.
void FillRing(QPainter& p, const QRect& outer, int thickness, const QColor& colour) {
    const QRect inner = outer.adjusted(thickness, thickness, -thickness, -thickness);
    if (inner.width() <= 0 || inner.height() <= 0) {
        p.fillRect(outer, colour);
        return;
    }
    p.fillRect(QRect(outer.left(), outer.top(), outer.width(), thickness), colour);
    p.fillRect(QRect(outer.left(), inner.bottom() + 1, outer.width(), thickness), colour);
    p.fillRect(QRect(outer.left(), inner.top(), thickness, inner.height()), colour);
    p.fillRect(QRect(inner.right() + 1, inner.top(), thickness, inner.height()), colour);
}
} // namespace

QRect CanvasOverlay::keep(QImage& canvas, const QRect& area) {
    const QRect clipped = area.intersected(canvas.rect());
    m_saved = canvas.copy(clipped);
    m_savedAt = clipped.topLeft();
    return clipped;
}

QRect CanvasOverlay::remove(QImage& canvas) {
    if (m_saved.isNull()) {
        return {};
    }
    const QRect area(m_savedAt, m_saved.size());
    {
        QPainter p(&canvas);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(m_savedAt, m_saved);
    }
    m_saved = QImage();
    return area;
}

QRect CanvasOverlay::showFrame(QImage& canvas, const QRect& rect, int width, const QColor& colour) {
    const QRect removed = remove(canvas);
    const int half = width / 2;
    const QRect band = rect.adjusted(-half, -half, width - half, width - half);
    const QRect outer = band.adjusted(-OutlineWidth, -OutlineWidth, OutlineWidth, OutlineWidth);
    const QRect changed = keep(canvas, outer);
    QPainter p(&canvas);
    FillRing(p, outer, width + 2 * OutlineWidth, Outline);
    FillRing(p, band, width, colour);
    return changed.united(removed);
}

QRect CanvasOverlay::showProgress(QImage& canvas, const QRect& cell, double progress, const QColor& colour) {
    const QRect removed = remove(canvas);
    const int height = std::max(12, cell.height() / 10);
    const int margin = std::max(8, cell.width() / 20);
    const QRect track(cell.left() + margin, cell.bottom() - margin - height, cell.width() - 2 * margin,
                      height);
    const QRect changed = keep(canvas, track);
    QPainter p(&canvas);
    p.fillRect(track, Outline);
    const QRect inside = track.adjusted(OutlineWidth, OutlineWidth, -OutlineWidth, -OutlineWidth);
    const int filled = int(inside.width() * std::clamp(progress, 0.0, 1.0));
    p.fillRect(QRect(inside.left(), inside.top(), filled, inside.height()), colour);
    return changed.united(removed);
}
