#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/ScriptedPrinters.h"
#include "fakes/TestSupport.h"
#include "platform/AppInfo.h"
#include "printing/ClipboardPicture.h"
#include "printing/PreviewPage.h"
#include "printing/PrintBusyPointer.h"
#include "printing/PrintButton.h"
#include "printing/frmPrinter.h"
#include "fakes/TestRegistry.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
// The menus and their lists, in the order of the window's strip.
const char* const Menus[4] = {"mnuTipoStampante", "mnuPos", "mnuOrienta", "mnuIngrandimento"};
const char* const Lists[4] = {"cboPrinters", "cboPosition", "cboOrientation", "cboZoom"};

const QSize Landscape(15840, 11040);
const QSize Portrait(11040, 15840);

QImage solidPicture(QSize size, QColor colour = Qt::red) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Two printers with A4-like printable areas; the second is the system's
// current printer.
ScriptedPrinters twoPrinters() {
    ScriptedPrinters printers;
    printers.printers = {{"Laser", Portrait, Landscape, false},
                         {"Ufficio", QSize(11340, 16040), QSize(16040, 11340), false}};
    printers.current = 1;
    return printers;
}

struct Window {
    Window(const QImage& picture, ScriptedPrinters scripted) : printers(std::move(scripted)) {
        dialog = std::make_unique<frmPrinter>(picture, printers, picker, messages);
        dialog->show();
    }
    QComboBox* list(int group) const { return dialog->findChild<QComboBox*>(Lists[group]); }
    QList<QAction*> items(int group) const { return dialog->findChild<QMenu*>(Menus[group])->actions(); }
    PreviewPage* preview() const { return dialog->findChild<PreviewPage*>("picPreview"); }
    PrintButton* button() const { return dialog->findChild<PrintButton*>("cmdPrint"); }
    QWidget* strip() const { return dialog->findChild<QWidget*>("picControl"); }
    // The checked items of one menu, by index.
    QList<int> checked(int group) const {
        QList<int> out;
        const auto actions = items(group);
        for (int i = 0; i < actions.size(); ++i) {
            if (actions.at(i)->isChecked()) {
                out << i;
            }
        }
        return out;
    }
    void run(const QString& step) {
        const QStringList parts = step.split(':');
        if (parts.at(0) == "menu") {
            items(parts.at(1).toInt()).at(parts.at(2).toInt())->trigger();
        } else if (parts.at(0) == "list") {
            QComboBox* combo = list(parts.at(1).toInt());
            combo->setCurrentIndex(parts.at(2).toInt());
            emit combo->activated(parts.at(2).toInt());
        } else {
            const QKeySequence key(step);
            QTest::keyClick(dialog.get(), key[0].key(), key[0].keyboardModifiers());
        }
    }

    ScriptedPrinters printers;
    ScriptedFilePicker picker;
    RecordingMessages messages;
    std::unique_ptr<frmPrinter> dialog;
};

double screenTwipsPerPixel() {
    return 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInchX();
}
} // namespace

class TestPrintWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void opening();
    void windowCoversNinetyPerCentCentred();
    void commands_data();
    void commands();
    void singlePrinterKeepsItsPage();
    void orientationTurnsThePage();
    void previewShowsThePicture_data();
    void previewShowsThePicture();
    void noPictureGivesEmptyPageAndNoPrinting();
    void printsWithTheWindowsChoices_data();
    void printsWithTheWindowsChoices();
    void printerErrorIsReported();
    void pdfFileChoice_data();
    void pdfFileChoice();
    void buttonLooks();
    void closing_data();
    void closing();
    void busyPointerPutsBackTheShape();
    void ownedWindowStillCoversTheScreen();
    void noPrinterAtAll();
    void keysReachTheWindowFromAList();
    void clipboardPicture();
};

