// What the device really takes: SDL's disk driver writes every sample handed
// to the device into a file, in real time, as a sound card takes them.
#include "audio/SdlAudioOutput.h"
#include "audio/cSound.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "fakes/WavTestFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using WavTestFiles::Encoding;

Q_DECLARE_METATYPE(Encoding)

class TstWavPlaybackDisk : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_diskFile;
    std::unique_ptr<SdlAudioOutput> m_output;

    // Plays a WAV with flags 0; gives what the device took meanwhile, from
    // the first sample of the sound on (all of it when the sound is silent).
    std::vector<qint16> play(const QByteArray& wav) {
        // The device writes the last buffers of the sound before on its own
        // thread, late on a busy machine: 100 ms more of file puts them behind us.
        const qint64 frameBytes = 2 * m_output->format().channels;
        const qint64 tail = QFileInfo(m_diskFile).size() + m_output->format().sampleRate / 10 * frameBytes;
        for (int wait = 0; wait < 500 && QFileInfo(m_diskFile).size() < tail; ++wait) {
            QTest::qSleep(10);
        }
        const qint64 before = QFileInfo(m_diskFile).size() / frameBytes * frameBytes;
        const QString path = m_dir.filePath(QStringLiteral("suono.wav"));
        TestSupport::writeFile(path, wav);
        cSound sound(*m_output);
        sound.setFileName(path);
        sound.PlayFile(0);
        const QByteArray raw = TestSupport::readFile(m_diskFile).mid(before);
        std::vector<qint16> s(size_t(raw.size()) / 2);
        std::memcpy(s.data(), raw.constData(), s.size() * 2);
        const auto first = std::find_if(s.begin(), s.end(), [](qint16 v) { return v != 0; });
        s.erase(s.begin(), first == s.end() ? s.begin() : first);
        return s;
    }

private slots:
    void initTestCase() {
        m_diskFile = m_dir.filePath("uscita.raw");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_diskFile));
        m_output = std::make_unique<SdlAudioOutput>();
        QVERIFY(m_output->hasDevice());
    }
    void cleanupTestCase() { m_output.reset(); }

    // Unsigned 8-bit sound is silent at 0x80: the end of the sound must fade
    // into that silence, not jump towards the lowest level.
    void eightBitSoundEndsInSilence_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("amplitude");
        QTest::addRow("silence at 11025 Hz") << 11025 << 0;
        QTest::addRow("silence at 8000 Hz") << 8000 << 0;
        QTest::addRow("tone at 11025 Hz") << 11025 << 12000;
        QTest::addRow("tone at 8000 Hz") << 8000 << 12000;
    }
    void eightBitSoundEndsInSilence() {
        QFETCH(int, rate);
        QFETCH(int, amplitude);
        const auto tone = WavTestFiles::sine(rate / 5, 1, rate, 440, amplitude);
        const std::vector<qint16> heard = play(WavTestFiles::wav(tone, 1, rate, Encoding::Pcm8));
        int peak = 0;
        for (const qint16 v : heard) {
            peak = std::max(peak, std::abs(int(v)));
        }
        // 8-bit steps and the resampler's ringing where the tone stops.
        QVERIFY2(peak <= amplitude * 5 / 4 + 300, qPrintable(QString::number(peak)));
    }

    // The first piece must carry the device through its first cycles while
    // the next is converted: no stretch of digital silence inside a tone.
    void noGapInsideASound_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<Encoding>("encoding");
        QTest::addRow("48 kHz stereo") << 48000 << Encoding::Pcm16;
        QTest::addRow("96 kHz stereo") << 96000 << Encoding::Pcm16;
        QTest::addRow("float stereo") << 48000 << Encoding::Float32;
    }
    void noGapInsideASound() {
        QFETCH(int, rate);
        QFETCH(Encoding, encoding);
        const int channels = m_output->format().channels;
        const size_t oneMs = size_t(m_output->format().sampleRate / 1000 * channels);
        const QByteArray wav =
            WavTestFiles::wav(WavTestFiles::sine(rate * 3 / 2, 2, rate), 2, rate, encoding);
        for (int repetition = 0; repetition < 3; ++repetition) {
            std::vector<qint16> heard = play(wav);
            const auto last = std::find_if(heard.rbegin(), heard.rend(), [](qint16 v) { return v != 0; });
            heard.erase(last.base(), heard.end());
            size_t run = 0;
            size_t longest = 0;
            size_t longestEnd = 0;
            for (size_t i = 0; i < heard.size(); ++i) {
                run = heard[i] == 0 ? run + 1 : 0;
                if (run > longest) {
                    longest = run;
                    longestEnd = i;
                }
            }
            QVERIFY2(heard.size() > 1400 * oneMs, qPrintable(QString::number(heard.size())));
            QVERIFY2(longest <= oneMs, qPrintable(QStringLiteral("%1 ms of silence %2 ms in, repetition %3")
                                                      .arg(double(longest) / oneMs)
                                                      .arg(double(longestEnd - longest) / oneMs)
                                                      .arg(repetition)));
        }
    }
};

MIRELVA_TEST(TstWavPlaybackDisk)
#include "wav_playback_disk.moc"
