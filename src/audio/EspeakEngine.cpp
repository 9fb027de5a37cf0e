#include "audio/EspeakEngine.h"

#include "audio/AudioLibraries.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <memory>

namespace {
// Milliseconds of speech handed over per callback: short, so that playing can
// start while the rest of a long text is still being made.
constexpr int ChunkMs = 100;

struct SynthContext {
    const EspeakEngine::SampleSink* sink;
    std::vector<EspeakEngine::Event>* events;
};

int onSynth(short* samples, int count, espeak_EVENT* events) {
    auto* context = static_cast<SynthContext*>(events->user_data);
    if (context == nullptr) {
        return 0;
    }
    if (samples != nullptr && count > 0) {
        (*context->sink)(std::span<const qint16>(samples, size_t(count)));
    }
    for (espeak_EVENT* e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        // espeak-ng counts text positions from 1.
        const int position = e->text_position > 0 ? e->text_position - 1 : 0;
        // After some texts espeak-ng adds a word of no length at position 0
        // at the very end; it stands for nothing in the text.
        if (e->type == espeakEVENT_WORD && e->length > 0 && e->text_position > 0) {
            context->events->push_back(
                {EspeakEngine::Event::Kind::Word, position, e->length, e->audio_position, {}});
        } else if (e->type == espeakEVENT_SENTENCE) {
            context->events->push_back(
                {EspeakEngine::Event::Kind::Sentence, position, 0, e->audio_position, {}});
        } else if (e->type == espeakEVENT_MARK) {
            context->events->push_back({EspeakEngine::Event::Kind::Mark, position, 0, e->audio_position,
                                        QString::fromUtf8(e->id.name)});
        }
    }
    return 0;
}

bool speaksLanguage(const espeak_VOICE* voice, const QByteArray& language) {
    // languages: (priority byte, name, zero byte) pairs, ended by a zero byte.
    for (const char* p = voice->languages; p != nullptr && *p != 0;) {
        const QByteArray name = QByteArray(p + 1).toLower();
        if (name == language || name.startsWith(language + '-')) {
            return true;
        }
        p += 1 + name.size() + 1;
    }
    return false;
}
} // namespace

EspeakEngine* EspeakEngine::instance() {
    static const std::unique_ptr<EspeakEngine> engine = []() -> std::unique_ptr<EspeakEngine> {
        if (Espeak() == nullptr) {
            return nullptr;
        }
        // Without DONT_EXIT, missing data would end the whole program.
        const int rate =
            Espeak()->Initialize(AUDIO_OUTPUT_SYNCHRONOUS, ChunkMs, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (rate <= 0) {
            return nullptr;
        }
        Espeak()->SetSynthCallback(onSynth);
        return std::unique_ptr<EspeakEngine>(new EspeakEngine(rate));
    }();
    return engine.get();
}

EspeakEngine::~EspeakEngine() {
    Espeak()->Terminate();
}

bool EspeakEngine::loadVoice(const QByteArray& identifier) {
    if (identifier == m_loadedVoice) {
        return true;
    }
    m_loadedVoice.clear();
    if (Espeak()->SetVoiceByName(identifier.constData()) != EE_OK) {
        return false;
    }
    m_loadedVoice = identifier;
    return true;
}

std::optional<EspeakEngine::Voice> EspeakEngine::chooseVoice(const QString& name, const QString& language) {
    const QByteArray wanted = language.toLower().toUtf8();
    if (wanted.isEmpty()) {
        return std::nullopt;
    }
    espeak_VOICE spec{};
    spec.languages = wanted.constData();
    std::vector<const espeak_VOICE*> candidates;
    for (const espeak_VOICE** v = Espeak()->ListVoices(&spec); v != nullptr && *v != nullptr; ++v) {
        // MBROLA voices need a separate program and its voice data, which we
        // neither install nor want to start from here; trying one spawns it.
        if (speaksLanguage(*v, wanted) && !QByteArray((*v)->identifier).startsWith("mb/")) {
            candidates.push_back(*v);
        }
    }
    // The named voice first, then the others in espeak-ng's order.
    std::stable_partition(candidates.begin(), candidates.end(), [&](const espeak_VOICE* v) {
        const QString identifier = QString::fromUtf8(v->identifier);
        return !name.isEmpty() && (QString::fromUtf8(v->name).compare(name, Qt::CaseInsensitive) == 0 ||
                                   identifier.compare(name, Qt::CaseInsensitive) == 0 ||
                                   identifier.section(u'/', -1).compare(name, Qt::CaseInsensitive) == 0);
    });
    for (const espeak_VOICE* v : candidates) {
        if (loadVoice(v->identifier)) {
            return Voice{v->identifier, QString::fromUtf8(v->name), language.toLower()};
        }
    }
    // A regional variant without a voice of its own ("fr-ca") takes the language's.
    const qsizetype dash = language.indexOf(u'-');
    return dash > 0 ? chooseVoice(name, language.left(dash)) : std::nullopt;
}

int EspeakEngine::synthesize(const QByteArray& ssml, const Settings& settings, const SampleSink& sink,
                             std::vector<Event>& events) {
    if (!loadVoice(settings.voice.identifier)) {
        return EE_INTERNAL_ERROR;
    }
    Espeak()->SetParameter(espeakRATE, settings.wordsPerMinute, 0);
    Espeak()->SetParameter(espeakVOLUME, settings.volume, 0);
    SynthContext context{&sink, &events};
    const espeak_ERROR status = Espeak()->Synth(ssml.constData(), size_t(ssml.size()) + 1, 0, POS_CHARACTER,
                                                0, espeakCHARS_UTF8 | espeakSSML, nullptr, &context);
    return int(status);
}
