#pragma once

#include "access/AccessItems.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class cGriglia;

// An item around the table: a message bar action, or a layout of the strip of function keys.
struct EdgeItem {
    enum class Kind { Speak, RemoveLast, Clear, Keep, Phrases, Layout };
    Kind kind = Kind::Speak;
    int functionKey = 0; // 1 to 12, for a layout
    QString label;

    friend bool operator==(const EdgeItem&, const EdgeItem&) = default;
};

// How the screen is shared between the table, the message bar across the top
// and the strip of the function keys' layouts down the right edge. The table
// takes the rest with the geometry it has on a whole screen; with neither
// bar nor strip it has the whole screen, as always.
class EdgeLayout {
public:
    // The layouts of F1 to F12 (index 1 to 12 of the layout's list) that name
    // a file, each with the file's name without its extension.
    static QList<EdgeItem> StripItems(const QStringList& functionKeyPaths);
    // The actions of the message bar.
    static QList<EdgeItem> BarItems();

    EdgeLayout() = default;
    EdgeLayout(QSize client, bool bar, const QList<EdgeItem>& strip);

    QRect tableArea() const { return m_table; }
    QRect barArea() const { return m_bar; }
    // Where the bar shows the sentence.
    QRect sentenceArea() const { return m_sentence; }
    QRect stripArea() const { return m_strip; }
    const QList<EdgeItem>& items() const { return m_items; }
    const QList<QRect>& rects() const { return m_rects; }
    bool hasBar() const { return !m_bar.isEmpty(); }
    bool empty() const { return m_items.isEmpty(); }

    // Everything the access methods choose among: the table's `keyCount` keys
    // in rows of `columns`, the bar's actions as one row and the strip as
    // another, both before the table or after it.
    AccessItems accessItems(const cGriglia& grid, int keyCount, int columns, bool edgesFirst) const;
    // What item `index` (from 1) of accessItems() is: a key (from 1) or,
    // negative, edge item -(i + 1) of items().
    int ownerOf(int index, int keyCount, bool edgesFirst) const;

private:
    QRect m_table;
    QRect m_bar;
    QRect m_sentence;
    QRect m_strip;
    QList<EdgeItem> m_items;
    QList<QRect> m_rects;
    int m_barCount = 0;
};
