#include "access/ScanController.h"

#include "fakes/TestRegistry.h"

#include <QtTest>

Q_DECLARE_METATYPE(AccessOptions)

namespace {
using Method = AccessOptions::Method;
using Order = AccessOptions::Order;
using Switch = ScanController::Switch;

// Runs a script over a controller with a clock stepped by 10 ms and returns
// what was highlighted when ("time:R0" a row from 0, "time:K5" a key, "time:-"
// nothing) and chosen ("time:S5"). Script events, each at "@t" (a press held
// 10 ms) or "@t-u" (held from t to u): n (scan or step switch), s (select),
// u d l r (arrows), done (the chosen key's output has ended), end (stop).
QStringList Run(const AccessOptions& options, int keys, int columns, const QString& script) {
    ScanController scan(options, keys, columns);
    QStringList trace;
    QString last;
    int chosen = 0;
    const auto note = [&](qint64 t) {
        const ScanController::Highlight h = scan.highlight();
        const QString now =
            h.kind == ScanController::Highlight::Kind::Row   ? QStringLiteral("R%1").arg(h.index)
            : h.kind == ScanController::Highlight::Kind::Key ? QStringLiteral("K%1").arg(h.index)
                                                             : QStringLiteral("-");
        if (now != last) {
            trace << QStringLiteral("%1:%2").arg(t).arg(now);
            last = now;
        }
    };
    const QHash<QString, Switch> switches{{"n", Switch::Scan}, {"s", Switch::Select}, {"u", Switch::Up},
                                          {"d", Switch::Down}, {"l", Switch::Left},   {"r", Switch::Right}};
    qint64 t = 0;
    scan.start(0);
    note(0);
    const auto runTo = [&](qint64 until) {
        for (; t < until; t += 10) {
            scan.tick(t);
            note(t);
        }
        t = until;
        scan.tick(t);
        note(t);
    };
    for (const QString& event : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString name = event.section(QLatin1Char('@'), 0, 0);
        const QStringList times = event.section(QLatin1Char('@'), 1).split(QLatin1Char('-'));
        const qint64 at = times.at(0).toLongLong();
        const qint64 up = times.size() > 1 ? times.at(1).toLongLong() : at + 10;
        runTo(at);
        if (name == QStringLiteral("done")) {
            scan.activationDone(chosen, at);
            note(at);
        } else if (name != QStringLiteral("end")) {
            scan.switchDown(switches.value(name), at);
            runTo(up);
            if (const int key = scan.switchUp(switches.value(name), up)) {
                chosen = key;
                trace << QStringLiteral("%1:S%2").arg(up).arg(key);
            }
            note(up);
        }
    }
    return trace;
}

AccessOptions With(Method method, Order order = Order::RowColumn) {
    AccessOptions o;
    o.method = method;
    o.order = order;
    o.scanIntervalMs = 1000;
    o.firstItemPercent = 150;
    o.scanRounds = 2;
    return o;
}
} // namespace

