#include "audio/WavWriter.h"

#include <QtEndian>

namespace {
void appendLe32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendLe16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}
} // namespace

QByteArray EncodeWav16(std::span<const qint16> samples, int channels, int rate) {
    const quint32 dataBytes = quint32(samples.size() * sizeof(qint16));
    const quint16 blockAlign = quint16(channels * 2);
    QByteArray out;
    out.reserve(44 + int(dataBytes));
    out.append("RIFF", 4);
    appendLe32(out, 36 + dataBytes);
    out.append("WAVEfmt ", 8);
    appendLe32(out, 16);
    appendLe16(out, 1); // PCM
    appendLe16(out, quint16(channels));
    appendLe32(out, quint32(rate));
    appendLe32(out, quint32(rate) * blockAlign);
    appendLe16(out, blockAlign);
    appendLe16(out, 16);
    out.append("data", 4);
    appendLe32(out, dataBytes);
    for (qint16 sample : samples) {
        appendLe16(out, quint16(sample));
    }
    return out;
}
