#include "audio/FestivalSpeechEngine.h"

#include "audio/AudioLibraries.h"
#include "audio/festival/FestivalModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {
const char* const ModuleFile = "mirelva-festival.so";
// Longer words are cut: Festival runs out of memory and crashes on a
// word of a few thousand letters.
constexpr int MaxWordLength = 40;
// Sentences are cut at a blank past this length, so that a long text
// starts playing after its first sentence and never fills Festival's heap.
constexpr int MaxSentenceLength = 200;
// Festival's Italian voices speak at about the pace espeak-ng takes at this rate.
constexpr int NativeRate = -4;
// The Italian diphone voices come out at full scale, twice as loud as
// espeak-ng: at half their level the two sound alike.
constexpr double Level = 0.5;
// Emphasis: a little slower, higher and louder.
constexpr double EmphasisStretch = 1.15;
constexpr double EmphasisPitch = 1.12;
constexpr double EmphasisGain = 1.25;

struct Module {
    decltype(&mirelva_festival_api) api;
    decltype(&mirelva_festival_start) start;
    decltype(&mirelva_festival_voices) voices;
    decltype(&mirelva_festival_select) select;
    decltype(&mirelva_festival_speak) speak;
};

// Beside the program (a build), one folder up (tests and tools of a build),
// or where the package puts it.
QStringList moduleCandidates() {
    const QString programFolder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return {programFolder + u'/' + QLatin1String(ModuleFile),
            programFolder + QStringLiteral("/../") + QLatin1String(ModuleFile),
            programFolder + QStringLiteral("/" MIRELVA_MODULE_DIR "/") + QLatin1String(ModuleFile)};
}

// The module, opened and started once; `missing` says why not.
const Module* module(QString& missing) {
    static QString failure;
    static const std::optional<Module> loaded = []() -> std::optional<Module> {
        QString dlError;
        for (const QString& path : moduleCandidates()) {
            if (!QFileInfo(path).isFile()) {
                continue;
            }
            // Never closed (Festival cannot be started twice in a process).
            const DynamicLibrary lib(QFile::encodeName(path).constData());
            if (!lib.isOpen()) {
                dlError = QString::fromStdString(lib.error());
                continue;
            }
            Module m{};
            if (lib.find(m.api, "mirelva_festival_api") && m.api() == MirelvaFestivalApi &&
                lib.find(m.start, "mirelva_festival_start") &&
                lib.find(m.voices, "mirelva_festival_voices") &&
                lib.find(m.select, "mirelva_festival_select") &&
                lib.find(m.speak, "mirelva_festival_speak")) {
                char error[512] = {};
                if (m.start(error, int(sizeof error)) == 0) {
                    return m;
                }
                failure = QStringLiteral("Festival non si avvia (%1): lo porta il pacchetto festival.")
                              .arg(QString::fromLocal8Bit(error));
                return std::nullopt;
            }
        }
        failure = dlError.isEmpty()
                      ? QStringLiteral("Il modulo Festival di Mirelva (%1) non è installato.")
                            .arg(QLatin1String(ModuleFile))
                      : QStringLiteral("Festival non è installato (%1): lo porta il pacchetto libestools2.5, "
                                       "con festival e le voci festvox-italp16k e festvox-itapc16k.")
                            .arg(dlError);
        return std::nullopt;
    }();
    missing = failure;
    return loaded ? &*loaded : nullptr;
}

// Italian letters Festival's Italian voices read: the plain ones and the
// lower-case accented vowels.
bool italianLetter(QChar c) {
    static const QString accented = QStringLiteral("àèéìíòóùú");
    return (c >= u'a' && c <= u'z') || accented.contains(c);
}

// One character as Festival may read it: an Italian letter, a digit, plain
// punctuation; other letters without their accents; the rest a blank.
QString readable(QChar c) {
    const QChar lower = c.toLower();
    if (italianLetter(lower) || (c >= u'0' && c <= u'9') || QStringLiteral(".,;:!?'()-").contains(c)) {
        return lower;
    }
    if (c == u'&') {
        return QStringLiteral(" e ");
    }
    if (c == u'%') {
        return QStringLiteral(" per cento ");
    }
    if (c == u'ß') {
        return QStringLiteral("ss");
    }
    const QString base = QString(lower).normalized(QString::NormalizationForm_D);
    if (!base.isEmpty() && base[0] >= u'a' && base[0] <= u'z') {
        return base.left(1);
    }
    return QStringLiteral(" ");
}

void splitLongWords(QString& text) {
    int run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        run = text[i] == u' ' ? 0 : run + 1;
        if (run > MaxWordLength) {
            text.insert(i, u' ');
            run = 0;
        }
    }
}

// Speaks one piece's text through the module; false when Festival failed.
bool speakPiece(const Module& m, const QString& text, double stretch, double pitch, double gain,
                const ISpeechEngine::SampleSink& sink) {
    struct Context {
        const ISpeechEngine::SampleSink* sink;
        double gain;
    } context{&sink, gain};
    const MirelvaFestivalSink forward = [](const short* samples, int count, void* c) {
        const auto* ctx = static_cast<Context*>(c);
        std::vector<qint16> scaled(samples, samples + count);
        if (ctx->gain != 1.0) {
            for (qint16& s : scaled) {
                s = qint16(std::clamp(std::lround(s * ctx->gain), -32768L, 32767L));
            }
        }
        (*ctx->sink)(scaled);
    };
    bool ok = true;
    for (const QByteArray& sentence : FestivalSpeechEngine::FestivalSentences(text)) {
        ok = m.speak(sentence.constData(), stretch, pitch, forward, &context) == 0 && ok;
    }
    return ok;
}
} // namespace

