#include "audio/EspeakSpeechEngine.h"

#include "audio/VoiceAttributes.h"

namespace {
// espeak-ng's own default speed, in words per minute.
constexpr int DefaultWordsPerMinute = 175;
// espeak-ng's pitch runs from 0 to 100 around 50; a step of ours moves it by this much.
constexpr int PitchMiddle = 50;
constexpr int PitchPerStep = 5;
const QString Italian = QStringLiteral("it");

QString genderName(int gender) {
    return gender == 1 ? QStringLiteral("maschile") : gender == 2 ? QStringLiteral("femminile") : QString();
}
} // namespace

std::unique_ptr<EspeakSpeechEngine> EspeakSpeechEngine::open(const QString& voiceAttributes) {
    EspeakEngine* engine = EspeakEngine::instance();
    return engine != nullptr
               ? std::unique_ptr<EspeakSpeechEngine>(new EspeakSpeechEngine(*engine, voiceAttributes))
               : nullptr;
}

QString EspeakSpeechEngine::engineName() const {
    return QStringLiteral("espeak");
}

ISpeechEngine::Capabilities EspeakSpeechEngine::capabilities() const {
    return Capability::Samples | Capability::Silence | Capability::Emphasis | Capability::Rate |
           Capability::Pitch | Capability::Volume | Capability::Spell;
}

std::vector<SpeechVoice> EspeakSpeechEngine::voices() {
    std::vector<SpeechVoice> list;
    for (const EspeakEngine::Voice& v : m_engine.voicesOf(Italian)) {
        const QString id = QString::fromUtf8(v.identifier);
        list.push_back({id, v.name, v.language, {}});
        for (const EspeakEngine::Variant& variant : m_engine.variants()) {
            list.push_back({id + u'+' + QString::fromUtf8(variant.identifier),
                            v.name + QStringLiteral(", ") + variant.name, v.language,
                            genderName(variant.gender)});
        }
    }
    return list;
}

bool EspeakSpeechEngine::selectVoice(const QString& id) {
    if (id.isEmpty()) {
        const VoiceAttributes wanted = ParseVoiceAttributes(m_voiceAttributes);
        const QString language = EspeakLanguageForWindowsCode(wanted.language);
        m_voice = language.isEmpty() ? std::nullopt : m_engine.chooseVoice(wanted.name, language);
        m_gender.clear();
        return m_voice.has_value();
    }
    const QString base = id.section(u'+', 0, 0);
    const QString variant = id.section(u'+', 1);
    std::optional<EspeakEngine::Voice> voice = m_engine.findVoice(base);
    if (voice && id.contains(u'+')) {
        voice = m_engine.withVariant(*voice, variant);
    }
    if (!voice) {
        return false;
    }
    m_voice = voice;
    m_gender.clear();
    for (const EspeakEngine::Variant& v : m_engine.variants()) {
        if (QString::fromUtf8(v.identifier) == variant) {
            m_gender = genderName(v.gender);
        }
    }
    return true;
}

SpeechVoice EspeakSpeechEngine::voice() const {
    if (!m_voice) {
        return {};
    }
    return {QString::fromUtf8(m_voice->identifier), m_voice->name, m_voice->language, m_gender};
}

Outcome EspeakSpeechEngine::speak(const SpeechText& text, const VoiceTuning& tuning, const SampleSink& sink,
                                  bool wait) {
    Q_UNUSED(wait);
    if (!m_voice) {
        return Outcome::Failed(QStringLiteral("Nessuna voce di espeak-ng scelta"),
                               QStringLiteral("espeak-ng: no voice selected"));
    }
    // Italian reads "&" as "e"; the synthesizer would say the English "and".
    const QString ampersand = m_voice->language.startsWith(Italian) ? QStringLiteral("e") : QString();
    const EspeakEngine::Settings settings{
        *m_voice, qRound(DefaultWordsPerMinute * SapiRateFactor(tuning.rate)), tuning.volume,
        std::clamp(PitchMiddle + PitchPerStep * tuning.pitch, 0, 100)};
    return m_engine.synthesize(SpeechSsml(text, tuning.rate, ampersand).toUtf8(), settings, sink);
}
