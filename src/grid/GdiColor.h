#pragma once

#include <QColor>
#include <QRgb>

#include <cstdint>

// Colours travel through the program as 32-bit values laid out 0x00BBGGRR (red in the
// low byte), the way layouts and the table's options give them. The high byte carries
// no colour and is ignored.
using GdiColor = std::uint32_t;

inline QRgb RgbFromGdiColor(GdiColor color) {
    return qRgb(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                static_cast<int>((color >> 16) & 0xFFu));
}

inline QColor QColorFromGdiColor(GdiColor color) {
    return QColor(RgbFromGdiColor(color));
}
