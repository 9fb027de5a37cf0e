#pragma once

#include "platform/Outcome.h"

#include <QString>

// Pictures and sounds travel with the layouts that name them: a file picked
// from outside the data folder is copied into the data folder's immagini or
// suoni, and the layout names the copy. So a board survives moving or
// deleting the originals, and copying the data folder backs up everything.
namespace MediaCopy {
// The path a layout should name for `path`: the path itself when it lies in
// the data folder already or names no regular file; otherwise the copy in
// dataFolder/folder, under the same file name, or with _2, _3, ... before
// the extension when another file has that name. A file with the same bytes
// already there is the copy, so the same file picked twice gives one copy.
Result<QString> Adopt(const QString& path, const QString& dataFolder, const QString& folder);
} // namespace MediaCopy
