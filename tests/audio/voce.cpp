#include "audio/cVoce.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestRegistry.h"
#include "fakes/WavTestFiles.h"

#include <QtTest>

namespace {
using Engine = VoiceChoice::Engine;

// The engines the contract is run against, each with an Italian voice.
const std::pair<const char*, const char*> Engines[] = {
    {"espeak", "espeak"},
    {"espeak variant", "espeak:it+f3"},
    {"festival", "festival:lp_diphone"},
    {"festival male, by its package", "festival:itapc16k"},
    {"speechd", "speechd"},
};

struct Spoken {
    std::vector<qint16> samples;
    double ms = 0;
    Outcome error;
};

// Speaks through a fresh recording output and returns what was heard.
// The runtime's error 91, which every Speak without a synthesizer reports.
const QString ObjectNotSet = QStringLiteral("Variabile oggetto o variabile del blocco With non impostata");

Spoken speak(const QString& text, const VoiceChoice& choice = {}) {
    RecordingAudioOutput out;
    cVoce voce(out, choice);
    Outcome error = voce.Speak(text);
    return {out.allHeard(), out.durationMs(out.allHeard().size()), std::move(error)};
}

// The row's output and voice of the contract; skips the row when its engine or voice is not here.
#define OPEN_VOICE(out, voce)                                                                                \
    QFETCH(QString, choice);                                                                                 \
    RecordingAudioOutput out;                                                                                \
    cVoce voce(out, *VoiceChoice::parse(choice));                                                            \
    if (!voce.notice().isEmpty()) {                                                                          \
        QSKIP(qPrintable(QStringLiteral("not on this computer: ") + voce.notice()));                         \
    }

bool makesSamples(const cVoce& voce) {
    return voce.choice().engine != Engine::SpeechDispatcher;
}
} // namespace

class TstVoce : public QObject {
    Q_OBJECT

