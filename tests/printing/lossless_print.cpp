#include "fakes/TestRegistry.h"
#include "platform/QtPrinters.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

// Printed boards are laminated and used for months: the table goes into the
// PDF without loss, so it comes back out pixel for pixel.
class TstLosslessPrint : public QObject {
    Q_OBJECT
private slots:
    void tableComesBackPixelForPixel() {
        // Noise and thin lines: what lossy compression shrinks best and spoils most.
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

        QProcess extract;
        extract.start("pdfimages", {"-png", pdf, dir.filePath("out")});
        QVERIFY(extract.waitForFinished(60000) && extract.exitCode() == 0);
        const QImage back(dir.filePath("out-000.png"));
        QCOMPARE(back.size(), table.size());
        QVERIFY(back.convertToFormat(QImage::Format_RGB32) == table);
    }
};
MIRELVA_TEST(TstLosslessPrint)
#include "lossless_print.moc"
