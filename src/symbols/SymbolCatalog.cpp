#include "symbols/SymbolCatalog.h"

#include "symbols/PictureFolderIndex.h"
#include "symbols/SymbolLibrary.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>

#include <algorithm>

SymbolCatalog::SymbolCatalog(std::shared_ptr<const SymbolIndex> library,
                             std::unique_ptr<PictureFolderIndex> folders, QObject* parent)
    : QObject(parent), m_library(std::move(library)), m_folders(std::move(folders)) {
    connect(m_folders.get(), &PictureFolderIndex::changed, this, &SymbolCatalog::changed);
}

SymbolCatalog::~SymbolCatalog() = default;

SymbolCatalog& SymbolCatalog::ForDataFolder(const QString& dataFolder) {
    static QHash<QString, QPointer<SymbolCatalog>> catalogs;
    QPointer<SymbolCatalog>& catalog = catalogs[dataFolder];
    if (!catalog) {
        const QString archive = SymbolLibrary::FindArchive(QCoreApplication::applicationDirPath());
        auto library = std::make_shared<const SymbolIndex>(SymbolLibrary::Open(archive));
        catalog = new SymbolCatalog(std::move(library), std::make_unique<PictureFolderIndex>(dataFolder),
                                    QCoreApplication::instance());
    }
    return *catalog;
}

std::vector<SymbolCatalog::Result> SymbolCatalog::search(const QString& query, int limit) const {
    struct Found {
        SymbolIndex::Hit hit;
        const SymbolIndex* index;
        int order;
    };
    std::vector<Found> found;
    std::vector<std::shared_ptr<const SymbolIndex>> indexes{m_library};
    for (auto& folder : m_folders->indexes()) {
        indexes.push_back(std::move(folder));
    }
    for (int i = 0; i < int(indexes.size()); ++i) {
        for (const SymbolIndex::Hit& hit : indexes[std::size_t(i)]->search(query, limit)) {
            found.push_back({hit, indexes[std::size_t(i)].get(), i});
        }
    }
    // Each index gives its hits in order: a stable sort keeps the library's first among equals.
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return SymbolIndex::Better(a.hit, b.hit); });
    std::vector<Result> results;
    for (int i = 0; i < std::min(limit, int(found.size())); ++i) {
        const Found& f = found[std::size_t(i)];
        results.push_back({f.index->symbols()[std::size_t(f.hit.symbol)], f.hit.rank});
    }
    return results;
}

std::optional<Symbol> SymbolCatalog::best(const QString& word) const {
    const std::vector<Result> results = search(word, 1);
    if (results.empty() || results.front().rank == SymbolIndex::Rank::Partial) {
        return std::nullopt;
    }
    return results.front().symbol;
}

int SymbolCatalog::librarySize() const {
    return int(m_library->symbols().size());
}
