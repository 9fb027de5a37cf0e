#include "runtime/PictureFile.h"

#include "config/FileExists.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QImageReader>

QImage LoadPictureFile(const QString& path) {
    const QString name = ResolveFileCase(path);
    if (name.isEmpty()) {
        return {};
    }
    // The decoder reads the file in place; a copy of the whole file in memory
    // made every paint slow, as the heap grew and shrank by megabytes.
    QFile file;
    if (!OpenRegularFile(file, name, MaxPictureFileBytes) || file.size() == 0) {
        return {};
    }
    QImageReader reader(&file);
    // Qt's allocation limit (256 MB by default) refuses pictures with absurd dimensions.
    reader.setDecideFormatFromContent(true);
    return reader.read();
}
