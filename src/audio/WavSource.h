#pragma once

#include "audio/IAudioOutput.h"

#include <QByteArray>

#include <functional>
#include <span>

// The largest sound file we read: far beyond any key's sound (about 12
// minutes of CD-quality stereo), small enough to hold in memory.
constexpr qint64 MaxSoundFileBytes = 128LL * 1024 * 1024;
// The longest stretch of a sound we play, in the file and once converted; a
// longer one is cut here.
constexpr int MaxSoundSeconds = 30 * 60;

// Decodes a complete WAV image into the given format with a WavDecoder,
// handing the samples to `sink` piece by piece as they are converted: the
// first piece is short, so that a sound can start playing before the rest of
// it has been converted. `sink` is never called with no samples. A file cut
// short in its data gives the frames it holds; a sound longer than
// MaxSoundSeconds is cut there; anything undecodable, or with a rate or
// channel count no recording has, gives no samples.
void DecodeWav(const QByteArray& wav, AudioFormat target,
               const std::function<void(std::span<const qint16>)>& sink);
