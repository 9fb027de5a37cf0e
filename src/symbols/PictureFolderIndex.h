#pragma once

#include "symbols/FolderScan.h"
#include "symbols/SymbolIndex.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// The searchable index of the family's picture folders. Every folder is
// walked on a thread of its own, so a folder of 20,000 files, or a network
// folder that stops answering, never holds up the window: until its walk
// ends a folder is searched as it was last seen. The listings are kept in
// the data folder (cartelle_immagini.indice), so after a restart the
// pictures are found at once while the folders are walked again; refresh()
// walks them again whenever the caller wants changes to show.
class PictureFolderIndex : public QObject {
    Q_OBJECT
public:
    using Scanner = std::function<FolderListing(const QString& root, const std::atomic_bool& stop)>;
    enum class State { Walking, Ready, Unreadable, NotResponding };

    inline static const QString CacheName = QStringLiteral("cartelle_immagini.indice");
    // A walk taking longer than this is shown as a folder that does not answer.
    static constexpr int PatienceMs = 10000;

    // The folders come from the data folder's settings; `scanner` walks one folder.
    explicit PictureFolderIndex(const QString& dataFolder, Scanner scanner = FolderScan::Scan,
                                QObject* parent = nullptr);
    // Asks the walks under way to stop; waits for none of them.
    ~PictureFolderIndex() override;

    QStringList folders() const { return m_folders; }
    // Keeps the new list in the settings; new folders are walked.
    bool setFolders(const QStringList& folders);
    // Walks every folder again whose last walk has ended.
    void refresh();

    State state(const QString& folder) const;
    int pictureCount(const QString& folder) const;
    // The indexes of the folders as last walked, for searching.
    std::vector<std::shared_ptr<const SymbolIndex>> indexes() const;
    // Runs the event loop until no walk is under way or `ms` have passed;
    // false on a timeout (for tests and measuring).
    bool waitForWalks(int ms);

signals:
    // A folder's pictures or state changed.
    void changed();

private:
    struct Link;
    struct Folder {
        std::shared_ptr<const SymbolIndex> index;
        QStringList files;
        bool walking = false;
        bool readable = true;
        QElapsedTimer started;
    };
    void walk(const QString& root, const QStringList& cached);
    void walked(const FolderListing& listing, std::shared_ptr<const SymbolIndex> index, bool fromCache);
    QHash<QString, QStringList> loadCache() const;
    void saveCache() const;

    const QString m_dataFolder;
    const Scanner m_scanner;
    QStringList m_folders;
    QHash<QString, Folder> m_state;
    std::shared_ptr<Link> m_link;
};
