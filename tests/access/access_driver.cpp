#include "access/AccessDriver.h"
#include "access/AccessOptions.h"

#include "fakes/FakeAccessClock.h"
#include "fakes/FakeGridContainer.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestRegistry.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(AccessOptions)

namespace {
using Method = AccessOptions::Method;
using Order = AccessOptions::Order;
using Kind = ScanController::Highlight::Kind;

// The window system counts its own milliseconds: event timestamps are the driver's time plus this.
constexpr quint64 StampBase = 7000000;

// The access driver over a table of rows of 3 keys (6 unless asked) on a fake window, with a
// clock the script moves. Each chosen key's output takes 3 s, with the interface thread busy.
struct Rig {
    explicit Rig(const AccessOptions& options, bool table = true, int keyCount = 6)
        : keys(keyCount), colour(options.colour()) {
        grid = MakeTestGrid(window, (keys + 2) / 3, 3);
        auto c = std::make_unique<FakeAccessClock>();
        clock = c.get();
        driver = std::make_unique<AccessDriver>(
            window, audio,
            AccessDriver::Hooks{[this](int key) { chosen(key); },
                                [this] {
                                    // As the runtime window does: the table comes at once.
                                    trace << QStringLiteral("%1:start").arg(clock->time);
                                    driver->setTable(grid.get(), keys, 3);
                                },
                                [](int) { return QString(); }, [this] { return panel; }},
            std::move(c));
        driver->setOptions(options);
        if (table) {
            window.onShow = [this] { note(mark()); };
            driver->setTable(grid.get(), keys, 3);
            driver->canvasRebuilt();
            note(mark());
        }
    }

    // What the runtime window does with a chosen key.
    void chosen(int key) {
        trace << QStringLiteral("%1:S%2").arg(clock->time).arg(key);
        driver->beforeActivation();
        clock->pass(3000);
        driver->activationDone(key);
    }
    QRect cell(int key) const {
        const GridRect r = grid->CellRect((key - 1) / 3, (key - 1) % 3);
        return QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
    }
    // "K5" a key framed, "R1" a row (from 0), "-" no frame.
    QString mark() const {
        const auto lit = [&](int key, bool right) {
            const QRect c = cell(key);
            return window.image.pixelColor(right ? c.right() : c.left(), c.center().y()) == colour;
        };
        for (int key = 1; key <= keys; ++key) {
            if (lit(key, false) && lit(key, true)) {
                return QStringLiteral("K%1").arg(key);
            }
        }
        for (int row = 0; row * 3 < keys; ++row) {
            if (lit(row * 3 + 1, false) && lit(std::min(row * 3 + 3, keys), true)) {
                return QStringLiteral("R%1").arg(row);
            }
        }
        return QStringLiteral("-");
    }
    void note(const QString& now) {
        if (now != last) {
            trace << QStringLiteral("%1:%2").arg(clock->time).arg(now);
            last = now;
        }
    }
    // A key event that happened at `at` on the driver's clock.
    void key(QEvent::Type type, int code, qint64 at, bool flagged = false) {
        const Qt::KeyboardModifiers modifiers = Qt::KeyboardModifiers(code & Qt::KeyboardModifierMask);
        QKeyEvent event(type, code & ~int(Qt::KeyboardModifierMask), modifiers, QString(), flagged);
        event.setTimestamp(StampBase + quint64(at));
        type == QEvent::KeyPress ? driver->keyDown(event) : driver->keyUp(event);
    }

