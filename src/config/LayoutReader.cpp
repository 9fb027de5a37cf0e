#include "config/LayoutReader.h"

#include "config/CINIFile.h"
#include "config/FileExists.h"
#include "config/Integer16.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {
const QString Marker = QStringLiteral("<$$-COMUNICATORE-$$>");
const QString CrLf = QStringLiteral("\r\n");
constexpr std::array<int, 15> AllowedKeyCounts = {1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21};
constexpr int FunctionKeys = 12;
constexpr int MaxKeyNumber = 21;

bool ZeroOrOne(qint16 v) {
    return v == 0 || v == 1;
}
} // namespace

LayoutReader::LayoutReader(QString programFolder, IMessages& messages, LayoutData& data)
    : m_programFolder(std::move(programFolder)), m_messages(messages), m_data(data) {}

bool LayoutReader::ReadLayout() {
    m_conversionError = 0;
    if (Check() == Step::Loaded) {
        return false;
    }
    ShowClosingReport();
    return true;
}

LayoutReader::Step LayoutReader::Check() {
    CINIFile& ini = SharedIni();
    ini.SetFile(m_programFolder + QStringLiteral("/cfg.ini"));
    ini.SetSection(QStringLiteral("KeyProgram"));
    const QString layoutPath = ini.GetValue(QStringLiteral("File"));
    if (!FileExists(layoutPath)) {
        m_messages.showMessage(QStringLiteral("Non esiste alcun layout."), MsgIcon::None, Title());
        return Step::Failed;
    }

    ini.SetFile(layoutPath);
    ini.SetSection(QStringLiteral("KeyProgram"));
    if (ini.GetValue(QStringLiteral("key")).toUpper() != Marker) {
        m_messages.showMessage(QStringLiteral("Non è un layout valido."), MsgIcon::Exclamation, Title());
        return Step::Failed;
    }

    ini.SetSection(QStringLiteral("Impostazioni"));
    const std::optional<qint16> keys = ReadNumber(QStringLiteral("Tasti"));
    if (!keys) {
        return Step::Failed;
    }
    if (std::find(AllowedKeyCounts.begin(), AllowedKeyCounts.end(), *keys) == AllowedKeyCounts.end()) {
        m_messages.showMessage(QStringLiteral("Il numero dei tasti del layout non è compreso fra i seguenti: "
                                              "1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21."),
                               MsgIcon::Information, Title());
        return Step::Failed;
    }
    m_data.KeyCount = *keys;

    ini.SetSection(QStringLiteral("Input Obbligato"));
    const std::optional<qint16> forced = ReadNumber(QStringLiteral("IsInput"));
    if (!forced) {
        return Step::Failed;
    }
    if (!ZeroOrOne(*forced)) {
        m_messages.showMessage(QStringLiteral("Il valore dell'input obbligato deve essere 0 o 1."),
                               MsgIcon::Exclamation, Title());
        return Step::Failed;
    }
    m_data.ForcedInput = *forced;
    if (m_data.ForcedInput == 1 && LoadSequence()) {
        return Step::Failed;
    }

    if (CheckSections() == Step::Failed || RunLoaders() == Step::Failed) {
        return Step::Failed;
    }
    ReadLinks();
    return Step::Loaded;
}

LayoutReader::Step LayoutReader::CheckSections() {
    CINIFile& ini = SharedIni();
    ini.SetSection(QStringLiteral("Impostazioni"));
    std::array<qint16, 4> on{};
    for (int n = 1; n <= 3; ++n) {
        const std::optional<qint16> value = ReadNumber(QStringLiteral("IsSezione%1").arg(n));
        if (!value) {
            return Step::Failed;
        }
        const bool valid = n == 1 ? *value == 1 : ZeroOrOne(*value);
        if (!valid) {
            m_messages.showMessage(
                n == 1 ? QStringLiteral(
                             "La sezione numero 1 è obbligatoria: quindi il valore va impostato su 1.")
                       : QStringLiteral("Il valore della sezione numero %1 deve essere 0 o 1.").arg(n),
                MsgIcon::Exclamation, Title());
            return Step::Failed;
        }
        on[n] = *value;
    }
    for (int n = 1; n <= 3; ++n) {
        m_data.SectionOn[n] = on[n] == 1;
    }
    return Step::Loaded;
}

LayoutReader::Step LayoutReader::RunLoaders() {
    if (m_data.SectionOn[1] && LoadPictures()) {
        return Step::Failed;
    }
    if (m_data.SectionOn[2] && LoadSounds()) {
        return Step::Failed;
    }
    if (m_data.SectionOn[3] && LoadTexts()) {
        return Step::Failed;
    }
    return Step::Loaded;
}

