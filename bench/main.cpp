// mirelva_bench: how fast the program answers, each figure set beside the
// floor it cannot go below, measured in the same run. Run by `make bench`.
#include "AudioProbe.h"
#include "BenchFolder.h"
#include "SettingsProbe.h"
#include "StartupProbe.h"
#include "Summary.h"

#include "audio/EspeakEngine.h"
#include "audio/SapiMarkup.h"
#include "config/CINIFile.h"
#include "config/ConfigFile.h"
#include "config/LayoutData.h"
#include "config/LayoutReader.h"
#include "grid/cGriglia.h"
#include "NoServices.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"
#include "runtime/F_GO.h"
#include "runtime/IRuntimeWindows.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {
// Any message during a benchmark means the layout was refused: the figure
// would measure an error path, so the benchmark stops with an error.
class CountingMessages : public IMessages {
public:
    void showMessage(const QString& text, MsgIcon, const QString&) override {
        ++count;
        last = text;
    }
    bool askYesNo(const QString&, const QString&) override { return false; }
    int count = 0;
    QString last;
};

// A program run under Xvfb, with the look of its first screen once painted.
struct StartedProgram {
    std::unique_ptr<ScreenProgram> program;
    std::vector<quint32> painted;
};

struct Context {
    std::unique_ptr<BenchFolder> folder;
    std::unique_ptr<ProbedOutput> output;
    std::unique_ptr<XvfbScreen> screen;
    StartedProgram mirelva;
    StartedProgram floorWindow;
    double mirelvaPeakMb = -1;
    double floorPeakMb = -1;
};

Context& Bench() {
    static Context context;
    return context;
}

// ---- ReadLayout and its floor ------------------------------------------------------------

void BM_ReadLayout(benchmark::State& state) {
    CountingMessages messages;
    LayoutData data;
    LayoutReader reader(Bench().folder->path(), messages, data);
    for (auto _ : state) {
        if (reader.ReadLayout() || data.KeyCount != BenchFolder::Keys) {
            state.SkipWithError(messages.last.toLocal8Bit().constData());
            break;
        }
    }
}

// Reading the layout's bytes from disk as many times as ReadLayout reads a value.
void BM_ReadLayoutFloor(benchmark::State& state) {
    const QString path = Bench().folder->layoutPath();
    const int reads = BenchFolder::IniReadsOfReadLayout();
    for (auto _ : state) {
        for (int i = 0; i < reads; ++i) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                state.SkipWithError("layout file unreadable");
                return;
            }
            const QByteArray bytes = file.readAll();
            benchmark::DoNotOptimize(bytes.constData());
        }
    }
}

// ---- Pictures ------------------------------------------------------------------------------

// Decoding the 21 picture files with QImageReader alone: the floor of every table paint.
void BM_DecodeFloor(benchmark::State& state) {
    for (auto _ : state) {
        for (const QString& path : Bench().folder->picturePaths()) {
            QImageReader reader(path);
            const QImage image = reader.read();
            if (image.isNull()) {
                state.SkipWithError("picture does not decode");
                return;
            }
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}

// ---- The runtime window ------------------------------------------------------------------

// The runtime window shown full screen on the 1920 x 1080 offscreen screen,
// over the benchmark's folder with its 21-key layout active.
struct Runtime {
    CountingMessages messages;
    NoPicker picker;
    NoWindows windows;
    std::unique_ptr<F_GO> window;
};

Runtime& RuntimeWindow() {
    static Runtime runtime;
    if (!runtime.window) {
        Context& c = Bench();
        runtime.window = std::make_unique<F_GO>(
            c.folder->path(), F_GO::Services{runtime.messages, runtime.picker, *c.output, runtime.windows});
        runtime.window->ShowFullScreen();
        QCoreApplication::processEvents();
    }
    return runtime;
}

bool TableShown(benchmark::State& state, const Runtime& runtime) {
    if (runtime.messages.count != 0 || !runtime.window->TableActive() || runtime.window->width() != 1920 ||
        runtime.window->height() != 1080) {
        state.SkipWithError(runtime.messages.count != 0 ? qPrintable(runtime.messages.last)
                                                        : "no 1920 x 1080 table");
        return false;
    }
    return true;
}

void BM_StartTable(benchmark::State& state) {
    Runtime& runtime = RuntimeWindow();
    for (auto _ : state) {
        runtime.window->StartTable();
        if (!TableShown(state, runtime)) {
            return;
        }
    }
}

void BM_Repaint(benchmark::State& state) {
    Runtime& runtime = RuntimeWindow();
    runtime.window->StartTable();
    if (!TableShown(state, runtime)) {
        return;
    }
    for (auto _ : state) {
        runtime.window->Form_Paint();
    }
}

// A click on key 1 ("Mela"), as the window gets it from the mouse.
void ClickKeyOne() {
    F_GO& window = *RuntimeWindow().window;
    const GridRect cell = window.Grid()->CellRect(0, 0);
    const QPoint local((int(cell.Left) + int(cell.Right)) / 2, (int(cell.Top) + int(cell.Bottom)) / 2);
    const QPoint global = window.mapToGlobal(local);
    QCursor::setPos(global);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(local), QPointF(global), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local), QPointF(global), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &release);
}

