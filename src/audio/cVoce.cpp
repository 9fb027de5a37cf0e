#include "audio/cVoce.h"

#include "audio/AudioConverter.h"
#include "audio/SapiMarkup.h"
#include "audio/VoiceAttributes.h"

#include <QTimer>

namespace {
// SAPI's rate and volume as the program sets them.
constexpr int SapiRate = -4;
constexpr int SapiVolume = 100;
// espeak-ng's own default speed, in words per minute.
constexpr int EspeakDefaultWordsPerMinute = 175;

// The error of speaking without a synthesizer, as the runtime reports it.
constexpr int ObjectNotSetNumber = 91;
const char* const ObjectNotSetText = "Variabile oggetto o variabile del blocco With non impostata";
const char* const SynthesisFailedText = "Errore della sintesi vocale";

// How a bare "&" is read in the languages we know a word for.
QString ampersandWord(const QString& language) {
    return language == u"it" ? QStringLiteral("e") : QString();
}
} // namespace

const QString cVoce::DefaultAttributes =
    QStringLiteral("Name=ScanSoft Silvia_Dri40_16kHz;Language=410;Vendor=ScanSoft, Inc");

cVoce::cVoce(IAudioOutput& output, QObject* parent) : cVoce(output, DefaultAttributes, parent) {}

cVoce::cVoce(IAudioOutput& output, const QString& voiceAttributes, QObject* parent)
    : QObject(parent), m_output(output) {
    create(voiceAttributes);
}

cVoce::~cVoce() {
    releaseVoice();
}

void cVoce::create(const QString& voiceAttributes) {
    EspeakEngine* engine = EspeakEngine::instance();
    const VoiceAttributes wanted = ParseVoiceAttributes(voiceAttributes);
    const QString language = EspeakLanguageForWindowsCode(wanted.language);
    const std::optional<EspeakEngine::Voice> voice =
        engine != nullptr && !language.isEmpty() ? engine->chooseVoice(wanted.name, language) : std::nullopt;
    if (!voice) {
        releaseVoice();
        announceMissingSynthesizer();
        return;
    }
    // SAPI's rate r means a speed of 3^(r/10) times the voice's default
    // (-10 a third, +10 three times); espeak-ng takes words per minute around
    // its default of 175, so -4 becomes 175 x 3^(-0.4), about 113. SAPI's
    // volume 100 is the voice at full, undistorted level, which is espeak-ng's
    // 100 (above that it amplifies and clips).
    m_settings = EspeakEngine::Settings{*voice, 0, 0};
    setRateAndVolume(SapiRate, SapiVolume);
    m_speakFlags = SetFlag(false, m_speakFlags, SVSFlagsAsync);
    m_speakFlags = SetFlag(true, m_speakFlags, SVSFPurgeBeforeSpeak);
    m_speakFlags = SetFlag(true, m_speakFlags, SVSFIsXML);
}

// Raised from the event loop: while the constructor runs nobody can be
// connected yet, so an immediate signal would never be heard.
void cVoce::announceMissingSynthesizer() {
    QTimer::singleShot(0, this, &cVoce::VoiceNonDisponibile);
}

void cVoce::releaseVoice() {
    if (m_speechQueued) {
        m_output.purge();
        m_speechQueued = false;
    }
    m_settings.reset();
}

void cVoce::setRateAndVolume(int rate, int volume) {
    m_rate = rate;
    if (m_settings) {
        m_settings->wordsPerMinute = qRound(EspeakDefaultWordsPerMinute * SapiRateFactor(rate));
        m_settings->volume = volume;
    }
}

qint32 cVoce::SetFlag(bool on, qint32 value, qint32 flag) {
    return on ? (value | flag) : (value & ~flag);
}

QString cVoce::VoiceName() const {
    return m_settings ? m_settings->voice.name : QString();
}

