#include "AudioProbe.h"

#include "audio/EspeakEngine.h"
#include "audio/SapiMarkup.h"
#include "audio/WavWriter.h"
#include "audio/cSound.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace {
constexpr auto PollInterval = std::chrono::microseconds(50);
constexpr auto WatchLimit = std::chrono::seconds(10);
// Longer than two device cycles of the largest buffer SDL is asked for.
constexpr int RandomWaitUs = 60000;

double Ms(BenchClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// SDL numbers open devices from 2; the program opens exactly one.
SDL_AudioDeviceID FindOpenDevice() {
    for (SDL_AudioDeviceID id = 1; id < 64; ++id) {
        if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING) {
            return id;
        }
    }
    return 0;
}

// Holds the device's lock, so that its callback cannot run meanwhile.
class DeviceLock {
public:
    explicit DeviceLock(SDL_AudioDeviceID device) : m_device(device) {
        if (m_device != 0) {
            SDL_LockAudioDevice(m_device);
        }
    }
    ~DeviceLock() {
        if (m_device != 0) {
            SDL_UnlockAudioDevice(m_device);
        }
    }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID m_device;
};

// Waits until the device has taken everything, then a random while more: a
// user clicks at any moment of the device's cycle, not right after it took
// the last samples, which would always cost nearly a whole cycle.
void WaitUntilIdle(const ProbedOutput& output) {
    const auto limit = BenchClock::now() + WatchLimit;
    while (output.taken() < output.queuedTotal() && BenchClock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::microseconds(QRandomGenerator::global()->bounded(RandomWaitUs)));
}
} // namespace

ProbedOutput::ProbedOutput() {
    if (m_real.hasDevice()) {
        m_device = FindOpenDevice();
    }
}

ProbedOutput::~ProbedOutput() = default;

void ProbedOutput::enqueue(std::span<const qint16> samples) {
    const DeviceLock lock(m_device);
    const Uint32 before = m_device != 0 ? SDL_GetQueuedAudioSize(m_device) : 0;
    m_real.enqueue(samples);
    const Uint32 after = m_device != 0 ? SDL_GetQueuedAudioSize(m_device) : 0;
    m_total += qint64(after) - qint64(before);
}

void ProbedOutput::drain() {
    if (m_armed.exchange(false)) {
        m_firstEnd = queuedTotal();
    }
    m_real.drain();
}

void ProbedOutput::purge() {
    const DeviceLock lock(m_device);
    if (m_device != 0) {
        m_total -= SDL_GetQueuedAudioSize(m_device);
    }
    m_real.purge();
}

qint64 ProbedOutput::taken() const {
    if (m_device == 0) {
        return 0;
    }
    const DeviceLock lock(m_device);
    return m_total - SDL_GetQueuedAudioSize(m_device);
}

qint64 ProbedOutput::queuedTotal() const {
    const DeviceLock lock(m_device);
    return m_total;
}

void ProbedOutput::arm() {
    m_firstEnd = -1;
    m_armed = true;
}

std::optional<qint64> ProbedOutput::soundEnd() const {
    const qint64 end = m_firstEnd;
    return end < 0 ? std::nullopt : std::optional<qint64>(end);
}

ClickTimes MeasureClick(ProbedOutput& output, const std::function<void()>& click) {
    WaitUntilIdle(output);
    const qint64 start = output.taken();
    std::atomic<bool> done{false};
    ClickTimes times;
    output.arm();
    const BenchClock::time_point clicked = BenchClock::now();
    std::thread watcher([&] {
        std::optional<BenchClock::time_point> soundStart;
        std::optional<BenchClock::time_point> soundEnd;
        const auto limit = clicked + WatchLimit;
        while (BenchClock::now() < limit) {
            const bool last = done;
            const qint64 taken = output.taken();
            const BenchClock::time_point now = BenchClock::now();
            const std::optional<qint64> end = output.soundEnd();
            if (!soundStart && taken > start) {
                soundStart = now;
                times.clickToSoundMs = Ms(now - clicked);
            }
            if (end && !soundEnd && taken >= *end) {
                soundEnd = now;
            }
            if (end && soundEnd && taken > *end) {
                times.soundToSpeechMs = Ms(now - *soundEnd);
                return;
            }
            if (last) {
                return;
            }
            std::this_thread::sleep_for(PollInterval);
        }
    });
    click();
    done = true;
    watcher.join();
    return times;
}

