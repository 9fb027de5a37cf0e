#include "audio/cVoce.h"

#include "audio/AudioConverter.h"

namespace {
// The error of speaking without a synthesizer, as the runtime reports it (its error 91).
Outcome ObjectNotSet() {
    return Outcome::Failed(QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"),
                           QStringLiteral("error 91: no speech synthesizer was set up"));
}
} // namespace

const QString cVoce::DefaultAttributes =
    QStringLiteral("Name=ScanSoft Silvia_Dri40_16kHz;Language=410;Vendor=ScanSoft, Inc");

cVoce::cVoce(IAudioOutput& output, const QString& voiceAttributes)
    : cVoce(output, VoiceChoice{}, voiceAttributes) {}

cVoce::cVoce(IAudioOutput& output, const VoiceChoice& choice, const QString& voiceAttributes)
    : cVoce(output, [&] {
          SystemSpeechEngines engines(voiceAttributes);
          return ResolveVoice(choice, engines);
      }()) {}

cVoce::cVoce(IAudioOutput& output, ResolvedVoice voice)
    : m_output(output), m_engine(std::move(voice.engine)), m_choice(voice.choice), m_notice(voice.notice) {
    if (m_engine) {
        m_speakFlags = SetFlag(false, m_speakFlags, SVSFlagsAsync);
        m_speakFlags = SetFlag(true, m_speakFlags, SVSFPurgeBeforeSpeak);
        m_speakFlags = SetFlag(true, m_speakFlags, SVSFIsXML);
    }
}

cVoce::~cVoce() {
    StopSpeech();
}

void cVoce::setRateAndVolume(int rate, int volume) {
    m_choice.tuning.rate = rate;
    m_choice.tuning.volume = volume;
}

qint32 cVoce::SetFlag(bool on, qint32 value, qint32 flag) {
    return on ? (value | flag) : (value & ~flag);
}

QString cVoce::VoiceName() const {
    return m_engine ? m_engine->voice().name : QString();
}

Outcome cVoce::Speak(const QString& text) {
    if (!m_engine) {
        return ObjectNotSet();
    }
    if ((m_speakFlags & SVSFPurgeBeforeSpeak) != 0) {
        StopSpeech();
    }
    if (text.isEmpty()) {
        return Outcome::Done();
    }
    return speak(parsed(text));
}

Outcome cVoce::SpeakJoined(const QStringList& texts) {
    if (!m_engine) {
        return ObjectNotSet();
    }
    if ((m_speakFlags & SVSFPurgeBeforeSpeak) != 0) {
        StopSpeech();
    }
    SpeechText speech;
    for (const QString& text : texts) {
        if (text.isEmpty()) {
            continue;
        }
        if (!speech.empty()) {
            speech.push_back({QStringLiteral(" "), 0, {m_choice.tuning.rate, 100, 0}});
        }
        const SpeechText one = parsed(text);
        speech.insert(speech.end(), one.begin(), one.end());
    }
    if (speech.empty()) {
        return Outcome::Done();
    }
    return speak(speech);
}

SpeechText cVoce::parsed(const QString& text) const {
    const int rate = m_choice.tuning.rate;
    return (m_speakFlags & SVSFIsXML) != 0 ? ParseSapiMarkup(text, rate) : PlainSpeech(text, rate);
}

Outcome cVoce::speak(const SpeechText& speech) {
    const VoiceTuning& tuning = m_choice.tuning;
    const bool wait = (m_speakFlags & SVSFlagsAsync) == 0;
    Outcome failure = Outcome::Done();
    if (m_engine->capabilities().testFlag(ISpeechEngine::Capability::Samples)) {
        // Speech is played while the rest is still being made.
        AudioConverter converter(AUDIO_S16SYS, 1, m_engine->sampleRate(), m_output.format());
        const ISpeechEngine::SampleSink sink = [&](std::span<const qint16> samples) {
            m_output.enqueue(converter.put(samples.data(), int(samples.size_bytes())));
        };
        failure = m_engine->speak(speech, tuning, sink, wait);
        m_output.enqueue(converter.finish());
        m_speechQueued = true;
        if (wait) {
            m_output.drain();
            m_speechQueued = false;
        }
    } else {
        // The engine plays on its own: what the output holds is heard first.
        m_output.drain();
        failure = m_engine->speak(speech, tuning, {}, wait);
        m_speechQueued = !wait;
    }
    return failure;
}

void cVoce::StopSpeech() {
    if (!m_speechQueued) {
        return;
    }
    m_speechQueued = false;
    if (m_engine->capabilities().testFlag(ISpeechEngine::Capability::Samples)) {
        m_output.purge();
    } else {
        m_engine->stop();
    }
}
