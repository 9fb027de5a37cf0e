#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. An option is one field here and a few
// lines in ParseCommandLine().
struct CommandLineOptions {
    // False for --help, --version and a wrong command line: main() prints
    // `output` and ends with `exitCode` before any window or folder is touched.
    bool run = true;
    int exitCode = 0;
    QString output; // for stdout when exitCode is 0, for stderr otherwise

    QString dataFolder; // --data DIR; empty when not given

    // Open Board files, handled without any window (src/obf/ObfCommands.h).
    QString importFile;    // --import FILE
    bool activate = false; // --activate: the first imported layout becomes the active one
    bool verbose = false;  // --verbose: a line per imported board
    QString exportLayout;  // --export LAYOUT.ini FILE.obz
    QString exportFile;
};

// Needs no application object, so --help and --version answer without a display.
CommandLineOptions ParseCommandLine(const QStringList& arguments);

// Exit code of a wrong command line and of a data folder that cannot be used.
constexpr int UsageExitCode = 2;
