#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/ScriptedPrinters.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "printing/PreviewPage.h"
#include "printing/PrintButton.h"
#include "printing/frmPrinter.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
const char* const Menus[4] = {"mnuTipoStampante", "mnuPos", "mnuOrienta", "mnuIngrandimento"};
const char* const Lists[4] = {"cboPrinters", "cboPosition", "cboOrientation", "cboZoom"};

QImage solidPicture(QSize size = {1024, 768}, QColor colour = Qt::red) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Two printers with A4-like printable areas; the second is the system's current one.
ScriptedPrinters twoPrinters() {
    ScriptedPrinters printers;
    printers.printers = {{"Laser", QSize(11040, 15840), QSize(15840, 11040), false},
                         {"Ufficio", QSize(11340, 16040), QSize(16040, 11340), false}};
    printers.current = 1;
    return printers;
}

struct Window {
    explicit Window(const QImage& picture = solidPicture(), ScriptedPrinters scripted = twoPrinters())
        : printers(std::move(scripted)),
          dialog(std::make_unique<frmPrinter>(picture, printers, picker, messages)) {
        dialog->show();
    }
    QComboBox* list(int group) const { return dialog->findChild<QComboBox*>(Lists[group]); }
    PreviewPage* preview() const { return dialog->findChild<PreviewPage*>("picPreview"); }
    PrintButton* button() const { return dialog->findChild<PrintButton*>("cmdPrint"); }
    QMenu* menu(int group) const { return dialog->findChild<QMenu*>(Menus[group]); }
    QList<int> checked(int group) const {
        QList<int> out;
        const auto actions = menu(group)->actions();
        for (int i = 0; i < actions.size(); ++i) {
            if (actions.at(i)->isChecked()) {
                out << i;
            }
        }
        return out;
    }
    // "menu:group:item", "list:group:index" or a key sequence.
    void run(const QStringList& steps) {
        for (const QString& step : steps) {
            const QStringList parts = step.split(':');
            if (parts.at(0) == "menu") {
                menu(parts.at(1).toInt())->actions().at(parts.at(2).toInt())->trigger();
            } else if (parts.at(0) == "list") {
                QComboBox* combo = list(parts.at(1).toInt());
                combo->setCurrentIndex(parts.at(2).toInt());
                emit combo->activated(parts.at(2).toInt());
            } else {
                const QKeySequence key(step);
                QTest::keyClick(dialog.get(), key[0].key(), key[0].keyboardModifiers());
            }
        }
    }
    void print() { QTest::mouseClick(button(), Qt::LeftButton); }

    ScriptedPrinters printers;
    ScriptedFilePicker picker;
    RecordingMessages messages;
    std::unique_ptr<frmPrinter> dialog;
};
} // namespace

