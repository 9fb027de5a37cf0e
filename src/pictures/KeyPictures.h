#pragma once

#include <QImage>
#include <QList>
#include <QRect>

class cGriglia;

// How a table places its keys' pictures, for the table itself and for the
// board editor, which shows a board as the table will.

// The gap between the keys of a table, in pixels, across and down.
inline constexpr int KeySpacing = 10;

// The side of the square a key's picture fills: the smaller side of a cell's inside.
int KeyPictureSide(const cGriglia& grid);

// That square in the cell at row r, column c, centred in the cell's inside.
QRect KeyPictureSquare(const cGriglia& grid, int r, int c);

// Draws `pictures` (key k's at index k; index 0 unused) into their cells on
// the canvas, rows outer and columns inner, ANDed as the table draws them,
// their proportions kept when `keepProportions`. A null picture leaves its
// cell empty. A key marked in `linked` (same indices) opens another layout:
// it gets the link mark over its picture, also when the picture is missing.
void DrawKeyPictureImages(QImage& canvas, const cGriglia& grid, const QList<QImage>& pictures,
                          bool keepProportions, const QList<bool>& linked = {});

// The link mark: a folded corner over the top right corner of `picture`,
// orange with a dark edge, so that it shows on light and dark pictures alike.
// Only the triangle above the square's diagonal is painted.
QRect LinkMarkArea(const QRect& picture);
void DrawLinkMark(QImage& canvas, const QRect& picture);
