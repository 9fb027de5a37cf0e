#pragma once

#include "symbols/Symbol.h"
#include "symbols/SymbolIndex.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class PictureFolderIndex;

// Everything the search window searches: the library that ships with the
// program and the family's picture folders, as one list of results.
class SymbolCatalog : public QObject {
    Q_OBJECT
public:
    struct Result {
        Symbol symbol;
        SymbolIndex::Rank rank;
    };

    SymbolCatalog(std::shared_ptr<const SymbolIndex> library, std::unique_ptr<PictureFolderIndex> folders,
                  QObject* parent = nullptr);
    ~SymbolCatalog() override;

    // The catalog of the running program for a data folder: the library
    // found beside the program (or in its share folder) and the folders of
    // that data folder's settings. Made when first asked for and kept until
    // the application ends.
    static SymbolCatalog& ForDataFolder(const QString& dataFolder);

    // The best `limit` results across library and folders: better ranks
    // first; at the same rank the library before the folders.
    std::vector<Result> search(const QString& query, int limit) const;
    // The best result for a word, when there is one that matches the word
    // itself or another form of it, or one of its tags.
    std::optional<Symbol> best(const QString& word) const;

    int librarySize() const;
    PictureFolderIndex& folders() { return *m_folders; }

signals:
    // The folders' pictures changed: a search may give other results now.
    void changed();

private:
    std::shared_ptr<const SymbolIndex> m_library;
    std::unique_ptr<PictureFolderIndex> m_folders;
};
