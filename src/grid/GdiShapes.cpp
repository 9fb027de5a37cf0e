#include "grid/GdiShapes.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <array>
#include <span>
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

void FillInside(QPainter& p, const QImage& canvas, const GridRect& box, const GdiBrush& brush) {
    const Span inside{box.Left, box.Top, Coord{box.Right} - 2, Coord{box.Bottom} - 2};
    if (brush.Style == 0) {
        FillSpan(p, canvas, inside, QColorFromGdiColor(brush.Color));
        return;
    }
    if (brush.Style != 2) {
        return;
    }
    static constexpr std::array<Qt::BrushStyle, 6> hatches{Qt::HorPattern,   Qt::VerPattern,
                                                           Qt::FDiagPattern, Qt::BDiagPattern,
                                                           Qt::CrossPattern, Qt::DiagCrossPattern};
    const auto index = static_cast<std::size_t>(std::clamp(brush.Hatch, 0, 5));
    const Coord x0 = std::max<Coord>(inside.x0, 0);
    const Coord y0 = std::max<Coord>(inside.y0, 0);
    const Coord x1 = std::min<Coord>(inside.x1, canvas.width() - 1);
    const Coord y1 = std::min<Coord>(inside.y1, canvas.height() - 1);
    if (x0 <= x1 && y0 <= y1) {
        p.fillRect(QRect(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0 + 1),
                         static_cast<int>(y1 - y0 + 1)),
                   QBrush(QColorFromGdiColor(brush.Color), hatches[index]));
    }
}

// Cosmetic 1-pixel pens with a pattern: the pattern runs clockwise round the outline from
// the top-left corner, on and off lengths alternating.
std::span<const int> DashPattern(std::int32_t style) {
    static constexpr std::array<int, 2> dash{18, 6};
    static constexpr std::array<int, 2> dot{3, 3};
    static constexpr std::array<int, 4> dashDot{9, 6, 3, 6};
    static constexpr std::array<int, 6> dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
    case 1:
        return dash;
    case 2:
        return dot;
    case 3:
        return dashDot;
    case 4:
        return dashDotDot;
    default:
        return {};
    }
}

bool DashOn(std::span<const int> pattern, Coord position) {
    Coord period = 0;
    for (int length : pattern) {
        period += length;
    }
    Coord at = position % period;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (at < pattern[i]) {
            return i % 2 == 0;
        }
        at -= pattern[i];
    }
    return false;
}

void StrokeDashed(QPainter& p, const QImage& canvas, const GridRect& box, std::span<const int> pattern,
                  const QColor& color) {
    const Coord l = box.Left;
    const Coord t = box.Top;
    const Coord r = Coord{box.Right} - 1;
    const Coord b = Coord{box.Bottom} - 1;
    // The four sides as (start, step) walks, each with its distance from the top-left corner.
    struct Side {
        Coord x, y, dx, dy, length, start;
    };
    const Coord w = r - l;
    const Coord h = b - t;
    const std::array<Side, 4> sides{{
        {l, t, 1, 0, w + 1, 0},
        {r, t + 1, 0, 1, h, w + 1},
        {r - 1, b, -1, 0, h > 0 ? w : 0, w + 1 + h},
        {l, b - 1, 0, -1, (w > 0 && h > 0) ? h - 1 : 0, 2 * w + 1 + h},
    }};
    const QRect bounds = canvas.rect();
    for (const Side& side : sides) {
        // Only the part of the side that crosses the canvas is walked.
        Coord first = 0;
        Coord last = side.length - 1;
        if (side.dx != 0) {
            const Coord a = (bounds.left() - side.x) * side.dx;
            const Coord z = (bounds.right() - side.x) * side.dx;
            first = std::max(first, std::min(a, z));
            last = std::min(last, std::max(a, z));
        } else {
            const Coord a = (bounds.top() - side.y) * side.dy;
            const Coord z = (bounds.bottom() - side.y) * side.dy;
            first = std::max(first, std::min(a, z));
            last = std::min(last, std::max(a, z));
        }
        for (Coord i = first; i <= last; ++i) {
            if (DashOn(pattern, side.start + i)) {
                const Coord x = side.x + side.dx * i;
                const Coord y = side.y + side.dy * i;
                FillSpan(p, canvas, {x, y, x, y}, color);
            }
        }
    }
}

void StrokeWide(QPainter& p, const QImage& canvas, const GridRect& box, const GdiPen& pen, Coord width) {
    const QColor color = QColorFromGdiColor(pen.Color);
    const Coord lo = width / 2;      // reach to the left of and above the outline
    const Coord hi = width - 1 - lo; // reach to the right of and below it
    Coord l = box.Left;
    Coord t = box.Top;
    Coord r = Coord{box.Right} - 1;
    Coord b = Coord{box.Bottom} - 1;
    Span limit{0, 0, canvas.width() - 1, canvas.height() - 1};
    if (pen.Style == 6) {
        // Inside frame: the outline moves in so that the whole pen stays within the box.
        l += lo;
        t += lo;
        r = std::max(l, r - hi);
        b = std::max(t, b - hi);
        limit = {std::max<Coord>(limit.x0, box.Left), std::max<Coord>(limit.y0, box.Top),
                 std::min<Coord>(limit.x1, Coord{box.Right} - 1),
                 std::min<Coord>(limit.y1, Coord{box.Bottom} - 1)};
    }
    const auto fill = [&](Span s) {
        FillSpan(p, canvas,
                 {std::max(s.x0, limit.x0), std::max(s.y0, limit.y0), std::min(s.x1, limit.x1),
                  std::min(s.y1, limit.y1)},
                 color);
    };
    fill({l, t - lo, r, t + hi});
    fill({l, b - lo, r, b + hi});
    fill({l - lo, t, l + hi, b});
    fill({r - lo, t, r + hi, b});
    // Round corners: the pixels outside each corner that lie within half the pen width of
    // the corner's centre, one run per row.
    const double radius = static_cast<double>(width) / 2.0;
    for (Coord dy = 1; dy <= std::max(lo, hi); ++dy) {
        const bool above = t - dy >= limit.y0 && t - dy <= limit.y1 && dy <= lo;
        const bool below = b + dy >= limit.y0 && b + dy <= limit.y1 && dy <= hi;
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

void DrawGdiRectangle(QImage& canvas, const GridRect& rect, const GdiPen& pen, const GdiBrush& brush) {
    const GridRect box = NormalizedRect(rect);
    if (box.Right == box.Left || box.Bottom == box.Top || canvas.isNull()) {
        return;
    }
    QPainter p(&canvas);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    FillInside(p, canvas, box, brush);
    if (pen.Style == 5) {
        return;
    }
    // Widths beyond any screen are held to a bound that still covers one.
    const Coord width = std::clamp<Coord>(pen.Width, 1, 1 << 16);
    const std::span<const int> pattern = DashPattern(pen.Style);
    if (width == 1 && !pattern.empty()) {
        StrokeDashed(p, canvas, box, pattern, QColorFromGdiColor(pen.Color));
    } else {
        StrokeWide(p, canvas, box, pen, width);
    }
}