    // Runs a script of events, each at "@t" on the clock:
    //   KEY+ KEY-      a key goes down, up (space, enter, arrows, m, alt+m, f4, esc); "!" after
    //                  the time is Qt's auto-repeat flag
    //   tap:KEY@t      pressed at t for 10 ms
    //   hold:KEY@t-u   held from t to u; from t + 660 ms X11 repeats it every 40 ms as a
    //                  release and a press of one timestamp, without flags
    //   late:KEY@t-u   pressed at t and released at u, delivered only now (queued while busy)
    //   click@t-u      the mouse button; "u:click" when the driver lets the click through
    //   pick:K@t       key K chosen another way (a click on it)
    //   point:K@t      the pointer moves to key K's centre (panel: the intro's panel; "K>n", "K<n":
    //                  n pixels right or left of key K's right edge)
    //   table:K@t      the table appears while the pointer rests on key K
    //   end@t          time passes
    void run(const QString& script) {
        static const QMap<QString, int> codes = {
            {"space", Qt::Key_Space}, {"enter", Qt::Key_Return},
            {"m", Qt::Key_M},         {"alt+m", Qt::Key_M | Qt::AltModifier},
            {"f4", Qt::Key_F4},       {"esc", Qt::Key_Escape},
            {"up", Qt::Key_Up},       {"down", Qt::Key_Down},
            {"left", Qt::Key_Left},   {"right", Qt::Key_Right}};
        for (const QString& token : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString what = token.section(QLatin1Char('@'), 0, 0);
            const QString when = token.section(QLatin1Char('@'), 1);
            const qint64 t = when.section(QLatin1Char('-'), 0, 0).remove(QLatin1Char('!')).toLongLong();
            const qint64 u = when.section(QLatin1Char('-'), 1).toLongLong();
            const QString name = what.section(QLatin1Char(':'), -1);
            if (what.startsWith(QStringLiteral("late:"))) {
                key(QEvent::KeyPress, codes[name], t);
                key(QEvent::KeyRelease, codes[name], u);
                continue;
            }
            clock->runTo(t);
            if (what.startsWith(QStringLiteral("tap:"))) {
                key(QEvent::KeyPress, codes[name], t);
                clock->runTo(t + 10);
                key(QEvent::KeyRelease, codes[name], t + 10);
            } else if (what.startsWith(QStringLiteral("hold:"))) {
                key(QEvent::KeyPress, codes[name], t);
                for (qint64 r = t + 660; r < u; r += 40) {
                    clock->runTo(r);
                    key(QEvent::KeyRelease, codes[name], r);
                    key(QEvent::KeyPress, codes[name], r);
                }
                clock->runTo(u);
                key(QEvent::KeyRelease, codes[name], u);
            } else if (what == QStringLiteral("click")) {
                driver->mouseDown(StampBase + quint64(t));
                clock->runTo(u);
                if (driver->mouseUp(StampBase + quint64(u))) {
                    trace << QStringLiteral("%1:click").arg(u);
                }
            } else if (what.startsWith(QStringLiteral("pick:"))) {
                chosen(name.toInt());
            } else if (what.startsWith(QStringLiteral("point:")) ||
                       what.startsWith(QStringLiteral("table:"))) {
                const QStringList beside = name.split(QRegularExpression(QStringLiteral("[<>]")));
                const int dx = beside.size() == 1                ? 0
                               : name.contains(QLatin1Char('>')) ? beside[1].toInt()
                                                                 : -beside[1].toInt();
                const QRect c = cell(beside[0].toInt());
                window.pointer = name == QStringLiteral("panel") ? panel.center()
                                 : dx == 0                       ? c.center()
                                                                 : QPoint(c.right() + dx, c.center().y());
                if (what.startsWith(QStringLiteral("table:"))) {
                    driver->setTable(grid.get(), keys, 3);
                } else {
                    driver->mouseMove(window.pointer);
                }
            } else if (what != QStringLiteral("end")) {
                key(what.endsWith(QLatin1Char('+')) ? QEvent::KeyPress : QEvent::KeyRelease,
                    codes[what.chopped(1)], t, when.endsWith(QLatin1Char('!')));
            }
        }
    }

    int keys;
    FakeGridContainer window{1024, 768};
    RecordingAudioOutput audio;
    std::unique_ptr<cGriglia> grid;
    FakeAccessClock* clock = nullptr;
    std::unique_ptr<AccessDriver> driver;
    QColor colour;
    QRect panel{100, 300, 600, 200};
    QStringList trace;
    QString last = QStringLiteral("-");
};

AccessOptions With(Method method, Order order = Order::Linear, int acceptanceMs = 0, int repeatDelayMs = 0) {
    return {.method = method,
            .dwellMs = 1000,
            .scanIntervalMs = 1000,
            .firstItemPercent = 100,
            .scanRounds = 10,
            .order = order,
            .acceptanceMs = acceptanceMs,
            .repeatDelayMs = repeatDelayMs};
}
} // namespace