class TstScanController : public QObject {
    Q_OBJECT
private slots:
    void script_data() {
        QTest::addColumn<AccessOptions>("options");
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");

        const AccessOptions step = With(Method::StepScan);
        const AccessOptions stepLinear = With(Method::StepScan, Order::Linear);
        QTest::addRow("1 key: no row step, select chooses it") << step << 1 << 1 << "n@100 s@200"
                                                               << "0:K1 210:S1 210:-";
        QTest::addRow("5 keys linear, wraps after the last")
            << stepLinear << 5 << 3 << "n@100 n@200 n@300 n@400 n@500"
            << "0:K1 110:K2 210:K3 310:K4 410:K5 510:K1";
        QTest::addRow("5 keys rows: short last row, back to rows after a row's keys")
            << step << 5 << 3 << "n@100 n@200 s@300 n@400 n@500 n@600 s@700 s@800"
            << "0:R0 110:R1 210:R0 310:K1 410:K2 510:K3 610:R1 710:K4 810:S4 810:-";
        QTest::addRow("7 keys rows: a row of one key is chosen at once")
            << step << 7 << 3 << "n@100 n@200 s@300"
            << "0:R0 110:R1 210:R2 310:S7 310:-";
        QTest::addRow("21 keys rows of 7: last key, then rows again")
            << step << 21 << 7 << "n@100 n@200 s@300 n@400 n@500 n@600 n@700 n@800 n@900 n@1000"
            << "0:R0 110:R1 210:R2 310:K15 410:K16 510:K17 610:K18 710:K19 810:K20 910:K21 1010:R0";
        QTest::addRow("21 keys linear reaches key 21")
            << stepLinear << 21 << 7
            << "n@0-20 n@30 n@40 n@50 n@60 n@70 n@80 n@90 n@100 n@110 n@120 n@130 n@140 "
               "n@150 n@160 n@170 n@180 n@190 n@200 n@210 s@300"
            << "0:K1 20:K2 40:K3 50:K4 60:K5 70:K6 80:K7 90:K8 100:K9 110:K10 120:K11 130:K12 140:K13 "
               "150:K14 "
               "160:K15 170:K16 180:K17 190:K18 200:K19 210:K20 220:K21 310:S21 310:-";

        const AccessOptions autoScan = With(Method::AutoScan);
        QTest::addRow("auto: first item 1.5x, stops after 2 rounds, a press starts again")
            << autoScan << 5 << 3 << "n@6000 end@7600"
            << "0:R0 1500:R1 2500:R0 4000:R1 5000:- 6010:R0 7510:R1";
        QTest::addRow("auto linear: press chooses, output resumes from the start")
            << With(Method::AutoScan, Order::Linear) << 5 << 3 << "n@2600 done@4000 end@5600"
            << "0:K1 1500:K2 2500:K3 2610:S3 2610:- 4000:K1 5500:K2";
        AccessOptions resume = With(Method::AutoScan, Order::Linear);
        resume.resumeAtSelected = true;
        QTest::addRow("auto linear: resume at the chosen key")
            << resume << 5 << 3 << "n@2600 done@4000 end@5100"
            << "0:K1 1500:K2 2500:K3 2610:S3 2610:- 4000:K3 5000:K4";
        QTest::addRow("auto rows: keys of the chosen row, then the row after")
            << autoScan << 7 << 3 << "n@100 end@5000"
            << "0:R0 110:K1 1610:K2 2610:K3 3610:R1 4610:R2";

        AccessOptions accept = With(Method::AutoScan, Order::Linear);
        accept.acceptanceMs = 200;
        QTest::addRow("acceptance: a short press is ignored, the scan waits while a press is held")
            << accept << 5 << 3 << "n@2600-2700 n@3800-4100"
            << "0:K1 1500:K2 2500:K3 3700:K4 4100:S4 4100:-";
        AccessOptions repeat = stepLinear;
        repeat.repeatDelayMs = 500;
        QTest::addRow("repeat delay: a second press too soon is ignored")
            << repeat << 5 << 3 << "n@100 n@300 n@700"
            << "0:K1 110:K2 710:K3";

        const AccessOptions arrows = With(Method::Arrows);
        QTest::addRow("arrows over 7 keys: short last row, edges hold, stays after output")
            << arrows << 7 << 3 << "r@100 d@200 d@300 u@400 l@500 l@600 s@700 done@800"
            << "0:K1 110:K2 210:K5 310:K7 410:K4 710:S4 710:- 800:K4";
    }
    void script() {
        QFETCH(AccessOptions, options);
        QFETCH(int, keys);
        QFETCH(int, columns);
        QFETCH(QString, script);
        QFETCH(QString, expected);
        QCOMPARE(Run(options, keys, columns, script).join(QLatin1Char(' ')), expected);
    }
};

MIRELVA_TEST(TstScanController)
#include "scan_controller.moc"