    void engineRows() {
        QTest::addColumn<QString>("choice");
        for (const auto& [name, choice] : Engines) {
            QTest::addRow("%s", name) << QString(choice);
        }
    }

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
        QCOMPARE(voce.VoiceName(), voice);
        QCOMPARE(voce.SpeakFlags(), voice.isEmpty() ? 0 : 10);
        const Outcome error = voce.Speak("Mela");
        QCOMPARE(!error, voice.isEmpty());
        if (!error) {
            // Every Speak fails the same way, nothing ever reaches the output.
            QCOMPARE(error.message(), ObjectNotSet);
            QCOMPARE(voce.Speak(QString()).message(), ObjectNotSet);
            QVERIFY(out.calls.isEmpty());
        } else {
            QVERIFY(WavTestFiles::peak(out.allHeard()) > 2000);
        }
    }

    // A key's sound, then its speech: what the output holds is heard before the
    // speech starts, and the speech is heard whole before Speak returns.
    void orderAfterASound_data() { engineRows(); }
    void orderAfterASound() {
        OPEN_VOICE(out, voce);
        const std::vector<qint16> sound(2205, 7777);
        out.enqueue(sound);
        QVERIFY(voce.Speak("Mela"));
        QVERIFY(!out.heard.empty());
        QCOMPARE(std::vector<qint16>(out.heard[0].begin(), out.heard[0].begin() + 2205), sound);
        QCOMPARE(out.calls.last(), RecordingAudioOutput::Call::Drain);
        QVERIFY(out.pending.empty());
        if (makesSamples(voce)) {
            QVERIFY(WavTestFiles::peak(std::vector<qint16>(out.heard[0].begin() + 2205, out.heard[0].end())) >
                    2000);
        }
    }

    // Tags change how the text is said and are never said themselves: the
    // marked-up text lasts as long as its words plus its pause.
    void markupIsNeverSpoken_data() { engineRows(); }
    void markupIsNeverSpoken() {
        OPEN_VOICE(out, voce);
        QVERIFY(voce.Speak("Mela pera"));
        const double plainMs = out.durationMs(out.allHeard().size());
        out.heard.clear();
        QVERIFY(voce.Speak("<emph>Mela</emph> <silence msec=\"700\"/><rate speed=\"2\"><volume level=\"80\">"
                           "<pitch middle=\"3\">pera</pitch></volume></rate>"));
        if (!makesSamples(voce)) {
            return; // the service plays it: nothing to measure here
        }
        const double markedMs = out.durationMs(out.allHeard().size());
        // Each piece said on its own may bring a breath of its own (Festival).
        QVERIFY2(markedMs - plainMs > 450 && markedMs - plainMs < 2500,
                 qPrintable(QStringLiteral("%1 against %2").arg(markedMs).arg(plainMs)));
    }

    // Speech started without waiting is cut by StopSpeech and by the next Speak.
    void cut_data() { engineRows(); }
    void cut() {
        OPEN_VOICE(out, voce);
        voce.setSpeakFlags(cVoce::SVSFlagsAsync | cVoce::SVSFIsXML);
        QVERIFY(voce.Speak("Mela, pera, banana, arancia e limone"));
        const size_t longSpeech = out.pending.size();
        if (makesSamples(voce)) {
            QVERIFY(out.heard.empty());
            QVERIFY(longSpeech > 0);
        }
        voce.StopSpeech();
        QVERIFY(out.pending.empty());
        // After a cut the next speech is heard alone, whole.
        voce.setSpeakFlags(10);
        QVERIFY(voce.Speak("Mela"));
        QVERIFY(out.heard.back().size() < longSpeech / 2 || !makesSamples(voce));
        // Speech left waiting is dropped by the next Speak too.
        voce.setSpeakFlags(cVoce::SVSFlagsAsync | cVoce::SVSFIsXML);
        QVERIFY(voce.Speak("Mela, pera, banana, arancia e limone"));
        voce.setSpeakFlags(10);
        QVERIFY(voce.Speak("Mela"));
        QVERIFY(out.heard.back().size() < longSpeech / 2 || !makesSamples(voce));
    }

    // An empty text speaks nothing; a text of tags alone only its pause.
    void emptyText_data() { engineRows(); }
    void emptyText() {
        OPEN_VOICE(out, voce);
        QVERIFY(voce.Speak(QString()));
        QVERIFY(out.calls.isEmpty());
        QVERIFY(voce.Speak("<emph></emph><silence msec=\"300\"/>"));
        QVERIFY(WavTestFiles::peak(out.allHeard()) < 100);
        QVERIFY(out.durationMs(out.allHeard().size()) < 1000);
    }

    // A long text is spoken to its end; a single very long word neither
    // crashes the synthesizer nor is dropped.
    void veryLongText_data() { engineRows(); }
    void veryLongText() {
        OPEN_VOICE(out, voce);
        QString text;
        while (text.size() < 3000) {
            text += "mela pera casa cane gatto sole mare scuola acqua pane. ";
        }
        text += QString(3000, u'a') + " fine";
        QVERIFY(voce.Speak(text));
        if (!makesSamples(voce)) {
            return;
        }
        const std::vector<qint16> heard = out.allHeard();
        QVERIFY2(out.durationMs(heard.size()) > 2 * 60 * 1000, qPrintable(QString::number(heard.size())));
        QVERIFY(WavTestFiles::peak(std::vector<qint16>(heard.end() - 3 * 22050, heard.end())) > 1000);
    }

    // Letters of other alphabets, symbols and control characters: the rest is still said.
    void nonLatinCharacters_data() { engineRows(); }
    void nonLatinCharacters() {
        OPEN_VOICE(out, voce);
        QVERIFY(voce.Speak(QString::fromUtf8("Привет 你好 مرحبا ÿþð ÀÈÌÒÙ ñ ß 50% \x01\x02 € 😀 Mela")));
        if (makesSamples(voce)) {
            QVERIFY(WavTestFiles::peak(out.allHeard()) > 2000);
        }
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

    // The user's rate, pitch and volume reach the voice.
    void tuningReachesTheVoice() {
        const VoiceChoice slow = *VoiceChoice::parse("espeak;velocita=-10;volume=30");
        const Spoken normal = speak("Mela, pera e banana");
        const Spoken tuned = speak("Mela, pera e banana", slow);
        QVERIFY2(tuned.ms > normal.ms * 1.3, qPrintable(QString::number(tuned.ms)));
        QVERIFY(WavTestFiles::peak(tuned.samples) < WavTestFiles::peak(normal.samples) * 6 / 10);
    }
};

MIRELVA_TEST(TstVoce)
#include "voce.moc"
