#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "fakes/RuntimeHarness.h"
#include "fakes/TestSupport.h"
#include "pictures/PictureFile.h"
#include "startup/frmSplash.h"
#include "startup/mAvvio.h"
#include "fakes/TestRegistry.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QtTest>

#include <sys/stat.h>

using namespace RuntimeHarness;

namespace {
const QString NotFound = QStringLiteral("Il file che si cerca di caricare non viene trovato.");
const QString NotValid =
    QStringLiteral("Il layout che si cerca di utilizzare non è valido. Crearne uno valido.");
} // namespace

// The runtime window over a test program folder (what a key does, the table as drawn, the keys,
// the start) and its helper for the pictures.
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
        QTest::addRow("text only") << false << true << QStringList{"speech", "end"};
        QTest::addRow("neither: frame only") << false << false << QStringList{};
    }
    void keyOutputOrder() {
        QFETCH(bool, sound);
        QFETCH(bool, text);
        QFETCH(QStringList, expected);
        Runtime rt;
        RuntimeTestProgram::Layout l = Keys(4, sound);
        l.text = text;
        l.texts = QStringList{"uno", "", "tre", ""};
        rt.start(l);
        QRgb frameWhenHeard = 0;
        rt.audio.onEnqueue = [&](const QString&) {
            frameWhenHeard = frameWhenHeard ? frameWhenHeard : rt.framePixel(3);
        };
        rt.clickKey(3);
        QCOMPARE(rt.messages.texts(), QStringList{});
        QCOMPARE(rt.audio.log, expected);
        QCOMPARE(rt.framePixel(3), Blue);
        QCOMPARE(frameWhenHeard, expected.isEmpty() ? 0 : Blue);
    }

    // Without a synthesizer the text's error is shown and the bonus of the completed sequence
    // still plays, after the message; the message box took the frame away.
    void speechErrorIsShownAndActivationGoesOn() {
        Runtime rt;
        RuntimeTestProgram::Layout l = Keys(1);
        l.text = true;
        l.texts = QStringList{"arancia"};
        l.forced = true;
        l.sequence = {1};
        l.bonus = rt.program.writeTone("suoni/bonus.wav", 9000);
        rt.start(l, true, {1024, 768}, QStringLiteral("Name=Nessuna;Language=9999"));
        rt.audio.onEnqueue = [&](const QString& what) {
            if (what == QStringLiteral("tone 9000")) {
                rt.audio.log << QStringLiteral("messages: %1").arg(rt.messages.shown.size());
            }
        };
        rt.clickKey(1);
        QCOMPARE(rt.audio.log, (QStringList{"tone 1000", "end", "tone 9000", "messages: 1", "end"}));
        QCOMPARE(rt.messages.texts(),
                 QStringList{"Variabile oggetto o variabile del blocco With non impostata"});
        QCOMPARE(rt.messages.shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(rt.framePixel(1), White);
    }

    // A click made while a sound plays is handled afterwards, where the pointer is then.
    void clickDuringOutputIsHandledAfterwards() {
        Runtime rt;
        rt.start(Keys(4));
        bool posted = false;
        rt.audio.onDrain = [&] {
            if (std::exchange(posted, true)) {
                return;
            }
            const QPoint at3 = CentreOf(rt.cell(3));
            const QPoint global3 = rt.window->mapToGlobal(at3);
            for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QCoreApplication::postEvent(
                    rt.window.get(),
                    new QMouseEvent(type, at3, global3, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            }
            QCursor::setPos(rt.window->mapToGlobal(CentreOf(rt.cell(2))));
        };
        rt.clickKey(1);
        QCOMPARE(rt.audio.tones(), QStringList{"tone 1000"});
        QCoreApplication::processEvents();
        QCOMPARE(rt.audio.tones(), (QStringList{"tone 1000", "tone 2000"}));
        QCOMPARE(rt.framePixel(2), Blue);
        QVERIFY(rt.framePixel(1) != Blue);
    }

    // Whenever the window is painted afresh (a message box closed over it, the settings, Enter)
    // the frame of the last key is gone, and the next click paints over a frame no longer there.
    void repaintRemovesFrame() {
        Runtime rt;
        rt.start(Keys(4));
        for (const auto& [key, shift] : QList<std::pair<int, int>>{{116, 0}, {'I', 4}, {13, -1}}) {
            rt.clickKey(2);
            QCOMPARE(rt.framePixel(2), Blue);
            shift < 0 ? rt.window->Form_KeyPress(key) : rt.window->Form_KeyUp(key, shift);
            QVERIFY(rt.window->TableActive());
            QCOMPARE(rt.framePixel(2), White);
            rt.clickKey(4);
            QCOMPARE(rt.framePixel(2), White);
        }
        QCOMPARE(rt.messages.texts(), QStringList{NotFound});
    }

    // Esc leaves the table, then ends the program; a key still queued after the close starts nothing.
    void escape() {
        Runtime rt;
        rt.start(Keys(1));
        rt.window->show();
        rt.window->Form_KeyPress(27);
        QVERIFY(!rt.window->TableActive() && rt.window->Grid() == nullptr && rt.window->isVisible());
        rt.window->Form_KeyPress(27);
        QVERIFY(!rt.window->isVisible());
        QCOMPARE(SharedIni().File(), QString());
        rt.window->Form_KeyPress(13);
        QVERIFY(!rt.window->TableActive() && rt.window->Grid() == nullptr);
    }

    // Every picture is stretched into a square centred in its cell and ANDed onto it: white
    // parts leave the dotted frame beneath.
    void picturesInCentredSquare_data() {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("key");
        QTest::addColumn<QRect>("square");
        QTest::addRow("12 keys, 1024x768, key 7") << QSize(1024, 768) << 12 << 7 << QRect(516, 262, 246, 246);
        // The square's top 6 + 127.75 rounds to 134 and its side 501.5 to the even 502.
        QTest::addRow("2 keys, 1024x768, key 1") << QSize(1024, 768) << 2 << 1 << QRect(4, 134, 502, 502);
    }
    void picturesInCentredSquare() {
        QFETCH(QSize, client);
        QFETCH(int, keys);
        QFETCH(int, key);
        QFETCH(QRect, square);
        Runtime rt;
        RuntimeTestProgram::Layout l = Keys(keys, false);
        for (int i = 1; i <= keys; ++i) { // not square: the proportions are not kept
            l.pictures << rt.program.writePicture(QStringLiteral("immagini/k%1.bmp").arg(i), {30, 10},
                                                  i == key ? QColor(200, 40, 10) : Qt::white);
        }
        rt.start(l, true, client);
        const QRgb red = qRgb(200, 40, 10);
        QCOMPARE(rt.pixel(square.center()), red);
        QCOMPARE(rt.pixel({square.left(), square.top() + 3}), red);
        QCOMPARE(rt.pixel({square.right(), square.bottom() - 3}), red);
        QVERIFY(rt.pixel({square.left() - 1, square.center().y()}) != red);
        QVERIFY(rt.pixel({square.right() + 1, square.center().y()}) != red);
        QVERIFY(rt.pixel({square.center().x(), square.top() - 1}) != red);
        const GridRect other = rt.cell(key == 1 ? 2 : 1);
        QCOMPARE(rt.pixel({other.Left + (other.Left + other.Top) % 2, other.Top}), 0xFF000000);
    }

    // A picture that exists but cannot be shown, or is gone by the next paint, leaves its cell
    // empty without a message.
    void unusablePictureLeavesCellEmpty() {
        Runtime rt;
        RuntimeTestProgram::Layout l = Keys(3, false);
        const QString garbage = rt.program.path("immagini/bad.gif");
        QVERIFY(TestSupport::writeFile(garbage, QByteArray(300, 'x')));
        l.pictures = QStringList{garbage, rt.program.writePicture("immagini/gone.bmp", {4, 4}, Qt::red),
                                 rt.program.writePicture("immagini/ok.bmp", {4, 4}, Qt::red)};
        rt.start(l);
        QVERIFY(QFile::remove(l.pictures[1]));
        rt.window->Form_Paint();
        QCOMPARE(rt.messages.texts(), QStringList{});
        QCOMPARE(rt.pixel(CentreOf(rt.cell(1))), White);
        QCOMPARE(rt.pixel(CentreOf(rt.cell(2))), White);
        QCOMPARE(rt.pixel(CentreOf(rt.cell(3))), qRgb(255, 0, 0));
    }

    // Enter with a broken layout shows the reader's messages and goes back to the intro.
    void failedStartShowsIntro() {
        Runtime rt;
        RuntimeTestProgram::Layout l = Keys(1);
        rt.start(l);
        l.tasti = "5";
        rt.program.writeLayout("layout/prova.ini", l);
        rt.window->Form_KeyPress(13);
        QVERIFY(!rt.window->TableActive() && rt.window->Grid() == nullptr);
        QCOMPARE(rt.messages.shown.size(), 2);
        QVERIFY(rt.messages.shown[0].text.startsWith("Il numero dei tasti del layout non è compreso"));
        QCOMPARE(rt.pixel({int(1024 * 0.08) + 2, int(768 * 0.40) + 2}),
                 qRgb(192, 31, 170)); // the intro's box
    }

    // Alt+A and Alt+I on both faces, Alt+P (the window copied to the clipboard) on the table only;
    // other combinations and the function keys do nothing on the intro, other keys on the table.
    void commandKeys() {
        Runtime rt;
        rt.start(Keys(2, false), false);
        rt.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(rt.window.get()));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        const QImage intro = rt.window->canvas().copy();
        for (const Qt::Key key : {Qt::Key_F4, Qt::Key_P}) {
            QTest::keyClick(rt.window.get(), key, key == Qt::Key_P ? Qt::AltModifier : Qt::NoModifier);
        }
        QTest::keyClick(rt.window.get(), Qt::Key_I, Qt::AltModifier | Qt::ControlModifier);
        QTest::keyClick(rt.window.get(), Qt::Key_A, Qt::AltModifier);
        QCOMPARE(rt.window->canvas(), intro);
        QTest::keyClick(rt.window.get(), Qt::Key_Return);
        const QImage table = rt.window->canvas().copy();
        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Tab, Qt::Key_Space, Qt::Key_M}) {
            QTest::keyClick(rt.window.get(), key);
        }
        QCOMPARE(rt.window->canvas(), table);
        rt.window->Form_KeyUp('P', 6);
        rt.window->Form_KeyUp('I', 4);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        rt.window->Form_KeyUp('P', 4);
        QCOMPARE(rt.windows.opened, QStringList({"open", "settings", "print"}));
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(1024, 768));
        QCOMPARE(rt.windows.printed.size(), QSize(1024, 768));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        QCOMPARE(rt.messages.texts(), QStringList{});
    }

    // Ctrl+Shift+M opens the board editor from the intro and from the table
    // and does nothing else; Ctrl+M stays Enter. X11 gives both presses Enter's character.
    void editorGesture_data() {
        QTest::addColumn<bool>("onTable");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("after"); // windows opened, then whether the table is shown
        const int ctrlShift = int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::addRow("Ctrl+Shift+M on the intro") << false << ctrlShift << QString("board intro");
        QTest::addRow("Ctrl+Shift+M on the table") << true << ctrlShift << QString("board table");
        QTest::addRow("Ctrl+M is Enter") << false << int(Qt::ControlModifier) << QString(" table");
    }
    void editorGesture() {
        QFETCH(bool, onTable);
        QFETCH(int, modifiers);
        Runtime rt;
        rt.start(Keys(2, false), onTable);
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, Qt::Key_M, Qt::KeyboardModifiers(modifiers), QStringLiteral("\r"));
            QCoreApplication::sendEvent(rt.window.get(), &event);
        }
        QTEST(rt.windows.opened.join(',') + (rt.window->TableActive() ? " table" : " intro"), "after");
    }

    // F keys, with or without Shift or Ctrl, show the layout named for them and make it the active
    // one; one that is missing or not a layout leaves the table; one that fails the full check
    // goes back to the intro with cfg.ini naming it.
    void functionKeys() {
        Runtime rt;
        RuntimeTestProgram::Layout l = Keys(16, false);
        l.tasti = "7";
        l.functionKeys = QStringList(9);
        l.functionKeys[7] = rt.program.writeLayout("layout/rotto.ini", l);
        l.functionKeys[8] = rt.program.path("layout");
        l.tasti.clear();
        const QString sixteen = rt.program.writeLayout("layout/sedici.ini", l);
        l.keys = 2;
        l.functionKeys[2] = rt.program.path("layout/prova.ini");
        l.functionKeys[3] = sixteen;
        rt.start(l, false);
        rt.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(rt.window.get()));
        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            rt.messages.shown.clear();
            QTest::keyClick(rt.window.get(), key, modifiers);
            return QStringLiteral("%1 %2 %3")
                .arg(rt.messages.texts().join(QLatin1Char('|')).left(34),
                     QFileInfo(rt.program.cfgFileValue()).fileName())
                .arg(rt.window->TableActive() ? rt.window->Grid()->LastCol() + 1 : 0);
        };
        QCOMPARE(press(Qt::Key_F4), QStringLiteral(" prova.ini 0"));
        QTest::keyClick(rt.window.get(), Qt::Key_Return);
        QCOMPARE(press(Qt::Key_F3, Qt::ShiftModifier), QStringLiteral(" prova.ini 2"));
        QCOMPARE(press(Qt::Key_F5), NotFound.left(34) + QStringLiteral(" prova.ini 2"));
        QCOMPARE(press(Qt::Key_F4, Qt::ControlModifier), QStringLiteral(" sedici.ini 4"));
        QCOMPARE(ActiveLayoutPath(), sixteen);
        QCOMPARE(press(Qt::Key_F9), NotValid.left(34) + QStringLiteral(" sedici.ini 4"));
        QCOMPARE(press(Qt::Key_F8), QStringLiteral("Il numero dei tasti del layout non rotto.ini 0"));
        QCOMPARE(rt.messages.shown.size(), 2);
    }

    // Alt+A: the chosen layout is the active one afterwards, and Enter shows it.
    void openLayoutRefreshesActivePath() {
        Runtime rt;
        const QString other = rt.program.writeLayout("layout/sei.ini", Keys(6));
        rt.start(Keys(1), false);
        rt.windows.whileOpen = [&](const QString&) { rt.program.writeCfg(other); };
        rt.window->Form_KeyUp('A', 4);
        QCOMPARE(ActiveLayoutPath(), other);
        rt.window->Form_KeyPress(13);
        QCOMPARE(CellPos(rt.window->Grid()->LastRow(), rt.window->Grid()->LastCol()), CellPos(1, 2));
        // Enter on the table reads the layout again: edits saved meanwhile appear.
        rt.program.writeLayout("layout/sei.ini", Keys(9, false));
        rt.window->Form_KeyPress(13);
        QCOMPARE(CellPos(rt.window->Grid()->LastRow(), rt.window->Grid()->LastCol()), CellPos(2, 2));
    }

    // The entry routine installs when due, then shows the runtime window with the intro, the
    // splash gone and the default pointer back; an installation that cannot write ends the program.
    void startup_data() {
        QTest::addColumn<QString>("cfg");
        QTest::addColumn<bool>("installs");
        QTest::addRow("IsProgramInstalled 0") << "[KeyProgram]\r\nIsProgramInstalled=0\r\n" << true;
        QTest::addRow("no IsProgramInstalled") << "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n" << false;
        QTest::addRow("a file where the picture folder goes") << "immagini" << false;
    }
    void startup() {
        QFETCH(QString, cfg);
        QFETCH(bool, installs);
        Runtime rt;
        SetActiveLayoutPath(QStringLiteral("stale"));
        const QString folder = rt.program.folder();
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        QVERIFY(
            TestSupport::writeFile(folder + (cfg == "immagini" ? "/immagini" : "/cfg.ini"), cfg.toLatin1()));
        const std::unique_ptr<F_GO> window =
            Main(folder, F_GO::Services{rt.messages, rt.picker, rt.audio, rt.windows});
        for (QWidget* w : QApplication::topLevelWidgets()) {
            QVERIFY(qobject_cast<frmSplash*>(w) == nullptr || !w->isVisible());
        }
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(QFile::exists(folder + "/layout/lay12.ini"), installs);
        QCOMPARE(window == nullptr, cfg == "immagini");
        QCOMPARE(rt.messages.shown.size(), window ? 0 : 1);
        if (window) {
            QVERIFY(window->isVisible() && !window->TableActive());
            QCOMPARE(ActiveLayoutPath(), installs ? folder + "/layout/lay1.ini" : QString());
        }
    }

    // A picture is decided by its content and found whatever the letter case of its name; anything
    // else gives no picture, without hanging on a device or reading a huge file.
    void load_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QSize>("size"); // 0 x 0: refused
        QTest::addRow("png named .gif, in other letter case") << "png" << QSize(3, 9);
        QTest::addRow("truncated bmp") << "truncated" << QSize(0, 0);
        QTest::addRow("folder") << "folder" << QSize(0, 0);
        QTest::addRow("fifo without writer") << "fifo" << QSize(0, 0);
        QTest::addRow("/dev/zero") << "devzero" << QSize(0, 0);
        QTest::addRow("sparse file beyond the size limit") << "huge" << QSize(0, 0);
    }
    void load() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("p.gif"));
        QImage image(kind == "png" ? QSize(3, 9) : QSize(64, 64), QImage::Format_RGB32);
        image.fill(Qt::red);
        if (kind == "png") {
            QVERIFY(image.save(dir.filePath(QStringLiteral("P.GIF")), "PNG"));
        } else if (kind == "truncated" || kind == "huge") {
            QVERIFY(image.save(path, "BMP"));
            QVERIFY(QFile::resize(path, kind == "huge" ? MaxPictureFileBytes + 1 : 40));
        } else if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("p.gif")));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "devzero") {
            path = QStringLiteral("/dev/zero");
        }
        QTEST(LoadPictureFile(path).size(), "size");
    }
};

MIRELVA_TEST(TstRuntime)
#include "runtime.moc"
