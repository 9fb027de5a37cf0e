#include "StartupProbe.h"

#include "AudioProbe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <utility>

namespace {
constexpr int SampledRows = 12;
constexpr int ServerStartMs = 10000;

double MsSince(BenchClock::time_point start) {
    return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}
} // namespace

XvfbScreen::XvfbScreen() {
    // Xvfb chooses a free display itself, locks it and writes its number to
    // its standard output: a number chosen here could be taken meanwhile by
    // another server, which would then be measured instead of ours.
    m_server.setProgram(QStringLiteral("Xvfb"));
    m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                           QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(Width).arg(Height),
                           QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-br")});
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.start();
    if (!m_server.waitForStarted()) {
        return;
    }
    const BenchClock::time_point start = BenchClock::now();
    QByteArray reported;
    while (!reported.contains('\n') && MsSince(start) < ServerStartMs &&
           m_server.state() == QProcess::Running) {
        m_server.waitForReadyRead(100);
        reported += m_server.readAllStandardOutput();
    }
    bool ok = false;
    const int number = reported.trimmed().toInt(&ok);
    if (!ok) {
        return;
    }
    m_name = QStringLiteral(":%1").arg(number);
    m_display = XOpenDisplay(m_name.toLocal8Bit().constData());
}

XvfbScreen::~XvfbScreen() {
    if (m_display != nullptr) {
        XCloseDisplay(m_display);
    }
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
}

std::vector<quint32> XvfbScreen::Sample() const {
    std::vector<quint32> pixels;
    pixels.reserve(size_t(SampledRows) * Width);
    const Window root = DefaultRootWindow(m_display);
    for (int i = 0; i < SampledRows; ++i) {
        const int y = (2 * i + 1) * Height / (2 * SampledRows);
        XImage* row = XGetImage(m_display, root, 0, y, Width, 1, AllPlanes, ZPixmap);
        if (row == nullptr) {
            return {};
        }
        for (int x = 0; x < Width; ++x) {
            pixels.push_back(quint32(XGetPixel(row, x, 0)));
        }
        XDestroyImage(row);
    }
    return pixels;
}

bool XvfbScreen::WaitUntilStill(int quietMs, int limitMs) const {
    const BenchClock::time_point start = BenchClock::now();
    std::vector<quint32> last = Sample();
    BenchClock::time_point changed = BenchClock::now();
    while (MsSince(start) < limitMs) {
        QThread::msleep(20);
        std::vector<quint32> now = Sample();
        if (now != last) {
            last = std::move(now);
            changed = BenchClock::now();
        } else if (MsSince(changed) >= quietMs) {
            return true;
        }
    }
    return false;
}

ScreenProgram::ScreenProgram(const XvfbScreen& screen, QString program, QString scratchFolder)
    : m_screen(screen), m_program(std::move(program)), m_scratch(std::move(scratchFolder)) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("DISPLAY"), screen.displayName());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_scratch);
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
    env.insert(QStringLiteral("SDL_DISKAUDIOFILE"), m_scratch + QStringLiteral("/program-device.raw"));
    m_process.setProcessEnvironment(env);
    m_process.setProgram(m_program);
    m_process.setWorkingDirectory(m_scratch);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
}

ScreenProgram::~ScreenProgram() {
    Stop();
}

std::optional<double> ScreenProgram::StartUntil(const std::vector<quint32>& painted, int limitMs) {
    Stop();
    // The screen is blank again before each start: nothing is left of the last run.
    m_screen.WaitUntilStill(100, 3000);
    const BenchClock::time_point start = BenchClock::now();
    m_process.start();
    while (MsSince(start) < limitMs && m_process.state() != QProcess::NotRunning) {
        if (m_screen.Sample() == painted) {
            return MsSince(start);
        }
        QThread::usleep(500);
    }
    return std::nullopt;
}

std::optional<std::vector<quint32>> ScreenProgram::StartAndSettle() {
    Stop();
    m_screen.WaitUntilStill(100, 3000);
    const std::vector<quint32> blank = m_screen.Sample();
    m_process.start();
    if (!m_process.waitForStarted() || !m_screen.WaitUntilStill(700, 15000) ||
        m_process.state() != QProcess::Running) {
        return std::nullopt;
    }
    std::vector<quint32> painted = m_screen.Sample();
    // A program that shows nothing has no first screen to wait for.
    if (painted == blank) {
        return std::nullopt;
    }
    return painted;
}

bool ScreenProgram::PressKey(const QString& key) {
    const QString pid = QString::number(m_process.processId());
    QProcessEnvironment env = m_process.processEnvironment();
    QProcess tool;
    tool.setProcessEnvironment(env);
    // No window manager: the window gets the focus from us before the key.
    tool.start(QStringLiteral("sh"),
               {QStringLiteral("-c"),
                QStringLiteral("w=$(xdotool search --sync --onlyvisible --pid %1 | head -1) && "
                               "xdotool windowfocus --sync \"$w\" && xdotool key %2")
                    .arg(pid, key)});
    if (!tool.waitForFinished(10000)) {
        tool.kill();
        tool.waitForFinished(3000);
        return false;
    }
    return tool.exitCode() == 0;
}

double ScreenProgram::PeakResidentMb() const {
    QFile status(QStringLiteral("/proc/%1/status").arg(m_process.processId()));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

void ScreenProgram::Stop() {
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

StartedProgram PrepareStarted(const XvfbScreen& screen, const QString& source, const QString& folder,
                              const std::function<bool()>& afterFirstRun) {
    StartedProgram started;
    const QString copy = folder + QStringLiteral("/") + QFileInfo(source).fileName();
    QFile::remove(copy);
    if (!QFile::copy(source, copy)) {
        return started;
    }
    started.program = std::make_unique<ScreenProgram>(screen, copy, folder);
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

double PeakWithTable(const XvfbScreen& screen, StartedProgram& started, bool pressEnter) {
    const std::optional<std::vector<quint32>> intro =
        started.program ? started.program->StartAndSettle() : std::nullopt;
    if (!intro) {
        return -1;
    }
    // The table must be on the screen, or the figure would be the intro's.
    if (pressEnter && (!started.program->PressKey(QStringLiteral("Return")) ||
                       !screen.WaitUntilStill(1000, 15000) || screen.Sample() == *intro)) {
        started.program->Stop();
        return -1;
    }
    const double mb = started.program->PeakResidentMb();
    started.program->Stop();
    return mb;
}
