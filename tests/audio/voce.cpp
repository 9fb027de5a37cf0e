#include "audio/cSound.h"
#include "audio/cVoce.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestSupport.h"
#include "fakes/WavTestFiles.h"
#include "fakes/TestRegistry.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
int peak(const std::vector<qint16>& s) {
    int p = 0;
    for (qint16 v : s) {
        p = std::max(p, std::abs(int(v)));
    }
    return p;
}

struct Spoken {
    std::vector<qint16> samples;
    double ms = 0;
    std::optional<cVoce::Error> error;
};

// Speaks through a fresh recording output and returns what was heard.
Spoken speak(const QString& text) {
    RecordingAudioOutput out;
    cVoce voce(out);
    Spoken s;
    s.error = voce.Speak(text);
    s.samples = out.allHeard();
    s.ms = out.durationMs(s.samples.size());
    return s;
}
} // namespace

class TstVoce : public QObject {
    Q_OBJECT

private slots:
    void createdWithAnItalianVoice() {
        RecordingAudioOutput out;
        cVoce voce(out);
        QSignalSpy missing(&voce, &cVoce::VoiceNonDisponibile);
        QCoreApplication::processEvents();
        QVERIFY(voce.hasSynthesizer());
        QCOMPARE(voce.SpeakFlags(), 10);
        QCOMPARE(voce.VoiceName(), QStringLiteral("Italian"));
        QCOMPARE(missing.count(), 0);
    }

    void voiceChoice_data() {
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<QString>("voice"); // empty: no synthesizer
        QTest::addRow("the program's own: that voice is not here, Italian is")
            << cVoce::DefaultAttributes << "Italian";
        QTest::addRow("language only") << "Language=410"
                                       << "Italian";
        QTest::addRow("named voice of the language") << "Name=Italian;Language=410"
                                                     << "Italian";
        QTest::addRow("blanks and case") << " name = ITALIAN ; LANGUAGE = 0410 "
                                         << "Italian";
        QTest::addRow("named voice needing a missing program") << "Name=italian-mbrola-1;Language=410"
                                                               << "Italian";
        QTest::addRow("US English") << "Language=409"
                                    << "English (America)";
        QTest::addRow("a name of another language does not win") << "Name=Italian;Language=407"
                                                                 << "German";
        QTest::addRow("regional variant without a voice") << "Language=C0C"
                                                          << "French (France)";
        QTest::addRow("no language") << "Name=Italian;Vendor=ScanSoft, Inc"
                                     << "";
        QTest::addRow("unknown language code") << "Language=7F"
                                               << "";
        QTest::addRow("language not a number") << "Language=italiano"
                                               << "";
        QTest::addRow("empty") << ""
                               << "";
    }
    void voiceChoice() {
        QFETCH(QString, attributes);
        QFETCH(QString, voice);
        RecordingAudioOutput out;
        cVoce voce(out, attributes);
        QSignalSpy missing(&voce, &cVoce::VoiceNonDisponibile);
        QCoreApplication::processEvents();
        QCOMPARE(voce.VoiceName(), voice);
        QCOMPARE(voce.hasSynthesizer(), !voice.isEmpty());
        QCOMPARE(missing.count(), voice.isEmpty() ? 1 : 0);
        QCOMPARE(voce.SpeakFlags(), voice.isEmpty() ? 0 : 10);
        const std::optional<cVoce::Error> error = voce.Speak("Mela");
        QCOMPARE(error.has_value(), voice.isEmpty());
        if (error) {
            QCOMPARE(error->number, 91);
            QVERIFY(!error->description.isEmpty());
            QVERIFY(out.calls.isEmpty());
        } else {
            QVERIFY(peak(out.allHeard()) > 2000);
        }
    }

