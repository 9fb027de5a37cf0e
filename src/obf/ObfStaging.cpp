#include "obf/ObfStaging.h"

#include "config/FileExists.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <fcntl.h>
#include <unistd.h>

namespace {
Outcome Unwritable(const QString& detail) {
    return Outcome::Failed(QStringLiteral("la cartella dei dati non è scrivibile"), detail);
}
} // namespace

ObfStaging::~ObfStaging() {
    if (m_committed) {
        return;
    }
    for (const Pending& file : m_pending) {
        QFile::remove(file.temporary);
    }
    for (auto folder = m_madeFolders.crbegin(); folder != m_madeFolders.crend(); ++folder) {
        QDir().rmdir(*folder);
    }
}

void ObfStaging::makeFolder(const QString& folder) {
    if (!QFileInfo(folder).isDir() && QDir().mkpath(folder)) {
        m_madeFolders << folder;
    }
}

// The folder's names in lower case, listed once: looking each new name up on
// disk lists the whole folder, which made large imports quadratic.
const QSet<QString>& ObfStaging::existing(const QString& folder) {
    auto known = m_existing.find(folder);
    if (known == m_existing.end()) {
        QSet<QString> names;
        const QString real = ResolveFileCase(folder);
        for (const QString& name :
             QDir(real.isEmpty() ? folder : real)
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            names.insert(name.toLower());
        }
        known = m_existing.insert(folder, names);
    }
    return *known;
}

QString ObfStaging::reserve(const QString& folder, const QString& base, const QString& extension) {
    const QSet<QString>& names = existing(folder);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(n);
        const QString file = name + QLatin1Char('.') + extension;
        const QString path = folder + QLatin1Char('/') + file;
        if (!m_reserved.contains(path.toLower()) && !names.contains(file.toLower())) {
            m_reserved.insert(path.toLower());
            return path;
        }
    }
}

Result<QString> ObfStaging::createTemporary(const QString& finalPath) {
    const QFileInfo info(finalPath);
    makeFolder(info.absolutePath());
    QTemporaryFile file(info.absolutePath() + QStringLiteral("/.mirelva-import-XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open()) {
        return Unwritable(
            QStringLiteral("cannot create a file in %1: %2").arg(info.absolutePath(), file.errorString()));
    }
    m_pending << Pending{file.fileName(), finalPath};
    return file.fileName();
}

Outcome ObfStaging::stage(const QString& finalPath, const QByteArray& bytes) {
    const Result<QString> temporary = createTemporary(finalPath);
    if (!temporary) {
        return temporary.failure();
    }
    QFile file(*temporary);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        return Unwritable(
            QStringLiteral("cannot write %1 for %2: %3").arg(*temporary, finalPath, file.errorString()));
    }
    return Outcome::Done();
}

Result<QString> ObfStaging::stageShared(const QString& folder, const QString& base, const QString& extension,
                                        const QByteArray& bytes) {
    const QByteArray key = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256) + extension.toUtf8();
    const auto known = m_byContent.constFind(key);
    if (known != m_byContent.constEnd()) {
        return *known;
    }
    const QString path = reserve(folder, base, extension);
    if (const Outcome staged = stage(path, bytes); !staged) {
        return staged;
    }
    m_byContent.insert(key, path);
    return path;
}

Outcome ObfStaging::commit() {
    // The contents reach the disk before any name does: a crash leaves
    // temporary files at worst, never a layout naming half-written pictures.
    if (!m_pending.isEmpty()) {
        const int folder = ::open(QFile::encodeName(QFileInfo(m_pending.first().temporary).absolutePath()),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::syncfs(folder);
            ::close(folder);
        }
    }
    // Listed again: a file may have appeared under a reserved name meanwhile.
    m_existing.clear();
    QStringList moved;
    for (const Pending& file : std::as_const(m_pending)) {
        QFile::setPermissions(file.temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadGroup | QFileDevice::ReadOther);
        // QFile::rename never replaces an existing file.
        const QFileInfo target(file.final);
        QFile temporary(file.temporary);
        const bool taken = existing(target.absolutePath()).contains(target.fileName().toLower());
        if (taken || !temporary.rename(file.final)) {
            for (const QString& path : std::as_const(moved)) {
                QFile::remove(path);
            }
            return Unwritable(
                QStringLiteral("cannot move %1 to %2: %3")
                    .arg(file.temporary, file.final,
                         taken ? QStringLiteral("the name was taken meanwhile") : temporary.errorString()));
        }
        moved << file.final;
    }
    m_committed = true;
    QSet<QString> folders;
    for (const Pending& file : std::as_const(m_pending)) {
        folders.insert(QFileInfo(file.final).absolutePath());
    }
    for (const QString& name : std::as_const(folders)) {
        const int folder = ::open(QFile::encodeName(name), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
    return Outcome::Done();
}
