#include "symbols/SymbolText.h"

namespace SymbolText {

QString Fold(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD).toLower();
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing) {
            continue; // the accent of a decomposed letter
        }
        // Typographic apostrophes, as the symbol set writes them, become the typed one.
        folded += (c == QChar(0x2019) || c == QChar(0x2018)) ? QLatin1Char('\'') : c;
    }
    return folded;
}

QStringList Words(const QString& text) {
    const QString folded = Fold(text);
    QStringList words;
    QString word;
    for (const QChar c : folded) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    if (!word.isEmpty()) {
        words << word;
    }
    return words;
}

QString Stem(const QString& word) {
    if (word.size() <= 3) {
        return word;
    }
    const QChar last = word.back();
    if (last != QLatin1Char('a') && last != QLatin1Char('e') && last != QLatin1Char('i') &&
        last != QLatin1Char('o')) {
        return word;
    }
    QString stem = word.chopped(1);
    // "amiche", "laghi": the h only keeps the c or g hard before e and i.
    if (stem.size() > 2 && stem.back() == QLatin1Char('h') &&
        (stem[stem.size() - 2] == QLatin1Char('c') || stem[stem.size() - 2] == QLatin1Char('g'))) {
        stem.chop(1);
    }
    // "camicia", "camicie": an i after c or g only softens it.
    if (stem.size() > 2 && stem.back() == QLatin1Char('i') &&
        (stem[stem.size() - 2] == QLatin1Char('c') || stem[stem.size() - 2] == QLatin1Char('g'))) {
        stem.chop(1);
    }
    return stem;
}

} // namespace SymbolText
