#include "audio/WavSource.h"
#include "config/FileExists.h"
#include "editor/RecordingName.h"
#include "editor/RecordingSession.h"
#include "editor/SoundRecorder.h"

#include "SetupFakes.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QtTest>

// What remains of a recording: "lead ms / sound ms / tail ms" around the
// stretch that is louder than silence, read from the samples kept.
class TstSoundRecorder : public QObject {
    Q_OBJECT
private slots:
    void trimming_data() {
        QTest::addColumn<QList<int>>("parts"); // ms, amplitude, ms, amplitude, ...
        QTest::addColumn<int>("keptMs");
        QTest::addRow("silence, word, silence") << QList<int>{800, 0, 300, 9000, 900, 0} << 100 + 300 + 150;
        QTest::addRow("word to the last sample") << QList<int>{400, 0, 300, 9000} << 100 + 300;
        QTest::addRow("two words keep the pause between")
            << QList<int>{500, 0, 200, 9000, 400, 0, 200, 9000, 500, 0} << 100 + 800 + 150;
        QTest::addRow("only hiss gives nothing") << QList<int>{2000, 400} << 0;
    }
    void trimming() {
        QFETCH(QList<int>, parts);
        QFETCH(int, keptMs);
        FakeCaptureSource mic;
        for (int i = 0; i + 1 < parts.size(); i += 2) {
            mic.hear(parts[i], parts[i + 1]);
        }
        SoundRecorder recorder(mic.rate);
        // Fed in pieces as the microphone delivers them.
        for (std::size_t at = 0; at < mic.heard.size(); at += 333) {
            recorder.feed(
                std::span(mic.heard).subspan(at, std::min<std::size_t>(333, mic.heard.size() - at)));
        }
        const std::size_t kept = recorder.trimmed().size();
        QVERIFY2(std::abs(int(kept) - keptMs * mic.rate / 1000) <= mic.rate / 100,
                 qPrintable(QString::number(kept)));
    }

    // A forgotten recording stops at the limit and keeps no more than it.
    void limit() {
        SoundRecorder recorder(1000);
        std::vector<qint16> loud(1000 * SoundRecorder::MaxSeconds + 500, 9000);
        recorder.feed(loud);
        QVERIFY(recorder.isFull());
        QCOMPARE(recorder.trimmed().size(), std::size_t(1000 * SoundRecorder::MaxSeconds));
        QCOMPARE(recorder.level(), 9000 / 32768.0);
    }

    void names_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::addRow("taken in another case") << "mela" << QStringList{"MELA.WAV"} << "mela_2.wav";
        QTest::addRow("accents and blanks") << "  Perché sì, però!" << QStringList{} << "perche_si_pero.wav";
        QTest::addRow("markup and wildcards") << "<b>*?</b>" << QStringList{} << "b_b.wav";
        QTest::addRow("no text") << "" << QStringList{"tasto7.wav"} << "tasto7_2.wav";
    }
    void names() {
        QFETCH(QString, text);
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString& name : existing) {
            QVERIFY(TestSupport::writeFile(dir.path() + '/' + name, "x"));
        }
        QCOMPARE(RecordingFileName(dir.path(), text, 7), dir.path() + '/' + expected);
    }

    // The file written is a 16-bit mono WAV of the trimmed recording at the
    // microphone's rate, in a sounds folder made when missing.
    void writesWav() {
        QTemporaryDir dir;
        FakeCaptureSource mic;
        mic.rate = 16000;
        RecordingSession session(mic);
        QVERIFY(session.start());
        mic.hear(500, 0);
        mic.hear(200, 12000);
        mic.hear(500, 0);
        const std::vector<qint16> expected = [&] {
            SoundRecorder r(mic.rate);
            r.feed(mic.heard);
            return r.trimmed();
        }();
        const Result<QString> result = session.finish(dir.path() + "/suoni", "Acqua", 1);
        QVERIFY(result);
        QCOMPARE(*result, dir.path() + "/suoni/acqua.wav");
        QVERIFY(!mic.started);
        std::vector<qint16> decoded;
        DecodeWav(TestSupport::readFile(*result), {16000, 1}, [&](std::span<const qint16> piece) {
            decoded.insert(decoded.end(), piece.begin(), piece.end());
        });
        QCOMPARE(decoded, expected);
        QCOMPARE(TestSupport::readFile(*result).mid(22, 6), QByteArray("\x01\x00\x80\x3e\x00\x00", 6));
    }

    // Only silence, or a folder that cannot be made: nothing is written.
    void nothingWritten() {
        QTemporaryDir dir;
        FakeCaptureSource mic;
        RecordingSession session(mic);
        QVERIFY(session.start());
        mic.hear(1000, 100);
        const Result<QString> silence = session.finish(dir.path(), "x", 1);
        QVERIFY(silence && silence->isEmpty());
        QVERIFY(session.start());
        mic.hear(300, 9000);
        QVERIFY(TestSupport::writeFile(dir.path() + "/file", "x"));
        const Result<QString> blocked = session.finish(dir.path() + "/file/suoni", "x", 1);
        QVERIFY(!blocked);
        QVERIFY(blocked.failure().message().contains(dir.path() + "/file/suoni/"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"file"});
    }
};

MIRELVA_TEST(TstSoundRecorder)
#include "sound_recorder.moc"
