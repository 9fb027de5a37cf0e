#include "config/ActiveLayoutPath.h"
#include "fakes/RuntimeHarness.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "runtime/TablePictures.h"

using namespace RuntimeHarness;

// What the settings window changes reaches the table when it closes: the
// active layout named on the intro, and pictures drawn with their proportions.
class TstKeyPictures : public QObject {
    Q_OBJECT
private slots:
    void proportions_data() {
        QTest::addColumn<QString>("option"); // "" none, "file" before the start, "settings" saved while open
        QTest::addColumn<QRgb>("aboveWidePicture");
        QTest::addRow("default: stretched to the square") << "" << Blue;
        QTest::addRow("kept, from the option file") << "file" << White;
        QTest::addRow("kept, saved in the settings window") << "settings" << White;
    }
    void proportions() {
        QFETCH(QString, option);
        Runtime rt;
        const QByteArray keep = "[Accesso]\r\nMantieniProporzioni=1\r\n";
        if (option == "file") {
            QVERIFY(TestSupport::writeFile(rt.program.path("accesso.ini"), keep));
        }
        RuntimeTestProgram::Layout l = Keys(1, false);
        l.pictures << rt.program.writePicture("immagini/larga.bmp", {40, 20}, Qt::blue);
        rt.start(l);
        if (option == "settings") {
            rt.windows.whileOpen = [&](const QString&) {
                QVERIFY(TestSupport::writeFile(rt.program.path("accesso.ini"), keep));
            };
            rt.window->Form_KeyUp('I', 4);
        }
        const GridRect r = rt.cell(1);
        const int side = std::min(r.Right - r.Left, r.Bottom - r.Top);
        const QPoint centre = CentreOf(r);
        QCOMPARE(rt.pixel(centre), Blue);
        QTEST(rt.pixel(centre - QPoint(0, side * 3 / 8)), "aboveWidePicture");
    }

    // A link key carries the mark over its picture's top right corner, on a
    // light, a dark or a missing picture; everything outside the mark is
    // drawn as on a table without links, and a plain key has no mark.
    void linkMark_data() {
        QTest::addColumn<QColor>("colour"); // invalid: the picture is missing
        QTest::addRow("black picture") << QColor(Qt::black);
        QTest::addRow("missing picture") << QColor();
    }
    void linkMark() {
        QFETCH(QColor, colour);
        QImage drawn[2];
        for (const bool link : {false, true}) {
            Runtime rt;
            RuntimeTestProgram::Layout l = Keys(12, false);
            for (int i = 1; i <= 12; ++i) {
                l.pictures << (i == 7 && !colour.isValid()
                                   ? rt.program.path("immagini/manca.bmp")
                                   : rt.program.writePicture(QStringLiteral("immagini/k%1.bmp").arg(i),
                                                             {8, 8}, colour.isValid() ? colour : Qt::white));
            }
            if (link) {
                l.links = QStringList(12);
                l.links[6] = QStringLiteral("<indietro>");
            }
            rt.program.writeCfg(rt.program.writeLayout("layout/prova.ini", l));
            // A missing picture is refused by the table's check: write it only after the start.
            if (!colour.isValid()) {
                rt.program.writePicture("immagini/manca.bmp", {8, 8}, Qt::white);
            }
            rt.open();
            rt.window->Form_KeyPress(13);
            if (!colour.isValid()) {
                QFile::remove(rt.program.path("immagini/manca.bmp"));
                rt.window->Form_Paint();
            }
            QVERIFY(rt.window->TableActive());
            drawn[link] = rt.window->canvas().copy();
        }
        // Key 7 of 12 on 1024 x 768: the square (516, 262) of side 246.
        const QRect mark = LinkMarkArea(QRect(516, 262, 246, 246)).adjusted(-1, -1, 1, 1);
        const QPoint inside = mark.topRight() + QPoint(-6, 6);
        QCOMPARE(drawn[true].pixel(inside), qRgb(255, 140, 0));
        QVERIFY(drawn[false].pixel(inside) != qRgb(255, 140, 0));
        int changed = 0;
        for (int y = 0; y < drawn[0].height(); ++y) {
            for (int x = 0; x < drawn[0].width(); ++x) {
                if (drawn[0].pixel(x, y) != drawn[1].pixel(x, y)) {
                    QVERIFY2(mark.contains(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                    ++changed;
                }
            }
        }
        QVERIFY(changed > mark.width() * mark.height() / 3);
    }

    // A save that makes another layout active shows on the intro at once.
    void activeLayoutAfterSettings() {
        Runtime rt;
        rt.start(Keys(1), false);
        const QString other = rt.program.writeLayout("layout/altro.ini", Keys(2));
        rt.windows.whileOpen = [&](const QString&) { rt.program.writeCfg(other); };
        rt.window->Form_KeyUp('I', 4);
        QCOMPARE(ActiveLayoutPath(), other);
    }
};

MIRELVA_TEST(TstKeyPictures)
#include "key_pictures.moc"
