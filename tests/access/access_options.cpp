#include "access/AccessOptions.h"

#include "fakes/RuntimeHarness.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QtTest>

using namespace RuntimeHarness;

namespace {
const QString OutOfRange = QStringLiteral("[Accesso]\r\nMetodo=Sosta\r\nTempoSosta=99\r\n");

// Notepad's "Unicode": UTF-16 little-endian, with or without its byte-order mark.
QByteArray Utf16(const QString& text, bool mark) {
    return QByteArray(mark ? "\xFF\xFE" : "") +
           QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}
} // namespace

class TstAccessOptions : public QObject {
    Q_OBJECT
private slots:
    // Options files the program must not or cannot write, or read: they are loaded as well as
    // they can be and never changed by a load; a save that cannot be made says why (in the
    // user's terms) and leaves the file as it was and nothing beside it.
    // Rows: the file (a folder in its place: "dir"; none: empty), whether it is write-protected,
    // the folder (empty: a new one), what is loaded ("method dwell"), the message of the load
    // (a part of it), and the reason a save fails (empty: it succeeds).
    void unwritableOrUnreadable_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("loadMessage");
        QTest::addColumn<QString>("saveReason");
        QTest::addRow("write-protected, out of range: read clamped, never rewritten")
            << OutOfRange.toLatin1() << true << QString() << "Sosta 500" << QString()
            << "protetto da scrittura";
        QTest::addRow("UTF-16 with a byte-order mark: reported, replaced by a save")
            << Utf16(OutOfRange, true) << false << QString() << "Clic 1500"
            << "UTF-16" << QString();
        QTest::addRow("UTF-16 without a mark")
            << Utf16(OutOfRange, false) << false << QString() << "Clic 1500"
            << "UTF-16" << QString();
        QTest::addRow("a folder in the file's place")
            << QByteArray("dir") << false << QString() << "Clic 1500" << QString() << "c'è una cartella";
        QTest::addRow("a folder that cannot be written")
            << QByteArray() << false << "/proc/self"
            << "Clic 1500" << QString() << "Accertarsi che la cartella sia scrivibile";
    }
    void unwritableOrUnreadable() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, locked);
        QFETCH(QString, folder);
        QFETCH(QString, loaded);
        QFETCH(QString, loadMessage);
        QFETCH(QString, saveReason);
        QTemporaryDir dir;
        const QString where = folder.isEmpty() ? dir.path() : folder;
        const QString path = AccessOptions::FilePath(where);
        QVERIFY(bytes == "dir" ? QDir().mkpath(path)
                               : bytes.isEmpty() || TestSupport::writeFile(path, bytes));
        QVERIFY(!locked ||
                QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QString message;
        const AccessOptions o = AccessOptions::Load(where, &message);
        QCOMPARE(QStringLiteral("%1 %2").arg(AccessOptions::MethodNames().at(int(o.method))).arg(o.dwellMs),
                 loaded);
        QVERIFY2(loadMessage.isEmpty() ? message.isEmpty()
                                       : message.contains(loadMessage) && message.contains(path),
                 qPrintable(message));
        QCOMPARE(TestSupport::readFile(path), bytes == "dir" ? QByteArray() : bytes);
        QString whyNot;
        QCOMPARE(o.Save(where, &whyNot), saveReason.isEmpty());
        QVERIFY2(whyNot.contains(saveReason) && (saveReason.isEmpty() || whyNot.contains(path)),
                 qPrintable(whyNot));
        QVERIFY(saveReason.isEmpty() ||
                TestSupport::readFile(path) == (bytes == "dir" ? QByteArray() : bytes));
        QVERIFY(!QFile::exists(path + QStringLiteral(".nuovo")));
    }

    // The runtime window tells of an options file it cannot read once, when it starts.
    void unreadableFileReportedOnceAtStart() {
        Runtime rt;
        QVERIFY(
            TestSupport::writeFile(AccessOptions::FilePath(rt.program.folder()), Utf16(OutOfRange, true)));
        rt.start(Keys(2), false);
        rt.window->Form_KeyPress(13);
        rt.window->Form_KeyPress(27);
        QCOMPARE(rt.messages.shown.size(), 1);
        QVERIFY(rt.messages.shown[0].text.contains(QStringLiteral("UTF-16")));
    }
};

MIRELVA_TEST(TstAccessOptions)
#include "access_options.moc"
