#pragma once

#include <QImage>
#include <QSize>

// A new image of `size`, for pictures as large as the screen, in memory the
// kernel may back with huge pages. A full-screen canvas holds 8 MB at
// 1920 x 1080: in 4 KB pages that is over two thousand page faults the first
// time it is painted, which on a virtual machine cost as much as the painting
// itself. The pixels are not set. Smaller images, or memory that cannot be
// had this way, give an ordinary QImage.
QImage LargeImage(QSize size, QImage::Format format);
