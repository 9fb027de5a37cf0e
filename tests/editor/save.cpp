#include "config/LayoutData.h"
#include "config/LayoutReader.h"
#include "editor/LayoutWriter.h"
#include "editor/editor_support.h"
#include "fakes/TestRegistry.h"

#include <utime.h>

namespace {
// Every entry of a folder, hidden ones included: a failed save leaves no
// temporary file behind.
QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void Age(const QString& file, int seconds) {
    QVERIFY(TestSupport::writeFile(file, "[KeyProgram]\r\n"));
    const utimbuf times{time(nullptr) - seconds, time(nullptr) - seconds};
    QCOMPARE(utime(QFile::encodeName(file).constData(), &times), 0);
}

// Reads the active layout as the runtime does; false when it is refused.
bool ReadBack(const QString& P, LayoutData& data) {
    RecordingMessages messages;
    return !LayoutReader(P, messages, data).ReadLayout() && messages.shown.isEmpty();
}
} // namespace

class TstSave : public QObject {
    Q_OBJECT
private slots:
    // Load a layout, change a picture, a text, the sequence and the bonus,
    // save under a new name, and read it back as the runtime does.
    void roundTrip() {
        SetupFixture f;
        f.openStandard();
        const QByteArray oldLayout = TestSupport::readFile(f.layout(1));
        f.doubleClick(f.box(1, 2), f.picture(7));
        f.click(f.button("cmdSez_2"));
        f.box(3, 3)->clear();
        QTest::keyClicks(f.box(3, 3), QStringLiteral("acqua fresca"));
        f.click(f.check("chkInput"));
        for (int k : {2, 4, 1, 3}) {
            f.click(f.toggle(k));
        }
        f.click(f.button("cmdBonus"));
        f.doubleClick(f.get<QLineEdit>(QStringLiteral("txtBonus")), f.sound(9));
        f.doubleClick(f.path(), f.P + QStringLiteral("/layout/mio"));
        const QString saved = f.P + QStringLiteral("/layout/mio.ini");
        f.click(f.button("cmdSave"));

        QCOMPARE(f.messages.texts(), QStringList{saved + QStringLiteral(" memorizzato.")});
        QCOMPARE(f.form->result(), int(QDialog::Accepted));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        TestLayout expected = f.standard(4, true);
        expected.sequence = QStringList{"2", "4", "1", "3"};
        expected.bonus = f.sound(9);
        expected.pictures[1] = f.picture(7);
        expected.texts[2] = QStringLiteral("acqua fresca");
        QCOMPARE(TestSupport::readFile(saved), expected.bytes().replace(" = ", "="));
        QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(saved));
        QCOMPARE(TestSupport::readFile(f.layout(1)), oldLayout);
        QCOMPARE(Entries(f.P + QStringLiteral("/layout")), (QStringList{"lay1.ini", "mio.ini"}));
        LayoutData data;
        QVERIFY(ReadBack(f.P, data));
        QCOMPARE(data.KeyTexts.value(3), QStringLiteral("acqua fresca"));
    }

    // Saving over the loaded layout keeps its permissions; cutting 8 keys to 6
    // keeps the entries of keys 7 and 8 ("section/key=value").
    void savedOverLoaded() {
        SetupFixture f;
        f.activate(f.layout(1), f.standard(8, true).bytes());
        const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                                 QFileDevice::WriteUser | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(f.layout(1), permissions));
        f.open();
        f.messages.answerYes = true;
        f.box(1, 7)->clear();
        f.box(1, 8)->clear();
        f.box(1, 1)->setFocus();
        f.box(3, 1)->setText(QStringLiteral("ciao"));
        f.click(f.button("cmdSave"));
        QCOMPARE(f.messages.texts(), QStringList{f.layout(1) + QStringLiteral(" memorizzato.")});
        for (const QString entry :
             {"Impostazioni/Tasti=6", "Sequenza/SequenzaInput8=8",
              "Sezione Immagini/Immagine8=@P@/immagini/8.gif", "Sezione Sonoro/Sonoro8=@P@/suoni/8.wav",
              "Sezione Testo/Testo8=parola 8", "Sezione Testo/Testo1=ciao", "Input Obbligato/IsInput=0"}) {
            const QString section = entry.section(QLatin1Char('/'), 0, 0);
            const QString key = entry.section(QLatin1Char('/'), 1).section(QLatin1Char('='), 0, 0);
            const QString value = entry.section(QLatin1Char('='), 1).replace(QStringLiteral("@P@"), f.P);
            QCOMPARE(LayoutValue(f.layout(1), section, key), value);
        }
        QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(f.layout(1)));
        LayoutData data;
        QVERIFY(ReadBack(f.P, data));
        QCOMPARE(QFile::permissions(f.layout(1)), permissions);
    }

    // A refused save writes nothing and leaves the window open with the edits;
    // so does a file system that refuses, and the user is told which file.
    void refused_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* tag, const QString& edit, const QString& name,
                            const QString& message) { QTest::addRow("%s", tag) << edit << name << message; };
        const QString config =
            QStringLiteral("Il file «%1» è il file di configurazione del programma: il layout "
                           "non può essere memorizzato con questo nome. Sceglierne un altro.");
        const QString layout =
            QStringLiteral("Impossibile memorizzare il layout nel file «%1».\r\nNessun file è "
                           "stato modificato: controllare che la cartella esista e che la "
                           "cartella e il file non siano protetti da scrittura.");
        const QString none, mio = "@P@/layout/mio.ini", cfg = "@P@/layout/Cfg.Ini",
                            proc = "/proc/mirelva.ini";
        row("five pictures", "five", mio,
            "Il numero dei tasti del layout deve essere compreso fra i seguenti: "
            "1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21.");
        row("pictures 1, 2, 3 and 5", "gap", mio, "Le immagini deveno essere inserite consecutivamente.");
        row("named Cfg.Ini in another folder", none, cfg, config.arg(cfg));
        row("no name", none, none, "Indicare il nome del file in cui memorizzare il layout.");
        row("name of a folder", "folder", mio, layout.arg(mio));
        row("read-only layout file", "readOnlyLayout", "@P@/layout/lay1.ini",
            layout.arg("@P@/layout/lay1.ini"));
        row("folder of a read-only file system", none, proc, layout.arg(proc));
        row("read-only cfg.ini", "readOnlyConfig", mio,
            "Impossibile aggiornare il file di configurazione «@P@/cfg.ini»."
            "\r\nIl layout non è stato memorizzato.");
    }
    void refused() {
        QFETCH(QString, edit);
        QFETCH(QString, name);
        QFETCH(QString, message);
        SetupFixture f;
        name.replace(QStringLiteral("@P@"), f.P);
        message.replace(QStringLiteral("@P@"), f.P);
        f.activate(f.layout(1), f.standard(4).bytes());
        if (edit == QStringLiteral("folder")) {
            QVERIFY(QDir().mkpath(name));
        } else if (edit.startsWith(QStringLiteral("readOnly"))) {
            const QString file = edit.endsWith(QStringLiteral("Layout")) ? f.layout(1) : f.config();
            QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadUser));
        }
        const QString folder = name.isEmpty() ? f.P : QFileInfo(name).absolutePath();
        // Processes come and go in /proc: there only the layout's own names are looked at.
        const auto watched = [&] {
            const QStringList entries = Entries(folder);
            return folder.startsWith(f.P) ? entries : entries.filter(QFileInfo(name).fileName());
        };
        const QStringList folderEntries = watched();
        const QByteArray oldLayout = TestSupport::readFile(f.layout(1));
        const QByteArray oldConfig = TestSupport::readFile(f.config());
        f.open();
        if (edit == QStringLiteral("five")) {
            f.doubleClick(f.box(1, 5), f.picture(5));
        } else if (edit == QStringLiteral("gap")) {
            f.box(1, 4)->clear();
            f.doubleClick(f.box(1, 5), f.picture(5));
        }
        f.click(f.button("cmdSez_2"));
        f.box(3, 2)->setText(QStringLiteral("modificato"));
        f.path()->setText(name);
        f.click(f.button("cmdSave"));

        QCOMPARE(f.messages.texts(), QStringList{message});
        QVERIFY(f.form->isVisible());
        QCOMPARE(f.box(3, 2)->text(), QStringLiteral("modificato"));
        QCOMPARE(f.path()->text(), name);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(TestSupport::readFile(f.layout(1)), oldLayout);
        QCOMPARE(TestSupport::readFile(f.config()), oldConfig);
        QCOMPARE(watched(), folderEntries);
        QCOMPARE(Entries(f.P + QStringLiteral("/layout")).filter(QStringLiteral(".lay")), QStringList());
    }

    // A bare name, typed without .ini, means the program's layout folder wherever
    // the program was started, cfg.ini gets the full path, and any letter survives the trip.
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
        form.findChild<QLineEdit*>("txtPathLayout")->setText("nuovo");
        form.findChild<QLineEdit*>("txtSez1_0")->setText(p + "/immagini/1.gif");
        form.findChild<QLineEdit*>("txtSez3_0")->setText(text);
        form.findChild<QCheckBox*>("chkSez3")->setChecked(true);
        form.findChild<QPushButton*>("cmdSave")->click();

        QCOMPARE(shown.texts(), QStringList(layout + " memorizzato."));
        QVERIFY(QDir(dir.filePath("elsewhere")).isEmpty());
        QDir::setCurrent(QDir::tempPath());
        QCOMPARE(LayoutValue(p + "/cfg.ini", "KeyProgram", "File"), layout);
        QCOMPARE(LayoutValue(layout, "Impostazioni", "Tasti"), "1");
        QCOMPARE(LayoutValue(layout, "Impostazioni", "IsSezione2"), "0");
        QCOMPARE(LayoutValue(layout, "Impostazioni", "IsSezione3"), "1");
        QCOMPARE(QDir(p + "/layout").entryList(QDir::Files | QDir::Hidden),
                 QStringList({".nuovo.ini.Fresh1", "nuovo.ini", "nuovo.ini.Ab12Cd"}));
        LayoutData data;
        QVERIFY(!LayoutReader(p, shown, data).ReadLayout());
        QCOMPARE(data.KeyTexts.value(1), text);
    }
};

MIRELVA_TEST(TstSave)
#include "save.moc"
