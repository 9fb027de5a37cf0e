#include "editor/editor_support.h"
#include "fakes/TestRegistry.h"

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
        QTest::addColumn<QStringList>("change"); // field, value, ...
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("keys"); // "" for a new layout
        QTest::addColumn<QString>("switches");
        const QString bad = QStringLiteral("Non è un layout valido.");
        QTest::addRow("missing layout file") << QStringList{"missing", ""} << QString() << ""
                                             << "";
        QTest::addRow("marker in lower case")
            << QStringList{"marker", "<$$-comunicatore-$$>"} << QString() << "4"
            << "1110";
        QTest::addRow("names in lower case") << QStringList{"lowerCaseNames", ""} << QString() << "4"
                                             << "1110";
        QTest::addRow("wrong marker") << QStringList{"marker", "altro"} << bad << ""
                                      << "";
        QTest::addRow("Tasti 22") << QStringList{"keys", "22"}
                                  << QStringLiteral("Il numero dei tasti specificato non è valido. Il numero "
                                                    "massimo di tasti consentito è 21.")
                                  << ""
                                  << "";
        QTest::addRow("Tasti 0 shows one key") << QStringList{"keys", "0"} << QString() << "1"
                                               << "1110";
        QTest::addRow("Tasti beyond 16 bits") << QStringList{"keys", "70000"} << bad << ""
                                              << "";
        QTest::addRow("switches out of range give 0")
            << QStringList{"section2", "7", "section3", "-1", "forcedInput", "2"} << QString() << "4"
            << "1000";
    }
    void opening() {
        QFETCH(QStringList, change);
        QFETCH(QString, message);
        QFETCH(QString, keys);
        QFETCH(QString, switches);
        SetupFixture f;
        TestLayout layout = f.standard(4);
        const QMap<QString, QString*> fields{
            {"marker", &layout.marker},     {"keys", &layout.keys},
            {"section1", &layout.section1}, {"section2", &layout.section2},
            {"section3", &layout.section3}, {"forcedInput", &layout.forcedInput}};
        if (fields.contains(change[0])) {
            for (int i = 0; i + 1 < change.size(); i += 2) {
                *fields[change[i]] = change[i + 1];
            }
        }
        layout.lowerCaseNames = change[0] == "lowerCaseNames";
        f.activate(f.layout(1), change[0] == "missing" ? QByteArray() : layout.bytes());
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
        QCOMPARE(checks, isNew ? QStringLiteral("1000") : switches);
        const int filled = isNew || keys == "1" ? 0 : 4;
        for (int k = 1; k <= 5; ++k) {
            QCOMPARE(f.box(1, k)->text(), k <= filled ? f.picture(k) : QString());
            QVERIFY(k > filled || f.box(3, k)->text() == QStringLiteral("parola %1").arg(k));
        }
        QCOMPARE(f.functionKey(12)->text(), isNew ? QString() : f.layout(12));
        QCOMPARE(TestSupport::readFile(f.layout(1)), layoutBefore);
        QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(f.layout(1)));
    }

    // A new layout takes the first free name layoutN.ini in the program folder.
    void newLayoutName_data() {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::addRow("taken in other letter case") << QStringList{"LAYOUT1.INI"} << "layout2.ini";
        QTest::addRow("a folder takes the name") << QStringList{"layout1.ini/"} << "layout2.ini";
    }
    void newLayoutName() {
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        SetupFixture f;
        for (const QString& name : existing) {
            QVERIFY(name.endsWith(QLatin1Char('/'))
                        ? QDir().mkpath(f.P + QLatin1Char('/') + name)
                        : TestSupport::writeFile(f.P + QLatin1Char('/') + name, "x"));
        }
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
        QCOMPARE(f.page(), 0);
    }

    // Each box opens its own picker; a cancelled picker keeps the text; a
    // layout name gets the .ini extension.
    void pickers_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("kind"); // 0 none, 1 open, 2 save
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::addRow("sound cancelled") << "txtSez2_0" << 1 << ""
                                         << "old";
        QTest::addRow("function key cfg.ini ignored") << "txtTF_0" << 1 << "/d/CFG.ini"
                                                      << "old";
        QTest::addRow("text has no picker") << "txtSez3_0" << 0 << "/d/x"
                                            << "old";
        QTest::addRow("layout name .txt") << "txtPathLayout" << 2 << "/d/mio.txt"
                                          << "/d/mio.ini";
        QTest::addRow("layout name .INI kept") << "txtPathLayout" << 2 << "/d/MIO.INI"
                                               << "/d/MIO.INI";
    }
    void pickers() {
        QFETCH(QString, box);
        QFETCH(int, kind);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
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
        QCOMPARE(edit->text(), expected);
    }

    // Esc in a text box and Annulla close without writing anything.
    void closesWithoutWriting() {
        for (const bool escape : {true, false}) {
            SetupFixture f;
            f.openStandard();
            const QByteArray layoutBefore = TestSupport::readFile(f.layout(1));
            f.box(3, 1)->setText(QStringLiteral("cambiato"));
            f.box(3, 1)->setFocus();
            escape ? QTest::keyClick(f.box(3, 1), Qt::Key_Escape) : f.click(f.button("cmdAnnulla"));
            QCOMPARE(f.form->result(), int(QDialog::Rejected));
            QVERIFY(!f.form->isVisible());
            QCOMPARE(TestSupport::readFile(f.layout(1)), layoutBefore);
            QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(f.layout(1)));
        }
    }
};

MIRELVA_TEST(TstEditor)
#include "editor.moc"
