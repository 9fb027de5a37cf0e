#include "config/LayoutFile.h"
#include "editor/BoardEdit.h"
#include "editor/LayoutEditor.h"
#include "editor/editor_support.h"
#include "fakes/TestRegistry.h"

// The editing rules without a window.
class TstLayoutEditor : public QObject {
    Q_OBJECT
private slots:
    // The board editor's edits: each is one step that undo takes back whole
    // and redo puts again, and what a save writes follows them.
    void boardEdits_data() {
        QTest::addColumn<QStringList>(
            "actions"); // text|link|pic K T | swap A B | count N | copy A B | new N | dup | fill P,P..
        QTest::addColumn<QString>("board"); // keys, name, sequence, then keys 1-4: picture,text,link
        QTest::addColumn<int>("steps");     // edits undo can take back
        QTest::addColumn<int>("left");      // pictures the last fill found no empty key for
        const auto row = [](const char* name, const QStringList& actions, const QString& board, int steps,
                            int left) { QTest::addRow("%s", name) << actions << board << steps << left; };
        const QString standard = "4 lay1 1-2-3-4 1,parola 1,|2,parola 2,|3,parola 3,|4,parola 4,";
        row("a text", {"text 2 mela"}, "4 lay1 1-2-3-4 1,parola 1,|2,mela,|3,parola 3,|4,parola 4,", 1, 0);
        row("the same value again is no step", {"link 1 -", "text 3 x", "text 3 x"},
            "4 lay1 1-2-3-4 1,parola 1,|2,parola 2,|3,x,|4,parola 4,", 1, 0);
        row("a swap takes values, link and step along", {"link 1 <indietro>", "swap 1 3"},
            "4 lay1 3-2-1-4 3,parola 3,|2,parola 2,|1,parola 1,<indietro>|4,parola 4,", 2, 0);
        row("fewer keys keep the hidden pictures for a save", {"count 2"},
            "2 lay1  1,parola 1,|2,parola 2,|3,parola 3,|4,parola 4,", 1, 0);
        row("and give them back", {"count 2", "count 4"},
            "4 lay1  1,parola 1,|2,parola 2,|3,parola 3,|4,parola 4,", 2, 0);
        row("a key copied onto another", {"copy 4 1"},
            "4 lay1 1-2-3-4 4,parola 4,|2,parola 2,|3,parola 3,|4,parola 4,", 1, 0);
        row("an empty board of 6 keys", {"text 1 a", "new 6"}, "6 layout1  ,,|,,|,,|,,", 2, 0);
        row("a duplicate under a new name", {"dup"}, QString(standard).replace("lay1", "layout1"), 1, 0);
        row("an edit after an undo ends the redo", {"text 1 a", "undo", "text 1 b", "redo"},
            "4 lay1 1-2-3-4 1,b,|2,parola 2,|3,parola 3,|4,parola 4,", 1, 0);
        row("pictures chosen together fill empty keys, words from their names",
            {"new 6", "text 2 latte", "fill 01_mela.png,pane-e-burro.gif"},
            "6 layout1  01_mela,mela,|pane-e-burro,latte,|,,|,,", 3, 0);
        row("only the empty keys, the rest left over",
            {"pic 3 -", "text 3 -", "fill succo_di_frutta.png,a.png,b.png"},
            "4 lay1 1-2-3-4 1,parola 1,|2,parola 2,|succo_di_frutta,succo di frutta,|4,parola 4,", 3, 2);
        row("nothing empty is no step", {"fill a.png"}, standard, 0, 1);
    }
    void boardEdits() {
        QFETCH(QStringList, actions);
        QFETCH(QString, board);
        QFETCH(int, steps);
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4, true).bytes());
        SetupState state;
        LayoutEditor editor(f.P, state);
        QCOMPARE(editor.open(), LayoutEditor::Opened::Loaded);
        BoardEdit edit(editor);
        const QByteArray opened = LayoutFile::Encode(editor.content());
        const auto describe = [&] {
            const LayoutContent c = editor.content();
            QStringList keys;
            for (std::size_t k = 0; k < 4; ++k) {
                keys << QStringList{QFileInfo(c.Pictures[k]).baseName(), c.Texts[k], c.Links[k]}.join(',');
            }
            return QStringLiteral("%1 %2 %3 %4")
                .arg(c.KeyCount)
                .arg(QFileInfo(editor.layoutPath()).baseName(), editor.sequence().join('-'), keys.join('|'));
        };
        using F = LayoutEditor::Field;
        int leftOver = 0;
        for (const QString& action : actions) {
            const QStringList w = action.split(' ');
            const int a = w.value(1).toInt();
            const QString v = w.value(2) == "-" ? QString() : w.value(2);
            if (w[0] == "text" || w[0] == "link" || w[0] == "pic") {
                edit.setValue(w[0] == "text" ? F::Text : w[0] == "link" ? F::Link : F::Picture, a, v);
            } else if (w[0] == "fill") {
                QList<BoardEdit::Key> chosen;
                for (const QString& file : w[1].split(',')) {
                    chosen << BoardEdit::Key{file, {}, BoardEdit::WordsOf(file), {}};
                }
                leftOver = edit.fillEmptyKeys(chosen);
            } else if (w[0] == "swap") {
                edit.swap(a, v.toInt());
            } else if (w[0] == "count") {
                edit.setKeyCount(a);
            } else if (w[0] == "copy") {
                edit.setKey(v.toInt(), edit.key(a));
            } else if (w[0] == "new") {
                edit.newBoard(a);
            } else if (w[0] == "dup") {
                edit.duplicate();
            } else {
                w[0] == "undo" ? edit.undo() : edit.redo();
            }
        }
        QCOMPARE(describe(), board);
        QTEST(leftOver, "left");
        const QByteArray edited = LayoutFile::Encode(editor.content());
        for (int n = 0; n < steps; ++n) {
            QVERIFY(edit.undo());
        }
        QVERIFY(!edit.undo());
        QCOMPARE(LayoutFile::Encode(editor.content()), opened);
        QVERIFY(!editor.changed());
        while (edit.redo()) {
        }
        QCOMPARE(describe(), board);
        QCOMPARE(LayoutFile::Encode(editor.content()), edited);
    }

    // On a board started empty (sounds and words off) a key given a sound or
    // words switches their section on in the same step, so the table plays
    // and says them; a picture or a link switches nothing.
    void sectionsFollowEdits_data() {
        QTest::addColumn<QStringList>("actions"); // sound|text|pic|link K V | fill P | undo
        QTest::addColumn<QString>("sections");    // IsSezione1, 2 and 3 after the actions
        QTest::addRow("a picture and a link") << QStringList{"pic 1 a.png", "link 2 <indietro>"} << "100";
        QTest::addRow("words") << QStringList{"text 3 mela"} << "101";
        QTest::addRow("a recorded sound") << QStringList{"sound 2 mela.wav"} << "110";
        QTest::addRow("words from a picture's name") << QStringList{"fill 01_pane.png"} << "101";
        QTest::addRow("undo takes the switch back")
            << QStringList{"text 1 a", "sound 1 a.wav", "undo"} << "101";
        QTest::addRow("words taken away leave it on") << QStringList{"text 1 a", "text 1 -"} << "101";
    }
    void sectionsFollowEdits() {
        QFETCH(QStringList, actions);
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        SetupState state;
        LayoutEditor editor(f.P, state);
        QCOMPARE(editor.open(), LayoutEditor::Opened::Loaded);
        BoardEdit edit(editor);
        edit.newBoard(4);
        using F = LayoutEditor::Field;
        for (const QString& action : actions) {
            const QStringList w = action.split(' ');
            const QString v = w.value(2) == "-" ? QString() : w.value(2);
            if (w[0] == "fill") {
                edit.fillEmptyKeys({BoardEdit::Key{w[1], {}, BoardEdit::WordsOf(w[1]), {}}});
            } else if (w[0] == "undo") {
                edit.undo();
            } else {
                const F field = w[0] == "sound"  ? F::Sound
                                : w[0] == "text" ? F::Text
                                : w[0] == "pic"  ? F::Picture
                                                 : F::Link;
                edit.setValue(field, w[1].toInt(), v);
            }
        }
        const LayoutContent c = editor.content();
        QTEST(QStringLiteral("%1%2%3").arg(c.Section1On).arg(c.Section2On).arg(c.Section3On), "sections");
    }

    // The words a picture's name suggests for its key.
    void wordsOfFileNames_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("words");
        const auto row = [](const char* name, const QString& file, const QString& words) {
            QTest::addRow("%s", name) << file << words;
        };
        row("separators are blanks", "/foto/pane_e-burro.png", "pane e burro");
        row("a sorting number goes", "immagini/03-latte.gif", "latte");
        row("a number that is said stays", "3 porcellini.jpg", "3 porcellini");
        row("a name of numbers only stays", "2024_05.jpg", "2024 05");
        row("dots inside the name stay", "01.sig.ra rossi.png", "sig.ra rossi");
        row("blanks around go", "__ciao  mamma_.bmp", "ciao mamma");
    }
    void wordsOfFileNames() {
        QFETCH(QString, file);
        QTEST(BoardEdit::WordsOf(file), "words");
    }

    // Photos chosen together go on the keys in the order of their names.
    void nameOrder_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("order");
        QTest::addRow("numbers by value") << QStringList{"/f/10_b.png", "/f/2_a.png", "/f/1_c.png"}
                                          << QStringList{"/f/1_c.png", "/f/2_a.png", "/f/10_b.png"};
        QTest::addRow("leading zeros by value")
            << QStringList{"003.png", "02.png", "1.png"} << QStringList{"1.png", "02.png", "003.png"};
        QTest::addRow("letters without case, names not folders")
            << QStringList{"/a/Pane.gif", "/b/acqua.gif", "/a/mela.gif"}
            << QStringList{"/b/acqua.gif", "/a/mela.gif", "/a/Pane.gif"};
        QTest::addRow("a shorter name first")
            << QStringList{"pane2.png", "pane.png"} << QStringList{"pane.png", "pane2.png"};
    }
    void nameOrder() {
        QFETCH(QStringList, files);
        QTEST(BoardEdit::InNameOrder(files), "order");
    }

    // A key copied to another open board is an edit of that board only.
    void copyToAnotherBoard() {
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        SetupState state1, state2;
        LayoutEditor first(f.P, state1), second(f.P, state2);
        first.open();
        f.activate(f.layout(2), f.standard(2).bytes());
        second.open();
        BoardEdit from(first), to(second);
        from.setValue(LayoutEditor::Field::Link, 3, LayoutFile::LinkHome);
        to.setKey(1, from.key(3));
        QCOMPARE(to.key(1), from.key(3));
        QCOMPARE(second.value(LayoutEditor::Field::Picture, 1), f.picture(3));
        QCOMPARE(second.keyCount(), 2);
        QVERIFY(to.undo());
        QCOMPARE(second.value(LayoutEditor::Field::Picture, 1), f.picture(1));
        QVERIFY(from.canUndo());
    }
};

MIRELVA_TEST(TstLayoutEditor)
#include "layout_editor.moc"
