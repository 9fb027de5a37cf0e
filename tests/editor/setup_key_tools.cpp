#include "SetupFakes.h"
#include "config/FileExists.h"
#include "editor/editor_support.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestRegistry.h"
#include "fakes/WavTestFiles.h"

#include <QProgressBar>

namespace {
// Pictures 1-6 that decode, a picture that does not, sounds 1-6 of k thousand
// samples, and an active layout of `keys` keys with forced input 1..keys when
// `forced`; the window is open over it with a loudspeaker and a microphone.
struct Window : SetupFixture {
    Window(int keys, bool forced) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        for (int k = 1; k <= 6; ++k) {
            image.save(picture(k), "PNG");
            TestSupport::writeFile(sound(k), WavTestFiles::wav(WavTestFiles::sine(k * 1000, 1, 22050), 1,
                                                               22050, WavTestFiles::Encoding::Pcm16));
        }
        TestSupport::writeFile(P + "/immagini/rotta.gif", "GIF89a\x10\x00 not a picture");
        TestLayout layout = standard(keys);
        layout.forcedInput = forced ? "1" : "0";
        for (int k = 1; k <= keys; ++k) {
            layout.sequence << QString::number(k);
        }
        layout.functionKeys.clear();
        activate(this->layout(1), layout.bytes());
        open(&tools);
    }
    // The window goes before the loudspeaker and microphone it uses.
    ~Window() { close(); }
    using SetupFixture::button;
    QPushButton* button(int section, int key, const char* kind) const {
        return get<QPushButton>(box(section, key)->objectName() + kind);
    }
    RecordingAudioOutput audio{{22050, 1}};
    FakeCaptureSource mic;
    SetupTools tools{audio, mic};
};
} // namespace

class TstSetupKeyTools : public QObject {
    Q_OBJECT
private slots:
    // A path is marked while it is typed, found the way the runtime finds files.
    void marks_data() {
        QTest::addColumn<int>("section");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("missing");
        QTest::addRow("picture in other letter case") << 1 << "@P@/IMMAGINI/2.GIF" << false;
        QTest::addRow("misspelt picture") << 1 << "@P@/immagini/2.gfi" << true;
    }
    void marks() {
        QFETCH(int, section);
        QFETCH(QString, typed);
        QFETCH(bool, missing);
        Window w(4, false);
        w.box(section, 2)->clear();
        QTest::keyClicks(w.box(section, 2), typed.replace("@P@", w.P));
        const auto* mark = w.get<QLabel>(w.box(section, 2)->objectName() + "_mark");
        QCOMPARE(mark->toolTip(), missing ? QStringLiteral("File non trovato") : QString());
        QCOMPARE(mark->text().isEmpty(), !missing);
    }

    // A save with a path naming no file asks first; No (the default) writes nothing.
    void saveAsks_data() {
        QTest::addColumn<int>("section");
        QTest::addColumn<bool>("soundsOn");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("asked");
        QTest::addRow("missing picture, No") << 1 << true << false << true;
        QTest::addRow("missing picture, Yes") << 1 << true << true << true;
        QTest::addRow("missing sound, sounds off") << 2 << false << false << false;
    }
    void saveAsks() {
        QFETCH(int, section);
        QFETCH(bool, soundsOn);
        QFETCH(bool, yes);
        QFETCH(bool, asked);
        Window w(4, false);
        const QByteArray before = TestSupport::readFile(w.layout(1));
        w.box(section, 3)->setText(w.P + "/x.png");
        w.check("chkSez2")->setChecked(soundsOn);
        w.messages.answerYes = yes;
        w.click(w.button("cmdSave"));
        QCOMPARE(w.messages.questions,
                 asked ? QStringList{"Il file " + w.P + "/x.png del tasto 3 non esiste. Salvare comunque?"}
                       : QStringList());
        const bool saved = !asked || yes;
        QCOMPARE(w.messages.texts(), saved ? QStringList{w.layout(1) + " memorizzato."} : QStringList());
        QCOMPARE(TestSupport::readFile(w.layout(1)) == before, !saved);
    }

