#pragma once

#include "audio/VoiceChoice.h"
#include "runtime/ForcedInputGate.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class IAudioOutput;
class ISpeechEngineSource;
class cSound;
class cVoce;
struct LayoutData;

// What a chosen key gives once its frame is drawn: its recorded sound, heard
// to its end, then its text spoken, and the bonus when it completed the
// forced-input sequence. In a forced-input layout a key out of sequence gives
// nothing; a link key always gives its output and leaves the sequence as it
// was. It also owns the speech object, made with the layout's own voice when
// the layout names one, the user's otherwise.
class KeyActivation {
public:
    struct Services {
        IAudioOutput& audio;
        // The program's data folder, where the user's voice is kept.
        QString dataFolder;
        // The voice asked of espeak-ng when no other is chosen.
        QString voiceAttributes;
        // Where the engines come from; nullptr: this computer's.
        ISpeechEngineSource* engines = nullptr;
        // Shows a failed text's error; the activation goes on afterwards.
        std::function<void(const QString&)> showError;
    };

    explicit KeyActivation(Services services);
    ~KeyActivation();

    // Gives key k's output. `link`: the key opens another layout. `passed`,
    // when given, hears of a key that passed the forced-input rules (with
    // true for a step of a sequence) and may keep its sound and speech quiet
    // by answering false.
    void Activate(const LayoutData& layout, int k, bool link,
                  const std::function<bool(bool sequenceStep)>& passed = nullptr);
    qint16 SequencePos() const { return m_gate.SequencePos(); }

    // The speech object for a layout naming `layoutVoice` (empty: the
    // user's voice), made now when none is made or the one made was for
    // another voice.
    cVoce& Voice(const QString& layoutVoice);
    bool HasVoice() const { return m_voice != nullptr; }
    // The voice the speech object was made for, if made.
    std::optional<VoiceChoice> VoiceInUse() const { return m_voice ? m_voiceFor : std::nullopt; }
    // The user's voice may have changed: it is read again, and the speech
    // object made again by the next key.
    void ForgetVoice();
    // Sound and speech end for good.
    void Release();

private:
    Services m_services;
    std::unique_ptr<cSound> m_sound;
    std::unique_ptr<cVoce> m_voice;
    std::optional<VoiceChoice> m_voiceFor;
    std::optional<VoiceChoice> m_userVoice;
    ForcedInputGate m_gate;
};
