#include "audio/AudioConverter.h"

#include "audio/AudioLibraries.h"

#include <algorithm>

AudioConverter::AudioConverter(SDL_AudioFormat sourceFormat, int sourceChannels, int sourceRate,
                               AudioFormat target) {
    if (Sdl() == nullptr || sourceChannels < 1 || sourceChannels > MaxSourceChannels ||
        sourceRate < MinSourceRate || sourceRate > MaxSourceRate || target.channels < 1 ||
        target.sampleRate < 1) {
        return;
    }
    m_sourceFormat = sourceFormat;
    m_sourceFrameBytes = int(SDL_AUDIO_BITSIZE(sourceFormat) / 8) * sourceChannels;
    m_sourceRate = sourceRate;
    m_target = target;
    m_stream = Sdl()->NewAudioStream(sourceFormat, Uint8(sourceChannels), sourceRate, AUDIO_S16SYS,
                                     Uint8(target.channels), target.sampleRate);
}

AudioConverter::~AudioConverter() {
    if (m_stream != nullptr) {
        Sdl()->FreeAudioStream(m_stream);
    }
}

std::vector<qint16> AudioConverter::put(const void* data, int bytes) {
    if (m_stream == nullptr || bytes <= 0 || Sdl()->AudioStreamPut(m_stream, data, bytes) != 0) {
        return {};
    }
    m_sourceBytes += bytes;
    return takeAvailable();
}

// SDL's resampler keeps the last stretch of a stream back even when flushed
// (tens of milliseconds, more at low rates), which would cut the end of every
// sound. A fifth of a second of silence pushes it out; what comes after the
// sound's own length is dropped again. The silence must be the source
// format's own: the resampler blends the sound's last samples with it, and
// for unsigned samples a zero byte is the lowest level, not silence.
std::vector<qint16> AudioConverter::finish() {
    if (m_stream == nullptr) {
        return {};
    }
    std::vector<Uint8> silence(size_t(m_sourceRate / 5) * size_t(m_sourceFrameBytes), 0);
    if (!SDL_AUDIO_ISSIGNED(m_sourceFormat)) {
        const size_t sampleBytes = SDL_AUDIO_BITSIZE(m_sourceFormat) / 8;
        const size_t highByte = SDL_AUDIO_ISBIGENDIAN(m_sourceFormat) ? 0 : sampleBytes - 1;
        for (size_t i = highByte; i < silence.size(); i += sampleBytes) {
            silence[i] = 0x80;
        }
    }
    if (Sdl()->AudioStreamPut(m_stream, silence.data(), int(silence.size())) != 0 ||
        Sdl()->AudioStreamFlush(m_stream) != 0) {
        return {};
    }
    std::vector<qint16> rest = takeAvailable();
    const qint64 sourceFrames = m_sourceBytes / m_sourceFrameBytes;
    const qint64 wanted =
        (sourceFrames * m_target.sampleRate + m_sourceRate / 2) / m_sourceRate * m_target.channels;
    const qint64 keep =
        std::clamp<qint64>(wanted - (m_samplesOut - qint64(rest.size())), 0, qint64(rest.size()));
    rest.resize(size_t(keep));
    return rest;
}

std::vector<qint16> AudioConverter::takeAvailable() {
    const int bytes = Sdl()->AudioStreamAvailable(m_stream);
    if (bytes <= 0) {
        return {};
    }
    std::vector<qint16> out(size_t(bytes) / sizeof(qint16));
    const int got = Sdl()->AudioStreamGet(m_stream, out.data(), int(out.size() * sizeof(qint16)));
    out.resize(got > 0 ? size_t(got) / sizeof(qint16) : 0);
    m_samplesOut += qint64(out.size());
    return out;
}
