#include "audio/EspeakEngine.h"

#include "audio/AudioLibraries.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <memory>

namespace {
// Milliseconds of speech handed over per callback: short, so that playing can
// start while the rest of a long text is still being made.
constexpr int ChunkMs = 100;

int onSynth(short* samples, int count, espeak_EVENT* events) {
    const auto* sink = static_cast<const EspeakEngine::SampleSink*>(events->user_data);
    if (sink != nullptr && samples != nullptr && count > 0) {
        (*sink)(std::span<const qint16>(samples, size_t(count)));
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

Outcome EspeakEngine::loadVoice(const QByteArray& identifier) {
    if (identifier == m_loadedVoice) {
        return Outcome::Done();
    }
    m_loadedVoice.clear();
    if (const espeak_ERROR status = Espeak()->SetVoiceByName(identifier.constData()); status != EE_OK) {
        return Outcome::Failed(QStringLiteral("Errore della sintesi vocale"),
                               QStringLiteral("espeak-ng: voice %1 not loaded (status %2)")
                                   .arg(QString::fromUtf8(identifier))
                                   .arg(int(status)));
    }
    m_loadedVoice = identifier;
    return Outcome::Done();
}

std::vector<EspeakEngine::Voice> EspeakEngine::voicesOf(const QString& language) {
    const QByteArray wanted = language.toLower().toUtf8();
    std::vector<Voice> found;
    if (wanted.isEmpty()) {
        return found;
    }
    espeak_VOICE spec{};
    spec.languages = wanted.constData();
    for (const espeak_VOICE** v = Espeak()->ListVoices(&spec); v != nullptr && *v != nullptr; ++v) {
        // MBROLA voices need a separate program and its voice data, which we
        // neither install nor want to start from here; trying one spawns it.
        if (speaksLanguage(*v, wanted) && !QByteArray((*v)->identifier).startsWith("mb/")) {
            found.push_back({(*v)->identifier, QString::fromUtf8((*v)->name), language.toLower()});
        }
    }
    return found;
}

std::optional<EspeakEngine::Voice> EspeakEngine::chooseVoice(const QString& name, const QString& language) {
    std::vector<Voice> candidates = voicesOf(language);
    // The named voice first, then the others in espeak-ng's order.
    std::stable_partition(candidates.begin(), candidates.end(), [&](const Voice& v) {
        const QString identifier = QString::fromUtf8(v.identifier);
        return !name.isEmpty() && (v.name.compare(name, Qt::CaseInsensitive) == 0 ||
                                   identifier.compare(name, Qt::CaseInsensitive) == 0 ||
                                   identifier.section(u'/', -1).compare(name, Qt::CaseInsensitive) == 0);
    });
    for (const Voice& v : candidates) {
        if (loadVoice(v.identifier)) {
            return v;
        }
    }
    // A regional variant without a voice of its own ("fr-ca") takes the language's.
    const qsizetype dash = language.indexOf(u'-');
    return dash > 0 ? chooseVoice(name, language.left(dash)) : std::nullopt;
}

std::optional<EspeakEngine::Voice> EspeakEngine::findVoice(const QString& name) {
    for (const espeak_VOICE** v = Espeak()->ListVoices(nullptr); v != nullptr && *v != nullptr; ++v) {
        const QString identifier = QString::fromUtf8((*v)->identifier);
        const bool named = QString::fromUtf8((*v)->name).compare(name, Qt::CaseInsensitive) == 0 ||
                           identifier.compare(name, Qt::CaseInsensitive) == 0 ||
                           identifier.section(u'/', -1).compare(name, Qt::CaseInsensitive) == 0;
        if (named && !identifier.startsWith(u"mb/") && (*v)->languages != nullptr) {
            const Voice voice{(*v)->identifier, QString::fromUtf8((*v)->name),
                              QString::fromUtf8((*v)->languages + 1)};
            if (loadVoice(voice.identifier)) {
                return voice;
            }
        }
    }
    return std::nullopt;
}

const std::vector<EspeakEngine::Variant>& EspeakEngine::variants() {
    if (!m_variants) {
        m_variants.emplace();
        espeak_VOICE spec{};
        spec.languages = "variant";
        for (const espeak_VOICE** v = Espeak()->ListVoices(&spec); v != nullptr && *v != nullptr; ++v) {
            const QByteArray identifier((*v)->identifier);
            // Variants live in the "!v" folder: "!v/f3".
            const qsizetype slash = identifier.indexOf('/');
            m_variants->push_back({identifier.mid(slash + 1), QString::fromUtf8((*v)->name), (*v)->gender});
        }
    }
    return *m_variants;
}

std::optional<EspeakEngine::Voice> EspeakEngine::withVariant(const Voice& voice, const QString& variant) {
    for (const Variant& v : variants()) {
        // Compared whole and exactly: the name becomes a file name inside espeak-ng.
        if (QString::fromUtf8(v.identifier) == variant) {
            const Voice varied{voice.identifier + '+' + v.identifier,
                               voice.name + QStringLiteral(", ") + v.name, voice.language};
            if (loadVoice(varied.identifier)) {
                return varied;
            }
        }
    }
    return std::nullopt;
}

Outcome EspeakEngine::synthesize(const QByteArray& ssml, const Settings& settings, const SampleSink& sink) {
    if (Outcome loaded = loadVoice(settings.voice.identifier); !loaded) {
        return loaded;
    }
    Espeak()->SetParameter(espeakRATE, settings.wordsPerMinute, 0);
    Espeak()->SetParameter(espeakVOLUME, settings.volume, 0);
    Espeak()->SetParameter(espeakPITCH, settings.pitch, 0);
    const espeak_ERROR status =
        Espeak()->Synth(ssml.constData(), size_t(ssml.size()) + 1, 0, POS_CHARACTER, 0,
                        espeakCHARS_UTF8 | espeakSSML, nullptr, const_cast<SampleSink*>(&sink));
    if (status != EE_OK) {
        return Outcome::Failed(QStringLiteral("Errore della sintesi vocale"),
                               QStringLiteral("espeak-ng voice %1: synthesis status %2")
                                   .arg(QString::fromUtf8(settings.voice.identifier))
                                   .arg(int(status)));
    }
    return Outcome::Done();
}
