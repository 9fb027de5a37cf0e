#pragma once

#include "access/AccessItems.h"
#include "access/PhraseStore.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QStringList>

// One screen of the phrases view: "Torna" (back to the table), the
// favourites and then the recent sentences as large items, and "Altre frasi"
// when they do not all fit. The items are laid out like keys, in rows the
// access methods scan like the table's.
class PhrasesPage {
public:
    enum class Action { None, Back, More, Speak };
    static constexpr int Columns = 3;
    static constexpr int Rows = 4;

    PhrasesPage(const PhraseStore& store, QSize client, int page);

    const QList<QRect>& rects() const { return m_rects; }
    const QStringList& labels() const { return m_labels; }
    AccessItems accessItems() const;
    // What choosing item `index` (from 1) does, and the phrase it speaks.
    Action actionOf(int index, Phrase* phrase = nullptr) const;
    // The page "Altre frasi" leads to (back to the first after the last).
    int nextPage() const { return m_next; }

private:
    QList<QRect> m_rects;
    QStringList m_labels;
    QList<Phrase> m_phrases; // item i + 2 speaks m_phrases[i]
    bool m_more = false;
    int m_next = 0;
};
