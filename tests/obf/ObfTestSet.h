#pragma once

// Open Board sets built in memory for the import tests, and how to look at what an import made.
#include "audio/WavSource.h"
#include "config/LayoutReader.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestSupport.h"
#include "obf/IImportProgress.h"
#include "obf/ObfCommands.h"
#include "obf/ZipWriter.h"
#include "pictures/PictureFile.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <vector>

namespace ObfTestSet {
using TestSupport::readFile;
using Entries = QList<std::pair<QString, QByteArray>>;

// A layout as the table loads it with the program's own reader (every picture
// and sound found, no message); a refused one has no keys.
inline LayoutData Load(const QString& folder, const QString& layout) {
    if (!ActivateLayout(folder, layout)) {
        return LayoutData{};
    }
    RecordingMessages messages;
    LayoutData data;
    return LayoutReader(folder, messages, data).ReadLayout() || !messages.shown.isEmpty() ? LayoutData{}
                                                                                          : data;
}

inline QByteArray Json(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A board whose buttons are taken in their own order (no grid).
inline QJsonObject Board(const QJsonArray& buttons, const QJsonArray& images = {},
                         const QJsonArray& sounds = {}) {
    return {{"id", "b"}, {"buttons", buttons}, {"images", images}, {"sounds", sounds}};
}

inline QJsonObject Button(const QString& label, QJsonObject extra = {}) {
    extra.insert("id", label);
    extra.insert("label", label);
    return extra;
}

inline QJsonObject Link(const QString& path) {
    return {{"load_board", QJsonObject{{"path", path}}}};
}

// A media entry carrying its bytes as a data URL.
inline QJsonObject Media(const QString& id, const QString& type, const QByteArray& bytes) {
    return {{"id", id}, {"data", "data:" + type + ";base64," + QString::fromLatin1(bytes.toBase64())}};
}

inline QByteArray Zip(const Entries& entries) {
    QTemporaryDir dir;
    ZipWriter zip;
    zip.start(dir.filePath("set.obz"));
    for (const auto& [name, bytes] : entries) {
        zip.add(name, bytes);
    }
    zip.finish();
    return readFile(dir.filePath("set.obz"));
}

// A set whose root board is boards/root.obf.
inline QByteArray Set(const QJsonObject& root, const Entries& more = {}) {
    const Entries set{{"manifest.json", Json({{"root", "boards/root.obf"}})},
                      {"boards/root.obf", Json(root)}};
    return Zip(set + more);
}

inline std::vector<qint16> Samples(const QString& path) {
    std::vector<qint16> samples;
    DecodeWav(readFile(path), AudioFormat{22050, 1}, [&samples](std::span<const qint16> piece) {
        samples.insert(samples.end(), piece.begin(), piece.end());
    });
    return samples;
}

inline QImage Picture(const QString& path) {
    return LoadPictureFile(path).convertToFormat(QImage::Format_RGB32);
}

// A progress that asks to stop after `stopAfter` reports.
struct ScriptedProgress : IImportProgress {
    int stopAfter = 1 << 30;
    int reports = 0;
    void advanced(int, int, int, int) override { ++reports; }
    void boardDone(const QString&, int) override {}
    void finished() override {}
    bool cancelled() override { return reports >= stopAfter; }
};

inline QByteArray Png(const QImage& image) {
    return TestSupport::encoded(image, "PNG");
}

inline QByteArray Manifest(const QStringList& boards) {
    QJsonObject paths;
    for (const QString& board : boards) {
        paths.insert(board, board);
    }
    return Json({{"root", "boards/root.obf"}, {"paths", QJsonObject{{"boards", paths}}}});
}
} // namespace ObfTestSet
