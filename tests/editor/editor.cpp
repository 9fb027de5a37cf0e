#include "config/FileExists.h"
#include "editor/editor_support.h"
#include "fakes/TestRegistry.h"

#include <QProgressBar>

namespace {
using Ints = QList<int>;
} // namespace

class TstEditor : public QObject {
    Q_OBJECT
private slots:
    // What an opening shows for each kind of active layout (fields changed from
    // the standard 4-key layout); a refused one opens as a new layout, and
    // opening writes nothing.
    void opening_data() {
        QTest::addColumn<QStringList>("change"); // "old=>new" in the standard 4-key layout
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown"); // key count and switches, "" for a new layout
        const auto row = [](const char* tag, const QStringList& change, const QString& message,
                            const QString& shown) { QTest::addRow("%s", tag) << change << message << shown; };
        const QString bad = QStringLiteral("Non è un layout valido.");
        const QString none;
        row("missing layout file", {"missing"}, none, none);
        row("marker in lower case", {"COMUNICATORE=>comunicatore"}, none, "4 1110");
        row("names in lower case", {"lower case"}, none, "4 1110");
        row("wrong marker", {"<$$-COMUNICATORE-$$>=>altro"}, bad, none);
        row("Tasti 22", {"Tasti = 4=>Tasti = 22"},
            "Il numero dei tasti specificato non è valido. Il numero massimo di tasti "
            "consentito è 21.",
            none);
        row("Tasti 0 shows one key", {"Tasti = 4=>Tasti = 0"}, none, "1 1110");
        row("Tasti beyond 16 bits", {"Tasti = 4=>Tasti = 70000"}, bad, none);
        row("switches out of range give 0",
            {"IsSezione2 = 1=>IsSezione2 = 7", "IsSezione3 = 1=>IsSezione3 = -1", "IsInput = 0=>IsInput = 2"},
            none, "4 1000");
    }
    void opening() {
        QFETCH(QStringList, change);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        const QString keys = shown.section(' ', 0, 0);
        SetupFixture f;
        TestLayout layout = f.standard(4);
        layout.lowerCaseNames = change[0] == "lower case";
        QByteArray bytes = layout.bytes();
        for (const QString& edit : change) {
            bytes.replace(edit.section("=>", 0, 0).toLatin1(), edit.section("=>", 1).toLatin1());
        }
        f.activate(f.layout(1), change[0] == "missing" ? QByteArray() : bytes);
        const QByteArray layoutBefore = TestSupport::readFile(f.layout(1));
        f.open();
        QCOMPARE(f.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        const bool isNew = keys.isEmpty();
        QCOMPARE(f.path()->text(), isNew ? f.P + QStringLiteral("/layout1.ini") : f.layout(1));
        QCOMPARE(f.keyCount(), isNew ? QStringLiteral("1") : keys);
        QString checks;
        for (const char* name : {"chkSez1", "chkSez2", "chkSez3", "chkInput"}) {
            checks += f.check(name)->isChecked() ? '1' : '0';
        }
        QCOMPARE(checks, isNew ? QStringLiteral("1000") : shown.section(' ', 1));
        const int filled = isNew || keys == "1" ? 0 : 4;
        for (int k = 1; k <= 5; ++k) {
            QCOMPARE(f.box(1, k)->text(), k <= filled ? f.picture(k) : QString());
            QVERIFY(k > filled || f.box(3, k)->text() == QStringLiteral("parola %1").arg(k));
        }
        QCOMPARE(f.get<QLineEdit>("txtTF_11")->text(), isNew ? QString() : f.layout(12));
        QCOMPARE(TestSupport::readFile(f.layout(1)), layoutBefore);
        QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(f.layout(1)));
    }

    // A new layout takes the first free name layoutN.ini in the program folder.
    void newLayoutName_data() {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("expected");
        QTest::addRow("taken in other letter case") << "LAYOUT1.INI"
                                                    << "layout2.ini";
        QTest::addRow("a folder takes the name") << "layout1.ini/"
                                                 << "layout2.ini";
    }
    void newLayoutName() {
        QFETCH(QString, existing);
        QFETCH(QString, expected);
        SetupFixture f;
        const QString path = f.P + '/' + existing;
        QVERIFY(existing.endsWith('/') ? QDir().mkpath(path) : TestSupport::writeFile(path, "x"));
        f.activate(f.P + QStringLiteral("/layout/manca.ini"), QByteArray());
        f.open();
        QCOMPARE(f.path()->text(), f.P + QLatin1Char('/') + expected);
    }

