#include "runtime/PictureFile.h"

#include "audio/WavSource.h"
#include "config/FileExists.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

QImage LoadPictureFile(const QString& path) {
    // Only regular files are read (never waiting on a FIFO or reading a device without end).
    std::optional<QByteArray> bytes = ReadRegularFile(ResolveFileCase(path), MaxPictureFileBytes);
    if (!bytes || bytes->isEmpty()) {
        return {};
    }
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Qt's allocation limit (256 MB by default) refuses pictures with absurd dimensions.
    reader.setDecideFormatFromContent(true);
    return reader.read();
}
