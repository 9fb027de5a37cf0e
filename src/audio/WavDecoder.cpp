#include "audio/WavDecoder.h"

#include "audio/AudioConverter.h"
#include "audio/AudioLibraries.h"
#include "audio/WavSource.h"

#include <QtEndian>

#include <algorithm>
#include <numeric>
#include <optional>

namespace {
constexpr int WaveFormatPcm = 0x0001;
constexpr int WaveFormatMsAdpcm = 0x0002;
constexpr int WaveFormatFloat = 0x0003;
constexpr int WaveFormatALaw = 0x0006;
constexpr int WaveFormatMuLaw = 0x0007;
constexpr int WaveFormatImaAdpcm = 0x0011;
constexpr int WaveFormatExtensible = 0xFFFE;
// The longest fmt chunk any encoding needs (MS ADPCM with a few extra
// coefficient pairs); SDL reads the whole chunk into memory.
constexpr quint32 MaxFmtBytes = 1024;

quint16 Le16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 Le32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
void PutLe32(QByteArray& b, quint32 v) {
    char bytes[4];
    qToLittleEndian(v, bytes);
    b.append(bytes, 4);
}

// Bytes of data that hold MaxSoundSeconds, or nothing when the encoding's
// frames cannot be counted from the fmt chunk (SDL refuses those anyway).
std::optional<quint64> BytesForLongestSound(const QByteArray& fmt) {
    int tag = Le16(fmt, 0);
    if (tag == WaveFormatExtensible && fmt.size() >= 26) {
        tag = Le16(fmt, 24); // the sub-format GUID starts with the real tag
    }
    const quint64 rate = Le32(fmt, 4);
    const quint64 blockAlign = Le16(fmt, 12);
    quint64 framesPerBlock = 0;
    if (tag == WaveFormatPcm || tag == WaveFormatFloat || tag == WaveFormatALaw || tag == WaveFormatMuLaw) {
        framesPerBlock = 1;
    } else if ((tag == WaveFormatImaAdpcm || tag == WaveFormatMsAdpcm) && fmt.size() >= 22) {
        framesPerBlock = Le16(fmt, 20);
    }
    if (framesPerBlock == 0) {
        return std::nullopt;
    }
    const quint64 frames = rate * quint64(MaxSoundSeconds);
    return (frames + framesPerBlock - 1) / framesPerBlock * blockAlign;
}

const QString NoSound = QStringLiteral("Il file non contiene un suono WAV riproducibile.");

// SDL's loader believes every size and rate in a header: a 99-byte file
// whose data chunk claims 3.5 GB makes it allocate 3.5 GB, and absurd rates
// make it compute negative sizes. This walks the chunks against the bytes
// really there and gives a plain image of the fmt chunk and the data that
// exist, cut to the longest sound we play; a failure that says what is
// wrong when there is no sound.
Result<QByteArray> CheckedImage(const QByteArray& wav) {
    const auto noSound = [](const QString& why) { return Outcome::Failed(NoSound, why); };
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE") {
        return noSound(QStringLiteral("no RIFF WAVE header"));
    }
    QByteArray fmt;
    qsizetype dataStart = -1;
    quint64 dataBytes = 0;
    // A wrong RIFF size is common and harmless: the file's real end counts.
    for (qsizetype at = 12; at + 8 <= wav.size() && dataStart < 0;) {
        const QByteArray id = wav.mid(at, 4);
        const quint64 claimed = Le32(wav, at + 4);
        const qsizetype body = at + 8;
        const quint64 present = quint64(wav.size() - body);
        if (id == "fmt ") {
            if (claimed < 16 || claimed > MaxFmtBytes || claimed > present) {
                return noSound(
                    QStringLiteral("a format chunk of %1 bytes where %2 are left").arg(claimed).arg(present));
            }
            fmt = wav.mid(body, qsizetype(claimed));
        } else if (id == "data" && !fmt.isEmpty()) {
            dataStart = body;
            dataBytes = std::min(claimed, present); // a file cut short plays what it holds
        }
        if (claimed >= present) {
            break;
        }
        at = body + qsizetype(claimed + (claimed & 1));
    }
    if (fmt.isEmpty() || dataStart < 0) {
        return noSound(fmt.isEmpty() ? QStringLiteral("no format chunk") : QStringLiteral("no data chunk"));
    }
    const quint32 rate = Le32(fmt, 4);
    const int channels = Le16(fmt, 2);
    if (rate < quint32(MinSourceRate) || rate > quint32(MaxSourceRate) || channels < 1 ||
        channels > MaxSourceChannels || Le16(fmt, 12) == 0) {
        return noSound(QStringLiteral("%1 Hz, %2 channels, blocks of %3 bytes: not a sound that is played")
                           .arg(rate)
                           .arg(channels)
                           .arg(Le16(fmt, 12)));
    }
    if (const std::optional<quint64> longest = BytesForLongestSound(fmt)) {
        dataBytes = std::min(dataBytes, *longest);
    }
    if (dataBytes == 0) {
        return noSound(QStringLiteral("an empty data chunk"));
    }
    QByteArray image("RIFF");
    PutLe32(image, quint32(4 + 8 + fmt.size() + 8 + qsizetype(dataBytes)));
    image.append("WAVEfmt ");
    PutLe32(image, quint32(fmt.size()));
    image.append(fmt);
    image.append("data");
    PutLe32(image, quint32(dataBytes));
    image.append(wav.constData() + dataStart, qsizetype(dataBytes));
    return image;
}
} // namespace

