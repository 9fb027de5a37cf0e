#include "access/EdgeLayout.h"
#include "access/PhraseStore.h"
#include "access/PhrasesPage.h"
#include "access/ScanController.h"
#include "access/Sentence.h"
#include "access/SentenceSpeaker.h"
#include "audio/cSound.h"
#include "audio/cVoce.h"
#include "fakes/FakeSpeechEngine.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "fakes/WavTestFiles.h"
#include "grid/cGriglia.h"
#include "fakes/FakeGridContainer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Samples of the fake voice are 1000, those of the test sound 5000.
constexpr qint16 SoundSample = 5000;

// "io" a key's text, "~a" a key with sound a and no text, "io~a" both, "" a key with neither,
// "-" Cancella ultima, "0" Cancella tutto.
Sentence Built(const QStringList& steps, const QString& folder) {
    Sentence sentence;
    for (const QString& step : steps) {
        if (step == QLatin1String("-")) {
            sentence.removeLast();
        } else if (step == QLatin1String("0")) {
            sentence.clear();
        } else {
            const QString text = step.section(QLatin1Char('~'), 0, 0);
            const QString sound = step.section(QLatin1Char('~'), 1);
            sentence.add(
                {text, sound.isEmpty() ? QString() : folder + QLatin1Char('/') + sound + ".wav", QString()});
        }
    }
    return sentence;
}

// The output as runs: S speech, W the sound.
QString Runs(const std::vector<qint16>& samples) {
    QString runs;
    for (const qint16 s : samples) {
        const QChar c = s == SoundSample ? QLatin1Char('W') : s == 1000 ? QLatin1Char('S') : QChar();
        if (!c.isNull() && (runs.isEmpty() || runs.back() != c)) {
            runs += c;
        }
    }
    return runs;
}

template <size_t N> QByteArray Bytes(const char (&text)[N]) {
    return QByteArray(text, qsizetype(N) - 1);
}
} // namespace

