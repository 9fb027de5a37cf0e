#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The first `limit` bytes of a regular file of at most `maxBytes`, or of a
// file of the program's resources (":/..."); nothing for anything else.
// Never waits: O_NONBLOCK keeps a FIFO without a writer from blocking the
// open, and the type and size are checked on the opened file itself.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, qint64 limit = -1);
