#include "symbols/SymbolLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QResource>

namespace {
// emojibase's group of the skin tone and hair swatches, which are no pictures of their own.
constexpr int ComponentGroup = 2;
const QString DataFile = QStringLiteral("it.json");

// Twemoji names its files after the code points, mostly without the variation selector FE0F.
QString PictureName(const QString& hexcode, const QSet<QString>& pictures) {
    const QString name = hexcode.toLower();
    if (pictures.contains(name)) {
        return name;
    }
    const QString bare = QString(name).remove(QStringLiteral("-fe0f"));
    return pictures.contains(bare) ? bare : QString();
}
} // namespace

namespace SymbolLibrary {

QString FindArchive(const QString& programDir) {
    for (const QString& candidate : {programDir + QLatin1Char('/') + ArchiveName,
                                     programDir + QStringLiteral("/../share/mirelva/") + ArchiveName}) {
        if (QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).absoluteFilePath();
        }
    }
    return {};
}

std::vector<Symbol> Open(const QString& archive) {
    static QMutex mutex;
    const QMutexLocker lock(&mutex);
    const QString data = Folder + QLatin1Char('/') + DataFile;
    if (!QFile::exists(data) && (archive.isEmpty() || !QResource::registerResource(archive))) {
        return {};
    }
    QFile file(data);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QSet<QString> pictures;
    for (const QString& name : QDir(Folder).entryList({QStringLiteral("*.svg")}, QDir::Files)) {
        pictures.insert(name.chopped(4));
    }
    return FromEmojiData(file.readAll(), pictures, Folder);
}

std::vector<Symbol> FromEmojiData(const QByteArray& json, const QSet<QString>& pictures,
                                  const QString& folder) {
    std::vector<Symbol> symbols;
    const QJsonArray entries = QJsonDocument::fromJson(json).array();
    for (const QJsonValue& value : entries) {
        const QJsonObject entry = value.toObject();
        const QString label = entry.value(QLatin1String("label")).toString().trimmed();
        const QJsonValue group = entry.value(QLatin1String("group"));
        if (label.isEmpty() || !group.isDouble() || group.toInt() == ComponentGroup) {
            continue;
        }
        const QString name = PictureName(entry.value(QLatin1String("hexcode")).toString(), pictures);
        if (name.isEmpty()) {
            continue;
        }
        Symbol symbol;
        symbol.origin = Symbol::Origin::Library;
        symbol.label = label;
        for (const QJsonValue& tag : entry.value(QLatin1String("tags")).toArray()) {
            symbol.tags << tag.toString();
        }
        symbol.file = folder + QLatin1Char('/') + name + QStringLiteral(".svg");
        symbol.key = name;
        symbols.push_back(std::move(symbol));
    }
    return symbols;
}

QString Notice() {
    return QStringLiteral(
        "I simboli sono le immagini di Twemoji (pacchetto npm @twemoji/svg 15.0.0), "
        "© Twitter, Inc. e altri autori, distribuite con licenza Creative Commons "
        "Attribuzione 4.0 (CC-BY 4.0, https://creativecommons.org/licenses/by/4.0/).\n\n"
        "I nomi e le parole chiave italiane vengono da Unicode CLDR attraverso il pacchetto npm "
        "emojibase-data 17.0.0 (licenza MIT; dati CLDR © Unicode, Inc., licenza Unicode, "
        "https://www.unicode.org/license.txt).\n\n"
        "Le immagini scelte vengono copiate nella cartella «immagini» come file BMP su sfondo "
        "bianco e restano sotto la stessa licenza CC-BY 4.0.");
}

} // namespace SymbolLibrary
