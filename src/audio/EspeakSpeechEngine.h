#pragma once

#include "audio/EspeakEngine.h"
#include "audio/ISpeechEngine.h"

#include <memory>

// espeak-ng behind the speech-engine contract: its voices of every language,
// each with espeak-ng's own variants (female, male, older, younger,
// whispering, ...), named "roa/it+f3" or simply "it+f3". Makes samples, and
// renders every kind of markup through its SSML mode.
class EspeakSpeechEngine : public ISpeechEngine {
public:
    // Nothing when espeak-ng cannot start (its library or data missing).
    // The voice left unnamed is chosen by SAPI attributes
    // ("Name=…;Language=410"): a voice of the language, the named one when
    // it speaks it.
    static std::unique_ptr<EspeakSpeechEngine> open(const QString& voiceAttributes);

    QString engineName() const override;
    Capabilities capabilities() const override;
    std::vector<SpeechVoice> voices() override;
    bool selectVoice(const QString& id) override;
    SpeechVoice voice() const override;
    int sampleRate() const override { return m_engine.sampleRate(); }
    Outcome speak(const SpeechText& text, const VoiceTuning& tuning, const SampleSink& sink,
                  bool wait) override;

private:
    EspeakSpeechEngine(EspeakEngine& engine, const QString& voiceAttributes)
        : m_engine(engine), m_voiceAttributes(voiceAttributes) {}

    EspeakEngine& m_engine;
    QString m_voiceAttributes;
    std::optional<EspeakEngine::Voice> m_voice;
    QString m_gender;
};