WavDecoder::WavDecoder(const QByteArray& wav, AudioFormat target) {
    const SdlFunctions* sdl = Sdl();
    if (sdl == nullptr) {
        m_status = Outcome::Failed(NoSound, QStringLiteral("SDL2 is not available"));
        return;
    }
    if (wav.size() > MaxSoundFileBytes) {
        m_status = Outcome::Failed(NoSound, QStringLiteral("%1 bytes: too large").arg(wav.size()));
        return;
    }
    const Result<QByteArray> image = CheckedImage(wav);
    if (!image) {
        m_status = image.failure();
        return;
    }
    SDL_RWops* rw = sdl->RWFromConstMem(image->constData(), int(image->size()));
    SDL_AudioSpec spec{};
    if (rw == nullptr || sdl->LoadWAV_RW(rw, 1, &spec, &m_buffer, &m_length) == nullptr) {
        m_buffer = nullptr;
        m_status = Outcome::Failed(NoSound, QStringLiteral("an encoding SDL's loader refuses"));
        return;
    }
    const Uint32 frameBytes = Uint32(SDL_AUDIO_BITSIZE(spec.format) / 8) * spec.channels;
    m_converter = std::make_unique<AudioConverter>(spec.format, spec.channels, spec.freq, target);
    if (!m_converter->isValid() || frameBytes == 0) {
        m_status = Outcome::Failed(
            NoSound,
            QStringLiteral("no conversion from %1 Hz, %2 channels").arg(spec.freq).arg(spec.channels));
        return;
    }
    m_length -= m_length % frameBytes;
    // SDL's stream resampler drops the fraction of an output frame that each
    // piece it converts ends on, which over many pieces shortens the sound
    // and shifts it; and it gathers pieces shorter than its filter's window
    // (512 frames of the lower rate) into packets of its own. So every step
    // is at least that window and a whole number of the rate ratio's periods.
    const int window =
        spec.freq > target.sampleRate ? (512 * spec.freq + target.sampleRate - 1) / target.sampleRate : 512;
    const Uint32 period = Uint32(spec.freq / std::gcd(spec.freq, target.sampleRate));
    Uint32 stepFrames = std::max<Uint32>(Uint32(window), Uint32(spec.freq) * StepMs / 1000);
    if (period <= Uint32(spec.freq) / 2) {
        stepFrames = (stepFrames + period - 1) / period * period;
    }
    m_stepBytes = stepFrames * frameBytes;
    const qint64 samplesPerSecond = qint64(target.sampleRate) * target.channels;
    m_firstPieceSamples = size_t(samplesPerSecond * FirstPieceMs / 1000);
    m_samplesLeft = samplesPerSecond * MaxSoundSeconds;
    m_finished = m_length == 0;
}

WavDecoder::~WavDecoder() {
    if (m_buffer != nullptr) {
        Sdl()->FreeWAV(m_buffer);
    }
}

std::vector<qint16> WavDecoder::next() {
    std::vector<qint16> piece;
    const size_t wanted = m_first ? m_firstPieceSamples : 1;
    while (!m_finished && piece.size() < wanted && m_position < m_length) {
        const Uint32 step = std::min(m_length - m_position, m_stepBytes);
        const std::vector<qint16> converted = m_converter->put(m_buffer + m_position, int(step));
        piece.insert(piece.end(), converted.begin(), converted.end());
        m_position += step;
    }
    if (!m_finished && m_position >= m_length) {
        const std::vector<qint16> rest = m_converter->finish();
        piece.insert(piece.end(), rest.begin(), rest.end());
        m_finished = true;
    }
    m_first = false;
    if (qint64(piece.size()) >= m_samplesLeft) {
        piece.resize(size_t(m_samplesLeft));
        m_finished = true;
    }
    m_samplesLeft -= qint64(piece.size());
    return piece;
}
