#include "audio/AudioConverter.h"

AudioConverter::AudioConverter(SDL_AudioFormat sourceFormat, int sourceChannels, int sourceRate,
                               AudioFormat target) {
    if (sourceChannels < 1 || sourceChannels > 255 || sourceRate < 1 || target.channels < 1 ||
        target.sampleRate < 1) {
        return;
    }
    m_stream = SDL_NewAudioStream(sourceFormat, Uint8(sourceChannels), sourceRate, AUDIO_S16SYS,
                                  Uint8(target.channels), target.sampleRate);
}

AudioConverter::~AudioConverter() {
    if (m_stream != nullptr) {
        SDL_FreeAudioStream(m_stream);
    }
}

std::vector<qint16> AudioConverter::put(const void* data, int bytes) {
    if (m_stream == nullptr || bytes <= 0 || SDL_AudioStreamPut(m_stream, data, bytes) != 0) {
        return {};
    }
    return takeAvailable();
}

std::vector<qint16> AudioConverter::finish() {
    if (m_stream == nullptr || SDL_AudioStreamFlush(m_stream) != 0) {
        return {};
    }
    return takeAvailable();
}

std::vector<qint16> AudioConverter::takeAvailable() {
    const int bytes = SDL_AudioStreamAvailable(m_stream);
    if (bytes <= 0) {
        return {};
    }
    std::vector<qint16> out(size_t(bytes) / sizeof(qint16));
    const int got = SDL_AudioStreamGet(m_stream, out.data(), int(out.size() * sizeof(qint16)));
    out.resize(got > 0 ? size_t(got) / sizeof(qint16) : 0);
    return out;
}
