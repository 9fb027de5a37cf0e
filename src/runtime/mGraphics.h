#pragma once

#include <QFont>
#include <QImage>
#include <QRgb>
#include <QString>

class QPainter;

// Drawing routines of the intro screen, on the runtime window's canvas.
namespace mGraphics {
// Alignment of a text box.
enum class TextAlign { Left = 0, Centre = 1, Right = 2 };

// total / 100 * p, as a 32-bit float.
float Percentage(float p, float total);

// A font of that family and size in points (the canvas counts 96 dots per inch).
QFont FontMaker(const QString& name, double size, bool bold, bool italic, bool underline, bool strikethrough);

// Draws the text inside the rectangle (right and bottom excluded) with the
// painter's font and pen: from the top, words wrapped, tabs expanded, CR LF
// breaking lines, clipped to the rectangle, background left as it is.
void TextBox(QPainter& dc, const QString& text, int left, int top, int right, int bottom,
             TextAlign alignment);

// Copies the picture at its own size to (x, y), leaving out every pixel of the key colour.
void TransparentPicture(QPainter& dc, const QImage& picture, int x, int y, QRgb key);
// The picture with every pixel of the key colour made transparent, ready to
// be drawn many times (TransparentPicture draws it once).
QImage KeyedOut(const QImage& picture, QRgb key);
} // namespace mGraphics
