#pragma once

#include "audio/IAudioOutput.h"
#include "audio/ISpeechEngine.h"
#include "audio/SpeechEngines.h"
#include "audio/VoiceChoice.h"

#include <QString>
#include <QStringList>

#include <memory>

// Speaks a key's text, synchronously: engines that make samples (espeak-ng,
// Festival) have them played through the program's one audio output (the
// one cSound uses), and Speak returns when the text has been heard, so
// speech never overlaps a recorded sound; an engine that plays on its own
// (the system's speech service) starts once the output has fallen silent.
//
// Without a choice the voice is espeak-ng's, chosen once, when the object is
// made, by an attribute string "Name=…;Language=…;Vendor=…". Language (a
// hexadecimal Windows language code, 410 for Italian) is required. A voice
// with the given Name is preferred when one of that language exists;
// otherwise the best voice of the language is used, since the voice a layout
// was written for is rarely installed. Vendor is not looked at. Rate -4 and
// volume 100 are set on SAPI's scales. A chosen voice (VoiceChoice) that is
// not on the computer gives way to espeak-ng's Italian voice.
//
// When no voice can be set up the object has no synthesizer for its whole
// life, and every Speak fails with an error the caller can show.
class cVoce {
public:
    // The attributes the program asks for: an Italian voice.
    static const QString DefaultAttributes;

    // SAPI speak flags.
    enum SpeakFlag : qint32 {
        SVSFlagsAsync = 1,        // return without waiting for the speech to be heard
        SVSFPurgeBeforeSpeak = 2, // drop speech of this object still waiting to be heard (and, the
                                  // output being one queue, whatever was queued after it)
        SVSFIsXML = 8,            // the text carries speech tags
    };

    // The output is shared with the sound player and must outlive this object.
    explicit cVoce(IAudioOutput& output, const QString& voiceAttributes = DefaultAttributes);
    // The chosen voice, or espeak-ng's Italian voice (chosen by the
    // attributes) when that is missing.
    cVoce(IAudioOutput& output, const VoiceChoice& choice,
          const QString& voiceAttributes = DefaultAttributes);
    // A voice already resolved, from any engine source.
    cVoce(IAudioOutput& output, ResolvedVoice voice);
    ~cVoce();
    cVoce(const cVoce&) = delete;
    cVoce& operator=(const cVoce&) = delete;

    // value with `flag` set when `on`, cleared otherwise.
    static qint32 SetFlag(bool on, qint32 value, qint32 flag);

    // Flags used by every Speak: 10 (purge before speak, markup) once a voice
    // is set up; 0 without a synthesizer.
    qint32 SpeakFlags() const { return m_speakFlags; }
    void setSpeakFlags(qint32 flags) { m_speakFlags = flags; }

    // True when a voice is set up.
    bool hasSynthesizer() const { return m_engine != nullptr; }
    // The voice in use ("Italian"); empty without a synthesizer.
    QString VoiceName() const;
    // What speaks: the choice, or what took the place of a missing voice.
    const VoiceChoice& choice() const { return m_choice; }
    // In Italian, what of the choice is missing and which package brings it;
    // empty when the chosen voice speaks.
    const QString& notice() const { return m_notice; }

    // Speaks the text with SpeakFlags and returns once it has been heard
    // (at once when the flags ask for no wait). An empty text speaks nothing.
    // A failure's message is the description the user is shown; without a
    // synthesizer it is the runtime's error 91.
    Outcome Speak(const QString& text);
    // Speaks several texts as one speech, a blank between them; each text is
    // read with its own markup (SpeakFlags decide, as for one text), so a tag
    // left open in one never reaches the next.
    Outcome SpeakJoined(const QStringList& texts);
    // Silences speech of this object that has not been heard yet (and what
    // was queued after it).
    void StopSpeech();
    // The voice's rate (-10 to 10) and volume (0 to 100) on SAPI's scales;
    // -4 and 100 unless changed.
    void setRateAndVolume(int rate, int volume);

private:
    SpeechText parsed(const QString& text) const;
    Outcome speak(const SpeechText& speech);

    IAudioOutput& m_output;
    std::unique_ptr<ISpeechEngine> m_engine;
    VoiceChoice m_choice;
    QString m_notice;
    qint32 m_speakFlags = 0;
    // Speech of ours was started without waiting for it to be heard.
    bool m_speechQueued = false;
};
