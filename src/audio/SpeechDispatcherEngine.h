#pragma once

#include "audio/ISpeechEngine.h"

#include <libspeechd.h>

#include <memory>

// The desktop's speech service, speech-dispatcher, through its client
// library: any voice installed on the system, named "module/voice"
// ("espeak-ng/Italian"), or the service's own Italian voice when none is
// named. Its Italian voices are listed. The service plays the speech itself: no samples come back, so the
// program's output falls silent before it speaks. Markup goes as SSML; the
// service's module renders what it can and drops the rest. A service that
// stops answering is given up after a few seconds, never waited for.
class SpeechDispatcherEngine : public ISpeechEngine {
public:
    // Nothing when the library is missing or the service does not answer;
    // `missing` then
    // says in Italian what is missing and which package brings it.
    static std::unique_ptr<SpeechDispatcherEngine> open(QString& missing);
    ~SpeechDispatcherEngine() override;

    QString engineName() const override;
    Capabilities capabilities() const override;
    std::vector<SpeechVoice> voices() override;
    bool selectVoice(const QString& id) override;
    SpeechVoice voice() const override { return m_voice; }
    Outcome speak(const SpeechText& text, const VoiceTuning& tuning, const SampleSink& sink,
                  bool wait) override;
    void stop() override;

private:
    explicit SpeechDispatcherEngine(SPDConnection* connection) : m_connection(connection) {}
    std::vector<SpeechVoice> allVoices();
    bool useVoice(const SpeechVoice& voice);
    // Runs a request of the client library on the connection, given up when
    // the service does not answer in time (see the .cpp); nothing then, and
    // for every later request.
    template <typename Request> auto request(Request r) -> std::optional<decltype(r(nullptr, nullptr))>;

    // Empty once the service stopped answering.
    SPDConnection* m_connection;
    SpeechVoice m_voice;
};
