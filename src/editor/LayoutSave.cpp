#include "editor/LayoutSave.h"

#include "config/FileExists.h"
#include "config/IniSnapshot.h"
#include "editor/LayoutWriter.h"
#include "editor/MediaCopy.h"
#include "editor/PathRules.h"
#include "grid/TableShape.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "platform/Log.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>

#include <utility>

namespace {
using Field = LayoutEditor::Field;
using Kind = LayoutFile::Fault::Kind;
const QString CrLf = QStringLiteral("\r\n");

// "3", "3 e 4", "3, 4 e 5".
QString KeyList(const QList<int>& keys) {
    QStringList numbers;
    for (int k : keys) {
        numbers << QString::number(k);
    }
    const QString last = numbers.takeLast();
    return numbers.isEmpty() ? last : numbers.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
}

// The hourglass for the time of the writing, whatever way it ends.
class BusyPointer {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};
} // namespace

LayoutSave::LayoutSave(LayoutEditor& editor, IMessages& messages, PickFile pick)
    : m_editor(editor), m_messages(messages), m_pick(std::move(pick)) {}

void LayoutSave::Tell(const QString& text, bool exclamation) {
    m_messages.showMessage(text, exclamation ? MsgIcon::Exclamation : MsgIcon::Information, AppInfo::Title);
}

LayoutSave::Result LayoutSave::run(const QString& typedName) {
    Result stop;
    if (!CheckWindowRules()) {
        return stop;
    }
    // An INI value cannot keep blanks at its ends, so neither can the name
    // cfg.ini records; a typed name gets .ini and, without a folder, goes to
    // the layout folder, as a name chosen in the save picker.
    const QString name = typedName.trimmed();
    const QString path = PathRules::LayoutFilePath(name.isEmpty() ? name : PathRules::WithIniExtension(name),
                                                   m_editor.dataFolder());
    if (!CheckName(path) || !CheckLinks(stop) || !TableOpensIt(stop) || !CopyMedia()) {
        return stop;
    }
    stop.saved = Write(path);
    return stop;
}

bool LayoutSave::CheckWindowRules() {
    if (!TableShapeFor(m_editor.keyCount())) {
        Tell(QStringLiteral("Il numero dei tasti del layout deve essere compreso fra i seguenti: ") +
                 AllowedKeyCountsText(),
             false);
        return false;
    }
    for (int k = 1; k <= m_editor.keyCount(); ++k) {
        if (m_editor.value(Field::Picture, k).isEmpty()) {
            Tell(QStringLiteral("Le immagini deveno essere inserite consecutivamente."));
            return false;
        }
    }
    return true;
}

bool LayoutSave::CheckName(const QString& path) {
    if (path.isEmpty()) {
        Tell(QStringLiteral("Indicare il nome del file in cui memorizzare il layout."));
        return false;
    }
    if (PathRules::IsConfigFile(path)) {
        Tell(
            QStringLiteral("Il file «%1» è il file di configurazione del programma: il layout non può essere "
                           "memorizzato con questo nome. Sceglierne un altro.")
                .arg(path));
        return false;
    }
    // Another layout's name typed in the box: the save picker would ask, so this asks too.
    const QFileInfo existing(ResolveFileCase(path));
    const QString opened = m_editor.openedPath();
    const bool sameFile = !opened.isEmpty() && existing.canonicalFilePath() ==
                                                   QFileInfo(ResolveFileCase(opened)).canonicalFilePath();
    if (existing.isFile() && !sameFile &&
        !m_messages.askYesNo(
            QStringLiteral("Il file «%1» esiste già.\r\nSostituirlo con questo layout?").arg(path),
            AppInfo::Title)) {
        return false;
    }
    const QList<int> hidden = m_editor.hiddenKeys();
    return hidden.isEmpty() ||
           m_messages.askYesNo(
               QStringLiteral("%1 %2 senza immagine: la tabella mostrerà %3 tasti. %4 restano nel "
                              "layout e tornano quando si rimettono le immagini.\r\nSalvare il layout?")
                   .arg(hidden.size() == 1 ? QStringLiteral("Il tasto") : QStringLiteral("I tasti"),
                        KeyList(hidden) +
                            (hidden.size() == 1 ? QStringLiteral(" è") : QStringLiteral(" sono")))
                   .arg(m_editor.keyCount())
                   .arg(m_editor.hiddenLinks() ? QStringLiteral("Suoni, testi e collegamenti")
                                               : QStringLiteral("Suoni e testi")),
               AppInfo::Title);
}

// A link set to a layout that is not there leaves the user where they are
// when the key is chosen: said before saving. Links the layout came with are
// marked on the links page and not asked about again.
bool LayoutSave::CheckLinks(Result& stop) {
    for (int k = 1; k <= m_editor.keyCount(); ++k) {
        const QString link = m_editor.value(Field::Link, k);
        if (!m_editor.linkEdited(k) || LayoutEditor::KindOf(link) != LayoutEditor::LinkKind::Layout ||
            FileExists(link)) {
            continue;
        }
        if (!m_messages.askYesNo(QStringLiteral("Il layout collegato al tasto %1, «%2», non esiste: il tasto "
                                                "non aprirà nessuna tabella.")
                                         .arg(k)
                                         .arg(link) +
                                     CrLf + QStringLiteral("Salvare comunque il layout?"),
                                 AppInfo::Title)) {
            stop.field = Field::Link;
            stop.key = k;
            return false;
        }
    }
    return true;
}

