// mirelva_access_bench: how punctually the access methods act. Run by `make bench`.
// - Scan step: the automatic scan at an interval of 1 s on a 21-key table of
//   1920 x 1080; each step's moment against the ideal schedule.
// - Dwell to sound: the pointer rests on key 1 for the dwell time (0.5 s);
//   the end of that time until the SDL device takes the key's first sample.
#include "AudioProbe.h"
#include "BenchFolder.h"
#include "NoServices.h"

#include "access/AccessDriver.h"
#include "access/AccessOptions.h"
#include "grid/IGridContainer.h"
#include "grid/cGriglia.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"
#include "runtime/F_GO.h"
#include "runtime/IRuntimeWindows.h"

#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
constexpr int ScanIntervalMs = 1000;
constexpr int ScanSteps = 12;
constexpr int DwellMs = 500;
constexpr int DwellRuns = 8;

class Canvas : public IGridContainer {
public:
    QImage& canvas() override { return m_canvas; }
    int clientWidth() const override { return m_canvas.width(); }
    int clientHeight() const override { return m_canvas.height(); }
    QPoint cursorPos() const override { return {}; }
    void setBackColor(GdiColor) override {}
    void showCanvas(const QRect&) override { shown.push_back(BenchClock::now()); }

    std::vector<BenchClock::time_point> shown;

private:
    QImage m_canvas{1920, 1080, QImage::Format_RGB32};
};

void Spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double Ms(BenchClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void ScanStep() {
    Canvas window;
    SilentAudio audio;
    cGriglia grid;
    grid.Init(window, 3, 7, 10, 10);
    AccessDriver driver(window, audio, {});
    AccessOptions options;
    options.method = AccessOptions::Method::AutoScan;
    options.scanIntervalMs = ScanIntervalMs;
    options.firstItemPercent = 100;
    options.scanRounds = 10;
    driver.setOptions(options);
    window.shown.clear();
    const BenchClock::time_point start = BenchClock::now();
    driver.setTable(&grid, 21, 7);
    Spin(ScanIntervalMs * ScanSteps + ScanIntervalMs / 2);
    std::vector<double> errors;
    for (const BenchClock::time_point t : window.shown) {
        const double at = Ms(t - start);
        const double step = std::round(at / ScanIntervalMs);
        if (step >= 1) {
            errors.push_back(std::abs(at - step * ScanIntervalMs));
        }
    }
    std::sort(errors.begin(), errors.end());
    if (errors.empty()) {
        std::printf("Scan step: no step seen\n");
        return;
    }
    std::printf("Scan step error at %d ms (%zu steps): median %.2f ms, worst %.2f ms (target: within 5 ms)\n",
                ScanIntervalMs, errors.size(), errors[errors.size() / 2], errors.back());
}

class NoMessages : public IMessages {
public:
    void showMessage(const QString& text, MsgIcon, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool askYesNo(const QString&, const QString&) override { return false; }
};
void MovePointer(QWidget& window, QPoint to) {
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(window.mapToGlobal(to)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
}

void DwellToSound(ProbedOutput& output) {
    BenchFolder folder;
    AccessOptions options;
    options.method = AccessOptions::Method::Dwell;
    options.dwellMs = DwellMs;
    if (!folder.isValid() || !options.Save(folder.path()) || !output.usable()) {
        std::printf("Dwell to sound: no folder or no audio device\n");
        return;
    }
    NoMessages messages;
    NoPicker picker;
    NoWindows windows;
    F_GO window(folder.path(), F_GO::Services{messages, picker, output, windows});
    window.ShowFullScreen();
    window.StartTable();
    Spin(1000);
    const GridRect cell = window.Grid()->CellRect(0, 0);
    const QPoint key1((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    std::vector<double> delays;
    for (int run = 0; run < DwellRuns; ++run) {
        MovePointer(window, QPoint(2, 2));
        Spin(50);
        const ClickTimes times = MeasureClick(output, [&] {
            MovePointer(window, key1);
            // The dwell ends and the key's whole output is heard inside this wait.
            Spin(DwellMs + 100);
        });
        if (times.clickToSoundMs >= 0) {
            delays.push_back(times.clickToSoundMs - DwellMs);
        }
    }
    std::sort(delays.begin(), delays.end());
    if (delays.empty()) {
        std::printf("Dwell to sound: the device never took the sound\n");
        return;
    }
    std::printf(
        "Dwell end to first sound sample (%zu runs): median %.2f ms, worst %.2f ms (target: < 15 ms)\n",
        delays.size(), delays[delays.size() / 2], delays.back());
}
} // namespace

int main(int argc, char** argv) {
    QTemporaryDir scratch;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", scratch.filePath(QStringLiteral("device.raw")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", scratch.path().toLocal8Bit());
    QApplication app(argc, argv);
    ScanStep();
    ProbedOutput output;
    DwellToSound(output);
    return 0;
}
