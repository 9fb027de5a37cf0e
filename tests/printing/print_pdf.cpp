#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "platform/QtPrinters.h"
#include "printing/PrintButton.h"
#include "printing/frmPrinter.h"
#include "fakes/TestRegistry.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// Real pages through the PDF printer, read back with poppler's tools.
namespace {
// A picture with a red top-left quarter and blue elsewhere, so that both its
// place and its way up can be seen on the page.
QImage tablePicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < size.height() / 2; ++y) {
        for (int x = 0; x < size.width() / 2; ++x) {
            image.setPixelColor(x, y, Qt::red);
        }
    }
    return image;
}

QString run(const QString& program, const QStringList& arguments, bool* ok) {
    QProcess process;
    process.start(program, arguments);
    *ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool isInk(QColor c) {
    return c.red() < 128 || c.green() < 128 || c.blue() < 128;
}

// The smallest rectangle holding every pixel that is not near white.
QRect inkBounds(const QImage& page) {
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            if (isInk(QColor(line[x]))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}
} // namespace

class TestPrintPdf : public QObject {
    Q_OBJECT
private slots:
    void pdfPrinterIsLastAndAlone();
    void printedPage_data();
    void printedPage();
    void unwritableFile_data();
    void unwritableFile();
};

void TestPrintPdf::pdfPrinterIsLastAndAlone() {
    QtPrinters printers;
    const QStringList names = printers.names();
    QVERIFY(!names.isEmpty());
    QCOMPARE(names.last(), QString("PDF"));
    QVERIFY(printers.writesToFile(names.size() - 1));
    if (names.size() == 1) {
        QCOMPARE(printers.defaultIndex(), 0);
    }
    // A4 (595 x 842 points, as Qt rounds it) less the PDF printer's border of a
    // quarter inch on every side.
    QCOMPARE(printers.printableTwips(names.size() - 1, QPageLayout::Portrait), QSize(11180, 16120));
    QCOMPARE(printers.printableTwips(names.size() - 1, QPageLayout::Landscape), QSize(16120, 11180));
}

void TestPrintPdf::printedPage_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QRect>("twips"); // where the picture must be, from the printable area's corner
    // A 1280 x 1024 capture at 15 twips a pixel on A4 with a 360-twip border:
    // the printable area is 16120 x 11180 twips in landscape.
    QTest::addRow("Al centro 50 per cent: centred at half its screen size")
        << QStringList{"menu:1:4", "menu:3:4"} << true << QRect(3260, 1750, 9600, 7680);
    QTest::addRow("In alto a sinistra 100 per cent: reduced to the page height")
        << QStringList{"menu:1:0"} << true << QRect(0, 0, 13975, 11180);
    QTest::addRow("In basso a destra 30 per cent, portrait")
        << QStringList{"F7", "menu:1:8", "menu:3:2"} << false << QRect(5420, 11515, 5760, 4605);
    QTest::addRow("Pagina intera 100 per cent fills the printable area")
        << QStringList{"menu:1:9"} << true << QRect(0, 0, 16120, 11180);
    QTest::addRow("Pagina intera 50 per cent, portrait")
        << QStringList{"F7", "menu:1:9", "menu:3:4"} << false << QRect(2795, 4030, 5590, 8060);
}

