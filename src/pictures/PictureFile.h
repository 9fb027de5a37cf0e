#pragma once

#include "platform/Outcome.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QSize>
#include <QString>

// Largest picture file a layout may name; bigger files are not read at all.
constexpr qint64 MaxPictureFileBytes = 256LL * 1024 * 1024;

// Reads and decodes the picture file a layout names (the name matched without
// regard to case), turned the way its EXIF orientation says. A picture larger
// than `drawnSize` in both directions is decoded already scaled to the
// smallest size of its own proportions that still covers `drawnSize`, so a
// 50-megapixel phone photo costs a few megabytes, not two hundred; an empty
// size decodes it whole. Anything that is not a regular file (a folder, a
// FIFO, a device such as /dev/zero), a file larger than MaxPictureFileBytes,
// a file that cannot be read and data no decoder understands give a failure
// saying why in Italian. Nothing here blocks or reports.
Result<QImage> ReadPictureFile(const QString& path, QSize drawnSize = QSize());

// The same, with a null image for any failure: the caller leaves that key's cell empty.
QImage LoadPictureFile(const QString& path, QSize drawnSize = QSize());

// LoadPictureFile for each path, on as many threads as the machine has cores
// (a table of phone photos spends its time in the JPEG decoder); the images
// stand at the paths' indexes.
QList<QImage> LoadPictureFiles(const QStringList& paths, QSize drawnSize);
