#include "audio/SpeechEngines.h"

#include "audio/EspeakSpeechEngine.h"
#include "audio/FestivalSpeechEngine.h"
#include "audio/SpeechDispatcherEngine.h"

namespace {
// The package that brings a voice of an engine.
QString packageOf(VoiceChoice::Engine engine, const QString& voice) {
    switch (engine) {
    case VoiceChoice::Engine::Festival:
        return FestivalSpeechEngine::PackageOf(voice);
    case VoiceChoice::Engine::SpeechDispatcher:
        return QStringLiteral("speech-dispatcher-espeak-ng, o un altro modulo di speech-dispatcher");
    case VoiceChoice::Engine::Espeak:
        break;
    }
    return QStringLiteral("espeak-ng-data");
}

QString missingVoice(const VoiceChoice& wanted) {
    const QString engine = VoiceChoice::engineTitle(wanted.engine);
    if (wanted.voice.isEmpty()) {
        return QStringLiteral("%1 non ha una voce italiana su questo computer: la porta il pacchetto %2.")
            .arg(engine, packageOf(wanted.engine, wanted.voice));
    }
    return QStringLiteral("La voce «%1» di %2 non c'è su questo computer: la porta il pacchetto %3.")
        .arg(wanted.voice, engine, packageOf(wanted.engine, wanted.voice));
}
} // namespace

SystemSpeechEngines::SystemSpeechEngines(const QString& voiceAttributes)
    : m_voiceAttributes(voiceAttributes) {}

std::unique_ptr<ISpeechEngine> SystemSpeechEngines::open(VoiceChoice::Engine engine, QString& missing) {
    switch (engine) {
    case VoiceChoice::Engine::Festival:
        return FestivalSpeechEngine::open(missing);
    case VoiceChoice::Engine::SpeechDispatcher:
        return SpeechDispatcherEngine::open(missing);
    case VoiceChoice::Engine::Espeak:
        break;
    }
    std::unique_ptr<EspeakSpeechEngine> espeak = EspeakSpeechEngine::open(m_voiceAttributes);
    if (!espeak) {
        missing =
            QStringLiteral("espeak-ng non si avvia: lo portano i pacchetti libespeak-ng1 ed espeak-ng-data.");
    }
    return espeak;
}

ResolvedVoice ResolveVoice(const VoiceChoice& wanted, ISpeechEngineSource& engines) {
    QString missing;
    std::unique_ptr<ISpeechEngine> engine = engines.open(wanted.engine, missing);
    if (engine && engine->selectVoice(wanted.voice)) {
        return {std::move(engine), wanted, {}};
    }
    const VoiceChoice fallback{VoiceChoice::Engine::Espeak, {}, wanted.tuning};
    if (engine) {
        missing = missingVoice(wanted);
    }
    if (wanted.engine == fallback.engine && wanted.voice.isEmpty()) {
        return {nullptr, wanted, missing};
    }
    QString espeakMissing;
    std::unique_ptr<ISpeechEngine> espeak = engines.open(fallback.engine, espeakMissing);
    if (espeak && espeak->selectVoice({})) {
        return {std::move(espeak), fallback,
                missing + QStringLiteral(" Intanto parla la voce italiana di espeak-ng.")};
    }
    return {nullptr, wanted, missing + u' ' + espeakMissing};
}