// The benchmark layout again, as links.ini, with key 1 a link to links.ini
// itself; key 1 gives no output (its sound an empty file, heard as nothing,
// its text empty), so that what is measured is the switch alone.
QString LinkLayout() {
    const QString folder = Bench().folder->path();
    const QString links = folder + QStringLiteral("/layout/links.ini");
    if (QFile::exists(links)) {
        return links;
    }
    QFile in(Bench().folder->layoutPath());
    QFile silent(folder + QStringLiteral("/suoni/vuoto.wav"));
    if (!in.open(QIODevice::ReadOnly) || !silent.open(QIODevice::WriteOnly)) {
        return {};
    }
    QString text = QString::fromLatin1(in.readAll());
    text.replace(QRegularExpression(QStringLiteral("(?m)^Sonoro1=[^\r\n]*")),
                 QStringLiteral("Sonoro1=") + silent.fileName());
    text.replace(QRegularExpression(QStringLiteral("(?m)^Testo1=[^\r\n]*")), QStringLiteral("Testo1="));
    text += QStringLiteral("\r\n[Collegamenti]\r\nCollegamento1=") + links + QStringLiteral("\r\n");
    QFile out(links);
    if (!out.open(QIODevice::WriteOnly) || out.write(text.toLatin1()) < 0) {
        return {};
    }
    return links;
}

// Choosing a link key (a click on key 1 of links.ini) until its target, the
// same 21 keys, is drawn: set beside Enter to table.
void BM_LinkToTable(benchmark::State& state) {
    Runtime& runtime = RuntimeWindow();
    const QString links = LinkLayout();
    const QString folder = Bench().folder->path();
    const QString active = ConfigFile::ActiveLayout(folder);
    runtime.window->StartTable();
    runtime.window->SwitchToLayout(links);
    if (!links.isEmpty() && TableShown(state, runtime)) {
        for (auto _ : state) {
            ClickKeyOne();
            if (!TableShown(state, runtime) || runtime.window->Switcher().History().isEmpty()) {
                break;
            }
        }
    } else if (links.isEmpty()) {
        state.SkipWithError("links.ini cannot be written");
    }
    // The other benchmarks start from the layout they know.
    ConfigFile::SetActiveLayout(folder, active);
    ConfigFile::RefreshActivePath(folder);
}

// ---- Sound and speech ----------------------------------------------------------------------

void BM_ClickOutput(benchmark::State& state) {
    Context& c = Bench();
    Runtime& runtime = RuntimeWindow();
    runtime.window->StartTable();
    if (!c.output->usable() || !TableShown(state, runtime)) {
        state.SkipWithError("no audio device or no table");
        return;
    }
    double speechMs = 0;
    for (auto _ : state) {
        const ClickTimes times = MeasureClick(*c.output, ClickKeyOne);
        if (times.clickToSoundMs < 0 || times.soundToSpeechMs < 0 || runtime.messages.count != 0) {
            state.SkipWithError("the device never took the sound or the speech");
            return;
        }
        state.SetIterationTime(times.clickToSoundMs / 1000.0);
        speechMs += times.soundToSpeechMs;
    }
    state.counters["speech_ms"] = benchmark::Counter(speechMs, benchmark::Counter::kAvgIterations);
}

void BM_DeviceTakeFloor(benchmark::State& state) {
    Context& c = Bench();
    if (!c.output->usable()) {
        state.SkipWithError("no audio device");
        return;
    }
    for (auto _ : state) {
        state.SetIterationTime(MeasureDeviceTakeMs(*c.output) / 1000.0);
    }
}

