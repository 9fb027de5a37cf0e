#pragma once

#include <QString>

// The program's name and version, as the windows and message boxes show them.
namespace AppInfo {
inline const QString Title = QStringLiteral("Mirelva");
// "1.0.76": the project's version from the build, so the windows, --version and the package agree.
QString Version();
} // namespace AppInfo
