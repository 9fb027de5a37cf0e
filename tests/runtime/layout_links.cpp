#include "config/CINIFile.h"
#include "config/LayoutData.h"
#include "fakes/FakeSpeechEngine.h"
#include "config/LayoutFile.h"
#include "fakes/LoggingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/RuntimeTestProgram.h"
#include "fakes/TestRegistry.h"
#include "audio/cVoce.h"
#include "runtime/KeyActivation.h"
#include "runtime/LayoutSwitcher.h"

#include <QFileInfo>
#include <QtTest>

namespace {
const QString Back = LayoutFile::LinkBack;
const QString Home = LayoutFile::LinkHome;

// A set of layouts joined by links, each named by its file name:
//   home: 1 -> a, 2 -> b, 3 -> a missing file, 4 -> a layout of 5 keys,
//         5 -> a file without the marker, 6 plain; sounds on
//   a:    1 back, 2 -> b; silent
//   b:    1 back, 2 home; silent
//   x, y, z: a ring, 1 -> the next, 2 back; silent
//   f:    training, sequence 1 2 1, bonus 9000; 3 -> a; sounds on
struct LinkSet {
    RuntimeTestProgram program;
    RecordingMessages messages;
    LoggingAudioOutput audio;
    LayoutSwitcher switcher{program.folder(), messages, nullptr};
    KeyActivation activation{
        {audio, program.folder(), cVoce::DefaultAttributes, nullptr,
         [this](const QString& e) { messages.showMessage(e, MsgIcon::Exclamation, QString()); }}};

    QString at(const QString& name) const { return program.path(QStringLiteral("layout/%1.ini").arg(name)); }
    void write(const QString& name, int keys, QStringList links, bool sound = false) {
        RuntimeTestProgram::Layout l;
        l.keys = keys;
        l.sound = sound;
        l.links = std::move(links);
        program.writeLayout(QStringLiteral("layout/%1.ini").arg(name), l);
    }
    LinkSet() {
        write("home", 6, {at("a"), at("b"), at("manca"), at("cinque"), program.path("nota.txt"), ""}, true);
        write("a", 2, {Back, at("b")});
        write("b", 2, {Back, Home});
        write("x", 2, {at("y"), Back});
        write("y", 2, {at("z"), Back});
        write("z", 2, {at("x"), Back});
        RuntimeTestProgram::Layout five;
        five.tasti = QStringLiteral("5");
        program.writeLayout("layout/cinque.ini", five);
        program.writeLayout("nota.txt", five);
        QFile::resize(program.path("nota.txt"), 0);
        RuntimeTestProgram::Layout f;
        f.keys = 3;
        f.forced = true;
        f.sequence = {1, 2, 1};
        f.bonus = program.writeTone("suoni/bonus.wav", 9000);
        f.links = {"", "", at("a")};
        program.writeLayout("layout/f.ini", f);
    }
    // Chooses key k as the runtime window does once its frame is drawn.
    void choose(int k) {
        const bool link = switcher.IsLink(k);
        activation.Activate(switcher.Layout(), k, link);
        if (link) {
            switcher.FollowLink(k);
        }
    }
    QString shown() const { return QFileInfo(switcher.CurrentPath()).completeBaseName(); }
};
} // namespace

// The link keys' rules without a window: where each choice leads, what is
// heard, what is said, and what stays in the history.
class TstLayoutLinks : public QObject {
    Q_OBJECT
private slots:
    void init() { ResetSharedIni(); }

