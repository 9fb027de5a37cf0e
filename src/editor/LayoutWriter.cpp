#include "editor/LayoutWriter.h"

#include "config/ConfigFile.h"
#include "config/DurableFile.h"
#include "config/LayoutFile.h"

#include <cerrno>

Outcome LayoutWriter::Save(const LayoutContent& content, const QString& layoutPath,
                           const QString& dataFolder) {
    const QString config = ConfigFile::Path(dataFolder);
    if (!ConfigFile::Writable(dataFolder)) {
        return Outcome::Failed(
            QStringLiteral("Impossibile aggiornare il file di configurazione «%1».\r\nIl layout "
                           "non è stato memorizzato.")
                .arg(config),
            config + QStringLiteral(": cannot be written"));
    }
    if (const Outcome written = LayoutFile::Write(content, layoutPath); !written) {
        return Outcome::Failed(NotWrittenMessage(layoutPath, written.message()), written.detail());
    }
    if (!ConfigFile::SetActiveLayout(dataFolder, layoutPath)) {
        return Outcome::Failed(
            QStringLiteral("Il layout è stato memorizzato nel file «%1», ma non è stato possibile "
                           "renderlo attivo nel file di configurazione «%2».")
                .arg(layoutPath, config),
            config + QStringLiteral(": the active layout was not updated"));
    }
    return Outcome::Done();
}

QString LayoutWriter::NotWrittenMessage(const QString& path, const QString& reason) {
    if (reason == DurableFile::ErrorText(ENOSPC)) {
        return QStringLiteral(
                   "Impossibile memorizzare il layout nel file «%1»: il disco è pieno.\r\nNessun file è "
                   "stato modificato: liberare spazio sul disco e riprovare.")
            .arg(path);
    }
    return QStringLiteral("Impossibile memorizzare il layout nel file «%1».\r\nNessun file è stato "
                          "modificato: controllare che la cartella esista e che la cartella e il file non "
                          "siano protetti da scrittura.")
        .arg(path);
}
