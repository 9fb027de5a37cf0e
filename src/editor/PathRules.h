#pragma once

#include <QString>

// Rules on file names shared by the settings window and the open-layout dialog.
namespace PathRules {
// The file-name part of a path: one trailing separator is dropped, then the
// text after the last separator is kept. Layout files written on Windows use
// backslashes, so both separators count.
QString FileNameOf(const QString& path);

// True when the path names the program's configuration file (cfg.ini in any
// letter case): choosing it as a layout would overwrite the configuration.
bool IsConfigFile(const QString& path);

// A layout name whose extension is not "ini" (in any case) gets ".ini" in
// place of its extension, or appended when it has none.
QString WithIniExtension(const QString& path);

// The file a layout name typed by the user stands for: a name without a
// folder (or any relative name) lies in the program's layout folder, never
// in the working directory of the moment. An empty name stays empty.
QString LayoutFilePath(const QString& name, const QString& programFolder);
} // namespace PathRules
