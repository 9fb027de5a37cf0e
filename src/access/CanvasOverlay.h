#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <vector>

// One mark drawn over the table on the window's canvas (the scanning
// highlight, the dwell progress) that can be taken away again: the pixels
// under it are kept and put back, so the pictures come back exactly as they
// were drawn.
class CanvasOverlay {
public:
    // Takes away the mark shown (if any), then frames `rect` with a band of
    // `width` pixels centred on its edges, in `colour` between dark edges half
    // as wide. Returns the area of the canvas that changed.
    QRect showFrame(QImage& canvas, const QRect& rect, int width, const QColor& colour);
    // Takes away the mark shown, then draws a bar growing along the bottom of `cell`.
    QRect showProgress(QImage& canvas, const QRect& cell, double progress, const QColor& colour);
    // Puts back the pixels under the mark; returns the area that changed.
    QRect remove(QImage& canvas);
    // The canvas was drawn afresh: what was kept no longer belongs to it.
    void forget() { m_saved.clear(); }

private:
    // Keeps the pixels of the area (within the canvas) and returns it.
    QRect keep(QImage& canvas, const QRect& area);

    // Only what a mark covers is kept: a frame's four sides, not the pictures inside.
    struct Piece {
        QPoint at;
        QImage pixels;
    };
    std::vector<Piece> m_saved;
};
