#include "audio/SpeechDispatcherEngine.h"

#include "audio/AudioLibraries.h"

#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <set>
#include <thread>

namespace {
// The longest wait for a speech to end: a service that died must not freeze the program.
constexpr auto BaseWait = std::chrono::seconds(10);
constexpr auto WaitPerCharacter = std::chrono::milliseconds(150);
// The longest wait for the service's answer to one request.
constexpr auto AnswerWait = std::chrono::seconds(3);
const QString Italian = QStringLiteral("it");

// The service reports the end of a message on a thread of the client
// library; the speaking thread waits here for the message it sent.
struct Endings {
    std::mutex mutex;
    std::condition_variable changed;
    std::set<size_t> ended;
};
Endings& endings() {
    static Endings e;
    return e;
}

void onEnd(size_t message, size_t, SPDNotificationType) {
    Endings& e = endings();
    {
        const std::lock_guard lock(e.mutex);
        e.ended.insert(message);
    }
    e.changed.notify_all();
}

// speech-dispatcher's scales run from -100 to 100.
int serviceScale(int sapi) {
    return std::clamp(sapi * 10, -100, 100);
}

// The client library waits for every answer of the service without a limit,
// and a service that hangs (it happens when its module died) would hold the
// program for good. So each request runs on a thread of its own and is given
// up after AnswerWait: that thread is left to its fate, and the caller never
// uses the connection again. Nothing when the answer did not come.
template <typename Request> auto Bounded(Request request) -> std::optional<decltype(request())> {
    using Answer = decltype(request());
    auto answer = std::make_shared<std::promise<Answer>>();
    std::future<Answer> future = answer->get_future();
    try {
        std::thread([answer, request]() mutable { answer->set_value(request()); }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    if (future.wait_for(AnswerWait) != std::future_status::ready) {
        return std::nullopt;
    }
    return future.get();
}
} // namespace

std::unique_ptr<SpeechDispatcherEngine> SpeechDispatcherEngine::open(QString& missing) {
    const SpeechdFunctions* spd = Speechd();
    if (spd == nullptr) {
        missing = QStringLiteral("La libreria della voce di sistema non è installata: la porta il pacchetto "
                                 "libspeechd2, con il servizio speech-dispatcher.");
        return nullptr;
    }
    // Not started from here: the library's start waits on the new service,
    // and one that never answers would hold the program. A desktop session
    // starts it when it is first asked for.
    const auto opened = Bounded([spd]() -> std::pair<SPDConnection*, QString> {
        char* error = nullptr;
        SPDConnection* c = spd->open2("mirelva", "voce", nullptr, SPD_MODE_THREADED, nullptr, 0, &error);
        const QString reason = QString::fromLocal8Bit(error != nullptr ? error : "");
        std::free(error);
        if (c != nullptr) {
            c->callback_end = onEnd;
            c->callback_cancel = onEnd;
            spd->setNotificationOn(c, SPD_END);
            spd->setNotificationOn(c, SPD_CANCEL);
            spd->setDataMode(c, SPD_DATA_SSML);
        }
        return {c, reason};
    });
    if (!opened || opened->first == nullptr) {
        missing = QStringLiteral("Il servizio della voce di sistema non risponde (%1): lo porta il pacchetto "
                                 "speech-dispatcher.")
                      .arg(opened ? opened->second : QStringLiteral("nessuna risposta"));
        return nullptr;
    }
    return std::unique_ptr<SpeechDispatcherEngine>(new SpeechDispatcherEngine(opened->first));
}

SpeechDispatcherEngine::~SpeechDispatcherEngine() {
    // A connection whose service stopped answering is left as it is: closing it would wait too.
    request([](const SpeechdFunctions* spd, SPDConnection* c) {
        spd->cancel(c);
        spd->close(c);
        return true;
    });
}

template <typename Request>
auto SpeechDispatcherEngine::request(Request r) -> std::optional<decltype(r(nullptr, nullptr))> {
    if (m_connection == nullptr) {
        return std::nullopt;
    }
    SPDConnection* c = m_connection;
    const auto answer = Bounded([r, c] { return r(Speechd(), c); });
    if (!answer) {
        m_connection = nullptr; // the service hangs: never asked again
    }
    return answer;
}

QString SpeechDispatcherEngine::engineName() const {
    return QStringLiteral("speechd");
}

ISpeechEngine::Capabilities SpeechDispatcherEngine::capabilities() const {
    return Capability::Silence | Capability::Emphasis | Capability::Rate | Capability::Pitch |
           Capability::Volume | Capability::Spell;
}

std::vector<SpeechVoice> SpeechDispatcherEngine::allVoices() {
    std::vector<SpeechVoice> found =
        request([](const SpeechdFunctions* spd, SPDConnection* c) {
            std::vector<SpeechVoice> list;
            char** modules = spd->listModules(c);
            for (char** m = modules; m != nullptr && *m != nullptr; ++m) {
                const QString module = QString::fromUtf8(*m);
                if (spd->setOutputModule(c, *m) != 0) {
                    continue;
                }
                SPDVoice** voices = spd->listVoices(c);
                for (SPDVoice** v = voices; v != nullptr && *v != nullptr; ++v) {
                    const QString name = QString::fromUtf8((*v)->name);
                    list.push_back(
                        {module + u'/' + name, name, QString::fromUtf8((*v)->language).toLower(), {}});
                }
                if (voices != nullptr) {
                    spd->freeVoices(voices);
                }
            }
            if (modules != nullptr) {
                spd->freeModules(modules);
            }
            return list;
        }).value_or(std::vector<SpeechVoice>());
    // The voice in use again: listing went through every module.
    useVoice(m_voice);
    return found;
}

// The Italian voices only: a service with espeak-ng lists thousands of voices
// of every language. Others are still chosen by their name.
std::vector<SpeechVoice> SpeechDispatcherEngine::voices() {
    std::vector<SpeechVoice> italian = allVoices();
    std::erase_if(italian, [](const SpeechVoice& v) { return !v.language.startsWith(Italian); });
    return italian;
}

bool SpeechDispatcherEngine::useVoice(const SpeechVoice& voice) {
    const QByteArray module = voice.id.section(u'/', 0, 0).toUtf8();
    const QByteArray name = voice.name.toUtf8();
    const QByteArray language = Italian.toUtf8();
    const bool byName = !voice.id.isEmpty();
    return request([=](const SpeechdFunctions* spd, SPDConnection* c) {
               if (!byName) {
                   spd->setOutputModule(c, "default");
                   return spd->setLanguage(c, language.constData()) == 0;
               }
               return spd->setOutputModule(c, module.constData()) == 0 &&
                      spd->setSynthesisVoice(c, name.constData()) == 0;
           })
        .value_or(false);
}

bool SpeechDispatcherEngine::selectVoice(const QString& id) {
    if (id.isEmpty()) {
        const SpeechVoice italian{{}, QStringLiteral("italiano"), Italian, {}};
        if (useVoice(italian)) {
            m_voice = italian;
            return true;
        }
        return false;
    }
    // Only a voice the service lists: the name goes into its protocol.
    for (const SpeechVoice& v : allVoices()) {
        if ((v.id == id || (!id.contains(u'/') && v.name == id)) && useVoice(v)) {
            m_voice = v;
            return true;
        }
    }
    return false;
}

Outcome SpeechDispatcherEngine::speak(const SpeechText& text, const VoiceTuning& tuning,
                                      const SampleSink& sink, bool wait) {
    Q_UNUSED(sink);
    const QString ampersand = m_voice.language.startsWith(Italian) ? QStringLiteral("e") : QString();
    const QByteArray ssml = SpeechSsml(text, tuning.rate, ampersand).toUtf8();
    const int message = request([=](const SpeechdFunctions* spd, SPDConnection* c) {
                            spd->setVoiceRate(c, serviceScale(tuning.rate));
                            spd->setVoicePitch(c, serviceScale(tuning.pitch));
                            spd->setVolume(c, std::clamp(tuning.volume * 2 - 100, -100, 100));
                            return spd->say(c, SPD_TEXT, ssml.constData());
                        }).value_or(-1);
    if (message < 0) {
        return Outcome::Failed(QStringLiteral("La voce di sistema non ha accettato il testo"),
                               m_connection == nullptr
                                   ? QStringLiteral("speech-dispatcher: no answer")
                                   : QStringLiteral("speech-dispatcher: spd_say refused"));
    }
    if (wait) {
        Endings& e = endings();
        std::unique_lock lock(e.mutex);
        const auto limit = BaseWait + WaitPerCharacter * SpokenWords(text).size();
        if (!e.changed.wait_for(lock, limit, [&] { return e.ended.count(size_t(message)) > 0; })) {
            return Outcome::Failed(QStringLiteral("La voce di sistema non ha finito di parlare"),
                                   QStringLiteral("speech-dispatcher: message %1 not ended in %2 ms")
                                       .arg(message)
                                       .arg(qint64(limit.count())));
        }
        e.ended.erase(size_t(message));
    }
    return Outcome::Done();
}

void SpeechDispatcherEngine::stop() {
    request([](const SpeechdFunctions* spd, SPDConnection* c) { return spd->cancel(c); });
}
