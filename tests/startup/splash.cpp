#include "runtime/ScreenPointer.h"
#include "startup/frmSplash.h"
#include "fakes/TestRegistry.h"

#include <QApplication>
#include <QtTest>

class TstSplash : public QObject {
    Q_OBJECT
private slots:
    void loadFillsLabelsAndShows() {
        frmSplash splash;
        QCOMPARE(splash.ProductName(), QStringLiteral("Prodotto"));
        splash.Form_Load();
        QVERIFY(splash.isVisible());
        QCOMPARE(splash.ProductName(), QStringLiteral("Mirelva"));
        QCOMPARE(splash.Version(), QStringLiteral("Versione 1.0.76"));
        QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(splash.size(), QSize(492, 129));
        splash.Unload();
    }

    void unloadRestoresDefaultPointer_data() {
        QTest::addColumn<bool>("byKey");
        QTest::addRow("unloaded by start-up") << false;
        QTest::addRow("unloaded by a key press") << true;
    }
    void unloadRestoresDefaultPointer() {
        QFETCH(bool, byKey);
        SetScreenMousePointer(PointerShape::Hourglass);
        frmSplash splash;
        splash.Form_Load();
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        if (byKey) {
            QTest::keyClick(&splash, Qt::Key_X);
        } else {
            splash.Unload();
        }
        QVERIFY(!splash.isVisible());
        QCOMPARE(ScreenMousePointer(), PointerShape::Default);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }
};

MIRELVA_TEST(TstSplash)
#include "splash.moc"
