#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;

// Files a layout, a board or the user names may be anything: a folder, a FIFO,
// a device without end such as /dev/zero, a file of gigabytes. These read
// only a regular file of bounded size, and never wait: the type and size are
// checked on the opened file itself, and the open does not block on a FIFO
// without a writer.

// Opens `file` for reading on `path` when it names a regular file of at most
// maxBytes; false, with `file` left closed, for anything else.
bool OpenRegularFile(QFile& file, const QString& path, qint64 maxBytes);

// The content of such a file, its first `limit` bytes when a limit is given;
// nothing for anything else or when the reading fails. A file that shrinks
// while it is read gives what it holds; one that grows is cut at the size it
// had when opened.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, qint64 limit = -1);

// The same, and a file of the program's resources (":/...") too.
std::optional<QByteArray> ReadFileOrResource(const QString& path, qint64 maxBytes, qint64 limit = -1);
