#pragma once

#include "audio/IAudioOutput.h"

#include <SDL.h>

// The real output: SDL2's default audio device, opened once when the object
// is made and kept open for its whole life, so that playing a sound never
// pays for opening the device. SDL is initialised with its audio subsystem
// only. Without a usable device (a machine with no sound card, where SDL
// falls back to ALSA and cannot open anything) the object is simply silent:
// every call returns at once and nothing is reported.
class SdlAudioOutput : public IAudioOutput {
public:
    SdlAudioOutput();
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    // True when a device is open.
    bool hasDevice() const { return m_device != 0; }

    AudioFormat format() const override { return m_format; }
    void enqueue(std::span<const qint16> samples) override;
    void drain() override;
    void purge() override;
    bool isPlaying() const override;
    void setPaused(bool paused) override;

private:
    void waitForDeviceBuffers() const;

    bool m_sdlStarted = false;
    SDL_AudioDeviceID m_device = 0;
    AudioFormat m_format;
    int m_deviceBufferFrames = 0;
    bool m_paused = false;
    // Samples were queued and their tail may still sit in the device's buffers.
    bool m_unheard = false;
};
