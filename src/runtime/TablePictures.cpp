#include "runtime/TablePictures.h"

#include "config/LayoutData.h"
#include "grid/GdiRound.h"
#include "grid/cGriglia.h"
#include "pictures/PictureFile.h"
#include "pictures/StretchAnd.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace {
constexpr QRgb MarkFill = 0xFFFF8C00; // orange
constexpr QRgb MarkEdge = 0xFF202020;
} // namespace

void DrawKeyPictures(QImage& canvas, const cGriglia& grid, const LayoutData& layout, bool keepProportions) {
    const float s = std::min(grid.InnerWidth(), grid.InnerHeight());
    const float w = grid.InnerWidth();
    const float h = grid.InnerHeight();
    const int side = RoundHalfEven(s);
    if (side <= 0) {
        return;
    }
    const QList<QImage> pictures = LoadPictureFiles(layout.PicturePaths, QSize(side, side));
    int k = 0;
    for (std::int32_t r = 0; r <= grid.LastRow(); ++r) {
        for (std::int32_t c = 0; c <= grid.LastCol(); ++c) {
            ++k;
            const float left = grid.CellCoord(r, c, 1);
            const float top = grid.CellCoord(r, c, 2);
            const QRect square(RoundHalfEven(left + (w - s) / 2), RoundHalfEven(top + (h - s) / 2), side,
                               side);
            const QImage picture = pictures.value(k);
            QRect drawn = square;
            if (!picture.isNull()) {
                drawn = keepProportions ? FitInto(picture.size(), square) : square;
                StretchAndInto(canvas, picture, drawn);
            }
            if (!layout.LinkPaths.value(k).isEmpty()) {
                DrawLinkMark(canvas, drawn);
            }
        }
    }
}

QRect LinkMarkArea(const QRect& picture) {
    const int m = std::clamp(std::min(picture.width(), picture.height()) / 5, 10, 48);
    return {picture.right() - m + 1, picture.top(), m, m};
}

void DrawLinkMark(QImage& canvas, const QRect& picture) {
    const QRect a = LinkMarkArea(picture);
    QPainter p(&canvas);
    p.setPen(QPen(QColor::fromRgb(MarkEdge), 2));
    p.setBrush(QColor::fromRgb(MarkFill));
    p.drawPolygon(QPolygon({a.topLeft(), a.topRight(), a.bottomRight()}));
}
