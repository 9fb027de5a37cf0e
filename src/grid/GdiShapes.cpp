#include "grid/GdiShapes.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Coordinates are widened so that rectangles near the 32-bit limits neither overflow nor
// make the drawing walk billions of pixels outside the canvas.
using Coord = std::int64_t;

struct Span {
    Coord x0, y0, x1, y1; // inclusive
};

// Fills the inclusive span, clipped to the canvas.
void FillSpan(QPainter& p, const QImage& canvas, Span s, const QColor& color) {
    const Coord x0 = std::max<Coord>(s.x0, 0);
    const Coord y0 = std::max<Coord>(s.y0, 0);
    const Coord x1 = std::min<Coord>(s.x1, canvas.width() - 1);
    const Coord y1 = std::min<Coord>(s.y1, canvas.height() - 1);
    if (x0 > x1 || y0 > y1) {
        return;
    }
    p.fillRect(QRect(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0 + 1),
                     static_cast<int>(y1 - y0 + 1)),
               color);
}

void InvertIfDotted(QImage& canvas, Coord x, Coord y) {
    if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height() || ((x + y) & 1) != 0) {
        return;
    }
    auto* line = reinterpret_cast<QRgb*>(canvas.scanLine(static_cast<int>(y)));
    line[x] ^= 0x00FFFFFFu;
}

// Inverts the dotted pixels of a horizontal or vertical run, clipped to the canvas.
void InvertRun(QImage& canvas, Coord x0, Coord y0, Coord x1, Coord y1) {
    x0 = std::max<Coord>(x0, 0);
    y0 = std::max<Coord>(y0, 0);
    x1 = std::min<Coord>(x1, canvas.width() - 1);
    y1 = std::min<Coord>(y1, canvas.height() - 1);
    for (Coord y = y0; y <= y1; ++y) {
        for (Coord x = x0; x <= x1; ++x) {
            InvertIfDotted(canvas, x, y);
        }
    }
}

void StrokeWide(QPainter& p, const QImage& canvas, const GridRect& box, Coord width, const QColor& color) {
    const Coord lo = width / 2;      // reach to the left of and above the outline
    const Coord hi = width - 1 - lo; // reach to the right of and below it
    const Coord l = box.Left;
    const Coord t = box.Top;
    const Coord r = Coord{box.Right} - 1;
    const Coord b = Coord{box.Bottom} - 1;
    const auto fill = [&](Span s) { FillSpan(p, canvas, s, color); };
    fill({l, t - lo, r, t + hi});
    fill({l, b - lo, r, b + hi});
    fill({l - lo, t, l + hi, b});
    fill({r - lo, t, r + hi, b});
    // Round corners: the pixels outside each corner that lie within half the pen width of
    // the corner's centre, one run per row; rows off the canvas are skipped.
    const double radius = static_cast<double>(width) / 2.0;
    const Coord lastRow = canvas.height() - 1;
    for (Coord dy = 1; dy <= std::max(lo, hi); ++dy) {
        const bool above = t - dy >= 0 && t - dy <= lastRow && dy <= lo;
        const bool below = b + dy >= 0 && b + dy <= lastRow && dy <= hi;
        if (!above && !below) {
            continue;
        }
        const double d = static_cast<double>(dy);
        const auto reach = static_cast<Coord>(std::floor(std::sqrt(std::max(0.0, radius * radius - d * d))));
        if (above) {
            fill({l - std::min(reach, lo), t - dy, l - 1, t - dy});
            fill({r + 1, t - dy, r + std::min(reach, hi), t - dy});
        }
        if (below) {
            fill({l - std::min(reach, lo), b + dy, l - 1, b + dy});
            fill({r + 1, b + dy, r + std::min(reach, hi), b + dy});
        }
    }
}

} // namespace

GridRect NormalizedRect(const GridRect& rect) {
    GridRect box = rect;
    if (box.Right < box.Left) {
        std::swap(box.Left, box.Right);
    }
    if (box.Bottom < box.Top) {
        std::swap(box.Top, box.Bottom);
    }
    return box;
}

void DrawFocusRect(QImage& canvas, const GridRect& rect) {
    const GridRect box = NormalizedRect(rect);
    if (box.Right == box.Left || box.Bottom == box.Top || canvas.isNull()) {
        return;
    }
    if (canvas.format() != QImage::Format_RGB32 && canvas.format() != QImage::Format_ARGB32) {
        canvas.convertTo(QImage::Format_RGB32);
    }
    const Coord l = box.Left;
    const Coord t = box.Top;
    const Coord r = Coord{box.Right} - 1;
    const Coord b = Coord{box.Bottom} - 1;
    // Each pixel of the outline is inverted once, also where sides meet or coincide.
    InvertRun(canvas, l, t, r, t);
    if (b > t) {
        InvertRun(canvas, l, b, r, b);
    }
    InvertRun(canvas, l, t + 1, l, b - 1);
    if (r > l) {
        InvertRun(canvas, r, t + 1, r, b - 1);
    }
}

void DrawFrame(QImage& canvas, const GridRect& rect, std::int32_t width, GdiColor color) {
    const GridRect box = NormalizedRect(rect);
    if (box.Right == box.Left || box.Bottom == box.Top || canvas.isNull()) {
        return;
    }
    QPainter p(&canvas);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // Widths beyond any screen are held to a bound that still covers one.
    StrokeWide(p, canvas, box, std::clamp<Coord>(width, 1, 1 << 16), QColorFromGdiColor(color));
}
