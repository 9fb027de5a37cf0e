#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "fakes/LoggingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/RuntimeTestProgram.h"
#include "fakes/TestSupport.h"
#include "grid/cGriglia.h"
#include "runtime/F_GO.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMouseEvent>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

namespace {
constexpr QRgb Blue = 0xFF0000FF;
constexpr QRgb White = 0xFFFFFFFF;

QPoint CentreOf(const GridRect& r) {
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

// A runtime window over a test program folder, with recording fakes.
struct Runtime {
    RuntimeTestProgram program;
    RecordingMessages messages;
    NullFilePicker picker;
    LoggingAudioOutput audio;
    RecordingRuntimeWindows windows;
    std::unique_ptr<F_GO> window;

    void open(QSize size = {1024, 768}) {
        window = std::make_unique<F_GO>(program.folder(), F_GO::Services{messages, picker, audio, windows});
        window->resize(size);
    }
    GridRect cell(int key) const {
        const cGriglia* g = window->Grid();
        const int columns = g->LastCol() + 1;
        return g->CellRect((key - 1) / columns, (key - 1) % columns);
    }
    void clickAt(QPoint p) {
        QCursor::setPos(window->mapToGlobal(p));
        QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, p);
    }
    void clickKey(int key) { clickAt(CentreOf(cell(key))); }
    QRgb pixel(QPoint p) { return window->canvas().pixel(p); }
    // A pixel of the blue frame: on the left edge of the cell, half way down.
    QRgb framePixel(int key) {
        const GridRect r = cell(key);
        return pixel({r.Left + 1, (r.Top + r.Bottom) / 2});
    }
};
} // namespace

class TstRuntime : public QObject {
    Q_OBJECT
private slots:
    void init() { ResetSharedIni(); }

