#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The files of one import, written under temporary names beside their final
// ones and moved into place together once everything has been read. Until
// commit() succeeds nothing under a final name exists; a failed commit and
// the destruction of an uncommitted staging remove whatever was written.
class ObfStaging {
public:
    ObfStaging() = default;
    ~ObfStaging();
    ObfStaging(const ObfStaging&) = delete;
    ObfStaging& operator=(const ObfStaging&) = delete;

    // A new, unused full path in `folder` for `base`.`extension`, reserved
    // for this import (names are compared without regard to case).
    QString reserve(const QString& folder, const QString& base, const QString& extension);
    // An empty temporary file for `finalPath`, whose name it returns; empty
    // when the folder cannot take a file.
    QString createTemporary(const QString& finalPath);
    // Writes the bytes to a temporary file that will become `finalPath`.
    bool stage(const QString& finalPath, const QByteArray& bytes);
    // Moves every file into place, never over an existing file; false, with
    // everything removed again, when one cannot be moved.
    bool commit();

private:
    struct Pending {
        QString temporary;
        QString final;
    };
    void makeFolder(const QString& folder);

    QList<Pending> m_pending;
    QSet<QString> m_reserved;
    QStringList m_madeFolders;
    bool m_committed = false;
};
