#include "editor/editor_support.h"
#include "fakes/TestRegistry.h"

namespace {
const QChar Nul(u'\0');
using Ints = QList<int>;
} // namespace

class TstEditor : public QObject {
    Q_OBJECT
private slots:
    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addRow("window") << "frmSetup"
                                << "Impostazioni";
        QTest::addRow("Label2") << "Label2"
                                << "Layout:";
        QTest::addRow("Label1") << "Label1"
                                << "Numero Tasti:";
        QTest::addRow("frmSez1") << "frmSez1"
                                 << "Sezione 1 - Immagini";
        QTest::addRow("frmSez2") << "frmSez2"
                                 << "Sezione 2 - Sonoro";
        QTest::addRow("frmSez3") << "frmSez3"
                                 << "Sezione 3 - Testo";
        QTest::addRow("frmSez4") << "frmSez4"
                                 << "Tasti Funzione";
        QTest::addRow("frmSez5") << "frmSez5"
                                 << "Bonus";
        QTest::addRow("Frame3") << "Frame3"
                                << "Sezioni";
        QTest::addRow("cmdSez 0") << "cmdSez_0"
                                  << "1";
        QTest::addRow("cmdSez 1") << "cmdSez_1"
                                  << "2";
        QTest::addRow("cmdSez 2") << "cmdSez_2"
                                  << "3";
        QTest::addRow("cmdSez 3") << "cmdSez_3"
                                  << "Tasti Funzione";
        QTest::addRow("chkSez1") << "chkSez1"
                                 << "Attiva Sezione 1";
        QTest::addRow("chkSez2") << "chkSez2"
                                 << "Attiva Sezione 2";
        QTest::addRow("chkSez3") << "chkSez3"
                                 << "Attiva Sezione 3";
        QTest::addRow("chkInput") << "chkInput"
                                  << "Input obbligato";
        QTest::addRow("Frame1") << "Frame1"
                                << "Configura input obbligato";
        QTest::addRow("cmdBonus") << "cmdBonus"
                                  << "Bonus";
        QTest::addRow("cmdSave") << "cmdSave"
                                 << "Salva layout";
        QTest::addRow("cmdAnnulla") << "cmdAnnulla"
                                    << "Annulla";
        QTest::addRow("chkNum 1") << "chkNum_1"
                                  << "1";
        QTest::addRow("chkNum 21") << "chkNum_21"
                                   << "21";
        QTest::addRow("lblTF 0") << "lblTF_0"
                                 << "F1";
        QTest::addRow("lblTF 11") << "lblTF_11"
                                  << "F12";
    }
    void captions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        SetupFixture f;
        f.open();
        QWidget* widget = f.form->objectName() == name ? f.form.get() : f.get<QWidget>(name);
        QVERIFY(widget);
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            shown = label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            shown = button->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            shown = group->title();
        } else {
            shown = widget->windowTitle();
        }
        QCOMPARE(shown, caption);
    }

    // Every control a user works has a name for screen readers and tests.
    void accessibleNames() {
        SetupFixture f;
        f.open();
        int controls = 0;
        for (QWidget* widget : f.form->findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractButton*>(widget)) {
                QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
                ++controls;
            }
        }
        // Path, 63 key boxes, 12 function keys, bonus; 4 page buttons, 4 switches,
        // 21 toggles, Bonus, Salva, Annulla.
        QCOMPARE(controls, 1 + 63 + 12 + 1 + 4 + 4 + 21 + 3);
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("expected");
        // Twips at 96 dpi: 15 to the pixel; the pages share one place.
        QTest::addRow("pages") << "Pages" << QRect(248, 32, 537, 529);
        QTest::addRow("toggle 1") << "chkNum_1" << QRect(8, 20, 33, 33);
        QTest::addRow("toggle 7 (row 2, column 2)") << "chkNum_7" << QRect(48, 57, 33, 33);
        QTest::addRow("toggle 21 (fifth row)") << "chkNum_21" << QRect(8, 168, 33, 33);
        QTest::addRow("label 1") << "lblInput_1" << QRect(8, 209, 17, 17);
        QTest::addRow("label 9 (second row)") << "lblInput_9" << QRect(8, 233, 17, 17);
        QTest::addRow("label 21") << "lblInput_21" << QRect(104, 257, 17, 17);
    }
    void geometry() {
        QFETCH(QString, name);
        QFETCH(QRect, expected);
        SetupFixture f;
        f.open();
        QCOMPARE(f.form->logicalDpiX(), 96);
        QCOMPARE(f.get<QWidget>(name)->geometry(), expected);
    }

    // What an opening shows for each kind of active layout.
    void opening_data() {
        QTest::addColumn<QByteArray>("layout");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("newLayout");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<bool>>("switches");
        QTest::addColumn<int>("filledPictures");

        const QString bad = QStringLiteral("Non è un layout valido.");
        const QString tooMany = QStringLiteral(
            "Il numero dei tasti specificato non è valido. Il numero massimo di tasti consentito è 21.");
        const auto with = [&](auto change) {
            TestLayout layout = SetupFixture::standardIn(QStringLiteral("@P@"), 4);
            change(layout);
            return layout.bytes();
        };
        const QList<bool> newSwitches{true, false, false, false};
        QTest::addRow("missing layout file")
            << QByteArray() << QStringList() << true << "1" << newSwitches << 0;
        QTest::addRow("4-key layout")
            << SetupFixture::standardIn(QStringLiteral("@P@"), 4).bytes() << QStringList() << false << "4"
            << QList<bool>{true, true, true, false} << 4;
        QTest::addRow("marker in lower case")
            << with([](TestLayout& s) { s.marker = s.marker.toLower(); }) << QStringList() << false << "4"
            << QList<bool>{true, true, true, false} << 4;
        QTest::addRow("names in lower case")
            << with([](TestLayout& s) { s.lowerCaseNames = true; }) << QStringList() << false << "4"
            << QList<bool>{true, true, true, false} << 4;
        QTest::addRow("wrong marker") << with([](TestLayout& s) { s.marker = QStringLiteral("altro"); })
                                      << QStringList{bad} << true << "1" << newSwitches << 0;
        QTest::addRow("Tasti 22") << with([](TestLayout& s) { s.keys = QStringLiteral("22"); })
                                  << QStringList{tooMany} << true << "1" << newSwitches << 0;
        QTest::addRow("Tasti 21") << with([](TestLayout& s) { s.keys = QStringLiteral("21"); })
                                  << QStringList() << false << "21" << QList<bool>{true, true, true, false}
                                  << 4;
        QTest::addRow("Tasti 0 shows one key")
            << with([](TestLayout& s) { s.keys = QStringLiteral("0"); }) << QStringList() << false << "1"
            << QList<bool>{true, true, true, false} << 0;
        QTest::addRow("Tasti -3 shows one key")
            << with([](TestLayout& s) { s.keys = QStringLiteral("-3"); }) << QStringList() << false << "1"
            << QList<bool>{true, true, true, false} << 0;
        QTest::addRow("Tasti 04") << with([](TestLayout& s) { s.keys = QStringLiteral("04"); })
                                  << QStringList() << false << "4" << QList<bool>{true, true, true, false}
                                  << 4;
        QTest::addRow("Tasti text") << with([](TestLayout& s) { s.keys = QStringLiteral("quattro"); })
                                    << QStringList{bad} << true << "1" << newSwitches << 0;
        QTest::addRow("Tasti empty") << with([](TestLayout& s) { s.keys.clear(); }) << QStringList{bad}
                                     << true << "1" << newSwitches << 0;
        QTest::addRow("Tasti fraction") << with([](TestLayout& s) { s.keys = QStringLiteral("2.5"); })
                                        << QStringList{bad} << true << "1" << newSwitches << 0;
        QTest::addRow("Tasti beyond 16 bits") << with([](TestLayout& s) { s.keys = QStringLiteral("70000"); })
                                              << QStringList{bad} << true << "1" << newSwitches << 0;
        QTest::addRow("IsInput text") << with([](TestLayout& s) { s.forcedInput = QStringLiteral("si"); })
                                      << QStringList{bad} << true << "1" << newSwitches << 0;
        QTest::addRow("IsSezione2 empty") << with([](TestLayout& s) { s.section2.clear(); })
                                          << QStringList{bad} << true << "1" << newSwitches << 0;
        QTest::addRow("IsSezione1 text") << with([](TestLayout& s) { s.section1 = QStringLiteral("x"); })
                                         << QStringList{bad} << true << "1" << newSwitches << 0;
        QTest::addRow("IsSezione1 0 opens checked")
            << with([](TestLayout& s) { s.section1 = QStringLiteral("0"); }) << QStringList() << false << "4"
            << QList<bool>{true, true, true, false} << 4;
        QTest::addRow("switches out of range give 0") << with([](TestLayout& s) {
            s.section2 = QStringLiteral("7");
            s.section3 = QStringLiteral("-1");
            s.forcedInput = QStringLiteral("2");
        }) << QStringList() << false << "4" << QList<bool>{true, false, false, false}
                                                      << 4;
    }
    void opening() {
        QFETCH(QByteArray, layout);
        QFETCH(QStringList, messages);
        QFETCH(bool, newLayout);
        QFETCH(QString, keys);
        QFETCH(QList<bool>, switches);
        QFETCH(int, filledPictures);
        SetupFixture f;
        f.activate(f.layout(1), layout.isNull() ? layout : f.fill(layout));
        const QByteArray layoutBefore = TestSupport::readFile(f.layout(1));
        f.open();
        QCOMPARE(f.messages.texts(), messages);
        for (const auto& shown : f.messages.shown) {
            QCOMPARE(shown.icon, MsgIcon::Exclamation);
            QCOMPARE(shown.title, QStringLiteral("Mirelva"));
        }
        QCOMPARE(f.path()->text(), newLayout ? f.P + QStringLiteral("/layout1.ini") : f.layout(1));
        QCOMPARE(f.keyCount(), keys);
        QCOMPARE(f.state.EditKeyCount, keys.toInt());
        const QList<bool> checks{f.check("chkSez1")->isChecked(), f.check("chkSez2")->isChecked(),
                                 f.check("chkSez3")->isChecked(), f.check("chkInput")->isChecked()};
        QCOMPARE(checks, switches);
        int filled = 0;
        for (int k = 1; k <= 21; ++k) {
            if (!f.box(1, k)->text().isEmpty()) {
                QCOMPARE(f.box(1, k)->text(), f.picture(k));
                QCOMPARE(f.box(2, k)->text(), f.sound(k));
                QCOMPARE(f.box(3, k)->text(), QStringLiteral("parola %1").arg(k));
                ++filled;
            }
        }
        QCOMPARE(filled, filledPictures);
        QCOMPARE(f.functionKey(12)->text(), newLayout ? QString() : f.layout(12));
        QVERIFY(!f.get<QGroupBox>(QStringLiteral("Frame1"))->isEnabled());
        QCOMPARE(f.page(), 0);
        // Opening reads only.
        QCOMPARE(TestSupport::readFile(f.layout(1)), layoutBefore);
        QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(f.layout(1)));
    }

    // A new layout takes the first free name layoutN.ini in the program folder.
    void newLayoutName_data() {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::addRow("none taken") << QStringList() << "layout1.ini";
        QTest::addRow("layout1 taken") << QStringList{"layout1.ini"} << "layout2.ini";
        QTest::addRow("1 and 2 taken, 4 too")
            << QStringList{"layout1.ini", "layout2.ini", "layout4.ini"} << "layout3.ini";
        QTest::addRow("taken in other letter case") << QStringList{"LAYOUT1.INI"} << "layout2.ini";
        QTest::addRow("a folder takes the name") << QStringList{"layout1.ini/"} << "layout2.ini";
    }
    void newLayoutName() {
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        SetupFixture f;
        for (const QString& name : existing) {
            if (name.endsWith(QLatin1Char('/'))) {
                QVERIFY(QDir().mkpath(f.P + QLatin1Char('/') + name));
            } else {
                QVERIFY(TestSupport::writeFile(f.P + QLatin1Char('/') + name, "x"));
            }
        }
        f.activate(f.P + QStringLiteral("/layout/manca.ini"), QByteArray());
        f.open();
        QCOMPARE(f.path()->text(), f.P + QLatin1Char('/') + expected);
        QVERIFY(f.messages.shown.isEmpty());
    }

    // The stored sequence shows in the labels; the toggles of its keys appear
    // pressed at the first opening, and unpressed once an earlier opening
    // showed no forced input.
    void sequenceAtOpening_data() {
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<Ints>("pressed");
        QTest::addRow("first opening") << "" << Ints{1, 2, 3, 4};
        QTest::addRow("after a layout without forced input") << "plain" << Ints{};
        QTest::addRow("after unchecking Input obbligato") << "uncheck" << Ints{};
        QTest::addRow("after a layout with forced input") << "forced" << Ints{1, 2, 3, 4};
    }
    void sequenceAtOpening() {
        QFETCH(QString, earlier);
        QFETCH(Ints, pressed);
        SetupFixture f;
        TestLayout forced = f.standard(4);
        forced.forcedInput = QStringLiteral("1");
        forced.sequence = QStringList{"2", "4", "1", "3"};
        if (earlier == QStringLiteral("plain")) {
            f.activate(f.layout(1), f.standard(4).bytes());
            f.open();
            f.close();
        } else if (!earlier.isEmpty()) {
            f.activate(f.layout(1), forced.bytes());
            f.open();
            if (earlier == QStringLiteral("uncheck")) {
                f.click(f.check("chkInput"));
                QVERIFY(!f.check("chkInput")->isChecked());
            }
            f.close();
        }
        f.activate(f.layout(1), forced.bytes());
        f.open();
        QVERIFY(f.check("chkInput")->isChecked());
        QVERIFY(f.get<QGroupBox>(QStringLiteral("Frame1"))->isEnabled());
        QCOMPARE(f.steps(), (QStringList{"2", "4", "1", "3"}));
        QCOMPARE(f.pressed(), pressed);
        QCOMPARE(f.enabledToggles(), (Ints{1, 2, 3, 4}));
        QCOMPARE(f.state.SequenceText, QStringLiteral("-2--4--1--3-----------------------------------"));
    }

    // The order in which the toggles are pressed is the sequence.
    void editSequence_data() {
        QTest::addColumn<Ints>("clicks");
        QTest::addColumn<QStringList>("steps");
        QTest::addRow("3, 1, 2") << Ints{3, 1, 2} << QStringList{"3", "1", "2"};
        QTest::addRow("releasing 1") << Ints{3, 1, 2, 1} << QStringList{"3", "2"};
        QTest::addRow("release and press moves to the end")
            << Ints{3, 1, 2, 1, 1} << QStringList{"3", "2", "1"};
        QTest::addRow("2, 4, 1, 3") << Ints{2, 4, 1, 3} << QStringList{"2", "4", "1", "3"};
        QTest::addRow("toggle above the key count does nothing") << Ints{5, 1} << QStringList{"1"};
        QTest::addRow("all released") << Ints{1, 2, 1, 2} << QStringList{};
    }
    void editSequence() {
        QFETCH(Ints, clicks);
        QFETCH(QStringList, steps);
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        f.open();
        QVERIFY(!f.toggle(1)->isEnabled());
        f.click(f.check("chkInput"));
        QVERIFY(f.get<QGroupBox>(QStringLiteral("Frame1"))->isEnabled());
        QVERIFY(f.button("cmdBonus")->isEnabled());
        QCOMPARE(f.pressed(), Ints{});
        QCOMPARE(f.enabledToggles(), (Ints{1, 2, 3, 4}));
        for (int k : clicks) {
            f.click(f.toggle(k));
        }
        QCOMPARE(f.steps(), steps);
    }

    // Unchecking forced input clears the sequence and goes back to the pictures.
    void uncheckingForcedInput() {
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        f.open();
        f.click(f.check("chkInput"));
        f.click(f.toggle(2));
        f.click(f.button("cmdBonus"));
        QCOMPARE(f.page(), 4);
        f.click(f.check("chkInput"));
        QCOMPARE(f.steps(), QStringList());
        QCOMPARE(f.pressed(), Ints{});
        QCOMPARE(f.enabledToggles(), Ints{});
        QVERIFY(f.state.SequenceText.isEmpty());
        QVERIFY(f.state.SequenceReset);
        QCOMPARE(f.page(), 0);
        QVERIFY(!f.button("cmdBonus")->isEnabled());
    }

    // The key count follows the filled picture boxes, wherever they are.
    void countKeys_data() {
        QTest::addColumn<Ints>("fill");
        QTest::addColumn<Ints>("clear");
        QTest::addColumn<bool>("byPicker");
        QTest::addColumn<QString>("expected");
        QTest::addRow("boxes 1, 2 and 5 by picker") << Ints{5} << Ints{3, 4} << true << "3";
        QTest::addRow("boxes 1, 2 and 5 typed") << Ints{5} << Ints{3, 4} << false << "3";
        QTest::addRow("all emptied gives 1") << Ints{} << Ints{1, 2, 3, 4} << false << "1";
        QTest::addRow("all 21 filled")
            << Ints{5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21} << Ints{} << true << "21";
    }
    void countKeys() {
        QFETCH(Ints, fill);
        QFETCH(Ints, clear);
        QFETCH(bool, byPicker);
        QFETCH(QString, expected);
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        f.open();
        for (int k : clear) {
            f.box(1, k)->clear();
        }
        for (int k : fill) {
            if (byPicker) {
                f.doubleClick(f.box(1, k), f.picture(k));
            } else {
                f.box(1, k)->setFocus();
                QTest::keyClicks(f.box(1, k), f.picture(k));
            }
        }
        // Leaving a picture box recounts.
        f.box(1, 1)->setFocus();
        f.box(3, 1)->setFocus();
        QCOMPARE(f.keyCount(), expected);
        QCOMPARE(f.state.EditKeyCount, expected.toInt());
    }

    // A double click recounts even when the picker is cancelled.
    void cancelledPictureRecounts() {
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        f.open();
        f.box(1, 4)->clear();
        f.doubleClick(f.box(1, 6), QString());
        QCOMPARE(f.box(1, 6)->text(), QString());
        QCOMPARE(f.keyCount(), QStringLiteral("3"));
    }

    // Any change of the count unchecks forced input and drops its sequence.
    void countChangeDropsSequence() {
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        f.open();
        f.click(f.check("chkInput"));
        f.click(f.toggle(3));
        f.click(f.toggle(1));
        f.doubleClick(f.box(1, 5), f.picture(5));
        QCOMPARE(f.keyCount(), QStringLiteral("5"));
        QVERIFY(!f.check("chkInput")->isChecked());
        QCOMPARE(f.steps(), QStringList());
        QCOMPARE(f.pressed(), Ints{});
        // The same count again changes nothing.
        f.click(f.check("chkInput"));
        f.click(f.toggle(2));
        f.box(1, 1)->setFocus();
        f.box(3, 1)->setFocus();
        QVERIFY(f.check("chkInput")->isChecked());
        QCOMPARE(f.steps(), QStringList{"2"});
    }

    void pages_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("page");
        QTest::addRow("1") << "cmdSez_0" << 0;
        QTest::addRow("2") << "cmdSez_1" << 1;
        QTest::addRow("3") << "cmdSez_2" << 2;
        QTest::addRow("Tasti Funzione") << "cmdSez_3" << 3;
        QTest::addRow("Bonus") << "cmdBonus" << 4;
    }
    void pages() {
        QFETCH(QString, button);
        QFETCH(int, page);
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        f.open();
        f.click(f.check("chkInput"));
        f.click(f.button("cmdSez_2"));
        f.click(f.get<QPushButton>(button));
        QCOMPARE(f.page(), page);
    }

    // Each box opens its own picker; a cancelled picker keeps the text.
    void pickers_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        const QString pictures =
            QStringLiteral("Picture Files (*.*)") + Nul + "*.gif;*.bmp;*.jpg;*.wmf;*.emf";
        const QString sounds = QStringLiteral("Risorse Audio Files (*.wav)") + Nul + "*.wav";
        const QString keyLayouts = QStringLiteral("Layout Files (*.*)") + Nul + "*.ini";
        const QString layoutName = QStringLiteral("Layout Files (*.ini)") + Nul + "*.ini";
        QTest::addRow("picture") << "txtSez1_1" << false << pictures << "/d/casa.jpg"
                                 << "/d/casa.jpg";
        QTest::addRow("picture cancelled") << "txtSez1_1" << false << pictures << ""
                                           << "old";
        QTest::addRow("sound") << "txtSez2_20" << false << sounds << "/d/si.wav"
                               << "/d/si.wav";
        QTest::addRow("sound cancelled") << "txtSez2_0" << false << sounds << ""
                                         << "old";
        QTest::addRow("bonus") << "txtBonus" << false << sounds << "/d/bravo.wav"
                               << "/d/bravo.wav";
        QTest::addRow("function key") << "txtTF_11" << false << keyLayouts << "/d/lay3.ini"
                                      << "/d/lay3.ini";
        QTest::addRow("function key cfg.ini ignored") << "txtTF_0" << false << keyLayouts << "/d/CFG.ini"
                                                      << "old";
        QTest::addRow("function key cancelled") << "txtTF_0" << false << keyLayouts << ""
                                                << "old";
        QTest::addRow("layout name .txt") << "txtPathLayout" << true << layoutName << "/d/mio.txt"
                                          << "/d/mio.ini";
        QTest::addRow("layout name without dot") << "txtPathLayout" << true << layoutName << "/d/mio"
                                                 << "/d/mio.ini";
        QTest::addRow("layout name .INI kept") << "txtPathLayout" << true << layoutName << "/d/MIO.INI"
                                               << "/d/MIO.INI";
        QTest::addRow("dot only in the folder") << "txtPathLayout" << true << layoutName << "/d.x/mio"
                                                << "/d.x/mio.ini";
        QTest::addRow("two dots") << "txtPathLayout" << true << layoutName << "/d/mio.2.txt"
                                  << "/d/mio.2.ini";
        QTest::addRow("layout name cancelled") << "txtPathLayout" << true << layoutName << ""
                                               << "old";
    }
    void pickers() {
        QFETCH(QString, box);
        QFETCH(bool, save);
        QFETCH(QString, filter);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        f.open();
        QLineEdit* edit = f.get<QLineEdit>(box);
        edit->setText(QStringLiteral("old"));
        const int page = box.startsWith("txtSez2") ? 1 : box.startsWith("txtTF") ? 3 : 0;
        f.click(f.get<QPushButton>(QStringLiteral("cmdSez_%1").arg(page)));
        if (box == QStringLiteral("txtBonus")) {
            f.click(f.check("chkInput"));
            f.click(f.button("cmdBonus"));
        }
        f.doubleClick(edit, answer);
        QCOMPARE(f.picker.calls.size(), 1);
        QCOMPARE(f.picker.calls[0].kind,
                 save ? ScriptedFilePicker::Kind::Save : ScriptedFilePicker::Kind::Open);
        QCOMPARE(f.picker.calls[0].owner, f.form.get());
        QCOMPARE(f.picker.calls[0].filter, filter);
        QCOMPARE(edit->text(), expected);
    }

    // The texts page has no picker.
    void textBoxHasNoPicker() {
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        f.open();
        f.click(f.button("cmdSez_2"));
        f.doubleClick(f.box(3, 1), QStringLiteral("/d/x"));
        QVERIFY(f.picker.calls.isEmpty());
    }

    // The bonus file outlives the opening: a new layout shows the bonus of
    // the layout shown before.
    void bonusCarriesOver() {
        SetupFixture f;
        TestLayout layout = f.standard(4);
        layout.bonus = QStringLiteral("/d/bravo.wav");
        f.activate(f.layout(1), layout.bytes());
        f.open();
        f.close();
        f.activate(f.layout(7), QByteArray());
        f.open();
        QCOMPARE(f.path()->text(), f.P + QStringLiteral("/layout1.ini"));
        QCOMPARE(f.get<QLineEdit>(QStringLiteral("txtBonus"))->text(), QStringLiteral("/d/bravo.wav"));
    }

    void closesWithoutWriting_data() {
        QTest::addColumn<bool>("escape");
        QTest::addRow("Esc in a text box") << true;
        QTest::addRow("Annulla") << false;
    }
    void closesWithoutWriting() {
        QFETCH(bool, escape);
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        const QByteArray layoutBefore = TestSupport::readFile(f.layout(1));
        f.open();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        f.box(3, 1)->setText(QStringLiteral("cambiato"));
        if (escape) {
            f.box(3, 1)->setFocus();
            QTest::keyClick(f.box(3, 1), Qt::Key_Escape);
        } else {
            f.click(f.button("cmdAnnulla"));
        }
        QVERIFY(!f.form->isVisible());
        QCOMPARE(f.form->result(), int(QDialog::Rejected));
        QCOMPARE(TestSupport::readFile(f.layout(1)), layoutBefore);
        QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(f.layout(1)));
        QVERIFY(f.messages.shown.isEmpty());
    }
};

MIRELVA_TEST(TstEditor)
#include "editor.moc"