class TstSentence : public QObject {
    Q_OBJECT

private slots:
    // What "Parla" gives out: one speech of the texts joined, tags read and
    // never spoken, a key with a sound and no text heard in its place.
    void speaks_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QStringList>("spoken"); // the fake engine's log
        QTest::addColumn<QString>("runs");
        QTest::addRow("three words, one speech")
            << QStringList{"io", "voglio", "mela"} << "io voglio mela"
            << QStringList{"espeak speak io voglio mela rate -4 nowait"} << "S";
        QTest::addRow("markup of each key honoured, an open tag stays in its key")
            << QStringList{"<emph>io</emph>", "<rate speed=\"5\"/>voglio", "a < b"} << "io voglio a < b"
            << QStringList{"espeak speak io voglio a < b rate -4 nowait"} << "S";
        QTest::addRow("a sound without text in its place")
            << QStringList{"io", "voglio", "~mela", "subito"} << "io voglio subito"
            << QStringList{"espeak speak io voglio rate -4 nowait", "espeak speak subito rate -4 nowait"}
            << "SWS";
        QTest::addRow("a key with text and sound says its text")
            << QStringList{"io~mela", "mela"} << "io mela"
            << QStringList{"espeak speak io mela rate -4 nowait"} << "S";
        QTest::addRow("nothing to say never joins; remove last, clear")
            << QStringList{"", "ciao", "io", "tu", "-", "0", "io", "", "voglio", "tu", "-"} << "io voglio"
            << QStringList{"espeak speak io voglio rate -4 nowait"} << "S";
        QTest::addRow("empty") << QStringList{"io", "-", "-"} << "" << QStringList{} << "";
    }
    void speaks() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, spoken);
        QFETCH(QString, runs);
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeFile(dir.filePath("mela.wav"),
                                       WavTestFiles::wav(std::vector<qint16>(2205, SoundSample), 1, 22050,
                                                         WavTestFiles::Encoding::Pcm16)));
        const Sentence sentence = Built(steps, dir.path());
        QTEST(sentence.plainText(), "plain");
        FakeSpeechEngines engines;
        engines.present[VoiceChoice::Engine::Espeak] = {{"roa/it"}, true};
        RecordingAudioOutput out;
        cVoce voce(out, ResolveVoice(VoiceChoice{}, engines));
        cSound sound(out);
        SentenceSpeaker speaker(out, sound);
        QVERIFY(speaker.speakOrCut(voce, sentence.parts()));
        QCOMPARE(engines.log, spoken);
        QCOMPARE(Runs(out.pending), runs);
        // The same action again cuts what is still heard; the key's own flags are back.
        QCOMPARE(voce.SpeakFlags(), qint32(cVoce::SVSFPurgeBeforeSpeak | cVoce::SVSFIsXML));
        QCOMPARE(speaker.speaking(), !runs.isEmpty());
        QVERIFY(speaker.speakOrCut(voce, sentence.parts()));
        QVERIFY(out.pending.empty());
        QCOMPARE(engines.log, spoken);
    }

    // Recent sentences and favourites are kept in the data folder and read back.
    void keepsPhrases() {
        QTemporaryDir dir;
        PhraseStore store(dir.path());
        store.load();
        for (int i = 1; i <= 55; ++i) {
            store.addRecent({{QStringLiteral("frase %1").arg(i), QString(), QString()}});
        }
        store.addRecent({{"frase 54", QString(), QString()}}); // said again: first, once
        QVERIFY(
            store.addFavourite({{"io", {}, {}}, {"<emph>voglio</emph>", {}, {}}, {{}, "/x/mela.wav", {}}}));
        QVERIFY(
            !store.addFavourite({{"io", {}, {}}, {"<emph>voglio</emph>", {}, {}}, {{}, "/x/mela.wav", {}}}));
        QList<Phrase> favourites = store.favourites();
        favourites.prepend(Phrase::Written("Ho\tfame\n"));
        favourites[1].label = QStringLiteral("Voglio la mela");
        store.setFavourites(favourites);
        QVERIFY(store.save());
        PhraseStore again(dir.path());
        QString notice;
        again.load(&notice);
        QCOMPARE(notice, QString());
        QCOMPARE(again.favourites(), store.favourites());
        QCOMPARE(again.favourites().at(0).label, QStringLiteral("Ho fame"));
        QCOMPARE(again.recent().size(), PhraseStore::MaxRecent);
        QCOMPARE(again.recent().first().label, QStringLiteral("frase 54"));
        QCOMPARE(again.recent().last().label, QStringLiteral("frase 6"));
        QCOMPARE(Sentence::PartsOf(again.favourites().at(1).items).size(), 2);
    }

    // A damaged or hostile phrases file: what can be read is used, what
    // cannot is said once, and the file is never lost.
    void hostileFiles_data() {
        QTest::addColumn<QByteArray>("bytes"); // "<folder>" a folder in the file's place
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QStringList>("favourites");
        QTest::addColumn<bool>("notice");
        QTest::addColumn<bool>("saves");
        const QByteArray good = "[Preferite]\nHo fame\n[Recenti]\nio\tio\n";
        QTest::addRow("hand-written, CR LF, BOM")
            << QByteArray("\xEF\xBB\xBF[Preferite]\r\nHo fame\r\nMamma\tChiamate la mamma\r\n") << false
            << QStringList{"Ho fame", "Mamma"} << false << true;
        QTest::addRow("Windows-1252") << QByteArray("[Preferite]\nPi\xF9 acqua\n") << false
                                      << QStringList{"Più acqua"} << false << true;
        QTest::addRow("UTF-16") << Bytes("\xFF\xFE[\0P\0r\0e\0f\0e\0r\0i\0t\0e\0]\0\n\0S\0\xEC\0\n\0")
                                << false << QStringList{"Sì"} << false << true;
        QTest::addRow("binary lines left out") << Bytes("[Preferite]\nHo fame\n\x01\x02\x00\x7f\xff\nSete\n")
                                               << false << QStringList{"Ho fame", "Sete"} << true << true;
        QTest::addRow("huge") << good + QByteArray(2 * PhraseStore::MaxReadBytes, 'a') << false
                              << QStringList{"Ho fame"} << true << true;
        QTest::addRow("read-only") << good << true << QStringList{"Ho fame"} << false << false;
        QTest::addRow("a folder in its place")
            << QByteArray("<folder>") << false << QStringList{} << true << false;
    }
    void hostileFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readOnly);
        QFETCH(QStringList, favourites);
        QFETCH(bool, notice);
        QFETCH(bool, saves);
        QTemporaryDir dir;
        const QString path = PhraseStore::FilePath(dir.path());
        if (bytes == "<folder>") {
            QVERIFY(QDir(dir.path()).mkdir("frasi.txt"));
        } else {
            QVERIFY(TestSupport::writeFile(path, bytes));
        }
        if (readOnly) {
            QFile::setPermissions(path, QFile::ReadOwner);
        }
        PhraseStore store(dir.path());
        QString said;
        store.load(&said);
        QStringList labels;
        for (const Phrase& p : store.favourites()) {
            labels << p.label;
        }
        QCOMPARE(labels, favourites);
        QCOMPARE(!said.isEmpty(), notice);
        store.addRecent({{"nuova", {}, {}}});
        const Outcome saved = store.save();
        QCOMPARE(saved.ok(), saves);
        QCOMPARE(saved.message().isEmpty(), saves);
        if (!saves) {
            // Left as it was.
            QFile left(path);
            QVERIFY(bytes == "<folder>" ? QFileInfo(path).isDir() : left.open(QIODevice::ReadOnly));
            QCOMPARE(left.isOpen() ? left.readAll() : bytes, bytes);
            return;
        }
        // The damaged file is kept beside the new one, whole.
        QFile copy(path + ".danneggiato");
        QCOMPARE(copy.exists(), notice);
        if (notice) {
            QVERIFY(copy.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), bytes);
        }
        PhraseStore again(dir.path());
        said.clear();
        again.load(&said);
        QCOMPARE(said, QString());
        QCOMPARE(again.favourites().size(), favourites.size());
        QCOMPARE(again.recent().first().label, QStringLiteral("nuova"));
    }

    // The strip lists the layouts the function keys name, by file name, in key order.
    void stripItems() {
        QStringList paths(13);
        paths[1] = "/d/layout/Cibo.lay";
        paths[3] = "  ";
        paths[5] = "C:\\Comunicatore\\layout\\Giochi.lay";
        paths[12] = "/d/layout/.lay";
        QList<int> keys;
        QStringList labels;
        for (const EdgeItem& item : EdgeLayout::StripItems(paths)) {
            keys << item.functionKey;
            labels << item.label;
        }
        QCOMPARE(keys, (QList<int>{1, 5, 12}));
        QCOMPARE(labels, (QStringList{"Cibo", "Giochi", "F12"}));
    }

    // The items around the table never overlap it or each other; the scan
    // offers the bar and the strip as a row each, before or after the table.
    void edges_data() {
        QTest::addColumn<bool>("bar");
        QTest::addColumn<int>("stripCount");
        QTest::addColumn<bool>("first");
        QTest::addColumn<QList<int>>("rows");
        QTest::addRow("neither") << false << 0 << false << QList<int>{7, 7, 7};
        QTest::addRow("bar after") << true << 0 << false << QList<int>{7, 7, 7, 5};
        QTest::addRow("bar and strip first") << true << 12 << true << QList<int>{5, 12, 7, 7, 7};
        QTest::addRow("strip alone") << false << 3 << false << QList<int>{7, 7, 7, 3};
    }
    void edges() {
        QFETCH(bool, bar);
        QFETCH(int, stripCount);
        QFETCH(bool, first);
        QStringList paths(13);
        for (int n = 1; n <= stripCount; ++n) {
            paths[n] = QStringLiteral("/l/%1.lay").arg(n);
        }
        const QSize screen(1280, 1024);
        const EdgeLayout edges(screen, bar, EdgeLayout::StripItems(paths));
        FakeGridContainer window(screen.width(), screen.height());
        cGriglia grid;
        grid.Init(window, edges.tableArea(), 3, 7, 10, 10);
        if (!bar && stripCount == 0) {
            QCOMPARE(edges.tableArea(), QRect(QPoint(0, 0), screen));
        }
        const AccessItems items = edges.accessItems(grid, 21, 7, first);
        QTEST(QList<int>(items.rows.begin(), items.rows.end()), "rows");
        QSet<int> owners;
        for (int i = 1; i <= items.count(); ++i) {
            const QRect r = items.rects[size_t(i - 1)];
            QVERIFY(QRect(QPoint(0, 0), screen).contains(r));
            for (int j = 1; j < i; ++j) {
                QVERIFY2(!r.intersects(items.rects[size_t(j - 1)]),
                         qPrintable(QString("%1 %2").arg(i).arg(j)));
            }
            const int owner = edges.ownerOf(i, 21, first);
            owners << owner;
            QCOMPARE(owner > 0, edges.tableArea().contains(r));
        }
        QCOMPARE(owners.size(), items.count());
    }

    // Rows of different lengths: the scan enters each as a row, the arrows keep the column.
    void scanRows_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<QString>("presses"); // s scan/step, k select, u d l r arrows
        QTest::addColumn<int>("chosen");
        const auto row = [](const char* tag, int method, const QString& presses, int chosen) {
            QTest::addRow("%s", tag) << method << presses << chosen;
        };
        row("step into the third row, second item", int(AccessOptions::Method::StepScan), "ssksk", 11);
        row("step past the last row comes round", int(AccessOptions::Method::StepScan), "sssskk", 8);
        row("arrows down to a shorter row", int(AccessOptions::Method::Arrows), "rrrrrrdk", 9);
        row("arrows down to a longer row and back", int(AccessOptions::Method::Arrows), "ddrrrrruuk", 2);
    }
    void scanRows() {
        QFETCH(int, method);
        QFETCH(QString, presses);
        AccessOptions options;
        options.method = AccessOptions::Method(method);
        ScanController scan(options, std::vector<int>{7, 2, 5});
        qint64 t = 0;
        scan.start(t);
        int got = 0;
        using S = ScanController::Switch;
        for (const QChar c : presses) {
            const S which = c == 's'   ? S::Scan
                            : c == 'k' ? S::Select
                            : c == 'u' ? S::Up
                            : c == 'd' ? S::Down
                            : c == 'l' ? S::Left
                                       : S::Right;
            scan.switchDown(which, t += 10);
            got = scan.switchUp(which, t += 10);
        }
        QTEST(got, "chosen");
    }

    // The phrases view: "Torna" first, then favourites and recent phrases; pages when they do not fit.
    void phrasesPages() {
        QTemporaryDir dir;
        PhraseStore store(dir.path());
        for (int i = 1; i <= 50; ++i) {
            store.addRecent({{QStringLiteral("r%1").arg(i), {}, {}}});
        }
        QList<Phrase> favourites;
        for (int i = 1; i <= 100; ++i) {
            favourites << Phrase::Written(QStringLiteral("p%1").arg(i));
        }
        store.setFavourites(favourites);
        QStringList spoken;
        int page = 0;
        for (int n = 0; n < 20; ++n) {
            const PhrasesPage view(store, QSize(1280, 1024), page);
            QCOMPARE(view.actionOf(1), PhrasesPage::Action::Back);
            QCOMPARE(view.actionOf(int(view.labels().size())), PhrasesPage::Action::More);
            for (int i = 2; i < view.labels().size(); ++i) {
                Phrase p;
                QCOMPARE(view.actionOf(i, &p), PhrasesPage::Action::Speak);
                spoken << p.label;
            }
            page = view.nextPage();
            if (page == 0) {
                break;
            }
        }
        QCOMPARE(spoken.size(), 150);
        QCOMPARE(spoken.first(), QStringLiteral("p1"));
        QCOMPARE(spoken.at(100), QStringLiteral("r50"));
    }
};

MIRELVA_TEST(TstSentence)
#include "sentence.moc"
