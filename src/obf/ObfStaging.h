#pragma once

#include "platform/Outcome.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The files of one import, written under temporary names beside their final
// ones and moved into place together once everything has been read, after
// one flush of the whole file system rather than one per file. Until
// commit() succeeds nothing under a final name exists; a failed commit and
// the destruction of an uncommitted staging remove whatever was written.
// Every failure tells the user that the data folder cannot be written, and
// the log which file and why.
class ObfStaging {
public:
    ObfStaging() = default;
    ~ObfStaging();
    ObfStaging(const ObfStaging&) = delete;
    ObfStaging& operator=(const ObfStaging&) = delete;

    // A new, unused full path in `folder` for `base`.`extension`, reserved
    // for this import (names are compared without regard to case).
    QString reserve(const QString& folder, const QString& base, const QString& extension);
    // Writes the bytes to a temporary file that will become `finalPath`.
    Outcome stage(const QString& finalPath, const QByteArray& bytes);
    // The same bytes staged once: the path they were first staged under, or a
    // new one reserved in `folder` for `base`.`extension`; a failure when the
    // folder cannot take a file.
    Result<QString> stageShared(const QString& folder, const QString& base, const QString& extension,
                                const QByteArray& bytes);
    // Moves every file into place, never over an existing file; a failure,
    // with everything removed again, when one cannot be moved.
    Outcome commit();

private:
    struct Pending {
        QString temporary;
        QString final;
    };
    // An empty temporary file for `finalPath`, whose name it returns.
    Result<QString> createTemporary(const QString& finalPath);
    void makeFolder(const QString& folder);
    const QSet<QString>& existing(const QString& folder);

    QList<Pending> m_pending;
    QHash<QByteArray, QString> m_byContent; // hash of the bytes and extension -> final path
    QSet<QString> m_reserved;
    QHash<QString, QSet<QString>> m_existing; // folder -> its names in lower case
    QStringList m_madeFolders;
    bool m_committed = false;
};