    // The order in which the toggles are pressed is the sequence: a released
    // key leaves it, a toggle above the key count does nothing, and unchecking
    // forced input clears it all.
    void editSequence() {
        SetupFixture f;
        f.openStandard();
        QCOMPARE(f.toggles(true), Ints{});
        f.click(f.check("chkInput"));
        for (int k : {3, 1, 5, 2, 1}) {
            f.click(f.toggle(k));
        }
        QCOMPARE(f.steps(), (QStringList{"3", "2"}));
        f.click(f.button("cmdBonus"));
        f.click(f.check("chkInput"));
        QCOMPARE(f.steps(), QStringList());
        QCOMPARE(f.toggles(false), Ints{});
        QCOMPARE(f.toggles(true), Ints{});
        QCOMPARE(f.get<QStackedWidget>("Pages")->currentIndex(), 0);
    }

    // Each box opens its own picker; a cancelled picker keeps the text; a
    // layout name gets the .ini extension.
    void pickers_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("kind"); // 0 none, 1 open, 2 save
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        const QString old = QStringLiteral("old");
        QTest::addRow("sound cancelled") << "txtSez2_0" << 1 << "" << old;
        QTest::addRow("function key cfg.ini ignored") << "txtTF_0" << 1 << "/d/CFG.ini" << old;
        QTest::addRow("text has no picker") << "txtSez3_0" << 0 << "/d/x" << old;
        QTest::addRow("layout name .txt") << "txtPathLayout" << 2 << "/d/mio.txt" << QString("/d/mio.ini");
        QTest::addRow("layout name .INI kept")
            << "txtPathLayout" << 2 << "/d/MIO.INI" << QString("/d/MIO.INI");
    }
    void pickers() {
        QFETCH(QString, box);
        QFETCH(int, kind);
        QFETCH(QString, answer);
        SetupFixture f;
        f.openStandard();
        QLineEdit* edit = f.get<QLineEdit>(box);
        edit->setText(QStringLiteral("old"));
        const int page = box.mid(3, 4) == "Sez2"   ? 1
                         : box.mid(3, 4) == "Sez3" ? 2
                         : box.startsWith("txtTF") ? 3
                                                   : 0;
        f.click(f.get<QPushButton>(QStringLiteral("cmdSez_%1").arg(page)));
        f.doubleClick(edit, answer);
        QCOMPARE(f.picker.calls.size(), kind == 0 ? 0 : 1);
        QVERIFY(kind == 0 || f.picker.calls[0].kind == (kind == 1 ? ScriptedFilePicker::Kind::Open
                                                                  : ScriptedFilePicker::Kind::Save));
        QTEST(edit->text(), "expected");
    }

    // Esc and Annulla close without writing anything, and ask first when something was edited.
    void closing_data() {
        QTest::addColumn<bool>("escape");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("yes");
        QTest::addRow("Esc, nothing edited") << true << false << false;
        QTest::addRow("Esc after an edit, No stays") << true << true << false;
        QTest::addRow("Annulla after an edit, Yes closes") << false << true << true;
    }
    void closing() {
        QFETCH(bool, escape);
        QFETCH(bool, edit);
        QFETCH(bool, yes);
        SetupFixture f;
        f.openStandard();
        const QByteArray layoutBefore = TestSupport::readFile(f.layout(1));
        if (edit) {
            f.box(3, 1)->setText(QStringLiteral("cambiato"));
        }
        f.messages.answerYes = yes;
        f.box(3, 1)->setFocus();
        escape ? QTest::keyClick(f.box(3, 1), Qt::Key_Escape) : f.click(f.button("cmdAnnulla"));
        QCOMPARE(f.messages.questions.size(), edit ? 1 : 0);
        const bool closed = !edit || yes;
        QCOMPARE(f.form->isVisible(), !closed);
        QVERIFY(!closed || f.form->result() == int(QDialog::Rejected));
        QCOMPARE(TestSupport::readFile(f.layout(1)), layoutBefore);
        QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(f.layout(1)));
    }

    // A path is marked while it is typed, found the way the runtime finds files.
    void marks_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("missing");
        QTest::addRow("picture in other letter case") << "@P@/IMMAGINI/2.GIF" << false;
        QTest::addRow("misspelt picture") << "@P@/immagini/2.gfi" << true;
    }
    void marks() {
        QFETCH(QString, typed);
        QFETCH(bool, missing);
        SetupFixture w;
        w.openStandard();
        w.box(1, 2)->clear();
        QTest::keyClicks(w.box(1, 2), typed.replace("@P@", w.P));
        const auto* mark = w.get<QLabel>(w.box(1, 2)->objectName() + "_mark");
        QCOMPARE(mark->toolTip(), missing ? QStringLiteral("File non trovato") : QString());
        QCOMPARE(mark->text().isEmpty(), !missing);
    }

    // A picture that decodes shows small, one that does not shows "?", an empty box nothing.
    void thumbnails() {
        SetupFixture w;
        w.openStandard();
        QImage red(16, 16, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(w.P + "/immagini/rossa.bmp"));
        w.box(1, 1)->setText(w.P + "/immagini/rossa.bmp");
        w.box(1, 3)->clear();
        w.form->waitForThumbnails();
        const auto thumbnail = [&](int key) {
            return w.get<QLabel>(w.box(1, key)->objectName() + "_thumbnail");
        };
        QCOMPARE(thumbnail(1)->pixmap().toImage().pixelColor(8, 8), QColor(Qt::red));
        QCOMPARE(thumbnail(2)->text(), QStringLiteral("?"));
        // The "?" says why: this GIF stops after its signature.
        QVERIFY2(thumbnail(2)->toolTip().contains("danneggiato"), qPrintable(thumbnail(2)->toolTip()));
        QVERIFY(thumbnail(3)->text().isEmpty() && thumbnail(3)->pixmap().isNull());
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
        SetupFixture w;
        w.openStandard(forced);
        w.messages.answerYes = yes;
        w.doubleClick(w.box(1, edit == "pick5" ? 5 : 2), w.picture(5));
        QCOMPARE(w.keyCount(), count);
        QCOMPARE(w.messages.questions.size(), asked ? 1 : 0);
        const bool kept = forced && (!asked || !yes);
        QCOMPARE(w.check("chkInput")->isChecked(), kept);
        QCOMPARE(w.steps().value(3), QString(kept ? "4" : ""));
        QVERIFY(!asked || yes || w.box(1, 5)->text().isEmpty());
        const QString warning = w.get<QLabel>("KeyCountWarning")->text();
        QCOMPARE(warning.endsWith("1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21."), count == "5");
    }

    // Recording fills the row with a new file named after the key's text; Esc
    // throws it away; without a microphone the user is told.
    void recording_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<QString>("row");
        QTest::addRow("word") << 8000 << false << "parola_2.wav";
        QTest::addRow("Esc throws it away") << 8000 << true << "2.wav";
        QTest::addRow("no microphone") << 0 << false << "2.wav";
    }
    void recording() {
        QFETCH(int, rate);
        QFETCH(bool, escape);
        QFETCH(QString, row);
        SetupFixture w;
        w.openStandard();
        w.mic.rate = rate;
        const int sounds = QDir(w.P + "/suoni").entryList(QDir::Files).size();
        auto* record = w.get<QPushButton>(w.box(2, 2)->objectName() + "_record");
        QTest::mouseClick(record, Qt::LeftButton);
        if (rate > 0) {
            w.mic.hear(300, 0);
            w.mic.hear(300, 9000);
            w.mic.hear(300, 0);
            QTRY_COMPARE(w.get<QProgressBar>("RecordingLevel")->value(), 9000 * 100 / 32768);
            QVERIFY(!w.box(2, 2)->isVisible());
            escape ? QTest::keyClick(w.form.get(), Qt::Key_Escape)
                   : QTest::mouseClick(record, Qt::LeftButton);
            QVERIFY(w.form->isVisible());
        }
        QCOMPARE(w.box(2, 2)->text(), w.P + "/suoni/" + row);
        QVERIFY(FileExists(w.P + "/suoni/" + row));
        QCOMPARE(QDir(w.P + "/suoni").entryList(QDir::Files).size(), sounds + (row == "2.wav" ? 0 : 1));
        QVERIFY(!w.mic.started);
        QCOMPARE(w.messages.texts().filter("microfono").size(), rate > 0 ? 0 : 1);
    }
};

MIRELVA_TEST(TstEditor)
#include "editor.moc"
