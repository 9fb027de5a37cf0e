#include "editor/SymbolResultModel.h"

#include "editor/SymbolThumbnails.h"

#include <QFileInfo>
#include <QPixmap>

SymbolResultModel::SymbolResultModel(SymbolThumbnails& thumbnails, QObject* parent)
    : QAbstractListModel(parent), m_thumbnails(thumbnails) {
    connect(&m_thumbnails, &SymbolThumbnails::ready, this, &SymbolResultModel::thumbnailReady);
}

void SymbolResultModel::setResults(std::vector<SymbolCatalog::Result> results) {
    beginResetModel();
    m_results = std::move(results);
    endResetModel();
}

int SymbolResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_results.size());
}

QVariant SymbolResultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_results.size())) {
        return {};
    }
    const Symbol& symbol = m_results[std::size_t(index.row())].symbol;
    switch (role) {
    case Qt::DisplayRole:
        return symbol.label;
    case Qt::AccessibleTextRole:
        // A screen reader tells a family's own picture from a library symbol.
        return symbol.origin == Symbol::Origin::Library
                   ? symbol.label
                   : QStringLiteral("%1, dalla cartella %2")
                         .arg(symbol.label, QFileInfo(QFileInfo(symbol.file).absolutePath()).fileName());
    case Qt::ToolTipRole:
        return symbol.origin == Symbol::Origin::Library ? symbol.label : symbol.file;
    case Qt::DecorationRole: {
        const QImage thumbnail = m_thumbnails.get(symbol.file);
        if (!thumbnail.isNull()) {
            return QPixmap::fromImage(thumbnail);
        }
        // Room kept for the picture, so the grid does not move when it arrives.
        QPixmap blank(m_thumbnails.side(), m_thumbnails.side());
        blank.fill(m_thumbnails.unreadable(symbol.file) ? QColor(0xe0, 0xe0, 0xe0) : Qt::white);
        return blank;
    }
    default:
        return {};
    }
}

void SymbolResultModel::thumbnailReady(const QString& file) {
    for (int row = 0; row < int(m_results.size()); ++row) {
        if (m_results[std::size_t(row)].symbol.file == file) {
            const QModelIndex changed = index(row);
            emit dataChanged(changed, changed, {Qt::DecorationRole});
        }
    }
}
