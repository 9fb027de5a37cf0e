#pragma once

#include <QString>

#include <thread>

// Work of the program's start that needs no window, begun on threads of its
// own before the application connects to the display, so that it runs while
// the splash is shown instead of holding up the first screen:
// - fontconfig reads its configuration and font caches, which the first text
//   drawn (the splash's) would otherwise wait for;
// - espeak-ng loads its data and lists the voices the runtime window's
//   speech object will choose from (cVoce::PrepareInBackground).
// Whoever needs a piece waits for it: fontconfig guards its own start, and
// the speech engine waits in EspeakEngine::instance(). The object waits for
// both when it goes, so nothing is stopped half started.
class BackgroundStart {
public:
    explicit BackgroundStart(const QString& voiceAttributes);
    ~BackgroundStart();
    BackgroundStart(const BackgroundStart&) = delete;
    BackgroundStart& operator=(const BackgroundStart&) = delete;

private:
    std::jthread m_fonts;
};
