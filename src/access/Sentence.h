#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One chosen key in the message bar: what it says and plays, and what it shows.
struct SentenceItem {
    QString text;    // the key's text, speech markup and all; empty when it speaks none
    QString sound;   // the key's recorded sound; empty when it plays none
    QString picture; // the key's picture, for the bar

    friend bool operator==(const SentenceItem&, const SentenceItem&) = default;
};

// What "Parla" gives out, in order: runs of texts spoken as one speech, and
// the recorded sounds of keys without a text, each in its place.
struct SentencePart {
    QStringList texts; // spoken together, each with its own markup
    QString sound;     // set when this part is a sound (texts then empty)

    friend bool operator==(const SentencePart&, const SentencePart&) = default;
};

// The sentence the user builds in the message bar, one key at a time. A key
// with neither a text nor a sound has nothing to say and does not join.
class Sentence {
public:
    // Adds a chosen key; false when it had nothing to add.
    bool add(const SentenceItem& item);
    void removeLast();
    void clear() { m_items.clear(); }

    bool isEmpty() const { return m_items.isEmpty(); }
    const QList<SentenceItem>& items() const { return m_items; }
    void setItems(const QList<SentenceItem>& items);

    // What speaking the sentence gives out (see SentencePart).
    QList<SentencePart> parts() const { return PartsOf(m_items); }
    static QList<SentencePart> PartsOf(const QList<SentenceItem>& items);
    // The words as a person reads them: the texts without markup, joined by blanks.
    QString plainText() const { return PlainTextOf(m_items); }
    static QString PlainTextOf(const QList<SentenceItem>& items);
    // A key's text as the bar shows it under the picture.
    static QString Caption(const SentenceItem& item);

private:
    QList<SentenceItem> m_items;
};
