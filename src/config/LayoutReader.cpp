#include "config/LayoutReader.h"

#include "config/ConfigFile.h"
#include "config/FileExists.h"
#include "config/IniSnapshot.h"
#include "config/Integer16.h"
#include "config/LayoutFile.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"

#include <utility>

namespace {
const QString CrLf = QStringLiteral("\r\n");
using Kind = LayoutFile::Fault::Kind;

struct Message {
    explicit Message(QString text_, MsgIcon icon_ = MsgIcon::Exclamation, QString titleSuffix_ = QString())
        : text(std::move(text_)), icon(icon_), titleSuffix(std::move(titleSuffix_)) {}
    QString text;
    MsgIcon icon;
    QString titleSuffix;
};

// Which keys name which missing files, one line each, after the message's own words.
QString MissingDetail(const LayoutFile::Fault& fault) {
    QString detail = CrLf + CrLf + QStringLiteral("File mancanti:");
    for (const LayoutFile::Fault::MissingFile& file : fault.missing) {
        detail += CrLf + QStringLiteral("tasto %1: %2")
                             .arg(file.key)
                             .arg(file.path.isEmpty() ? QStringLiteral("nessun file indicato") : file.path);
    }
    return detail;
}

// The message of a fault that has one of its own.
std::optional<Message> MessageFor(const LayoutFile::Fault& fault) {
    switch (fault.kind) {
    case Kind::NotALayout:
        return Message(QStringLiteral("Non è un layout valido."));
    case Kind::KeyCount:
        return Message(QStringLiteral("Il numero dei tasti del layout non è compreso fra i seguenti: ") +
                           AllowedKeyCountsText(),
                       MsgIcon::Information);
    case Kind::ForcedInput:
        return Message(QStringLiteral("Il valore dell'input obbligato deve essere 0 o 1."));
    case Kind::SequenceValue:
        return Message(QStringLiteral("Il valore sequenziale « ") + fault.value +
                       QStringLiteral(" » dell'input obbligato non è compreso tra 1 e 21.") + CrLf +
                       QStringLiteral("Accertarsi che la sequenza sia valida."));
    case Kind::Section1:
        return Message(
            QStringLiteral("La sezione numero 1 è obbligatoria: quindi il valore va impostato su 1."));
    case Kind::Section2:
    case Kind::Section3:
        return Message(QStringLiteral("Il valore della sezione numero %1 deve essere 0 o 1.")
                           .arg(fault.kind == Kind::Section2 ? 2 : 3));
    case Kind::MissingPicture:
        return Message(
            QStringLiteral("Le immagini inserite nel layout non vengono trovate.") + CrLf +
                QStringLiteral("Accertarsi che il percorso delle immagini sia corretto e che le stesse "
                               "siano presenti e valide.") +
                MissingDetail(fault),
            MsgIcon::Exclamation, QStringLiteral("CARICAMENTO IMMAGINI"));
    case Kind::MissingSound:
        return Message(
            QStringLiteral("I file sonori inseriti nel layout non vengono trovati.") + CrLf +
                QStringLiteral("Accertarsi che il percorso dei file sonori sia corretto e che gli stessi "
                               "siano presenti e validi.") +
                MissingDetail(fault),
            MsgIcon::Exclamation, QStringLiteral("CARICAMENTO FILE DIGITALI"));
    case Kind::None:
    case Kind::SequenceNotNumber:
    case Kind::NotANumber:
        break;
    }
    return std::nullopt;
}
} // namespace

LayoutReader::LayoutReader(QString dataFolder, IMessages& messages, LayoutData& data)
    : m_dataFolder(std::move(dataFolder)), m_messages(messages), m_data(data) {}

bool LayoutReader::ReadLayout() {
    return ReadLayoutAt(ConfigFile::ActiveLayout(m_dataFolder));
}

bool LayoutReader::ReadLayoutAt(const QString& layoutPath) {
    const QString title = AppInfo::Title;
    LayoutFile::Fault fault;
    if (!FileExists(layoutPath)) {
        m_messages.showMessage(QStringLiteral("Non esiste alcun layout."), MsgIcon::None, title);
    } else {
        fault = LayoutFile::Load(IniSnapshot::FromFile(layoutPath), m_data);
        if (fault.kind == Kind::None) {
            return false;
        }
        if (const std::optional<Message> message = MessageFor(fault)) {
            m_messages.showMessage(message->text, message->icon,
                                   message->titleSuffix.isEmpty()
                                       ? title
                                       : title + QStringLiteral(" - ") + message->titleSuffix);
        }
    }
    // The closing report.
    if (fault.kind == Kind::NotANumber) {
        m_messages.showMessage(QStringLiteral("Errore n. %1").arg(fault.conversionError) + CrLf +
                                   Integer16::ErrorDescription(fault.conversionError),
                               MsgIcon::Exclamation, title);
        return true;
    }
    m_messages.showMessage(
        QStringLiteral("Si è verificato un errore nella lettura delle risorse.") + CrLf +
            QStringLiteral("Controllare che le risorse da utilizzare siano quelle previste dal programma."),
        MsgIcon::Exclamation, title + QStringLiteral(" - CARICAMENTO RISORSE"));
    return true;
}
