#pragma once

#include <QByteArray>
#include <QString>

// INI files are single-byte Windows-1252 text. Qt has no codec for it, so the
// program carries its own table. Every byte maps to one character (the five
// bytes the code page leaves undefined map to the C1 controls of the same
// value), so any file decodes and encodes back to the same bytes.
namespace Windows1252 {
QString Decode(const QByteArray& bytes);
// Characters the code page cannot hold become '?', one per character.
QByteArray Encode(const QString& text);
} // namespace Windows1252