double MeasureDeviceTakeMs(ProbedOutput& output) {
    WaitUntilIdle(output);
    const std::vector<qint16> silence(size_t(output.format().sampleRate * output.format().channels / 10), 1);
    const qint64 start = output.taken();
    const BenchClock::time_point queued = BenchClock::now();
    output.enqueue(silence);
    double ms = -1;
    const auto limit = queued + WatchLimit;
    while (BenchClock::now() < limit) {
        if (output.taken() > start) {
            ms = Ms(BenchClock::now() - queued);
            break;
        }
        std::this_thread::sleep_for(PollInterval);
    }
    output.drain();
    return ms;
}

PlayedSound MeasureSound(ProbedOutput& output, const QString& wavPath, const QString& diskFile) {
    PlayedSound played;
    QFile file(diskFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return played;
    }
    const qint64 frameBytes = 2 * output.format().channels;
    const qint64 before = file.size() / frameBytes * frameBytes;
    cSound sound(output);
    sound.setFileName(wavPath);
    played.firstSampleMs = MeasureClick(output, [&] { sound.PlayFile(0); }).clickToSoundMs;
    file.seek(before);
    const QByteArray raw = file.readAll();
    std::vector<qint16> samples(size_t(raw.size()) / 2);
    std::memcpy(samples.data(), raw.constData(), samples.size() * 2);
    const auto first = std::find_if(samples.begin(), samples.end(), [](qint16 v) { return v != 0; });
    const auto last = std::find_if(samples.rbegin(), samples.rend(), [](qint16 v) { return v != 0; }).base();
    size_t run = 0;
    size_t longest = 0;
    for (auto it = first; it < last; ++it) {
        run = *it == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    if (first < last) {
        played.longestGapMs =
            1000.0 * double(longest) / (output.format().sampleRate * output.format().channels);
    }
    return played;
}

QByteArray StereoToneWav(int rate, bool asFloat) {
    std::vector<qint16> samples;
    for (int i = 0; i < rate * 3 / 5; ++i) {
        const auto s = qint16(12000 * std::sin(2 * std::numbers::pi * 440 * i / rate));
        samples.insert(samples.end(), 2, s);
    }
    const QByteArray wav = EncodeWav16(samples, 2, rate);
    if (!asFloat) {
        return wav;
    }
    QByteArray data(qsizetype(samples.size() * 4), Qt::Uninitialized);
    for (size_t i = 0; i < samples.size(); ++i) {
        qToLittleEndian(float(samples[i]) / 32768.0f, data.data() + 4 * i);
    }
    // The same header with the float tag and four bytes a sample.
    QByteArray header = wav.left(44);
    qToLittleEndian<quint32>(quint32(36 + data.size()), header.data() + 4);
    qToLittleEndian<quint16>(3, header.data() + 20);
    qToLittleEndian<quint32>(quint32(rate * 8), header.data() + 28);
    qToLittleEndian<quint16>(8, header.data() + 32);
    qToLittleEndian<quint16>(32, header.data() + 34);
    qToLittleEndian<quint32>(quint32(data.size()), header.data() + 40);
    return header + data;
}

int ProfileSynthesis(int count) {
    EspeakEngine* engine = EspeakEngine::instance();
    const std::optional<EspeakEngine::Voice> voice =
        engine ? engine->chooseVoice(QString(), QStringLiteral("it")) : std::nullopt;
    if (!voice) {
        return 1;
    }
    const EspeakEngine::Settings settings{*voice, 113, 100, 50};
    const QByteArray ssml = SpeechSsml(ParseSapiMarkup(QStringLiteral("Mela"), -4), -4, {}).toUtf8();
    for (int i = 0; i < count; ++i) {
        const BenchClock::time_point start = BenchClock::now();
        double firstMs = -1;
        qint64 samples = 0;
        qint64 leadingSilence = -1;
        const Outcome spoken = engine->synthesize(ssml, settings, [&](std::span<const qint16> chunk) {
            if (firstMs < 0) {
                firstMs = std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
            }
            for (size_t s = 0; s < chunk.size() && leadingSilence < 0; ++s) {
                if (chunk[s] != 0) {
                    leadingSilence = samples + qint64(s);
                }
            }
            samples += qint64(chunk.size());
        });
        if (!spoken) {
            std::fprintf(stderr, "%s\n", qPrintable(spoken.detail()));
            return 1;
        }
        const double totalMs = std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
        std::printf("first samples after %.2f ms, all %lld samples (%.0f ms of speech) after %.2f ms, "
                    "%lld silent samples first\n",
                    firstMs, static_cast<long long>(samples), samples * 1000.0 / engine->sampleRate(),
                    totalMs, static_cast<long long>(leadingSilence));
    }
    return 0;
}
