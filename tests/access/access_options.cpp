#include "access/AccessOptions.h"

#include "fakes/RuntimeHarness.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QtTest>

using namespace RuntimeHarness;

namespace {
const QString OutOfRange = QStringLiteral("[Accesso]\r\nMetodo=Sosta\r\nTempoSosta=99\r\n");

// Notepad's "Unicode": UTF-16 little-endian after a byte-order mark.
QByteArray Utf16(const QString& text) {
    return "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}
} // namespace

class TstAccessOptions : public QObject {
    Q_OBJECT
private slots:
    // The options file beside cfg.ini: whatever it holds, the program gets usable options, and a
    // load never changes the file (the carer may have locked it on purpose). A save writes every
    // option to be read back the same, or says why it cannot (in the user's terms) and leaves the
    // file as it was, with nothing beside it.
    // Rows: the file (a folder in its place: "dir"; none: empty), whether it is write-protected,
    // the folder (empty: a new one), what is loaded ("method interval acceptance select-key
    // dwell"), a part of the load's message, and of the reason a save fails (empty: it succeeds).
    void file_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("loadMessage");
        QTest::addColumn<QString>("saveReason");
        const QString none;
        const QString defaults = QStringLiteral("Clic 1200 0 Invio 1500");
        QTest::addRow("missing: defaults") << QByteArray() << false << none << defaults << none << none;
        QTest::addRow("values that are not numbers or names: defaults")
            << QByteArray("[Accesso]\r\nMetodo=Volare\r\nIntervallo=presto\r\nTempoAccettazione=\r\n")
            << false << none << defaults << none << none;
        QTest::addRow("below range: clamped")
            << QByteArray("[Accesso]\r\nIntervallo=10\r\nTempoAccettazione=-5\r\n") << false << none
            << "Clic 300 0 Invio 1500" << none << none;
        QTest::addRow("above range, even past an int: clamped")
            << QByteArray("[Accesso]\r\nIntervallo=99999999999999\r\nTempoAccettazione=1001\r\n") << false
            << none << "Clic 5000 1000 Invio 1500" << none << none;
        QTest::addRow("two switches on one key: the select key moves")
            << QByteArray("[Accesso]\r\nTastoAvanti=Invio\r\nTastoSeleziona=Invio\r\n") << false << none
            << "Clic 1200 0 Spazio 1500" << none << none;
        QTest::addRow("every kind of option, names in any case")
            << QByteArray("[Accesso]\r\nMetodo=scansione a passi, due sensori\r\nOrdine=Lineare\r\n"
                          "SostaRipetuta=1\r\nColoreEvidenziatore=CIANO\r\nTastoAvanti=2\r\n"
                          "RitardoRipetizione=750\r\n")
            << false << none << "Scansione a passi, due sensori 1200 0 Invio 1500" << none << none;
        QTest::addRow("write-protected, out of range: read clamped, never rewritten")
            << OutOfRange.toLatin1() << true << none << "Sosta 1200 0 Invio 500" << none
            << "protetto da scrittura";
        QTest::addRow("UTF-16: reported, replaced by a save")
            << Utf16(OutOfRange) << false << none << defaults << "UTF-16" << none;
        QTest::addRow("a folder in the file's place")
            << QByteArray("dir") << false << none << defaults << none << "c'è una cartella";
        QTest::addRow("a folder that cannot be written")
            << QByteArray() << false << "/proc/self" << defaults << none
            << "Accertarsi che la cartella sia scrivibile";
    }
    void file() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, locked);
        QFETCH(QString, folder);
        QFETCH(QString, loadMessage);
        QFETCH(QString, saveReason);
        QTemporaryDir dir;
        const QString where = folder.isEmpty() ? dir.path() : folder;
        const QString path = AccessOptions::FilePath(where);
        const QByteArray kept = bytes == "dir" ? QByteArray() : bytes;
        QVERIFY(bytes == "dir" ? QDir().mkpath(path)
                               : bytes.isEmpty() || TestSupport::writeFile(path, bytes));
        QVERIFY(!locked ||
                QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QString message;
        const AccessOptions o = AccessOptions::Load(where, &message);
        QTEST(QStringLiteral("%1 %2 %3 %4 %5")
                  .arg(AccessOptions::MethodNames().at(int(o.method)))
                  .arg(o.scanIntervalMs)
                  .arg(o.acceptanceMs)
                  .arg(AccessOptions::SwitchKeyNames().at(int(o.selectKey)))
                  .arg(o.dwellMs),
              "loaded");
        QVERIFY2(loadMessage.isEmpty() ? message.isEmpty()
                                       : message.contains(loadMessage) && message.contains(path),
                 qPrintable(message));
        QCOMPARE(TestSupport::readFile(path), kept);
        const Outcome saved = o.Save(where);
        QCOMPARE(saved.ok(), saveReason.isEmpty());
        QVERIFY2(saved.message().contains(saveReason) &&
                     (saveReason.isEmpty() || saved.message().contains(path)),
                 qPrintable(saved.message()));
        QVERIFY2(saved.ok() || saved.detail().contains(path), qPrintable(saved.detail()));
        QVERIFY(saveReason.isEmpty() ? AccessOptions::Load(where) == o : TestSupport::readFile(path) == kept);
        QVERIFY(!QFile::exists(path + QStringLiteral(".nuovo")));
    }

    // The runtime window tells of an options file it cannot read once, when it starts.
    void unreadableFileReportedOnceAtStart() {
        Runtime rt;
        QVERIFY(TestSupport::writeFile(AccessOptions::FilePath(rt.program.folder()), Utf16(OutOfRange)));
        rt.start(Keys(2), false);
        rt.window->Form_KeyPress(13);
        QVERIFY(rt.messages.shown.size() == 1 &&
                rt.messages.shown[0].text.contains(QStringLiteral("UTF-16")));
    }
};

MIRELVA_TEST(TstAccessOptions)
#include "access_options.moc"
