#pragma once

#include <QByteArray>
#include <QImage>

// Qt reads GIF but cannot write it, and the benchmark makes its own pictures:
// a small GIF89a encoder (one frame, 256-colour global palette, LZW).
// The image is mapped to the palette of QImage::convertToFormat(Indexed8).
QByteArray EncodeGif(const QImage& image);