std::vector<QByteArray> FestivalSpeechEngine::FestivalSentences(const QString& text) {
    QString clean;
    for (const QChar c : text) {
        clean += readable(c);
    }
    splitLongWords(clean);
    std::vector<QByteArray> sentences;
    QString sentence;
    const auto flush = [&] {
        const QString simplified = sentence.simplified();
        if (std::any_of(simplified.begin(), simplified.end(), [](QChar c) { return c.isLetterOrNumber(); })) {
            sentences.push_back(simplified.toLatin1());
        }
        sentence.clear();
    };
    for (const QChar c : clean) {
        sentence += c;
        if (QStringLiteral(".!?;:").contains(c) || (sentence.size() >= MaxSentenceLength && c == u' ')) {
            flush();
        }
    }
    flush();
    return sentences;
}

QString FestivalSpeechEngine::PackageOf(const QString& voice) {
    if (voice == u"lp_diphone" || voice.isEmpty()) {
        return QStringLiteral("festvox-italp16k");
    }
    if (voice == u"pc_diphone") {
        return QStringLiteral("festvox-itapc16k");
    }
    return QStringLiteral("festvox-… che la contiene");
}

std::unique_ptr<FestivalSpeechEngine> FestivalSpeechEngine::open(QString& missing) {
    return module(missing) != nullptr ? std::unique_ptr<FestivalSpeechEngine>(new FestivalSpeechEngine)
                                      : nullptr;
}

QString FestivalSpeechEngine::engineName() const {
    return QStringLiteral("festival");
}

ISpeechEngine::Capabilities FestivalSpeechEngine::capabilities() const {
    return Capability::Samples | Capability::Silence | Capability::Emphasis | Capability::Rate |
           Capability::Pitch | Capability::Volume | Capability::Spell;
}

int FestivalSpeechEngine::sampleRate() const {
    return MirelvaFestivalRate;
}

std::vector<SpeechVoice> FestivalSpeechEngine::voices() {
    QString missing;
    const Module* m = module(missing);
    if (m == nullptr) {
        return {};
    }
    QByteArray list(m->voices(nullptr, 0) + 1, '\0');
    m->voices(list.data(), int(list.size()));
    std::vector<SpeechVoice> found;
    for (const QByteArray& line : list.left(list.indexOf('\0')).split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3 || fields[0].isEmpty()) {
            continue;
        }
        const QString id = QString::fromLatin1(fields[0]);
        const QString language =
            fields[1] == "italian" ? QStringLiteral("it") : QString::fromLatin1(fields[1]);
        const QString gender = fields[2] == "female" ? QStringLiteral("femminile")
                               : fields[2] == "male" ? QStringLiteral("maschile")
                                                     : QString();
        found.push_back({id, id, language, gender});
    }
    std::stable_partition(found.begin(), found.end(),
                          [](const SpeechVoice& v) { return v.language == u"it"; });
    return found;
}

bool FestivalSpeechEngine::selectVoice(const QString& id) {
    QString missing;
    const Module* m = module(missing);
    if (m == nullptr) {
        return false;
    }
    for (const SpeechVoice& v : voices()) {
        // The package's name names its voice too: "italp16k" is lp_diphone.
        const bool named = v.id == id || PackageOf(v.id) == QStringLiteral("festvox-") + id;
        const bool italianDefault = id.isEmpty() && v.language == u"it";
        if ((named || italianDefault) && m->select(v.id.toLatin1().constData()) == 0) {
            m_voice = v;
            return true;
        }
    }
    return false;
}

Outcome FestivalSpeechEngine::speak(const SpeechText& text, const VoiceTuning& tuning, const SampleSink& sink,
                                    bool wait) {
    Q_UNUSED(wait);
    QString missing;
    const Module* m = module(missing);
    if (m == nullptr || m_voice.id.isEmpty() || m->select(m_voice.id.toLatin1().constData()) != 0) {
        return Outcome::Failed(QStringLiteral("La voce di Festival non è pronta"),
                               m == nullptr
                                   ? QStringLiteral("Festival: %1").arg(missing)
                                   : QStringLiteral("Festival: voice «%1» not selected").arg(m_voice.id));
    }
    bool ok = true;
    for (const SpeechPiece& piece : text) {
        if (piece.text.isEmpty()) {
            sink(std::vector<qint16>(size_t(qint64(piece.silenceMs) * MirelvaFestivalRate / 1000), 0));
            continue;
        }
        const bool emphasis = piece.emphasis;
        const double stretch = (emphasis ? EmphasisStretch : 1.0) * SapiRateFactor(NativeRate) /
                               SapiRateFactor(piece.levels.rate);
        const double pitch =
            (emphasis ? EmphasisPitch : 1.0) * std::pow(2.0, (tuning.pitch + piece.levels.pitch) / 12.0);
        const double gain =
            Level * (emphasis ? EmphasisGain : 1.0) * tuning.volume / 100.0 * piece.levels.volume / 100.0;
        QString words = piece.text;
        if (piece.spell) {
            // Letter by letter: each letter a word of its own.
            words.clear();
            for (const QChar c : piece.text) {
                words += c + QStringLiteral(", ");
            }
        }
        ok = speakPiece(*m, words, stretch, pitch, gain, sink) && ok;
    }
    if (!ok) {
        return Outcome::Failed(QStringLiteral("Errore della sintesi vocale di Festival"),
                               QStringLiteral("Festival voice %1: a sentence failed").arg(m_voice.id));
    }
    return Outcome::Done();
}
