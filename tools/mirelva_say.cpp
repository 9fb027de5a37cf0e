// mirelva-say [--voce SCELTA] FILE.wav "testo" [--times]
// mirelva-say --voci
// Plays the WAV file ("-" for none) and then speaks the text, exactly as a
// click on a key does, through the real audio device: in Italian with the
// program's voice, or with the voice --voce names in the one-line form of the
// voice options ("festival:lp_diphone", "espeak:it+f3;velocita=-2",
// "speechd:espeak-ng/Italian"). --voci lists every voice of every engine in
// that form. With --times it prints how long it took from PlayFile, and from
// Speak, to the first sample handed to the device (try SDL_AUDIODRIVER=disk
// SDL_DISKAUDIOFILE=out.raw without sound).
#include "audio/SdlAudioOutput.h"
#include "audio/SpeechEngines.h"
#include "audio/cSound.h"
#include "audio/cVoce.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

namespace {
// Passes everything on to the device and notes when samples first arrive.
class TimedOutput : public IAudioOutput {
public:
    explicit TimedOutput(IAudioOutput& device) : m_device(device) {}

    void start() {
        m_clock.start();
        m_firstSampleMs = -1;
    }
    double firstSampleMs() const { return m_firstSampleMs; }

    AudioFormat format() const override { return m_device.format(); }
    void enqueue(std::span<const qint16> samples) override {
        if (m_firstSampleMs < 0 && !samples.empty() && m_clock.isValid()) {
            m_firstSampleMs = double(m_clock.nsecsElapsed()) / 1e6;
        }
        m_device.enqueue(samples);
    }
    void drain() override { m_device.drain(); }
    void purge() override { m_device.purge(); }
    bool isPlaying() const override { return m_device.isPlaying(); }

private:
    IAudioOutput& m_device;
    QElapsedTimer m_clock;
    double m_firstSampleMs = -1;
};

// Every voice of every engine, one a line: its choice, name, language, gender.
void listVoices() {
    SystemSpeechEngines engines(cVoce::DefaultAttributes);
    for (const auto engine : {VoiceChoice::Engine::Espeak, VoiceChoice::Engine::Festival,
                              VoiceChoice::Engine::SpeechDispatcher}) {
        QString missing;
        const std::unique_ptr<ISpeechEngine> e = engines.open(engine, missing);
        if (!e) {
            std::printf("# %s: %s\n", qPrintable(VoiceChoice::engineName(engine)), qPrintable(missing));
            continue;
        }
        for (const SpeechVoice& v : e->voices()) {
            std::printf("%s:%s\t%s\t%s\t%s\n", qPrintable(VoiceChoice::engineName(engine)), qPrintable(v.id),
                        qPrintable(v.name), qPrintable(v.language), qPrintable(v.gender));
        }
    }
}

void report(const char* what, const TimedOutput& output, const QElapsedTimer& whole) {
    std::printf("%s: first sample to the device after %.1f ms, returned after %.1f ms\n", what,
                output.firstSampleMs(), double(whole.nsecsElapsed()) / 1e6);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool times = args.removeAll(QStringLiteral("--times")) > 0;
    if (args == QStringList{QStringLiteral("--voci")}) {
        listVoices();
        return 0;
    }
    std::optional<VoiceChoice> choice = VoiceChoice{};
    if (const qsizetype at = args.indexOf(QStringLiteral("--voce")); at >= 0 && at + 1 < args.size()) {
        choice = VoiceChoice::parse(args.at(at + 1));
        args.remove(at, 2);
    }
    if (args.size() != 2 || !choice) {
        std::fprintf(stderr, "uso: mirelva-say [--voce SCELTA] FILE.wav \"testo\" [--times]\n"
                             "     mirelva-say --voci\n");
        return 2;
    }
    SdlAudioOutput device;
    if (!device.hasDevice()) {
        std::fprintf(stderr, "nessun dispositivo audio: non si sentirà nulla\n");
    }
    TimedOutput output(device);
    cSound sound(output);
    cVoce voce(output, *choice);
    if (!voce.notice().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(voce.notice()));
    }

    QElapsedTimer whole;
    sound.setFileName(args.at(0) == u"-" ? QString() : args.at(0));
    output.start();
    whole.start();
    sound.PlayFile(0);
    if (times) {
        report("PlayFile", output, whole);
    }

    output.start();
    whole.start();
    const Outcome spoken = voce.Speak(args.at(1));
    if (times) {
        report("Speak", output, whole);
    }
    if (!spoken) {
        // The runtime's error numbers: 91 without a synthesizer, 1 for one that failed.
        std::fprintf(stderr, "errore %d: %s\n", voce.hasSynthesizer() ? 1 : 91, qPrintable(spoken.message()));
        return 1;
    }
    return 0;
}
