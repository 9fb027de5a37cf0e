#include "config/CINIFile.h"
#include "config/Configuration.h"
#include "config/LayoutData.h"
#include "config/LayoutReader.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "startup/Installer.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Linux folder names hold any letter; the installed files must lead back to
// them, and stay Windows-1252 wherever that code page can hold the name.
class TstForeignFolder : public QObject {
    Q_OBJECT
private slots:
    void installAndStart_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("utf8");
        QTest::addRow("Windows-1252 letters") << QStringLiteral("Città") << false;
        QTest::addRow("Polish") << QStringLiteral("Łódź") << true;
        QTest::addRow("Cyrillic") << QStringLiteral("Общий") << true;
    }
    void installAndStart() {
        QFETCH(QString, folder);
        QFETCH(bool, utf8);
        QTemporaryDir dir;
        const QString p = dir.filePath(folder);
        ResetSharedIni();
        Installer installer(p);
        QString error;
        QVERIFY2(installer.Install(&error), qPrintable(error));
        QCOMPARE(TestSupport::readFile(p + "/layout/lay3.ini").startsWith("\xEF\xBB\xBF"), utf8);
        QCOMPARE(TestSupport::readFile(p + "/cfg.ini").startsWith("\xEF\xBB\xBF"), utf8);

        RecordingMessages shown;
        QVERIFY(CheckConfiguration(p, shown, installer));
        LayoutData data;
        QVERIFY(!LayoutReader(p, shown, data).ReadLayout());
        QCOMPARE(shown.texts(), QStringList());
        QCOMPARE(data.PicturePaths.value(1), p + "/immagini/Arancia.gif");
        QCOMPARE(data.FunctionKeyPaths.value(12), p + "/layout/lay12.ini");
    }

    // The reason a resource could not be written, in Italian.
    void failedWriteSaysWhy_data() {
        QTest::addColumn<QString>("suoni");
        QTest::addColumn<QString>("reason");
        QTest::addRow("folder missing") << "link:nowhere"
                                        << "la cartella non esiste";
        QTest::addRow("not a folder") << "file"
                                      << "una parte del percorso non è una cartella";
        // sysfs refuses new files even to root; some machines mount it read-only.
        QTest::addRow("permission denied") << "link:/sys"
                                           << "(permesso negato|il disco è protetto da scrittura)";
    }
    void failedWriteSaysWhy() {
        QFETCH(QString, suoni);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString sounds = dir.filePath("suoni");
        QVERIFY(suoni == "file" ? TestSupport::writeFile(sounds, "x") : QFile::link(suoni.mid(5), sounds));
        ResetSharedIni();
        QString error;
        QVERIFY(!Installer(dir.path()).Install(&error));
        const QString expected =
            QStringLiteral("^Installazione non riuscita: impossibile scrivere il file %1 \\(%2\\)\\.$")
                .arg(QRegularExpression::escape(sounds + "/1.wav"), reason);
        QVERIFY2(QRegularExpression(expected).match(error).hasMatch(), qPrintable(error));
    }
};
MIRELVA_TEST(TstForeignFolder)
#include "foreign_folder.moc"
