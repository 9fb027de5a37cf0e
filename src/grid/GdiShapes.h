#pragma once

#include "grid/GdiColor.h"
#include "grid/GridRect.h"

#include <cstdint>

class QImage;

// The GDI drawing effects the table relies on, reproduced pixel for pixel on a canvas.

// The rectangle with Left <= Right and Top <= Bottom.
GridRect NormalizedRect(const GridRect& rect);

// Inverts every other pixel (those with an even x + y) of the 1-pixel outline of the
// rectangle, which covers columns Left and Right - 1 and rows Top and Bottom - 1. The
// pattern is tied to the canvas, so drawing the same frame twice restores every pixel.
void DrawFocusRect(QImage& canvas, const GridRect& rect);

// The outline of a GDI rectangle drawn with a solid pen of `width` pixels (0 counts as 1)
// and a hollow brush: the pen strokes the outline through the pixel centres of columns
// Left and Right - 1 and rows Top and Bottom - 1, centred on it (the odd pixel of an even
// width lies left of it or above it), and turns the corners round. The inside is left as
// it is.
void DrawFrame(QImage& canvas, const GridRect& rect, std::int32_t width, GdiColor color);
