#pragma once

#include "config/CINIFile.h"
#include "obf/ZipWriter.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
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
    ini.SetSection("Impostazioni");
    LayoutFile layout;
    const auto read = [&ini](const char* section, const QString& key) {
        ini.SetSection(section);
        return ini.Values(key);
    };
    for (int k = 1; k <= ini.Values("Tasti").toInt(); ++k) {
        layout.texts << read("Sezione Testo", QString("Testo%1").arg(k));
        layout.pictures << read("Sezione Immagini", QString("Immagine%1").arg(k));
        layout.sounds << read("Sezione Sonoro", QString("Sonoro%1").arg(k));
        ini.SetSection("Impostazioni");
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

inline QJsonObject Button(const QString& id, const QString& label, const QJsonObject& extra = {}) {
    QJsonObject button = extra;
    button.insert("id", id);
    button.insert("label", label);
    return button;
}

inline QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A picture of two colours, so that a decoded copy can be told from a blank one.
inline QImage TwoColours(int size, QColor left, QColor right) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(left);
    for (int y = 0; y < size; ++y) {
        for (int x = size / 2; x < size; ++x) {
            image.setPixelColor(x, y, right);
        }
    }
    return image;
}

inline QByteArray Zip(const Entries& entries) {
    QTemporaryDir dir;
    const QString path = dir.filePath("set.obz");
    ZipWriter zip;
    zip.start(path);
    for (const auto& [name, bytes] : entries) {
        zip.add(name, bytes);
    }
    zip.finish();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
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

// Every folder and file under the folder, files with a digest of their content.
inline QStringList Snapshot(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isDir()) {
            files << QDir(folder).relativeFilePath(path) + '/';
            continue;
        }
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files << QDir(folder).relativeFilePath(path) + ' ' +
                     QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex();
    }
    files.sort();
    return files;
}
} // namespace ObfFixtures
