#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;
class QFileInfo;

// Files a layout or the user names may be anything: a folder, a FIFO, a
// device without end such as /dev/zero, a file of gigabytes. These read only
// a regular file of bounded size, and never wait: the type and size are
// checked on the opened file itself, and the open does not block on a FIFO
// without a writer.

// Opens `file` for reading on `path` when it names a regular file of at most
// maxBytes; false, with `file` left closed, for anything else.
bool OpenRegularFile(QFile& file, const QString& path, qint64 maxBytes);

// The whole content of such a file; nothing for anything else or when the
// reading fails. A file that shrinks while it is read gives what it holds; one
// that grows is cut at the size it had when opened.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes);

// A file without any write permission is left alone, also by a user who could
// override it (the owner of the file, root).
bool WriteProtected(const QFileInfo& info);
