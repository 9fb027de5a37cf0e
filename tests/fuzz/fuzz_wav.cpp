// Fuzzed code: audio/WavSource.cpp audio/WavDecoder.cpp audio/AudioConverter.cpp audio/AudioLibraries.cpp
#include "FuzzTarget.h"

#include "audio/AudioLibraries.h"
#include "audio/WavSource.h"

// Any file given as a key's sound: decoding it never crashes, and what it
// becomes is bounded, whole frames of the output's format, handed over in
// pieces of at most a second, so that nothing waits long for one.
MIRELVA_FUZZ_TARGET(wav) {
    FUZZ_CHECK(Sdl() != nullptr, QStringLiteral("SDL2 is missing: nothing would be decoded"));
    // The format the program asks the sound device for.
    const AudioFormat target{44100, 2};
    const qint64 second = qint64(target.sampleRate) * target.channels;
    const qint64 maxSamples = (MaxSoundSeconds + 1) * second;
    qint64 samples = 0;
    DecodeWav(data.toByteArray(), target, [&](std::span<const qint16> piece) {
        FUZZ_CHECK(!piece.empty() && qint64(piece.size()) <= second &&
                       piece.size() % size_t(target.channels) == 0,
                   QStringLiteral("a piece of %1 samples").arg(piece.size()));
        samples += qint64(piece.size());
        FUZZ_CHECK(samples <= maxSamples, QStringLiteral("%1 samples").arg(samples));
    });
}