void TestPrintWindow::init() {
    while (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void TestPrintWindow::opening() {
    Window w(solidPicture({1024, 768}), twoPrinters());
    QCOMPARE(w.dialog->windowTitle(), QString("Stampa . . ."));
    QCOMPARE(w.dialog->findChild<QLabel*>("lblPrinters")->text(), QString("Stampante ( F5 )"));
    QCOMPARE(w.dialog->findChild<QLabel*>("lblPosition")->text(), QString("Posizione Immagine ( F6 )"));
    QCOMPARE(w.dialog->findChild<QLabel*>("lblOrientation")->text(), QString("Orientamento ( F7 )"));
    QCOMPARE(w.dialog->findChild<QLabel*>("lblZoom")->text(), QString("Zoom ( F8 )"));
    QCOMPARE(w.printers.refreshed, 1);
    QCOMPARE(w.list(0)->currentText(), QString("Ufficio"));
    QCOMPARE(w.list(1)->currentText(), QString("In alto al centro"));
    QCOMPARE(w.list(2)->currentText(), QString("Orizzontale"));
    QCOMPARE(w.list(3)->currentText(), QString("100 %"));
    QCOMPARE(w.list(1)->count(), 10);
    QCOMPARE(w.list(1)->itemText(9), QString("Pagina intera"));
    QCOMPARE(w.list(3)->itemText(0), QString("10 %"));
    QCOMPARE(w.checked(0), QList<int>{1});
    QCOMPARE(w.checked(1), QList<int>{1});
    QCOMPARE(w.checked(2), QList<int>{1});
    QCOMPARE(w.checked(3), QList<int>{9});
    QStringList menuBar;
    for (QAction* a : w.dialog->findChild<QMenuBar*>()->actions()) {
        menuBar << a->text();
    }
    QCOMPARE(menuBar, QStringList({"&Stampanti", "&Posizione Immagine", "&Orientamento", "&Zoom", "&Esci"}));
    QVERIFY(w.button()->isVisible());
    QVERIFY(w.button()->isEnabled());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestPrintWindow::windowCoversNinetyPerCentCentred() {
    Window w(solidPicture({1024, 768}), twoPrinters());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect window = w.dialog->geometry();
    QCOMPARE(window.width(), qRound(screen.width() * 0.9));
    QCOMPARE(window.height(), qRound(screen.height() * 0.9));
    QCOMPARE(window.center(), screen.center());
    // The page lies below the strip, inside the window, with the proportions
    // of the landscape printable area.
    const QRect page = w.preview()->geometry();
    QVERIFY(page.top() >= w.strip()->height());
    QVERIFY(w.preview()->parentWidget()->rect().contains(page));
    QVERIFY(qAbs(double(page.width()) / page.height() - 16040.0 / 11340.0) < 0.01);
}

void TestPrintWindow::commands_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("expected"); // printer, placement, orientation, zoom step
    QTest::addRow("opening") << QStringList{} << QList<int>{1, 1, 1, 9};
    QTest::addRow("F5 next printer wraps") << QStringList{"F5"} << QList<int>{0, 1, 1, 9};
    QTest::addRow("F5 twice comes back") << QStringList{"F5", "F5"} << QList<int>{1, 1, 1, 9};
    QTest::addRow("F6 next placement") << QStringList{"F6"} << QList<int>{1, 2, 1, 9};
    QTest::addRow("F6 nine times wraps") << QStringList(9, "F6") << QList<int>{1, 0, 1, 9};
    QTest::addRow("F8 wraps from 100 to 10") << QStringList{"F8"} << QList<int>{1, 1, 1, 0};
    QTest::addRow("F8 three times") << QStringList{"F8", "F8", "F8"} << QList<int>{1, 1, 1, 2};
    QTest::addRow("Ctrl+F8 stays") << QStringList{"F8", "Ctrl+F8"} << QList<int>{1, 1, 1, 0};
    QTest::addRow("Shift+F8 does nothing") << QStringList{"Shift+F8"} << QList<int>{1, 1, 1, 9};
    QTest::addRow("Ctrl+Alt+F8 does nothing") << QStringList{"Ctrl+Alt+F8"} << QList<int>{1, 1, 1, 9};
    QTest::addRow("Alt+F6 does nothing") << QStringList{"Alt+F6"} << QList<int>{1, 1, 1, 9};
    QTest::addRow("F7 resets zoom to 100") << QStringList{"F8", "F8", "F7"} << QList<int>{1, 1, 0, 9};
    QTest::addRow("F7 twice") << QStringList{"F7", "F8", "F7"} << QList<int>{1, 1, 1, 9};
    QTest::addRow("menu placement Al centro") << QStringList{"menu:1:4"} << QList<int>{1, 4, 1, 9};
    QTest::addRow("menu zoom 30") << QStringList{"menu:3:2"} << QList<int>{1, 1, 1, 2};
    QTest::addRow("menu checked Orizzontale switches") << QStringList{"menu:2:1"} << QList<int>{1, 1, 0, 9};
    QTest::addRow("menu Verticale twice")
        << QStringList{"menu:2:0", "menu:3:4", "menu:2:0"} << QList<int>{1, 1, 1, 9};
    QTest::addRow("menu printer Laser") << QStringList{"menu:0:0"} << QList<int>{0, 1, 1, 9};
    QTest::addRow("menu then F6 goes on from it") << QStringList{"menu:1:8", "F6"} << QList<int>{1, 9, 1, 9};
    QTest::addRow("list placement counts as choice")
        << QStringList{"list:1:5", "F6"} << QList<int>{1, 6, 1, 9};
    QTest::addRow("list zoom") << QStringList{"list:3:3", "F8"} << QList<int>{1, 1, 1, 4};
    QTest::addRow("list same orientation keeps zoom")
        << QStringList{"F8", "list:2:1"} << QList<int>{1, 1, 1, 0};
    QTest::addRow("list other orientation") << QStringList{"F8", "list:2:0"} << QList<int>{1, 1, 0, 9};
    QTest::addRow("list printer") << QStringList{"list:0:0", "F5"} << QList<int>{1, 1, 1, 9};
}

void TestPrintWindow::commands() {
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, expected);
    Window w(solidPicture({1024, 768}), twoPrinters());
    for (const QString& step : steps) {
        w.run(step);
    }
    for (int group = 0; group < 4; ++group) {
        QCOMPARE(w.list(group)->currentIndex(), expected.at(group));
        QCOMPARE(w.checked(group), QList<int>{expected.at(group)});
    }
    QVERIFY(w.dialog->isVisible());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestPrintWindow::singlePrinterKeepsItsPage() {
    ScriptedPrinters one;
    one.printers = {{"Sola", Portrait, Landscape, false}};
    Window w(solidPicture({1024, 768}), std::move(one));
    const QRect before = w.preview()->geometry();
    w.run("F5");
    QCOMPARE(w.list(0)->currentIndex(), 0);
    QCOMPARE(w.checked(0), QList<int>{0});
    QCOMPARE(w.preview()->geometry(), before);
}

void TestPrintWindow::orientationTurnsThePage() {
    Window w(solidPicture({1024, 768}), twoPrinters());
    QVERIFY(w.preview()->width() > w.preview()->height());
    w.run("F7");
    QVERIFY(w.preview()->width() < w.preview()->height());
    QVERIFY(qAbs(double(w.preview()->height()) / w.preview()->width() - 16040.0 / 11340.0) < 0.01);
    // Another printer with another page gives the page its proportions.
    w.run("F5");
    QVERIFY(qAbs(double(w.preview()->height()) / w.preview()->width() - 15840.0 / 11040.0) < 0.01);
}

void TestPrintWindow::previewShowsThePicture_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("where");
    QTest::addRow("opening: top centre, full width") << QStringList{} << "top-full-width";
    QTest::addRow("Pagina intera 100 fills the page") << QStringList{"menu:1:9"} << "whole";
    QTest::addRow("Pagina intera 50 is half the page, centred")
        << QStringList{"menu:1:9", "menu:3:4"} << "half";
    QTest::addRow("10 per cent bottom right") << QStringList{"menu:1:8", "menu:3:0"} << "bottom-right-small";
}

void TestPrintWindow::previewShowsThePicture() {
    QFETCH(QStringList, steps);
    QFETCH(QString, where);
    Window w(solidPicture({1000, 600}), twoPrinters());
    for (const QString& step : steps) {
        w.run(step);
    }
    const QImage shot = w.preview()->grab().toImage();
    const int pw = shot.width();
    const int ph = shot.height();
    auto red = [&shot](int x, int y) { return shot.pixelColor(x, y) == QColor(Qt::red); };
    auto white = [&shot](int x, int y) { return shot.pixelColor(x, y) == QColor(Qt::white); };
    if (where == "top-full-width") {
        // The page is less wide for its height than the picture.
        const int h = qRound(pw * 600.0 / 1000.0);
        QVERIFY(red(0, 0) && red(pw - 1, 0) && red(pw / 2, h - 2));
        QVERIFY(white(pw / 2, h + 2) && white(0, ph - 1));
    } else if (where == "whole") {
        QVERIFY(red(0, 0) && red(pw - 1, ph - 1) && red(pw - 1, 0) && red(0, ph - 1));
    } else if (where == "half") {
        QVERIFY(white(pw / 4 - 2, ph / 2) && red(pw / 4 + 2, ph / 2) && red(pw * 3 / 4 - 2, ph / 2));
        QVERIFY(white(pw * 3 / 4 + 2, ph / 2) && white(pw / 2, ph / 4 - 2) && red(pw / 2, ph / 4 + 2));
        QVERIFY(red(pw / 2, ph * 3 / 4 - 2) && white(pw / 2, ph * 3 / 4 + 2));
    } else {
        // 100 x 60 pixels, smaller than the page, in its bottom right corner.
        QVERIFY(red(pw - 1, ph - 1) && red(pw - 100, ph - 60));
        QVERIFY(white(pw - 101, ph - 1) && white(pw - 1, ph - 61));
    }
}

void TestPrintWindow::noPictureGivesEmptyPageAndNoPrinting() {
    Window w(QImage(), twoPrinters());
    QVERIFY(w.button()->isVisible());
    QVERIFY(!w.button()->isEnabled());
    QVERIFY(w.preview()->width() > 100);
    const QImage shot = w.preview()->grab().toImage();
    for (int y = 0; y < shot.height(); y += 7) {
        for (int x = 0; x < shot.width(); x += 7) {
            QCOMPARE(shot.pixelColor(x, y), QColor(Qt::white));
        }
    }
    QTest::mouseClick(w.button(), Qt::LeftButton);
    w.run("F8");
    QVERIFY(w.printers.printed.isEmpty());
    QVERIFY(w.messages.shown.isEmpty());
}

void TestPrintWindow::printsWithTheWindowsChoices_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QRect>("target");
    // 1024 x 768 pixels at 15 twips a pixel on the Laser page.
    QTest::addRow("opening choices, landscape")
        << QStringList{"menu:0:0"} << int(QPageLayout::Landscape) << QRect(560, 0, 14720, 11040);
    QTest::addRow("portrait across the full width")
        << QStringList{"menu:0:0", "F7"} << int(QPageLayout::Portrait) << QRect(0, 0, 11040, 8280);
    QTest::addRow("10 per cent not enlarged")
        << QStringList{"menu:0:0", "F8"} << int(QPageLayout::Landscape) << QRect(7155, 0, 1530, 1155);
    QTest::addRow("Al centro 50 per cent") << QStringList{"menu:0:0", "menu:1:4", "menu:3:4"}
                                           << int(QPageLayout::Landscape) << QRect(4080, 2640, 7680, 5760);
    QTest::addRow("Pagina intera fills the printable area")
        << QStringList{"menu:0:0", "menu:1:9"} << int(QPageLayout::Landscape) << QRect(0, 0, 15840, 11040);
    QTest::addRow("other printer, its own page")
        << QStringList{"menu:1:9", "menu:3:4"} << int(QPageLayout::Landscape)
        << QRect(4010, 2835, 8020, 5670);
}

