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
        for (const char* file :
             {"immagini/arancia.gif", "immagini/Banana.GIF", "suoni/1.wav", "Layout/lay1.ini"}) {
            QVERIFY(TestSupport::writeFile(m_dir.filePath(file), "x"));
        }
        QVERIFY(QDir().mkpath(m_dir.filePath("vuota")));
        QCOMPARE(QProcess::execute("mkfifo", {m_dir.filePath("suoni/coda")}), 0);
    }

    // Names are matched without letter case; '*' and '?' are wildcards. A
    // path starting with '/' is taken as it is, any other is in the test folder.
    void exists_data() {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("expected");
        // '+' for a path that exists, '-' for one that does not.
        const QString rows =
            "+immagini/arancia.gif +IMMAGINI/Arancia.GIF +immagini/banana.gif +layout/LAY1.ini +vuota "
            "+immagini/ +suoni/coda -immagini/pera.gif -suonerie/1.wav -suoni/1.wav/x +immagini/*.gif "
            "+IMMAGINI/BAN* +immagini/arancia.gif* +suoni/?.wav -suoni/??.wav -vuota/* "
            "-immagini/[a]rancia.gif - +/dev/zero +/DEV/zero";
        for (const QString& row : rows.split(' ')) {
            QTest::addRow("'%s'", qPrintable(row)) << row.mid(1) << row.startsWith('+');
        }
    }
    void exists() {
        QFETCH(QString, relative);
        const QString path =
            relative.isEmpty() || relative.startsWith('/') ? relative : m_dir.path() + '/' + relative;
        QTEST(FileExists(path), "expected");
    }

    // The name on disk is found whatever the case asked for ("asked>on disk"); an exact match wins.
    void resolvesTheRealName_data() {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("real");
        for (const QString& row :
             QString("immagini/arancia.gif LAYOUT/Lay1.Ini>Layout/lay1.ini layout/nuovo.ini>Layout/"
                     "nuovo.ini manca/nuovo.ini doppio/casa.gif doppio/Casa.gif")
                 .split(' ')) {
            QTest::addRow("%s", qPrintable(row)) << row.section('>', 0, 0) << row.section('>', -1);
        }
    }
    void resolvesTheRealName() {
        QFETCH(QString, asked);
        QFETCH(QString, real);
        QVERIFY(TestSupport::writeFile(m_dir.filePath("doppio/Casa.gif"), "A"));
        QVERIFY(TestSupport::writeFile(m_dir.filePath("doppio/casa.gif"), "B"));
        QCOMPARE(ResolveFileCase(m_dir.path() + '/' + asked), m_dir.path() + '/' + real);
    }

private:
    QTemporaryDir m_dir;
};

MIRELVA_TEST(TstFileExists)
#include "file_exists.moc"
