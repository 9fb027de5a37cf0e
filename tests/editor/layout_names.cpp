#include "config/CINIFile.h"
#include "config/LayoutData.h"
#include "config/LayoutReader.h"
#include "editor/SetupState.h"
#include "editor/frmSetup.h"
#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <utime.h>

namespace {
QString Read(const QString& file, const QString& section, const QString& key) {
    CINIFile ini;
    ini.SetFile(file);
    ini.SetSection(section);
    return ini.Values(key);
}

void Age(const QString& file, int seconds) {
    QVERIFY(TestSupport::writeFile(file, "[KeyProgram]\r\n"));
    const utimbuf times{time(nullptr) - seconds, time(nullptr) - seconds};
    QCOMPARE(utime(QFile::encodeName(file).constData(), &times), 0);
}
} // namespace

// Names typed by the user: a bare name means the program's layout folder,
// cfg.ini always gets the full path, and any letter survives the trip.
class TstLayoutNames : public QObject {
    Q_OBJECT
private slots:
    void saveBareName_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("text");
        QTest::addRow("ordinary") << "prog"
                                  << "parola";
        QTest::addRow("Polish folder, Greek text") << QStringLiteral("Łódź") << QStringLiteral("Καλημέρα");
    }
    void saveBareName() {
        QFETCH(QString, folder);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString p = dir.filePath(folder);
        const QString layout = p + "/layout/nuovo.ini";
        // The program may have been started from anywhere.
        QVERIFY(QDir().mkpath(dir.filePath("elsewhere")) && QDir::setCurrent(dir.filePath("elsewhere")));
        QVERIFY(TestSupport::writeFile(p + "/immagini/1.gif", "GIF89a"));
        // What saves killed before their rename left behind, and one in progress.
        Age(p + "/layout/.nuovo.ini.Ab12Cd", 3600);
        Age(p + "/layout/.lay3.ini.zz99YY", 3600);
        Age(p + "/layout/.nuovo.ini.Fresh1", 0);
        Age(p + "/layout/nuovo.ini.Ab12Cd", 3600);
        ResetSharedIni();
        SetupState state;
        ScriptedFilePicker picker;
        RecordingMessages shown;
        frmSetup form(p, state, picker, shown);
        form.findChild<QLineEdit*>("txtPathLayout")->setText("nuovo.ini");
        form.findChild<QLineEdit*>("txtSez1_0")->setText(p + "/immagini/1.gif");
        form.findChild<QLineEdit*>("txtSez3_0")->setText(text);
        form.findChild<QCheckBox*>("chkSez3")->setChecked(true);
        form.findChild<QPushButton*>("cmdSave")->click();

        QCOMPARE(shown.texts(), QStringList(layout + " memorizzato."));
        QVERIFY(QDir(dir.filePath("elsewhere")).isEmpty());
        QDir::setCurrent(QDir::tempPath());
        QCOMPARE(Read(p + "/cfg.ini", "KeyProgram", "File"), layout);
        QCOMPARE(QDir(p + "/layout").entryList(QDir::Files | QDir::Hidden),
                 QStringList({".nuovo.ini.Fresh1", "nuovo.ini", "nuovo.ini.Ab12Cd"}));
        LayoutData data;
        QVERIFY(!LayoutReader(p, shown, data).ReadLayout());
        QCOMPARE(data.KeyTexts.value(1), text);
    }
};
MIRELVA_TEST(TstLayoutNames)
#include "layout_names.moc"
