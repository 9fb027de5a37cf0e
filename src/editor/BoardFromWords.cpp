#include "editor/BoardFromWords.h"

#include "grid/TableShape.h"
#include "symbols/SymbolCatalog.h"

#include <QRegularExpression>

namespace BoardFromWords {

QStringList SplitWords(const QString& text, int* dropped) {
    static const QRegularExpression separators(QStringLiteral("[,;\\r\\n]"));
    QStringList words;
    int extra = 0;
    for (const QString& part : text.split(separators)) {
        const QString word = part.simplified();
        if (word.isEmpty()) {
            continue;
        }
        if (words.size() < MaxWords) {
            words << word;
        } else {
            ++extra;
        }
    }
    if (dropped != nullptr) {
        *dropped = extra;
    }
    return words;
}

std::vector<Key> Propose(const QStringList& words, const SymbolCatalog& catalog) {
    std::vector<Key> keys;
    for (const QString& word : words) {
        keys.push_back({word, catalog.best(word)});
    }
    return keys;
}

QStringList Unmatched(const std::vector<Key>& keys) {
    QStringList words;
    for (const Key& key : keys) {
        if (!key.symbol) {
            words << key.text;
        }
    }
    return words;
}

QList<int> KeyCountsFor(int keys) {
    QList<int> counts;
    for (int count = std::max(keys, 1); count <= LayoutContent::MaxKeys; ++count) {
        if (TableShapeFor(count)) {
            counts << count;
        }
    }
    return counts;
}

LayoutContent Content(const QStringList& pictures, const QStringList& texts, int keyCount,
                      const QString& blankPicture) {
    LayoutContent content;
    content.KeyCount = qint16(keyCount);
    content.Section1On = 1;
    content.Section3On = 1;
    for (int k = 0; k < keyCount && k < LayoutContent::MaxKeys; ++k) {
        const bool word = k < pictures.size();
        content.Pictures[std::size_t(k)] = word ? pictures[k] : blankPicture;
        content.Texts[std::size_t(k)] = word ? texts.value(k) : QString();
    }
    return content;
}

QString LayoutPathFor(const QString& dataFolder, const QString& name) {
    QString file;
    for (const QChar c : name.simplified()) {
        // Separators and characters no file system or INI value takes.
        file += (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
                 c.category() == QChar::Other_Control)
                    ? QLatin1Char('-')
                    : c;
    }
    while (file.startsWith(QLatin1Char('.'))) {
        file.remove(0, 1);
    }
    if (file.trimmed().isEmpty()) {
        return {};
    }
    if (!file.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive)) {
        file += QStringLiteral(".ini");
    }
    return dataFolder + QStringLiteral("/layout/") + file;
}

} // namespace BoardFromWords
