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
};

MIRELVA_TEST(TstLayoutEditor)
#include "layout_editor.moc"
