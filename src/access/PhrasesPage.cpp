#include "access/PhrasesPage.h"

namespace {
constexpr int Gap = 10;
} // namespace

PhrasesPage::PhrasesPage(const PhraseStore& store, QSize client, int page) {
    const QList<Phrase> all = store.favourites() + store.recent();
    const int cells = Columns * Rows;
    // "Torna" and, when needed, "Altre frasi" take two of the cells.
    const int perPage = int(all.size()) <= cells - 1 ? cells - 1 : cells - 2;
    const int pages = std::max(1, int((all.size() + perPage - 1) / perPage));
    const int shown = std::clamp(page, 0, pages - 1);
    m_phrases = all.mid(qsizetype(shown) * perPage, perPage);
    m_more = pages > 1;
    m_next = (shown + 1) % pages;
    m_labels << QStringLiteral("Torna");
    for (qsizetype i = 0; i < m_phrases.size(); ++i) {
        const bool favourite = qsizetype(shown) * perPage + i < store.favourites().size();
        m_labels << (favourite ? QStringLiteral("\u2605 ") : QString()) + m_phrases.at(i).label;
    }
    if (m_more) {
        m_labels << QStringLiteral("Altre frasi (%1/%2)").arg(shown + 1).arg(pages);
    }
    const int width = (client.width() - Gap) / Columns;
    const int height = (client.height() - Gap) / Rows;
    for (qsizetype i = 0; i < m_labels.size(); ++i) {
        const int row = int(i) / Columns;
        const int col = int(i) % Columns;
        m_rects << QRect(Gap + col * width, Gap + row * height, width - Gap, height - Gap);
    }
}

AccessItems PhrasesPage::accessItems() const {
    AccessItems items;
    items.rects.assign(m_rects.begin(), m_rects.end());
    for (int left = int(m_rects.size()); left > 0; left -= Columns) {
        items.rows.push_back(std::min(left, Columns));
    }
    return items;
}

PhrasesPage::Action PhrasesPage::actionOf(int index, Phrase* phrase) const {
    if (index == 1) {
        return Action::Back;
    }
    if (m_more && index == int(m_labels.size())) {
        return Action::More;
    }
    if (index >= 2 && index - 2 < m_phrases.size()) {
        if (phrase != nullptr) {
            *phrase = m_phrases.at(index - 2);
        }
        return Action::Speak;
    }
    return Action::None;
}
