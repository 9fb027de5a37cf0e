#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QImage;

// Small helpers shared by the tests.
namespace TestSupport {
// The source tree (for test data committed with the project).
QString sourceDir();
// Writes bytes to a file, creating its folders; returns false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
// The image in a file format Qt writes ("PNG", "JPEG", "BMP"...).
QByteArray encoded(const QImage& image, const char* format);
// Every entry below a folder, hidden ones included, each regular file with its bytes and time:
// the same before and after shows that nothing there was written, added or removed.
QStringList snapshot(const QString& folder);
} // namespace TestSupport