// Tones in the formats whose first piece once left the device dry behind
// it (48 and 96 kHz, float stereo), each played with flags 0 in turn: the
// slowest first sample of the three is the iteration's time, and the
// longest run of silence inside any of them is counted.
void BM_SoundGaps(benchmark::State& state) {
    Context& c = Bench();
    if (!c.output->usable()) {
        state.SkipWithError("no audio device");
        return;
    }
    std::vector<QString> paths;
    for (const auto& [rate, asFloat] : {std::pair{48000, false}, {96000, false}, {48000, true}}) {
        paths.push_back(c.folder->path() + QStringLiteral("/tono%1%2.wav").arg(rate).arg(asFloat ? "f" : ""));
        QFile file(paths.back());
        if (!file.open(QIODevice::WriteOnly) || file.write(StereoToneWav(rate, asFloat)) < 0) {
            state.SkipWithError("cannot write the tones");
            return;
        }
    }
    const QString diskFile = qEnvironmentVariable("SDL_DISKAUDIOFILE");
    double longestGapMs = 0;
    for (auto _ : state) {
        double slowestMs = 0;
        for (const QString& path : paths) {
            const PlayedSound played = MeasureSound(*c.output, path, diskFile);
            if (played.firstSampleMs < 0 || played.longestGapMs < 0) {
                state.SkipWithError("the device never took the sound");
                return;
            }
            slowestMs = std::max(slowestMs, played.firstSampleMs);
            longestGapMs = std::max(longestGapMs, played.longestGapMs);
        }
        state.SetIterationTime(slowestMs / 1000.0);
    }
    state.counters["gap_ms"] = longestGapMs;
}

// ---- Whole processes under Xvfb -----------------------------------------------------------

constexpr int StartLimitMs = 20000;

void RunStartup(benchmark::State& state, StartedProgram& started) {
    if (!started.program) {
        state.SkipWithError("the program could not be started under Xvfb");
        return;
    }
    for (auto _ : state) {
        const std::optional<double> ms = started.program->StartUntil(started.painted, StartLimitMs);
        started.program->Stop();
        if (!ms) {
            state.SkipWithError("the first screen never appeared");
            return;
        }
        state.SetIterationTime(*ms / 1000.0);
    }
}

void BM_Startup(benchmark::State& state) {
    RunStartup(state, Bench().mirelva);
}

void BM_StartupFloor(benchmark::State& state) {
    RunStartup(state, Bench().floorWindow);
}

// Copies the program into a folder of its own (the program folder is the
// executable's) and learns what its first screen looks like.
StartedProgram Prepare(const QString& source, const QString& folder,
                       const std::function<bool()>& afterFirstRun) {
    StartedProgram started;
    const QString copy = folder + QStringLiteral("/") + QFileInfo(source).fileName();
    QFile::remove(copy);
    if (!QFile::copy(source, copy)) {
        return started;
    }
    started.program = std::make_unique<ScreenProgram>(*Bench().screen, copy, folder);
    // The first run may install; the screens that count come from the runs after it.
    if (!started.program->StartAndSettle() || !afterFirstRun()) {
        started.program.reset();
        return started;
    }
    const std::optional<std::vector<quint32>> painted = started.program->StartAndSettle();
    started.program->Stop();
    if (!painted) {
        started.program.reset();
        return started;
    }
    started.painted = *painted;
    return started;
}

double PeakWithTable(StartedProgram& started, bool pressEnter) {
    const std::optional<std::vector<quint32>> intro =
        started.program ? started.program->StartAndSettle() : std::nullopt;
    if (!intro) {
        return -1;
    }
    // The table must be on the screen, or the figure would be the intro's.
    if (pressEnter && (!started.program->PressKey(QStringLiteral("Return")) ||
                       !Bench().screen->WaitUntilStill(1000, 15000) || Bench().screen->Sample() == *intro)) {
        started.program->Stop();
        return -1;
    }
    const double mb = started.program->PeakResidentMb();
    started.program->Stop();
    return mb;
}

void PrepareProcesses(const QString& scratch) {
    Context& c = Bench();
    c.screen = std::make_unique<XvfbScreen>();
    if (!c.screen->isValid()) {
        std::fprintf(stderr, "mirelva_bench: Xvfb did not start; no start-up or memory figures\n");
        return;
    }
    const QString floorFolder = scratch + QStringLiteral("/floor");
    QDir().mkpath(floorFolder);
    c.floorWindow = Prepare(QStringLiteral(MIRELVA_FLOOR_PROGRAM), floorFolder, [] { return true; });
    const QString programFolder = c.folder->programFolder();
    c.mirelva = Prepare(QStringLiteral(MIRELVA_PROGRAM), programFolder,
                        [&] { return c.folder->WriteConfig(programFolder); });
}

