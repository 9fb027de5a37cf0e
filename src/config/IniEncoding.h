#pragma once

#include <QByteArray>
#include <QString>

// The one encoding rule of the program's INI files (cfg.ini and layouts).
// Reading: a file that starts with a UTF-8 byte-order mark and decodes
// cleanly after it is UTF-8; anything else is Windows-1252 (a mark in front
// of it is dropped). Writing: text goes out in the form the file already has
// whenever that reads back as the very same text, else in Windows-1252 when
// that does, else as UTF-8 with a byte-order mark. So files stay
// Windows-1252 as long as they can hold their text (a folder named Łódź or a
// Greek key text needs UTF-8), and a rewrite never changes how the rest of
// the file reads.
namespace IniEncoding {
enum class Form { Windows1252, MarkedWindows1252, Utf8 };

struct Decoded {
    QString text;
    Form form = Form::Windows1252;
};

Decoded Decode(QByteArray bytes);
QByteArray Encode(const QString& text, Form preferred = Form::Windows1252);
} // namespace IniEncoding
