#pragma once

#include "config/CINIFile.h"
#include "obf/ZipWriter.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <utility>

// Builders of Open Board files for the import and export tests.
namespace ObfFixtures {
using Entries = QList<std::pair<QString, QByteArray>>;

// What a layout file names, key by key (paths as written) and per function key.
struct LayoutFile {
    QStringList texts;
    QStringList pictures;
    QStringList sounds;
    QStringList functionKeys;
};

inline LayoutFile ReadLayout(const QString& path) {
    CINIFile ini;
    ini.SetFile(path);
    const auto read = [&ini](const char* section, const QString& key) {
        ini.SetSection(section);
        return ini.Values(key);
    };
    LayoutFile layout;
    for (int k = 1, keys = read("Impostazioni", "Tasti").toInt(); k <= keys; ++k) {
        layout.texts << read("Sezione Testo", QString("Testo%1").arg(k));
        layout.pictures << read("Sezione Immagini", QString("Immagine%1").arg(k));
        layout.sounds << read("Sezione Sonoro", QString("Sonoro%1").arg(k));
    }
    for (int f = 1; f <= 12; ++f) {
        layout.functionKeys << read("Tasti Funzione", QString("F%1").arg(f));
    }
    return layout;
}

inline QByteArray Json(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A board whose buttons are taken in their own order (no grid).
inline QJsonObject Board(const QString& id, const QJsonArray& buttons, const QJsonArray& images = {},
                         const QJsonArray& sounds = {}) {
    return {{"format", "open-board-0.1"}, {"id", id},         {"name", id},
            {"buttons", buttons},         {"images", images}, {"sounds", sounds}};
}

inline QJsonObject Button(const QString& id, const QString& label, QJsonObject extra = {}) {
    extra.insert("id", id);
    extra.insert("label", label);
    return extra;
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
    QFile file(dir.filePath("set.obz"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A set whose root board is boards/root.obf.
inline QByteArray Set(const QJsonObject& root, Entries more = {}) {
    more.prepend({"boards/root.obf", Json(root)});
    more.prepend({"manifest.json", Json({{"format", "open-board-0.1"}, {"root", "boards/root.obf"}})});
    return Zip(more);
}

// A second of a 440 Hz tone in the format the extension names, made by sox.
inline QByteArray Tone(const QString& extension) {
    QTemporaryDir dir;
    const QString path = dir.filePath("tone." + extension);
    QProcess::execute("sox", {"-n", "-r", "22050", "-c", "1", path, "synth", "1", "sine", "440"});
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A picture of two colours, left and right, so that a decoded copy can be told from a blank one.
inline QByteArray TwoColours(QColor left, QColor right, const char* format) {
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(left);
    for (int y = 0; y < 40; ++y) {
        for (int x = 20; x < 40; ++x) {
            image.setPixelColor(x, y, right);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return bytes;
}
} // namespace ObfFixtures
