#include "access/Sentence.h"

#include "audio/SapiMarkup.h"

bool Sentence::add(const SentenceItem& item) {
    if (item.text.trimmed().isEmpty() && item.sound.trimmed().isEmpty()) {
        return false;
    }
    m_items.append(item);
    return true;
}

void Sentence::removeLast() {
    if (!m_items.isEmpty()) {
        m_items.removeLast();
    }
}

void Sentence::setItems(const QList<SentenceItem>& items) {
    m_items.clear();
    for (const SentenceItem& item : items) {
        add(item);
    }
}

QList<SentencePart> Sentence::PartsOf(const QList<SentenceItem>& items) {
    QList<SentencePart> parts;
    for (const SentenceItem& item : items) {
        if (!item.text.trimmed().isEmpty()) {
            if (parts.isEmpty() || !parts.last().sound.isEmpty()) {
                parts.append(SentencePart{});
            }
            parts.last().texts.append(item.text);
        } else if (!item.sound.trimmed().isEmpty()) {
            parts.append(SentencePart{{}, item.sound});
        }
    }
    return parts;
}

QString Sentence::Caption(const SentenceItem& item) {
    return SpokenWords(ParseSapiMarkup(item.text, 0)).simplified();
}

QString Sentence::PlainTextOf(const QList<SentenceItem>& items) {
    QStringList words;
    for (const SentenceItem& item : items) {
        const QString caption = Caption(item);
        if (!caption.isEmpty()) {
            words << caption;
        }
    }
    return words.join(QLatin1Char(' '));
}
