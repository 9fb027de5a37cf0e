#pragma once

#include <QString>

// cfg.ini, the program's own settings in the data folder: one section
// KeyProgram with the marker (Key), the active layout (File) and
// IsProgramInstalled. The one place that builds its path and writes it.
namespace ConfigFile {
QString Path(const QString& dataFolder);

// The layout cfg.ini names as active (empty when none).
QString ActiveLayout(const QString& dataFolder);
// Makes `layoutPath` the active layout; false when cfg.ini could not be
// written (it then names what it named before).
bool SetActiveLayout(const QString& dataFolder, const QString& layoutPath);
// True when cfg.ini could take a new active layout: it is a file that is not
// write-protected, or it is missing from a folder that exists. The INI engine
// cannot report a failed write, so savers ask this before touching anything.
bool Writable(const QString& dataFolder);

// True when cfg.ini carries the marker (in any letter case).
bool HasMarker(const QString& dataFolder);
// The start-up decision: true when cfg.ini is missing or its
// IsProgramInstalled is exactly "0".
bool InstallationDue(const QString& dataFolder);

// The installer's cfg.ini: removes the old one ...
void Remove(const QString& dataFolder);
// ... and writes the marker, the active layout and IsProgramInstalled=1;
// false when the file could not be written.
bool WriteInstalled(const QString& dataFolder, const QString& layoutPath);

// Sets the program-wide ActiveLayoutPath to the layout cfg.ini names, or to
// the empty string when that file does not exist.
void RefreshActivePath(const QString& dataFolder);
} // namespace ConfigFile
