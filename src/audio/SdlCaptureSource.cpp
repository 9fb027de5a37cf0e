#include "audio/SdlCaptureSource.h"

#include "audio/AudioLibraries.h"

namespace {
// Plenty for a spoken word, and half the size of CD quality.
constexpr int WantedRate = 22050;
constexpr int BufferFrames = 1024;
} // namespace

SdlCaptureSource::~SdlCaptureSource() {
    stop();
}

int SdlCaptureSource::start() {
    stop();
    const SdlFunctions* sdl = Sdl();
    if (sdl == nullptr) {
        return 0;
    }
    // As for playback: SIGINT and SIGTERM must still end the program.
    sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return 0;
    }
    m_sdlStarted = true;
    SDL_AudioSpec want{};
    want.freq = WantedRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = BufferFrames;
    SDL_AudioSpec have{};
    // SDL converts to 16-bit mono for us; only the rate is taken as the device gives it.
    m_device = sdl->OpenAudioDevice(nullptr, 1, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (m_device == 0) {
        stop();
        return 0;
    }
    sdl->PauseAudioDevice(m_device, 0);
    return have.freq;
}

void SdlCaptureSource::read(std::vector<qint16>& to) {
    if (m_device == 0) {
        return;
    }
    qint16 buffer[4096];
    for (;;) {
        const Uint32 got = Sdl()->DequeueAudio(m_device, buffer, sizeof buffer);
        to.insert(to.end(), buffer, buffer + got / sizeof(qint16));
        if (got < sizeof buffer) {
            return;
        }
    }
}

void SdlCaptureSource::stop() {
    if (m_device != 0) {
        Sdl()->CloseAudioDevice(m_device);
        m_device = 0;
    }
    if (m_sdlStarted) {
        Sdl()->QuitSubSystem(SDL_INIT_AUDIO);
        m_sdlStarted = false;
    }
}