    // Every later Speak fails the same way; nothing ever reaches the output.
    void withoutSynthesizerEverySpeakFails() {
        RecordingAudioOutput out;
        cVoce voce(out, "Language=9999");
        for (const QString& text : {QString("Mela"), QString(), QString("<silence msec=\"10\"/>")}) {
            const auto error = voce.Speak(text);
            QVERIFY(error.has_value());
            QCOMPARE(error->description,
                     QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"));
        }
        QVERIFY(out.calls.isEmpty());
    }

    void italianTextIsSpoken_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        QTest::addRow("one word") << "Mela" << 300 << 2500;
        QTest::addRow("accents") << "Città, perché è così" << 900 << 5000;
        QTest::addRow("sentence") << "Voglio bere un bicchiere d'acqua, per favore." << 2000 << 9000;
        QTest::addRow("bare ampersand") << "Pane & latte" << 700 << 4000;
        QTest::addRow("ampersand alone") << "&" << 100 << 2000;
        QTest::addRow("bare less-than") << "Mela < pera" << 500 << 4000;
        QTest::addRow("unclosed tag") << "<b>ciao" << 200 << 4000;
        QTest::addRow("markup broken by an ampersand")
            << "Pane & latte <silence msec=\"100\"/>" << 700 << 5000;
    }
    void italianTextIsSpoken() {
        QFETCH(QString, text);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        const Spoken s = speak(text);
        QVERIFY(!s.error);
        QVERIFY2(peak(s.samples) > 2000, qPrintable(QString::number(peak(s.samples))));
        QVERIFY2(s.ms >= minMs && s.ms <= maxMs, qPrintable(QString::number(s.ms)));
    }

    // Italian reads "&" as "e"; the synthesizer alone would say the English "and".
    void ampersandIsReadAsE() {
        const Spoken withSign = speak("Pane & latte");
        const Spoken withWord = speak("Pane e latte");
        const Spoken withAnd = speak("Pane and latte");
        QVERIFY2(std::abs(withSign.ms - withWord.ms) < 30,
                 qPrintable(QString::number(withSign.ms - withWord.ms)));
        QVERIFY(std::abs(withSign.ms - withAnd.ms) > 30);
    }

    void longerTextsLastLonger() {
        QVERIFY(speak("Mela").ms * 2 < speak("Mela, pera, banana, arancia e mandarino").ms);
    }

    void silenceTagLengthensSpeech() {
        const double none = speak("Mela Pera").ms;
        const double half = speak("Mela <silence msec=\"500\"/> Pera").ms;
        const double full = speak("Mela <silence msec=\"1000\"/> Pera").ms;
        QVERIFY2(full - half > 400 && full - half < 600, qPrintable(QString::number(full - half)));
        QVERIFY2(half - none > 400 && half - none < 900, qPrintable(QString::number(half - none)));
    }

    void markupChangesTheVoice_data() {
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<double>("minLengthRatio");
        QTest::addColumn<double>("maxLengthRatio");
        QTest::addColumn<double>("minPeakRatio");
        QTest::addColumn<double>("maxPeakRatio");
        const QString text = "Mela, pera e banana sono frutti";
        QTest::addRow("faster") << "<rate speed=\"10\">" + text + "</rate>" << text << 0.3 << 0.75 << 0.7
                                << 1.4;
        QTest::addRow("absolute slowest")
            << "<rate absspeed=\"-10\">" + text + "</rate>" << text << 1.15 << 2.5 << 0.7 << 1.4;
        QTest::addRow("empty rate tag changes the rest")
            << "<rate speed=\"10\"/>" + text << text << 0.3 << 0.75 << 0.7 << 1.4;
        QTest::addRow("half volume") << "<volume level=\"50\">" + text + "</volume>" << text << 0.95 << 1.05
                                     << 0.3 << 0.7;
        QTest::addRow("spelled") << "<spell>casa</spell>"
                                 << "casa" << 1.5 << 6.0 << 0.5 << 2.0;
        QTest::addRow("unknown tag keeps its text")
            << "<voice required=\"Gender=Female\">" + text + "</voice>" << text << 0.97 << 1.03 << 0.9 << 1.1;
    }
    void markupChangesTheVoice() {
        QFETCH(QString, changed);
        QFETCH(QString, plain);
        QFETCH(double, minLengthRatio);
        QFETCH(double, maxLengthRatio);
        QFETCH(double, minPeakRatio);
        QFETCH(double, maxPeakRatio);
        const Spoken a = speak(changed);
        const Spoken b = speak(plain);
        const double length = a.ms / b.ms;
        const double level = double(peak(a.samples)) / peak(b.samples);
        QVERIFY2(length >= minLengthRatio && length <= maxLengthRatio, qPrintable(QString::number(length)));
        QVERIFY2(level >= minPeakRatio && level <= maxPeakRatio, qPrintable(QString::number(level)));
    }

