#pragma once

#include "symbols/SymbolCatalog.h"

#include <QAbstractListModel>

#include <vector>

class SymbolThumbnails;

// The search window's results as a list of thumbnails with their names. A
// thumbnail is asked for when the view first shows its item, and the item
// is repainted when it arrives.
class SymbolResultModel : public QAbstractListModel {
    Q_OBJECT
public:
    SymbolResultModel(SymbolThumbnails& thumbnails, QObject* parent = nullptr);

    void setResults(std::vector<SymbolCatalog::Result> results);
    const Symbol& symbolAt(int row) const { return m_results[std::size_t(row)].symbol; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void thumbnailReady(const QString& file);

    SymbolThumbnails& m_thumbnails;
    std::vector<SymbolCatalog::Result> m_results;
};
