#pragma once

#include "access/Sentence.h"
#include "platform/Outcome.h"

#include <QList>
#include <QString>

// A sentence kept to be said again: what the phrases view shows, and the keys it speaks.
struct Phrase {
    QString label;
    QList<SentenceItem> items;

    // A phrase written by hand: its text is both what it shows and what it says.
    static Phrase Written(const QString& text);
    friend bool operator==(const Phrase&, const Phrase&) = default;
};

// The user's phrases, in "frasi.txt" in the data folder: the favourites, in
// the carer's order, and the last sentences spoken, newest first. The file is
// UTF-8 text a carer can also write by hand:
//
//   [Preferite]
//   Ho fame
//   Merenda<TAB>io<TAB>voglio<TAB>♪/path/mela.wav
//   [Recenti]
//   ...
//
// A line is a phrase: its label, then its keys (a text, speech markup and all,
// or ♪ and a sound file); a line with the label alone says the label. A file
// that is damaged (another encoding, binary bytes, too large, a folder in its
// place, write-protected) is read for what can be read; what could not be
// kept is said once, in Italian, and the first save keeps a copy of the
// damaged file beside it, so nothing of the user's is lost.
class PhraseStore {
public:
    static constexpr int MaxRecent = 50;
    static constexpr int MaxFavourites = 500;
    // What is read of the file at the most.
    static constexpr qint64 MaxReadBytes = 1024 * 1024;

    static QString FilePath(const QString& dataFolder);

    explicit PhraseStore(QString dataFolder);

    // Reads the file (none: no phrases). What could not be kept goes to *notice.
    void load(QString* notice = nullptr);
    // Writes both lists whole; a failure that names the reason when it cannot.
    Outcome save();

    const QList<Phrase>& favourites() const { return m_favourites; }
    const QList<Phrase>& recent() const { return m_recent; }
    void setFavourites(const QList<Phrase>& favourites);
    // A sentence just spoken goes first among the recent ones (once: said again, it moves up).
    void addRecent(const QList<SentenceItem>& items);
    // Keeps a sentence as a favourite, at the end; false when it is one already or empty.
    bool addFavourite(const QList<SentenceItem>& items);

private:
    QString m_dataFolder;
    QList<Phrase> m_favourites;
    QList<Phrase> m_recent;
    // The file held more than was kept: the first save copies it aside first.
    bool m_damaged = false;
};
