#pragma once

#include "audio/SpeechEngines.h"

#include <QStringList>

#include <map>
#include <memory>

// A speech engine that records what it is asked. With samples it makes one
// sample of value 1000 per character spoken and one of 0 per millisecond of
// pause; without, it plays "on its own" and only notes the calls. A failing
// one makes nothing and reports the synthesizer's error.
class FakeSpeechEngine : public ISpeechEngine {
public:
    FakeSpeechEngine(QString name, QStringList voiceIds, bool samples, QStringList* log, bool fails = false)
        : m_name(std::move(name)), m_voiceIds(std::move(voiceIds)), m_samples(samples), m_fails(fails),
          m_log(log) {}

    QString engineName() const override { return m_name; }
    Capabilities capabilities() const override {
        return m_samples ? Capabilities(Capability::Samples | Capability::Silence) : Capabilities();
    }
    std::vector<SpeechVoice> voices() override {
        std::vector<SpeechVoice> list;
        for (const QString& id : m_voiceIds) {
            list.push_back({id, id, QStringLiteral("it"), {}});
        }
        return list;
    }
    bool selectVoice(const QString& id) override {
        const QString wanted = id.isEmpty() && !m_voiceIds.isEmpty() ? m_voiceIds.first() : id;
        if (!m_voiceIds.contains(wanted)) {
            return false;
        }
        m_voice = {wanted, wanted, QStringLiteral("it"), {}};
        return true;
    }
    SpeechVoice voice() const override { return m_voice; }
    int sampleRate() const override { return 22050; }
    Outcome speak(const SpeechText& text, const VoiceTuning& tuning, const SampleSink& sink,
                  bool wait) override {
        m_log->append(QStringLiteral("%1 speak %2 rate %3 %4")
                          .arg(m_name, SpokenWords(text))
                          .arg(tuning.rate)
                          .arg(wait ? "wait" : "nowait"));
        if (m_fails) {
            return Outcome::Failed(QStringLiteral("Errore della sintesi vocale"),
                                   m_name + QStringLiteral(": synthesizer crashed"));
        }
        if (m_samples) {
            for (const SpeechPiece& p : text) {
                sink(std::vector<qint16>(size_t(p.text.isEmpty() ? p.silenceMs : p.text.size()),
                                         p.text.isEmpty() ? 0 : 1000));
            }
        }
        return Outcome::Done();
    }
    void stop() override { m_log->append(m_name + QStringLiteral(" stop")); }

private:
    QString m_name;
    QStringList m_voiceIds;
    bool m_samples;
    bool m_fails;
    QStringList* m_log;
    SpeechVoice m_voice;
};

// Engines by name; a missing one answers with its own "missing" text.
class FakeSpeechEngines : public ISpeechEngineSource {
public:
    struct Engine {
        QStringList voices;
        bool samples = true;
        bool fails = false;
    };
    std::map<VoiceChoice::Engine, Engine> present;
    QStringList log;
    int opens = 0;

    std::unique_ptr<ISpeechEngine> open(VoiceChoice::Engine engine, QString& missing) override {
        ++opens;
        const auto it = present.find(engine);
        if (it == present.end()) {
            missing = VoiceChoice::engineName(engine) + QStringLiteral(" manca.");
            return nullptr;
        }
        return std::make_unique<FakeSpeechEngine>(VoiceChoice::engineName(engine), it->second.voices,
                                                  it->second.samples, &log, it->second.fails);
    }
};