void TestPrintWindow::printsWithTheWindowsChoices() {
    QFETCH(QStringList, steps);
    QFETCH(int, orientation);
    QFETCH(QRect, target);
    QCOMPARE(screenTwipsPerPixel(), 15.0);
    Window w(solidPicture({1024, 768}), twoPrinters());
    for (const QString& step : steps) {
        w.run(step);
    }
    QTest::mouseClick(w.button(), Qt::LeftButton);
    QCOMPARE(w.printers.printed.size(), 1);
    const auto& page = w.printers.printed.first();
    QCOMPARE(page.index, w.list(0)->currentIndex());
    QCOMPARE(int(page.orientation), orientation);
    QCOMPARE(page.pictureSize, QSize(1024, 768));
    QCOMPARE(page.target, target);
    QVERIFY(w.messages.shown.isEmpty());
    QVERIFY(w.button()->isEnabled());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    // Printing leaves the choices and the window as they were.
    QVERIFY(w.dialog->isVisible());
    QCOMPARE(w.checked(3), QList<int>{w.list(3)->currentIndex()});
}

void TestPrintWindow::printerErrorIsReported() {
    Window w(solidPicture({1024, 768}), twoPrinters());
    w.printers.fail = true;
    QTest::mouseClick(w.button(), Qt::LeftButton);
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown.first().text,
             QString("La stampante «Ufficio» ha segnalato un errore: la tabella non è stata stampata."));
    QCOMPARE(w.messages.shown.first().icon, MsgIcon::Exclamation);
    QCOMPARE(w.messages.shown.first().title, AppInfo::Title);
    QVERIFY(w.button()->isEnabled());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestPrintWindow::pdfFileChoice_data() {
    QTest::addColumn<QString>("answer");  // relative to a temporary folder; "" cancels
    QTest::addColumn<QString>("written"); // the file handed to the printer, "" when none
    QTest::addColumn<QString>("message"); // %1 stands for the answer's full path
    QTest::addRow("cancel prints nothing") << ""
                                           << ""
                                           << "";
    QTest::addRow("name with .pdf") << "tabella.pdf"
                                    << "tabella.pdf"
                                    << "";
    QTest::addRow("upper-case extension kept") << "TABELLA.PDF"
                                               << "TABELLA.PDF"
                                               << "";
    QTest::addRow("extension added") << "tabella"
                                     << "tabella.pdf"
                                     << "";
    QTest::addRow("folder refused") << "cartella"
                                    << ""
                                    << "«%1» non è un file: la tabella non è stata stampata.";
    QTest::addRow("added extension would overwrite") << "vecchio"
                                                     << ""
                                                     << "Il file «%1.pdf» esiste già: la tabella non è stata "
                                                        "stampata. Scegliere un altro nome.";
}

