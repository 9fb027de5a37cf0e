#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

#include <memory>
#include <optional>
#include <vector>

struct _XDisplay;

// Whole processes under Xvfb: how long a program takes from its start to
// its first screen painted, and how much memory it holds at its peak.
class XvfbScreen {
public:
    static constexpr int Width = 1920;
    static constexpr int Height = 1080;

    XvfbScreen();
    ~XvfbScreen();
    XvfbScreen(const XvfbScreen&) = delete;
    XvfbScreen& operator=(const XvfbScreen&) = delete;

    bool isValid() const { return m_display != nullptr; }
    QString displayName() const { return m_name; }

    // A few whole rows of the screen, enough to tell one picture from another.
    std::vector<quint32> Sample() const;
    // Waits until the screen has not changed for `quietMs`; false after `limitMs`.
    bool WaitUntilStill(int quietMs, int limitMs) const;

private:
    QString m_name;
    QProcess m_server;
    _XDisplay* m_display = nullptr;
};

// A program started under the screen, in its own folder.
class ScreenProgram {
public:
    ScreenProgram(const XvfbScreen& screen, QString program, QString scratchFolder);
    ~ScreenProgram();
    ScreenProgram(const ScreenProgram&) = delete;
    ScreenProgram& operator=(const ScreenProgram&) = delete;

    // Starts the program and returns the milliseconds until the screen shows
    // `painted`; nullopt when it never does within the limit.
    std::optional<double> StartUntil(const std::vector<quint32>& painted, int limitMs);
    // Starts the program and waits until the screen settles; its look then.
    std::optional<std::vector<quint32>> StartAndSettle();
    // Sends a key (an xdotool key name) to the program's window.
    bool PressKey(const QString& key);
    // The program's resident peak so far, in MB (VmHWM); negative if unknown.
    double PeakResidentMb() const;
    void Stop();

private:
    const XvfbScreen& m_screen;
    QString m_program;
    QString m_scratch;
    QProcess m_process;
};

// A program run under Xvfb, with the look of its first screen once painted.
struct StartedProgram {
    std::unique_ptr<ScreenProgram> program;
    std::vector<quint32> painted;
};

// Copies the program into `folder` (the program folder is the executable's)
// and learns what its first screen looks like; `afterFirstRun` runs after the
// first start, which may install. An empty program when any step fails.
StartedProgram PrepareStarted(const XvfbScreen& screen, const QString& source, const QString& folder,
                              const std::function<bool()>& afterFirstRun);
// The program's peak memory in MB once its first screen is shown, and with
// `pressEnter` once Enter has brought the table; -1 when that cannot be seen.
double PeakWithTable(const XvfbScreen& screen, StartedProgram& started, bool pressEnter);
