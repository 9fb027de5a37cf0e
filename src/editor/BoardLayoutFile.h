#pragma once

#include "config/LayoutContent.h"

#include <QString>

// Saves a layout made outside the settings window through the program's one
// layout file module, and makes it the active layout when asked. False when
// the layout could not be written (or, with `activate`, cfg.ini not updated).
bool WriteBoardLayout(const LayoutContent& content, const QString& layoutPath, const QString& dataFolder,
                      bool activate);
