#include "config/ConfigFile.h"

#include "config/ActiveLayoutPath.h"
#include "config/FileExists.h"
#include "config/CINIFile.h"
#include "config/LayoutFile.h"
#include "platform/WriteProtected.h"

#include <QFile>
#include <QFileInfo>

namespace ConfigFile {
namespace {
const QString Section = QStringLiteral("KeyProgram");
const QString FileKey = QStringLiteral("File");
const QString InstalledKey = QStringLiteral("IsProgramInstalled");

// cfg.ini is read and written through the program-wide INI object, pointed
// at the file and its one section before every use.
CINIFile& PointAt(const QString& dataFolder) {
    CINIFile& ini = SharedIni();
    ini.SetFile(Path(dataFolder));
    ini.SetSection(Section);
    return ini;
}

QString Read(const QString& dataFolder, const QString& key) {
    return PointAt(dataFolder).GetValue(key);
}

void Write(const QString& dataFolder, const QString& key, const QString& value) {
    PointAt(dataFolder).SetValues(key, value);
}
} // namespace

QString Path(const QString& dataFolder) {
    return dataFolder + QStringLiteral("/cfg.ini");
}

QString ActiveLayout(const QString& dataFolder) {
    return Read(dataFolder, FileKey);
}

bool SetActiveLayout(const QString& dataFolder, const QString& layoutPath) {
    Write(dataFolder, FileKey, layoutPath);
    return ActiveLayout(dataFolder) == layoutPath;
}

bool Writable(const QString& dataFolder) {
    const QFileInfo info(ResolveFileCase(Path(dataFolder)));
    if (!info.exists()) {
        return QFileInfo(info.absolutePath()).isDir();
    }
    return info.isFile() && !WriteProtected(info);
}

bool HasMarker(const QString& dataFolder) {
    return Read(dataFolder, QStringLiteral("Key")).toUpper() == LayoutFile::Marker;
}

bool InstallationDue(const QString& dataFolder) {
    return !FileExists(Path(dataFolder)) || Read(dataFolder, InstalledKey) == QStringLiteral("0");
}

void Remove(const QString& dataFolder) {
    QFile::remove(ResolveFileCase(Path(dataFolder)));
}

bool WriteInstalled(const QString& dataFolder, const QString& layoutPath) {
    Write(dataFolder, QStringLiteral("Key"), LayoutFile::Marker);
    Write(dataFolder, FileKey, layoutPath);
    Write(dataFolder, InstalledKey, QStringLiteral("1"));
    // Profile writes fail silently; without cfg.ini every start would repeat
    // the installation and report a repair that never happened.
    return Read(dataFolder, InstalledKey) == QStringLiteral("1");
}

void RefreshActivePath(const QString& dataFolder) {
    const QString path = ActiveLayout(dataFolder);
    SetActiveLayoutPath(FileExists(path) ? path : QString());
}
} // namespace ConfigFile
