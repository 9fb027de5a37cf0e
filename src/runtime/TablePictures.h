#pragma once

#include "pictures/KeyPictures.h"

#include <QImage>

class cGriglia;
struct LayoutData;

// Draws the keys' pictures of `layout` on the table, read from their files at
// the size they are drawn (see DrawKeyPictureImages); a key that opens
// another layout gets the link mark.
void DrawKeyPictures(QImage& canvas, const cGriglia& grid, const LayoutData& layout, bool keepProportions);