QVariant cVoce::streamPosition(int audioMs) const {
    const int rate = EspeakEngine::instance() != nullptr ? EspeakEngine::instance()->sampleRate() : 0;
    return QVariant::fromValue(qint64(audioMs) * rate / 1000 * qint64(sizeof(qint16)));
}

std::optional<cVoce::Error> cVoce::Speak(const QString& text) {
    if (!m_settings) {
        return Error{ObjectNotSetNumber, QString::fromUtf8(ObjectNotSetText)};
    }
    if ((m_speakFlags & SVSFPurgeBeforeSpeak) != 0 && m_speechQueued) {
        m_output.purge();
        m_speechQueued = false;
    }
    if (text.isEmpty()) {
        return std::nullopt;
    }
    EspeakEngine* engine = EspeakEngine::instance();
    const SapiVoiceState voiceState{m_rate, ampersandWord(m_settings->voice.language)};
    const SsmlText ssml = (m_speakFlags & SVSFIsXML) != 0 ? TranslateSapiMarkup(text, voiceState)
                                                          : PlainTextAsSsml(text, voiceState);
    const qint32 stream = ++m_streamNumber;
    emit StartStream(stream, streamPosition(0));

    // Speech is played while the rest is still being made.
    AudioConverter converter(AUDIO_S16SYS, 1, engine->sampleRate(), m_output.format());
    qint64 madeSamples = 0;
    const EspeakEngine::SampleSink sink = [&](std::span<const qint16> samples) {
        madeSamples += qint64(samples.size());
        const std::vector<qint16> converted = converter.put(samples.data(), int(samples.size_bytes()));
        m_output.enqueue(converted);
    };
    std::vector<EspeakEngine::Event> events;
    const int status = engine->synthesize(ssml.ssml.toUtf8(), *m_settings, sink, events);
    m_output.enqueue(converter.finish());
    m_speechQueued = true;

    emitEvents(stream, ssml, qint32(text.size()), events);
    if ((m_speakFlags & SVSFlagsAsync) == 0 && !m_paused) {
        m_output.drain();
        m_speechQueued = false;
    }
    emit EndStream(stream, QVariant::fromValue(madeSamples * qint64(sizeof(qint16))));
    if (status != 0) {
        return Error{status, QString::fromUtf8(SynthesisFailedText)};
    }
    return std::nullopt;
}

// Word, sentence and bookmark events, with positions in the caller's text. A
// sentence runs to the start of the next one, the last to the end of the text.
void cVoce::emitEvents(qint32 stream, const SsmlText& ssml, qint32 textLength,
                       const std::vector<EspeakEngine::Event>& events) {
    for (size_t i = 0; i < events.size(); ++i) {
        const EspeakEngine::Event& e = events[i];
        const int position = ssml.toSource(e.textPosition);
        switch (e.kind) {
        case EspeakEngine::Event::Kind::Word:
            emit Word(stream, streamPosition(e.audioMs), position,
                      ssml.toSource(e.textPosition + e.length - 1) - position + 1);
            break;
        case EspeakEngine::Event::Kind::Sentence: {
            int end = textLength;
            for (size_t j = i + 1; j < events.size(); ++j) {
                if (events[j].kind == EspeakEngine::Event::Kind::Sentence) {
                    end = ssml.toSource(events[j].textPosition);
                    break;
                }
            }
            emit Sentence(stream, streamPosition(e.audioMs), position, end - position);
            break;
        }
        case EspeakEngine::Event::Kind::Mark:
            emit Bookmark(stream, streamPosition(e.audioMs), e.name, e.name.toInt());
            break;
        }
    }
}

void cVoce::StopSpeech() {
    if (m_speechQueued) {
        m_output.purge();
        m_speechQueued = false;
    }
}

void cVoce::PauseSpeech() {
    m_paused = true;
    m_output.setPaused(true);
}

void cVoce::ResumeSpeech() {
    m_paused = false;
    m_output.setPaused(false);
}