// ---- Profiling ----------------------------------------------------------------------------

// `mirelva_bench --profile <work> <count>` repeats one piece of work without
// the benchmark library around it, for callgrind:
//   valgrind --tool=callgrind --toggle-collect='*ProfiledWork*' mirelva_bench --profile readlayout 20
// With `--profile keep 0` the generated folder is kept and its path printed.
[[gnu::noinline]] void ProfiledWork(const QString& work) {
    Context& c = Bench();
    if (work == QStringLiteral("readlayout")) {
        CountingMessages messages;
        LayoutData data;
        LayoutReader(c.folder->path(), messages, data).ReadLayout();
    } else if (work == QStringLiteral("decode")) {
        for (const QString& path : c.folder->picturePaths()) {
            QImageReader reader(path);
            benchmark::DoNotOptimize(reader.read().constBits());
        }
    } else if (work == QStringLiteral("starttable")) {
        RuntimeWindow().window->StartTable();
    } else if (work == QStringLiteral("repaint")) {
        RuntimeWindow().window->Form_Paint();
    } else if (work == QStringLiteral("click")) {
        ClickKeyOne();
    }
}

// How long espeak-ng takes to hand over its first samples of "Mela", and
// how many leading samples are silent.
int ProfileSynthesis(int count) {
    EspeakEngine* engine = EspeakEngine::instance();
    const std::optional<EspeakEngine::Voice> voice =
        engine ? engine->chooseVoice(QString(), QStringLiteral("it")) : std::nullopt;
    if (!voice) {
        return 1;
    }
    const EspeakEngine::Settings settings{*voice, 113, 100, 50};
    const QByteArray ssml = SpeechSsml(ParseSapiMarkup(QStringLiteral("Mela"), -4), -4, {}).toUtf8();
    for (int i = 0; i < count; ++i) {
        const BenchClock::time_point start = BenchClock::now();
        double firstMs = -1;
        qint64 samples = 0;
        qint64 leadingSilence = -1;
        const Outcome spoken = engine->synthesize(ssml, settings, [&](std::span<const qint16> chunk) {
            if (firstMs < 0) {
                firstMs = std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
            }
            for (size_t s = 0; s < chunk.size() && leadingSilence < 0; ++s) {
                if (chunk[s] != 0) {
                    leadingSilence = samples + qint64(s);
                }
            }
            samples += qint64(chunk.size());
        });
        if (!spoken) {
            std::fprintf(stderr, "%s\n", qPrintable(spoken.detail()));
            return 1;
        }
        const double totalMs = std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
        std::printf("first samples after %.2f ms, all %lld samples (%.0f ms of speech) after %.2f ms, "
                    "%lld silent samples first\n",
                    firstMs, static_cast<long long>(samples), samples * 1000.0 / engine->sampleRate(),
                    totalMs, static_cast<long long>(leadingSilence));
    }
    return 0;
}

int Profile(const QString& work, int count) {
    if (work == QStringLiteral("repaint") || work == QStringLiteral("click")) {
        RuntimeWindow().window->StartTable();
    }
    if (work == QStringLiteral("synthesis")) {
        return ProfileSynthesis(count);
    }
    if (work == QStringLiteral("keep")) {
        Bench().folder->keep();
        std::printf("%s\n", qPrintable(Bench().folder->path()));
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        ProfiledWork(work);
    }
    return 0;
}

// Work done on the CPU: enough runs for a stable median, timed on the wall
// clock, as the user waits.
void RegisterCpuBenchmark(const char* name, void (*work)(benchmark::State&)) {
    benchmark::RegisterBenchmark(name, work)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(0.15)
        ->Repetitions(9);
}

// Work that waits on a device or a process: timed by hand, a few runs each.
void RegisterTimedBenchmark(const char* name, void (*work)(benchmark::State&), int iterations,
                            int repetitions) {
    benchmark::RegisterBenchmark(name, work)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(iterations)
        ->Repetitions(repetitions);
}

