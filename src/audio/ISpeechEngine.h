#pragma once

#include "audio/SapiMarkup.h"
#include "platform/Outcome.h"

#include <QFlags>
#include <QString>

#include <functional>
#include <optional>
#include <span>
#include <vector>

// A voice an engine offers.
struct SpeechVoice {
    QString id;       // what a voice choice names it by, e.g. "roa/it+f3", "lp_diphone"
    QString name;     // for people, e.g. "Italian, Annie"
    QString language; // e.g. "it"
    QString gender;   // "femminile", "maschile" or empty
};

// What the user set for the voice as a whole, on SAPI's scales: rate -10 to
// 10, pitch -10 to 10 (semitones), volume 0 to 100.
struct VoiceTuning {
    int rate = -4;
    int pitch = 0;
    int volume = 100;
    friend bool operator==(const VoiceTuning&, const VoiceTuning&) = default;
};

// One speech synthesizer behind the program's speech object (cVoce). Engines
// declare what they can do instead of pretending: markup they cannot render
// is left out, never spoken as tags.
//
// An engine that makes samples (Capability::Samples) hands them to the sink
// at sampleRate(), as they are made, and returns when all are made: the
// speech object plays them through the program's one audio output, behind the
// sound before them. An engine without that capability plays on its own: the
// speech object waits for the output to fall silent first, and the engine
// returns once the speech has been heard (or at once when not asked to wait).
//
// Used from the user-interface thread only.
class ISpeechEngine {
public:
    enum class Capability {
        Samples = 0x01,
        Silence = 0x02,
        Emphasis = 0x04,
        Rate = 0x08,
        Pitch = 0x10,
        Volume = 0x20,
        Spell = 0x40,
    };
    Q_DECLARE_FLAGS(Capabilities, Capability)

    using SampleSink = std::function<void(std::span<const qint16>)>;

    virtual ~ISpeechEngine() = default;

    // The engine's name in a voice choice: "espeak", "festival", "speechd".
    virtual QString engineName() const = 0;
    virtual Capabilities capabilities() const = 0;
    // Voices of the engine, the Italian ones first.
    virtual std::vector<SpeechVoice> voices() = 0;
    // Makes the named voice (an id of voices(), or a name the engine
    // recognises as such) the one that speaks; empty asks for the engine's
    // Italian voice. False when the engine has no such voice.
    virtual bool selectVoice(const QString& id) = 0;
    // The voice that speaks, as voices() lists it.
    virtual SpeechVoice voice() const = 0;
    // Rate of the samples handed to the sink (mono, signed 16-bit).
    virtual int sampleRate() const { return 0; }
    // Speaks the text; on failure, why in Italian for the user and the
    // engine's own reason for the log.
    virtual Outcome speak(const SpeechText& text, const VoiceTuning& tuning, const SampleSink& sink,
                          bool wait) = 0;
    // Cuts the engine's own playing (engines without Samples).
    virtual void stop() {}
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ISpeechEngine::Capabilities)
