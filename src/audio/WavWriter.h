#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <span>

// A 16-bit PCM WAV image of the given samples (interleaved when channels > 1):
// the plainest form, read by the program itself and by every other one.
QByteArray EncodeWav16(std::span<const qint16> samples, int channels, int rate);

// Writes a file as a whole or not at all (a temporary file renamed into place);
// false with a reason in `error` when it cannot be written.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
