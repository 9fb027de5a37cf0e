#pragma once

#include <QString>

#include <optional>

// Our own INI store, with the rules of the Windows private-profile functions
// that the program relies on:
// - section and key names match without regard to case, blanks around names
//   and values are ignored, a value in a matching pair of double quotes is
//   read without them;
// - the first of duplicate sections, and of duplicate keys, wins;
// - a missing file, section or key reads as absent; a failed write is lost
//   silently and leaves the file as it was;
// - nothing is cached: every call reads, and every change writes, the file.
// Files have CR LF line ends and the encoding IniEncoding decides; files
// above 1 MiB read as absent and are never written.
namespace IniEngine {
// The buffer every value of the program is read with: values come back cut to 254 characters.
inline constexpr int ValueBufferSize = 255;

// GetPrivateProfileString: the value, or the default when the file, section or
// key is missing; cut to bufferSize - 1 characters.
QString ReadString(const QString& file, const QString& section, const QString& key,
                   const QString& defaultValue, int bufferSize);
// The decoded text of a file as ReadString reads it (a case variant on disk
// counts as the same file); nothing for a missing, oversized or irregular file.
std::optional<QString> ReadFileText(const QString& file);
// ReadString's lookup on a text read before: the same rules, no file access.
QString LookUp(const std::optional<QString>& text, const QString& section, const QString& key,
               const QString& defaultValue, int bufferSize);
// WritePrivateProfileString with a value: creates the file and the section as
// needed, replaces an existing key in place, appends a new one at the end of
// its section as key=value.
void WriteString(const QString& file, const QString& section, const QString& key, const QString& value);
} // namespace IniEngine
