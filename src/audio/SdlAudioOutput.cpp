#include "audio/SdlAudioOutput.h"

#include "audio/AudioLibraries.h"

#include <algorithm>
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

SdlAudioOutput::SdlAudioOutput() = default;

void SdlAudioOutput::prepare() {
    if (m_openingStarted) {
        return;
    }
    try {
        m_opening = std::async(std::launch::async, &SdlAudioOutput::Open);
        m_openingStarted = true;
    } catch (const std::system_error&) {
        // No thread to be had: the first use opens the device.
    }
}

SdlAudioOutput::Device SdlAudioOutput::Open() {
    Device device;
    const SdlFunctions* sdl = Sdl();
    if (sdl == nullptr) {
        return device;
    }
    // SDL's audio brings its event subsystem along, which by default turns
    // SIGINT and SIGTERM into an SDL_QUIT event nobody reads here: the
    // program would no longer stop when asked to.
    sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return device;
    }
    device.sdlStarted = true;

    SDL_AudioSpec want{};
    want.freq = WantedRate;
    want.format = AUDIO_S16SYS;
    want.channels = WantedChannels;
    want.samples = WantedBufferFrames;
    SDL_AudioSpec have{};
    device.id = sdl->OpenAudioDevice(nullptr, 0, &want, &have,
                                     SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE |
                                         SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (device.id == 0) {
        return device;
    }
    device.format = {have.freq, have.channels};
    device.bufferFrames = have.samples;
    // The device runs for the object's whole life and plays silence while
    // nothing is queued, so a sound starts without waiting for it to wake up.
    sdl->PauseAudioDevice(device.id, 0);
    return device;
}

SdlAudioOutput::~SdlAudioOutput() {
    if (!m_openingStarted) {
        return; // never opened
    }
    const Device& d = device();
    if (d.id != 0) {
        Sdl()->CloseAudioDevice(d.id);
    }
    if (d.sdlStarted) {
        Sdl()->QuitSubSystem(SDL_INIT_AUDIO);
    }
}

const SdlAudioOutput::Device& SdlAudioOutput::device() const {
    if (!m_openingStarted) {
        m_openingStarted = true;
        m_device = Open();
    } else if (m_opening.valid()) {
        m_device = m_opening.get();
    }
    return m_device;
}

bool SdlAudioOutput::hasDevice() const {
    return device().id != 0;
}

AudioFormat SdlAudioOutput::format() const {
    return device().format;
}

void SdlAudioOutput::enqueue(std::span<const qint16> samples) {
    const SDL_AudioDeviceID id = device().id;
    if (id == 0 || samples.empty()) {
        return;
    }
    if (Sdl()->QueueAudio(id, samples.data(), Uint32(samples.size_bytes())) == 0) {
        m_unheard = true;
    }
}

void SdlAudioOutput::drain() {
    if (device().id == 0 || !m_unheard) {
        return;
    }
    if (waitUntilQueuedAtMost(0)) {
        waitForDeviceBuffers();
    }
    m_unheard = false;
}

bool SdlAudioOutput::waitUntilQueuedAtMost(qsizetype samples) {
    const SDL_AudioDeviceID id = device().id;
    if (id == 0) {
        return true;
    }
    const Uint32 limit = Uint32(std::max<qsizetype>(samples, 0) * qsizetype(sizeof(qint16)));
    Uint32 queued = Sdl()->GetQueuedAudioSize(id);
    Uint32 lastProgress = Sdl()->GetTicks();
    while (queued > limit) {
        if (Sdl()->GetAudioDeviceStatus(id) != SDL_AUDIO_PLAYING) {
            purge();
            return false;
        }
        Sdl()->Delay(PollMs);
        const Uint32 now = Sdl()->GetTicks();
        const Uint32 left = Sdl()->GetQueuedAudioSize(id);
        if (left < queued) {
            lastProgress = now;
        } else if (now - lastProgress > StallMs) {
            purge();
            return false;
        }
        queued = left;
    }
    return true;
}

// An empty queue means SDL has taken the last samples, not that they have
// been heard: they still pass through SDL's buffer and the device's own,
// which the drivers keep at about two buffers of this size.
void SdlAudioOutput::waitForDeviceBuffers() const {
    const Device& d = device();
    const int frames = 2 * d.bufferFrames;
    Sdl()->Delay(Uint32((frames * 1000LL + d.format.sampleRate - 1) / d.format.sampleRate) + PollMs);
}

void SdlAudioOutput::purge() {
    if (const SDL_AudioDeviceID id = device().id; id != 0) {
        Sdl()->ClearQueuedAudio(id);
    }
    m_unheard = false;
}

bool SdlAudioOutput::isPlaying() const {
    const SDL_AudioDeviceID id = device().id;
    return id != 0 && Sdl()->GetQueuedAudioSize(id) > 0;
}
