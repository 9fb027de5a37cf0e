#pragma once

#include "audio/IAudioOutput.h"

#include <SDL.h>

#include <vector>

// Sample rates a real recording never goes beyond. Below 4000 Hz a few
// kilobytes of file would swell into hundreds of megabytes of output; above
// 384000 Hz lies no recorder, only a damaged or hostile header.
constexpr int MinSourceRate = 4000;
constexpr int MaxSourceRate = 384000;
// SDL converts between layouts of up to 7.1 sound.
constexpr int MaxSourceChannels = 8;

// Turns samples of any format SDL knows into an output's format (16-bit,
// its rate and channel count). One converter serves one continuous stream,
// fed in pieces, so that resampling has no seams between the pieces.
class AudioConverter {
public:
    AudioConverter(SDL_AudioFormat sourceFormat, int sourceChannels, int sourceRate, AudioFormat target);
    ~AudioConverter();
    AudioConverter(const AudioConverter&) = delete;
    AudioConverter& operator=(const AudioConverter&) = delete;

    // False when SDL cannot convert between the two formats, or when the
    // source's rate or channel count is outside the limits above.
    bool isValid() const { return m_stream != nullptr; }
    // Converts the next piece of the stream; returns what is ready so far.
    std::vector<qint16> put(const void* data, int bytes);
    // Ends the stream and returns what was still held back.
    std::vector<qint16> finish();

private:
    std::vector<qint16> takeAvailable();

    SDL_AudioStream* m_stream = nullptr;
    SDL_AudioFormat m_sourceFormat = 0;
    int m_sourceFrameBytes = 0;
    int m_sourceRate = 0;
    AudioFormat m_target;
    qint64 m_sourceBytes = 0;
    qint64 m_samplesOut = 0;
};
