#include "symbols/FolderScan.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {
// Deeper folders are surely a mistake (or a loop the kernel does not show).
constexpr int MaxDepth = 32;

const QStringList PictureSuffixes{QStringLiteral("gif"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                  QStringLiteral("bmp"), QStringLiteral("png"), QStringLiteral("svg")};

struct FolderId {
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId& other) const { return device == other.device && inode == other.inode; }
};
size_t qHash(const FolderId& id, size_t seed = 0) {
    return ::qHash(std::make_pair(quint64(id.device), quint64(id.inode)), seed);
}

class Walker {
public:
    Walker(FolderListing& listing, const std::atomic_bool& stop) : m_listing(listing), m_stop(stop) {}

    // Lists the folder open as `fd` (closed here) whose path below the root is `relative`.
    void walk(int fd, const QString& relative, int depth) {
        struct stat info {};
        if (::fstat(fd, &info) != 0 || m_seen.contains({info.st_dev, info.st_ino}) || depth > MaxDepth) {
            ::close(fd);
            return;
        }
        m_seen.insert({info.st_dev, info.st_ino});
        DIR* dir = ::fdopendir(fd);
        if (dir == nullptr) {
            ::close(fd);
            return;
        }
        std::vector<QString> folders;
        while (const dirent* entry = ::readdir(dir)) {
            if (m_stop || m_listing.files.size() >= FolderScan::MaxFiles) {
                break;
            }
            if (entry->d_name[0] == '.') {
                continue; // ".", "..", and what the family's file manager hides too
            }
            const QString name = QFile::decodeName(entry->d_name);
            const QString path = relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
            unsigned char type = entry->d_type;
            if (type == DT_LNK || type == DT_UNKNOWN) {
                // The link's target decides; fstatat follows it without opening anything.
                struct stat target {};
                if (::fstatat(::dirfd(dir), entry->d_name, &target, 0) != 0) {
                    continue;
                }
                type = S_ISDIR(target.st_mode) ? DT_DIR : S_ISREG(target.st_mode) ? DT_REG : DT_UNKNOWN;
            }
            if (type == DT_DIR) {
                folders.push_back(name);
            } else if (type == DT_REG && FolderScan::IsPictureName(name)) {
                m_listing.files << path;
            }
        }
        const int parent = ::dirfd(dir);
        for (const QString& name : folders) {
            if (m_stop) {
                break;
            }
            // O_NONBLOCK: should a name turn into a FIFO meanwhile, opening it does not wait.
            const int child = ::openat(parent, QFile::encodeName(name).constData(),
                                       O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
            if (child >= 0) {
                walk(child, relative.isEmpty() ? name : relative + QLatin1Char('/') + name, depth + 1);
            }
        }
        ::closedir(dir);
    }

private:
    FolderListing& m_listing;
    const std::atomic_bool& m_stop;
    QSet<FolderId> m_seen;
};
} // namespace

namespace FolderScan {

bool IsPictureName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && PictureSuffixes.contains(name.mid(dot + 1).toLower());
}

FolderListing Scan(const QString& root, const std::atomic_bool& stop) {
    FolderListing listing;
    listing.root = root;
    const int fd =
        ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return listing;
    }
    listing.readable = true;
    Walker(listing, stop).walk(fd, QString(), 0);
    return listing;
}

std::vector<Symbol> ToSymbols(const FolderListing& listing) {
    std::vector<Symbol> symbols;
    symbols.reserve(std::size_t(listing.files.size()));
    for (const QString& relative : listing.files) {
        Symbol symbol;
        symbol.origin = Symbol::Origin::Folder;
        const qsizetype slash = relative.lastIndexOf(QLatin1Char('/'));
        const QString name = relative.mid(slash + 1);
        symbol.label = name.left(name.lastIndexOf(QLatin1Char('.')));
        if (slash > 0) {
            symbol.tags = relative.left(slash).split(QLatin1Char('/'));
        }
        symbol.file = listing.root + QLatin1Char('/') + relative;
        symbol.key = symbol.file;
        symbols.push_back(std::move(symbol));
    }
    return symbols;
}

} // namespace FolderScan
