#pragma once

#include <QString>

#include <optional>

class QTextStream;

// The command-line forms of the Open Board import and export. They open no
// window, print what they made on `out` and why they failed on `err`, and
// return the process's exit code.

// `--import FILE [--activate]`: imports into the data folder; with
// `activate` the first imported layout becomes the active one in cfg.ini.
int RunImportCommand(const QString& dataFolder, const QString& file, bool activate, QTextStream& out,
                     QTextStream& err);

// `--export LAYOUT.ini FILE.obz`: the layout and every layout its function keys reach.
int RunExportCommand(const QString& layout, const QString& output, QTextStream& out, QTextStream& err);

// Makes the layout the active one in the data folder's cfg.ini.
void ActivateLayout(const QString& dataFolder, const QString& layout);

// Runs `--import` or `--export` when the command line holds one (creating
// the display-free application they need); nothing when it holds neither,
// and the program starts as usual.
std::optional<int> RunObfCommandLine(int argc, char* argv[]);
