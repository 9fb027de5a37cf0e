#pragma once

#include <QByteArray>
#include <QString>

// Files replaced so that a crash or a power cut keeps either the old or the
// new content: the new content goes to a temporary file beside the target,
// reaches the disk, and takes the target's name in one rename, which is then
// made durable by syncing the folder. Failures come back as errno values.
namespace DurableFile {
// Writes the bytes whole or not at all: 0, or the errno of the failure.
int Write(const QString& path, const QByteArray& bytes);

// Renames a written temporary file over the target (same folder): 0 or errno.
int Replace(const QString& temporary, const QString& target);

// Removes the temporary files that saves killed before their rename left in
// the target's folder (".name.ini.XXXXXX"), once they are old enough that no
// save can still be writing them.
void RemoveStaleTemporaries(const QString& target);

// The reason for a failed write, in Italian for the common causes, the
// system's own text for the rest.
QString ErrorText(int error);

// "<file>: <the system's own reason>", the detail of a failure for the log.
QString Detail(const QString& file, int error);
} // namespace DurableFile
