#include "access/DwellController.h"

#include "fakes/TestRegistry.h"

#include <QtTest>

// Each row moves the pointer ("x,y,key@t"; key 0 is a gap) over a stepped
// clock of 10 ms and lists when keys were chosen; every chosen key's output
// ends at once. Dwell 1000 ms, jitter radius 8 px.
class TstDwellController : public QObject {
    Q_OBJECT
private slots:
    void dwell_data() {
        QTest::addColumn<bool>("repeats");
        QTest::addColumn<QString>("moves");
        QTest::addColumn<int>("until");
        QTest::addColumn<QString>("expected");

        QTest::addRow("resting chooses once, a long rest does not repeat")
            << false << "100,100,1@0" << 5000 << "1@1000";
        QTest::addRow("jitter within the radius keeps the dwell")
            << false << "100,100,1@0 105,104,1@500 95,97,1@900" << 1500 << "1@1000";
        QTest::addRow("jitter over the key's edge into the gap keeps the dwell")
            << false << "100,100,1@0 106,100,0@500" << 1500 << "1@1000";
        QTest::addRow("moving past the radius to another key starts again")
            << false << "100,100,1@0 300,100,2@600" << 2000 << "2@1600";
        QTest::addRow("leaving into a gap resets the key")
            << false << "100,100,1@0 200,200,0@500 100,100,1@700" << 2000 << "1@1700";
        QTest::addRow("moving within the key beyond the radius keeps the dwell")
            << false << "100,100,1@0 150,100,1@500" << 1500 << "1@1000";
        QTest::addRow("leave and come back chooses again")
            << false << "100,100,1@0 300,100,2@1200 100,100,1@1400" << 3000 << "1@1000 1@2400";
        QTest::addRow("a full new dwell repeats when asked for")
            << true << "100,100,1@0" << 3500 << "1@1000 1@2000 1@3000";
    }
    void dwell() {
        QFETCH(bool, repeats);
        QFETCH(QString, moves);
        QFETCH(int, until);
        QFETCH(QString, expected);
        AccessOptions options;
        options.method = AccessOptions::Method::Dwell;
        options.dwellMs = 1000;
        options.dwellRadius = 8;
        options.dwellRepeats = repeats;
        DwellController dwell(options);
        QStringList pending = moves.split(QLatin1Char(' '));
        QStringList chosen;
        for (qint64 t = 0; t <= until; t += 10) {
            while (!pending.isEmpty() && pending.first().section(QLatin1Char('@'), 1).toLongLong() == t) {
                const QStringList m =
                    pending.takeFirst().section(QLatin1Char('@'), 0, 0).split(QLatin1Char(','));
                dwell.move(QPoint(m[0].toInt(), m[1].toInt()), m[2].toInt(), t);
            }
            QVERIFY(dwell.progress(t) >= 0 && dwell.progress(t) <= 1);
            if (const int key = dwell.tick(t)) {
                chosen << QStringLiteral("%1@%2").arg(key).arg(t);
                QCOMPARE(dwell.tick(t + 5000), 0);
                dwell.activationDone(key, t);
            }
        }
        QCOMPARE(chosen.join(QLatin1Char(' ')), expected);
    }
};

MIRELVA_TEST(TstDwellController)
#include "dwell_controller.moc"
