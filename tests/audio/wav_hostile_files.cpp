// WAV files made to hurt: headers that lie about sizes and rates, sounds
// that would swell to gigabytes once converted.
#include "audio/WavSource.h"
#include "audio/cSound.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "fakes/WavTestFiles.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <numeric>

#include <sys/resource.h>
#include <unistd.h>

using WavTestFiles::Encoding;

namespace {
// Decodes with the address space held to what the process uses now plus
// 1 GB, so that a huge allocation fails instead of passing unnoticed.
qint64 decodedSamples(const QByteArray& wav, int outputRate) {
    rlimit old{};
    getrlimit(RLIMIT_AS, &old);
    const QByteArray pages = TestSupport::readFile(QStringLiteral("/proc/self/statm")).split(' ')[0];
    rlimit limit = old;
    limit.rlim_cur = std::min(old.rlim_max, rlim_t(pages.toULongLong() * sysconf(_SC_PAGESIZE)) + (1 << 30));
    setrlimit(RLIMIT_AS, &limit);
    qint64 samples = 0;
    DecodeWav(wav, {outputRate, 1}, [&](std::span<const qint16> piece) { samples += qint64(piece.size()); });
    setrlimit(RLIMIT_AS, &old);
    return samples;
}

QByteArray tone(int frames, int channels, int rate, Encoding encoding = Encoding::Pcm16) {
    return WavTestFiles::wav(WavTestFiles::sine(frames, channels, rate), channels, rate, encoding);
}

// Takes queued samples away as a device would whenever it is waited for,
// and remembers what was queued at once at most.
class PacedOutput : public RecordingAudioOutput {
public:
    using RecordingAudioOutput::RecordingAudioOutput;
    void enqueue(std::span<const qint16> samples) override {
        pieces.push_back(durationMs(samples.size()));
        RecordingAudioOutput::enqueue(samples);
        mostQueued = std::max(mostQueued, durationMs(pending.size()));
    }
    bool waitUntilQueuedAtMost(qsizetype samples) override {
        pending.erase(pending.begin(), pending.end() - std::min(qsizetype(pending.size()), samples));
        return true;
    }
    std::vector<double> pieces;
    double mostQueued = 0;
};
} // namespace

class TstWavHostileFiles : public QObject {
    Q_OBJECT

private slots:
    void limitsHoldBeforeDecoding_data() {
        QTest::addColumn<QByteArray>("wav");
        QTest::addColumn<int>("outputRate");
        QTest::addColumn<qint64>("samples");
        QTest::addRow("9 KB at 2 Hz") << tone(4500, 1, 2) << 8000 << qint64(0);
        QTest::addRow("3999 Hz") << tone(400, 1, 3999) << 8000 << qint64(0);
        QTest::addRow("4000 Hz") << tone(400, 1, 4000) << 8000 << qint64(800);
        QTest::addRow("384000 Hz") << tone(3840, 1, 384000) << 8000 << qint64(80);
        QTest::addRow("384001 Hz") << tone(3840, 1, 384001) << 8000 << qint64(0);
        QTest::addRow("4478498 Hz") << tone(3840, 1, 4478498) << 8000 << qint64(0);
        QTest::addRow("8 channels") << tone(400, 8, 8000) << 8000 << qint64(400);
        QTest::addRow("9 channels") << tone(400, 9, 8000) << 8000 << qint64(0);
        QByteArray liar = tone(27, 1, 8000).append('\x01');
        qToLittleEndian<quint32>(3'500'000'000U, liar.data() + 40);
        QTest::addRow("99 bytes claiming 3.5 GB of data") << liar << 8000 << qint64(27);
        QTest::addRow("longer than the length cap")
            << tone(4000 * (MaxSoundSeconds + 60), 1, 4000, Encoding::Pcm8) << 4000
            << qint64(4000) * MaxSoundSeconds;
    }
    void limitsHoldBeforeDecoding() {
        QFETCH(QByteArray, wav);
        QFETCH(int, outputRate);
        QFETCH(qint64, samples);
        QCOMPARE(decodedSamples(wav, outputRate), samples);
    }

    // A long sound starts with a piece that outlasts the device's first
    // cycles, and the rest is converted in short steps while it plays, never
    // far ahead of the device.
    void longSoundIsConvertedWhileItPlays() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lungo.wav"));
        TestSupport::writeFile(path, tone(48000 * 10, 2, 48000));
        PacedOutput out({44100, 2});
        cSound sound(out);
        sound.setFileName(path);
        sound.PlayFile(0);
        QVERIFY2(out.pieces.front() >= 30, qPrintable(QString::number(out.pieces.front())));
        QVERIFY(*std::max_element(out.pieces.begin() + 1, out.pieces.end()) <= 100);
        QVERIFY2(out.mostQueued <= 1100, qPrintable(QString::number(out.mostQueued)));
        QCOMPARE(std::lround(std::accumulate(out.pieces.begin(), out.pieces.end(), 0.0)), 10000L);
    }
};

MIRELVA_TEST(TstWavHostileFiles)
#include "wav_hostile_files.moc"
