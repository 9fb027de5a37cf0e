#pragma once

#include <QString>

class IMessages;
class Installer;

// The configuration check run each time the user starts the table: true when
// the table may start. cfg.ini without its marker (or missing) is repaired by
// running the whole installation, with a message before and after; the check
// then returns false and the next attempt finds the new files. When that
// installation fails, the failure is reported and the program ends
// (std::exit(EXIT_FAILURE)), as nothing can work without the default files.
bool CheckConfiguration(const QString& programFolder, IMessages& messages, Installer& installer);

// Sets ActiveLayoutPath to the layout cfg.ini names, or to the empty string
// when that file does not exist.
void ReadActivePath(const QString& programFolder);

// The start-up decision: true when cfg.ini is missing or its
// IsProgramInstalled is exactly "0".
bool InstallationDue(const QString& programFolder);