    void onlyMarkupSpeaksNothingAndReturns_data() {
        QTest::addColumn<QString>("text");
        QTest::addRow("silence") << "<silence msec=\"300\"/>";
        QTest::addRow("empty rate") << "<rate speed=\"5\"></rate>";
        QTest::addRow("empty emphasis") << "<emph/>";
        QTest::addRow("bookmark") << "<bookmark mark=\"a\"/>";
        QTest::addRow("nested, no text")
            << "<volume level=\"80\"><pitch middle=\"3\"><spell></spell></pitch></volume>";
        QTest::addRow("blanks only") << "   ";
    }
    void onlyMarkupSpeaksNothingAndReturns() {
        QFETCH(QString, text);
        const Spoken s = speak(text);
        QVERIFY(!s.error);
        QVERIFY2(s.ms < 1000, qPrintable(QString::number(s.ms)));
        QVERIFY(peak(s.samples) < 100);
    }

    void emptyTextReturnsAtOnce() {
        RecordingAudioOutput out;
        cVoce voce(out);
        QSignalSpy start(&voce, &cVoce::StartStream);
        QVERIFY(!voce.Speak(QString()));
        QVERIFY(out.calls.isEmpty());
        QCOMPARE(start.count(), 0);
    }

    void tenThousandCharacters() {
        QString text;
        const QStringList words{"mela", "pera", "casa",   "cane",  "gatto",
                                "sole", "mare", "scuola", "acqua", "pane"};
        for (int i = 0; text.size() < 10000; ++i) {
            text += words[(i * 7) % words.size()] + (i % 12 == 11 ? ". " : " ");
        }
        text.truncate(10000);
        RecordingAudioOutput out;
        cVoce voce(out);
        QSignalSpy words_(&voce, &cVoce::Word);
        QVERIFY(!voce.Speak(text));
        const auto heard = out.allHeard();
        // About 2000 words at a slow pace: several minutes, all of it kept.
        QVERIFY2(out.durationMs(heard.size()) > 5 * 60 * 1000,
                 qPrintable(QString::number(out.durationMs(heard.size()))));
        QVERIFY(words_.count() > 1700);
        QCOMPARE(words_.last().at(2).toInt() + words_.last().at(3).toInt(), int(text.trimmed().size()));
        QVERIFY(peak(std::vector<qint16>(heard.end() - 22050, heard.end())) > 1000 ||
                peak(std::vector<qint16>(heard.end() - 3 * 22050, heard.end())) > 1000);
    }

