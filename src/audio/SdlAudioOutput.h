#pragma once

#include "audio/IAudioOutput.h"

#include <SDL.h>

#include <future>

// The real output: SDL2's default audio device, opened once and kept open
// for the object's whole life, so that playing a sound never pays for
// opening the device. SDL is initialised with its audio subsystem only.
// Without a usable device (a machine with no sound card, where SDL falls back
// to ALSA and cannot open anything) the object is simply silent: every call
// returns at once and nothing is reported.
//
// Starting SDL's audio and opening the device take from one to several
// milliseconds (a sound server is asked, drivers are tried in turn), which
// the program's first screen should not wait for. prepare() opens the device
// on a thread of its own; every other member waits for that opening to end,
// or opens the device itself when nothing has opened it yet.
class SdlAudioOutput : public IAudioOutput {
public:
    SdlAudioOutput();
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    // True when a device is open.
    bool hasDevice() const;

    void prepare() override;
    AudioFormat format() const override;
    void enqueue(std::span<const qint16> samples) override;
    void drain() override;
    bool waitUntilQueuedAtMost(qsizetype samples) override;
    void purge() override;
    bool isPlaying() const override;

private:
    struct Device {
        bool sdlStarted = false;
        SDL_AudioDeviceID id = 0; // 0: none
        AudioFormat format;
        int bufferFrames = 0;
    };
    static Device Open();
    // The device, once it has been opened (or found missing).
    const Device& device() const;
    void waitForDeviceBuffers() const;

    mutable Device m_device;
    // The opening on its own thread, consumed by the first member that waits for it.
    mutable std::future<Device> m_opening;
    mutable bool m_openingStarted = false;
    // Samples were queued and their tail may still sit in the device's buffers.
    bool m_unheard = false;
};
