#pragma once

#include <QString>
#include <QStringList>

// One picture that can be searched and put on a key: a symbol of the library
// that ships with the program, or a picture file in one of the family's folders.
struct Symbol {
    enum class Origin { Library, Folder };

    Origin origin = Origin::Library;
    // What the search window shows and a screen reader says: the symbol's
    // Italian name, or the file's name without its extension.
    QString label;
    // More words that find it ("frutta" for the apple); none for a file.
    QStringList tags;
    // Where the picture is read from: a file of the library archive
    // (":/simboli/1f34e.svg") or a file's absolute path.
    QString file;
    // Names the file a chosen symbol is written to, so the same symbol
    // always gives the same file: the library's code ("1f34e"), or for a
    // folder's picture its absolute path.
    QString key;
};
