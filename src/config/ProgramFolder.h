#pragma once

#include <QString>

// The folder holding the executable, without a trailing separator: cfg.ini,
// layout, immagini and suoni lie directly in it. Only main() asks for it;
// everything else is handed the folder, so tests can use a folder of their own.
QString ProgramFolder();