class TstAccessDriver : public QObject {
    Q_OBJECT
private slots:
    // Each row runs a script (see Rig::run) and lists what the table showed and did: "t:K2" key 2
    // framed, "t:R0" the first row, "t:-" nothing, "t:S3" key 3 chosen (the highlight goes
    // first), "t:start" the table started from the intro screen, "t:click" a click let through.
    // Scans: 6 keys, 1 s per item, the first item no longer.
    void script_data() {
        QTest::addColumn<AccessOptions>("options");
        QTest::addColumn<bool>("table");
        QTest::addColumn<int>("keys");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const AccessOptions& options, bool table, int keys,
                            const QString& script, const QString& expected) {
            QTest::addRow("%s", name) << options << table << keys << script << expected;
        };
        const AccessOptions step = With(Method::StepScan);
        const AccessOptions autoScan = With(Method::AutoScan);
        const AccessOptions dwell = With(Method::Dwell);
        const AccessOptions click = With(Method::Click);

        row("held 2.4 s, X11 repeats without flags: one step at the real release", step, true, 6,
            "hold:space@100-2500 end@3000", "0:K1 2550:K2");
        row("two quick taps of their own: two steps", step, true, 6,
            "space+@100 space-@116 space+@146 space-@162 end@1000", "0:K1 146:K2 212:K3");
        row("auto, rows: a held switch opens the row once, chooses nothing",
            With(Method::AutoScan, Order::RowColumn), true, 6, "hold:space@100-2500 end@2600",
            "0:R0 2550:K1");

        row("a press during a key's output is dropped, not applied to the next item", autoScan, true, 6,
            "space+@2100 space-@2180 end@2230 late:space@3000-3080 end@7000",
            "0:K1 1000:K2 2000:K3 2230:- 2230:S3 5230:K1 6230:K2");
        row("a press after the output counts", autoScan, true, 6,
            "space+@2100 space-@2180 end@2230 space+@5300 space-@5380 end@5500",
            "0:K1 1000:K2 2000:K3 2230:- 2230:S3 5230:K1 5430:- 5430:S1 8430:K1");
        row("step: a switch held through the output counts for nothing", step, true, 6,
            "space+@100 enter+@200 enter-@210 end@300 space-@3500 end@4000", "0:K1 260:- 260:S1 3260:K1");
        AccessOptions twoRounds = With(Method::AutoScan, Order::RowColumn);
        twoRounds.firstItemPercent = 150;
        twoRounds.scanRounds = 2;
        row("step, 5 keys in rows: a short last row, back to the rows after a row's keys",
            With(Method::StepScan, Order::RowColumn), true, 5,
            "tap:space@100 tap:space@200 tap:enter@300 tap:space@400 tap:space@500 tap:space@600 "
            "tap:enter@700 tap:enter@800 end@5000",
            "0:R0 160:R1 260:R0 360:K1 460:K2 560:K3 660:R1 760:K4 860:- 860:S4 3860:R0");
        row("auto: first item 1.5 times as long, stops after 2 rounds, a press starts again", twoRounds, true,
            5, "tap:space@6000 end@7600", "0:R0 1500:R1 2500:R0 4000:R1 5000:- 6060:R0 7510:R1");
        row("auto, 7 keys in rows: the keys of the chosen row, then the row after",
            With(Method::AutoScan, Order::RowColumn), true, 7, "tap:space@100 end@5000",
            "0:R0 160:K1 1110:K2 2110:K3 3110:R1 4110:K7");
        row("auto: the scan waits while a press is held", With(Method::AutoScan, Order::Linear, 200), true, 6,
            "space+@2600 space-@3100 end@4000", "0:K1 1000:K2 2000:K3 3150:- 3150:S3 6150:K1");
        row("arrows, 7 keys: a short last row, the edges hold, the key stays after the output",
            With(Method::Arrows), true, 7,
            "tap:right@100 tap:down@200 tap:down@300 tap:up@400 tap:left@500 tap:left@600 tap:enter@700 "
            "end@5000",
            "0:K1 160:K2 260:K5 360:K7 460:K4 760:- 760:S4 3760:K4");
        QString taps;
        for (qint64 t = 250; t < 6000; t += 700) {
            taps += QStringLiteral("space+@%1 space-@%2 ").arg(t).arg(t + 100);
        }
        QTest::addRow(
            "auto: tremor taps (100 ms every 0.7 s, acceptance 200 ms) neither reset nor hold the items")
            << With(Method::AutoScan, Order::Linear, 200) << true << 6 << taps + QStringLiteral("end@5500")
            << "0:K1 1100:K2 2000:K3 3000:K4 4000:K5 5000:K6";
        row("auto: a key clicked while the switch is held, the scan goes on after its output", autoScan, true,
            6, "space+@500 pick:5@700 space-@1000 end@5800", "0:K1 700:S5 700:- 3700:K1 4700:K2 5700:K3");

