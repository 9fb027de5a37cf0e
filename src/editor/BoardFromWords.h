#pragma once

#include "config/LayoutContent.h"
#include "symbols/Symbol.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class SymbolCatalog;

// The rules of a layout made from a list of words ("io, voglio, mangiare"),
// without any window: one key per word or short phrase, the best symbol for
// each, and a layout the program's writer saves.
namespace BoardFromWords {

constexpr int MaxWords = LayoutContent::MaxKeys;

// The words or phrases of a typed or pasted list, split at commas,
// semicolons and line ends, with blanks trimmed and empty ones dropped; the
// first 21. `dropped` receives how many came after those.
QStringList SplitWords(const QString& text, int* dropped = nullptr);

struct Key {
    QString text;
    // Nothing when no symbol matches the word itself, one of its forms or a tag:
    // the key then shows the word written out.
    std::optional<Symbol> symbol;
};

// One key per word, each with the catalog's best symbol.
std::vector<Key> Propose(const QStringList& words, const SymbolCatalog& catalog);

// The words that found no symbol, in their order.
QStringList Unmatched(const std::vector<Key>& keys);

// The key counts a table of `keys` keys may have: every count a layout
// accepts that holds them all (6 keys: 6, 8, 9, 10 ... 21).
QList<int> KeyCountsFor(int keys);

// The layout: keys 1 to n with their pictures and texts, texts spoken
// (section 3 on), no sounds, no forced input; the keys from n+1 up to
// `keyCount` show `blankPicture` and say nothing.
LayoutContent Content(const QStringList& pictures, const QStringList& texts, int keyCount,
                      const QString& blankPicture);

// The file of a layout named `name` in the data folder's layout folder;
// empty when the name holds nothing a file could be named after.
QString LayoutPathFor(const QString& dataFolder, const QString& name);

} // namespace BoardFromWords
