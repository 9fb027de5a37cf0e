#pragma once

#include "audio/ISpeechEngine.h"
#include "audio/VoiceChoice.h"

#include <QString>

#include <memory>

// Where speech engines come from: the real ones, or fakes in tests.
class ISpeechEngineSource {
public:
    virtual ~ISpeechEngineSource() = default;
    // The engine, started; nothing when it cannot be had, and then `missing`
    // says in Italian what is missing and which package brings it.
    virtual std::unique_ptr<ISpeechEngine> open(VoiceChoice::Engine engine, QString& missing) = 0;
};

// The engines of this computer. espeak-ng's voice left unnamed is chosen by
// SAPI attributes ("Name=…;Language=410"), as the program always has.
class SystemSpeechEngines : public ISpeechEngineSource {
public:
    explicit SystemSpeechEngines(const QString& voiceAttributes);
    std::unique_ptr<ISpeechEngine> open(VoiceChoice::Engine engine, QString& missing) override;

private:
    QString m_voiceAttributes;
};

// The voice that will speak for a choice.
struct ResolvedVoice {
    // Nothing when not even espeak-ng can speak.
    std::unique_ptr<ISpeechEngine> engine;
    // What speaks: the choice itself, or espeak-ng's Italian voice with the
    // choice's rate, pitch and volume.
    VoiceChoice choice;
    // Empty when the chosen voice speaks; otherwise, in Italian, what is
    // missing, which package brings it, and who speaks instead.
    QString notice;
};

// Opens the chosen engine and voice. A voice that is not there falls back on
// espeak-ng's Italian voice, never on silence; only when espeak-ng's own
// voice is the one missing is there no voice at all.
ResolvedVoice ResolveVoice(const VoiceChoice& wanted, ISpeechEngineSource& engines);
