#include "audio/cVoce.h"
#include "fakes/FakeSpeechEngine.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

using Engine = VoiceChoice::Engine;

namespace {
FakeSpeechEngines::Engine italianEspeak() {
    return {{"roa/it", "roa/it+f3"}, true};
}
} // namespace

class TstVoiceFallback : public QObject {
    Q_OBJECT

private slots:
    // A voice that is not there: espeak-ng's Italian speaks, and the notice
    // says what is missing and what brings it. Never silence.
    void fallsBackOnEspeak_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("festival");   // Festival present with lp_diphone
        QTest::addColumn<bool>("dispatcher"); // the speech service answers
        QTest::addColumn<QString>("speaks");  // engine that speaks
        QTest::addColumn<QString>("notice");  // a piece of the notice, empty for none
        const auto row = [](const char* name, const QString& choice, bool festival, bool dispatcher,
                            const QString& speaks, const QString& notice) {
            QTest::addRow("%s", name) << choice << festival << dispatcher << speaks << notice;
        };
        row("Festival voice present", "festival:lp_diphone", true, false, "festival", "");
        row("Festival not installed", "festival:lp_diphone", false, false, "espeak", "festival manca.");
        row("Festival voice uninstalled", "festival:pc_diphone", true, false, "espeak", "festvox-itapc16k");
        row("speech service not running", "speechd", false, false, "espeak", "speechd manca.");
        row("speech service running", "speechd", false, true, "speechd", "");
        row("espeak-ng variant missing", "espeak:it+nessuna", false, false, "espeak", "it+nessuna");
    }
    void fallsBackOnEspeak() {
        QFETCH(QString, choice);
        QFETCH(bool, festival);
        QFETCH(bool, dispatcher);
        QFETCH(QString, speaks);
        QFETCH(QString, notice);
        FakeSpeechEngines engines;
        engines.present[Engine::Espeak] = italianEspeak();
        if (festival) {
            engines.present[Engine::Festival] = {{"lp_diphone", "italp16k"}, true};
        }
        if (dispatcher) {
            engines.present[Engine::SpeechDispatcher] = {{"espeak-ng/Italian"}, false};
        }
        const VoiceChoice wanted = *VoiceChoice::parse(choice + ";velocita=3");
        RecordingAudioOutput out;
        cVoce voce(out, ResolveVoice(wanted, engines));
        QVERIFY(voce.hasSynthesizer());
        QCOMPARE(VoiceChoice::engineName(voce.choice().engine), speaks);
        QCOMPARE(voce.choice().tuning.rate, 3); // the user's rate stays with the voice that speaks
        QVERIFY2(notice.isEmpty() ? voce.notice().isEmpty() : voce.notice().contains(notice),
                 qPrintable(voce.notice()));
        if (!notice.isEmpty()) {
            QVERIFY(voce.notice().contains("espeak-ng"));
        }
        QVERIFY(voce.Speak("Mela"));
        QCOMPARE(engines.log.last(), speaks + " speak Mela rate 3 wait");
    }

    // espeak-ng without the program's own voice: no synthesizer, as always;
    // a chosen voice that is missing with it: no synthesizer, and the notice says both.
    void noVoiceAtAll() {
        FakeSpeechEngines engines;
        engines.present[Engine::Espeak] = {{}, true};
        RecordingAudioOutput out;
        cVoce ownVoice(out, ResolveVoice(VoiceChoice{}, engines));
        QVERIFY(!ownVoice.hasSynthesizer());
        QCOMPARE(ownVoice.Speak("Mela").message(),
                 QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"));
        engines.present.clear();
        cVoce chosen(out, ResolveVoice(*VoiceChoice::parse("festival:lp_diphone"), engines));
        QVERIFY(!chosen.hasSynthesizer());
        QVERIFY(chosen.notice().contains("festival manca.") && chosen.notice().contains("espeak manca."));
    }

    // An engine that plays on its own starts only when the key's sound has
    // been heard, and is cut through the engine, not the output.
    void selfPlayingEngineWaitsForTheSound() {
        FakeSpeechEngines engines;
        engines.present[Engine::SpeechDispatcher] = {{"espeak-ng/Italian"}, false};
        RecordingAudioOutput out;
        cVoce voce(out, ResolveVoice(*VoiceChoice::parse("speechd"), engines));
        out.enqueue(std::vector<qint16>(100, 5));
        QVERIFY(voce.Speak("Mela"));
        QCOMPARE(out.heard.size(), size_t(1));
        QCOMPARE(out.heard[0].size(), size_t(100));
        voce.setSpeakFlags(cVoce::SVSFlagsAsync | cVoce::SVSFIsXML);
        QVERIFY(voce.Speak("Pera"));
        QCOMPARE(engines.log.last(), QString("speechd speak Pera rate -4 nowait"));
        voce.setSpeakFlags(10);
        QVERIFY(voce.Speak("Mela"));
        QCOMPARE(engines.log.mid(engines.log.size() - 2),
                 (QStringList{"speechd stop", "speechd speak Mela rate -4 wait"}));
        QVERIFY(!out.calls.contains(RecordingAudioOutput::Call::Purge));
    }

    // Markup reaches the engine as pieces: the tags are never part of what it says.
    void engineGetsWordsNotTags() {
        FakeSpeechEngines engines;
        engines.present[Engine::Espeak] = italianEspeak();
        RecordingAudioOutput out;
        cVoce voce(out, ResolveVoice(VoiceChoice{}, engines));
        QVERIFY(voce.Speak("<emph>Mela</emph><silence msec=\"20\"/> e pera"));
        QCOMPARE(engines.log.last(), QString("espeak speak Mela e pera rate -4 wait"));
        // 4 + 7 characters and 20 ms of pause, as the fake makes them.
        QCOMPARE(out.allHeard().size(), size_t(11 + 20));
    }
};

MIRELVA_TEST(TstVoiceFallback)
#include "voice_fallback.moc"
