#include "fakes/FakeGridContainer.h"
#include "grid/cGriglia.h"
#include "fakes/TestRegistry.h"

#include <QGuiApplication>
#include <QtTest>

// Captions need fonts, so this test runs a GUI application (offscreen).
class TstGridCaptions : public QObject {
    Q_OBJECT
private slots:
    void captionSlotsOneToFiveArePrinted_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("printed");
        QTest::addRow("slot 1") << 0 << true;
        QTest::addRow("slot 3 after empty ones") << 2 << true;
        QTest::addRow("slot 5") << 4 << true;
        QTest::addRow("slot 6 is kept, not printed") << 5 << false;
        QTest::addRow("slot 8 is kept, not printed") << 7 << false;
    }
    void captionSlotsOneToFiveArePrinted() {
        QFETCH(int, slot);
        QFETCH(bool, printed);
        FakeGridContainer window(1024, 768);
        cGriglia grid;
        grid.Init(window, 3, 4, false, 1, 0xFFFFFF, 0x808080, 10, 10, false, 0xFFF9F4, 5, 5, true, true, true,
                  false, false);
        grid.CellAt(1, 1)->Captions[static_cast<std::size_t>(slot)].Text = QStringLiteral("Ciao Mirelva");
        grid.Refresh();
        // Cell (1, 1) is (260, 262, 506, 506); nothing else in the table is drawn but white.
        int inked = 0;
        int elsewhere = 0;
        for (int y = 0; y < 768; ++y) {
            for (int x = 0; x < 1024; ++x) {
                if (window.image.pixel(x, y) == qRgb(255, 255, 255)) {
                    continue;
                }
                const bool inCell = x >= 261 && x < 505 && y >= 263 && y < 505;
                (inCell ? inked : elsewhere)++;
            }
        }
        QCOMPARE(inked > 0, printed);
        QCOMPARE(elsewhere, 0);
    }
};

MIRELVA_TEST(TstGridCaptions)
#include "grid_captions.moc"
