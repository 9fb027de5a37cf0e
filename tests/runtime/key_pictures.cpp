#include "config/ActiveLayoutPath.h"
#include "fakes/RuntimeHarness.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

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
        QFETCH(QRgb, aboveWidePicture);
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
        QCOMPARE(rt.pixel(centre - QPoint(0, side * 3 / 8)), aboveWidePicture);
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