void TestPrintWindow::pdfFileChoice() {
    QFETCH(QString, answer);
    QFETCH(QString, written);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("cartella"));
    QFile old(dir.filePath("vecchio.pdf"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("%PDF old");
    old.close();

    ScriptedPrinters printers = twoPrinters();
    printers.printers.append({"PDF", QSize(11339, 16238), QSize(16238, 11339), true});
    Window w(solidPicture({1024, 768}), std::move(printers));
    w.run("menu:0:2");
    if (!answer.isEmpty()) {
        w.picker.saveAnswers.enqueue(" " + dir.filePath(answer) + " ");
    }
    QTest::mouseClick(w.button(), Qt::LeftButton);

    QCOMPARE(w.picker.saveFilters, QList<QString>{QString("PDF Files (*.pdf)") + QChar('\0') + "*.pdf"});
    if (written.isEmpty()) {
        QVERIFY(w.printers.printed.isEmpty());
    } else {
        QCOMPARE(w.printers.printed.size(), 1);
        QCOMPARE(w.printers.printed.first().outputFile, dir.filePath(written));
        QCOMPARE(w.printers.printed.first().index, 2);
    }
    if (message.isEmpty()) {
        QVERIFY(w.messages.shown.isEmpty());
    } else {
        QCOMPARE(w.messages.texts(), QStringList{message.arg(dir.filePath(answer))});
    }
    QCOMPARE(TestSupport::readFile(dir.filePath("vecchio.pdf")), QByteArray("%PDF old"));
    QVERIFY(w.button()->isEnabled());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestPrintWindow::buttonLooks() {
    Window w(solidPicture({1024, 768}), twoPrinters());
    PrintButton* button = w.button();
    const QPoint inside = button->rect().center();
    QCOMPARE(button->look(), PrintButton::Look::Normal);
    QTest::mouseMove(button, inside);
    QCOMPARE(button->look(), PrintButton::Look::Hover);
    QTest::mousePress(button, Qt::LeftButton, {}, inside);
    QCOMPARE(button->look(), PrintButton::Look::Pressed);
    QVERIFY(w.printers.printed.isEmpty());
    QTest::mouseRelease(button, Qt::LeftButton, {}, inside);
    QCOMPARE(button->look(), PrintButton::Look::Hover);
    QCOMPARE(w.printers.printed.size(), 1);
    QTest::mouseMove(w.strip(), QPoint(3, 3));
    QCOMPARE(button->look(), PrintButton::Look::Normal);
    QTest::mouseMove(button, inside);
    QCOMPARE(button->look(), PrintButton::Look::Hover);
    QTest::mouseMove(w.preview(), QPoint(5, 5));
    QCOMPARE(button->look(), PrintButton::Look::Normal);
    // Released outside the button: no print.
    QTest::mousePress(button, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-20, -20));
    QCOMPARE(button->look(), PrintButton::Look::Normal);
    QCOMPARE(w.printers.printed.size(), 1);
}

void TestPrintWindow::closing_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("closes");
    QTest::addRow("Esc") << "Esc" << true;
    QTest::addRow("Shift+Esc") << "Shift+Esc" << false;
    QTest::addRow("Ctrl+Esc") << "Ctrl+Esc" << false;
    QTest::addRow("Esci") << "esci" << true;
}