    // A new key count asks before it drops the sequence; No undoes the change.
    void keyCount_data() {
        QTest::addColumn<bool>("forced");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("asked");
        QTest::addRow("picture 5 by the picker, No") << true << "pick5" << false << "4" << true;
        QTest::addRow("picture 5 by the picker, Yes") << true << "pick5" << true << "5" << true;
        QTest::addRow("picture 2 replaced: same count") << true << "pick2" << false << "4" << false;
        QTest::addRow("no sequence to lose") << false << "pick5" << false << "5" << false;
    }
    void keyCount() {
        QFETCH(bool, forced);
        QFETCH(QString, edit);
        QFETCH(bool, yes);
        QFETCH(QString, count);
        QFETCH(bool, asked);
        Window w(4, forced);
        const QStringList before{w.box(1, 4)->text(), w.box(1, 5)->text(), w.box(1, 6)->text()};
        w.messages.answerYes = yes;
        w.doubleClick(w.box(1, edit == "pick5" ? 5 : 2), w.picture(5));
        QCOMPARE(w.keyCount(), count);
        QCOMPARE(w.messages.questions.size(), asked ? 1 : 0);
        const bool kept = forced && (!asked || !yes);
        QCOMPARE(w.check("chkInput")->isChecked(), kept);
        QCOMPARE(w.steps().value(3), QString(kept ? "4" : ""));
        const QStringList after{w.box(1, 4)->text(), w.box(1, 5)->text(), w.box(1, 6)->text()};
        QVERIFY(!asked || yes || after == before);
        QCOMPARE(w.get<QLabel>("KeyCountWarning")
                     ->text()
                     .endsWith("1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21."),
                 count == "5");
    }

    // Recording fills the row with a new file named after the key's text.
    void recording_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("loudness");
        QTest::addColumn<QString>("stop"); // the record button again, Salva or Esc
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("message");
        QTest::addRow("word") << 8000 << 9000 << "record"
                              << "parola_2.wav" << QString();
        QTest::addRow("Esc throws it away") << 8000 << 9000 << "Esc"
                                            << "2.wav" << QString();
        QTest::addRow("no microphone") << 0 << 0 << ""
                                       << "2.wav"
                                       << "Nessun microfono disponibile: non è possibile registrare.\r\n"
                                          "Collegare un microfono e riprovare.";
    }
    void recording() {
        QFETCH(int, rate);
        QFETCH(int, loudness);
        QFETCH(QString, stop);
        QFETCH(QString, row);
        QFETCH(QString, message);
        Window w(4, false);
        w.mic.rate = rate;
        const int sounds = QDir(w.P + "/suoni").entryList(QDir::Files).size();
        QTest::mouseClick(w.button(2, 2, "_record"), Qt::LeftButton);
        if (rate > 0) {
            w.mic.hear(300, 0);
            w.mic.hear(300, loudness);
            w.mic.hear(300, 0);
            QTRY_COMPARE(w.get<QProgressBar>("RecordingLevel")->value(), loudness * 100 / 32768);
            QVERIFY(!w.box(2, 2)->isVisible());
        }
        if (stop == "record") {
            QTest::mouseClick(w.button(2, 2, "_record"), Qt::LeftButton);
        } else if (stop == "save") {
            QTest::mouseClick(w.button("cmdSave"), Qt::LeftButton);
        } else if (stop == "Esc") {
            QTest::keyClick(w.form.get(), Qt::Key_Escape);
            QVERIFY(w.form->isVisible());
        }
        QCOMPARE(w.box(2, 2)->text(), w.P + "/suoni/" + row);
        QVERIFY(FileExists(w.P + "/suoni/" + row));
        QCOMPARE(QDir(w.P + "/suoni").entryList(QDir::Files).size(), sounds + (row == "2.wav" ? 0 : 1));
        QVERIFY(!w.mic.started);
        QCOMPARE(w.messages.texts().filter(QRegularExpression("suono|microfono")).join(""), message);
    }

    void thumbnails() {
        Window w(4, false);
        w.box(1, 2)->setText(w.P + "/immagini/rotta.gif");
        w.box(1, 3)->setText(w.P + "/immagini/manca.gif");
        w.form->waitForThumbnails();
        const auto thumbnail = [&](int key) {
            return w.get<QLabel>(QStringLiteral("txtSez1_%1_thumbnail").arg(key - 1));
        };
        QCOMPARE(thumbnail(1)->pixmap().toImage().pixelColor(10, 10), QColor(Qt::red));
        QCOMPARE(thumbnail(2)->text(), QStringLiteral("?"));
        QVERIFY(thumbnail(3)->text().isEmpty() && thumbnail(3)->pixmap().isNull());
    }
};

MIRELVA_TEST(TstSetupKeyTools)
#include "setup_key_tools.moc"
