#pragma once

#include "grid/GdiColor.h"
#include "grid/GridRect.h"

#include <cstdint>

class QImage;

// The GDI drawing effects the table relies on, reproduced pixel for pixel on a canvas.

// Pen of a rectangle outline. Styles: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
// (patterns apply to 1-pixel pens only; wider pens are solid), 5 none, 6 inside the frame.
// Width 0 draws 1 pixel.
struct GdiPen {
    std::int32_t Style = 0;
    std::int32_t Width = 1;
    GdiColor Color = 0;
};

// Brush of a rectangle's inside. Styles: 0 solid, 1 hollow, 2 hatched (hatch 0 horizontal,
// 1 vertical, 2 falling diagonal, 3 rising diagonal, 4 cross, 5 diagonal cross); any other
// style paints nothing, as there is no pattern bitmap to take.
struct GdiBrush {
    std::int32_t Style = 1;
    std::int32_t Hatch = 0;
    GdiColor Color = 0;
};

// The rectangle with Left <= Right and Top <= Bottom.
GridRect NormalizedRect(const GridRect& rect);

// Inverts every other pixel (those with an even x + y) of the 1-pixel outline of the
// rectangle, which covers columns Left and Right - 1 and rows Top and Bottom - 1. The
// pattern is tied to the canvas, so drawing the same frame twice restores every pixel.
void DrawFocusRect(QImage& canvas, const GridRect& rect);

// A GDI rectangle: the brush fills the inside (up to Right - 2 and Bottom - 2), then the
// pen strokes the outline through the pixel centres of columns Left and Right - 1 and rows
// Top and Bottom - 1. A wide pen is centred on that outline (the odd pixel of an even
// width lies left of it or above it) and turns the corners round.
void DrawGdiRectangle(QImage& canvas, const GridRect& rect, const GdiPen& pen, const GdiBrush& brush);
