#pragma once

#include <QString>

// True when a directory entry exists for the path: a file, a folder, or a
// wildcard pattern (* and ?) in the last component that matches something.
// Names are matched without regard to case, one path component at a time.
// An empty path is false.
bool FileExists(const QString& path);

// The path of the entry on disk that matches `path` without regard to case
// (the exact name is preferred). When only the folders exist, their real path
// followed by the last component as given; the path itself when a folder is missing.
// Every place that opens a file named by a layout goes through this.
QString ResolveFileCase(const QString& path);