        AccessOptions repeating = dwell;
        repeating.dwellRepeats = true;
        row("dwell: resting chooses once, a long rest does not repeat", dwell, true, 6, "point:1@0 end@9000",
            "1000:S1");
        row("dwell: jitter over the key's edge into the gap keeps the dwell", dwell, true, 6,
            "point:1<3@0 point:1>3@500 end@1500", "1000:S1");
        row("dwell: leave and come back chooses again", dwell, true, 6,
            "point:1@0 point:2@4200 point:1@4400 end@9000", "1000:S1 5400:S1");
        row("dwell: a full new dwell repeats when asked for", repeating, true, 6, "point:1@0 end@9000",
            "1000:S1 5000:S1 9000:S1");
        row("dwell: a table appears under a resting pointer", dwell, false, 6, "table:5@0 end@1500",
            "1000:S5");
        row("dwell: key 2, first row, second column", dwell, true, 6, "point:2@0 end@1500", "1000:S2");

        row("click: held shorter than the acceptance time, ignored", With(Method::Click, Order::Linear, 100),
            true, 6, "click@0-50 click@500-650", "650:click");
        row("click: again within the repeat delay, ignored", With(Method::Click, Order::Linear, 0, 500), true,
            6, "click@0-50 click@300-350 click@600-650", "50:click 650:click");

        row("intro: a letter goes on", click, false, 6, "m+@100 m-@150 end@300", "200:start");
        row("intro: the function keys, Esc, Enter and Alt combinations do not", step, false, 6,
            "f4+@100 f4-@150 esc+@200 esc-@250 enter+@300 enter-@350 alt+m+@400 alt+m-@450 end@600", "");
        row("intro: a click goes on", click, false, 6, "click@100-150", "150:start");
        // The panel's centre lies over key 5 of the table that replaces it.
        row("intro: a dwell on the panel goes on; key 5 under the resting pointer waits for a move", dwell,
            false, 6, "point:panel@100 end@4000 point:4@4000 point:5@4100 end@6000", "1100:start 5100:S5");
        row("intro, dwell: a click on the panel goes on, key 5 under the pointer waits too", dwell, false, 6,
            "point:panel@50 click@100-150 end@3000 point:4@3000 end@4500", "150:start 4000:S4");
    }
    void script() {
        QFETCH(AccessOptions, options);
        QFETCH(bool, table);
        QFETCH(int, keys);
        QFETCH(QString, script);
        Rig rig(options, table, keys);
        rig.run(script);
        QTEST(rig.trace.join(QLatin1Char(' ')), "expected");
    }

    // What auditory scanning says for an item.
    void cueText_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("keyText");
        QTest::addColumn<QString>("expected");
        QTest::addRow("the first row is row 1") << int(Kind::Row) << 0 << QString() << "riga 1";
        QTest::addRow("a key without text is said by its number") << int(Kind::Key) << 3 << " "
                                                                  << "tasto 3";
        QTest::addRow("a key with text by its text") << int(Kind::Key) << 3 << "mela"
                                                     << "mela";
    }
    void cueText() {
        QFETCH(int, kind);
        QFETCH(int, index);
        QFETCH(QString, keyText);
        QTEST(AccessDriver::CueText({Kind(kind), index}, keyText), "expected");
    }
};

MIRELVA_TEST(TstAccessDriver)
#include "access_driver.moc"
