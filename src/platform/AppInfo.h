#pragma once

#include <QString>

// The program's name and version, as the windows and message boxes show them.
namespace AppInfo {
inline const QString Title = QStringLiteral("Mirelva");
constexpr int VersionMajor = 1;
constexpr int VersionMinor = 0;
constexpr int VersionRevision = 76;
} // namespace AppInfo
