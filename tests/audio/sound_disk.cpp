// Plays through SDL's real output, with the "disk" driver writing every
// sample the device takes into a file, in real time as a sound card would.
#include "audio/SdlAudioOutput.h"
#include "audio/cSound.h"
#include "audio/cVoce.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "fakes/WavTestFiles.h"

#include <QtTest>

#include <memory>

namespace {
// A sound no speech can produce: a ramp never 0, each seed in a range of its own.
std::vector<qint16> pattern(int frames, int channels, int seed) {
    std::vector<qint16> s;
    for (int i = 0; i < frames * channels; ++i) {
        s.push_back(qint16(seed * 4000 + 500 + (i * 37) % 3000));
    }
    return s;
}
} // namespace

class TstSoundDisk : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_diskFile;
    std::unique_ptr<SdlAudioOutput> m_output;

    // A WAV of the samples in the format (by default the device's own).
    QString writeWav(const std::vector<qint16>& samples, std::optional<AudioFormat> format = {}) {
        const AudioFormat f = format ? *format : m_output->format();
        const QString path = m_dir.filePath("suono.wav");
        TestSupport::writeFile(
            path, WavTestFiles::wav(samples, f.channels, f.sampleRate, WavTestFiles::Encoding::Pcm16));
        return path;
    }

    // What the device has taken so far. The driver's thread writes it a little
    // later, late on a busy machine: waits (at most 5 s) until the file has
    // grown by 200 ms of sound. Without the silence of an underrun (no test
    // sound holds a 0), which is no fault of ours.
    std::vector<qint16> heard() const {
        const qint64 target = QFileInfo(m_diskFile).size() +
                              m_output->format().sampleRate / 5 * 2 * m_output->format().channels;
        QElapsedTimer waited;
        waited.start();
        while (QFileInfo(m_diskFile).size() < target && waited.elapsed() < 5000) {
            QTest::qSleep(10);
        }
        const QByteArray raw = TestSupport::readFile(m_diskFile);
        std::vector<qint16> s(size_t(raw.size()) / 2);
        std::memcpy(s.data(), raw.constData(), s.size() * 2);
        s.erase(std::remove(s.begin(), s.end(), qint16(0)), s.end());
        return s;
    }

private slots:
    // A machine where SDL finds no usable audio: everything returns at once, silently.
    void initTestCase() {
        qputenv("SDL_AUDIODRIVER", "nessuno");
        {
            SdlAudioOutput none;
            QVERIFY(!none.hasDevice());
            const QDeadlineTimer deadline(15000);
            cSound sound(none);
            sound.setFileName(writeWav(pattern(22050 * 30, 1, 1), AudioFormat{22050, 1}));
            sound.PlayFile(0); // thirty seconds that no one can hear
            cVoce voce(none);
            QVERIFY(voce.Speak("Mela"));
            QVERIFY(!deadline.hasExpired());
        }
        // Read by SDL when its audio starts again.
        m_diskFile = m_dir.filePath("uscita.raw");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_diskFile));
        m_output = std::make_unique<SdlAudioOutput>();
        m_output->prepare(); // as the program does: opened on its own thread
        QVERIFY(m_output->hasDevice());
    }

    // A key's sound played with flags 0 has been taken whole when the call
    // returns; the speech comes after its last sample, nothing cut or mixed in.
    void soundIsHeardWholeBeforeTheSpeech() {
        const std::vector<qint16> tone =
            pattern(m_output->format().sampleRate / 4, m_output->format().channels, 1);
        cSound sound(*m_output);
        cVoce voce(*m_output);
        sound.setFileName(writeWav(tone));
        sound.PlayFile(0);
        QVERIFY(!m_output->isPlaying());
        QVERIFY(voce.Speak("Mela"));
        QVERIFY(!m_output->isPlaying());
        std::vector<qint16> s = heard();
        const auto start = std::search(s.begin(), s.end(), tone.begin(), tone.end());
        QVERIFY(start != s.end());
        // Mela is some hundreds of milliseconds of sound, all after the key's sound.
        const auto after = s.end() - (start + qsizetype(tone.size()));
        QVERIFY2(after > m_output->format().sampleRate * m_output->format().channels * 3 / 10,
                 qPrintable(QString::number(after)));
    }

    // StopSound and the end of the player stop at once: what got out is a small share of the five seconds.
    void stopAndReleaseDropWhatIsQueued() {
        {
            cSound sound(*m_output);
            sound.setFileName(
                writeWav(pattern(m_output->format().sampleRate * 5, m_output->format().channels, 4)));
            sound.PlayFile(cSound::SND_ASYNC);
            sound.StopSound();
            QVERIFY(!m_output->isPlaying());
            sound.PlayFile(cSound::SND_ASYNC);
            QVERIFY(m_output->isPlaying());
        }
        QVERIFY(!m_output->isPlaying());
        const std::vector<qint16> s = heard();
        const auto toneSamples = std::count_if(s.begin(), s.end(), [](qint16 v) { return v >= 16500; });
        QVERIFY2(toneSamples < m_output->format().sampleRate * m_output->format().channels,
                 qPrintable(QString::number(toneSamples)));
    }
};

MIRELVA_TEST(TstSoundDisk)
#include "sound_disk.moc"
