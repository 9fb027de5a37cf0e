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

// PNG, JPEG, GIF, BMP and SVG pictures: JPEG, GIF and opaque PNG are kept as
// they are, SVG is drawn at 256 px on white, the rest becomes a PNG on white
// (the table draws pictures with a bitwise AND, where transparent is black).
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

// One picture or sound to convert, or one label to draw as a picture; jobs
// share nothing, so that many run at once on threads of their own.
struct MediaJob {
    enum class Kind { Picture, Sound, Label };
    Kind kind = Kind::Picture;
    QByteArray bytes; // a picture's or sound's
    QString type;     // a picture's content type
    QString label;    // the text of a label
    std::optional<ConvertedFile> result;
};
void Convert(MediaJob& job);

// A picture encoded for keeping in a file: PNG, lossless, on white where it was transparent.
QByteArray EncodePng(const QImage& image);
