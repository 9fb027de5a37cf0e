#pragma once

#include "audio/ISpeechEngine.h"

#include <QString>

#include <optional>

// The voice a user (or a layout) chose: an engine, a voice of it, and the
// rate, pitch and volume of the whole speech. Written on one line as
//   ENGINE[:VOICE][;velocita=R][;tono=P][;volume=V]
// for example "festival:lp_diphone", "espeak:it+f3;velocita=-2" or
// "speechd:espeak-ng/Italian". Engines: "espeak" (also "espeak-ng"),
// "festival", "speechd" (also "speech-dispatcher"), in any case. A voice left
// out means the engine's Italian voice; rate and pitch run from -10 to 10,
// volume from 0 to 100, and values past their range are brought into it.
struct VoiceChoice {
    enum class Engine { Espeak, Festival, SpeechDispatcher };

    Engine engine = Engine::Espeak;
    QString voice;
    VoiceTuning tuning;

    // The longest voice name taken: no engine names a voice anywhere near it.
    static constexpr int MaxVoiceLength = 200;

    // The choice a text names, with the rate, pitch and volume it leaves out
    // taken from `base`.
    // Nothing for a text that names no engine we know, or a voice that no
    // engine could have (control characters, ";" or over MaxVoiceLength).
    static std::optional<VoiceChoice> parse(const QString& text, const VoiceChoice& base);
    static std::optional<VoiceChoice> parse(const QString& text) { return parse(text, VoiceChoice()); }
    // The one-line form parse() reads back.
    QString format() const;

    static QString engineName(Engine engine);
    // The name people read in the options: "espeak-ng", "Festival", "voce di sistema".
    static QString engineTitle(Engine engine);

    friend bool operator==(const VoiceChoice&, const VoiceChoice&) = default;
};
