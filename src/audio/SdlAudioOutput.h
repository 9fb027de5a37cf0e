#pragma once

#include "audio/IAudioOutput.h"

#include <SDL.h>

#include <future>

// The real output: SDL2's default audio device, opened once when the object
// is made and kept open for its whole life, so that playing a sound never
// pays for opening the device. SDL is initialised with its audio subsystem
// only. Without a usable device (a machine with no sound card, where SDL
// falls back to ALSA and cannot open anything) the object is simply silent:
// every call returns at once and nothing is reported.
//
// Starting SDL's audio and opening the device take from one to several
// milliseconds (a sound server is asked, drivers are tried in turn), which
// the program's start would wait for. The constructor therefore opens the
// device on a thread of its own and returns at once; every member waits for
// that opening to end, so callers see a device that is already open.
class SdlAudioOutput : public IAudioOutput {
public:
    SdlAudioOutput();
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    // True when a device is open.
    bool hasDevice() const;

    AudioFormat format() const override;
    void enqueue(std::span<const qint16> samples) override;
    void drain() override;
    void purge() override;
    bool isPlaying() const override;
    void setPaused(bool paused) override;

private:
    void open();
    // Waits until the device has been opened (or found missing).
    void opened() const;
    void waitForDeviceBuffers() const;

    bool m_sdlStarted = false;
    SDL_AudioDeviceID m_device = 0;
    AudioFormat m_format;
    int m_deviceBufferFrames = 0;
    bool m_paused = false;
    // Samples were queued and their tail may still sit in the device's buffers.
    bool m_unheard = false;
    // The opening on its own thread, consumed by the first member that waits for it.
    mutable std::future<void> m_opening;
};