void TestPrintPdf::printedPage() {
    QFETCH(QStringList, steps);
    QFETCH(bool, landscape);
    QFETCH(QRect, twips);
    QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 96.0);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("tabella.pdf");

    QtPrinters printers;
    ScriptedFilePicker picker;
    RecordingMessages messages;
    frmPrinter window(tablePicture({1280, 1024}), printers, picker, messages);
    window.show();
    const int pdfIndex = int(printers.names().size()) - 1;
    window.findChild<QMenu*>("mnuTipoStampante")->actions().at(pdfIndex)->trigger();
    for (const QString& step : steps) {
        if (step.startsWith("menu:")) {
            const QStringList parts = step.split(':');
            const char* menus[4] = {"mnuTipoStampante", "mnuPos", "mnuOrienta", "mnuIngrandimento"};
            window.findChild<QMenu*>(menus[parts.at(1).toInt()])
                ->actions()
                .at(parts.at(2).toInt())
                ->trigger();
        } else {
            QTest::keyClick(&window, QKeySequence(step)[0].key());
        }
    }
    picker.saveAnswers.enqueue(pdf);
    QTest::mouseClick(window.findChild<PrintButton*>("cmdPrint"), Qt::LeftButton);
    QVERIFY2(messages.shown.isEmpty(), qPrintable(messages.texts().join('\n')));

    bool ok = false;
    const QString info = run("pdfinfo", {pdf}, &ok);
    QVERIFY2(ok, "pdfinfo (poppler-utils) must be installed and read the file");
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
    QVERIFY2(info.contains(landscape ? "842 x 595 pts (A4)" : "595 x 842 pts (A4)"), qPrintable(info));

    // At 144 dots per inch a pixel is 10 twips and the border 36 pixels.
    run("pdftoppm", {"-r", "144", "-png", pdf, dir.filePath("page")}, &ok);
    QVERIFY2(ok, "pdftoppm (poppler-utils) must be installed and read the file");
    const QStringList pages = QDir(dir.path()).entryList({"page*.png"});
    QCOMPARE(pages.size(), 1);
    const QImage page = QImage(dir.filePath(pages.first())).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(page.size(), landscape ? QSize(1684, 1190) : QSize(1190, 1684));

    const QRectF expected(36 + twips.x() / 10.0, 36 + twips.y() / 10.0, twips.width() / 10.0,
                          twips.height() / 10.0);
    const QRect found = inkBounds(page);
    const double tolerance = 1.5;
    QVERIFY2(qAbs(found.left() - expected.left()) <= tolerance &&
                 qAbs(found.top() - expected.top()) <= tolerance &&
                 qAbs(found.right() + 1 - expected.right()) <= tolerance &&
                 qAbs(found.bottom() + 1 - expected.bottom()) <= tolerance,
             qPrintable(QString("found %1,%2 %3x%4, expected %5,%6 %7x%8")
                            .arg(found.x())
                            .arg(found.y())
                            .arg(found.width())
                            .arg(found.height())
                            .arg(expected.x())
                            .arg(expected.y())
                            .arg(expected.width())
                            .arg(expected.height())));
    // The right way up: red in the top-left quarter, blue in the bottom right.
    const QPoint quarter(int(expected.width() / 4), int(expected.height() / 4));
    const QColor topLeft = page.pixelColor(expected.topLeft().toPoint() + quarter);
    const QColor bottomRight = page.pixelColor(expected.bottomRight().toPoint() - quarter);
    QVERIFY(topLeft.red() > 200 && topLeft.blue() < 60);
    QVERIFY(bottomRight.blue() > 200 && bottomRight.red() < 60);
}

void TestPrintPdf::unwritableFile_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("message");
    QTest::addRow("folder that does not exist")
        << "manca/tabella.pdf"
        << "Impossibile scrivere il file PDF «%1»: la tabella non è stata stampata.";
    QTest::addRow("named pipe") << "tubo.pdf"
                                << "«%1» non è un file: la tabella non è stata stampata.";
    QTest::addRow("device") << "/dev/null"
                            << "«%1» non è un file: la tabella non è stata stampata.";
}

void TestPrintPdf::unwritableFile() {
    QFETCH(QString, answer);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(mkfifo(QFile::encodeName(dir.filePath("tubo.pdf")).constData(), 0600) == 0);
    const QString path = answer.startsWith('/') ? answer : dir.filePath(answer);

    QtPrinters printers;
    ScriptedFilePicker picker;
    RecordingMessages messages;
    frmPrinter window(tablePicture({320, 200}), printers, picker, messages);
    window.show();
    window.findChild<QMenu*>("mnuTipoStampante")->actions().last()->trigger();
    picker.saveAnswers.enqueue(path);
    QTest::mouseClick(window.findChild<PrintButton*>("cmdPrint"), Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{message.arg(path)});
    QCOMPARE(messages.shown.first().icon, MsgIcon::Exclamation);
    QVERIFY(!QFileInfo::exists(dir.filePath("manca")));
    QVERIFY(window.findChild<PrintButton*>("cmdPrint")->isEnabled());
}

MIRELVA_TEST(TestPrintPdf)
#include "print_pdf.moc"
