#include "symbols/PictureFolderIndex.h"

#include "platform/RegularFile.h"
#include "symbols/PictureFolderSettings.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QThread>

#include <mutex>
#include <thread>

namespace {
const QString FoldersKey = QStringLiteral("cartelle");
// Twenty thousand names take about a megabyte; a larger file is not ours.
constexpr qint64 MaxCacheBytes = 64LL * 1024 * 1024;
} // namespace

// What a walk's thread shares with the index: the index may be gone before
// the walk ends (a network folder may answer minutes later, or never).
struct PictureFolderIndex::Link {
    std::mutex mutex;
    PictureFolderIndex* owner = nullptr;
    std::atomic_bool stop{false};
};

PictureFolderIndex::PictureFolderIndex(const QString& dataFolder, Scanner scanner, QObject* parent)
    : QObject(parent), m_dataFolder(dataFolder), m_scanner(std::move(scanner)),
      m_link(std::make_shared<Link>()) {
    m_link->owner = this;
    m_folders = PictureFolderSettings::Load(dataFolder);
    const QHash<QString, QStringList> cache = loadCache();
    for (const QString& root : m_folders) {
        walk(root, cache.value(root));
    }
}

PictureFolderIndex::~PictureFolderIndex() {
    const std::lock_guard lock(m_link->mutex);
    m_link->owner = nullptr;
    m_link->stop = true;
}

bool PictureFolderIndex::setFolders(const QStringList& folders) {
    QStringList unique;
    for (const QString& folder : folders) {
        if (!folder.isEmpty() && !unique.contains(folder)) {
            unique << folder;
        }
    }
    const QStringList old = m_folders;
    m_folders = unique;
    for (const QString& root : old) {
        if (!m_folders.contains(root)) {
            m_state.remove(root);
        }
    }
    for (const QString& root : m_folders) {
        if (!old.contains(root)) {
            walk(root, {});
        }
    }
    saveCache();
    emit changed();
    return PictureFolderSettings::Save(m_dataFolder, m_folders);
}

void PictureFolderIndex::refresh() {
    for (const QString& root : m_folders) {
        if (!m_state.value(root).walking) {
            walk(root, {});
        }
    }
}

void PictureFolderIndex::walk(const QString& root, const QStringList& cached) {
    Folder& folder = m_state[root];
    folder.walking = true;
    folder.started.start();
    std::thread([link = m_link, scanner = m_scanner, root, cached] {
        const auto post = [&link](const FolderListing& listing, bool fromCache) {
            auto index = std::make_shared<const SymbolIndex>(FolderScan::ToSymbols(listing));
            const std::lock_guard lock(link->mutex);
            if (PictureFolderIndex* owner = link->owner) {
                // Delivered on the owner's thread; dropped with the owner if it is gone by then.
                QMetaObject::invokeMethod(
                    owner, [owner, listing, index, fromCache] { owner->walked(listing, index, fromCache); },
                    Qt::QueuedConnection);
            }
        };
        if (!cached.isEmpty()) {
            post(FolderListing{root, cached, true}, true);
        }
        const FolderListing listing = scanner(root, link->stop);
        if (!link->stop) {
            post(listing, false);
        }
    }).detach();
}

void PictureFolderIndex::walked(const FolderListing& listing, std::shared_ptr<const SymbolIndex> index,
                                bool fromCache) {
    if (!m_folders.contains(listing.root)) {
        return; // removed while it was being walked
    }
    Folder& folder = m_state[listing.root];
    if (fromCache) {
        if (!folder.index) {
            folder.index = std::move(index);
            folder.files = listing.files;
            emit changed();
        }
        return;
    }
    folder.walking = false;
    folder.readable = listing.readable;
    if (!folder.index || folder.files != listing.files) {
        folder.index = std::move(index);
        folder.files = listing.files;
        saveCache();
    }
    emit changed();
}

PictureFolderIndex::State PictureFolderIndex::state(const QString& folder) const {
    const auto it = m_state.constFind(folder);
    if (it == m_state.constEnd()) {
        return State::Unreadable;
    }
    if (it->walking) {
        return it->started.elapsed() > PatienceMs ? State::NotResponding : State::Walking;
    }
    return it->readable ? State::Ready : State::Unreadable;
}

int PictureFolderIndex::pictureCount(const QString& folder) const {
    return int(m_state.value(folder).files.size());
}

std::vector<std::shared_ptr<const SymbolIndex>> PictureFolderIndex::indexes() const {
    std::vector<std::shared_ptr<const SymbolIndex>> result;
    for (const QString& root : m_folders) {
        if (const auto& index = m_state.value(root).index) {
            result.push_back(index);
        }
    }
    return result;
}

bool PictureFolderIndex::waitForWalks(int ms) {
    QElapsedTimer timer;
    timer.start();
    const auto busy = [this] {
        return std::any_of(m_state.cbegin(), m_state.cend(), [](const Folder& f) { return f.walking; });
    };
    while (busy()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

QHash<QString, QStringList> PictureFolderIndex::loadCache() const {
    QHash<QString, QStringList> cache;
    const auto bytes = ReadRegularFile(m_dataFolder + QLatin1Char('/') + CacheName, MaxCacheBytes);
    if (!bytes) {
        return cache;
    }
    const QJsonObject folders = QJsonDocument::fromJson(*bytes).object().value(FoldersKey).toObject();
    for (auto it = folders.begin(); it != folders.end(); ++it) {
        QStringList files;
        for (const QJsonValue& file : it.value().toArray()) {
            files << file.toString();
        }
        cache.insert(it.key(), files);
    }
    return cache;
}

void PictureFolderIndex::saveCache() const {
    QJsonObject folders;
    for (const QString& root : m_folders) {
        folders.insert(root, QJsonArray::fromStringList(m_state.value(root).files));
    }
    // Only a help for the next start: a cache that cannot be written is walked again then.
    QSaveFile file(m_dataFolder + QLatin1Char('/') + CacheName);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(QJsonObject{{FoldersKey, folders}}).toJson(QJsonDocument::Compact));
        file.commit();
    }
}
