#include "pictures/KeyPictures.h"

#include "grid/GdiRound.h"
#include "grid/cGriglia.h"
#include "pictures/StretchAnd.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace {
constexpr QRgb MarkFill = 0xFFFF8C00; // orange
constexpr QRgb MarkEdge = 0xFF202020;
} // namespace

int KeyPictureSide(const cGriglia& grid) {
    return RoundHalfEven(std::min(grid.InnerWidth(), grid.InnerHeight()));
}

QRect KeyPictureSquare(const cGriglia& grid, int r, int c) {
    const float s = std::min(grid.InnerWidth(), grid.InnerHeight());
    const float left = grid.CellCoord(r, c, 1);
    const float top = grid.CellCoord(r, c, 2);
    const int side = RoundHalfEven(s);
    return QRect(RoundHalfEven(left + (grid.InnerWidth() - s) / 2),
                 RoundHalfEven(top + (grid.InnerHeight() - s) / 2), side, side);
}

void DrawKeyPictureImages(QImage& canvas, const cGriglia& grid, const QList<QImage>& pictures,
                          bool keepProportions, const QList<bool>& linked) {
    if (KeyPictureSide(grid) <= 0) {
        return;
    }
    int k = 0;
    for (int r = 0; r <= grid.LastRow(); ++r) {
        for (int c = 0; c <= grid.LastCol(); ++c) {
            ++k;
            const QImage picture = pictures.value(k);
            QRect drawn = KeyPictureSquare(grid, r, c);
            if (!picture.isNull()) {
                if (keepProportions) {
                    drawn = FitInto(picture.size(), drawn);
                }
                StretchAndInto(canvas, picture, drawn);
            }
            if (linked.value(k)) {
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
