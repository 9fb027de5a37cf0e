#pragma once

#include "symbols/Symbol.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <vector>

// The symbol library that ships with the program: Twemoji's pictures (SVG)
// with the Italian names and keywords of Unicode CLDR (emojibase-data's
// "it" data), packed at build time into one resource archive installed
// beside the program. Nothing here needs a network or a display.
namespace SymbolLibrary {

// The archive's file name, beside the program or in its share folder.
inline const QString ArchiveName = QStringLiteral("mirelva-simboli.rcc");
// Where the archive's files appear once it is opened.
inline const QString Folder = QStringLiteral(":/simboli");

// The archive for a program in `programDir`: beside it (a build, a portable
// copy) or in ../share/mirelva (installed); empty when there is none.
QString FindArchive(const QString& programDir);

// Opens the archive (once per process) and reads its symbols; none when the
// file is missing or is no symbol archive.
std::vector<Symbol> Open(const QString& archive);

// The symbols of emojibase's compact data that have a picture among
// `pictures` (the picture files' names, lower case, without ".svg"), read
// from `folder`. Skin tone swatches and lone flag letters are left out, and
// so is every entry without an Italian name.
std::vector<Symbol> FromEmojiData(const QByteArray& json, const QSet<QString>& pictures,
                                  const QString& folder);

// What the search window's "Informazioni sui simboli" shows.
QString Notice();

} // namespace SymbolLibrary
