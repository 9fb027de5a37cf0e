#include "audio/SpeechDispatcherEngine.h"

#include "audio/AudioLibraries.h"

#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>

namespace {
// The longest wait for a speech to end: a service that died must not freeze the program.
constexpr auto BaseWait = std::chrono::seconds(10);
constexpr auto WaitPerCharacter = std::chrono::milliseconds(150);
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
} // namespace

std::unique_ptr<SpeechDispatcherEngine> SpeechDispatcherEngine::open(QString& missing) {
    const SpeechdFunctions* spd = Speechd();
    if (spd == nullptr) {
        missing = QStringLiteral("La libreria della voce di sistema non è installata: la porta il pacchetto "
                                 "libspeechd2, con il servizio speech-dispatcher.");
        return nullptr;
    }
    char* error = nullptr;
    // Not started from here: the library's start waits on the new service,
    // and one that never answers would hold the program. A desktop session
    // starts it when it is first asked for.
    SPDConnection* connection = spd->open2("mirelva", "voce", nullptr, SPD_MODE_THREADED, nullptr, 0, &error);
    if (connection == nullptr) {
        missing = QStringLiteral("Il servizio della voce di sistema non risponde (%1): lo porta il pacchetto "
                                 "speech-dispatcher.")
                      .arg(QString::fromLocal8Bit(error != nullptr ? error : ""));
        std::free(error);
        return nullptr;
    }
    connection->callback_end = onEnd;
    connection->callback_cancel = onEnd;
    spd->setNotificationOn(connection, SPD_END);
    spd->setNotificationOn(connection, SPD_CANCEL);
    spd->setDataMode(connection, SPD_DATA_SSML);
    return std::unique_ptr<SpeechDispatcherEngine>(new SpeechDispatcherEngine(connection));
}

SpeechDispatcherEngine::~SpeechDispatcherEngine() {
    Speechd()->cancel(m_connection);
    Speechd()->close(m_connection);
}

QString SpeechDispatcherEngine::engineName() const {
    return QStringLiteral("speechd");
}

ISpeechEngine::Capabilities SpeechDispatcherEngine::capabilities() const {
    return Capability::Silence | Capability::Emphasis | Capability::Rate | Capability::Pitch |
           Capability::Volume | Capability::Spell;
}

std::vector<SpeechVoice> SpeechDispatcherEngine::allVoices() {
    const SpeechdFunctions* spd = Speechd();
    std::vector<SpeechVoice> found;
    char** modules = spd->listModules(m_connection);
    for (char** m = modules; m != nullptr && *m != nullptr; ++m) {
        const QString module = QString::fromUtf8(*m);
        if (spd->setOutputModule(m_connection, *m) != 0) {
            continue;
        }
        SPDVoice** list = spd->listVoices(m_connection);
        for (SPDVoice** v = list; v != nullptr && *v != nullptr; ++v) {
            const QString name = QString::fromUtf8((*v)->name);
            const QString language = QString::fromUtf8((*v)->language).toLower();
            found.push_back({module + u'/' + name, name, language, {}});
        }
        if (list != nullptr) {
            spd->freeVoices(list);
        }
    }
    if (modules != nullptr) {
        spd->freeModules(modules);
    }
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
    const SpeechdFunctions* spd = Speechd();
    if (voice.id.isEmpty()) {
        spd->setOutputModule(m_connection, "default");
        return spd->setLanguage(m_connection, Italian.toUtf8().constData()) == 0;
    }
    const QString module = voice.id.section(u'/', 0, 0);
    return spd->setOutputModule(m_connection, module.toUtf8().constData()) == 0 &&
           spd->setSynthesisVoice(m_connection, voice.name.toUtf8().constData()) == 0;
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

std::optional<QString> SpeechDispatcherEngine::speak(const SpeechText& text, const VoiceTuning& tuning,
                                                     const SampleSink& sink, bool wait) {
    Q_UNUSED(sink);
    const SpeechdFunctions* spd = Speechd();
    spd->setVoiceRate(m_connection, serviceScale(tuning.rate));
    spd->setVoicePitch(m_connection, serviceScale(tuning.pitch));
    spd->setVolume(m_connection, std::clamp(tuning.volume * 2 - 100, -100, 100));
    const QString ampersand = m_voice.language.startsWith(Italian) ? QStringLiteral("e") : QString();
    const QByteArray ssml = SpeechSsml(text, tuning.rate, ampersand).toUtf8();
    const int message = spd->say(m_connection, SPD_TEXT, ssml.constData());
    if (message < 0) {
        return QStringLiteral("La voce di sistema non ha accettato il testo");
    }
    if (wait) {
        Endings& e = endings();
        std::unique_lock lock(e.mutex);
        const auto limit = BaseWait + WaitPerCharacter * SpokenWords(text).size();
        if (!e.changed.wait_for(lock, limit, [&] { return e.ended.count(size_t(message)) > 0; })) {
            return QStringLiteral("La voce di sistema non ha finito di parlare");
        }
        e.ended.erase(size_t(message));
    }
    return std::nullopt;
}

void SpeechDispatcherEngine::stop() {
    Speechd()->cancel(m_connection);
}
