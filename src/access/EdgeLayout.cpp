#include "access/EdgeLayout.h"

#include "grid/cGriglia.h"

#include <QFileInfo>

#include <algorithm>

namespace {
// The bar takes a seventh of the height, the strip a seventh of the width, within bounds.
constexpr int BarDivisor = 7;
constexpr int MinBarHeight = 80;
constexpr int MaxBarHeight = 180;
constexpr int MinStripWidth = 120;
constexpr int MaxStripWidth = 260;
// The tallest item of the strip: a few layouts do not stretch down the whole edge.
constexpr int MaxStripItemHeight = 140;
// Space between items, as between keys.
constexpr int Gap = 10;
constexpr int MaxStripItems = 12;
} // namespace

QList<EdgeItem> EdgeLayout::StripItems(const QStringList& functionKeyPaths) {
    QList<EdgeItem> items;
    for (int n = 1; n <= MaxStripItems && n < functionKeyPaths.size(); ++n) {
        const QString path = functionKeyPaths.at(n).trimmed();
        if (!path.isEmpty()) {
            // Layouts written on Windows name their files with backslashes.
            const QString name =
                QFileInfo(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'))).completeBaseName();
            items.append({EdgeItem::Kind::Layout, n, name.isEmpty() ? QStringLiteral("F%1").arg(n) : name});
        }
    }
    return items;
}

QList<EdgeItem> EdgeLayout::BarItems() {
    using Kind = EdgeItem::Kind;
    return {{Kind::Speak, 0, QStringLiteral("Parla")},
            {Kind::RemoveLast, 0, QStringLiteral("Cancella ultima")},
            {Kind::Clear, 0, QStringLiteral("Cancella tutto")},
            {Kind::Keep, 0, QStringLiteral("Preferita")},
            {Kind::Phrases, 0, QStringLiteral("Frasi")}};
}

EdgeLayout::EdgeLayout(QSize client, bool bar, const QList<EdgeItem>& strip) {
    m_table = QRect(QPoint(0, 0), client);
    if (bar) {
        const int height = std::clamp(client.height() / BarDivisor, MinBarHeight, MaxBarHeight);
        m_bar = QRect(0, 0, client.width(), height);
        m_table.setTop(height);
        const QList<EdgeItem> actions = BarItems();
        const int side = height - 2 * Gap;
        // The actions are squares at the right end; the sentence has the rest.
        int left = client.width() - int(actions.size()) * (side + Gap);
        m_sentence = QRect(Gap, Gap, std::max(0, left - 2 * Gap), side);
        for (const EdgeItem& item : actions) {
            m_items.append(item);
            m_rects.append(QRect(left, Gap, side, side));
            left += side + Gap;
        }
        m_barCount = int(actions.size());
    }
    if (!strip.isEmpty()) {
        const int width = std::clamp(client.width() / BarDivisor, MinStripWidth, MaxStripWidth);
        m_strip = QRect(client.width() - width, m_table.top(), width, client.height() - m_table.top());
        m_table.setRight(m_strip.left() - 1);
        const int count = int(std::min<qsizetype>(strip.size(), MaxStripItems));
        const int pitch = std::min(MaxStripItemHeight + Gap, (m_strip.height() - Gap) / count);
        for (int i = 0; i < count; ++i) {
            m_items.append(strip.at(i));
            m_rects.append(QRect(m_strip.left(), m_strip.top() + Gap + i * pitch, width - Gap, pitch - Gap));
        }
    }
}

AccessItems EdgeLayout::accessItems(const cGriglia& grid, int keyCount, int columns, bool edgesFirst) const {
    const AccessItems table = TableItems(grid, keyCount, columns);
    AccessItems edges;
    const auto group = [&](int from, int to) {
        if (to > from) {
            edges.rects.insert(edges.rects.end(), m_rects.begin() + from, m_rects.begin() + to);
            edges.rows.push_back(to - from);
        }
    };
    group(0, m_barCount);
    group(m_barCount, int(m_rects.size()));
    AccessItems all = edgesFirst ? edges : table;
    const AccessItems& second = edgesFirst ? table : edges;
    all.rects.insert(all.rects.end(), second.rects.begin(), second.rects.end());
    all.rows.insert(all.rows.end(), second.rows.begin(), second.rows.end());
    return all;
}

int EdgeLayout::ownerOf(int index, int keyCount, bool edgesFirst) const {
    const int edges = int(m_items.size());
    if (edgesFirst) {
        return index <= edges ? -index : index - edges;
    }
    return index <= keyCount ? index : -(index - keyCount);
}
