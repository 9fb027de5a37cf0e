#include "config/IniSnapshot.h"
#include "config/LayoutFile.h"
#include "editor/BoardEdit.h"
#include "editor/LayoutEditor.h"
#include "editor/editor_support.h"
#include "fakes/TestRegistry.h"

// The editing rules without a window: the sequence is the order of presses,
// the key count the filled pictures.
class TstLayoutEditor : public QObject {
    Q_OBJECT
private slots:
    void rules_data() {
        QTest::addColumn<QStringList>("actions"); // press N, picture N PATH|-, forced on|off, recount
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<int>("keys");
        QTest::addRow("press 3, 1, 2, release 1")
            << QStringList{"press 3", "press 1", "press 2", "press 1"} << "3 2" << 4;
        QTest::addRow("a key above the count is no step") << QStringList{"press 5", "press 4"} << "4" << 4;
        QTest::addRow("forced input off clears the steps") << QStringList{"press 2", "forced off"} << "" << 4;
        QTest::addRow("a new count clears the steps")
            << QStringList{"press 2", "picture 4 -", "recount"} << "" << 3;
        QTest::addRow("the same count keeps them")
            << QStringList{"press 2", "picture 4 x.gif", "recount"} << "2" << 4;
    }
    void rules() {
        QFETCH(QStringList, actions);
        QFETCH(QString, sequence);
        QFETCH(int, keys);
        SetupFixture f;
        TestLayout layout = f.standard(4, true);
        layout.sequence = QStringList{"", "", "", ""};
        f.activate(f.layout(1), layout.bytes());
        SetupState state;
        LayoutEditor editor(f.P, state);
        QCOMPARE(editor.open(), LayoutEditor::Opened::Loaded);
        for (const QString& action : actions) {
            const QStringList w = action.split(' ');
            if (w[0] == "press") {
                editor.toggle(w[1].toInt());
            } else if (w[0] == "forced") {
                editor.setForcedInput(w[1] == "on");
            } else if (w[0] == "picture") {
                editor.setValue(LayoutEditor::Field::Picture, w[1].toInt(), w[2] == "-" ? QString() : w[2]);
            } else if (w[0] == "recount") {
                editor.recount();
            }
        }
        QCOMPARE(editor.sequence().join(' '), sequence);
        QCOMPARE(editor.keyCount(), keys);
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(editor.isPressed(k), editor.sequence().contains(QString::number(k)));
        }
        QVERIFY(editor.changed());
    }
    // A link is kept as any per-key value: above the count too, and a layout
    // whose links are put back as they were is not changed.
    void links_data() {
        QTest::addColumn<QStringList>("actions"); // link K VALUE|- , picture K -, recount
        QTest::addColumn<QString>("links");       // keys 1-4, "|"-separated, as content() has them
        QTest::addColumn<bool>("hiddenLink");
        QTest::addColumn<bool>("changed");
        QTest::addRow("back and home") << QStringList{"link 1 <indietro>", "link 4 <inizio>"}
                                       << "<indietro>|lay2.ini||<inizio>" << false << true;
        QTest::addRow("a hidden key keeps its link")
            << QStringList{"link 4 a.ini", "picture 4 -", "recount"} << "|lay2.ini||a.ini" << true << true;
        QTest::addRow("the loaded link put back is no change")
            << QStringList{"link 2 -", "link 2 lay2.ini"} << "|lay2.ini||" << false << false;
    }
    void links() {
        QFETCH(QStringList, actions);
        QFETCH(QString, links);
        QFETCH(bool, hiddenLink);
        QFETCH(bool, changed);
        SetupFixture f;
        LayoutContent loaded;
        loaded.KeyCount = 4;
        for (int k = 1; k <= 4; ++k) {
            loaded.Pictures[std::size_t(k - 1)] = f.picture(k);
        }
        loaded.Links[1] = QStringLiteral("lay2.ini");
        f.activate(f.layout(1), LayoutFile::Encode(loaded));
        SetupState state;
        LayoutEditor editor(f.P, state);
        QCOMPARE(editor.open(), LayoutEditor::Opened::Loaded);
        using F = LayoutEditor::Field;
        for (const QString& action : actions) {
            const QStringList w = action.split(' ');
            const QString value = w.value(2) == "-" ? QString() : w.value(2);
            if (w[0] == "link") {
                editor.setValue(F::Link, w[1].toInt(), value);
            } else if (w[0] == "picture") {
                editor.setValue(F::Picture, w[1].toInt(), value);
            } else {
                editor.recount();
            }
        }
        const LayoutContent saved = editor.content();
        QCOMPARE(QStringList(saved.Links.begin(), saved.Links.begin() + 4).join('|'), links);
        QCOMPARE(editor.hiddenLinks(), hiddenLink);
        QCOMPARE(editor.changed(), changed);
        // What the model keeps is what a save writes and a reading gives back.
        QCOMPARE(LayoutFile::ReadForEditing(IniSnapshot::FromBytes(LayoutFile::Encode(saved))).content.Links,
                 saved.Links);
    }
    // The board editor's edits: each is one step that undo takes back whole
    // and redo puts again, and what a save writes follows them.
    void boardEdits_data() {
        QTest::addColumn<QStringList>(
            "actions"); // text|link|pic K T | swap A B | count N | copy A B | new N | dup | fill P,P..
        QTest::addColumn<QString>("board"); // keys, name, sequence, then keys 1-4: picture,text,link
        QTest::addColumn<int>("steps");     // edits undo can take back
        QTest::addColumn<int>("left");      // pictures the last fill found no empty key for
        const QString standard = "4 lay1 1-2-3-4 1,parola 1,|2,parola 2,|3,parola 3,|4,parola 4,";
        QTest::addRow("a text") << QStringList{"text 2 mela"}
                                << "4 lay1 1-2-3-4 1,parola 1,|2,mela,|3,parola 3,|4,parola 4," << 1 << 0;
        QTest::addRow("the same value again is no step")
            << QStringList{"link 1 -", "text 3 x", "text 3 x"}
            << "4 lay1 1-2-3-4 1,parola 1,|2,parola 2,|3,x,|4,parola 4," << 1 << 0;
        QTest::addRow("a swap takes values, link and step along")
            << QStringList{"link 1 <indietro>", "swap 1 3"}
            << "4 lay1 3-2-1-4 3,parola 3,|2,parola 2,|1,parola 1,<indietro>|4,parola 4," << 2 << 0;
        QTest::addRow("fewer keys keep the hidden pictures for a save")
            << QStringList{"count 2"} << "2 lay1  1,parola 1,|2,parola 2,|3,parola 3,|4,parola 4," << 1 << 0;
        QTest::addRow("and give them back")
            << QStringList{"count 2", "count 4"} << "4 lay1  1,parola 1,|2,parola 2,|3,parola 3,|4,parola 4,"
            << 2 << 0;
        QTest::addRow("a key copied onto another")
            << QStringList{"copy 4 1"} << "4 lay1 1-2-3-4 4,parola 4,|2,parola 2,|3,parola 3,|4,parola 4,"
            << 1 << 0;
        QTest::addRow("an empty board of 6 keys")
            << QStringList{"text 1 a", "new 6"} << "6 layout1  ,,|,,|,,|,," << 2 << 0;
        QTest::addRow("a duplicate under a new name")
            << QStringList{"dup"} << QString(standard).replace("lay1", "layout1") << 1 << 0;
        QTest::addRow("an edit after an undo ends the redo")
            << QStringList{"text 1 a", "undo", "text 1 b", "redo"}
            << "4 lay1 1-2-3-4 1,b,|2,parola 2,|3,parola 3,|4,parola 4," << 1 << 0;
        QTest::addRow("pictures chosen together fill empty keys, words from their names")
            << QStringList{"new 6", "text 2 latte", "fill 01_mela.png,pane-e-burro.gif"}
            << "6 layout1  01_mela,mela,|pane-e-burro,latte,|,,|,," << 3 << 0;
        QTest::addRow("only the empty keys, the rest left over")
            << QStringList{"pic 3 -", "text 3 -", "fill succo_di_frutta.png,a.png,b.png"}
            << "4 lay1 1-2-3-4 1,parola 1,|2,parola 2,|succo_di_frutta,succo di frutta,|4,parola 4," << 3
            << 2;
        QTest::addRow("nothing empty is no step") << QStringList{"fill a.png"} << standard << 0 << 1;
    }
    void boardEdits() {
        QFETCH(QStringList, actions);
        QFETCH(QString, board);
        QFETCH(int, steps);
        QFETCH(int, left);
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
        QCOMPARE(leftOver, left);
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
        QFETCH(QString, sections);
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
        QCOMPARE(QStringLiteral("%1%2%3").arg(c.Section1On).arg(c.Section2On).arg(c.Section3On), sections);
    }

    // The words a picture's name suggests for its key.
    void wordsOfFileNames_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("words");
        QTest::addRow("separators are blanks") << "/foto/pane_e-burro.png"
                                               << "pane e burro";
        QTest::addRow("a sorting number goes") << "immagini/03-latte.gif"
                                               << "latte";
        QTest::addRow("a number that is said stays") << "3 porcellini.jpg"
                                                     << "3 porcellini";
        QTest::addRow("a name of numbers only stays") << "2024_05.jpg"
                                                      << "2024 05";
        QTest::addRow("dots inside the name stay") << "01.sig.ra rossi.png"
                                                   << "sig.ra rossi";
        QTest::addRow("blanks around go") << "__ciao  mamma_.bmp"
                                          << "ciao mamma";
    }
    void wordsOfFileNames() {
        QFETCH(QString, file);
        QFETCH(QString, words);
        QCOMPARE(BoardEdit::WordsOf(file), words);
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
        QFETCH(QStringList, order);
        QCOMPARE(BoardEdit::InNameOrder(files), order);
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
