#pragma once

#include <QByteArray>
#include <QString>

// Small helpers shared by the tests.
namespace TestSupport {
// The source tree (for test data committed with the project).
QString sourceDir();
// Writes bytes to a file, creating its folders; returns false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
} // namespace TestSupport