// The table's own rules, on the bytes the save is about to write.
bool LayoutSave::TableOpensIt(Result& stop) {
    for (;;) {
        LayoutData data;
        const LayoutFile::Fault fault =
            LayoutFile::Load(IniSnapshot::FromBytes(LayoutFile::Encode(m_editor.content())), data);
        if (fault.kind == Kind::None) {
            return true;
        }
        if (!OfferFix(fault, stop)) {
            const bool anyway = m_messages.askYesNo(
                QStringLiteral(
                    "Salvare comunque il layout? La tabella non lo aprirà finché non sarà corretto."),
                AppInfo::Title);
            return anyway;
        }
    }
}

// Asks whether to mend what the table would refuse, and mends it; false when
// the user said No or cancelled the picker.
bool LayoutSave::OfferFix(const LayoutFile::Fault& fault, Result& stop) {
    const QString refused = QStringLiteral(": la tabella non aprirà il layout.") + CrLf;
    stop.key = fault.key;
    switch (fault.kind) {
    case Kind::Section1:
        if (!m_messages.askYesNo(QStringLiteral("«Attiva Sezione 1» non è selezionata") + refused +
                                     QStringLiteral("Selezionarla e salvare?"),
                                 AppInfo::Title)) {
            return false;
        }
        m_editor.setSection(1, true);
        return true;
    case Kind::SequenceValue:
    case Kind::SequenceNotNumber:
        if (!m_messages.askYesNo(
                QStringLiteral(
                    "La sequenza dell'input obbligato deve indicare un tasto per ognuno dei %1 passi, "
                    "ma il passo %2 %3")
                        .arg(m_editor.keyCount())
                        .arg(fault.key)
                        .arg(fault.value.isEmpty() ? QStringLiteral("è vuoto")
                                                   : QStringLiteral("vale «%1»").arg(fault.value)) +
                    refused + QStringLiteral("Disattivare l'input obbligato e salvare?"),
                AppInfo::Title)) {
            return false;
        }
        m_editor.setForcedInput(false);
        return true;
    case Kind::MissingPicture:
    case Kind::MissingSound: {
        const bool sound = fault.kind == Kind::MissingSound;
        stop.field = sound ? Field::Sound : Field::Picture;
        QList<int> unnamed;
        for (const LayoutFile::Fault::MissingFile& missing : fault.missing) {
            if (missing.path.isEmpty()) {
                unnamed << missing.key;
            }
        }
        // Keys without any sound: the section is what the user can switch off.
        if (sound && !unnamed.isEmpty()) {
            if (!m_messages.askYesNo(
                    QStringLiteral("Con «Attiva Sezione 2» ogni tasto deve avere un suono, ma %1 %2 nessuno")
                            .arg(unnamed.size() == 1 ? QStringLiteral("il tasto") : QStringLiteral("i tasti"),
                                 KeyList(unnamed) + (unnamed.size() == 1 ? QStringLiteral(" non ha")
                                                                         : QStringLiteral(" non hanno"))) +
                        refused + QStringLiteral("Disattivare la Sezione 2 (i suoni) e salvare?"),
                    AppInfo::Title)) {
                stop.key = unnamed.first();
                return false;
            }
            m_editor.setSection(2, false);
            return true;
        }
        const QString what = sound ? QStringLiteral("Il suono") : QStringLiteral("L'immagine");
        if (!m_messages.askYesNo(QStringLiteral("%1 del tasto %2, «%3», non esiste")
                                         .arg(what)
                                         .arg(fault.key)
                                         .arg(fault.value) +
                                     refused + QStringLiteral("Scegliere ora il file?"),
                                 AppInfo::Title)) {
            return false;
        }
        const QString chosen = m_pick(stop.field, fault.key);
        if (chosen.isEmpty()) {
            return false;
        }
        m_editor.setValue(stop.field, fault.key, chosen);
        return true;
    }
    default:
        Tell(QStringLiteral("Il layout non è valido per la tabella."));
        return false;
    }
}

bool LayoutSave::CopyMedia() {
    const QString data = m_editor.dataFolder();
    const auto adopt = [&](const QString& path, const QString& folder) -> std::optional<QString> {
        const ::Result<QString> copy = MediaCopy::Adopt(path, data, folder);
        if (!copy) {
            Tell(copy.failure().message());
            return std::nullopt;
        }
        return copy.value();
    };
    for (int k = 1; k <= m_editor.keyCount(); ++k) {
        for (const Field field : {Field::Picture, Field::Sound}) {
            const auto copy =
                adopt(m_editor.value(field, k),
                      field == Field::Picture ? QStringLiteral("immagini") : QStringLiteral("suoni"));
            if (!copy) {
                return false;
            }
            m_editor.setValue(field, k, *copy);
        }
    }
    const auto bonus = adopt(m_editor.bonus(), QStringLiteral("suoni"));
    if (!bonus) {
        return false;
    }
    m_editor.setBonus(*bonus);
    return true;
}

QString LayoutSave::UnsavedQuestion() {
    return QStringLiteral("Le modifiche al layout non sono state salvate.\r\nChiudere senza salvarle?");
}

bool LayoutSave::Write(const QString& path) {
    Outcome saved;
    {
        const BusyPointer busy;
        saved = LayoutWriter::Save(m_editor.content(), path, m_editor.dataFolder());
    }
    if (!saved) {
        Log::Failure(lcFiles, saved);
        Tell(saved.message());
        return false;
    }
    m_editor.setLayoutPath(path);
    Tell(path + QStringLiteral(" memorizzato."), false);
    return true;
}
