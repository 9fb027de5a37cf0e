#pragma once

#include "audio/EspeakEngine.h"
#include "audio/IAudioOutput.h"
#include "audio/SapiMarkup.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

// Speaks a key's text with an Italian voice of espeak-ng, synchronously: the
// samples are made in memory and played through the program's one audio
// output (the one cSound uses), and Speak returns when the text has been
// heard, so speech never overlaps a recorded sound.
//
// The voice is chosen once, when the object is made, by an attribute string
// "Name=…;Language=…;Vendor=…". Language (a hexadecimal Windows language code,
// 410 for Italian) is required. A voice with the given Name is preferred when
// one of that language exists; otherwise the best voice of the language is
// used, since the voice a layout was written for is rarely installed. Vendor
// is not looked at. Rate -4 and volume 100 are set on SAPI's scales.
//
// When no voice of the language can be set up, or espeak-ng cannot start, the
// object has no synthesizer for its whole life: it raises
// VoiceNonDisponibile once the event loop runs, and every Speak fails with an
// error the caller can show.
class cVoce : public QObject {
    Q_OBJECT
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

    // A failed Speak: an error number and its Italian description.
    struct Error {
        int number;
        QString description;
    };

    // The output is shared with the sound player and must outlive this object.
    explicit cVoce(IAudioOutput& output, QObject* parent = nullptr);
    cVoce(IAudioOutput& output, const QString& voiceAttributes, QObject* parent = nullptr);
    ~cVoce() override;

    // value with `flag` set when `on`, cleared otherwise.
    static qint32 SetFlag(bool on, qint32 value, qint32 flag);

    // Flags used by every Speak: 10 (purge before speak, markup) once a voice
    // is set up; 0 when creation failed before that step.
    qint32 SpeakFlags() const { return m_speakFlags; }
    void setSpeakFlags(qint32 flags) { m_speakFlags = flags; }

    // True when a voice is set up.
    bool hasSynthesizer() const { return m_settings.has_value(); }
    // The espeak-ng voice in use ("Italian"); empty without a synthesizer.
    QString VoiceName() const;

    // Speaks the text with SpeakFlags and returns once it has been heard
    // (at once when the flags ask for no wait, or while speech is paused).
    // An empty text speaks nothing.
    [[nodiscard]] std::optional<Error> Speak(const QString& text);
    // Silences speech of this object that has not been heard yet (and what
    // was queued after it).
    void StopSpeech();
    // The voice's rate (-10 to 10) and volume (0 to 100) on SAPI's scales;
    // -4 and 100 unless changed.
    void setRateAndVolume(int rate, int volume);
    // Holds and releases the shared output: sounds wait with the speech.
    void PauseSpeech();
    void ResumeSpeech();

signals:
    // The synthesizer's events, with SAPI's arguments. espeak-ng reports
    // streams, sentences, words and marks: StartStream comes before the
    // speech, Sentence, Word and Bookmark once the text has been made
    // (character positions count in the text given to Speak), EndStream once
    // it has been heard. A bookmark written right at the start of a sentence
    // is not reported by espeak-ng 1.51. AudioLevel, EnginePrivate, Phoneme,
    // Viseme and VoiceChange have nothing to carry on this platform and are
    // never raised.
    void VoiceNonDisponibile();
    // Stream positions are byte offsets in the 16-bit mono stream of the voice.
    void AudioLevel(qint32 streamNumber, const QVariant& streamPosition, qint32 level);
    void Bookmark(qint32 streamNumber, const QVariant& streamPosition, const QString& bookmark,
                  qint32 bookmarkId);
    void EndStream(qint32 streamNumber, const QVariant& streamPosition);
    void EnginePrivate(qint32 streamNumber, qint32 streamPosition, const QVariant& engineData);
    void Phoneme(qint32 streamNumber, const QVariant& streamPosition, qint32 duration, qint16 nextPhoneId,
                 qint32 feature, qint16 currentPhoneId);
    void Sentence(qint32 streamNumber, const QVariant& streamPosition, qint32 characterPosition,
                  qint32 length);
    void StartStream(qint32 streamNumber, const QVariant& streamPosition);
    void Viseme(qint32 streamNumber, const QVariant& streamPosition, qint32 duration, qint32 nextVisemeId,
                qint32 feature, qint32 currentVisemeId);
    void VoiceChange(qint32 streamNumber, const QVariant& streamPosition, const QString& voiceObjectToken);
    void Word(qint32 streamNumber, const QVariant& streamPosition, qint32 characterPosition, qint32 length);

private:
    void create(const QString& voiceAttributes);
    void announceMissingSynthesizer();
    void releaseVoice();
    QVariant streamPosition(int audioMs) const;
    void emitEvents(qint32 stream, const SsmlText& ssml, qint32 textLength,
                    const std::vector<EspeakEngine::Event>& events);

    IAudioOutput& m_output;
    std::optional<EspeakEngine::Settings> m_settings;
    qint32 m_speakFlags = 0;
    int m_rate = 0;
    qint32 m_streamNumber = 0;
    // Speech of ours was queued without waiting for it to be heard.
    bool m_speechQueued = false;
    bool m_paused = false;
};
