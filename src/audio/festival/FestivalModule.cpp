#include "FestivalModule.h"

#include <festival/festival.h>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {
// Lisp cells: the default heap runs out, and then Festival crashes, on long texts.
constexpr int HeapSize = 1000000;
bool started = false;
// The voice last loaded: loading it again costs some milliseconds at every key.
// Describing voices may load others, so listing them forgets it.
std::string currentVoice;

// Festival's pitch module gives f0 targets; scaling them moves the whole
// intonation up or down. Int_Targets is wrapped so every voice gets it.
const char* const PitchSetUp[] = {
    "(set! mirelva.pitch 1.0)",
    "(define (mirelva.scale utt) (if (not (equal? mirelva.pitch 1.0)) (mapcar (lambda (tgt) "
    "(item.set_feat tgt \"f0\" (* mirelva.pitch (item.feat tgt \"f0\")))) (utt.relation.items utt "
    "'Target))) utt)",
    "(set! mirelva.Int_Targets Int_Targets)",
    "(define (Int_Targets utt) (mirelva.scale (mirelva.Int_Targets utt)))",
};

// Festival's Lisp collects its garbage by scanning the C stack from where it
// was started: called later from a shallower frame it misses live cells and
// corrupts its heap. So every call runs on one thread of its own, always from
// the same frame as the start.
class Worker {
public:
    Worker() : m_thread([this] { loop(); }) {}
    ~Worker() {
        run(nullptr);
        m_thread.join();
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Runs the job on the worker and returns when it is done; nullptr ends the worker.
    void run(std::function<void()> job) {
        std::unique_lock lock(m_mutex);
        m_job = std::move(job);
        m_pending = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_pending; });
    }

private:
    void loop() {
        for (;;) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_pending; });
            const bool stop = !m_job;
            if (m_job) {
                m_job();
            }
            m_pending = false;
            m_changed.notify_all();
            if (stop) {
                return;
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_job;
    bool m_pending = false;
    std::thread m_thread;
};

Worker& worker() {
    static Worker w;
    return w;
}

int copyOut(const std::string& text, char* buffer, int size) {
    if (buffer != nullptr && size > 0) {
        std::snprintf(buffer, size_t(size), "%s", text.c_str());
    }
    return int(text.size());
}

bool plainName(const char* name) {
    for (const char* p = name; *p != 0; ++p) {
        if (!((*p >= 'a' && *p <= 'z') || (*p >= '0' && *p <= '9') || *p == '_')) {
            return false;
        }
    }
    return *name != 0;
}

// A feature of a voice description such as ((language italian) (gender female)).
std::string feature(LISP description, const char* name) {
    for (LISP f = description; f != NIL && CONSP(f); f = cdr(f)) {
        LISP pair = car(f);
        if (CONSP(pair) && SYMBOLP(car(pair)) && std::strcmp(get_c_string(car(pair)), name) == 0 &&
            CONSP(cdr(pair)) && (SYMBOLP(car(cdr(pair))) || TYPEP(car(cdr(pair)), tc_string))) {
            return get_c_string(car(cdr(pair)));
        }
    }
    return {};
}

int start(char* error, int errorSize) {
    if (started) {
        return 0;
    }
    // Without its start-up files Festival ends the process instead of failing.
    struct stat info {};
    const std::string init = std::string(festival_datadir) + "/init.scm";
    if (stat(init.c_str(), &info) != 0) {
        copyOut("manca " + init, error, errorSize);
        return -1;
    }
    festival_initialize(1, HeapSize);
    for (const char* command : PitchSetUp) {
        if (!festival_eval_command(command)) {
            copyOut(command, error, errorSize);
            return -1;
        }
    }
    started = true;
    return 0;
}

int voices(char* buffer, int size) {
    currentVoice.clear();
    std::string list;
    if (started && festival_eval_command("(set! mirelva.voices (voice.list))")) {
        for (LISP v = siod_get_lval("mirelva.voices", nullptr); v != NIL && CONSP(v); v = cdr(v)) {
            if (!SYMBOLP(car(v))) {
                continue;
            }
            const std::string name = get_c_string(car(v));
            std::string language;
            std::string gender;
            if (plainName(name.c_str()) &&
                festival_eval_command(
                    ("(set! mirelva.about (cadr (voice.description '" + name + ")))").c_str())) {
                const LISP about = siod_get_lval("mirelva.about", nullptr);
                language = feature(about, "language");
                gender = feature(about, "gender");
            }
            list += name + '\t' + language + '\t' + gender + '\n';
        }
    }
    return copyOut(list, buffer, size);
}

int select(const char* voice) {
    // Only a plain name: it becomes part of a Lisp expression.
    if (!started || voice == nullptr || !plainName(voice)) {
        return -1;
    }
    if (currentVoice == voice) {
        return 0;
    }
    currentVoice.clear();
    if (!festival_eval_command((std::string("(voice_") + voice + ")").c_str())) {
        return -1;
    }
    currentVoice = voice;
    return 0;
}

int speak(const char* text, double stretch, double pitch, std::vector<short>& samples) {
    if (!started || text == nullptr) {
        return -1;
    }
    char settings[160];
    std::snprintf(settings, sizeof settings,
                  "(begin (Parameter.set 'Duration_Stretch %.3f) (set! mirelva.pitch %.3f))", stretch, pitch);
    EST_Wave wave;
    if (!festival_eval_command(settings) || !festival_text_to_wave(text, wave)) {
        return -1;
    }
    if (wave.num_samples() == 0) {
        return 0;
    }
    if (wave.sample_rate() != MirelvaFestivalRate) {
        wave.resample(MirelvaFestivalRate);
    }
    if (wave.num_channels() != 1) {
        return -1;
    }
    samples.resize(size_t(wave.num_samples()));
    for (int i = 0; i < wave.num_samples(); ++i) {
        samples[size_t(i)] = wave.a_no_check(i);
    }
    return 0;
}
} // namespace

extern "C" {
int mirelva_festival_api() {
    return MirelvaFestivalApi;
}

int mirelva_festival_start(char* error, int errorSize) {
    int result = -1;
    worker().run([&] { result = start(error, errorSize); });
    return result;
}

int mirelva_festival_voices(char* buffer, int size) {
    int result = 0;
    worker().run([&] { result = voices(buffer, size); });
    return result;
}

int mirelva_festival_select(const char* voice) {
    int result = -1;
    worker().run([&] { result = select(voice); });
    return result;
}

int mirelva_festival_speak(const char* text, double stretch, double pitch, MirelvaFestivalSink sink,
                           void* context) {
    int result = -1;
    std::vector<short> samples;
    worker().run([&] { result = speak(text, stretch, pitch, samples); });
    if (result == 0 && !samples.empty()) {
        sink(samples.data(), int(samples.size()), context);
    }
    return result;
}
}
