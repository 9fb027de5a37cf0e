#include "runtime/ConfigurationCheck.h"

#include "config/Configuration.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"

bool ConfirmConfiguration(const QString& dataFolder, IMessages& messages,
                          const std::function<bool()>& repair) {
    switch (CheckConfiguration(dataFolder)) {
    case ConfigurationState::Ready:
        return true;
    case ConfigurationState::Damaged:
        messages.showMessage(QStringLiteral("Il file di configurazione è danneggiato.\r\n"
                                            "Il programma provvederà a ricreare il layout di default."),
                             MsgIcon::Exclamation, AppInfo::Title);
        if (repair && repair()) {
            messages.showMessage(QStringLiteral("File di configurazione e layout di default ricreato."),
                                 MsgIcon::Information, AppInfo::Title);
        }
        return false;
    case ConfigurationState::NoLayout:
        messages.showMessage(
            QStringLiteral("Non esiste alcun layout valido per il funzionamento del programma. "
                           "Creare un layout valido."),
            MsgIcon::Exclamation, AppInfo::Title);
        return false;
    case ConfigurationState::InvalidLayout:
        messages.showMessage(
            QStringLiteral("Il layout che si cerca di utilizzare non è valido. Crearne uno valido."),
            MsgIcon::Exclamation, AppInfo::Title);
        return false;
    }
    return false;
}
