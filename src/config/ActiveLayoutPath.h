#pragma once

#include <QString>

// The full path of the active layout, kept in memory for the intro screen;
// empty until set, and empty when cfg.ini names a file that does not exist.
QString ActiveLayoutPath();
void SetActiveLayoutPath(const QString& path);
