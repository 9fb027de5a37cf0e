#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

// A picture or sound turned into a file the table and the settings window take.
struct ConvertedFile {
    QByteArray bytes;
    QString extension; // without the dot
};

// PNG, JPEG, GIF, BMP and SVG pictures: JPEG and GIF are kept as they are,
// SVG is drawn at 256 px on white, the rest becomes a lossless BMP on white.
// Nothing when the bytes do not decode.
std::optional<ConvertedFile> ConvertPicture(const QByteArray& bytes, const QString& contentType);

// A white picture with the key's label in large letters, for a key whose
// board gives it no picture it can show.
QImage LabelPicture(const QString& label);

// Any sound libsndfile decodes (WAV, MP3, OGG, FLAC ...) as a 16-bit WAV;
// nothing when it does not decode or would last unreasonably long.
std::optional<QByteArray> ConvertSound(const QByteArray& bytes);

// The bytes of a data: URI; nothing when it is malformed or its base64 is broken.
// `contentType` receives the type the URI names.
std::optional<QByteArray> DecodeDataUri(const QString& uri, QString* contentType);

// A picture encoded for keeping in a file: BMP, lossless.
QByteArray EncodeBmp(const QImage& image);
