#include "config/DurableFile.h"
#include "editor/LayoutSave.h"
#include "editor/LayoutWriter.h"
#include "editor/editor_support.h"
#include "fakes/TestRegistry.h"

#include <cerrno>

// Every control of the settings window takes clicks and says what it does.
class TstControls : public QObject {
    Q_OBJECT
private slots:
    // Nothing lies over Importa and Esporta, also when the key count is refused.
    void buttonsTakeClicks_data() {
        QTest::addColumn<int>("pictures");
        QTest::addRow("4 keys") << 4;
        QTest::addRow("5 keys: the warning shows") << 5;
    }
    void buttonsTakeClicks() {
        QFETCH(int, pictures);
        SetupFixture f;
        f.openStandard();
        f.doubleClick(f.box(1, pictures), f.picture(pictures));
        QCOMPARE(f.keyCount(), QString::number(pictures));
        for (const char* name : {"cmdImporta", "cmdEsporta", "cmdSave", "cmdAnnulla"}) {
            QPushButton* button = f.button(name);
            const QPoint centre = button->mapTo(f.form.get(), button->rect().center());
            QCOMPARE(f.form->childAt(centre), button);
        }
    }

    // "Sfoglia..." beside each path opens that path's picker.
    void browse_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("save");
        QTest::addRow("picture of key 2") << "txtSez1_1" << 0 << false;
        QTest::addRow("layout of F5") << "txtTF_4" << 3 << false;
        QTest::addRow("bonus") << "txtBonus" << 4 << false;
        QTest::addRow("layout name") << "txtPathLayout" << 0 << true;
    }
    void browse() {
        QFETCH(QString, box);
        QFETCH(int, page);
        QFETCH(bool, save);
        SetupFixture f;
        f.openStandard(true);
        f.get<QStackedWidget>("Pages")->setCurrentIndex(page);
        const QString answer = f.P + (save ? "/layout/nuovo.ini" : "/immagini/9.gif");
        (save ? f.picker.saveAnswers : f.picker.openAnswers).enqueue(answer);
        f.click(f.get<QPushButton>(box + "_browse"));
        QCOMPARE(f.picker.calls.size(), 1);
        QCOMPARE(f.get<QLineEdit>(box)->text(), answer);
    }

    // Pickers list PNG and say what they list in Italian; the save picker starts in the layout folder.
    void pickerFilters() {
        SetupFixture f;
        f.openStandard();
        f.click(f.get<QPushButton>("txtSez1_0_browse"));
        f.click(f.get<QPushButton>("txtPathLayout_browse"));
        QCOMPARE(f.picker.openFilters.size(), 1);
        const QString pictures = f.picker.openFilters[0];
        QVERIFY2(pictures.startsWith("Immagini") && pictures.contains("*.png") && pictures.contains("*.jpeg"),
                 qPrintable(pictures));
        QVERIFY(f.picker.saveFilters[0].startsWith("Layout"));
        QCOMPARE(QDir::currentPath(), QDir(f.P + "/layout").canonicalPath());
    }

    // After reopening, the toggles show the listed sequence: the missing keys take one click each.
    void togglesShowSequence() {
        SetupFixture f;
        TestLayout layout = f.standard(4, true);
        layout.sequence = QStringList{"2", "1", "", ""};
        f.activate(f.layout(1), layout.bytes());
        f.open();
        QCOMPARE(f.steps(), (QStringList{"2", "1"}));
        QCOMPARE(f.toggles(false), (QList<int>{1, 2}));
        f.click(f.toggle(4));
        f.click(f.toggle(3));
        QCOMPARE(f.steps(), (QStringList{"2", "1", "4", "3"}));
    }

    // A full disk is called a full disk, not write protection.
    void fullDisk() {
        const QString full = LayoutWriter::NotWrittenMessage("/d/lay.ini", DurableFile::ErrorText(ENOSPC));
        QVERIFY(full.contains("il disco è pieno"));
        QVERIFY(!full.contains("protetti"));
        QVERIFY(LayoutWriter::NotWrittenMessage("/d/lay.ini", DurableFile::ErrorText(EACCES))
                    .contains("protetti"));
    }
};

MIRELVA_TEST(TstControls)
#include "controls.moc"
