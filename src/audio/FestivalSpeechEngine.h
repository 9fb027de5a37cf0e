#pragma once

#include "audio/ISpeechEngine.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

// Festival's voices (the Italian diphone voices lp_diphone and pc_diphone of
// the festvox-italp16k and festvox-itapc16k packages, and any other
// installed), through the Festival module opened on first use. Makes samples.
// Festival has no markup of its own that reaches its samples, so each piece
// of a key's text is spoken on its own: rate as a stretch of the durations,
// pitch as a shift of the intonation, volume on the samples, emphasis as a
// little slower, higher and louder, pauses as silence, spelling letter by
// letter.
class FestivalSpeechEngine : public ISpeechEngine {
public:
    // Nothing when the module or Festival cannot start; `missing` then says
    // in Italian what is missing and which package brings it.
    static std::unique_ptr<FestivalSpeechEngine> open(QString& missing);

    QString engineName() const override;
    Capabilities capabilities() const override;
    std::vector<SpeechVoice> voices() override;
    bool selectVoice(const QString& id) override;
    SpeechVoice voice() const override { return m_voice; }
    int sampleRate() const override;
    Outcome speak(const SpeechText& text, const VoiceTuning& tuning, const SampleSink& sink,
                  bool wait) override;

    // What of a text Festival's Italian voices can read, in their ISO-8859-1,
    // cut into sentences short enough for Festival's memory. Anything else
    // would stop or crash it: letters of other alphabets, symbols, very
    // long words.
    static std::vector<QByteArray> FestivalSentences(const QString& text);
    // The package that brings a Festival voice (the Italian ones by name).
    static QString PackageOf(const QString& voice);

private:
    FestivalSpeechEngine() = default;

    SpeechVoice m_voice;
};
