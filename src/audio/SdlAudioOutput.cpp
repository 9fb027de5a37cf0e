#include "audio/SdlAudioOutput.h"

#include <system_error>

namespace {
// What we ask for; SDL may give another rate or channel count, which we take.
constexpr int WantedRate = 44100;
constexpr int WantedChannels = 2;
// Small device buffers keep the delay between a click and its sound short,
// and the silence between a key's sound and its speech, which waits for the
// last buffers to be heard. 512 frames (11.6 ms at 44.1 kHz) halve both
// against 1024; much smaller buffers risk gaps in the sound when a busy
// machine wakes the audio thread late.
constexpr int WantedBufferFrames = 512;
constexpr Uint32 PollMs = 5;
// A device that stops taking samples (unplugged, a stuck driver) must not
// freeze the program: after this long without progress the rest is dropped.
constexpr Uint32 StallMs = 2000;
} // namespace

SdlAudioOutput::SdlAudioOutput() {
    try {
        m_opening = std::async(std::launch::async, [this] { open(); });
    } catch (const std::system_error&) {
        open(); // no thread to be had: open it here
    }
}

// Runs on the opening thread; nothing else touches the members until
// opened() has seen it end.
void SdlAudioOutput::open() {
    // SDL's audio brings its event subsystem along, which by default turns
    // SIGINT and SIGTERM into an SDL_QUIT event nobody reads here: the
    // program would no longer stop when asked to.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return;
    }
    m_sdlStarted = true;

    SDL_AudioSpec want{};
    want.freq = WantedRate;
    want.format = AUDIO_S16SYS;
    want.channels = WantedChannels;
    want.samples = WantedBufferFrames;
    SDL_AudioSpec have{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                   SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE |
                                       SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (m_device == 0) {
        return;
    }
    m_format = {have.freq, have.channels};
    m_deviceBufferFrames = have.samples;
    // The device runs for the object's whole life and plays silence while
    // nothing is queued, so a sound starts without waiting for it to wake up.
    SDL_PauseAudioDevice(m_device, 0);
}

SdlAudioOutput::~SdlAudioOutput() {
    opened();
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
    }
    if (m_sdlStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlAudioOutput::opened() const {
    if (m_opening.valid()) {
        m_opening.get();
    }
}

bool SdlAudioOutput::hasDevice() const {
    opened();
    return m_device != 0;
}

AudioFormat SdlAudioOutput::format() const {
    opened();
    return m_format;
}

void SdlAudioOutput::enqueue(std::span<const qint16> samples) {
    opened();
    if (m_device == 0 || samples.empty()) {
        return;
    }
    if (SDL_QueueAudio(m_device, samples.data(), Uint32(samples.size_bytes())) == 0) {
        m_unheard = true;
    }
}

void SdlAudioOutput::drain() {
    opened();
    if (m_device == 0 || m_paused || !m_unheard) {
        return;
    }
    Uint32 queued = SDL_GetQueuedAudioSize(m_device);
    Uint32 lastProgress = SDL_GetTicks();
    while (queued > 0) {
        if (SDL_GetAudioDeviceStatus(m_device) != SDL_AUDIO_PLAYING) {
            purge();
            return;
        }
        SDL_Delay(PollMs);
        const Uint32 now = SDL_GetTicks();
        const Uint32 left = SDL_GetQueuedAudioSize(m_device);
        if (left < queued) {
            lastProgress = now;
        } else if (now - lastProgress > StallMs) {
            purge();
            return;
        }
        queued = left;
    }
    waitForDeviceBuffers();
    m_unheard = false;
}

// An empty queue means SDL has taken the last samples, not that they have
// been heard: they still pass through SDL's buffer and the device's own,
// which the drivers keep at about two buffers of this size.
void SdlAudioOutput::waitForDeviceBuffers() const {
    const int frames = 2 * m_deviceBufferFrames;
    SDL_Delay(Uint32((frames * 1000LL + m_format.sampleRate - 1) / m_format.sampleRate) + PollMs);
}

void SdlAudioOutput::purge() {
    opened();
    if (m_device != 0) {
        SDL_ClearQueuedAudio(m_device);
    }
    m_unheard = false;
}

bool SdlAudioOutput::isPlaying() const {
    opened();
    return m_device != 0 && SDL_GetQueuedAudioSize(m_device) > 0;
}

void SdlAudioOutput::setPaused(bool paused) {
    opened();
    m_paused = paused;
    if (m_device != 0) {
        SDL_PauseAudioDevice(m_device, paused ? 1 : 0);
    }
}
