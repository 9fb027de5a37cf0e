#pragma once

#include "platform/Outcome.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <span>
#include <vector>

// espeak-ng is one synthesizer per process. This object starts it once, in
// the mode that hands the samples to us instead of playing them, and lets
// every speech object choose its voice and speak through it in turn.
// Used from the user-interface thread only.
class EspeakEngine {
public:
    // The engine, started on first use; nullptr when espeak-ng cannot start
    // (its data missing, for example). It is never retried.
    static EspeakEngine* instance();

    ~EspeakEngine();
    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

    // Samples come out as signed 16-bit mono at this rate.
    int sampleRate() const { return m_sampleRate; }

    struct Voice {
        QByteArray identifier; // file name under espeak-ng's voices folder, e.g. "roa/it"
        QString name;          // e.g. "Italian"
        QString language;      // the language it was chosen for, e.g. "it"
    };
    // The voice named `name` when one of that name speaks `language`;
    // otherwise the first voice of the language, in espeak-ng's order of
    // preference, that loads. Nothing when no voice of the language loads.
    std::optional<Voice> chooseVoice(const QString& name, const QString& language);

    // The voice of any language whose identifier ("roa/it"), last part of it
    // ("it") or name ("Italian") is `name`, letters in any case.
    std::optional<Voice> findVoice(const QString& name);
    // The voice with a variant of espeak-ng's ("f3", "Annie"): identifier
    // "roa/it+Annie". Nothing when there is no such variant.
    std::optional<Voice> withVariant(const Voice& voice, const QString& variant);
    // Every voice of the language, in espeak-ng's order (MBROLA voices left out).
    std::vector<Voice> voicesOf(const QString& language);
    struct Variant {
        QByteArray identifier; // e.g. "f3", what follows "+"
        QString name;          // e.g. "Annie"
        int gender;            // 0 unknown, 1 male, 2 female
    };
    const std::vector<Variant>& variants();

    struct Settings {
        Voice voice;
        int wordsPerMinute = 175;
        int volume = 100;
        int pitch = 50; // espeak-ng's 0 to 100
    };
    using SampleSink = std::function<void(std::span<const qint16>)>;

    // Speaks UTF-8 SSML with the given settings; samples go to `sink` as they
    // are made. A failure carries espeak-ng's status as its detail.
    Outcome synthesize(const QByteArray& ssml, const Settings& settings, const SampleSink& sink);

private:
    explicit EspeakEngine(int sampleRate) : m_sampleRate(sampleRate) {}
    // Fails, with espeak-ng's status, when the voice cannot be loaded.
    Outcome loadVoice(const QByteArray& identifier);

    int m_sampleRate;
    QByteArray m_loadedVoice;
    std::optional<std::vector<Variant>> m_variants;
};
