// Plays through SDL's real output, with the "disk" driver writing every
// sample handed to the device into a file, so that the test sees what a
// listener would hear and in which order.
#include "audio/SdlAudioOutput.h"
#include "audio/cSound.h"
#include "audio/cVoce.h"
#include "fakes/TestSupport.h"
#include "fakes/WavTestFiles.h"
#include "fakes/TestRegistry.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
// A sound no speech can produce: a ramp never 0, each seed (1 to 7) in a
// range of values of its own so that no pattern can be found in another.
std::vector<qint16> pattern(int frames, int channels, int seed) {
    std::vector<qint16> s;
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            s.push_back(qint16(seed * 4000 + 500 + (i * 37 + c * 11) % 3000));
        }
    }
    return s;
}

std::vector<qint16> samplesOf(const QByteArray& raw) {
    std::vector<qint16> s(size_t(raw.size()) / 2);
    std::memcpy(s.data(), raw.constData(), s.size() * 2);
    return s;
}

// Index of `needle` in `hay`, or -1.
qsizetype find(const std::vector<qint16>& hay, const std::vector<qint16>& needle, qsizetype from = 0) {
    const auto it = std::search(hay.begin() + from, hay.end(), needle.begin(), needle.end());
    return it == hay.end() ? -1 : qsizetype(it - hay.begin());
}

qsizetype firstNonZero(const std::vector<qint16>& s, qsizetype from) {
    for (qsizetype i = from; i < qsizetype(s.size()); ++i) {
        if (s[size_t(i)] != 0) {
            return i;
        }
    }
    return -1;
}
} // namespace

class TstSoundDisk : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_diskFile;
    std::unique_ptr<SdlAudioOutput> m_output;

    std::vector<qint16> heardSoFar() const { return samplesOf(TestSupport::readFile(m_diskFile)); }

    QString writeWav(const QString& name, const std::vector<qint16>& samples) {
        const AudioFormat f = m_output->format();
        const QString path = m_dir.filePath(name);
        TestSupport::writeFile(
            path, WavTestFiles::wav(samples, f.channels, f.sampleRate, WavTestFiles::Encoding::Pcm16));
        return path;
    }

private slots:
    void initTestCase() {
        m_diskFile = m_dir.filePath("uscita.raw");
        // Read by SDL when its audio starts, which happens in SdlAudioOutput.
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_diskFile));
        m_output = std::make_unique<SdlAudioOutput>();
        // As the program does: the device opens on its own thread, the first use waits for it.
        m_output->prepare();
        QVERIFY(m_output->hasDevice());
        QVERIFY(m_output->format().sampleRate > 0);
    }

    void cleanupTestCase() { m_output.reset(); }

    // A sound played with flags 0 has reached the device completely when the
    // call returns, and the speech that follows starts after its last sample.
    void soundIsHeardWholeBeforeTheSpeech() {
        const int channels = m_output->format().channels;
        const std::vector<qint16> tone = pattern(m_output->format().sampleRate / 4, channels, 1);
        cSound sound(*m_output);
        cVoce voce(*m_output);
        sound.setFileName(writeWav("chiave.wav", tone));
        sound.PlayFile(0);

        std::vector<qint16> heard = heardSoFar();
        const qsizetype start = find(heard, tone);
        QVERIFY2(start >= 0, "the whole sound is out when PlayFile returns");
        const qsizetype end = start + qsizetype(tone.size());
        QCOMPARE(firstNonZero(heard, end), qsizetype(-1)); // silence after it, nothing else

        QVERIFY(!voce.Speak("Mela"));
        heard = heardSoFar();
        QCOMPARE(find(heard, tone), start);
        const qsizetype speech = firstNonZero(heard, end);
        QVERIFY2(speech >= end, "the speech follows the sound");
        // Mela is some hundreds of milliseconds of sound, all of it out too.
        const qsizetype lastSpoken = [&] {
            for (qsizetype i = qsizetype(heard.size()) - 1; i >= 0; --i) {
                if (heard[size_t(i)] != 0) {
                    return i;
                }
            }
            return qsizetype(-1);
        }();
        const double spokenMs =
            1000.0 * double(lastSpoken - speech) / (m_output->format().sampleRate * channels);
        QVERIFY2(spokenMs > 300, qPrintable(QString::number(spokenMs)));
    }

    // Two keys in a row: the second sound starts after the first has ended.
    void soundsFollowEachOther() {
        const int channels = m_output->format().channels;
        const std::vector<qint16> first = pattern(m_output->format().sampleRate / 5, channels, 2);
        const std::vector<qint16> second = pattern(m_output->format().sampleRate / 7, channels, 3);
        cSound sound(*m_output);
        sound.setFileName(writeWav("primo.wav", first));
        sound.PlayFile(0);
        sound.setFileName(writeWav("secondo.wav", second));
        sound.PlayFile(0);
        const std::vector<qint16> heard = heardSoFar();
        const qsizetype a = find(heard, first);
        const qsizetype b = find(heard, second);
        QVERIFY(a >= 0);
        QVERIFY(b >= a + qsizetype(first.size()));
    }

    void stopSoundDropsWhatIsQueued() {
        const std::vector<qint16> longTone =
            pattern(m_output->format().sampleRate * 5, m_output->format().channels, 4);
        cSound sound(*m_output);
        sound.setFileName(writeWav("lungo.wav", longTone));
        sound.PlayFile(cSound::SND_ASYNC);
        QVERIFY(m_output->isPlaying());
        sound.StopSound();
        QVERIFY(!m_output->isPlaying());
        m_output->drain();
        QCOMPARE(find(heardSoFar(), longTone), qsizetype(-1));
    }
};

MIRELVA_TEST(TstSoundDisk)
#include "sound_disk.moc"
