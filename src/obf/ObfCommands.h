#pragma once

#include "platform/Outcome.h"

#include <QString>

class QTextStream;

// The command-line forms of the Open Board import and export. They open no
// window, print what they made on `out` and why they failed on `err`, and
// return the process's exit code.

// `--import FILE [--activate] [--verbose]`: imports into the data folder;
// with `activate` the first imported layout becomes the active one in
// cfg.ini. Progress goes to `err` when it is a terminal, a line per board
// with `verbose`; Ctrl+C stops it with nothing written (InterruptedExitCode).
int RunImportCommand(const QString& dataFolder, const QString& file, bool activate, bool verbose,
                     QTextStream& out, QTextStream& err);
// The shell's code for a program ended by Ctrl+C.
constexpr int InterruptedExitCode = 130;

// `--export LAYOUT.ini FILE.obz`: the layout and every layout its function keys reach.
int RunExportCommand(const QString& layout, const QString& output, QTextStream& out, QTextStream& err);

// Makes the layout the active one in the data folder's cfg.ini; fails when
// cfg.ini could not be written.
Outcome ActivateLayout(const QString& dataFolder, const QString& layout);
