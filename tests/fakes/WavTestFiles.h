#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// WAV files written by code for the sound tests, in every encoding the
// player must read, so that the tests never depend on the program's own sounds.
namespace WavTestFiles {
enum class Encoding { Pcm8, Pcm16, Pcm24, Pcm32, Float32, ALaw, MuLaw, ImaAdpcm, MsAdpcm };

// A sine wave: `frames` frames of `channels` identical channels.
std::vector<qint16> sine(int frames, int channels, int rate, double hz = 440.0, int amplitude = 16000);

// A complete WAV file holding the interleaved 16-bit samples in the given
// encoding (ADPCM pads the last block with silence).
QByteArray wav(const std::vector<qint16>& samples, int channels, int rate, Encoding encoding);

// The largest magnitude among the samples.
int peak(const std::vector<qint16>& samples);
} // namespace WavTestFiles
