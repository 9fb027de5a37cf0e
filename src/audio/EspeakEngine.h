#pragma once

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

    struct Settings {
        Voice voice;
        int wordsPerMinute = 175;
        int volume = 100;
    };

    struct Event {
        enum class Kind { Word, Sentence, Mark };
        Kind kind;
        int textPosition; // 0-based character position in the text spoken
        int length;       // characters of the word (words only)
        int audioMs;      // where in the speech it falls
        QString name;     // the mark's name (marks only)
    };
    using SampleSink = std::function<void(std::span<const qint16>)>;

    // Speaks UTF-8 SSML with the given settings; samples go to `sink` as they
    // are made, events are collected in `events`. Returns espeak-ng's status
    // (0 on success).
    int synthesize(const QByteArray& ssml, const Settings& settings, const SampleSink& sink,
                   std::vector<Event>& events);

private:
    explicit EspeakEngine(int sampleRate) : m_sampleRate(sampleRate) {}
    bool loadVoice(const QByteArray& identifier);

    int m_sampleRate;
    QByteArray m_loadedVoice;
};
