#include "startup/mAvvio.h"

#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "config/ConfigFile.h"
#include "platform/IMessages.h"
#include "startup/Installer.h"
#include "startup/frmSplash.h"

std::unique_ptr<F_GO> Main(const QString& programFolder, F_GO::Services services) {
    frmSplash splash;
    splash.Form_Load();
    ResetSharedIni();
    SetActiveLayoutPath(QString());

    if (ConfigFile::InstallationDue(programFolder)) {
        Installer installer(programFolder);
        if (const Outcome installed = installer.Install(); !installed) {
            // The splash stays on top of everything; the report must not hide behind it.
            splash.Unload();
            ReportInstallationFailure(services.messages, installed);
            return nullptr;
        }
    }

    // A damaged cfg.ini found later is repaired with the whole installation;
    // when even that fails nothing can work, and the program ends.
    IMessages& messages = services.messages;
    services.repairConfiguration = [programFolder, &messages] {
        return RepairConfiguration(programFolder, messages);
    };
    auto window = std::make_unique<F_GO>(programFolder, services);
    window->ShowFullScreen();
    splash.Unload();
    return window;
}
