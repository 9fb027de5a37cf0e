#include "audio/cVoce.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestRegistry.h"
#include "fakes/WavTestFiles.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
struct Spoken {
    std::vector<qint16> samples;
    double ms = 0;
    std::optional<cVoce::Error> error;
};

// Speaks through a fresh recording output and returns what was heard.
Spoken speak(const QString& text) {
    RecordingAudioOutput out;
    cVoce voce(out);
    const std::optional<cVoce::Error> error = voce.Speak(text);
    return {out.allHeard(), out.durationMs(out.allHeard().size()), error};
}
} // namespace

class TstVoce : public QObject {
    Q_OBJECT

private slots:
    void voiceChoice_data() {
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<QString>("voice"); // empty: no synthesizer
        QTest::addRow("the program's own: that voice is not here, Italian is")
            << cVoce::DefaultAttributes << QString("Italian");
        QTest::addRow("blanks and case") << " name = ITALIAN ; LANGUAGE = 0410 " << QString("Italian");
        QTest::addRow("broken parts") << "Gender=Female;Age;Language=410;;" << QString("Italian");
        QTest::addRow("named voice needing a missing program")
            << "Name=italian-mbrola-1;Language=410" << QString("Italian");
        QTest::addRow("a name of another language does not win")
            << "Name=Italian;Language=407" << QString("German");
        QTest::addRow("regional variant without a voice") << "Language=C0C" << QString("French (France)");
        QTest::addRow("unknown language code") << "Language=7F" << QString();
    }
    void voiceChoice() {
        QFETCH(QString, attributes);
        QFETCH(QString, voice);
        RecordingAudioOutput out;
        cVoce voce(out, attributes);
        QSignalSpy missing(&voce, &cVoce::VoiceNonDisponibile);
        QCoreApplication::processEvents();
        QCOMPARE(voce.VoiceName(), voice);
        QCOMPARE(missing.count(), voice.isEmpty() ? 1 : 0);
        QCOMPARE(voce.SpeakFlags(), voice.isEmpty() ? 0 : 10);
        const std::optional<cVoce::Error> error = voce.Speak("Mela");
        QCOMPARE(error.has_value(), voice.isEmpty());
        if (error) {
            // Every Speak fails the same way, nothing ever reaches the output.
            QCOMPARE(error->number, 91);
            QCOMPARE(voce.Speak(QString())->number, 91);
            QVERIFY(out.calls.isEmpty());
        } else {
            QVERIFY(WavTestFiles::peak(out.allHeard()) > 2000);
        }
    }

    // Texts that are not well-formed markup are still spoken whole; markup alone speaks nothing.
    void speaksTheText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minMs"); // 0: nothing to hear
        QTest::addColumn<int>("maxMs");
        QTest::addRow("accents") << "Città, perché è così" << 900 << 5000;
        QTest::addRow("bare less-than") << "Mela < pera" << 500 << 4000;
        QTest::addRow("markup broken by an ampersand")
            << "Pane & latte <silence msec=\"100\"/>" << 700 << 5000;
        QTest::addRow("empty") << "" << 0 << 0;
        QTest::addRow("silence only") << "<silence msec=\"300\"/>" << 0 << 1000;
    }
    void speaksTheText() {
        QFETCH(QString, text);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        const Spoken s = speak(text);
        QVERIFY(!s.error);
        QVERIFY2(minMs > 0 ? WavTestFiles::peak(s.samples) > 2000 : WavTestFiles::peak(s.samples) < 100,
                 qPrintable(QString::number(WavTestFiles::peak(s.samples))));
        QVERIFY2(s.ms >= minMs && s.ms <= maxMs, qPrintable(QString::number(s.ms)));
    }

    // Italian reads "&" as "e"; the synthesizer alone would say the English "and".
    void ampersandIsReadAsE() {
        const Spoken withSign = speak("Pane & latte");
        QVERIFY2(std::abs(withSign.ms - speak("Pane e latte").ms) < 30,
                 qPrintable(QString::number(withSign.ms)));
        QVERIFY(std::abs(withSign.ms - speak("Pane and latte").ms) > 30);
    }

    // Rate tags count from the program's rate -4: the slowest is about half as fast.
    void rateTagsCountFromTheProgramsRate() {
        const QString text = "Mela, pera e banana sono frutti";
        const double ratio = speak("<rate absspeed=\"-10\">" + text + "</rate>").ms / speak(text).ms;
        QVERIFY2(ratio >= 1.15 && ratio <= 2.5, qPrintable(QString::number(ratio)));
    }

    // A long text is spoken to its end, at a slow pace, word events and all.
    void tenThousandCharacters() {
        QString text;
        while (text.size() < 10000) {
            text += "mela pera casa cane gatto sole mare scuola acqua pane. ";
        }
        text.truncate(10000);
        RecordingAudioOutput out;
        cVoce voce(out);
        QSignalSpy wordEvents(&voce, &cVoce::Word);
        QVERIFY(!voce.Speak(text));
        const auto heard = out.allHeard();
        QVERIFY2(out.durationMs(heard.size()) > 5 * 60 * 1000, qPrintable(QString::number(heard.size())));
        QVERIFY(wordEvents.count() > 1700);
        QCOMPARE(wordEvents.last().at(2).toInt() + wordEvents.last().at(3).toInt(),
                 int(text.trimmed().size()));
        QVERIFY(WavTestFiles::peak(std::vector<qint16>(heard.end() - 3 * 22050, heard.end())) > 1000);
    }

    // Speech queued without waiting is dropped by the next Speak (flags 10) and by StopSpeech.
    void queuedSpeechIsDropped() {
        RecordingAudioOutput out;
        cVoce voce(out);
        voce.setSpeakFlags(cVoce::SVSFlagsAsync | cVoce::SVSFIsXML);
        QVERIFY(!voce.Speak("Mela"));
        QVERIFY(out.heard.empty());
        const size_t melaSamples = out.pending.size();
        voce.setSpeakFlags(10);
        QVERIFY(!voce.Speak("Mela"));
        QCOMPARE(out.heard.size(), size_t(1));
        // One Mela heard, not two (espeak-ng varies the length a little).
        QVERIFY2(out.heard[0].size() > melaSamples / 2 && out.heard[0].size() < melaSamples * 3 / 2,
                 qPrintable(QString::number(out.heard[0].size())));
        voce.setSpeakFlags(cVoce::SVSFlagsAsync);
        QVERIFY(!voce.Speak("Mela"));
        QVERIFY(!out.pending.empty());
        voce.StopSpeech();
        QVERIFY(out.pending.empty());
    }
};

MIRELVA_TEST(TstVoce)
#include "voce.moc"
