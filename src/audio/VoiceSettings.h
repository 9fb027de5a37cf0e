#pragma once

#include "audio/VoiceChoice.h"
#include "platform/Outcome.h"

#include <QString>

// The user's own voice, kept in a file of its own beside cfg.ini ("voce.ini",
// section [Voce], key Voce in VoiceChoice's one-line form). Without the file,
// or with one that cannot be read (a folder in its place, no permission,
// garbage), the voice is the program's own: espeak-ng's Italian, as always.
namespace VoiceSettings {
QString FilePath(const QString& dataFolder);
VoiceChoice Load(const QString& dataFolder);
// Writes the file whole (never half of it); fails when it cannot be written.
Outcome Save(const QString& dataFolder, const VoiceChoice& choice);
} // namespace VoiceSettings