    void walk_data() {
        QTest::addColumn<QString>("start");
        // Keys chosen in turn; "k*n" chooses key k n times.
        QTest::addColumn<QString>("choices");
        // After each choice the layout shown, with one "!" per message.
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("history");
        QTest::addColumn<QStringList>("tones");
        const auto row = [](const char* name, const QString& start, const QString& choices,
                            const QString& expected, int history, const QStringList& tones) {
            QTest::addRow("%s", name) << start << choices << expected << history << tones;
        };
        const QStringList none;
        row("two deep, back twice", "home", "1 2 1 1", "a b a home", 0, QStringList{"tone 1000"});
        row("back at the start of the history stays", "b", "1 1", "b b", 0, none);
        row("home empties the history", "home", "1 2 2 2 1", "a b home b home", 0,
            QStringList{"tone 1000", "tone 2000"});
        row("missing target: message, table stays", "home", "3 1", "home! a", 1,
            QStringList{"tone 3000", "tone 1000"});
        row("target that fails the table's check: its messages, table stays", "home", "4", "home!!", 0,
            QStringList{"tone 4000"});
        row("target without the marker", "home", "5", "home!", 0, QStringList{"tone 5000"});
        row("plain key stays", "home", "6", "home", 0, QStringList{"tone 6000"});
        // 60 steps round the ring x y z end on x; the 50 kept go back to step 10, on y.
        row("history keeps 50 steps", "x", "1*60", "", 50, none);
        row("back through all 50, then stays", "x", "1*60 2*55", "", 0, none);
        // A link key passes the training sequence untouched, also when it is next in it.
        row("training: link keys always work", "f", "1 3 1 2 1", "f a f f f", 0,
            QStringList{"tone 1000", "tone 3000", "tone 2000", "tone 1000", "tone 9000"});
    }
    void walk() {
        QFETCH(QString, start);
        QFETCH(QString, choices);
        QFETCH(QString, expected);
        QFETCH(int, history);
        LinkSet set;
        set.program.writeCfg(set.at(start));
        QCOMPARE(set.switcher.OpenActive(), LayoutSwitcher::Result::Shown);
        QStringList got;
        for (const QString& choice : choices.split(' ')) {
            const QStringList parts = choice.split('*');
            for (int n = parts.value(1, "1").toInt(); n > 0; --n) {
                const qsizetype before = set.messages.shown.size();
                set.choose(parts[0].toInt());
                if (parts.size() == 1) {
                    got << set.shown() + QString(set.messages.shown.size() - before, '!');
                }
            }
        }
        if (!expected.isEmpty()) {
            QCOMPARE(got.join(' '), expected);
        }
        QCOMPARE(set.switcher.History().size(), history);
        QTEST(set.audio.tones(), "tones");
        // Links never make their target the active layout, and home stays the layout opened.
        QCOMPARE(set.program.cfgFileValue(), set.at(start));
        QCOMPARE(set.switcher.HomePath(), set.at(start));
        if (choices.startsWith("1*60")) {
            QCOMPARE(set.shown(), QString(history ? "x" : "y"));
        }
    }

    // Each layout speaks with its own voice where it names one, the user's
    // elsewhere; the speech object is made again only when the voice changes,
    // and a voice the computer lacks gives way to espeak-ng's Italian.
    void layoutVoice_data() {
        QTest::addColumn<QStringList>("voices"); // the voice of the layout shown at each key
        QTest::addColumn<QStringList>("speakers");
        QTest::addColumn<int>("opens");
        const auto row = [](const char* name, const QStringList& voices, const QStringList& speakers,
                            int opens) { QTest::addRow("%s", name) << voices << speakers << opens; };
        row("the user's voice throughout", {"", "", ""}, {"espeak", "espeak", "espeak"}, 1);
        row("a layout's own voice, and back", {"", "festival:lp", "FESTIVAL:lp", ""},
            {"espeak", "festival", "festival", "espeak"}, 3);
        row("a voice the computer lacks", {"festival:manca", "festival:manca"}, {"espeak", "espeak"}, 2);
        row("an engine that is not there", {"speechd"}, {"espeak"}, 2);
        row("a name no engine could have", {"festival:a\x01b", "nessuno"}, {"espeak", "espeak"}, 1);
    }
    void layoutVoice() {
        QFETCH(QStringList, voices);
        RuntimeTestProgram program;
        LoggingAudioOutput audio;
        FakeSpeechEngines engines;
        engines.present[VoiceChoice::Engine::Espeak] = {{"it"}, true};
        engines.present[VoiceChoice::Engine::Festival] = {{"lp", "pc"}, true};
        QStringList errors;
        KeyActivation activation({audio, program.folder(), cVoce::DefaultAttributes, &engines,
                                  [&](const QString& e) { errors << e; }});
        LayoutData layout;
        layout.KeyCount = 1;
        layout.SectionOn = {false, true, false, true};
        layout.KeyTexts = QStringList{"", "ciao"};
        for (const QString& voice : voices) {
            layout.Voice = voice;
            activation.Activate(layout, 1, false);
        }
        QStringList got;
        for (const QString& line : engines.log) {
            got << line.section(' ', 0, 0);
        }
        QTEST(got, "speakers");
        QTEST(engines.opens, "opens");
        QCOMPARE(errors, QStringList{});
    }

    // A function key makes its layout the active one and can be gone back from.
    void functionKeyThenBack() {
        LinkSet set;
        RuntimeTestProgram::Layout l;
        l.keys = 1;
        l.sound = false;
        l.functionKeys = QStringList{set.at("b")};
        set.program.writeLayout("layout/g.ini", l);
        set.program.writeCfg(set.at("g"));
        QCOMPARE(set.switcher.OpenActive(), LayoutSwitcher::Result::Shown);
        QCOMPARE(set.switcher.SwitchByFunctionKey(1), LayoutSwitcher::Result::Shown);
        QCOMPARE(set.program.cfgFileValue(), set.at("b"));
        set.choose(1);
        QCOMPARE(set.shown(), QStringLiteral("g"));
        QCOMPARE(set.messages.texts(), QStringList{});
    }
};

MIRELVA_TEST(TstLayoutLinks)
#include "layout_links.moc"
