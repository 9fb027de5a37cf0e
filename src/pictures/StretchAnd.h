#pragma once

#include <QImage>
#include <QRect>

// Draws `picture` stretched into the square of `side` pixels whose top left
// corner is (left, top) on the canvas, ANDed with what the canvas holds there
// (SRCAND): each canvas pixel keeps only the bits the picture's pixel has
// too, so white parts of a picture leave what is beneath them. Transparent
// parts of the picture count as white, partly transparent ones as blended
// onto white. Each square pixel takes the picture pixel under its centre; the
// proportions of the picture are not kept. What falls outside the canvas is
// left out.
//
// One pass, without an intermediate square and without QPainter: scaling
// through the painter and ANDing afterwards took longer than decoding some
// of the pictures.
void StretchAndInto(QImage& canvas, const QImage& picture, int left, int top, int side);

// The same into any rectangle.
void StretchAndInto(QImage& canvas, const QImage& picture, const QRect& target);

// The rectangle a picture of `size` takes inside `square` when its
// proportions are kept: as large as fits, centred.
QRect FitInto(QSize size, const QRect& square);
