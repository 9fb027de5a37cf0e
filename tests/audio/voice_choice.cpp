#include "audio/VoiceSettings.h"
#include "audio/cVoce.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using Engine = VoiceChoice::Engine;
Q_DECLARE_METATYPE(VoiceChoice::Engine)

class TstVoiceChoice : public QObject {
    Q_OBJECT

private slots:
    // The one-line form, as a user or a layout writes it.
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("voice");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("pitch");
        QTest::addColumn<int>("volume");
        const int r = VoiceTuning{}.rate;
        QTest::addRow("engine and voice")
            << "festival:lp_diphone" << true << Engine::Festival << "lp_diphone" << r << 0 << 100;
        QTest::addRow("engine alone") << "speechd" << true << Engine::SpeechDispatcher << "" << r << 0 << 100;
        QTest::addRow("blanks, capitals, other names") << " ESPEAK-NG : it+f3 ; VELOCITA = -2 ;Tono=3" << true
                                                       << Engine::Espeak << "it+f3" << -2 << 3 << 100;
        QTest::addRow("numbers brought into range")
            << "espeak;velocita=-99;tono=1e99;volume=250" << true << Engine::Espeak << "" << -10 << 10 << 100;
        QTest::addRow("numbers that are no numbers keep the base")
            << "espeak;velocita=presto;tono=nan;volume=" << true << Engine::Espeak << "" << r << 0 << 100;
        QTest::addRow("unknown options ignored") << "festival:pc_diphone;colore=blu;=;;" << true
                                                 << Engine::Festival << "pc_diphone" << r << 0 << 100;
        QTest::addRow("unknown engine") << "sapi:Silvia" << false << Engine::Espeak << "" << 0 << 0 << 0;
        QTest::addRow("empty") << "" << false << Engine::Espeak << "" << 0 << 0 << 0;
        QTest::addRow("a line break in the name")
            << "festival:lp\ndiphone" << false << Engine::Espeak << "" << 0 << 0 << 0;
        QTest::addRow("a NUL in the name")
            << QString("espeak:it") + QChar(0) << false << Engine::Espeak << "" << 0 << 0 << 0;
        QTest::addRow("a name longer than any voice's")
            << "espeak:" + QString(VoiceChoice::MaxVoiceLength + 1, u'x') << false << Engine::Espeak << ""
            << 0 << 0 << 0;
    }
    void parse() {
        QFETCH(QString, text);
        const std::optional<VoiceChoice> choice = VoiceChoice::parse(text);
        QTEST(choice.has_value(), "valid");
        if (!choice) {
            return;
        }
        QTEST(choice->engine, "engine");
        QTEST(choice->voice, "voice");
        QTEST(choice->tuning.rate, "rate");
        QTEST(choice->tuning.pitch, "pitch");
        QTEST(choice->tuning.volume, "volume");
        // What format() writes reads back the same.
        QCOMPARE(VoiceChoice::parse(choice->format()), choice);
    }

    // A layout naming only its voice keeps the user's rate, pitch and volume.
    void missingValuesComeFromTheBase() {
        const VoiceChoice user{Engine::Espeak, "it+f3", {2, -1, 70}};
        const std::optional<VoiceChoice> layout = VoiceChoice::parse("festival:pc_diphone;tono=4", user);
        QCOMPARE(layout, (VoiceChoice{Engine::Festival, "pc_diphone", {2, 4, 70}}));
    }

    // The settings file: whatever is in the way, the program's own voice, quietly.
    void loadsSafely_data() {
        QTest::addColumn<QString>("what");
        QTest::addRow("no file") << "none";
        QTest::addRow("garbage") << "garbage";
        QTest::addRow("a folder in its place") << "folder";
        QTest::addRow("a pipe in its place") << "fifo";
        QTest::addRow("an unknown engine") << "engine";
        QTest::addRow("too large") << "huge";
    }
    void loadsSafely() {
        QFETCH(QString, what);
        QTemporaryDir dir;
        const QString file = VoiceSettings::FilePath(dir.path());
        if (what == u"garbage") {
            QVERIFY(TestSupport::writeFile(file, QByteArray("\xff\xfe[Voce\x00=\n=festival", 18)));
        } else if (what == u"folder") {
            QVERIFY(QDir().mkpath(file));
        } else if (what == u"fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        } else if (what == u"engine") {
            QVERIFY(TestSupport::writeFile(file, "[Voce]\r\nVoce=loquendo:Paola\r\n"));
        } else if (what == u"huge") {
            QVERIFY(TestSupport::writeFile(file, "[Voce]\r\nVoce=festival:lp_diphone\r\n" +
                                                     QByteArray(2 << 20, ' ')));
        }
        QCOMPARE(VoiceSettings::Load(dir.path()), VoiceChoice{});
    }

    // A save replaces the file whole and reads back; a folder that cannot be
    // written: the save says so and the old file stays.
    void saves() {
        QTemporaryDir dir;
        const VoiceChoice old{Engine::Festival, "pc_diphone", {-2, 3, 80}};
        QVERIFY(VoiceSettings::Save(dir.path(), VoiceChoice{Engine::Espeak, "it+f3", {0, 0, 100}}));
        QVERIFY(VoiceSettings::Save(dir.path(), old));
        QCOMPARE(VoiceSettings::Load(dir.path()), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"voce.ini"});
        const QString blocker = VoiceSettings::FilePath(dir.path()) + ".nuovo";
        QVERIFY(QDir().mkpath(blocker + "/dentro")); // a folder where the new file would go
        QVERIFY(!VoiceSettings::Save(dir.path(), VoiceChoice{}));
        QCOMPARE(VoiceSettings::Load(dir.path()), old);
        // A folder where the file goes: the new file cannot take its place.
        QTemporaryDir other;
        QVERIFY(QDir().mkpath(VoiceSettings::FilePath(other.path()) + "/dentro"));
        QVERIFY(!VoiceSettings::Save(other.path(), old));
    }

    // A speech service that takes the connection and never answers (as one
    // whose module died does): given up within seconds, espeak-ng speaks.
    void serviceThatNeverAnswers() {
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("speechd.sock"));
        const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        QCOMPARE(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        QCOMPARE(::listen(listener, 4), 0);
        qputenv("SPEECHD_ADDRESS", "unix_socket:" + path);
        QElapsedTimer clock;
        clock.start();
        RecordingAudioOutput out;
        cVoce voce(out, *VoiceChoice::parse("speechd"));
        QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
        qunsetenv("SPEECHD_ADDRESS");
        QCOMPARE(voce.choice().engine, Engine::Espeak);
        QVERIFY(voce.notice().contains("speech-dispatcher"));
        QVERIFY(voce.Speak("Mela"));
        ::close(listener);
    }

    // Voice names made to break out of the engine: none is used, espeak-ng's Italian speaks.
    void hostileVoiceNames_data() {
        QTest::addColumn<QString>("choice");
        QTest::addRow("Lisp in a Festival name") << "festival:lp_diphone) (system \"touch /tmp/mirelva-x\")";
        QTest::addRow("Festival voice of a path") << "festival:../../../etc/passwd";
        QTest::addRow("espeak-ng variant of a path") << "espeak:it+../../../../etc/passwd";
        QTest::addRow("espeak-ng voice of a path") << "espeak:../../../etc/passwd";
        QTest::addRow("espeak-ng voice of another program") << "espeak:mb/mb-it3";
        QTest::addRow("speech-dispatcher protocol in a name") << "speechd:espeak-ng/Italian\r\nQUIT";
        QTest::addRow("a voice no one has") << "speechd:nessuno/Nessuna";
    }
    void hostileVoiceNames() {
        QFETCH(QString, choice);
        const std::optional<VoiceChoice> wanted = VoiceChoice::parse(choice);
        if (!wanted) {
            return; // refused already when read
        }
        RecordingAudioOutput out;
        cVoce voce(out, *wanted);
        QCOMPARE(voce.choice().engine, Engine::Espeak);
        QCOMPARE(voce.VoiceName(), QString("Italian"));
        QVERIFY(!voce.notice().isEmpty());
        QVERIFY(voce.Speak("Mela"));
        QVERIFY(!out.allHeard().empty());
        QVERIFY(!QFile::exists("/tmp/mirelva-x"));
    }
};

MIRELVA_TEST(TstVoiceChoice)
#include "voice_choice.moc"