    void wordPositionsAreInTheCallersText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QList<int>>("lengths");
        QTest::addRow("plain") << "uno due tre" << QList<int>{0, 4, 8} << QList<int>{3, 3, 3};
        QTest::addRow("after tags") << "<emph>uno</emph> <rate speed=\"2\">due</rate>" << QList<int>{6, 33}
                                    << QList<int>{3, 3};
        QTest::addRow("ampersand") << "pane & latte" << QList<int>{0, 5, 7} << QList<int>{4, 1, 5};
        QTest::addRow("escaped") << "a &lt; b" << QList<int>{0, 7} << QList<int>{1, 1};
    }
    void wordPositionsAreInTheCallersText() {
        QFETCH(QString, text);
        QFETCH(QList<int>, positions);
        QFETCH(QList<int>, lengths);
        RecordingAudioOutput out;
        cVoce voce(out);
        QSignalSpy words(&voce, &cVoce::Word);
        QVERIFY(!voce.Speak(text));
        QList<int> gotPositions;
        QList<int> gotLengths;
        for (const auto& w : words) {
            gotPositions << w.at(2).toInt();
            gotLengths << w.at(3).toInt();
        }
        QCOMPARE(gotPositions, positions);
        QCOMPARE(gotLengths, lengths);
    }

    void streamsSentencesAndBookmarks() {
        RecordingAudioOutput out;
        cVoce voce(out);
        QSignalSpy start(&voce, &cVoce::StartStream);
        QSignalSpy end(&voce, &cVoce::EndStream);
        QSignalSpy sentences(&voce, &cVoce::Sentence);
        QSignalSpy marks(&voce, &cVoce::Bookmark);
        const QString text = "Uno due. Tre <bookmark mark=\"7\"/>quattro.";
        QVERIFY(!voce.Speak(text));
        QVERIFY(!voce.Speak("Cinque"));
        QCOMPARE(start.count(), 2);
        QCOMPARE(end.count(), 2);
        QCOMPARE(start.at(0).at(0).toInt(), 1);
        QCOMPARE(start.at(1).at(0).toInt(), 2);
        QCOMPARE(end.at(1).at(0).toInt(), 2);
        // The end of a stream is its length in bytes of 16-bit samples.
        QVERIFY(end.at(0).at(1).toLongLong() > 22050);
        QCOMPARE(marks.count(), 1);
        QCOMPARE(marks.at(0).at(2).toString(), QStringLiteral("7"));
        QCOMPARE(marks.at(0).at(3).toInt(), 7);
        QCOMPARE(sentences.count(), 3);
        QCOMPARE(sentences.at(0).at(2).toInt(), 0);
        QCOMPARE(sentences.at(1).at(2).toInt(), int(text.indexOf("Tre")));
        QCOMPARE(sentences.at(1).at(3).toInt(), int(text.size() - text.indexOf("Tre")));
    }

    // A key with a sound and a text: the whole sound is heard, then the speech.
    void soundThenSpeechNeverOverlap() {
        QTemporaryDir dir;
        RecordingAudioOutput out;
        cSound sound(out);
        cVoce voce(out);
        const auto tone = WavTestFiles::sine(4410, 1, 22050);
        const QString path = dir.filePath("tono.wav");
        QVERIFY(
            TestSupport::writeFile(path, WavTestFiles::wav(tone, 1, 22050, WavTestFiles::Encoding::Pcm16)));
        sound.setFileName(path);
        sound.PlayFile(0);
        QVERIFY(!voce.Speak("Mela"));
        QCOMPARE(out.heard.size(), size_t(2));
        QCOMPARE(out.heard[0], tone);
        QVERIFY(peak(out.heard[1]) > 2000);
        QVERIFY(out.pending.empty());
        QCOMPARE(out.trace(), QStringLiteral("PEDED"));
    }

    void purgeBeforeSpeakDropsQueuedSpeech() {
        RecordingAudioOutput out;
        cVoce voce(out);
        voce.setSpeakFlags(cVoce::SVSFlagsAsync | cVoce::SVSFIsXML);
        QVERIFY(!voce.Speak("Mela"));
        QVERIFY(!out.pending.empty());
        QVERIFY(out.heard.empty());
        const size_t melaSamples = out.pending.size();
        voce.setSpeakFlags(10);
        QVERIFY(!voce.Speak("Mela"));
        QCOMPARE(out.heard.size(), size_t(1));
        // The same word twice: about the same length (espeak-ng varies it by a few samples).
        QVERIFY(out.heard[0].size() > melaSamples * 99 / 100 &&
                out.heard[0].size() < melaSamples * 101 / 100);
    }

    void stopSpeechDropsQueuedSpeech() {
        RecordingAudioOutput out;
        cVoce voce(out);
        voce.setSpeakFlags(cVoce::SVSFlagsAsync);
        QVERIFY(!voce.Speak("Mela"));
        QVERIFY(!out.pending.empty());
        voce.StopSpeech();
        QVERIFY(out.pending.empty());
    }

    // Speaking while paused must not wait for a resume that cannot come.
    void pausedSpeechWaitsForResume() {
        RecordingAudioOutput out;
        cVoce voce(out);
        voce.PauseSpeech();
        QVERIFY(out.paused);
        QVERIFY(!voce.Speak("Mela"));
        QVERIFY(!out.pending.empty());
        voce.ResumeSpeech();
        QVERIFY(!out.paused);
        QVERIFY(!voce.Speak("Pera"));
        QVERIFY(out.pending.empty());
        QCOMPARE(out.heard.size(), size_t(1));
    }

    void setFlag_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("result");
        QTest::addRow("set") << true << 0 << 2 << 2;
        QTest::addRow("set again") << true << 10 << 8 << 10;
        QTest::addRow("clear") << false << 11 << 1 << 10;
        QTest::addRow("clear absent") << false << 10 << 4 << 10;
        QTest::addRow("clear high bit") << false << int(0x80000002) << int(0x80000000) << 2;
    }
    void setFlag() {
        QFETCH(bool, on);
        QFETCH(int, value);
        QFETCH(int, flag);
        QFETCH(int, result);
        QCOMPARE(cVoce::SetFlag(on, value, flag), result);
    }
};

MIRELVA_TEST(TstVoce)
#include "voce.moc"
