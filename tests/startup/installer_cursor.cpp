#include "startup/Installer.h"

#include "fakes/TestSupport.h"
#include "fakes/TestRegistry.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

// The installation shows the hourglass while it runs and must give the
// pointer back however it ends.
class TstInstallerCursor : public QObject {
    Q_OBJECT
private slots:
    void pointerRestored_data() {
        QTest::addColumn<bool>("blocked");
        QTest::addRow("installation succeeds") << false;
        QTest::addRow("installation fails") << true;
    }
    void pointerRestored() {
        QFETCH(bool, blocked);
        QTemporaryDir dir;
        if (blocked) {
            QVERIFY(TestSupport::writeFile(dir.filePath("suoni"), "not a folder"));
        }
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(Installer(dir.path()).Install(), !blocked);
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

MIRELVA_TEST(TstInstallerCursor)
#include "installer_cursor.moc"
