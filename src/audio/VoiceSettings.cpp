#include "audio/VoiceSettings.h"

#include "config/DurableFile.h"
#include "config/IniEngine.h"

#include <QFile>

namespace {
const QString FileName = QStringLiteral("voce.ini");
const QString Section = QStringLiteral("Voce");
const QString Key = QStringLiteral("Voce");
// Room for the longest voice name and its numbers.
constexpr int ValueBufferSize = VoiceChoice::MaxVoiceLength + 100;
} // namespace

QString VoiceSettings::FilePath(const QString& dataFolder) {
    return dataFolder + QLatin1Char('/') + FileName;
}

VoiceChoice VoiceSettings::Load(const QString& dataFolder) {
    // The INI engine reads a missing, unreadable or oversized file, or
    // anything that is not a regular file, as empty.
    const QString text = IniEngine::ReadString(FilePath(dataFolder), Section, Key, {}, ValueBufferSize);
    return VoiceChoice::parse(text).value_or(VoiceChoice{});
}

Outcome VoiceSettings::Save(const QString& dataFolder, const VoiceChoice& choice) {
    const QString file = FilePath(dataFolder);
    // Written whole beside the file and renamed over it, so a failure leaves the old file.
    const QString temporary = file + QStringLiteral(".nuovo");
    const auto failed = [&](const QString& detail) {
        QFile::remove(temporary);
        return Outcome::Failed(QStringLiteral("Impossibile salvare la voce in «%1».\r\n"
                                              "Accertarsi che la cartella sia scrivibile.")
                                   .arg(file),
                               detail);
    };
    QFile::remove(temporary);
    IniEngine::WriteString(temporary, Section, Key, choice.format());
    if (VoiceChoice::parse(IniEngine::ReadString(temporary, Section, Key, {}, ValueBufferSize)) != choice) {
        return failed(temporary + QStringLiteral(": not written or read back differently"));
    }
    if (DurableFile::Replace(temporary, file) != 0) {
        return failed(file + QStringLiteral(": could not replace it with ") + temporary);
    }
    return Outcome::Done();
}
