#include "runtime/TablePictures.h"

#include "config/LayoutData.h"
#include "pictures/PictureFile.h"

void DrawKeyPictures(QImage& canvas, const cGriglia& grid, const LayoutData& layout, bool keepProportions) {
    const int side = KeyPictureSide(grid);
    if (side <= 0) {
        return;
    }
    QList<bool> linked;
    for (const QString& target : layout.LinkPaths) {
        linked << !target.isEmpty();
    }
    DrawKeyPictureImages(canvas, grid, LoadPictureFiles(layout.PicturePaths, QSize(side, side)),
                         keepProportions, linked);
}
