#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "config/Configuration.h"
#include "config/LayoutReader.h"
#include "config/ProgramFolder.h"
#include "platform/AppInfo.h"
#include "platform/QtMessages.h"
#include "startup/Installer.h"

#include <QApplication>

#include <cstdio>

// Until the runtime window exists, the program installs what is missing,
// checks the configuration and the active layout, says so and stops.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtMessages messages;
    const QString folder = ProgramFolder();
    ResetSharedIni();
    SetActiveLayoutPath(QString());

    Installer installer(folder);
    const bool installing = InstallationDue(folder);
    if (installing) {
        QString error;
        if (!installer.Install(&error)) {
            ReportInstallationFailure(messages, error);
            return EXIT_FAILURE;
        }
    }
    ReadActivePath(folder);

    QString outcome;
    if (!CheckConfiguration(folder, messages, installer)) {
        outcome = QStringLiteral("the configuration check did not pass (see the messages shown)");
    } else {
        LayoutData data;
        outcome = LayoutReader(folder, messages, data).ReadLayout()
                      ? QStringLiteral("the active layout %1 could not be loaded").arg(ActiveLayoutPath())
                      : QStringLiteral("the active layout %1 is valid (keys: %2)")
                            .arg(ActiveLayoutPath())
                            .arg(data.KeyCount);
    }
    std::printf(
        "%s %d.%d.%d: %s in %s; %s. The communicator window is not built yet, so the program stops here.\n",
        qPrintable(AppInfo::Title), AppInfo::VersionMajor, AppInfo::VersionMinor, AppInfo::VersionRevision,
        installing ? "installed the default pictures, sounds, layouts and cfg.ini"
                   : "found an existing installation",
        qPrintable(folder), qPrintable(outcome));
    return EXIT_SUCCESS;
}
