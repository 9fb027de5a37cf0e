#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "fakes/RuntimeHarness.h"
#include "fakes/LoggingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/RuntimeTestProgram.h"
#include "fakes/TestSupport.h"
#include "grid/cGriglia.h"
#include "runtime/F_GO.h"
#include "fakes/TestRegistry.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMouseEvent>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

using namespace RuntimeHarness;

// The table as drawn: pictures in their squares, unusable pictures, the way
// back to the intro, the Alt commands and key numbering.
class TstRuntimeTable : public QObject {
    Q_OBJECT
private slots:
    void init() { ResetSharedIni(); }

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
        // 2 keys, 1024 x 768: cell 0 is (4, 6, 506, 762), inner 501.5 x 757; the square's top
        // 6 + 127.75 rounds to 134 and its side 501.5 to the even 502.
        QTest::addRow("2 keys, 1024x768, key 1") << QSize(1024, 768) << 2 << 1 << QRect(4, 134, 502, 502);
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

MIRELVA_TEST(TstRuntimeTable)
#include "runtime_table.moc"
