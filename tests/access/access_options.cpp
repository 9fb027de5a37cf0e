#include "access/AccessOptions.h"

#include "config/IniEngine.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

// The option file beside cfg.ini: whatever it holds, the program gets usable
// options, and a value out of range goes back to the file clamped.
class TstAccessOptions : public QObject {
    Q_OBJECT
private slots:
    void load_data() {
        QTest::addColumn<QByteArray>("file"); // empty: no file at all
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("acceptance");
        QTest::addColumn<QString>("selectKey");
        QTest::addColumn<QString>("writtenInterval"); // what the file holds afterwards; empty: no file

        QTest::addRow("missing: defaults, no file written") << QByteArray() << "Clic" << 1200 << 0 << "Invio"
                                                            << "";
        QTest::addRow("binary garbage: defaults")
            << QByteArray("\x00\xff\xfe[\x01=\x02\n\x80", 10) << "Clic" << 1200 << 0 << "Invio"
            << "";
        QTest::addRow("values that are not numbers or names: defaults, file left alone")
            << QByteArray("[Accesso]\r\nMetodo=Volare\r\nIntervallo=presto\r\nTempoAccettazione=\r\n")
            << "Clic" << 1200 << 0 << "Invio"
            << "presto";
        QTest::addRow("names matched without regard to case")
            << QByteArray("[accesso]\r\nmetodo=  sosta \r\nIntervallo=800\r\n") << "Sosta" << 800 << 0
            << "Invio"
            << "800";
        QTest::addRow("below range: clamped and saved back")
            << QByteArray("[Accesso]\r\nIntervallo=10\r\nTempoAccettazione=-5\r\n") << "Clic" << 300 << 0
            << "Invio"
            << "300";
        QTest::addRow("above range, even past an int: clamped and saved back")
            << QByteArray("[Accesso]\r\nIntervallo=99999999999999\r\nTempoAccettazione=1001\r\n") << "Clic"
            << 5000 << 1000 << "Invio"
            << "5000";
        QTest::addRow("two switches on one key: the select key moves")
            << QByteArray("[Accesso]\r\nTastoAvanti=Invio\r\nTastoSeleziona=Invio\r\n") << "Clic" << 1200 << 0
            << "Spazio"
            << "1200";
    }
    void load() {
        QFETCH(QByteArray, file);
        QFETCH(QString, method);
        QFETCH(int, interval);
        QFETCH(int, acceptance);
        QFETCH(QString, selectKey);
        QFETCH(QString, writtenInterval);
        QTemporaryDir dir;
        const QString path = AccessOptions::FilePath(dir.path());
        if (!file.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(file);
        }
        const AccessOptions o = AccessOptions::Load(dir.path());
        QCOMPARE(AccessOptions::MethodNames().at(int(o.method)), method);
        QCOMPARE(o.scanIntervalMs, interval);
        QCOMPARE(o.acceptanceMs, acceptance);
        QCOMPARE(AccessOptions::SwitchKeyNames().at(int(o.selectKey)), selectKey);
        const QString written = IniEngine::ReadString(path, "Accesso", "Intervallo", {}, 255);
        QCOMPARE(written, writtenInterval);
        QVERIFY(!QFile::exists(path + QStringLiteral(".nuovo")));
        if (file.isEmpty()) {
            QVERIFY(!QFile::exists(path));
        }
    }

    void saveAndLoadAgain() {
        QTemporaryDir dir;
        AccessOptions o;
        o.method = AccessOptions::Method::StepScan;
        o.order = AccessOptions::Order::Linear;
        o.dwellRepeats = true;
        o.highlightColour = AccessOptions::Colour::Cyan;
        o.stepKey = AccessOptions::SwitchKey::Two;
        o.repeatDelayMs = 750;
        QVERIFY(o.Save(dir.path()));
        QCOMPARE(AccessOptions::Load(dir.path()), o);
    }

    // A folder that cannot be written: the save says so and leaves no file.
    void saveFails() {
        QVERIFY(!AccessOptions().Save(QStringLiteral("/proc/self")));
        QVERIFY(!QFile::exists(AccessOptions::FilePath(QStringLiteral("/proc/self"))));
    }
};

MIRELVA_TEST(TstAccessOptions)
#include "access_options.moc"
