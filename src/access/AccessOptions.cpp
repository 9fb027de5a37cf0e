#include "access/AccessOptions.h"

#include "config/DurableFile.h"
#include "config/IniEngine.h"
#include "platform/WriteProtected.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace {
const QString FileName = QStringLiteral("accesso.ini");
const QString Section = QStringLiteral("Accesso");
constexpr int ValueBufferSize = 255;

struct IntOption {
    const char* key;
    int AccessOptions::*member;
    int min;
    int max;
};
constexpr IntOption IntOptions[] = {
    {"TempoSosta", &AccessOptions::dwellMs, 500, 5000},
    {"RaggioSosta", &AccessOptions::dwellRadius, 0, 50},
    {"Intervallo", &AccessOptions::scanIntervalMs, 300, 5000},
    {"PrimoElemento", &AccessOptions::firstItemPercent, 100, 300},
    {"Giri", &AccessOptions::scanRounds, 1, 10},
    {"SpessoreEvidenziatore", &AccessOptions::highlightWidth, 4, 20},
    {"VolumeUditivo", &AccessOptions::auditoryVolume, 10, 100},
    {"VelocitaUditiva", &AccessOptions::auditoryRate, 0, 10},
    {"TempoAccettazione", &AccessOptions::acceptanceMs, 0, 1000},
    {"RitardoRipetizione", &AccessOptions::repeatDelayMs, 0, 2000},
};

struct BoolOption {
    const char* key;
    bool AccessOptions::*member;
};
constexpr BoolOption BoolOptions[] = {
    {"SostaRipetuta", &AccessOptions::dwellRepeats},
    {"ClicComeSensore", &AccessOptions::clickIsSwitch},
    {"RiprendiDalTasto", &AccessOptions::resumeAtSelected},
    {"ScansioneUditiva", &AccessOptions::auditory},
    {"MantieniProporzioni", &AccessOptions::keepProportions},
};

// Options written only once the user set them: files without them read as before.
struct OptionalFlag {
    const char* key;
    std::optional<bool> AccessOptions::*member;
};
constexpr OptionalFlag OptionalFlags[] = {
    {"StrisciaFrase", &AccessOptions::messageBar},
    {"StrisciaTastiFunzione", &AccessOptions::functionStrip},
    {"CostruzioneSilenziosa", &AccessOptions::quietBuilding},
    {"AllenamentoNellaFrase", &AccessOptions::trainingJoinsBar},
    {"StriscePrima", &AccessOptions::edgesFirst},
};

// A named choice stored by its on-screen name, matched without regard to case.
template <typename Enum> struct ChoiceOption {
    const char* key;
    Enum AccessOptions::*member;
    QStringList (*names)();
};
const ChoiceOption<AccessOptions::Method> MethodOption{"Metodo", &AccessOptions::method,
                                                       &AccessOptions::MethodNames};
const ChoiceOption<AccessOptions::Order> OrderOption{"Ordine", &AccessOptions::order,
                                                     &AccessOptions::OrderNames};
const ChoiceOption<AccessOptions::Colour> ColourOption{"ColoreEvidenziatore", &AccessOptions::highlightColour,
                                                       &AccessOptions::ColourNames};
const ChoiceOption<AccessOptions::SwitchKey> KeyOptions[] = {
    {"TastoSensore", &AccessOptions::scanKey, &AccessOptions::SwitchKeyNames},
    {"TastoAvanti", &AccessOptions::stepKey, &AccessOptions::SwitchKeyNames},
    {"TastoSeleziona", &AccessOptions::selectKey, &AccessOptions::SwitchKeyNames},
};

// What the file holds for a key; nullopt when it has no such key.
std::optional<QString> ReadRaw(const QString& file, const char* key) {
    // A value no user can write marks a missing key.
    const QString absent = QStringLiteral("\x01");
    const QString value =
        IniEngine::ReadString(file, Section, QString::fromLatin1(key), absent, ValueBufferSize);
    return value == absent ? std::nullopt : std::optional<QString>(value.trimmed());
}

