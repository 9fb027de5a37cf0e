#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <span>

// A 16-bit PCM WAV image of the given samples (interleaved when channels > 1):
// the plainest form, read by the program itself and by every other one.
QByteArray EncodeWav16(std::span<const qint16> samples, int channels, int rate);
