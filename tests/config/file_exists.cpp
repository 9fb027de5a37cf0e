#include "config/FileExists.h"
#include "fakes/TestSupport.h"
#include "fakes/TestRegistry.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TstFileExists : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::writeFile(m_dir.filePath("immagini/arancia.gif"), "GIF89a"));
        QVERIFY(TestSupport::writeFile(m_dir.filePath("immagini/Banana.GIF"), "GIF89a"));
        QVERIFY(TestSupport::writeFile(m_dir.filePath("suoni/1.wav"), "RIFF"));
        QVERIFY(TestSupport::writeFile(m_dir.filePath("Layout/lay1.ini"), "[KeyProgram]\r\n"));
        QVERIFY(QDir().mkpath(m_dir.filePath("vuota")));
        QCOMPARE(QProcess::execute("mkfifo", {m_dir.filePath("suoni/coda")}), 0);
    }

    void exists_data() {
        QTest::addColumn<QString>("relative"); // "" for the empty path; "/..." taken as it is
        QTest::addColumn<bool>("expected");
        QTest::addRow("exact name") << "immagini/arancia.gif" << true;
        QTest::addRow("capital where the disk has none") << "immagini/Arancia.gif" << true;
        QTest::addRow("all upper case") << "IMMAGINI/ARANCIA.GIF" << true;
        QTest::addRow("lower case where the disk has capitals") << "immagini/banana.gif" << true;
        QTest::addRow("folder in other case") << "layout/LAY1.ini" << true;
        QTest::addRow("folder") << "vuota" << true;
        QTest::addRow("folder with trailing slash") << "immagini/" << true;
        QTest::addRow("FIFO") << "suoni/coda" << true;
        QTest::addRow("missing file") << "immagini/pera.gif" << false;
        QTest::addRow("missing folder") << "suonerie/1.wav" << false;
        QTest::addRow("file used as a folder") << "suoni/1.wav/x" << false;
        QTest::addRow("star pattern") << "immagini/*.gif" << true;
        QTest::addRow("star pattern in other case") << "IMMAGINI/BAN*" << true;
        QTest::addRow("question mark pattern") << "suoni/?.wav" << true;
        QTest::addRow("pattern matching nothing") << "suoni/??.wav" << false;
        QTest::addRow("pattern in an empty folder") << "vuota/*" << false;
        QTest::addRow("bracket is no pattern") << "immagini/[a]rancia.gif" << false;
        QTest::addRow("empty path") << "" << false;
        QTest::addRow("device") << "/dev/zero" << true;
        QTest::addRow("device in other case") << "/DEV/zero" << true;
    }
    void exists() {
        QFETCH(QString, relative);
        QFETCH(bool, expected);
        const QString path =
            relative.isEmpty() || relative.startsWith('/') ? relative : m_dir.path() + '/' + relative;
        QCOMPARE(FileExists(path), expected);
    }

    void resolvesTheRealName_data() {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("real");
        QTest::addRow("exact") << "immagini/arancia.gif"
                               << "immagini/arancia.gif";
        QTest::addRow("capital") << "immagini/Arancia.gif"
                                 << "immagini/arancia.gif";
        QTest::addRow("folder and file") << "LAYOUT/Lay1.Ini"
                                         << "Layout/lay1.ini";
        QTest::addRow("new file in a folder of other case") << "layout/nuovo.ini"
                                                            << "Layout/nuovo.ini";
        QTest::addRow("missing folder") << "manca/nuovo.ini"
                                        << "manca/nuovo.ini";
    }
    void resolvesTheRealName() {
        QFETCH(QString, asked);
        QFETCH(QString, real);
        QCOMPARE(ResolveFileCase(m_dir.path() + '/' + asked), m_dir.path() + '/' + real);
    }

    void exactNamePreferred() {
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeFile(dir.filePath("Casa.gif"), "A"));
        QVERIFY(TestSupport::writeFile(dir.filePath("casa.gif"), "B"));
        QCOMPARE(ResolveFileCase(dir.filePath("casa.gif")), dir.filePath("casa.gif"));
        QCOMPARE(ResolveFileCase(dir.filePath("Casa.gif")), dir.filePath("Casa.gif"));
        QVERIFY(FileExists(dir.filePath("CASA.GIF")));
    }

private:
    QTemporaryDir m_dir;
};

MIRELVA_TEST(TstFileExists)
#include "file_exists.moc"
