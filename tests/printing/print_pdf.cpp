#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/TestRegistry.h"
#include "platform/QtPrinters.h"
#include "printing/PrintButton.h"
#include "printing/frmPrinter.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// Real pages through the PDF printer, read back with poppler's tools.
namespace {
bool Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Prints a picture with the PDF printer through the window after the given
// menu choices ("group:item") and returns what the user was told.
QStringList PrintToPdf(const QImage& picture, const QStringList& choices, const QString& file) {
    QtPrinters printers;
    ScriptedFilePicker picker;
    RecordingMessages messages;
    frmPrinter window(picture, printers, picker, messages);
    window.show();
    window.findChild<QMenu*>("mnuTipoStampante")->actions().last()->trigger();
    const char* menus[4] = {"mnuTipoStampante", "mnuPos", "mnuOrienta", "mnuIngrandimento"};
    for (const QString& choice : choices) {
        window.findChild<QMenu*>(menus[choice.section(':', 0, 0).toInt()])
            ->actions()
            .at(choice.section(':', 1).toInt())
            ->trigger();
    }
    picker.saveAnswers.enqueue(file);
    QTest::mouseClick(window.findChild<PrintButton*>("cmdPrint"), Qt::LeftButton);
    return messages.texts();
}
} // namespace

class TestPrintPdf : public QObject {
    Q_OBJECT
private slots:
    // A 1280 x 1024 picture (red top-left quarter, blue elsewhere) at 15 twips a
    // pixel; where it must be, in twips from the printable area's corner.
    void printedPage_data() {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QRect>("twips");
        QTest::addRow("Al centro 50 per cent")
            << QStringList{"1:4", "3:4"} << true << QRect(3260, 1750, 9600, 7680);
        QTest::addRow("In basso a destra 30 per cent, portrait")
            << QStringList{"2:0", "1:8", "3:2"} << false << QRect(5420, 11515, 5760, 4605);
    }
    void printedPage() {
        QFETCH(QStringList, choices);
        QFETCH(bool, landscape);
        QFETCH(QRect, twips);
        QImage picture(1280, 1024, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        for (int y = 0; y < 512; ++y) {
            for (int x = 0; x < 640; ++x) {
                picture.setPixelColor(x, y, Qt::red);
            }
        }
        QTemporaryDir dir;
        const QString pdf = dir.filePath("tabella.pdf");
        QCOMPARE(PrintToPdf(picture, choices, pdf), QStringList());
        // At 144 dots per inch a pixel is 10 twips and the border 36 pixels.
        QVERIFY2(Run("pdftoppm", {"-r", "144", "-png", "-singlefile", pdf, dir.filePath("page")}),
                 "pdftoppm (poppler-utils) must be installed and read the file");
        const QImage page = QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(page.size(), landscape ? QSize(1684, 1190) : QSize(1190, 1684));
        const QRect expected(36 + twips.x() / 10, 36 + twips.y() / 10, twips.width() / 10,
                             twips.height() / 10);
        const auto colour = [&](QPoint at) {
            const QColor c = page.pixelColor(at);
            return c.red() > 200 ? (c.blue() > 200 ? 'w' : 'r') : c.blue() > 200 ? 'b' : '?';
        };
        // Each corner of the picture and just outside it, and the right way up.
        const QPoint in(2, 2);
        QCOMPARE(colour(expected.topLeft() + in), 'r');
        QCOMPARE(colour(expected.bottomRight() - in), 'b');
        QCOMPARE(colour(expected.topLeft() - in), 'w');
        QCOMPARE(colour(expected.bottomRight() + in), 'w');
        QCOMPARE(colour(QPoint(expected.right() - 2, expected.top() + 2)), 'b');
        QCOMPARE(colour(QPoint(expected.right() + 2, expected.top() + 2)), 'w');
    }

    void unwritableFile_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::addRow("folder that does not exist")
            << "manca/tabella.pdf"
            << "Impossibile scrivere il file PDF «%1»: la tabella non è stata stampata.";
        QTest::addRow("named pipe") << "tubo.pdf"
                                    << "«%1» non è un file: la tabella non è stata stampata.";
    }
    void unwritableFile() {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(mkfifo(QFile::encodeName(dir.filePath("tubo.pdf")).constData(), 0600) == 0);
        const QString path = answer.startsWith('/') ? answer : dir.filePath(answer);
        QImage picture(320, 200, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QCOMPARE(PrintToPdf(picture, {}, path), QStringList{message.arg(path)});
        QVERIFY(!QFileInfo::exists(dir.filePath("manca")));
    }

    // Printed boards are laminated and used for months: the table goes into the
    // PDF without loss. Noise and thin lines are what lossy compression spoils most.
    void tableComesBackPixelForPixel() {
        QImage table(240, 160, QImage::Format_RGB32);
        QRandomGenerator random(12);
        for (int y = 0; y < table.height(); ++y) {
            for (int x = 0; x < table.width(); ++x) {
                table.setPixel(x, y, y % 8 == 0 ? 0xFF000000 : 0xFF000000 | random.bounded(0x1000000));
            }
        }
        QTemporaryDir dir;
        const QString pdf = dir.filePath("table.pdf");
        QtPrinters printers;
        const int pdfPrinter = int(printers.names().size()) - 1;
        QVERIFY(printers.printPage(pdfPrinter, QPageLayout::Portrait, table, QRect(0, 0, 3600, 2400), pdf));
        QVERIFY(Run("pdfimages", {"-png", pdf, dir.filePath("out")}));
        QVERIFY(QImage(dir.filePath("out-000.png")).convertToFormat(QImage::Format_RGB32) == table);
    }
};

MIRELVA_TEST(TestPrintPdf)
#include "print_pdf.moc"
