#include "config/Configuration.h"

#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "config/FileExists.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "startup/Installer.h"

#include <cstdlib>

namespace {
const QString Marker = QStringLiteral("<$$-COMUNICATORE-$$>");

QString CfgPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/cfg.ini");
}

CINIFile& PointAt(const QString& file) {
    CINIFile& ini = SharedIni();
    ini.SetFile(file);
    ini.SetSection(QStringLiteral("KeyProgram"));
    return ini;
}
} // namespace

bool CheckConfiguration(const QString& programFolder, IMessages& messages, Installer& installer) {
    CINIFile& ini = PointAt(CfgPath(programFolder));
    const QString layoutPath = ini.GetValue(QStringLiteral("File"));
    const QString key = ini.GetValue(QStringLiteral("Key"));

    if (key.toUpper() != Marker) {
        messages.showMessage(QStringLiteral("Il file di configurazione è danneggiato.\r\n"
                                            "Il programma provvederà a ricreare il layout di default."),
                             MsgIcon::Exclamation, AppInfo::Title);
        QString error;
        if (!installer.Install(&error)) {
            ReportInstallationFailure(messages, error);
            std::exit(EXIT_FAILURE);
        }
        messages.showMessage(QStringLiteral("File di configurazione e layout di default ricreato."),
                             MsgIcon::Information, AppInfo::Title);
        return false;
    }

    if (!FileExists(layoutPath)) {
        messages.showMessage(
            QStringLiteral("Non esiste alcun layout valido per il funzionamento del programma. "
                           "Creare un layout valido."),
            MsgIcon::Exclamation, AppInfo::Title);
        return false;
    }
    if (PointAt(layoutPath).GetValue(QStringLiteral("Key")).toUpper() == Marker) {
        return true;
    }
    messages.showMessage(
        QStringLiteral("Il layout che si cerca di utilizzare non è valido. Crearne uno valido."),
        MsgIcon::Exclamation, AppInfo::Title);
    return false;
}

void ReadActivePath(const QString& programFolder) {
    const QString path = PointAt(CfgPath(programFolder)).GetValue(QStringLiteral("File"));
    SetActiveLayoutPath(FileExists(path) ? path : QString());
}

bool InstallationDue(const QString& programFolder) {
    const QString cfg = CfgPath(programFolder);
    if (!FileExists(cfg)) {
        return true;
    }
    return PointAt(cfg).GetValue(QStringLiteral("IsProgramInstalled")) == QStringLiteral("0");
}