template <typename Enum>
void ReadChoice(const QString& file, const ChoiceOption<Enum>& option, AccessOptions& o) {
    if (const auto raw = ReadRaw(file, option.key)) {
        const QStringList names = option.names();
        for (int i = 0; i < names.size(); ++i) {
            if (names.at(i).compare(*raw, Qt::CaseInsensitive) == 0) {
                o.*option.member = Enum(i);
            }
        }
    }
}

// Notepad's "Unicode": a byte-order mark of UTF-16, or the zero byte beside
// the first letter when the mark is missing.
bool InUtf16(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray start = f.read(2);
    return start == "\xFF\xFE" || start == "\xFE\xFF" || (start.size() == 2 && start.contains('\0'));
}

template <typename Enum>
void WriteChoice(const QString& file, const ChoiceOption<Enum>& option, const AccessOptions& o) {
    IniEngine::WriteString(file, Section, QString::fromLatin1(option.key),
                           option.names().at(int(o.*option.member)));
}
} // namespace

QString AccessOptions::FilePath(const QString& dataFolder) {
    return dataFolder + QLatin1Char('/') + FileName;
}

QStringList AccessOptions::MethodNames() {
    return {QStringLiteral("Clic"), QStringLiteral("Sosta"),
            QStringLiteral("Scansione automatica, un sensore"),
            QStringLiteral("Scansione a passi, due sensori"), QStringLiteral("Frecce")};
}

QStringList AccessOptions::OrderNames() {
    return {QStringLiteral("Riga e colonna"), QStringLiteral("Lineare")};
}

QStringList AccessOptions::SwitchKeyNames() {
    return {QStringLiteral("Spazio"), QStringLiteral("Invio"), QStringLiteral("1"), QStringLiteral("2"),
            QStringLiteral("3")};
}

QStringList AccessOptions::ColourNames() {
    return {QStringLiteral("Giallo"), QStringLiteral("Ciano"), QStringLiteral("Verde"),
            QStringLiteral("Magenta"), QStringLiteral("Bianco")};
}

QColor AccessOptions::colour() const {
    static const QColor colours[] = {QColor(255, 200, 0), QColor(0, 255, 255), QColor(0, 255, 0),
                                     QColor(255, 0, 255), QColor(255, 255, 255)};
    return colours[int(highlightColour)];
}

int AccessOptions::QtKeyOf(SwitchKey key) {
    static const int keys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_1, Qt::Key_2, Qt::Key_3};
    return keys[int(key)];
}

AccessOptions AccessOptions::Clamped(bool* changed) const {
    AccessOptions c = *this;
    for (const IntOption& option : IntOptions) {
        c.*option.member = std::clamp(c.*option.member, option.min, option.max);
    }
    // Two switches on one key could never both be told apart.
    if (c.stepKey == c.selectKey) {
        c.selectKey = c.stepKey == SwitchKey::Enter ? SwitchKey::Space : SwitchKey::Enter;
    }
    if (changed != nullptr) {
        *changed = !(c == *this);
    }
    return c;
}

