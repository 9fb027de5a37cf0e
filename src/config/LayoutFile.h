#pragma once

#include "config/LayoutContent.h"
#include "config/LayoutData.h"
#include "platform/Outcome.h"

#include <QByteArray>
#include <QString>

class IniSnapshot;

// The layout file: an INI file of nine sections (KeyProgram with the marker,
// Impostazioni, Input Obbligato, Sequenza, Bonus, Sezione Immagini, Sezione
// Sonoro, Sezione Testo, Tasti Funzione). This is the one place that knows
// its names, limits and rules; everything that reads or writes a layout goes
// through here.
namespace LayoutFile {
// The value of KeyProgram/Key that marks cfg.ini and every layout, compared in upper case.
inline const QString Marker = QStringLiteral("<$$-COMUNICATORE-$$>");
inline constexpr int MaxKeys = LayoutContent::MaxKeys;
inline constexpr int FunctionKeys = LayoutContent::FunctionKeys;

// The two link targets that are not files: the layout shown before, and the
// one that was active when the table was opened.
inline const QString LinkBack = QStringLiteral("<indietro>");
inline const QString LinkHome = QStringLiteral("<inizio>");

// True when the snapshot carries the marker (in any letter case).
bool HasMarker(const IniSnapshot& file);
// True when the file at `path` carries the marker.
bool IsLayout(const QString& path);

// ---- Writing -----------------------------------------------------------------

// How the numbers of Impostazioni and Input Obbligato are written: the
// settings window writes "Tasti=4", the installer's default layouts "Tasti = 4".
enum class Style { Settings, Installer };

// The bytes of a layout file: every section and key in the fixed order (the
// link section, Collegamenti, only when a key has a link, and Voce only for
// a layout with a voice of its own), CR LF
// line ends, one empty line between sections, Windows-1252 unless a value
// needs UTF-8 (then UTF-8 with a byte-order mark). Line breaks inside a value
// become blanks and a value ends at a NUL, so each value stays on its line.
QByteArray Encode(const LayoutContent& content, Style style = Style::Settings);

// Writes the layout whole or not at all: the name in any letter case on disk
// counts as the same file, a link is followed to the file it names, and a
// replaced file keeps its permissions. A folder, a device or a write-protected
// file in its place is refused; nothing is written then.
Outcome Write(const LayoutContent& content, const QString& path);

// ---- Reading -----------------------------------------------------------------

// Why the table refuses a layout: the first fault found, in the order the
// table checks (marker, key count, forced input, its sequence, the three
// section switches, then the pictures and sounds of every key).
struct Fault {
    enum class Kind {
        None,
        NotALayout,        // no marker
        KeyCount,          // a number that is not an allowed count
        ForcedInput,       // neither 0 nor 1
        SequenceValue,     // a sequence value outside 1 to 21 (`value` holds its text)
        SequenceNotNumber, // a sequence value that is no number
        Section1,          // not 1
        Section2,          // neither 0 nor 1
        Section3,          // neither 0 nor 1
        MissingPicture,    // `key` names a picture that does not exist (`value`: the path)
        MissingSound,      // the same for a sound
        NotANumber,        // a number that cannot be read: `conversionError` is 13 or 6
    };
    Kind kind = Kind::None;
    int key = 0;
    QString value;
    int conversionError = 0;
};

// The table's rules: checks the layout and fills `data` with what the table
// shows. Values read before the fault stay in `data`, the rest as they were.
Fault Load(const IniSnapshot& file, LayoutData& data);

// The settings window's rules, which open more than the table shows so that
// a faulty layout can be mended: any key count from 21 down (0 and below are
// taken as they stand, the window makes them 1), switches other than 1 read
// as 0. Refused: no marker, or a key count or switch that is no number
// (NotALayout), more than 21 keys (KeyCount).
struct Editable {
    LayoutContent content;
    Fault::Kind fault = Fault::Kind::None;
};
Editable ReadForEditing(const IniSnapshot& file);
} // namespace LayoutFile
