#include "audio/AudioConverter.h"
#include "audio/WavDecoder.h"
#include "audio/WavSource.h"
#include "audio/cSound.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "fakes/WavTestFiles.h"

#include <QtTest>

#include <numbers>
#include <numeric>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using WavTestFiles::Encoding;

Q_DECLARE_METATYPE(Encoding)

namespace {
int maxDifference(const std::vector<qint16>& a, const std::vector<qint16>& b) {
    int worst = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
    }
    return worst;
}

QByteArray tone(int frames, int channels, int rate, Encoding encoding = Encoding::Pcm16,
                int amplitude = 16000) {
    return WavTestFiles::wav(WavTestFiles::sine(frames, channels, rate, 440, amplitude), channels, rate,
                             encoding);
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

class TstSound : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        TestSupport::writeFile(path, bytes);
        return path;
    }

    // What a WAV file plays with flags 0 on an output of the format.
    std::vector<qint16> play(const QByteArray& wav, AudioFormat format) {
        RecordingAudioOutput out(format);
        cSound sound(out);
        sound.setFileName(write("suono.wav", wav));
        sound.PlayFile(0);
        return out.allHeard();
    }

private slots:
    void decodesEveryEncoding_data() {
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<bool>("steady");
        QTest::addRow("PCM 8-bit mono") << Encoding::Pcm8 << 1 << 260 << false;
        QTest::addRow("PCM 24-bit stereo") << Encoding::Pcm24 << 2 << 1 << false;
        QTest::addRow("PCM 32-bit mono") << Encoding::Pcm32 << 1 << 1 << false;
        QTest::addRow("float mono") << Encoding::Float32 << 1 << 1 << false;
        QTest::addRow("A-law mono") << Encoding::ALaw << 1 << 600 << false;
        QTest::addRow("mu-law stereo") << Encoding::MuLaw << 2 << 600 << false;
        QTest::addRow("IMA ADPCM stereo") << Encoding::ImaAdpcm << 2 << 64 << true;
        QTest::addRow("MS ADPCM mono") << Encoding::MsAdpcm << 1 << 64 << true;
    }
    void decodesEveryEncoding() {
        QFETCH(Encoding, encoding);
        QFETCH(int, channels);
        QFETCH(int, tolerance);
        QFETCH(bool, steady);
        constexpr int Rate = 11025;
        // An ADPCM block holds 500 (MS) or 505 (IMA) frames.
        const int block = encoding == Encoding::MsAdpcm ? 500 : 505;
        const int frames = steady ? 5 * block : 3000;
        const std::vector<qint16> source = steady ? std::vector<qint16>(size_t(frames * channels), 8000)
                                                  : WavTestFiles::sine(frames, channels, Rate);
        const std::vector<qint16> heard =
            play(WavTestFiles::wav(source, channels, Rate, encoding), {Rate, channels});
        QCOMPARE(heard.size(), source.size());
        QVERIFY2(maxDifference(heard, source) <= tolerance,
                 qPrintable(QString::number(maxDifference(heard, source))));
    }

    void convertsToTheOutputFormat_data() {
        QTest::addColumn<int>("fileRate");
        QTest::addColumn<int>("fileChannels");
        QTest::addColumn<int>("outRate");
        QTest::addColumn<int>("outChannels");
        QTest::addRow("8 kHz mono to 44.1 kHz stereo") << 8000 << 1 << 44100 << 2;
        QTest::addRow("48 kHz stereo to 22.05 kHz mono") << 48000 << 2 << 22050 << 1;
        QTest::addRow("44.1 kHz 6 channels to stereo") << 44100 << 6 << 44100 << 2;
    }
    void convertsToTheOutputFormat() {
        QFETCH(int, fileRate);
        QFETCH(int, fileChannels);
        QFETCH(int, outRate);
        QFETCH(int, outChannels);
        const std::vector<qint16> tone = WavTestFiles::sine(fileRate / 2, fileChannels, fileRate);
        const std::vector<qint16> heard =
            play(WavTestFiles::wav(tone, fileChannels, fileRate, Encoding::Pcm16), {outRate, outChannels});
        // Converted in pieces, the sound is the one converted in one go but for
        // a shift of less than a sample at a piece's end; a drift or a repeat is more.
        AudioConverter whole(AUDIO_S16SYS, fileChannels, fileRate, {outRate, outChannels});
        std::vector<qint16> expected = whole.put(tone.data(), int(tone.size() * sizeof(qint16)));
        const std::vector<qint16> rest = whole.finish();
        expected.insert(expected.end(), rest.begin(), rest.end());
        QCOMPARE(heard.size(), expected.size());
        const double oneSampleShift = 16000 * 2 * std::numbers::pi * 440 / outRate;
        QVERIFY2(maxDifference(heard, expected) <= oneSampleShift,
                 qPrintable(QString::number(maxDifference(heard, expected))));
        QVERIFY2(std::abs(1000.0 * double(heard.size()) / (outRate * outChannels) - 500.0) < 10.0,
                 qPrintable(QString::number(heard.size())));
    }

    // Unsigned 8-bit sound is silent at 0x80: its end must fade into that
    // silence through the resampler, not jump towards the lowest level.
    void eightBitSoundEndsInSilence() {
        const std::vector<qint16> heard = play(tone(1600, 1, 8000, Encoding::Pcm8, 12000), {44100, 2});
        QVERIFY(heard.size() > 17000);
        QVERIFY2(WavTestFiles::peak(heard) <= 15300, qPrintable(QString::number(WavTestFiles::peak(heard))));
    }

    // Whatever a file holds or claims, it plays its sound, a bounded stretch of it, or nothing.
    void soundFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: no file; "folder", "fifo", "huge": made so
        QTest::addColumn<qint64>("samples");
        QByteArray liar = tone(27, 1, 8000).append('\x01');
        qToLittleEndian<quint32>(3'500'000'000U, liar.data() + 40);
        QTest::addRow("missing file") << "nessuno.wav" << QByteArray() << 0LL;
        QTest::addRow("empty name") << "" << QByteArray() << 0LL;
        QTest::addRow("folder") << "cartella.wav" << QByteArray("folder") << 0LL;
        QTest::addRow("/dev/zero") << "/dev/zero" << QByteArray() << 0LL;
        QTest::addRow("FIFO without a writer") << "tubo.wav" << QByteArray("fifo") << 0LL;
        QTest::addRow("file beyond the size limit") << "enorme.wav" << QByteArray("huge") << 0LL;
        QTest::addRow("picture with a WAV name")
            << "figura.wav" << QByteArray("GIF89a\x01\x00\x01\x00\x80", 11) << 0LL;
        QTest::addRow("0-byte file") << "vuoto.wav" << QByteArray("") << 0LL;
        QTest::addRow("WAV of 0 samples") << "muto.wav" << tone(0, 1, 8000) << 0LL;
        QTest::addRow("RIFF header only") << "testa.wav" << QByteArray("RIFF\x04\x00\x00\x00WAVE", 12) << 0LL;
        QTest::addRow("fmt with 0 channels")
            << "canali.wav" << tone(100, 1, 8000).replace(22, 1, QByteArray(1, 0)) << 0LL;
        QTest::addRow("MP3 in a WAV wrapper")
            << "mp3.wav" << tone(100, 1, 8000).replace(20, 1, "\x55") << 0LL;
        QTest::addRow("cut short: the frames it holds")
            << "tronco.wav" << tone(2000, 1, 8000).chopped(2 * 1200 + 1) << 799LL;
        QTest::addRow("3999 Hz") << "a.wav" << tone(400, 1, 3999) << 0LL;
        QTest::addRow("4000 Hz") << "a.wav" << tone(400, 1, 4000) << 800LL;
        QTest::addRow("384001 Hz") << "a.wav" << tone(3840, 1, 384001) << 0LL;
        QTest::addRow("8 channels") << "a.wav" << tone(400, 8, 8000) << 400LL;
        QTest::addRow("9 channels") << "a.wav" << tone(400, 9, 8000) << 0LL;
        QTest::addRow("99 bytes claiming 3.5 GB of data") << "a.wav" << liar << 27LL;
        QTest::addRow("31 minutes, cut at 30")
            << "a.wav" << tone(8000 * 31 * 60, 1, 8000, Encoding::Pcm8) << qint64(8000) * 30 * 60;
        QTest::addRow("name in another letter case") << "Campanello.WAV" << tone(500, 1, 8000) << 500LL;
    }
    void soundFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        // Played by the name in lower case, as layouts written on another system may name it.
        const QString path = name.isEmpty() || name.startsWith('/') ? name : m_dir.filePath(name.toLower());
        if (bytes == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (bytes == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (bytes == "huge") {
            QFile f(write(name, tone(100, 1, 8000)));
            QVERIFY(f.resize(MaxSoundFileBytes + 1)); // sparse: takes no room on disk
        } else if (!bytes.isNull()) {
            write(name, bytes);
        }
        RecordingAudioOutput out({8000, 1});
        cSound sound(out);
        sound.setFileName(path);
        // The address space held to what the process uses now plus 1 GB:
        // a huge allocation fails instead of passing unnoticed.
        rlimit old{};
        getrlimit(RLIMIT_AS, &old);
        const QByteArray pages = TestSupport::readFile(QStringLiteral("/proc/self/statm")).split(' ')[0];
        rlimit limit = old;
        limit.rlim_cur =
            std::min(old.rlim_max, rlim_t(pages.toULongLong() * sysconf(_SC_PAGESIZE)) + (1 << 30));
        setrlimit(RLIMIT_AS, &limit);
        sound.PlayFile(0);
        setrlimit(RLIMIT_AS, &old);
        QTEST(qint64(out.allHeard().size() + out.pending.size()), "samples");
    }

    // A file that gives no sound says why, for the log: whoever helps can tell a
    // damaged file from one in a format that is not played.
    void refusalsSayWhy_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::addRow("picture") << QByteArray("GIF89a\x01\x00\x01\x00\x80", 11) << "no RIFF WAVE header";
        QTest::addRow("header only") << QByteArray("RIFF\x04\x00\x00\x00WAVE", 12) << "no format chunk";
        QTest::addRow("format chunk cut")
            << tone(100, 1, 8000).left(30) << "format chunk of 16 bytes where 10";
        QTest::addRow("no data") << tone(100, 1, 8000).left(36) << "no data chunk";
        QTest::addRow("0 samples") << tone(0, 1, 8000) << "empty data chunk";
        QTest::addRow("3999 Hz") << tone(400, 1, 3999) << "3999 Hz, 1 channels";
        QTest::addRow("0 channels") << tone(100, 1, 8000).replace(22, 1, QByteArray(1, 0)) << "0 channels";
        QTest::addRow("MP3 inside") << tone(100, 1, 8000).replace(20, 1, "\x55") << "SDL's loader refuses";
        QTest::addRow("plays") << tone(100, 1, 8000) << QString();
    }
    void refusalsSayWhy() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        WavDecoder decoder(bytes, {8000, 1});
        QCOMPARE(decoder.next().empty(), !reason.isEmpty());
        QCOMPARE(decoder.status().ok(), reason.isEmpty());
        QVERIFY2(decoder.status().detail().contains(reason), qPrintable(decoder.status().detail()));
    }

    // A long sound starts with a piece that outlasts the device's first
    // cycles; the rest is converted in short steps while it plays.
    void longSoundIsConvertedWhileItPlays() {
        PacedOutput out({44100, 2});
        cSound sound(out);
        sound.setFileName(write("lungo.wav", tone(48000 * 10, 2, 48000)));
        sound.PlayFile(0);
        QVERIFY2(out.pieces.front() >= 30, qPrintable(QString::number(out.pieces.front())));
        QVERIFY(*std::max_element(out.pieces.begin() + 1, out.pieces.end()) <= 100);
        QVERIFY2(out.mostQueued <= 1100, qPrintable(QString::number(out.mostQueued)));
        QCOMPARE(std::lround(std::accumulate(out.pieces.begin(), out.pieces.end(), 0.0)), 10000L);
    }

    // One sound at a time: with flags 0 each is heard whole, one after the other; a new
    // sound replaces one still queued.
    void oneSoundAtATime() {
        RecordingAudioOutput out({11025, 1});
        cSound sound(out);
        const QString first = write("uno.wav", tone(300, 1, 11025));
        const QString second = write("due.wav", tone(200, 1, 11025));
        for (const quint32 flags : {0U, quint32(cSound::SND_ASYNC)}) {
            sound.setFileName(first);
            sound.PlayFile(flags);
            sound.setFileName(second);
            sound.PlayFile(flags);
        }
        QCOMPARE(out.allHeard().size(), size_t(500));
        QCOMPARE(out.pending.size(), size_t(200));
        sound.PlayFile(0);
        QCOMPARE(out.allHeard().size(), size_t(700));
    }
};

MIRELVA_TEST(TstSound)
#include "sound.moc"
