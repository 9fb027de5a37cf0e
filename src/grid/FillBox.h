#pragma once

#include "grid/GdiColor.h"

#include <cstdint>

class QPainter;

// Fills a rectangle, outline included, with one colour: the pixels from Left to Right - 1
// and from Top to Bottom - 1, as a GDI rectangle drawn with a 1-pixel pen and a brush of
// the same colour. Corners given in the wrong order are swapped. The painter draws in
// device pixels (no transform); its pen, brush and composition mode are left as they were.
void FillBox(QPainter& dc, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
             GdiColor color);