    // The frame moves first, then the sound is heard to its end, then the text.
    void keyOutputOrder_data() {
        QTest::addColumn<bool>("sound");
        QTest::addColumn<bool>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("sound and text") << true << true << QStringList{"tone 3000", "end", "speech", "end"};
        QTest::addRow("sound only") << true << false << QStringList{"tone 3000", "end"};
        QTest::addRow("text only") << false << true << QStringList{"speech", "end"};
        QTest::addRow("neither: frame only") << false << false << QStringList{};
    }
    void keyOutputOrder() {
        QFETCH(bool, sound);
        QFETCH(bool, text);
        QFETCH(QStringList, expected);
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        l.sound = sound;
        l.text = text;
        l.texts = QStringList{"uno", "due", "tre", "quattro"};
        rt.program.writeCfg(rt.program.writeLayout("layout/quattro.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        QVERIFY(rt.window->TableActive());
        QCOMPARE(rt.messages.texts(), QStringList{});

        QRgb frameWhenHeard = 0;
        rt.audio.onEnqueue = [&](const QString&) {
            if (frameWhenHeard == 0) {
                frameWhenHeard = rt.framePixel(3);
            }
        };
        rt.clickKey(3);
        QCOMPARE(rt.messages.texts(), QStringList{});
        QCOMPARE(rt.audio.log, expected);
        QCOMPARE(rt.framePixel(3), Blue);
        if (!expected.isEmpty()) {
            QCOMPARE(frameWhenHeard, Blue);
        }
        QCOMPARE(rt.window->Grid()->CurrentRow(), 1);
        QCOMPARE(rt.window->Grid()->CurrentCol(), 0);
    }

    // Clicking another key moves the frame; clicking in a gap does nothing.
    void frameMoves_data() {
        QTest::addColumn<QList<QPoint>>("clicks");
        QTest::addColumn<QList<int>>("framedKeys");
        QTest::addColumn<QStringList>("tones");
        QTest::addRow("two keys") << QList<QPoint>{{200, 200}, {700, 500}} << QList<int>{4}
                                  << QStringList{"tone 1000", "tone 4000"};
        QTest::addRow("same key twice plays twice") << QList<QPoint>{{200, 200}, {201, 201}} << QList<int>{1}
                                                    << QStringList{"tone 1000", "tone 1000"};
        QTest::addRow("gap between keys")
            << QList<QPoint>{{200, 200}, {511, 200}} << QList<int>{1} << QStringList{"tone 1000"};
    }
    void frameMoves() {
        QFETCH(QList<QPoint>, clicks);
        QFETCH(QList<int>, framedKeys);
        QFETCH(QStringList, tones);
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        rt.program.writeCfg(rt.program.writeLayout("layout/quattro.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        for (const QPoint& p : clicks) {
            rt.clickAt(p);
        }
        QCOMPARE(rt.audio.tones(), tones);
        for (int key = 1; key <= 4; ++key) {
            QCOMPARE(rt.framePixel(key) == Blue, framedKeys.contains(key));
        }
    }

    // The worked example of the forced sequence 2, 4, 1, 3 on four keys.
    void forcedInputWorkedExample() {
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        l.forced = true;
        l.sequence = {2, 4, 1, 3};
        l.bonus = rt.program.writeTone("suoni/bonus.wav", 9000);
        rt.program.writeCfg(rt.program.writeLayout("layout/sequenza.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        QVERIFY(rt.window->TableActive());

        const QList<int> choices{2, 4, 3, 2, 4, 1, 3, 2, 2};
        const QList<QStringList> heard{{"tone 2000"},
                                       {"tone 4000"},
                                       {},
                                       {"tone 2000"},
                                       {"tone 4000"},
                                       {"tone 1000"},
                                       {"tone 3000", "tone 9000"},
                                       {},
                                       {"tone 2000"}};
        const QList<int> positions{1, 2, 0, 1, 2, 3, 4, 0, 1};
        for (int i = 0; i < choices.size(); ++i) {
            rt.audio.log.clear();
            rt.clickKey(choices[i]);
            QCOMPARE(rt.audio.tones(), heard[i]);
            QCOMPARE(rt.window->SequencePos(), qint16(positions[i]));
            // The frame follows every click, right or wrong.
            QCOMPARE(rt.framePixel(choices[i]), Blue);
        }
    }

    // A click made while a sound plays is handled afterwards, where the pointer is then.
    void clickDuringOutputIsHandledAfterwards() {
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        rt.program.writeCfg(rt.program.writeLayout("layout/quattro.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        bool posted = false;
        rt.audio.onDrain = [&] {
            if (posted) {
                return;
            }
            posted = true;
            // The user clicks key 3 and then moves the pointer over key 2 before the sound ends.
            const QPoint at3 = CentreOf(rt.cell(3));
            const QPoint global3 = rt.window->mapToGlobal(at3);
            QCoreApplication::postEvent(rt.window.get(),
                                        new QMouseEvent(QEvent::MouseButtonPress, at3, global3,
                                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(rt.window.get(),
                                        new QMouseEvent(QEvent::MouseButtonRelease, at3, global3,
                                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            QCursor::setPos(rt.window->mapToGlobal(CentreOf(rt.cell(2))));
            QCOMPARE(rt.audio.tones(), QStringList{"tone 1000"});
        };
        rt.clickKey(1);
        QCOMPARE(rt.audio.tones(), QStringList{"tone 1000"});
        QCoreApplication::processEvents();
        QCOMPARE(rt.audio.tones(), (QStringList{"tone 1000", "tone 2000"}));
        QCOMPARE(rt.framePixel(2), Blue);
        QVERIFY(rt.framePixel(1) != Blue);
    }

    // Whenever the window is painted afresh, the frame of the last key is gone.
    void repaintRemovesFrame_data() {
        QTest::addColumn<QString>("cause");
        QTest::addRow("message box closed over the table") << "message";
        QTest::addRow("settings window closed") << "settings";
        QTest::addRow("open-layout dialog closed") << "open";
        QTest::addRow("print preview closed") << "print";
        QTest::addRow("Enter reloads the table") << "enter";
    }
    void repaintRemovesFrame() {
        QFETCH(QString, cause);
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        rt.program.writeCfg(rt.program.writeLayout("layout/quattro.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        rt.clickKey(2);
        QCOMPARE(rt.framePixel(2), Blue);
        if (cause == "message") {
            rt.window->Form_KeyUp(116, 0); // F5, bound to nothing
            QCOMPARE(rt.messages.texts(), QStringList{"Il file che si cerca di caricare non viene trovato."});
        } else if (cause == "settings") {
            rt.window->Form_KeyUp('I', 4);
        } else if (cause == "open") {
            rt.window->Form_KeyUp('A', 4);
        } else if (cause == "print") {
            rt.window->Form_KeyUp('P', 4);
        } else {
            rt.window->Form_KeyPress(13);
        }
        QVERIFY(rt.window->TableActive());
        QCOMPARE(rt.framePixel(2), White);
        // The next click paints white over a frame that is no longer there.
        rt.clickKey(4);
        QCOMPARE(rt.framePixel(4), Blue);
        QCOMPARE(rt.framePixel(2), White);
    }

    // The picture of every key is stretched into a centred square and ANDed onto the cell.
    void picturesInCentredSquare_data() {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("key");
        QTest::addColumn<QRect>("square");
        // 1280 x 1024, 4 keys: cell 0 is (4, 6, 634, 508), inner 629.5 x 501.5, side 502.
        QTest::addRow("4 keys, 1280x1024, key 1") << QSize(1280, 1024) << 4 << 1 << QRect(68, 6, 502, 502);
        QTest::addRow("4 keys, 1280x1024, key 4") << QSize(1280, 1024) << 4 << 4 << QRect(708, 518, 502, 502);
        // 1024 x 768, 12 keys: cell (1, 2) is (516, 262, 762, 506), inner 245.75 x 245.67.
        QTest::addRow("12 keys, 1024x768, key 7") << QSize(1024, 768) << 12 << 7 << QRect(516, 262, 246, 246);
        // One key fills the window less the spacings.
        QTest::addRow("1 key, 1024x768") << QSize(1024, 768) << 1 << 1 << QRect(132, 6, 757, 757);
    }
    void picturesInCentredSquare() {
        QFETCH(QSize, client);
        QFETCH(int, keys);
        QFETCH(int, key);
        QFETCH(QRect, square);
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = keys;
        l.sound = false;
        for (int i = 1; i <= keys; ++i) {
            // Not square: the proportions are not kept.
            l.pictures << rt.program.writePicture(QStringLiteral("immagini/k%1.bmp").arg(i), {30, 10},
                                                  i == key ? QColor(200, 40, 10) : Qt::white);
        }
        rt.program.writeCfg(rt.program.writeLayout("layout/p.ini", l));
        rt.open(client);
        rt.window->Form_KeyPress(13);
        QVERIFY(rt.window->TableActive());
        const QRgb red = qRgb(200, 40, 10);
        const QImage& canvas = rt.window->canvas();
        QCOMPARE(canvas.pixel(square.center()), red);
        QCOMPARE(canvas.pixel(square.left(), square.top() + 3), red);
        QCOMPARE(canvas.pixel(square.right(), square.bottom() - 3), red);
        QVERIFY(canvas.pixel(square.left() - 1, square.center().y()) != red);
        QVERIFY(canvas.pixel(square.right() + 1, square.center().y()) != red);
        if (square.top() > rt.cell(key).Top) {
            QVERIFY(canvas.pixel(square.center().x(), square.top() - 1) != red);
        }
    }

    // White parts of a picture leave what is beneath: the cell's dotted frame stays.
    void whitePictureKeepsDottedFrame() {
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 4;
        l.sound = false;
        rt.program.writeCfg(rt.program.writeLayout("layout/w.ini", l));
        rt.open({1280, 1024});
        rt.window->Form_KeyPress(13);
        // The square of key 1 covers the cell's top row, where the dotted frame runs.
        const QImage& canvas = rt.window->canvas();
        int dark = 0;
        for (int x = 68; x < 68 + 502; ++x) {
            dark += canvas.pixel(x, 6) == 0xFF000000 ? 1 : 0;
        }
        QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
    }

    // A picture that exists but cannot be shown leaves its cell empty; the table still shows.
    void unusablePictureLeavesCellEmpty_data() {
        QTest::addColumn<QString>("kind");
        QTest::addRow("garbage") << "garbage";
        QTest::addRow("folder") << "folder";
        QTest::addRow("fifo") << "fifo";
        QTest::addRow("/dev/zero") << "devzero";
        QTest::addRow("deleted after loading") << "deleted";
    }
    void unusablePictureLeavesCellEmpty() {
        QFETCH(QString, kind);
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = 2;
        l.sound = false;
        QString bad = rt.program.path("immagini/bad.gif");
        if (kind == "garbage") {
            QVERIFY(TestSupport::writeFile(bad, QByteArray(300, 'x')));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(bad));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
        } else if (kind == "devzero") {
            bad = QStringLiteral("/dev/zero");
        } else {
            bad = rt.program.writePicture("immagini/bad.bmp", {4, 4}, Qt::red);
        }
        l.pictures = QStringList{bad, rt.program.writePicture("immagini/ok.bmp", {4, 4}, Qt::red)};
        rt.program.writeCfg(rt.program.writeLayout("layout/bad.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        QCOMPARE(rt.messages.texts(), QStringList{});
        QVERIFY(rt.window->TableActive());
        if (kind == "deleted") {
            QVERIFY(QFile::remove(bad));
            rt.window->Form_Paint();
        }
        QCOMPARE(rt.pixel(CentreOf(rt.cell(1))), White);
        QCOMPARE(rt.pixel(CentreOf(rt.cell(2))), qRgb(255, 0, 0));
    }

    // Esc leaves the table, then ends the program.
    void escape() {
        Runtime rt;
        RuntimeTestProgram::Layout l;
        rt.program.writeCfg(rt.program.writeLayout("layout/uno.ini", l));
        rt.open();
        rt.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(rt.window.get()));
        QTest::keyClick(rt.window.get(), Qt::Key_Return);
        QVERIFY(rt.window->TableActive());
        QTest::keyClick(rt.window.get(), Qt::Key_Escape);
        QVERIFY(!rt.window->TableActive());
        QVERIFY(rt.window->Grid() == nullptr);
        QVERIFY(rt.window->isVisible());
        QTest::keyClick(rt.window.get(), Qt::Key_Escape);
        QVERIFY(!rt.window->isVisible());
        // The unload released the shared settings object.
        QCOMPARE(SharedIni().File(), QString());
    }

    // Enter with a broken layout shows the reader's messages and stays on (or goes back to) the intro.
    void failedStartShowsIntro_data() {
        QTest::addColumn<bool>("tableFirst");
        QTest::addRow("from the intro") << false;
        QTest::addRow("from a table") << true;
    }
    void failedStartShowsIntro() {
        QFETCH(bool, tableFirst);
        Runtime rt;
        RuntimeTestProgram::Layout l;
        const QString layout = rt.program.writeLayout("layout/uno.ini", l);
        rt.program.writeCfg(layout);
        rt.open();
        if (tableFirst) {
            rt.window->Form_KeyPress(13);
            QVERIFY(rt.window->TableActive());
        }
        l.tasti = "5";
        rt.program.writeLayout("layout/uno.ini", l);
        rt.window->Form_KeyPress(13);
        QVERIFY(!rt.window->TableActive());
        QVERIFY(rt.window->Grid() == nullptr);
        QCOMPARE(rt.messages.shown.size(), 2);
        QVERIFY(rt.messages.shown[0].text.startsWith("Il numero dei tasti del layout non è compreso"));
        // The intro is on the canvas: its purple box border.
        QCOMPARE(rt.pixel({int(1024 * 0.08) + 2, int(768 * 0.40) + 2}), qRgb(192, 31, 170));
    }

    // Alt commands: A and I on both faces, P on the table only; Alt alone.
    void altCommands_data() {
        QTest::addColumn<bool>("table");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("shift");
        QTest::addColumn<QStringList>("opened");
        QTest::addRow("Alt+A on the intro") << false << int('A') << 4 << QStringList{"open"};
        QTest::addRow("Alt+I on the intro") << false << int('I') << 4 << QStringList{"settings"};
        QTest::addRow("Alt+P on the intro") << false << int('P') << 4 << QStringList{};
        QTest::addRow("Alt+A on the table") << true << int('A') << 4 << QStringList{"open"};
        QTest::addRow("Alt+I on the table") << true << int('I') << 4 << QStringList{"settings"};
        QTest::addRow("Alt+P on the table") << true << int('P') << 4 << QStringList{"print"};
        QTest::addRow("Ctrl+Alt+P") << true << int('P') << 6 << QStringList{};
        QTest::addRow("Shift+Alt+A") << false << int('A') << 5 << QStringList{};
        QTest::addRow("A alone") << false << int('A') << 0 << QStringList{};
        QTest::addRow("Alt+B") << true << int('B') << 4 << QStringList{};
    }
    void altCommands() {
        QFETCH(bool, table);
        QFETCH(int, key);
        QFETCH(int, shift);
        QFETCH(QStringList, opened);
        Runtime rt;
        rt.program.writeCfg(rt.program.writeLayout("layout/uno.ini", RuntimeTestProgram::Layout{}));
        rt.open();
        if (table) {
            rt.window->Form_KeyPress(13);
        }
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        rt.window->Form_KeyUp(key, shift);
        QCOMPARE(rt.windows.opened, opened);
        QCOMPARE(rt.window->TableActive(), table);
        if (opened == QStringList{"print"}) {
            // The clipboard holds the picture of the window; what it held before is gone.
            QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(1024, 768));
            QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        }
    }

    // Alt+A: the chosen layout's name is on the intro afterwards, and Enter shows it.
    void openLayoutRefreshesActivePath() {
        Runtime rt;
        rt.program.writeCfg(rt.program.writeLayout("layout/uno.ini", RuntimeTestProgram::Layout{}));
        RuntimeTestProgram::Layout other;
        other.keys = 6;
        const QString otherPath = rt.program.writeLayout("layout/sei.ini", other);
        rt.open();
        QCOMPARE(ActiveLayoutPath(), rt.program.path("layout/uno.ini"));
        rt.windows.whileOpen = [&](const QString&) { rt.program.writeCfg(otherPath); };
        rt.window->Form_KeyUp('A', 4);
        QCOMPARE(ActiveLayoutPath(), otherPath);
        rt.window->Form_KeyPress(13);
        QCOMPARE(rt.window->Grid()->LastCol(), 2);
        QCOMPARE(rt.window->Grid()->LastRow(), 1);
    }

    void keyIndex_data() {
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("index");
        QTest::addRow("14 keys, row 1 col 3") << 14 << 1 << 3 << 11;
        QTest::addRow("21 keys, last") << 21 << 2 << 6 << 21;
        QTest::addRow("16 keys, row 2 col 0") << 16 << 2 << 0 << 9;
        QTest::addRow("3 keys, col 2") << 3 << 0 << 2 << 3;
        QTest::addRow("10 keys, row 1 col 4") << 10 << 1 << 4 << 10;
    }
    void keyIndex() {
        QFETCH(int, keys);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, index);
        Runtime rt;
        RuntimeTestProgram::Layout l;
        l.keys = keys;
        l.sound = false;
        rt.program.writeCfg(rt.program.writeLayout("layout/k.ini", l));
        rt.open();
        rt.window->Form_KeyPress(13);
        QCOMPARE(rt.window->KeyIndex(row, col), index);
    }
};

QTEST_MAIN(TstRuntime)
#include "tst_runtime.moc"
