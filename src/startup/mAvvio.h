#pragma once

#include "runtime/F_GO.h"

#include <QString>

#include <memory>

// The program's entry routine: hourglass, splash, the shared INI object, the
// first-run installation when cfg.ini is missing or says IsProgramInstalled=0,
// then the runtime window, shown; the splash goes and the pointer is the
// default one again. Returns the runtime window, which lives as long as the
// program, or nothing when the installation failed (its failure has been
// reported and the program ends).
std::unique_ptr<F_GO> Main(const QString& programFolder, F_GO::Services services);
