#include "fakes/WavTestFiles.h"

#include <QtEndian>

#include <cmath>
#include <cstring>
#include <numbers>

namespace WavTestFiles {
namespace {
void put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& b, quint32 v) {
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

QByteArray fmtChunk(int tag, int channels, int rate, int bits, int blockAlign, const QByteArray& extra = {}) {
    QByteArray f;
    put16(f, tag);
    put16(f, channels);
    put32(f, quint32(rate));
    put32(f, quint32(rate * blockAlign));
    put16(f, blockAlign);
    put16(f, bits);
    if (tag != 1 || !extra.isEmpty()) {
        put16(f, int(extra.size()));
        f.append(extra);
    }
    return f;
}

QByteArray riff(const QByteArray& fmt, const QByteArray& data) {
    QByteArray b("RIFF");
    put32(b, quint32(4 + 8 + fmt.size() + 8 + data.size() + (data.size() & 1)));
    b.append("WAVEfmt ");
    put32(b, quint32(fmt.size()));
    b.append(fmt);
    b.append("data");
    put32(b, quint32(data.size()));
    b.append(data);
    if (data.size() & 1) {
        b.append(char(0));
    }
    return b;
}

// G.711 encoders, as in the reference implementation.
quint8 linearToALaw(int pcm) {
    static const int segEnd[8] = {0x1F, 0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF};
    pcm >>= 3;
    int mask = 0xD5;
    if (pcm < 0) {
        mask = 0x55;
        pcm = -pcm - 1;
    }
    int seg = 0;
    while (seg < 8 && pcm > segEnd[seg]) {
        ++seg;
    }
    if (seg >= 8) {
        return quint8(0x7F ^ mask);
    }
    int aval = seg << 4;
    aval |= seg < 2 ? (pcm >> 1) & 0x0F : (pcm >> seg) & 0x0F;
    return quint8(aval ^ mask);
}

quint8 linearToMuLaw(int pcm) {
    constexpr int Bias = 0x84;
    constexpr int Clip = 32635;
    const int sign = pcm < 0 ? 0x80 : 0;
    if (pcm < 0) {
        pcm = -pcm;
    }
    pcm = std::min(pcm, Clip) + Bias;
    int exponent = 7;
    for (int mask = 0x4000; (pcm & mask) == 0 && exponent > 0; mask >>= 1) {
        --exponent;
    }
    const int mantissa = (pcm >> (exponent + 3)) & 0x0F;
    return quint8(~(sign | (exponent << 4) | mantissa));
}

QByteArray imaAdpcm(const std::vector<qint16>& samples, int channels, int rate) {
    constexpr int BlockAlign = 256;
    const int samplesPerBlock = (BlockAlign - 4 * channels) * 8 / (4 * channels) + 1;
    const int frames = int(samples.size()) / channels;
    QByteArray data;
    for (int start = 0; start < frames; start += samplesPerBlock) {
        for (int c = 0; c < channels; ++c) {
            put16(data, samples[size_t(start * channels + c)]);
            data.append(char(0)).append(char(0)); // step index 0, reserved
        }
        // Nibbles 0 and 8 alternate: the smallest step up, then down.
        data.append(QByteArray(BlockAlign - 4 * channels, char(0x80)));
    }
    QByteArray extra;
    put16(extra, samplesPerBlock);
    return riff(fmtChunk(0x11, channels, rate, 4, BlockAlign, extra), data);
}

QByteArray msAdpcm(const std::vector<qint16>& samples, int channels, int rate) {
    constexpr int BlockAlign = 256;
    const int samplesPerBlock = (BlockAlign - 7 * channels) * 8 / (4 * channels) + 2;
    const int frames = int(samples.size()) / channels;
    QByteArray data;
    for (int start = 0; start < frames; start += samplesPerBlock) {
        // Predictor 0 is (256, 0): every sample repeats the one before, and
        // all-zero nibbles add nothing, so the block holds a steady level.
        for (int c = 0; c < channels; ++c) {
            data.append(char(0));
        }
        for (int c = 0; c < channels; ++c) {
            put16(data, 16);
        }
        for (int twice = 0; twice < 2; ++twice) {
            for (int c = 0; c < channels; ++c) {
                put16(data, samples[size_t(start * channels + c)]);
            }
        }
        data.append(QByteArray(BlockAlign - 7 * channels, char(0)));
    }
    static const int coefficients[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                                           {240, 0}, {460, -208}, {392, -232}};
    QByteArray extra;
    put16(extra, samplesPerBlock);
    put16(extra, 7);
    for (const auto& pair : coefficients) {
        put16(extra, pair[0]);
        put16(extra, pair[1]);
    }
    return riff(fmtChunk(2, channels, rate, 4, BlockAlign, extra), data);
}
} // namespace

std::vector<qint16> sine(int frames, int channels, int rate, double hz, int amplitude) {
    std::vector<qint16> out;
    out.reserve(size_t(frames * channels));
    for (int i = 0; i < frames; ++i) {
        const auto v = qint16(std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * i / rate)));
        out.insert(out.end(), size_t(channels), v);
    }
    return out;
}

int peak(const std::vector<qint16>& samples) {
    int p = 0;
    for (qint16 v : samples) {
        p = std::max(p, std::abs(int(v)));
    }
    return p;
}

QByteArray wav(const std::vector<qint16>& samples, int channels, int rate, Encoding encoding) {
    QByteArray data;
    switch (encoding) {
    case Encoding::Pcm8:
        for (qint16 s : samples) {
            data.append(char((s >> 8) + 128));
        }
        return riff(fmtChunk(1, channels, rate, 8, channels), data);
    case Encoding::Pcm16:
        for (qint16 s : samples) {
            put16(data, s);
        }
        return riff(fmtChunk(1, channels, rate, 16, 2 * channels), data);
    case Encoding::Pcm24:
        for (qint16 s : samples) {
            data.append(char(0));
            put16(data, s);
        }
        return riff(fmtChunk(1, channels, rate, 24, 3 * channels), data);
    case Encoding::Pcm32:
        for (qint16 s : samples) {
            put32(data, quint32(qint32(s) * 65536));
        }
        return riff(fmtChunk(1, channels, rate, 32, 4 * channels), data);
    case Encoding::Float32:
        for (qint16 s : samples) {
            const float f = float(s) / 32768.0f;
            quint32 bits = 0;
            std::memcpy(&bits, &f, sizeof bits);
            put32(data, bits);
        }
        return riff(fmtChunk(3, channels, rate, 32, 4 * channels), data);
    case Encoding::ALaw:
        for (qint16 s : samples) {
            data.append(char(linearToALaw(s)));
        }
        return riff(fmtChunk(6, channels, rate, 8, channels), data);
    case Encoding::MuLaw:
        for (qint16 s : samples) {
            data.append(char(linearToMuLaw(s)));
        }
        return riff(fmtChunk(7, channels, rate, 8, channels), data);
    case Encoding::ImaAdpcm:
        return imaAdpcm(samples, channels, rate);
    case Encoding::MsAdpcm:
        return msAdpcm(samples, channels, rate);
    }
    return {};
}
} // namespace WavTestFiles
