#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What an import made and what it could not carry, gathered while it runs
// and told to the user once, in Italian, at its end.
class ObfReport {
public:
    enum class Issue {
        SkippedBoard,  // a board with nothing to show, or that does not read
        RemotePicture, // a picture only reachable over the network
        SymbolPicture, // a picture of a proprietary symbol set
        BadPicture,    // a picture missing from the set or that does not decode
        RemoteSound,
        BadSound,    // a sound missing from the set or that does not decode
        Action,      // a special action the table cannot perform
        MissingLink, // a link to a board the set does not contain, or that was skipped
        Split,       // a board with more keys than a table holds
    };

    struct Entry {
        Issue issue;
        QString board;
        QString detail;
    };

    void addLayout(const QString& board, const QString& path, int keys);
    void add(Issue issue, const QString& board, const QString& detail);

    const QList<Entry>& entries() const { return m_entries; }
    const QStringList& layouts() const { return m_layouts; }
    // What was made and, grouped by kind with counts, a few examples of what
    // could not be carried: short enough for a message box at any size.
    QString summary() const;
    // Every layout and every issue, grouped by kind: the file beside the layouts.
    QString fullList() const;
    void setListFile(const QString& path) { m_listFile = path; }

private:
    QStringList m_layouts;
    QStringList m_made;
    QList<Entry> m_entries;
    QString m_listFile;
};