void RegisterBenchmarks() {
    RegisterCpuBenchmark("ReadLayout", BM_ReadLayout);
    RegisterCpuBenchmark("ReadLayoutFloor", BM_ReadLayoutFloor);
    RegisterCpuBenchmark("DecodeFloor", BM_DecodeFloor);
    RegisterCpuBenchmark("StartTable", BM_StartTable);
    RegisterCpuBenchmark("Repaint", BM_Repaint);
    RegisterCpuBenchmark("LinkToTable", BM_LinkToTable);
    RegisterTimedBenchmark("ClickOutput", BM_ClickOutput, 5, 4);
    RegisterTimedBenchmark("DeviceTakeFloor", BM_DeviceTakeFloor, 10, 3);
    RegisterTimedBenchmark("SoundGaps", BM_SoundGaps, 3, 3);
    RegisterTimedBenchmark("Startup", BM_Startup, 1, 11);
    RegisterTimedBenchmark("StartupFloor", BM_StartupFloor, 1, 11);
    RegisterTimedBenchmark("OpenSettings", BM_OpenSettings, 5, 5);
    RegisterTimedBenchmark("OpenSettingsFloor", BM_OpenSettingsFloor, 5, 5);
}

std::vector<Figure> Figures(const SummaryReporter& r) {
    const Context& c = Bench();
    return {
        {"Enter to table (StartTable)", r.medianMs("StartTable"), r.medianMs("DecodeFloor"), "ms", 1.3, 100},
        {"Repaint of the table", r.medianMs("Repaint"), r.medianMs("DecodeFloor"), "ms", 1.3, 100},
        {"Link key to table (against Enter)", r.medianMs("LinkToTable"), r.medianMs("StartTable"), "ms", 1.3,
         100},
        {"ReadLayout (21 keys)", r.medianMs("ReadLayout"), r.medianMs("ReadLayoutFloor"), "ms", 3.0, 0},
        {"Click to sound", r.medianMs("ClickOutput"), r.medianMs("DeviceTakeFloor"), "ms", 0, 10},
        {"Click to speech (after sound)", r.medianCounter("ClickOutput", "speech_ms"),
         r.medianMs("DeviceTakeFloor"), "ms", 0, 50},
        {"Play to sound, 48/96k, float", r.medianMs("SoundGaps"), r.medianMs("DeviceTakeFloor"), "ms", 0, 10},
        {"Longest gap inside a sound", r.medianCounter("SoundGaps", "gap_ms"), -1, "ms", 0, 1},
        {"Settings window opened (21 photos)", r.medianMs("OpenSettings"), r.medianMs("OpenSettingsFloor"),
         "ms", 0, 100},
        {"Start-up to intro screen", r.medianMs("Startup"), r.medianMs("StartupFloor"), "ms", 1.5, 0},
        {"Peak memory, table shown", c.mirelvaPeakMb, c.floorPeakMb, "MB", 0, 80},
    };
}

void PrepareEnvironment(const QTemporaryDir& scratch) {
    // A 1920 x 1080 screen for the offscreen platform.
    const QString screen = scratch.filePath(QStringLiteral("screen.json"));
    QFile json(screen);
    if (json.open(QIODevice::WriteOnly)) {
        json.write(R"({"screens":[{"name":"bench","x":0,"y":0,"width":1920,"height":1080,)"
                   R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    }
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + screen.toLocal8Bit());
    // The samples go to a file, in real time, as a sound card would take them.
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", scratch.filePath(QStringLiteral("device.raw")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", scratch.path().toLocal8Bit());
}
} // namespace

int main(int argc, char** argv) {
    QTemporaryDir scratch;
    PrepareEnvironment(scratch);
    QApplication app(argc, argv);

    Context& c = Bench();
    c.folder = std::make_unique<BenchFolder>();
    if (!c.folder->isValid()) {
        std::fprintf(stderr, "mirelva_bench: cannot make the benchmark's program folder\n");
        return 2;
    }
    c.output = std::make_unique<ProbedOutput>();
    if (argc == 4 && qstrcmp(argv[1], "--profile") == 0) {
        const int result = Profile(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
        RuntimeWindow().window.reset();
        return result;
    }
    PrepareProcesses(scratch.path());

    // Repetitions of different benchmarks take turns, so that the load of a
    // busy machine falls on figures and floors alike.
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.push_back(interleave);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    RegisterBenchmarks();
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    c.mirelvaPeakMb = PeakWithTable(c.mirelva, true);
    c.floorPeakMb = PeakWithTable(c.floorWindow, false);
    const int missed = PrintFigures(Figures(reporter));
    std::printf("\n%d figure(s) miss their target.\n", missed);

    RuntimeWindow().window.reset();
    c.output.reset();
    c.mirelva = {};
    c.floorWindow = {};
    c.screen.reset();
    benchmark::Shutdown();
    return 0;
}
