#pragma once

#include <QRect>
#include <QWidget>

#include <cmath>

// The secondary windows are laid out in twips (1440 to the inch), converted
// at the screen's logical resolution: 15 twips are one pixel at 96 dpi.
namespace Twips {
// Halves go to the even neighbour, as every rounding of the program does.
inline int ToPixels(int twips, int dpi) {
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) * dpi / 1440.0));
}

inline QRect ToPixels(const QWidget& widget, int left, int top, int width, int height) {
    const int dpiX = widget.logicalDpiX();
    const int dpiY = widget.logicalDpiY();
    return {ToPixels(left, dpiX), ToPixels(top, dpiY), ToPixels(width, dpiX), ToPixels(height, dpiY)};
}

inline void Place(QWidget& widget, int left, int top, int width, int height) {
    widget.setGeometry(ToPixels(widget, left, top, width, height));
}
} // namespace Twips
