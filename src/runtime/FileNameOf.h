#pragma once

#include <QString>

// The file name part of a path: the text after the last separator once a
// single trailing separator has been removed. Layouts written on Windows use
// backslashes, ours use slashes; both separate here.
QString FileNameOf(const QString& path);