void TestPrintWindow::closing() {
    QFETCH(QString, step);
    QFETCH(bool, closes);
    Window w(solidPicture({1024, 768}), twoPrinters());
    if (step == "esci") {
        w.dialog->findChild<QAction*>("mnuEsci")->trigger();
    } else {
        w.run(step);
    }
    QCOMPARE(w.dialog->isVisible(), !closes);
}

void TestPrintWindow::busyPointerPutsBackTheShape() {
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    {
        PrintBusyPointer busy;
        busy.MousePointer(PrintBusyPointer::Shape::Hourglass);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        busy.MousePointer(PrintBusyPointer::Shape::Hourglass);
    }
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    {
        PrintBusyPointer busy;
        busy.MousePointer(PrintBusyPointer::Shape::Hourglass);
        busy.MousePointer(PrintBusyPointer::Shape::Default);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    // A shape someone else set stays once the busy pointer is gone.
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    {
        PrintBusyPointer busy;
        busy.MousePointer(PrintBusyPointer::Shape::Hourglass);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
}

void TestPrintWindow::ownedWindowStillCoversTheScreen() {
    // The runtime window owns the print window; a dialog is normally placed
    // over its owner, but this one keeps its own place on the screen.
    QWidget owner;
    owner.setGeometry(10, 10, 200, 150);
    owner.show();
    ScriptedPrinters printers = twoPrinters();
    ScriptedFilePicker picker;
    RecordingMessages messages;
    frmPrinter dialog(solidPicture({1024, 768}), printers, picker, messages, &owner);
    dialog.show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(dialog.geometry().size(), QSize(qRound(screen.width() * 0.9), qRound(screen.height() * 0.9)));
    QCOMPARE(dialog.geometry().center(), screen.center());
}

void TestPrintWindow::noPrinterAtAll() {
    // An IPrinters without any entry: nothing to print on, nothing breaks.
    Window w(solidPicture({1024, 768}), ScriptedPrinters());
    QCOMPARE(w.list(0)->count(), 0);
    QVERIFY(!w.button()->isEnabled());
    w.run("F5");
    w.run("F7");
    QTest::mouseClick(w.button(), Qt::LeftButton);
    QVERIFY(w.printers.printed.isEmpty());
    QCOMPARE(w.checked(2), QList<int>{0});
    QCOMPARE(w.preview()->size(), QSize(0, 0));
}

void TestPrintWindow::keysReachTheWindowFromAList() {
    // The window sees the function keys even while one of its lists has the
    // keyboard.
    Window w(solidPicture({1024, 768}), twoPrinters());
    QComboBox* positions = w.list(1);
    positions->setFocus();
    QTest::keyClick(positions, Qt::Key_F6);
    QTest::keyClick(positions, Qt::Key_F8);
    QCOMPARE(w.checked(1), QList<int>{2});
    QCOMPARE(w.checked(3), QList<int>{0});
    QTest::keyClick(positions, Qt::Key_Escape);
    QVERIFY(!w.dialog->isVisible());
}

void TestPrintWindow::clipboardPicture() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setImage(solidPicture({64, 48}, Qt::green));
    const QImage taken = ClipboardPicture();
    QCOMPARE(taken.size(), QSize(64, 48));
    QCOMPARE(taken.pixelColor(10, 10), QColor(Qt::green));
    clipboard->setText("nessuna immagine");
    QVERIFY(ClipboardPicture().isNull());
}

MIRELVA_TEST(TestPrintWindow)
#include "print_window.moc"
