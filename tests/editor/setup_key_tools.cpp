#include "config/CINIFile.h"
#include "config/FileExists.h"
#include "editor/frmSetup.h"

#include "SetupFakes.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "fakes/WavTestFiles.h"

#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>

namespace {
const QString Accepted = QStringLiteral("1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21.");

// A program folder with pictures 1-6 (PNG), a picture that does not decode,
// sounds 1-6 of k thousand samples, and an active layout of `keys` keys with
// forced input 1..keys when `forced`; the window is open over it with the fakes.
struct Window {
    Window(int keys, bool forced) {
        ResetSharedIni();
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        for (int k = 1; k <= 6; ++k) {
            TestSupport::writeFile(picture(k), {});
            image.save(picture(k));
            TestSupport::writeFile(sound(k), WavTestFiles::wav(WavTestFiles::sine(k * 1000, 1, 22050), 1,
                                                               22050, WavTestFiles::Encoding::Pcm16));
        }
        TestSupport::writeFile(P + "/immagini/rotta.gif", "GIF89a\x10\x00 not a picture");
        // Keys the reader does not find read as empty.
        QString text =
            QStringLiteral(
                "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n[Impostazioni]\r\nTasti=%1\r\n"
                "IsSezione1=1\r\nIsSezione2=1\r\nIsSezione3=1\r\n[Input Obbligato]\r\nIsInput=%2\r\n")
                .arg(keys)
                .arg(forced ? 1 : 0);
        const std::array<std::pair<QString, QString>, 4> families{{{"Sequenza", "SequenzaInput"},
                                                                   {"Sezione Immagini", "Immagine"},
                                                                   {"Sezione Sonoro", "Sonoro"},
                                                                   {"Sezione Testo", "Testo"}}};
        for (std::size_t f = 0; f < families.size(); ++f) {
            text += '[' + families[f].first + "]\r\n";
            for (int k = 1; k <= keys; ++k) {
                const QStringList values{QString::number(k), picture(k), sound(k),
                                         QStringLiteral("parola %1").arg(k)};
                text += QStringLiteral("%1%2=%3\r\n").arg(families[f].second).arg(k).arg(values[int(f)]);
            }
        }
        TestSupport::writeFile(layout(), text.toLatin1());
        TestSupport::writeFile(P + "/cfg.ini",
                               "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + layout().toLatin1());
        form = std::make_unique<frmSetup>(P, state, picker, messages, SetupTools{audio, mic});
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) {
            qWarning("the settings window did not become active");
        }
    }
    QString picture(int k) const { return P + QStringLiteral("/immagini/%1.png").arg(k); }
    QString sound(int k) const { return P + QStringLiteral("/suoni/%1.wav").arg(k); }
    QString layout() const { return P + "/a.ini"; }
    template <typename T = QWidget> T* get(const QString& name) const { return form->findChild<T*>(name); }
    QLineEdit* box(int section, int key) const {
        return get<QLineEdit>(QStringLiteral("txtSez%1_%2").arg(section).arg(key - 1));
    }
    QPushButton* button(int section, int key, const char* kind) const {
        return get<QPushButton>(box(section, key)->objectName() + kind);
    }
    QString count() const { return get<QLabel>("lblTasti")->text(); }
    bool dropOn(QLineEdit* target, const QStringList& names) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& name : names) {
            urls << QUrl::fromLocalFile(P + '/' + name);
        }
        mime.setUrls(urls);
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &drop);
        return enter.isAccepted();
    }
    // A picture box filled or emptied the way a user does: by the picker, or typed and left.
    void setPicture(int key, const QString& path) {
        if (path.isEmpty()) {
            box(1, key)->clear();
            box(1, key)->setFocus();
            box(1, 1)->setFocus();
        } else {
            picker.openAnswers.enqueue(path);
            QTest::mouseDClick(box(1, key), Qt::LeftButton);
        }
    }

    QTemporaryDir dir;
    QString P = dir.path();
    SetupState state;
    ScriptedFilePicker picker;
    RecordingMessages messages;
    RecordingAudioOutput audio{{22050, 1}};
    FakeCaptureSource mic;
    std::unique_ptr<frmSetup> form;
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
        QTest::addRow("picture in other letter case") << 1 << "@P@/IMMAGINI/2.PNG" << false;
        QTest::addRow("misspelt picture") << 1 << "@P@/immagini/2.pgn" << true;
        QTest::addRow("emptied picture") << 1 << "" << false;
        QTest::addRow("misspelt sound") << 2 << "@P@/suoni/22.wav" << true;
        QTest::addRow("sound in other letter case") << 2 << "@P@/Suoni/2.WAV" << false;
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
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("saved");
        const QString q = QStringLiteral("Il file @P@/%1 del tasto 3 non esiste. Salvare comunque?");
        QTest::addRow("missing picture, No") << 1 << true << QList<bool>{false} << q.arg("x.png") << false;
        QTest::addRow("missing picture, Yes") << 1 << true << QList<bool>{true} << q.arg("x.png") << true;
        QTest::addRow("missing sound") << 2 << true << QList<bool>{} << q.arg("x.png") << false;
        QTest::addRow("missing sound, sounds off") << 2 << false << QList<bool>{} << QString() << true;
        QTest::addRow("every file there") << 0 << true << QList<bool>{} << QString() << true;
    }
    void saveAsks() {
        QFETCH(int, section);
        QFETCH(bool, soundsOn);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, question);
        QFETCH(bool, saved);
        Window w(4, false);
        const QByteArray before = TestSupport::readFile(w.layout());
        if (section > 0) {
            w.box(section, 3)->setText(w.P + "/x.png");
        }
        w.get<QCheckBox>("chkSez2")->setChecked(soundsOn);
        w.messages.answers.append(answers);
        QTest::mouseClick(w.get<QPushButton>("cmdSave"), Qt::LeftButton);
        QCOMPARE(w.messages.questions,
                 question.isEmpty() ? QStringList() : QStringList{question.replace("@P@", w.P)});
        QCOMPARE(w.messages.texts(), saved ? QStringList{w.layout() + " memorizzato."} : QStringList());
        QCOMPARE(TestSupport::readFile(w.layout()) == before, !saved);
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
        QTest::addRow("picture 4 emptied, No") << true << "clear4" << false << "4" << true;
        QTest::addRow("pictures 5 and 6 dropped, No") << true << "drop56" << false << "4" << true;
        QTest::addRow("pictures 5 and 6 dropped, Yes") << true << "drop56" << true << "6" << true;
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
        w.messages.answers << yes;
        if (edit == "pick5" || edit == "pick2") {
            w.setPicture(edit == "pick5" ? 5 : 2, w.picture(5));
        } else if (edit == "clear4") {
            w.setPicture(4, {});
        } else {
            QVERIFY(w.dropOn(w.box(1, 5), {"immagini/5.png", "immagini/6.png"}));
        }
        QCOMPARE(w.count(), count);
        QCOMPARE(w.messages.questions.size(), asked ? 1 : 0);
        const bool kept = forced && (!asked || !yes);
        QCOMPARE(w.get<QCheckBox>("chkInput")->isChecked(), kept);
        QCOMPARE(w.get<QLabel>("lblInput_4")->text(), QString(kept ? "4" : ""));
        if (asked && !yes) {
            QCOMPARE((QStringList{w.box(1, 4)->text(), w.box(1, 5)->text(), w.box(1, 6)->text()}), before);
        }
        const QString warning = w.get<QLabel>("KeyCountWarning")->text();
        QCOMPARE(warning.endsWith(Accepted), count == "5");
    }

    void drop_data() {
        QTest::addColumn<int>("section");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("rows"); // the rows from `key` on, after the drop
        QTest::addColumn<QString>("message");
        QTest::addRow("WAVs from row 20")
            << 2 << 20 << QStringList{"suoni/1.wav", "suoni/2.wav", "suoni/3.wav"}
            << QStringList{"suoni/1.wav", "suoni/2.wav"}
            << "1 file non sono stati inseriti: i tasti sono al massimo 21.";
        QTest::addRow("only the pictures of a mixed drop")
            << 1 << 2 << QStringList{"suoni/1.wav", "immagini/6.png"}
            << QStringList{"immagini/6.png", "immagini/3.png"} << "";
        QTest::addRow("WAV on the pictures page")
            << 1 << 2 << QStringList{"suoni/1.wav"} << QStringList{"immagini/2.png"} << "";
        QTest::addRow("picture on the sounds page")
            << 2 << 2 << QStringList{"immagini/1.png"} << QStringList{"suoni/2.wav"} << "";
    }
    void drop() {
        QFETCH(int, section);
        QFETCH(int, key);
        QFETCH(QStringList, files);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);
        Window w(4, false);
        w.dropOn(w.box(section, key), files);
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(w.box(section, key + i)->text(), w.P + '/' + rows[i]);
        }
        QCOMPARE(w.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    // One thing heard at a time: another press stops the first, the same press stops it.
    void playback() {
        Window w(4, false);
        QTest::mouseClick(w.button(2, 1, "_play"), Qt::LeftButton);
        QCOMPARE(w.audio.pending.size(), std::size_t(1000));
        QTest::mouseClick(w.button(2, 3, "_play"), Qt::LeftButton);
        QCOMPARE(w.audio.pending.size(), std::size_t(3000));
        QTest::mouseClick(w.button(2, 3, "_play"), Qt::LeftButton);
        QCOMPARE(w.audio.pending.size(), std::size_t(0));
        QTest::mouseClick(w.button(2, 2, "_play"), Qt::LeftButton);
        const std::vector<qint16> sound = w.audio.pending;
        QTest::mouseClick(w.button(3, 2, "_speak"), Qt::LeftButton);
        if (w.messages.shown.isEmpty()) {
            QVERIFY(!w.audio.pending.empty());
            QVERIFY(w.audio.pending.size() < sound.size() ||
                    !std::equal(sound.begin(), sound.end(), w.audio.pending.begin()));
        }
        QVERIFY(w.audio.allHeard().empty()); // the window never waited for a sound
    }

    // Recording fills the row with a new file named after the key's text.
    void recording_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("loudness");
        QTest::addColumn<QString>("stop"); // "record" button again, or "Esc"
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("message");
        QTest::addRow("word") << 8000 << 9000 << "record"
                              << "@P@/suoni/parola_2.wav"
                              << "";
        QTest::addRow("stopped by saving") << 8000 << 9000 << "save"
                                           << "@P@/suoni/parola_2.wav"
                                           << "";
        QTest::addRow("Esc throws it away") << 8000 << 9000 << "Esc"
                                            << "@P@/suoni/2.wav"
                                            << "";
        QTest::addRow("silence") << 8000 << 0 << "record"
                                 << "@P@/suoni/2.wav"
                                 << "Non è stato registrato alcun suono: controllare che il microfono sia "
                                    "collegato e acceso, poi riprovare.";
        QTest::addRow("no microphone") << 0 << 0 << ""
                                       << "@P@/suoni/2.wav"
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
            QTest::mouseClick(w.get<QPushButton>("cmdSave"), Qt::LeftButton);
        } else if (stop == "Esc") {
            QTest::keyClick(w.form.get(), Qt::Key_Escape);
            QVERIFY(w.form->isVisible());
        }
        QCOMPARE(w.box(2, 2)->text(), row.replace("@P@", w.P));
        QVERIFY(FileExists(row));
        QCOMPARE(QDir(w.P + "/suoni").entryList(QDir::Files).size(), row.endsWith("parola_2.wav") ? 7 : 6);
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
        QVERIFY(!thumbnail(1)->pixmap().isNull());
        QCOMPARE(thumbnail(1)->pixmap().toImage().pixelColor(10, 10), QColor(Qt::red));
        QCOMPARE(thumbnail(2)->text(), QStringLiteral("?"));
        QVERIFY(thumbnail(3)->text().isEmpty() && thumbnail(3)->pixmap().isNull());
    }
};

MIRELVA_TEST(TstSetupKeyTools)
#include "setup_key_tools.moc"
