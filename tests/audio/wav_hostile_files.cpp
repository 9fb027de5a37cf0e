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

#include <sys/resource.h>
#include <unistd.h>

using WavTestFiles::Encoding;

namespace {
// Holds the process's address space to what it uses now plus `extra`
// bytes, so that a huge allocation fails instead of passing unnoticed.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(rlim_t extra) {
        getrlimit(RLIMIT_AS, &m_old);
        const rlim_t used =
            TestSupport::readFile(QStringLiteral("/proc/self/statm")).split(' ')[0].toULongLong() *
            rlim_t(sysconf(_SC_PAGESIZE));
        rlimit limit = m_old;
        limit.rlim_cur = std::min(m_old.rlim_max, used + extra);
        setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &m_old); }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

private:
    rlimit m_old{};
};

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
        played += pending.size() - std::min(pending.size(), size_t(samples));
        pending.erase(pending.begin(), pending.end() - std::min(qsizetype(pending.size()), samples));
        return true;
    }
    std::vector<double> pieces;
    double mostQueued = 0;
    size_t played = 0;
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
        qint64 given = 0;
        {
            const AddressSpaceLimit limit(1024ULL * 1024 * 1024);
            DecodeWav(wav, {outputRate, 1},
                      [&](std::span<const qint16> piece) { given += qint64(piece.size()); });
        }
        QCOMPARE(given, samples);
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
        QVERIFY2(out.mostQueued <= 500, qPrintable(QString::number(out.mostQueued)));
        QCOMPARE(out.played + out.allHeard().size(), size_t(44100 * 10 * 2));
    }
};

MIRELVA_TEST(TstWavHostileFiles)
#include "wav_hostile_files.moc"
