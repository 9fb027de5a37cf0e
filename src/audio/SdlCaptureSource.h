#pragma once

#include "audio/ICaptureSource.h"

#include <SDL.h>

// The default microphone through SDL2's capture, the library that also plays
// the program's sounds. SDL keeps the captured samples in its own queue on
// its own thread; read() only takes what is there, so nothing waits.
// A machine without a capture device (SDL falls back to ALSA and opens
// nothing) simply has no microphone.
class SdlCaptureSource : public ICaptureSource {
public:
    SdlCaptureSource() = default;
    ~SdlCaptureSource() override;
    SdlCaptureSource(const SdlCaptureSource&) = delete;
    SdlCaptureSource& operator=(const SdlCaptureSource&) = delete;

    int start() override;
    void read(std::vector<qint16>& to) override;
    void stop() override;

private:
    SDL_AudioDeviceID m_device = 0;
    bool m_sdlStarted = false;
};
