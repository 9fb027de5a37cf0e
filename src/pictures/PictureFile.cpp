#include "pictures/PictureFile.h"

#include "config/FileExists.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {
// The size to decode a picture of `shown` pixels (as turned by its EXIF
// orientation, as the reader reports it and takes a scaled size) at, to be
// drawn at `drawn`; invalid to decode it whole.
QSize DecodeSize(QSize shown, QSize drawn) {
    if (!drawn.isValid() || drawn.isEmpty() || !shown.isValid()) {
        return {};
    }
    const double scale =
        std::max(double(drawn.width()) / shown.width(), double(drawn.height()) / shown.height());
    if (scale >= 1.0) {
        return {};
    }
    return {std::max(1, int(std::ceil(shown.width() * scale))),
            std::max(1, int(std::ceil(shown.height() * scale)))};
}

QString Problem(const QImageReader& reader) {
    switch (reader.error()) {
    case QImageReader::UnsupportedFormatError:
        return QStringLiteral("formato non riconosciuto");
    case QImageReader::InvalidDataError:
        return QStringLiteral("il file è danneggiato o incompleto, oppure l'immagine è troppo grande");
    default:
        return reader.errorString();
    }
}
} // namespace

Result<QImage> ReadPictureFile(const QString& path, QSize drawnSize) {
    const QString name = ResolveFileCase(path);
    // The decoder reads the file in place; a copy of the whole file in memory
    // made every paint slow, as the heap grew and shrank by megabytes.
    QFile file;
    if (name.isEmpty() || !OpenRegularFile(file, name, MaxPictureFileBytes) || file.size() == 0) {
        const QFileInfo info(name);
        return Outcome::Failed(info.isFile() && info.size() > MaxPictureFileBytes
                                   ? QStringLiteral("il file supera i 256 MB")
                                   : QStringLiteral("il file non esiste, è vuoto o non si può leggere"),
                               path);
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    // Qt's allocation limit refuses pictures with absurd dimensions; a photo
    // larger than it is drawn never needs to be decoded whole.
    const QSize scaled = DecodeSize(reader.size(), drawnSize);
    if (scaled.isValid()) {
        reader.setScaledSize(scaled);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return Outcome::Failed(Problem(reader), path);
    }
    return image;
}

QImage LoadPictureFile(const QString& path, QSize drawnSize) {
    Result<QImage> read = ReadPictureFile(path, drawnSize);
    return read ? read.value() : QImage();
}

QList<QImage> LoadPictureFiles(const QStringList& paths, QSize drawnSize) {
    // Each thread writes only the slots it took, of a vector that never reallocates.
    std::vector<QImage> images(std::size_t(paths.size()));
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (qsizetype i = next++; i < paths.size(); i = next++) {
            images[std::size_t(i)] = LoadPictureFile(paths.at(i), drawnSize);
        }
    };
    const int threads = int(std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 8));
    std::vector<std::thread> helpers;
    for (int t = 1; t < std::min<qsizetype>(threads, paths.size()); ++t) {
        helpers.emplace_back(work);
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return QList<QImage>(images.begin(), images.end());
}
