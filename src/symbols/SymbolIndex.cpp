#include "symbols/SymbolIndex.h"

#include "symbols/SymbolText.h"

#include <algorithm>
#include <optional>

namespace {
// A matched tag or partial tag stands after every word of a name.
constexpr int TagPosition = 1000;

QStringList Stems(const QStringList& words) {
    QStringList stems;
    stems.reserve(words.size());
    for (const QString& word : words) {
        stems << SymbolText::Stem(word);
    }
    return stems;
}
} // namespace

SymbolIndex::SymbolIndex(std::vector<Symbol> symbols) : m_symbols(std::move(symbols)) {
    m_entries.reserve(m_symbols.size());
    for (int i = 0; i < int(m_symbols.size()); ++i) {
        const Symbol& symbol = m_symbols[std::size_t(i)];
        Entry entry;
        entry.words = SymbolText::Words(symbol.label);
        entry.name = entry.words.join(QLatin1Char(' '));
        entry.stems = Stems(entry.words);
        entry.tagWords = SymbolText::Words(symbol.tags.join(QLatin1Char(' ')));
        entry.tagWords.removeDuplicates();
        entry.tagStems = Stems(entry.tagWords);
        for (const QStringList* list : {&entry.words, &entry.stems, &entry.tagWords, &entry.tagStems}) {
            for (const QString& word : *list) {
                std::vector<int>& owners = m_byWord[word];
                if (owners.empty() || owners.back() != i) {
                    owners.push_back(i);
                }
            }
        }
        for (const QStringList* list : {&entry.words, &entry.tagWords}) {
            for (const QString& word : *list) {
                m_sortedWords.emplace_back(word, i);
            }
        }
        m_entries.push_back(std::move(entry));
    }
    std::sort(m_sortedWords.begin(), m_sortedWords.end());
}

std::vector<int> SymbolIndex::candidates(const QString& word, const QString& stem) const {
    std::vector<int> found;
    // A word that is no form of another ("mel", "blu") only finds itself and longer words.
    const QStringList keys = stem == word ? QStringList{word} : QStringList{word, stem};
    for (const QString& key : keys) {
        const auto owners = m_byWord.constFind(key);
        if (owners != m_byWord.constEnd()) {
            found.insert(found.end(), owners->begin(), owners->end());
        }
    }
    auto it = std::lower_bound(m_sortedWords.begin(), m_sortedWords.end(), std::make_pair(word, -1));
    for (; it != m_sortedWords.end() && it->first.startsWith(word); ++it) {
        found.push_back(it->second);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

SymbolIndex::Match SymbolIndex::matchWord(const Entry& entry, const QString& word,
                                          const QString& stem) const {
    std::optional<Match> best;
    const bool hasForms = stem != word;
    const auto offer = [&best](Rank rank, int position) {
        if (!best || rank < best->rank || (rank == best->rank && position < best->position)) {
            best = Match{rank, position};
        }
    };
    for (int i = 0; i < entry.words.size(); ++i) {
        if (entry.words[i] == word) {
            offer(Rank::NameWord, i);
        } else if (hasForms && entry.stems[i] == stem) {
            offer(Rank::NameForm, i);
        } else if (entry.words[i].startsWith(word)) {
            offer(Rank::Partial, i);
        }
    }
    for (int i = 0; i < entry.tagWords.size(); ++i) {
        if (entry.tagWords[i] == word || (hasForms && entry.tagStems[i] == stem)) {
            offer(Rank::Tag, TagPosition);
        } else if (entry.tagWords[i].startsWith(word)) {
            offer(Rank::Partial, TagPosition);
        }
    }
    // Not reached for a candidate: every candidate meets the word somewhere.
    return best.value_or(Match{Rank::Partial, TagPosition});
}

std::vector<SymbolIndex::Hit> SymbolIndex::search(const QString& query, int limit) const {
    const QStringList words = SymbolText::Words(query);
    if (words.isEmpty() || limit <= 0) {
        return {};
    }
    const QString whole = words.join(QLatin1Char(' '));
    const QStringList stems = Stems(words);
    // Every word must match: the candidates of the first are checked for the others.
    std::vector<int> found = candidates(words[0], stems[0]);
    for (int w = 1; w < words.size() && !found.empty(); ++w) {
        const std::vector<int> more = candidates(words[w], stems[w]);
        std::vector<int> both;
        std::set_intersection(found.begin(), found.end(), more.begin(), more.end(), std::back_inserter(both));
        found = std::move(both);
    }
    std::vector<Hit> scored;
    scored.reserve(found.size());
    for (const int i : found) {
        const Entry& entry = m_entries[std::size_t(i)];
        Match overall = matchWord(entry, words[0], stems[0]);
        for (int w = 1; w < words.size(); ++w) {
            overall.rank = std::max(overall.rank, matchWord(entry, words[w], stems[w]).rank);
        }
        if (entry.name == whole) {
            overall = Match{Rank::Name, 0};
        }
        scored.push_back({i, overall.rank, overall.position, entry.name.size()});
    }
    const auto end = scored.begin() + std::min<qsizetype>(limit, qsizetype(scored.size()));
    std::partial_sort(scored.begin(), end, scored.end(), [](const Hit& a, const Hit& b) {
        return Better(a, b) || (!Better(b, a) && a.symbol < b.symbol);
    });
    scored.erase(end, scored.end());
    return scored;
}

bool SymbolIndex::Better(const Hit& a, const Hit& b) {
    return std::tie(a.rank, a.position, a.length) < std::tie(b.rank, b.position, b.length);
}