class TestPrintWindow : public QObject {
    Q_OBJECT
private slots:
    // Function keys, menus and lists move the same four choices, and each
    // list and its menu agree.
    void commands_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("expected"); // printer, placement, orientation, zoom step
        const auto row = [](const char* tag, const QStringList& steps, const QList<int>& expected) {
            QTest::addRow("%s", tag) << steps << expected;
        };
        row("opening", {}, {1, 1, 1, 9});
        row("F6 nine times wraps", QStringList(9, "F6"), {1, 0, 1, 9});
        row("F8 wraps from 100 to 10", {"F8"}, {1, 1, 1, 0});
        row("Shift+F8 does nothing", {"Shift+F8"}, {1, 1, 1, 9});
        row("F7 resets zoom to 100", {"F8", "F8", "F7"}, {1, 1, 0, 9});
        row("menu checked Orizzontale switches", {"menu:2:1"}, {1, 1, 0, 9});
        row("menu then F6 goes on from it", {"menu:1:8", "F6"}, {1, 9, 1, 9});
        row("list then F6 goes on from it", {"list:1:5", "F6"}, {1, 6, 1, 9});
        row("list same orientation keeps zoom", {"F8", "list:2:1"}, {1, 1, 1, 0});
    }
    void commands() {
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, expected);
        Window w;
        w.run(steps);
        QCOMPARE(w.printers.refreshed, 1);
        for (int group = 0; group < 4; ++group) {
            QCOMPARE(w.list(group)->currentIndex(), expected.at(group));
            QCOMPARE(w.checked(group), QList<int>{expected.at(group)});
        }
    }

    // The preview page takes the shape of the printer's page; the picture is drawn on it.
    void previewPage() {
        Window w(solidPicture({1000, 600}));
        const auto ratio = [&w] { return double(w.preview()->height()) / w.preview()->width(); };
        QVERIFY(ratio() < 1);
        w.run({"F7"});
        QVERIFY(qAbs(ratio() - 16040.0 / 11340.0) < 0.01);
        w.run({"F5", "F7", "menu:1:8", "menu:3:0"});
        QVERIFY(qAbs(ratio() - 11040.0 / 15840.0) < 0.01);
        // 100 x 60 pixels at 10 per cent, in the bottom right corner.
        const QImage shot = w.preview()->grab().toImage();
        auto red = [&shot](int x, int y) {
            return shot.pixelColor(shot.width() - x, shot.height() - y) == QColor(Qt::red);
        };
        QVERIFY(red(1, 1) && red(100, 60) && !red(101, 1) && !red(1, 61));
    }

    void noPicture_data() {
        QTest::addColumn<bool>("picture");
        QTest::addRow("no picture") << false;
        QTest::addRow("no printer") << true;
    }
    void noPicture() {
        QFETCH(bool, picture);
        Window w(picture ? solidPicture() : QImage(), picture ? ScriptedPrinters() : twoPrinters());
        QVERIFY(!w.button()->isEnabled());
        w.run({"F5", "F7", "F8"});
        w.print();
        QVERIFY(w.printers.printed.isEmpty());
        QVERIFY(w.messages.shown.isEmpty());
    }

    // 1024 x 768 pixels at 15 twips a pixel, on the Laser (0) or the current printer.
    void printsWithTheWindowsChoices_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QRect>("target");
        QTest::addRow("10 per cent bottom right, not enlarged")
            << QStringList{"menu:0:0", "F7", "menu:1:8", "F8"} << int(QPageLayout::Portrait)
            << QRect(9510, 14685, 1530, 1155);
        QTest::addRow("Al centro 50 per cent")
            << QStringList{"menu:0:0", "menu:1:4", "menu:3:4"} << int(QPageLayout::Landscape)
            << QRect(4080, 2640, 7680, 5760);
        QTest::addRow("current printer, Pagina intera 50 per cent")
            << QStringList{"menu:1:9", "menu:3:4"} << int(QPageLayout::Landscape)
            << QRect(4010, 2835, 8020, 5670);
    }
    void printsWithTheWindowsChoices() {
        QFETCH(QStringList, steps);
        QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 96.0);
        Window w;
        w.run(steps);
        w.print();
        QCOMPARE(w.printers.printed.size(), 1);
        const auto& page = w.printers.printed.first();
        QCOMPARE(page.index, w.list(0)->currentIndex());
        QTEST(int(page.orientation), "orientation");
        QCOMPARE(page.pictureSize, QSize(1024, 768));
        QTEST(page.target, "target");
        QVERIFY(w.messages.shown.isEmpty());
        QVERIFY(w.dialog->isVisible() && w.button()->isEnabled());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // The answer is in a temporary folder ("" cancels); the file handed to the
    // printer ("" when none); the message, where %1 is the answer's full path.
    void pdfFileChoice_data() {
        QTest::addColumn<QStringList>("row");
        QTest::addRow("cancel prints nothing") << QStringList{"", "", ""};
        QTest::addRow("upper-case extension kept") << QStringList{"TABELLA.PDF", "TABELLA.PDF", ""};
        QTest::addRow("extension added") << QStringList{"tabella", "tabella.pdf", ""};
        QTest::addRow("folder refused")
            << QStringList{"cartella", "", "«%1» non è un file: la tabella non è stata stampata."};
        QTest::addRow("printer reports an error") << QStringList{
            "!", "", "La stampante «Ufficio» ha segnalato un errore: la tabella non è stata stampata."};
        QTest::addRow("added extension would overwrite") << QStringList{
            "vecchio", "",
            "Il file «%1.pdf» esiste già: la tabella non è stata stampata. Scegliere un altro nome."};
    }
    void pdfFileChoice() {
        QFETCH(QStringList, row);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("cartella"));
        QVERIFY(TestSupport::writeFile(dir.filePath("vecchio.pdf"), "%PDF old"));
        ScriptedPrinters printers = twoPrinters();
        printers.printers.append({"PDF", QSize(11339, 16238), QSize(16238, 11339), true});
        Window w(solidPicture(), std::move(printers));
        // A paper printer that fails.
        w.printers.fail = row[0] == "!";
        w.run({w.printers.fail ? "menu:0:1" : "menu:0:2"});
        if (!row[0].isEmpty() && !w.printers.fail) {
            w.picker.saveAnswers.enqueue(" " + dir.filePath(row[0]) + " ");
        }
        w.print();
        QCOMPARE(w.printers.printed.size(), row[1].isEmpty() ? 0 : 1);
        if (!row[1].isEmpty()) {
            QCOMPARE(w.printers.printed.first().outputFile, dir.filePath(row[1]));
        }
        QCOMPARE(w.messages.texts(),
                 row[2].isEmpty() ? QStringList() : QStringList{row[2].arg(dir.filePath(row[0]))});
        QCOMPARE(TestSupport::readFile(dir.filePath("vecchio.pdf")), QByteArray("%PDF old"));
        QVERIFY(w.button()->isEnabled());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // A press prints only when released over the button.
    void buttonPrintsOnRelease() {
        Window w;
        const QPoint inside = w.button()->rect().center();
        QTest::mousePress(w.button(), Qt::LeftButton, {}, inside);
        QTest::mouseRelease(w.button(), Qt::LeftButton, {}, QPoint(-20, -20));
        QVERIFY(w.printers.printed.isEmpty());
        QTest::mousePress(w.button(), Qt::LeftButton, {}, inside);
        QTest::mouseRelease(w.button(), Qt::LeftButton, {}, inside);
        QCOMPARE(w.printers.printed.size(), 1);
    }

    // The function keys reach the window even from a list; only a plain Esc closes.
    void keysFromAList() {
        Window w;
        QComboBox* positions = w.list(1);
        positions->setFocus();
        QTest::keyClick(positions, Qt::Key_F6);
        QCOMPARE(w.checked(1), QList<int>{2});
        QTest::keyClick(positions, Qt::Key_Escape, Qt::ShiftModifier);
        QVERIFY(w.dialog->isVisible());
        QTest::keyClick(positions, Qt::Key_Escape);
        QVERIFY(!w.dialog->isVisible());
    }
};

MIRELVA_TEST(TestPrintWindow)
#include "print_window.moc"