void LayoutReader::ReadLinks() {
    CINIFile& ini = SharedIni();
    ini.SetSection(QStringLiteral("Tasti Funzione"));
    m_data.FunctionKeyPaths = QStringList(FunctionKeys + 1);
    for (int f = 1; f <= FunctionKeys; ++f) {
        m_data.FunctionKeyPaths[f] = ini.GetValue(QStringLiteral("F%1").arg(f));
    }
    ini.SetSection(QStringLiteral("Bonus"));
    m_data.BonusPath = ini.GetValue(QStringLiteral("File1"));
}

std::optional<qint16> LayoutReader::ReadNumber(const QString& key) {
    const Integer16 number = Integer16::FromText(SharedIni().GetValue(key));
    if (number.error != 0) {
        m_conversionError = number.error;
        return std::nullopt;
    }
    return number.value;
}

bool LayoutReader::LoadSequence() {
    CINIFile& ini = SharedIni();
    m_data.InputSequence = QList<qint16>(Keys() + 1, 0);
    for (int i = 1; i <= Keys(); ++i) {
        ini.SetSection(QStringLiteral("Sequenza"));
        const QString text = ini.GetValue(QStringLiteral("SequenzaInput%1").arg(i));
        const Integer16 number = Integer16::FromText(text);
        if (number.error != 0) {
            return true; // a value that is no number ends the loader without a message of its own
        }
        if (number.value < 1 || number.value > MaxKeyNumber) {
            m_messages.showMessage(QStringLiteral("Il valore sequenziale « ") + text +
                                       QStringLiteral(" » dell'input obbligato non è compreso tra 1 e 21.") +
                                       CrLf + QStringLiteral("Accertarsi che la sequenza sia valida."),
                                   MsgIcon::Exclamation, Title());
            return true;
        }
        m_data.InputSequence[i - 1] = number.value;
    }
    return false;
}

bool LayoutReader::LoadPictures() {
    return LoadPaths(
        QStringLiteral("Sezione Immagini"), QStringLiteral("Immagine"), m_data.PicturePaths,
        QStringLiteral("Le immagini inserite nel layout non vengono trovate.") + CrLf +
            QStringLiteral("Accertarsi che il percorso delle immagini sia corretto e che le stesse "
                           "siano presenti e valide."),
        QStringLiteral("CARICAMENTO IMMAGINI"));
}

bool LayoutReader::LoadSounds() {
    return LoadPaths(
        QStringLiteral("Sezione Sonoro"), QStringLiteral("Sonoro"), m_data.SoundPaths,
        QStringLiteral("I file sonori inseriti nel layout non vengono trovati.") + CrLf +
            QStringLiteral("Accertarsi che il percorso dei file sonori sia corretto e che gli stessi "
                           "siano presenti e validi."),
        QStringLiteral("CARICAMENTO FILE DIGITALI"));
}

bool LayoutReader::LoadTexts() {
    CINIFile& ini = SharedIni();
    m_data.KeyTexts = QStringList(Keys() + 1);
    for (int i = 1; i <= Keys(); ++i) {
        ini.SetSection(QStringLiteral("Sezione Testo"));
        m_data.KeyTexts[i] = ini.GetValue(QStringLiteral("Testo%1").arg(i));
    }
    return false;
}

bool LayoutReader::LoadPaths(const QString& section, const QString& keyPrefix, QStringList& paths,
                             const QString& text, const QString& titleSuffix) {
    CINIFile& ini = SharedIni();
    paths = QStringList(Keys() + 1);
    for (int i = 1; i <= Keys(); ++i) {
        ini.SetSection(section);
        const QString path = ini.GetValue(keyPrefix + QString::number(i));
        if (!FileExists(path)) {
            m_messages.showMessage(text, MsgIcon::Exclamation, Title() + QStringLiteral(" - ") + titleSuffix);
            return true;
        }
        paths[i] = path;
    }
    return false;
}

void LayoutReader::ShowClosingReport() {
    if (m_conversionError != 0) {
        m_messages.showMessage(QStringLiteral("Errore n. %1").arg(m_conversionError) + CrLf +
                                   Integer16::ErrorDescription(m_conversionError),
                               MsgIcon::Exclamation, Title());
        return;
    }
    m_messages.showMessage(
        QStringLiteral("Si è verificato un errore nella lettura delle risorse.") + CrLf +
            QStringLiteral("Controllare che le risorse da utilizzare siano quelle previste dal programma."),
        MsgIcon::Exclamation, Title() + QStringLiteral(" - CARICAMENTO RISORSE"));
}

QString LayoutReader::Title() const {
    return AppInfo::Title;
}

int LayoutReader::Keys() const {
    return std::max<int>(m_data.KeyCount, 0);
}
