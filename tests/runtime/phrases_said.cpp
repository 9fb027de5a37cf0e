#include "access/AccessOptions.h"
#include "access/PhraseStore.h"
#include "audio/cVoce.h"
#include "config/LayoutData.h"
#include "fakes/FakeGridContainer.h"
#include "fakes/FakeSpeechEngine.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "runtime/EdgeController.h"

#include <QTemporaryDir>
#include <QtTest>

class TstPhrasesSaid : public QObject {
    Q_OBJECT
private slots:
    // What is said goes first among the recent phrases: a sentence built on
    // the bar, and a phrase said again from the phrases view alike. A choice
    // that cuts the speech still heard says nothing, and moves nothing.
    void recentOrder_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<bool>("heardBetween");
        QTest::addColumn<QStringList>("recent");
        // The view: "Torna" is item 1, then r1, r2, r3.
        QTest::addRow("the last said again moves up")
            << QList<int>{4} << true << QStringList{"r3", "r1", "r2"};
        QTest::addRow("two in turn, each heard to its end")
            << QList<int>{3, 4} << true << QStringList{"r3", "r2", "r1"};
        QTest::addRow("the second cuts the first")
            << QList<int>{3, 4} << false << QStringList{"r2", "r1", "r3"};
    }
    void recentOrder() {
        QFETCH(QList<int>, chosen);
        QFETCH(bool, heardBetween);
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeFile(PhraseStore::FilePath(dir.path()), "[Recenti]\nr1\nr2\nr3\n"));
        FakeGridContainer window(1024, 768);
        RecordingAudioOutput audio;
        RecordingMessages messages;
        FakeSpeechEngines engines;
        engines.present[VoiceChoice::Engine::Espeak] = {{"roa/it"}, true};
        cVoce voce(audio, ResolveVoice(VoiceChoice{}, engines));
        AccessOptions options;
        options.messageBar = true;
        options.functionStrip = false;
        EdgeController edges(window, audio, messages, dir.path(),
                             {[](int) {}, [&]() -> cVoce& { return voce; }, [] {},
                              [&]() -> const AccessOptions& { return options; }});
        LayoutData layout;
        layout.KeyCount = 2;
        edges.layOut(layout);
        edges.activate(layout.KeyCount + 5); // the bar's "Frasi", after the keys
        QVERIFY(edges.phrasesShown());
        for (const int item : chosen) {
            edges.activate(item);
            if (heardBetween) {
                audio.pending.clear();
            }
        }
        PhraseStore store(dir.path());
        store.load();
        QStringList labels;
        for (const Phrase& p : store.recent()) {
            labels << p.label;
        }
        QTEST(labels, "recent");
        QVERIFY(messages.shown.isEmpty());
    }
};

MIRELVA_TEST(TstPhrasesSaid)
#include "phrases_said.moc"
