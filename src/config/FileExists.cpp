#include "config/FileExists.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
QString Join(const QString& dir, const QString& name) {
    return dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
}

bool HasWildcards(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// '*' is any run of characters, '?' any one character; nothing else is special
// (a '[' in a file name is just a bracket, as on the file search we mirror).
bool WildcardMatch(QStringView pattern, QStringView name) {
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == QLatin1Char('?') ||
                    QStringView(pattern.mid(p, 1)).compare(name.mid(n, 1), Qt::CaseInsensitive) == 0)) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
        ++p;
    }
    return p == pattern.size();
}

QStringList EntriesOf(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

// The name under which `name` exists in `dir`, matched without regard to case
// (the exact name first); empty when there is none.
QString MatchEntry(const QString& dir, const QString& name, bool wantFolder) {
    const QFileInfo exact(Join(dir, name));
    if (exact.exists() && (!wantFolder || exact.isDir())) {
        return name;
    }
    for (const QString& entry : EntriesOf(dir)) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0) {
            continue;
        }
        const QFileInfo info(Join(dir, entry));
        if (info.exists() && (!wantFolder || info.isDir())) {
            return entry;
        }
    }
    return {};
}

struct Lookup {
    QString folder; // the real path of the folder holding the last component
    QString last;   // the last component as written
    bool found = false;
};

// Walks the folders of `path` one component at a time.
Lookup FindFolder(const QString& path) {
    const QString absolute =
        QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    Lookup result;
    if (parts.isEmpty()) {
        return result;
    }
    result.last = parts.takeLast();
    QString folder = QStringLiteral("/");
    for (const QString& part : parts) {
        const QString match = MatchEntry(folder, part, true);
        if (match.isEmpty()) {
            return result;
        }
        folder = Join(folder, match);
    }
    result.folder = folder;
    result.found = true;
    return result;
}
} // namespace

bool FileExists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo::exists(path)) {
        return true;
    }
    const Lookup lookup = FindFolder(path);
    if (!lookup.found) {
        return false;
    }
    if (HasWildcards(lookup.last)) {
        const QStringList entries = EntriesOf(lookup.folder);
        return std::any_of(entries.begin(), entries.end(),
                           [&](const QString& entry) { return WildcardMatch(lookup.last, entry); });
    }
    return !MatchEntry(lookup.folder, lookup.last, false).isEmpty();
}

QString ResolveFileCase(const QString& path) {
    if (path.isEmpty() || QFileInfo::exists(path)) {
        return path;
    }
    const Lookup lookup = FindFolder(path);
    if (!lookup.found) {
        return path;
    }
    // A file still to be created keeps its own name, in the folder that exists.
    const QString match = MatchEntry(lookup.folder, lookup.last, false);
    return Join(lookup.folder, match.isEmpty() ? lookup.last : match);
}
