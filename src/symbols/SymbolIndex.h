#pragma once

#include "symbols/Symbol.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// Symbols searched by Italian words, without any display. A query's words
// are folded (case and accents do not matter); each must meet a word of the
// symbol, and the weakest of those meetings ranks the symbol:
//   Name       the query is the symbol's whole name ("cane")
//   NameWord   a word of its name ("mela" in "mela rossa")
//   NameForm   another form of a word of its name ("mele", "gatta")
//   Tag        one of its tags, in any form ("frutta")
//   Partial    the start of a word of its name or tags ("mel")
// Better ranks come first; then symbols whose matched word stands earlier in
// the name, then shorter names, then the order the symbols were added in.
// Built once, then only read: searches may run on any thread.
class SymbolIndex {
public:
    enum class Rank { Name, NameWord, NameForm, Tag, Partial };
    struct Hit {
        int symbol; // index into symbols()
        Rank rank;
        int position;     // of the matched word in the name
        qsizetype length; // of the folded name
    };
    // The order of hits, also across indexes: rank, position, length.
    static bool Better(const Hit& a, const Hit& b);

    explicit SymbolIndex(std::vector<Symbol> symbols);

    const std::vector<Symbol>& symbols() const { return m_symbols; }
    // At most `limit` hits, best first; none for a query without words.
    std::vector<Hit> search(const QString& query, int limit) const;

private:
    struct Entry {
        QString name;         // folded whole name
        QStringList words;    // folded words of the name
        QStringList stems;    // their stems
        QStringList tagWords; // folded words of the tags
        QStringList tagStems;
    };
    struct Match {
        Rank rank;
        int position;
    };
    Match matchWord(const Entry& entry, const QString& word, const QString& stem) const;
    std::vector<int> candidates(const QString& word, const QString& stem) const;

    std::vector<Symbol> m_symbols;
    std::vector<Entry> m_entries;
    // Every folded word and every stem of names and tags, to the symbols having it.
    QHash<QString, std::vector<int>> m_byWord;
    // The same words in order, to find those a query word begins.
    std::vector<std::pair<QString, int>> m_sortedWords;
};
