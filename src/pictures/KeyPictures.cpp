#include "pictures/KeyPictures.h"

#include "grid/GdiRound.h"
#include "grid/cGriglia.h"
#include "pictures/StretchAnd.h"

#include <algorithm>

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
                          bool keepProportions) {
    if (KeyPictureSide(grid) <= 0) {
        return;
    }
    int k = 0;
    for (int r = 0; r <= grid.LastRow(); ++r) {
        for (int c = 0; c <= grid.LastCol(); ++c) {
            ++k;
            const QImage picture = pictures.value(k);
            if (picture.isNull()) {
                continue;
            }
            const QRect square = KeyPictureSquare(grid, r, c);
            StretchAndInto(canvas, picture, keepProportions ? FitInto(picture.size(), square) : square);
        }
    }
}
