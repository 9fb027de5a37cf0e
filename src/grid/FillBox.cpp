#include "grid/FillBox.h"

#include "grid/GdiShapes.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

void FillBox(QPainter& dc, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
             GdiColor color) {
    const GridRect box = NormalizedRect({left, top, right, bottom});
    const QPaintDevice* device = dc.device();
    if (device == nullptr) {
        return;
    }
    // Clipped to the device first, so that far-off coordinates cannot overflow the size.
    const std::int64_t x0 = std::max<std::int64_t>(box.Left, 0);
    const std::int64_t y0 = std::max<std::int64_t>(box.Top, 0);
    const std::int64_t x1 = std::min<std::int64_t>(box.Right, device->width());
    const std::int64_t y1 = std::min<std::int64_t>(box.Bottom, device->height());
    if (x1 <= x0 || y1 <= y0) {
        return;
    }
    dc.save();
    dc.setCompositionMode(QPainter::CompositionMode_SourceOver);
    dc.fillRect(QRect(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                      static_cast<int>(y1 - y0)),
                QColorFromGdiColor(color));
    dc.restore();
}
