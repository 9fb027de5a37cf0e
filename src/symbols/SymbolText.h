#pragma once

#include <QString>
#include <QStringList>

// How words are compared when symbols are searched: the way a carer types
// them is not the way the symbol set spells them, so both sides are folded
// the same way before they meet.
namespace SymbolText {

// Lower case, accents and apostrophes' shapes removed: "Perché" and "perche"
// are the same word, and so are "d’acqua" and "d'acqua".
QString Fold(const QString& text);

// The folded words of a text: runs of letters and digits, so "bufalo d’acqua",
// "Mela_Rossa-01" and "mela rossa 01" all give their words one by one.
QStringList Words(const QString& text);

// The stem of an Italian noun or adjective that its singular, plural,
// masculine and feminine forms share: "mela" and "mele" give "mel", "gatto",
// "gatta", "gatti" and "gatte" give "gatt", "amico" and "amiche" give "amic".
// Words of three letters or fewer are kept whole ("re", "blu", "tre").
QString Stem(const QString& word);

} // namespace SymbolText
