#include "access/DwellController.h"
#include "access/AccessOptions.h"
#include "access/ScanController.h"

#include "config/IniEngine.h"
#include "fakes/RuntimeHarness.h"
#include "fakes/TestSupport.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

Q_DECLARE_METATYPE(AccessOptions)

using namespace RuntimeHarness;

namespace {
using Method = AccessOptions::Method;
using Order = AccessOptions::Order;
using Switch = ScanController::Switch; // in the order of the script's letters

// Runs a script over a controller (rows of 3 keys) with a clock stepped by 10 ms and returns
// what was highlighted when ("time:R0" a row from 0, "time:K5" a key, "time:-"
// nothing) and chosen ("time:S5"). Script events, each at "@t" (a press held
// 10 ms) or "@t-u" (held from t to u): n (scan or step switch), s (select),
// u d l r (arrows), done (the chosen key's output has ended), end (stop).
QStringList Run(const AccessOptions& options, int keys, const QString& script) {
    ScanController scan(options, keys, 3);
    QStringList trace;
    QString last;
    int chosen = 0;
    const auto note = [&](qint64 t) {
        const ScanController::Highlight h = scan.highlight();
        const QString now = h.kind == ScanController::Highlight::Kind::None
                                ? QStringLiteral("-")
                                : QStringLiteral("RK").at(int(h.kind) - 1) + QString::number(h.index);
        if (now != last) {
            trace << QStringLiteral("%1:%2").arg(t).arg(now);
            last = now;
        }
    };
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
        const qint64 at = event.section(QLatin1Char('@'), 1).section(QLatin1Char('-'), 0, 0).toLongLong();
        const qint64 up =
            event.contains(QLatin1Char('-')) ? event.section(QLatin1Char('-'), 1).toLongLong() : at + 10;
        runTo(at);
        if (name == QStringLiteral("done")) {
            scan.activationDone(chosen, at);
            note(at);
        } else if (name != QStringLiteral("end")) {
            const auto which = Switch(QStringLiteral("nsudlr").indexOf(name));
            scan.switchDown(which, at);
            runTo(up);
            if (const int key = scan.switchUp(which, up)) {
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

class TstAccess : public QObject {
    Q_OBJECT
private slots:
    // The option file beside cfg.ini: whatever it holds, the program gets usable options, and the
    // file stays as the carer wrote it (it may be locked on purpose).
    // Rows: the file (empty: none at all) and what is loaded, as "method interval acceptance
    // select-key", then "->" and the interval the file holds afterwards (nothing: no file).
    void load_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("loaded");
        QTest::addRow("missing: defaults, no file written") << QByteArray() << "Clic 1200 0 Invio -> ";
        QTest::addRow("values that are not numbers or names: defaults, file left alone")
            << QByteArray("[Accesso]\r\nMetodo=Volare\r\nIntervallo=presto\r\nTempoAccettazione=\r\n")
            << "Clic 1200 0 Invio -> presto";
        QTest::addRow("below range: clamped, the file left alone")
            << QByteArray("[Accesso]\r\nIntervallo=10\r\nTempoAccettazione=-5\r\n")
            << "Clic 300 0 Invio -> 10";
        QTest::addRow("above range, even past an int: clamped")
            << QByteArray("[Accesso]\r\nIntervallo=99999999999999\r\nTempoAccettazione=1001\r\n")
            << "Clic 5000 1000 Invio -> 99999999999999";
        QTest::addRow("two switches on one key: the select key moves")
            << QByteArray("[Accesso]\r\nTastoAvanti=Invio\r\nTastoSeleziona=Invio\r\n")
            << "Clic 1200 0 Spazio -> ";
    }
    void load() {
        QFETCH(QByteArray, file);
        QFETCH(QString, loaded);
        QTemporaryDir dir;
        const QString path = AccessOptions::FilePath(dir.path());
        if (!file.isEmpty()) {
            QVERIFY(TestSupport::writeFile(path, file));
        }
        const AccessOptions o = AccessOptions::Load(dir.path());
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 -> %5")
                     .arg(AccessOptions::MethodNames().at(int(o.method)))
                     .arg(o.scanIntervalMs)
                     .arg(o.acceptanceMs)
                     .arg(AccessOptions::SwitchKeyNames().at(int(o.selectKey)),
                          IniEngine::ReadString(path, "Accesso", "Intervallo", {}, 255)),
                 loaded);
        QVERIFY(!QFile::exists(path + QStringLiteral(".nuovo")));
        QCOMPARE(QFile::exists(path), !file.isEmpty());
    }

    void saveAndLoadAgain() {
        QTemporaryDir dir;
        AccessOptions o = With(Method::StepScan, Order::Linear);
        o.dwellRepeats = true;
        o.highlightColour = AccessOptions::Colour::Cyan;
        o.stepKey = AccessOptions::SwitchKey::Two;
        o.repeatDelayMs = 750;
        QVERIFY(o.Save(dir.path()));
        QCOMPARE(AccessOptions::Load(dir.path()), o);
        // A folder that cannot be written: the save says so and leaves no file.
        QVERIFY(!o.Save(QStringLiteral("/proc/self")));
        QVERIFY(!QFile::exists(AccessOptions::FilePath(QStringLiteral("/proc/self"))));
    }

    // The runtime window with step scanning: keys chosen by switches take the click's path (blue
    // frame, sound, forced input), and the highlight leaves the pictures as they were drawn.
    void stepScanThroughForcedInput() {
        Runtime rt;
        RuntimeTestProgram::Layout l = Keys(4);
        l.forced = true;
        l.sequence = {2, 1, 3, 4};
        QVERIFY(With(Method::StepScan, Order::Linear).Save(rt.program.folder()));
        // Enter on the intro screen still starts the table, although Enter selects on it.
        rt.start(l, false);
        QTest::keyClick(rt.window.get(), Qt::Key_Return);
        const QRect inner1(rt.cell(1).Left + 20, rt.cell(1).Top + 20, 200, 200);
        const QImage key1 = rt.window->canvas().copy(inner1);
        QTest::keyClick(rt.window.get(), Qt::Key_Space);
        QCOMPARE(QColor(rt.pixel({rt.cell(2).Left, CentreOf(rt.cell(2)).y()})), QColor(255, 200, 0));
        QCOMPARE(rt.window->canvas().copy(inner1), key1);
        QVERIFY(rt.audio.log.isEmpty());
        // Key 2, the first step, is framed and heard; the scan starts again at key 1, the next
        // step; key 1 again is out of turn: silent, back to the start.
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(rt.window.get(), Qt::Key_Return);
        }
        QCOMPARE(rt.audio.tones(), QStringList({"tone 2000", "tone 1000"}));
        QCOMPARE(rt.window->SequencePos(), qint16(0));
        QTest::keyClick(rt.window.get(), Qt::Key_Escape);
        QVERIFY(!rt.window->TableActive());
        // Alt+O opens the options on both faces; Ctrl+Alt+O does not.
        rt.window->Form_KeyUp('O', 6);
        rt.window->Form_KeyUp('O', 4);
        rt.window->Form_KeyPress(13);
        rt.window->Form_KeyUp('O', 4);
        QCOMPARE(rt.windows.opened, QStringList({"access", "access"}));
    }

    // The intro screen goes on to the table by a click under Clic, by a dwell on its panel under
    // Sosta; Esc then shows it again.
    void introScreenGoesOn_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<QString>("how");
        QTest::addRow("a click") << int(Method::Click) << "click";
        QTest::addRow("a dwell on the panel") << int(Method::Dwell) << "dwell";
    }
    void introScreenGoesOn() {
        QFETCH(int, method);
        QFETCH(QString, how);
        Runtime rt;
        AccessOptions o = With(Method(method));
        o.dwellMs = 500;
        QVERIFY(o.Save(rt.program.folder()));
        rt.start(Keys(2), false);
        rt.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(rt.window.get()));
        const QPoint panel(1024 / 2, 768 / 2);
        if (how == QStringLiteral("click")) {
            QTest::mouseClick(rt.window.get(), Qt::LeftButton, Qt::NoModifier, panel);
        } else {
            QMouseEvent move(QEvent::MouseMove, QPointF(panel), QPointF(rt.window->mapToGlobal(panel)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(rt.window.get(), &move);
        }
        QTRY_VERIFY_WITH_TIMEOUT(rt.window->TableActive(), 3000);
        QTest::keyClick(rt.window.get(), Qt::Key_Escape);
        QVERIFY(!rt.window->TableActive());
        QVERIFY(rt.window->isVisible());
    }

    void script_data() {
        QTest::addColumn<AccessOptions>("options");
        QTest::addColumn<int>("keys");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");

        QTest::addRow("5 keys rows: short last row, back to rows after a row's keys")
            << With(Method::StepScan) << 5 << "n@100 n@200 s@300 n@400 n@500 n@600 s@700 s@800"
            << "0:R0 110:R1 210:R0 310:K1 410:K2 510:K3 610:R1 710:K4 810:S4 810:-";

        QTest::addRow("auto: first item 1.5x, stops after 2 rounds, a press starts again")
            << With(Method::AutoScan) << 5 << "n@6000 end@7600"
            << "0:R0 1500:R1 2500:R0 4000:R1 5000:- 6010:R0 7510:R1";
        QTest::addRow("auto linear: press chooses, output resumes from the start")
            << With(Method::AutoScan, Order::Linear) << 5 << "n@2600 done@4000 end@5600"
            << "0:K1 1500:K2 2500:K3 2610:S3 2610:- 4000:K1 5500:K2";
        QTest::addRow("auto rows: keys of the chosen row, then the row after")
            << With(Method::AutoScan) << 7 << "n@100 end@5000"
            << "0:R0 110:K1 1610:K2 2610:K3 3610:R1 4610:R2";

        AccessOptions accept = With(Method::AutoScan, Order::Linear);
        accept.acceptanceMs = 200;
        QTest::addRow("acceptance: a short press changes no time, the scan waits while a press is held")
            << accept << 5 << "n@2600-2700 n@3800-4100"
            << "0:K1 1500:K2 2500:K3 3500:K4 4100:S4 4100:-";

        QTest::addRow("arrows over 7 keys: short last row, edges hold, stays after output")
            << With(Method::Arrows) << 7 << "r@100 d@200 d@300 u@400 l@500 l@600 s@700 done@800"
            << "0:K1 110:K2 210:K5 310:K7 410:K4 710:S4 710:- 800:K4";
    }
    void script() {
        QFETCH(AccessOptions, options);
        QFETCH(int, keys);
        QFETCH(QString, script);
        QFETCH(QString, expected);
        QCOMPARE(Run(options, keys, script).join(QLatin1Char(' ')), expected);
    }

    // Each row moves the pointer ("x,y,key@t"; key 0 is a gap) over a stepped clock of 10 ms and
    // lists when keys were chosen; every chosen key's output ends at once. Dwell 1000 ms, radius 8 px.
    void dwell_data() {
        QTest::addColumn<bool>("repeats");
        QTest::addColumn<QString>("moves");
        QTest::addColumn<int>("until");
        QTest::addColumn<QString>("expected");

        QTest::addRow("resting chooses once, a long rest does not repeat")
            << false << "100,100,1@0" << 5000 << "1@1000";
        QTest::addRow("jitter over the key's edge into the gap keeps the dwell")
            << false << "100,100,1@0 106,100,0@500" << 1500 << "1@1000";
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
        AccessOptions options = With(Method::Dwell);
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

MIRELVA_TEST(TstAccess)
#include "scan_controller.moc"
