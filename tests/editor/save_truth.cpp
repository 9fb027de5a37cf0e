#include "config/IniSnapshot.h"
#include "config/LayoutData.h"
#include "config/LayoutFile.h"
#include "config/LayoutReader.h"
#include "editor/BoardCanvas.h"
#include "editor/BoardEditor.h"
#include "editor/editor_support.h"

#include <QComboBox>
#include "fakes/TestRegistry.h"

namespace {
// True when the table opens the active layout without a message.
bool TableOpens(const QString& P) {
    RecordingMessages messages;
    LayoutData data;
    return !LayoutReader(P, messages, data).ReadLayout() && messages.shown.isEmpty();
}
} // namespace

// "memorizzato" only for a layout the table opens, or after the user chose to
// save one it will not; the fix is offered and, taken, gives a layout that opens.
class TstSaveTruth : public QObject {
    Q_OBJECT
private slots:
    void tableRules_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("answers"); // Y and N, in the order asked
        QTest::addColumn<QString>("asked");   // words of the first question
        QTest::addColumn<int>("saved");       // 0 nothing written, 1 saved and opens, 2 saved, refused
        const auto row = [](const char* name, const QString& edit, const QString& answers,
                            const QString& asked,
                            int saved) { QTest::addRow("%s", name) << edit << answers << asked << saved; };
        row("6 keys, sounds for 2: Yes switches sounds off", "sounds2of6", "Y",
            "i tasti 3, 4, 5 e 6 non hanno nessuno", 1);
        row("6 keys, sounds for 2: No, No stays open", "sounds2of6", "NN", "Disattivare la Sezione 2", 0);
        row("6 keys, sounds for 2: No, Yes saves anyway", "sounds2of6", "NY", "Disattivare la Sezione 2", 2);
        row("sequence shorter than the keys: Yes switches forced input off", "shortSequence", "Y",
            "ma il passo 4 è vuoto", 1);
        row("pictures switched off: Yes switches them on", "section1Off", "Y", "«Attiva Sezione 1»", 1);
        row("moved picture: Yes picks it again", "movedPicture", "Y", "L'immagine del tasto 3", 1);
        row("moved picture: No, No stays open", "movedPicture", "NN", "L'immagine del tasto 3", 0);
    }
    void tableRules() {
        QFETCH(QString, edit);
        QFETCH(QString, answers);
        QFETCH(QString, asked);
        QFETCH(int, saved);
        SetupFixture f;
        f.activate(f.layout(1), f.standard(edit == "sounds2of6" ? 6 : 4, edit == "shortSequence").bytes());
        const QByteArray before = TestSupport::readFile(f.layout(1));
        f.open();
        if (edit == "sounds2of6") {
            for (int k = 3; k <= 6; ++k) {
                f.box(2, k)->clear();
            }
        } else if (edit == "shortSequence") {
            f.click(f.toggle(4));
            QCOMPARE(f.steps(), (QStringList{"1", "2", "3"}));
        } else if (edit == "section1Off") {
            f.click(f.check("chkSez1"));
        } else if (edit == "movedPicture") {
            QVERIFY(QFile::rename(f.picture(3), f.P + "/spostata.gif"));
            f.picker.openAnswers.enqueue(f.P + "/spostata.gif");
        }
        for (const QChar a : answers) {
            f.messages.answers << (a == 'Y');
        }
        f.click(f.button("cmdSave"));
        QVERIFY(!f.messages.questions.isEmpty());
        QVERIFY2(f.messages.questions[0].contains(asked), qPrintable(f.messages.questions[0]));
        QVERIFY(f.messages.questions[0].contains("la tabella non aprirà il layout"));
        QCOMPARE(f.messages.texts().filter(" memorizzato.").size(), saved > 0 ? 1 : 0);
        QCOMPARE(f.form->isVisible(), saved == 0);
        if (saved == 0) {
            QCOMPARE(TestSupport::readFile(f.layout(1)), before);
            return;
        }
        QCOMPARE(TableOpens(f.P), saved == 1);
    }

    // Keys 10 to 12 taken off and put back in a later opening keep their sounds and texts.
    void keysTakenOffAndBack() {
        SetupFixture f;
        f.activate(f.layout(1), f.standard(12).bytes());
        f.open();
        for (int k = 10; k <= 12; ++k) {
            f.box(1, k)->clear();
        }
        f.box(1, 1)->setFocus();
        f.box(3, 1)->setFocus();
        QCOMPARE(f.keyCount(), QStringLiteral("9"));
        f.messages.answerYes = true;
        f.click(f.button("cmdSave"));
        QCOMPARE(f.messages.questions,
                 QStringList{
                     "I tasti 10, 11 e 12 sono senza immagine: la tabella mostrerà 9 tasti. Suoni e testi "
                     "restano nel layout e tornano quando si rimettono le immagini.\r\nSalvare il layout?"});
        f.close();
        f.open();
        for (int k = 10; k <= 12; ++k) {
            f.doubleClick(f.box(1, k), f.picture(k));
        }
        QCOMPARE(f.keyCount(), QStringLiteral("12"));
        f.click(f.button("cmdSave"));
        QVERIFY(!f.form->isVisible());
        for (int k = 10; k <= 12; ++k) {
            QCOMPARE(LayoutValue(f.layout(1), "Sezione Sonoro", QStringLiteral("Sonoro%1").arg(k)),
                     f.sound(k));
            QCOMPARE(LayoutValue(f.layout(1), "Sezione Testo", QStringLiteral("Testo%1").arg(k)),
                     QStringLiteral("parola %1").arg(k));
        }
        QVERIFY(TableOpens(f.P));
    }

    // A layout's links (also those of keys no longer shown) and its voice survive an edit and a save.
    void linksKept() {
        SetupFixture f;
        LayoutContent content;
        content.KeyCount = 2;
        for (int k = 0; k < 2; ++k) {
            content.Pictures[std::size_t(k)] = f.picture(k + 1);
        }
        content.Links[0] = f.layout(2);
        content.Links[1] = LayoutFile::LinkBack;
        content.Links[2] = LayoutFile::LinkHome;
        content.Voice = QStringLiteral("espeak-ng:it+f3");
        f.activate(f.layout(1), LayoutFile::Encode(content));
        f.open();
        f.click(f.button("cmdSez_2"));
        f.box(3, 1)->setText(QStringLiteral("mela"));
        f.click(f.button("cmdSave"));
        QVERIFY(!f.form->isVisible());
        const LayoutFile::Editable saved = LayoutFile::ReadForEditing(IniSnapshot::FromFile(f.layout(1)));
        QCOMPARE(saved.content.Texts[0], QStringLiteral("mela"));
        QCOMPARE(saved.content.Links, content.Links);
        QCOMPARE(saved.content.Voice, content.Voice);
    }

    // The links page, by keyboard and picker: what each choice stores, the
    // questions a save asks, and where a refused save leaves the user.
    void linksPage_data() {
        QTest::addColumn<QStringList>("actions"); // down K N | pick K PATH | type K PATH | nopic K
        QTest::addColumn<QString>("answers");     // Y and N, in the order asked
        QTest::addColumn<QString>("asked");       // words of the last question, empty for none
        QTest::addColumn<QStringList>("links");   // keys 1-4 as saved; empty: nothing written
        QTest::addRow("arrow keys choose back, home, none")
            << QStringList{"down 1 1", "down 2 2", "down 3 3", "down 3 -3"} << ""
            << "" << QStringList{"<indietro>", "<inizio>", "", ""};
        QTest::addRow("layout picked, cfg.ini and a cancelled picker change nothing")
            << QStringList{"pick 1 @P@/layout/lay2.ini", "pick 2 @P@/CFG.INI", "pick 3 "} << ""
            << "" << QStringList{"@P@/layout/lay2.ini", "", "", ""};
        QTest::addRow("a typed path is a layout, an emptied box no link")
            << QStringList{"down 1 1", "type 1 @P@/layout/lay2.ini", "type 2 x", "type 2 "} << ""
            << "" << QStringList{"@P@/layout/lay2.ini", "", "", ""};
        QTest::addRow("a hidden key keeps its link")
            << QStringList{"down 4 2", "nopic 4"} << "Y"
            << "Suoni, testi e collegamenti restano" << QStringList{"", "", "", "<inizio>"};
        QTest::addRow("missing target: Yes saves it")
            << QStringList{"type 2 @P@/layout/via.ini"} << "Y"
            << "Il layout collegato al tasto 2" << QStringList{"", "@P@/layout/via.ini", "", ""};
        QTest::addRow("missing target: No stays on its box")
            << QStringList{"type 2 @P@/layout/via.ini"} << "N"
            << "Il layout collegato al tasto 2" << QStringList{};
    }
    void linksPage() {
        QFETCH(QStringList, actions);
        QFETCH(QString, answers);
        QFETCH(QString, asked);
        QFETCH(QStringList, links);
        SetupFixture f;
        QVERIFY(TestSupport::writeFile(f.layout(2), f.standard(2).bytes()));
        f.openStandard();
        const QByteArray before = TestSupport::readFile(f.layout(1));
        f.click(f.button("cmdLinks"));
        const auto choice = [&](int k) { return f.get<QComboBox>(QStringLiteral("cmbLink_%1").arg(k - 1)); };
        const auto box = [&](int k) { return f.get<QLineEdit>(QStringLiteral("txtLink_%1").arg(k - 1)); };
        for (const QString& action : actions) {
            const QStringList w = action.split(' ');
            const int k = w[1].toInt();
            const QString arg = w.value(2).replace("@P@", f.P);
            if (w[0] == "down") {
                choice(k)->setFocus();
                for (int n = 0; n < std::abs(arg.toInt()); ++n) {
                    QTest::keyClick(choice(k), arg.toInt() > 0 ? Qt::Key_Down : Qt::Key_Up);
                }
            } else if (w[0] == "pick") {
                f.picker.openAnswers.enqueue(arg);
                choice(k)->setFocus();
                QTest::keyClick(choice(k), Qt::Key_End);
                f.picker.openAnswers.clear();
            } else if (w[0] == "type") {
                box(k)->clear();
                QTest::keyClicks(box(k), arg);
            } else if (w[0] == "nopic") {
                f.box(1, k)->clear();
                f.box(1, 1)->setFocus();
            }
        }
        for (const QChar a : answers) {
            f.messages.answers << (a == 'Y');
        }
        f.click(f.button("cmdSave"));
        QCOMPARE(f.messages.questions.isEmpty(), asked.isEmpty());
        QVERIFY(asked.isEmpty() || f.messages.questions.last().contains(asked));
        if (links.isEmpty()) {
            QCOMPARE(TestSupport::readFile(f.layout(1)), before);
            QCOMPARE(f.get<QStackedWidget>("Pages")->currentIndex(), int(SetupControls::LinksPage));
            QCOMPARE(QApplication::focusWidget(), box(2));
            return;
        }
        QVERIFY(!f.form->isVisible());
        const LayoutFile::Editable saved = LayoutFile::ReadForEditing(IniSnapshot::FromFile(f.layout(1)));
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(saved.content.Links[std::size_t(k - 1)], links[k - 1].replace("@P@", f.P));
        }
    }

    // A board edited on the board editor (keys swapped by keyboard, undone and
    // redone) saves the bytes the settings window saves for the same edit.
    void boardEditorSavesSameBytes() {
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        {
            BoardEditor board(f.P, f.state, f.picker, f.messages, f.tools);
            board.show();
            QVERIFY(QTest::qWaitForWindowActive(&board));
            board.canvas().setFocus();
            QTest::keyClick(&board.canvas(), Qt::Key_Right, Qt::ControlModifier);
            QTest::keyClick(&board.canvas(), Qt::Key_Z, Qt::ControlModifier);
            QTest::keyClick(&board.canvas(), Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(board.canvas().selected(), 2);
            board.findChild<QPushButton*>("cmdSave")->click();
            QCOMPARE(f.messages.shown.value(0).text, f.layout(1) + " memorizzato.");
            QVERIFY(!board.edit().editor().changed());
        }
        const QByteArray fromBoard = TestSupport::readFile(f.layout(1));
        f.activate(f.layout(2), f.standard(4).bytes());
        f.open();
        for (int section = 1; section <= 3; ++section) {
            const QString first = f.box(section, 1)->text();
            f.box(section, 1)->setText(f.box(section, 2)->text());
            f.box(section, 2)->setText(first);
        }
        f.click(f.button("cmdSave"));
        QVERIFY(!f.form->isVisible());
        QCOMPARE(TestSupport::readFile(f.layout(2)), fromBoard);
        QVERIFY(fromBoard != f.standard(4).bytes());
    }

    // Another layout's name typed in the box asks before it is replaced.
    void typedExistingName_data() {
        QTest::addColumn<bool>("yes");
        QTest::addRow("No keeps the other layout") << false;
        QTest::addRow("Yes replaces it") << true;
    }
    void typedExistingName() {
        QFETCH(bool, yes);
        SetupFixture f;
        QVERIFY(TestSupport::writeFile(f.layout(2), f.standard(2).bytes()));
        const QByteArray other = TestSupport::readFile(f.layout(2));
        f.openStandard();
        f.path()->setText(f.layout(2));
        f.messages.answerYes = yes;
        f.click(f.button("cmdSave"));
        QCOMPARE(f.messages.questions.size(), 1);
        QVERIFY(f.messages.questions[0].startsWith("Il file «" + f.layout(2) + "» esiste già."));
        QCOMPARE(TestSupport::readFile(f.layout(2)) == other, !yes);
        QCOMPARE(f.form->isVisible(), !yes);
    }
};

MIRELVA_TEST(TstSaveTruth)
#include "save_truth.moc"