AccessOptions AccessOptions::Load(const QString& dataFolder, QString* unreadable) {
    const QString file = FilePath(dataFolder);
    AccessOptions o;
    if (!QFileInfo(file).isFile()) {
        return o;
    }
    if (InUtf16(file)) {
        if (unreadable != nullptr) {
            *unreadable = QStringLiteral("Il file delle opzioni di accesso «%1» è scritto in UTF-16, una "
                                         "codifica che il programma non legge: valgono le opzioni "
                                         "predefinite.\r\nSalvarlo come testo ANSI o UTF-8, oppure "
                                         "scegliere di nuovo le opzioni con Alt+O e salvarle.")
                              .arg(QDir::toNativeSeparators(file));
        }
        return o;
    }
    for (const IntOption& option : IntOptions) {
        const QString raw = ReadRaw(file, option.key).value_or(QString());
        bool ok = false;
        const int value = raw.toInt(&ok);
        // A number too large for an int is still a number past the end of its range.
        const double wide = ok ? value : raw.toDouble(&ok);
        if (ok) {
            o.*option.member = wide < option.min ? option.min : wide > option.max ? option.max : int(wide);
        }
    }
    for (const BoolOption& option : BoolOptions) {
        bool ok = false;
        const int value = ReadRaw(file, option.key).value_or(QString()).toInt(&ok);
        if (ok) {
            o.*option.member = value != 0;
        }
    }
    for (const OptionalFlag& option : OptionalFlags) {
        bool ok = false;
        const int value = ReadRaw(file, option.key).value_or(QString()).toInt(&ok);
        if (ok) {
            o.*option.member = value != 0;
        }
    }
    ReadChoice(file, MethodOption, o);
    ReadChoice(file, OrderOption, o);
    ReadChoice(file, ColourOption, o);
    for (const auto& option : KeyOptions) {
        ReadChoice(file, option, o);
    }
    // Clamped here only: the file is the carer's, and may be locked on purpose.
    return o.Clamped();
}

Outcome AccessOptions::Save(const QString& dataFolder) const {
    const QString file = FilePath(dataFolder);
    const QString shown = QDir::toNativeSeparators(file);
    const QFileInfo info(file);
    if (info.exists() && !info.isFile()) {
        return Outcome::Failed(
            QStringLiteral("Impossibile salvare le opzioni di accesso: al posto del file «%1» c'è "
                           "una cartella.\r\nSpostarla o rinominarla, poi salvare di nuovo.")
                .arg(shown),
            file + QStringLiteral(": not a file"));
    }
    // The rename below would replace a write-protected file as well.
    if (info.exists() && WriteProtected(info)) {
        return Outcome::Failed(
            QStringLiteral("Le opzioni di accesso non sono state salvate: il file «%1» è protetto "
                           "da scrittura.\r\nTogliere la protezione per poterle cambiare.")
                .arg(shown),
            file + QStringLiteral(": write-protected"));
    }
    const auto cannotWrite = [&](const QString& detail) {
        return Outcome::Failed(QStringLiteral("Impossibile salvare le opzioni di accesso in «%1».\r\n"
                                              "Accertarsi che la cartella sia scrivibile.")
                                   .arg(shown),
                               detail);
    };
    // Written whole beside the file and renamed over it, so a failure leaves the old file.
    const QString temporary = file + QStringLiteral(".nuovo");
    QFile::remove(temporary);
    const AccessOptions o = Clamped();
    for (const IntOption& option : IntOptions) {
        IniEngine::WriteString(temporary, Section, QString::fromLatin1(option.key),
                               QString::number(o.*option.member));
    }
    for (const BoolOption& option : BoolOptions) {
        IniEngine::WriteString(temporary, Section, QString::fromLatin1(option.key),
                               QString::number(o.*option.member ? 1 : 0));
    }
    for (const OptionalFlag& option : OptionalFlags) {
        if (const std::optional<bool> value = o.*option.member) {
            IniEngine::WriteString(temporary, Section, QString::fromLatin1(option.key),
                                   QString::number(*value ? 1 : 0));
        }
    }
    WriteChoice(temporary, MethodOption, o);
    WriteChoice(temporary, OrderOption, o);
    WriteChoice(temporary, ColourOption, o);
    for (const auto& option : KeyOptions) {
        WriteChoice(temporary, option, o);
    }
    if (!QFileInfo(temporary).isFile()) {
        return cannotWrite(temporary + QStringLiteral(": not written"));
    }
    // rename() replaces the old file in one step; QFile::rename would refuse to.
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(file).constData()) != 0) {
        const QString detail = DurableFile::Detail(file, errno);
        QFile::remove(temporary);
        return cannotWrite(detail);
    }
    return Outcome::Done();
}
