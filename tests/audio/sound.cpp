#include "audio/AudioConverter.h"
#include "audio/cSound.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestSupport.h"
#include "audio/WavSource.h"
#include "fakes/WavTestFiles.h"
#include "fakes/TestRegistry.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

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

int peak(const std::vector<qint16>& s) {
    int p = 0;
    for (qint16 v : s) {
        p = std::max(p, std::abs(int(v)));
    }
    return p;
}
} // namespace

class TstSound : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        TestSupport::writeFile(path, bytes);
        return path;
    }

private slots:
    void decodesEveryEncoding_data() {
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<bool>("steady");
        QTest::addRow("PCM 8-bit mono") << Encoding::Pcm8 << 1 << 260 << false;
        QTest::addRow("PCM 16-bit mono") << Encoding::Pcm16 << 1 << 0 << false;
        QTest::addRow("PCM 16-bit stereo") << Encoding::Pcm16 << 2 << 0 << false;
        QTest::addRow("PCM 24-bit stereo") << Encoding::Pcm24 << 2 << 1 << false;
        QTest::addRow("PCM 32-bit mono") << Encoding::Pcm32 << 1 << 1 << false;
        QTest::addRow("float mono") << Encoding::Float32 << 1 << 1 << false;
        QTest::addRow("A-law mono") << Encoding::ALaw << 1 << 600 << false;
        QTest::addRow("mu-law stereo") << Encoding::MuLaw << 2 << 600 << false;
        QTest::addRow("IMA ADPCM mono") << Encoding::ImaAdpcm << 1 << 64 << true;
        QTest::addRow("IMA ADPCM stereo") << Encoding::ImaAdpcm << 2 << 64 << true;
        QTest::addRow("MS ADPCM mono") << Encoding::MsAdpcm << 1 << 64 << true;
    }
    void decodesEveryEncoding() {
        QFETCH(Encoding, encoding);
        QFETCH(int, channels);
        QFETCH(int, tolerance);
        QFETCH(bool, steady);
        constexpr int Rate = 11025;
        // ADPCM blocks of 256 bytes hold 500 (MS), 505 or 249 (IMA mono, stereo) frames.
        const int block = encoding == Encoding::MsAdpcm ? 500 : channels == 2 ? 249 : 505;
        const int frames = steady ? 5 * block : 3000;
        const std::vector<qint16> source = steady ? std::vector<qint16>(size_t(frames * channels), 8000)
                                                  : WavTestFiles::sine(frames, channels, Rate);
        RecordingAudioOutput out({Rate, channels});
        cSound sound(out);
        sound.setFileName(write("tone.wav", WavTestFiles::wav(source, channels, Rate, encoding)));
        sound.PlayFile(0);
        const std::vector<qint16> heard = out.allHeard();
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
        QTest::addRow("22.05 kHz mono to 48 kHz mono") << 22050 << 1 << 48000 << 1;
        QTest::addRow("44.1 kHz 6 channels to stereo") << 44100 << 6 << 44100 << 2;
    }
    void convertsToTheOutputFormat() {
        QFETCH(int, fileRate);
        QFETCH(int, fileChannels);
        QFETCH(int, outRate);
        QFETCH(int, outChannels);
        const int frames = fileRate / 2;
        RecordingAudioOutput out({outRate, outChannels});
        cSound sound(out);
        const std::vector<qint16> tone = WavTestFiles::sine(frames, fileChannels, fileRate);
        sound.setFileName(
            write("rate.wav", WavTestFiles::wav(tone, fileChannels, fileRate, Encoding::Pcm16)));
        sound.PlayFile(0);
        const std::vector<qint16> heard = out.allHeard();
        // Queued in pieces as it is converted, the sound is the same as converted
        // in one go (down to one step of rounding where channels are mixed).
        AudioConverter whole(AUDIO_S16SYS, fileChannels, fileRate, {outRate, outChannels});
        std::vector<qint16> expected = whole.put(tone.data(), int(tone.size() * sizeof(qint16)));
        const std::vector<qint16> rest = whole.finish();
        expected.insert(expected.end(), rest.begin(), rest.end());
        QCOMPARE(heard.size(), expected.size());
        QVERIFY(maxDifference(heard, expected) <= 1);
        QVERIFY(heard.size() % size_t(outChannels) == 0);
        const double ms = out.durationMs(heard.size());
        QVERIFY2(std::abs(ms - 500.0) < 10.0, qPrintable(QString::number(ms)));
        // The end of the sound is there too (a resampler may hold it back).
        const size_t lastTwentyMs = size_t(outRate / 50 * outChannels);
        QVERIFY(peak(std::vector<qint16>(heard.end() - qsizetype(lastTwentyMs), heard.end())) > 8000);
        // Every channel carries the tone; no channel is lost or made silent.
        for (int c = 0; c < outChannels; ++c) {
            std::vector<qint16> channel;
            for (size_t i = size_t(c); i < heard.size(); i += size_t(outChannels)) {
                channel.push_back(heard[i]);
            }
            QVERIFY2(peak(channel) > 8000, qPrintable(QString::number(peak(channel))));
        }
    }

    // The next sound starts only after the first has been heard completely.
    void soundsPlayOneAfterTheOther() {
        RecordingAudioOutput out({11025, 1});
        cSound sound(out);
        const auto first = WavTestFiles::sine(1000, 1, 11025, 440);
        const auto second = WavTestFiles::sine(700, 1, 11025, 880);
        const QString a = write("a.wav", WavTestFiles::wav(first, 1, 11025, Encoding::Pcm16));
        const QString b = write("b.wav", WavTestFiles::wav(second, 1, 11025, Encoding::Pcm16));
        sound.setFileName(a);
        sound.PlayFile(0);
        sound.setFileName(b);
        sound.PlayFile(0);
        QCOMPARE(out.heard.size(), size_t(2));
        QCOMPARE(out.heard[0], first);
        QCOMPARE(out.heard[1], second);
        QVERIFY(out.trace().endsWith("ED"));
        QVERIFY(out.pending.empty());
    }

    void badInputPlaysNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addRow("missing file") << "missing";
        QTest::addRow("empty name") << "empty";
        QTest::addRow("folder") << "folder";
        QTest::addRow("GIF with a WAV name") << "gif";
        QTest::addRow("0-byte file") << "zero";
        QTest::addRow("WAV of 0 samples") << "nosamples";
        QTest::addRow("RIFF header only") << "headeronly";
        QTest::addRow("fmt with 0 channels") << "nochannels";
        QTest::addRow("unknown encoding") << "unknown";
        QTest::addRow("/dev/zero") << "devzero";
        QTest::addRow("FIFO without a writer") << "fifo";
        QTest::addRow("file beyond the size limit") << "huge";
    }
    void badInputPlaysNothing() {
        QFETCH(QString, kind);
        QString path;
        if (kind == "missing") {
            path = m_dir.filePath("nessuno.wav");
        } else if (kind == "folder") {
            path = m_dir.filePath("cartella.wav");
            QVERIFY(QDir().mkpath(path));
        } else if (kind == "gif") {
            path =
                write("figura.wav", QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!"
                                               "\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00"
                                               "\x00\x02\x02\x44\x01\x00;",
                                               43));
        } else if (kind == "zero") {
            path = write("vuoto.wav", {});
        } else if (kind == "nosamples") {
            path = write("muto.wav", WavTestFiles::wav({}, 1, 22050, Encoding::Pcm16));
        } else if (kind == "headeronly") {
            path = write("testa.wav", QByteArray("RIFF\x04\x00\x00\x00WAVE", 12));
        } else if (kind == "nochannels") {
            QByteArray wav = WavTestFiles::wav(WavTestFiles::sine(100, 1, 8000), 1, 8000, Encoding::Pcm16);
            wav[22] = 0; // fmt channel count
            path = write("canali.wav", wav);
        } else if (kind == "unknown") {
            QByteArray wav = WavTestFiles::wav(WavTestFiles::sine(100, 1, 8000), 1, 8000, Encoding::Pcm16);
            wav[20] = char(0x55); // MP3 in a WAV wrapper
            path = write("mp3.wav", wav);
        } else if (kind == "devzero") {
            path = "/dev/zero";
        } else if (kind == "fifo") {
            path = m_dir.filePath("tubo.wav");
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "huge") {
            path = m_dir.filePath("enorme.wav");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(WavTestFiles::wav(WavTestFiles::sine(100, 1, 8000), 1, 8000, Encoding::Pcm16));
            QVERIFY(f.resize(MaxSoundFileBytes + 1)); // sparse: takes no room on disk
        }
        RecordingAudioOutput out;
        cSound sound(out);
        sound.setFileName(path);
        sound.PlayFile(0);
        QVERIFY(out.allHeard().empty());
        QVERIFY(out.pending.empty());
        QVERIFY(!out.calls.contains(RecordingAudioOutput::Call::Enqueue));
    }

    // A WAV cut short in its data plays the frames it holds.
    void truncatedWavPlaysWhatItHolds() {
        const auto source = WavTestFiles::sine(2000, 1, 11025);
        QByteArray wav = WavTestFiles::wav(source, 1, 11025, Encoding::Pcm16);
        wav.chop(2 * 1200 + 1); // cut 1200 frames and half a sample
        RecordingAudioOutput out({11025, 1});
        cSound sound(out);
        sound.setFileName(write("tronco.wav", wav));
        sound.PlayFile(0);
        const auto heard = out.allHeard();
        QCOMPARE(heard.size(), size_t(799));
        QCOMPARE(maxDifference(heard, source), 0);
    }

    void fileNameIgnoresCase() {
        const auto source = WavTestFiles::sine(500, 1, 11025);
        write("Campanello.WAV", WavTestFiles::wav(source, 1, 11025, Encoding::Pcm16));
        RecordingAudioOutput out({11025, 1});
        cSound sound(out);
        sound.setFileName(m_dir.filePath("campanello.wav"));
        sound.PlayFile(0);
        QCOMPARE(out.allHeard(), source);
    }

    void playBufferPlaysSoundData_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("plays");
        QTest::addRow("WAV in memory")
            << WavTestFiles::wav(WavTestFiles::sine(300, 1, 11025), 1, 11025, Encoding::Pcm16) << true;
        QTest::addRow("empty") << QByteArray() << false;
        QTest::addRow("text") << QByteArray("non è un suono") << false;
    }
    void playBufferPlaysSoundData() {
        QFETCH(QByteArray, data);
        QFETCH(bool, plays);
        RecordingAudioOutput out({11025, 1});
        cSound sound(out);
        sound.setSoundData(data);
        QCOMPARE(sound.SoundData(), data);
        sound.PlayBuffer(cSound::SND_MEMORY);
        QCOMPARE(out.allHeard().size(), plays ? size_t(300) : size_t(0));
    }

    void flags_data() {
        QTest::addColumn<quint32>("firstFlags");
        QTest::addColumn<quint32>("secondFlags");
        QTest::addColumn<int>("pendingFrames");
        QTest::addColumn<int>("heardFrames");
        // The first sound (300 frames) is queued without waiting; then the second (200).
        QTest::addRow("async then sync: the new sound replaces the old")
            << quint32(cSound::SND_ASYNC) << quint32(0) << 0 << 200;
        QTest::addRow("async then async")
            << quint32(cSound::SND_ASYNC) << quint32(cSound::SND_ASYNC) << 200 << 0;
        QTest::addRow("nostop leaves a playing sound alone")
            << quint32(cSound::SND_ASYNC) << quint32(cSound::SND_NOSTOP) << 300 << 0;
        QTest::addRow("purge stops and plays nothing")
            << quint32(cSound::SND_ASYNC) << quint32(cSound::SND_PURGE) << 0 << 0;
        QTest::addRow("sync then nostop plays") << quint32(0) << quint32(cSound::SND_NOSTOP) << 0 << 500;
    }
    void flags() {
        QFETCH(quint32, firstFlags);
        QFETCH(quint32, secondFlags);
        QFETCH(int, pendingFrames);
        QFETCH(int, heardFrames);
        RecordingAudioOutput out({11025, 1});
        cSound sound(out);
        sound.setFileName(write(
            "uno.wav", WavTestFiles::wav(WavTestFiles::sine(300, 1, 11025), 1, 11025, Encoding::Pcm16)));
        sound.PlayFile(firstFlags);
        sound.setFileName(write(
            "due.wav", WavTestFiles::wav(WavTestFiles::sine(200, 1, 11025), 1, 11025, Encoding::Pcm16)));
        sound.PlayFile(secondFlags);
        QCOMPARE(int(out.pending.size()), pendingFrames);
        QCOMPARE(int(out.allHeard().size()), heardFrames);
    }

    void stopAndReleasePurge() {
        RecordingAudioOutput out({11025, 1});
        {
            cSound sound(out);
            sound.setFileName(write("lungo.wav", WavTestFiles::wav(WavTestFiles::sine(900, 1, 11025), 1,
                                                                   11025, Encoding::Pcm16)));
            sound.PlayFile(cSound::SND_ASYNC);
            QCOMPARE(out.pending.size(), size_t(900));
            sound.StopSound();
            QVERIFY(out.pending.empty());
            sound.PlayFile(cSound::SND_ASYNC);
            QCOMPARE(out.pending.size(), size_t(900));
        }
        QVERIFY(out.pending.empty());
        QVERIFY(out.allHeard().empty());
    }
};

MIRELVA_TEST(TstSound)
#include "sound.moc"
