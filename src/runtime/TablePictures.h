#pragma once

#include <QImage>
#include <QRect>

class cGriglia;
struct LayoutData;

// Draws the keys' pictures on the table: each stretched into the square
// centred in its cell (or fitted into it, proportions kept) and ANDed onto
// the canvas. A picture that cannot be read or decoded leaves its cell
// empty. A key that opens another layout gets the link mark over the
// picture's top right corner, also when its picture is missing.
void DrawKeyPictures(QImage& canvas, const cGriglia& grid, const LayoutData& layout, bool keepProportions);

// The link mark: a folded corner over the top right corner of `picture`,
// orange with a dark edge, so that it shows on light and dark pictures alike.
// Only the triangle above the square's diagonal is painted.
QRect LinkMarkArea(const QRect& picture);
void DrawLinkMark(QImage& canvas, const QRect& picture);
