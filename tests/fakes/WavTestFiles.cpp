#include "fakes/WavTestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>

#include <sndfile.h>

namespace WavTestFiles {
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

// Written by libsndfile, an encoder independent of the decoder under test.
QByteArray wav(const std::vector<qint16>& samples, int channels, int rate, Encoding encoding) {
    static const int subtypes[] = {SF_FORMAT_PCM_U8, SF_FORMAT_PCM_16,    SF_FORMAT_PCM_24,
                                   SF_FORMAT_PCM_32, SF_FORMAT_FLOAT,     SF_FORMAT_ALAW,
                                   SF_FORMAT_ULAW,   SF_FORMAT_IMA_ADPCM, SF_FORMAT_MS_ADPCM};
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.wav"));
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | subtypes[int(encoding)];
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (file == nullptr) {
        return {};
    }
    const sf_count_t frames = sf_count_t(samples.size()) / channels;
    if (encoding == Encoding::Float32) {
        // Whole numbers would be written as they are, not as fractions of full scale.
        std::vector<float> fractions(samples.begin(), samples.end());
        for (float& f : fractions) {
            f /= 32768.0f;
        }
        sf_writef_float(file, fractions.data(), frames);
    } else {
        sf_writef_short(file, samples.data(), frames);
    }
    sf_close(file);
    QFile written(path);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}
} // namespace WavTestFiles
