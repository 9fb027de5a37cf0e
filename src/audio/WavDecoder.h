#pragma once

#include "audio/IAudioOutput.h"
#include "platform/Outcome.h"

#include <QByteArray>

#include <SDL.h>

#include <memory>
#include <vector>

class AudioConverter;

// Turns a complete WAV image (PCM 8/16/24/32-bit, float, IMA and MS ADPCM,
// A-law, µ-law) into an output's format one bounded piece at a time, so that
// a sound starts playing at once and the rest is converted while it plays.
//
// The image is checked before SDL's loader sees it, since the loader trusts
// what the header says: chunk sizes are cut to the bytes the file really
// holds, a rate outside MinSourceRate to MaxSourceRate or a channel count
// above MaxSourceChannels gives no sound, and the data is cut to
// MaxSoundSeconds before it is decoded. The converted sound is never longer
// than MaxSoundSeconds of the output's format either.
class WavDecoder {
public:
    WavDecoder(const QByteArray& wav, AudioFormat target);
    ~WavDecoder();
    WavDecoder(const WavDecoder&) = delete;
    WavDecoder& operator=(const WavDecoder&) = delete;

    // The next piece of the converted sound; empty once all of it has been
    // given, or when the image does not decode. The first piece holds at
    // least FirstPieceMs of sound (less only when the sound is shorter),
    // enough for the device's first cycles; each step converts about StepMs
    // of the file.
    std::vector<qint16> next();
    // Done when the image decodes; otherwise why it gives no sound.
    const Outcome& status() const { return m_status; }

    static constexpr int FirstPieceMs = 30;
    static constexpr int StepMs = 50;

private:
    Uint8* m_buffer = nullptr;
    Uint32 m_length = 0;
    Uint32 m_position = 0;
    Uint32 m_stepBytes = 0;
    size_t m_firstPieceSamples = 0;
    qint64 m_samplesLeft = 0;
    bool m_first = true;
    bool m_finished = true;
    std::unique_ptr<AudioConverter> m_converter;
    Outcome m_status = Outcome::Done();
};
