#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The intro screen's own bitmaps are plain Windows bitmaps: uncompressed, 24
// or 32 bits per pixel. Reading the first picture through Qt's image reader
// loads every image plugin installed (SVG, GIF, ICO, JPEG: about 3.5 ms),
// which the first screen of the program should not wait for; these are read
// directly instead.

// The picture in `bytes` when it is such a bitmap (BITMAPINFOHEADER or a
// later header, BI_RGB, 24 or 32 bits, rows bottom-up or top-down), as an
// RGB32 image; a null image for anything else, including a truncated file.
QImage DecodePlainBitmap(const QByteArray& bytes);

// The bitmap in the file (a resource path such as ":/bitmaps/101.bmp"):
// decoded directly when it is a plain bitmap, by Qt's image reader otherwise.
QImage LoadBitmap(const QString& path);
