#include "obf/ObfStaging.h"

#include "config/FileExists.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

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

QString ObfStaging::reserve(const QString& folder, const QString& base, const QString& extension) {
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(n);
        const QString path = folder + QLatin1Char('/') + name + QLatin1Char('.') + extension;
        if (!m_reserved.contains(path.toLower()) && !FileExists(path)) {
            m_reserved.insert(path.toLower());
            return path;
        }
    }
}

QString ObfStaging::createTemporary(const QString& finalPath) {
    const QFileInfo info(finalPath);
    makeFolder(info.absolutePath());
    QTemporaryFile file(info.absolutePath() + QStringLiteral("/.mirelva-import-XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open()) {
        return QString();
    }
    m_pending << Pending{file.fileName(), finalPath};
    return file.fileName();
}

bool ObfStaging::stage(const QString& finalPath, const QByteArray& bytes) {
    const QString temporary = createTemporary(finalPath);
    if (temporary.isEmpty()) {
        return false;
    }
    QFile file(temporary);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

bool ObfStaging::commit() {
    QStringList moved;
    for (const Pending& file : std::as_const(m_pending)) {
        QFile::setPermissions(file.temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadGroup | QFileDevice::ReadOther);
        // QFile::rename never replaces an existing file.
        if (FileExists(file.final) || !QFile::rename(file.temporary, file.final)) {
            for (const QString& path : std::as_const(moved)) {
                QFile::remove(path);
            }
            return false;
        }
        moved << file.final;
    }
    m_committed = true;
    return true;
}
