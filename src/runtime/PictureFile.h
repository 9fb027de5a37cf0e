#pragma once

#include <QImage>
#include <QString>

// Largest picture file a layout may name; bigger files are not read at all.
constexpr qint64 MaxPictureFileBytes = 64LL * 1024 * 1024;

// Reads and decodes the picture file a layout names (the name matched without
// regard to case). Anything that is not a regular file (a folder, a FIFO, a
// device such as /dev/zero), a file larger than MaxPictureFileBytes, a file
// that cannot be read and data no decoder understands give a null image:
// the caller leaves that key's cell empty. Nothing here blocks or reports.
QImage LoadPictureFile(const QString& path);
