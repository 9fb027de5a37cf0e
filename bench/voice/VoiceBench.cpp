// The voices' figures (make bench): for each engine present, how long the
// voice takes to set up (once, when the program makes its speech object), how
// long from Speak("Mela") to the first sample handed to the audio output,
// and the memory the program holds once Festival is loaded. The system's
// voice plays on its own: for it, from the text sent to the service until
// the service says it started speaking.
#include "../BenchTiming.h"
#include "audio/AudioLibraries.h"
#include "audio/cVoce.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {
using namespace BenchTiming;
constexpr int Rounds = 20;

// Resident memory of this process, in MB.
double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
        }
    }
    return -1;
}

bool report(const char* engine, const VoiceChoice& choice, double targetMs) {
    FirstSampleOutput output;
    const Clock::time_point setUp = Clock::now();
    cVoce voce(output, choice);
    const double setUpMs = msSince(setUp);
    if (!voce.notice().isEmpty()) {
        std::printf("%-10s not measured: %s\n", engine, qPrintable(voce.notice()));
        return true;
    }
    std::vector<double> firsts;
    for (int i = 0; i < Rounds; ++i) {
        output.start();
        (void)voce.Speak(QStringLiteral("Mela"));
        firsts.push_back(output.firstMs());
    }
    const double first = median(firsts);
    const bool ok = first < targetMs;
    std::printf("%-10s voice set up in %6.1f ms; Speak to first sample: median %5.1f ms, worst %5.1f ms "
                "(target < %.0f ms) %s\n",
                engine, setUpMs, first, *std::max_element(firsts.begin(), firsts.end()), targetMs,
                ok ? "ok" : "MISSED");
    return ok;
}

// The service reports the start of each message on a thread of its client library.
struct Begins {
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
} begins;

void reportSpeechDispatcher() {
    const SpeechdFunctions* spd = Speechd();
    char* error = nullptr;
    SPDConnection* c =
        spd != nullptr ? spd->open2("mirelva-bench", "voce", nullptr, SPD_MODE_THREADED, nullptr, 0, &error)
                       : nullptr;
    if (c == nullptr) {
        std::printf("speechd    not measured: the service does not answer (%s)\n",
                    error != nullptr ? error : "");
        std::free(error);
        return;
    }
    c->callback_begin = [](size_t, size_t, SPDNotificationType) {
        {
            const std::lock_guard lock(begins.mutex);
            ++begins.count;
        }
        begins.changed.notify_all();
    };
    spd->setNotificationOn(c, SPD_BEGIN);
    spd->setLanguage(c, "it");
    std::vector<double> firsts;
    for (int i = 0; i < Rounds; ++i) {
        std::unique_lock lock(begins.mutex);
        const int before = begins.count;
        const Clock::time_point start = Clock::now();
        lock.unlock();
        spd->say(c, SPD_TEXT, "Mela");
        lock.lock();
        if (begins.changed.wait_for(lock, std::chrono::seconds(10), [&] { return begins.count > before; })) {
            firsts.push_back(msSince(start));
        }
        lock.unlock();
        spd->cancel(c);
    }
    spd->close(c);
    if (firsts.empty()) {
        std::printf("speechd    not measured: the service never started speaking\n");
        return;
    }
    std::printf("speechd    text sent to the service starting to speak: median %5.1f ms, worst %5.1f ms\n",
                median(firsts), *std::max_element(firsts.begin(), firsts.end()));
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const double before = residentMb();
    bool ok = report("espeak-ng", VoiceChoice{}, 50);
    const double withEspeak = residentMb();
    ok = report("Festival", *VoiceChoice::parse("festival:lp_diphone"), 150) && ok;
    ok = report("Festival", *VoiceChoice::parse("festival:pc_diphone"), 150) && ok;
    const double withFestival = residentMb();
    reportSpeechDispatcher();
    std::printf(
        "memory: %.1f MB at start, %.1f MB with espeak-ng, %.1f MB with Festival and both its Italian "
        "voices loaded (+%.1f MB)\n",
        before, withEspeak, withFestival, withFestival - withEspeak);
    return ok ? 0 : 1;
}
