#pragma once

#include "symbols/Symbol.h"

#include <QImage>
#include <QSize>
#include <QString>

// Turns a chosen symbol into a picture file the table draws well. The table
// stretches every picture into a square and ANDs it onto its white cells, so
// a written picture is square (the symbol centred with its proportions kept),
// has no transparency (transparent parts become white: black would show), is
// stored losslessly as BMP, and is large enough for the biggest key the
// table ever draws, so it never has to be enlarged.
namespace SymbolPicture {

// The side of the picture for a screen: the square of a one-key table on it
// (the window less the grid's 1-pixel edge and 10-pixel spacing), at least
// 256 and at most 2048 pixels.
int SideFor(QSize screen);

// The picture of a library symbol or a picture file of any kind Qt reads
// (GIF, JPEG, BMP, PNG, SVG ...), no larger than `side` on either side;
// a larger picture is decoded at that size. Null for anything that is not a
// readable regular picture file: a FIFO, a device, a folder, a file over
// 64 MB or bytes no decoder takes. Never waits on a file.
QImage Read(const QString& file, int side);

// `picture` centred on a white square of `side` pixels, scaled to fill it
// along its longer side; transparent parts become white.
QImage OnWhiteSquare(const QImage& picture, int side);

// A white square with `word` in large black letters, for a key whose word
// found no symbol.
QImage WordPicture(const QString& word, int side);

// True when the table draws the file as it is: a GIF, BMP or JPEG picture
// (by its content, whatever its name says).
bool TableDraws(const QString& file);

struct Placed {
    QString path;  // the picture file to name in the layout; empty on failure
    QString error; // in Italian, when it failed
};

// The picture file for a symbol in `folder` (the data folder's immagini):
// a picture the table draws as it is keeps its own path; anything else is
// written once as `<name>.bmp`, where the name comes from the symbol's key,
// so choosing the same symbol again gives the file already written.
Placed Place(const Symbol& symbol, const QString& folder, int side);

// The picture file showing `word` in `folder`, written once per word; an
// empty word gives the one white picture of keys that show nothing.
Placed PlaceWord(const QString& word, const QString& folder, int side);

} // namespace SymbolPicture
