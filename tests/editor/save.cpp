#include "config/LayoutData.h"
#include "config/LayoutReader.h"
#include "editor/editor_support.h"
#include "fakes/TestRegistry.h"

#include <unistd.h>

namespace {
const QString KeyCountsMessage =
    QStringLiteral("Il numero dei tasti del layout deve essere compreso fra i seguenti: "
                   "1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21.");
const QString ConsecutiveMessage = QStringLiteral("Le immagini deveno essere inserite consecutivamente.");

// The file a save of the round trip must produce, line by line ("P" is the
// program folder).
const char* const RoundTripLayout = R"([KeyProgram]
Key=<$$-COMUNICATORE-$$>

[Impostazioni]
Tasti=4
IsSezione1=1
IsSezione2=1
IsSezione3=1

[Input Obbligato]
IsInput=1

[Sequenza]
SequenzaInput1=2
SequenzaInput2=4
SequenzaInput3=1
SequenzaInput4=3
SequenzaInput5=
SequenzaInput6=
SequenzaInput7=
SequenzaInput8=
SequenzaInput9=
SequenzaInput10=
SequenzaInput11=
SequenzaInput12=
SequenzaInput13=
SequenzaInput14=
SequenzaInput15=
SequenzaInput16=
SequenzaInput17=
SequenzaInput18=
SequenzaInput19=
SequenzaInput20=
SequenzaInput21=

[Bonus]
File1=P/suoni/9.wav

[Sezione Immagini]
Immagine1=P/immagini/1.gif
Immagine2=P/immagini/7.gif
Immagine3=P/immagini/3.gif
Immagine4=P/immagini/4.gif
Immagine5=
Immagine6=
Immagine7=
Immagine8=
Immagine9=
Immagine10=
Immagine11=
Immagine12=
Immagine13=
Immagine14=
Immagine15=
Immagine16=
Immagine17=
Immagine18=
Immagine19=
Immagine20=
Immagine21=

[Sezione Sonoro]
Sonoro1=P/suoni/1.wav
Sonoro2=P/suoni/2.wav
Sonoro3=P/suoni/3.wav
Sonoro4=P/suoni/4.wav
Sonoro5=
Sonoro6=
Sonoro7=
Sonoro8=
Sonoro9=
Sonoro10=
Sonoro11=
Sonoro12=
Sonoro13=
Sonoro14=
Sonoro15=
Sonoro16=
Sonoro17=
Sonoro18=
Sonoro19=
Sonoro20=
Sonoro21=

[Sezione Testo]
Testo1=parola 1
Testo2=parola 2
Testo3=acqua fresca
Testo4=parola 4
Testo5=
Testo6=
Testo7=
Testo8=
Testo9=
Testo10=
Testo11=
Testo12=
Testo13=
Testo14=
Testo15=
Testo16=
Testo17=
Testo18=
Testo19=
Testo20=
Testo21=

[Tasti Funzione]
F1=P/layout/lay1.ini
F2=P/layout/lay2.ini
F3=P/layout/lay3.ini
F4=P/layout/lay4.ini
F5=P/layout/lay5.ini
F6=P/layout/lay6.ini
F7=P/layout/lay7.ini
F8=P/layout/lay8.ini
F9=P/layout/lay9.ini
F10=P/layout/lay10.ini
F11=P/layout/lay11.ini
F12=P/layout/lay12.ini
)";

QByteArray WithProgramFolder(const char* text, const QString& P) {
    QByteArray bytes(text);
    bytes.replace("P/", P.toLatin1() + "/");
    bytes.replace("\n", "\r\n");
    return bytes;
}

// Every entry of a folder, hidden ones included: a failed save leaves no
// temporary file behind.
QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QString Value(const QString& file, const QString& section, const QString& key) {
    CINIFile ini;
    ini.SetFile(file);
    ini.SetSection(section);
    return ini.Values(key);
}

int KeysIn(const QString& file, const QString& section) {
    CINIFile ini;
    ini.SetFile(file);
    ini.SetSection(section);
    std::optional<QStringList> keys;
    return ini.EnumSectionKeys(keys);
}
} // namespace

class TstSave : public QObject {
    Q_OBJECT
private slots:
    // Load a layout, change a picture, a text, the sequence and the bonus,
    // save under a new name, and read it back as the runtime does.
    void roundTrip() {
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        const QByteArray oldLayout = TestSupport::readFile(f.layout(1));
        f.open();
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
        QCOMPARE(f.path()->text(), saved);

        f.click(f.button("cmdSave"));

        QCOMPARE(f.messages.texts(), QStringList{saved + QStringLiteral(" memorizzato.")});
        QCOMPARE(f.messages.shown[0].icon, MsgIcon::Information);
        QCOMPARE(f.messages.shown[0].title, QStringLiteral("Mirelva"));
        QVERIFY(!f.form->isVisible());
        QCOMPARE(f.form->result(), int(QDialog::Accepted));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(TestSupport::readFile(saved), WithProgramFolder(RoundTripLayout, f.P));
        QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(saved));
        QCOMPARE(TestSupport::readFile(f.layout(1)), oldLayout);
        QCOMPARE(Entries(f.P + QStringLiteral("/layout")), (QStringList{"lay1.ini", "mio.ini"}));

        RecordingMessages readerMessages;
        LayoutData data;
        LayoutReader reader(f.P, readerMessages, data);
        QVERIFY(!reader.ReadLayout());
        QVERIFY(readerMessages.shown.isEmpty());
        QCOMPARE(data.KeyCount, 4);
        QCOMPARE(data.ForcedInput, 1);
        QCOMPARE(data.InputSequence.mid(0, 4), (QList<qint16>{2, 4, 1, 3}));
        QCOMPARE(data.PicturePaths.value(2), f.picture(7));
        QCOMPARE(data.KeyTexts.value(3), QStringLiteral("acqua fresca"));
        QCOMPARE(data.BonusPath, f.sound(9));
        QCOMPARE(data.FunctionKeyPaths.value(12), f.layout(12));
    }

    // A new 4-key layout with forced input 2, 4, 1, 3 and a bonus, built with
    // the window alone, is a layout the runtime can start.
    void newLayoutFromScratch() {
        SetupFixture f;
        f.activate(f.P + QStringLiteral("/layout/manca.ini"), QByteArray());
        f.open();
        const QString saved = f.P + QStringLiteral("/layout1.ini");
        QCOMPARE(f.path()->text(), saved);
        for (int k = 1; k <= 4; ++k) {
            f.doubleClick(f.box(1, k), f.picture(k));
        }
        QCOMPARE(f.keyCount(), QStringLiteral("4"));
        f.click(f.button("cmdSez_1"));
        for (int k = 1; k <= 4; ++k) {
            f.doubleClick(f.box(2, k), f.sound(k));
        }
        f.click(f.check("chkSez2"));
        f.click(f.check("chkInput"));
        for (int k : {2, 4, 1, 3}) {
            f.click(f.toggle(k));
        }
        f.click(f.button("cmdBonus"));
        f.doubleClick(f.get<QLineEdit>(QStringLiteral("txtBonus")), f.sound(21));
        f.click(f.button("cmdSave"));
        QCOMPARE(f.messages.texts(), QStringList{saved + QStringLiteral(" memorizzato.")});
        QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(saved));

        RecordingMessages readerMessages;
        LayoutData data;
        LayoutReader reader(f.P, readerMessages, data);
        QVERIFY(!reader.ReadLayout());
        QCOMPARE(data.KeyCount, 4);
        QCOMPARE(data.ForcedInput, 1);
        QCOMPARE(data.InputSequence.mid(0, 4), (QList<qint16>{2, 4, 1, 3}));
        QCOMPARE(data.SectionOn, (std::array<bool, 4>{false, true, true, false}));
        QCOMPARE(data.SoundPaths.value(4), f.sound(4));
        QCOMPARE(data.BonusPath, f.sound(21));
    }

    // Saving under the loaded name replaces the file and keeps its permissions.
    void replacesLoadedLayout() {
        SetupFixture f;
        f.activate(f.layout(1), f.standard(4).bytes());
        QVERIFY(QFile::setPermissions(f.layout(1), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                       QFileDevice::ReadUser | QFileDevice::WriteUser |
                                                       QFileDevice::ReadGroup));
        const QFileDevice::Permissions before = QFile::permissions(f.layout(1));
        f.open();
        f.click(f.button("cmdSez_2"));
        f.box(3, 1)->setText(QStringLiteral("ciao"));
        f.click(f.button("cmdSave"));
        QCOMPARE(f.messages.texts(), QStringList{f.layout(1) + QStringLiteral(" memorizzato.")});
        QCOMPARE(Value(f.layout(1), QStringLiteral("Sezione Testo"), QStringLiteral("Testo1")),
                 QStringLiteral("ciao"));
        QCOMPARE(Value(f.layout(1), QStringLiteral("Impostazioni"), QStringLiteral("Tasti")),
                 QStringLiteral("4"));
        QCOMPARE(QFile::permissions(f.layout(1)), before);
        QCOMPARE(Entries(f.P + QStringLiteral("/layout")), QStringList{"lay1.ini"});
    }

    // What the saved file holds after typical edits.
    void savedValues_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QStringList>("expected"); // section/key=value
        QTest::addColumn<bool>("readable");
        QTest::addRow("one picture on a new layout")
            << "new"
            << QStringList{"Impostazioni/Tasti=1",        "Impostazioni/IsSezione1=1",
                           "Impostazioni/IsSezione2=0",   "Impostazioni/IsSezione3=0",
                           "Input Obbligato/IsInput=0",   "Sezione Immagini/Immagine1=@P@/immagini/1.gif",
                           "Sezione Immagini/Immagine2=", "Tasti Funzione/F1="}
            << true;
        QTest::addRow("8 keys cut to 6 keep entries 7 and 8")
            << "cut"
            << QStringList{"Impostazioni/Tasti=6",
                           "Sequenza/SequenzaInput7=7",
                           "Sequenza/SequenzaInput8=8",
                           "Sezione Immagini/Immagine6=@P@/immagini/6.gif",
                           "Sezione Immagini/Immagine7=@P@/immagini/7.gif",
                           "Sezione Immagini/Immagine8=@P@/immagini/8.gif",
                           "Sezione Sonoro/Sonoro8=@P@/suoni/8.wav",
                           "Sezione Testo/Testo8=parola 8",
                           "Sezione Immagini/Immagine9=",
                           "Input Obbligato/IsInput=0"}
            << true;
        QTest::addRow("section 1 switched off")
            << "section1" << QStringList{"Impostazioni/IsSezione1=0", "Impostazioni/Tasti=4"} << false;
        QTest::addRow("sections 2 and 3 switched off")
            << "sections23"
            << QStringList{"Impostazioni/IsSezione2=0", "Impostazioni/IsSezione3=0",
                           "Sezione Sonoro/Sonoro1=@P@/suoni/1.wav"}
            << true;
        QTest::addRow("forced input without a sequence")
            << "noSequence"
            << QStringList{"Input Obbligato/IsInput=1",
                           "Sequenza/SequenzaInput1=", "Sequenza/SequenzaInput4="}
            << false;
        QTest::addRow("function key and bonus")
            << "links" << QStringList{"Tasti Funzione/F3=@P@/layout/lay9.ini", "Bonus/File1=@P@/suoni/5.wav"}
            << true;
    }
    void savedValues() {
        QFETCH(QString, edit);
        QFETCH(QStringList, expected);
        QFETCH(bool, readable);
        SetupFixture f;
        if (edit == QStringLiteral("new")) {
            f.activate(f.layout(1), QByteArray());
        } else if (edit == QStringLiteral("cut")) {
            TestLayout layout = f.standard(8);
            layout.forcedInput = QStringLiteral("1");
            layout.sequence = QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
            f.activate(f.layout(1), layout.bytes());
        } else {
            f.activate(f.layout(1), f.standard(4).bytes());
        }
        f.open();
        if (edit == QStringLiteral("new")) {
            f.doubleClick(f.box(1, 1), f.picture(1));
        } else if (edit == QStringLiteral("cut")) {
            f.box(1, 7)->clear();
            f.box(1, 8)->clear();
            f.box(1, 1)->setFocus();
            f.box(3, 1)->setFocus();
        } else if (edit == QStringLiteral("section1")) {
            f.click(f.check("chkSez1"));
        } else if (edit == QStringLiteral("sections23")) {
            f.click(f.check("chkSez2"));
            f.click(f.check("chkSez3"));
        } else if (edit == QStringLiteral("noSequence")) {
            f.click(f.check("chkInput"));
        } else if (edit == QStringLiteral("links")) {
            f.click(f.button("cmdSez_3"));
            f.doubleClick(f.functionKey(3), f.layout(9));
            f.click(f.check("chkInput"));
            for (int k = 1; k <= 4; ++k) {
                f.click(f.toggle(k));
            }
            f.click(f.button("cmdBonus"));
            f.doubleClick(f.get<QLineEdit>(QStringLiteral("txtBonus")), f.sound(5));
        }
        const QString saved = f.path()->text();
        f.click(f.button("cmdSave"));
        QCOMPARE(f.messages.texts(), QStringList{saved + QStringLiteral(" memorizzato.")});
        for (const QString& entry : expected) {
            const QString section = entry.section(QLatin1Char('/'), 0, 0);
            const QString key = entry.section(QLatin1Char('/'), 1).section(QLatin1Char('='), 0, 0);
            const QString value = entry.section(QLatin1Char('='), 1).replace(QStringLiteral("@P@"), f.P);
            QCOMPARE(Value(saved, section, key), value);
        }
        // Every key of every family is written, the empty ones too.
        const QList<QPair<QString, int>> families{
            {"KeyProgram", 1},      {"Impostazioni", 4},   {"Input Obbligato", 1},
            {"Sequenza", 21},       {"Bonus", 1},          {"Sezione Immagini", 21},
            {"Sezione Sonoro", 21}, {"Sezione Testo", 21}, {"Tasti Funzione", 12}};
        for (const auto& [section, keys] : families) {
            QCOMPARE(KeysIn(saved, section), keys);
        }
        QCOMPARE(TestSupport::readFile(f.config()), SetupFixture::configBytes(saved));
        RecordingMessages readerMessages;
        LayoutData data;
        LayoutReader reader(f.P, readerMessages, data);
        QCOMPARE(reader.ReadLayout(), !readable);
    }

    // A refused save writes nothing and leaves the window open with the edits.
    void refused_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<MsgIcon>("icon");
        const QString config =
            QStringLiteral("Il file «%1» è il file di configurazione del programma: il layout non "
                           "può essere memorizzato con questo nome. Sceglierne un altro.");
        QTest::addRow("five pictures") << "five"
                                       << "@P@/layout/mio.ini" << KeyCountsMessage << MsgIcon::Information;
        QTest::addRow("pictures 1, 2, 3 and 5")
            << "gap"
            << "@P@/layout/mio.ini" << ConsecutiveMessage << MsgIcon::Exclamation;
        QTest::addRow("named cfg.ini") << ""
                                       << "@P@/cfg.ini" << config.arg("@P@/cfg.ini") << MsgIcon::Exclamation;
        QTest::addRow("named CFG.INI") << ""
                                       << "@P@/CFG.INI" << config.arg("@P@/CFG.INI") << MsgIcon::Exclamation;
        QTest::addRow("named Cfg.Ini in another folder")
            << ""
            << "@P@/layout/Cfg.Ini" << config.arg("@P@/layout/Cfg.Ini") << MsgIcon::Exclamation;
        QTest::addRow("no name") << ""
                                 << ""
                                 << "Indicare il nome del file in cui memorizzare il layout."
                                 << MsgIcon::Exclamation;
    }
    void refused() {
        QFETCH(QString, edit);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(MsgIcon, icon);
        SetupFixture f;
        name.replace(QStringLiteral("@P@"), f.P);
        message.replace(QStringLiteral("@P@"), f.P);
        f.activate(f.layout(1), f.standard(4).bytes());
        const QByteArray oldLayout = TestSupport::readFile(f.layout(1));
        const QByteArray oldConfig = TestSupport::readFile(f.config());
        const QStringList programEntries = Entries(f.P);
        f.open();
        if (edit == QStringLiteral("five")) {
            f.doubleClick(f.box(1, 5), f.picture(5));
        } else if (edit == QStringLiteral("gap")) {
            f.box(1, 4)->clear();
            f.doubleClick(f.box(1, 5), f.picture(5));
            QCOMPARE(f.keyCount(), QStringLiteral("4"));
        }
        f.path()->setText(name);
        f.click(f.button("cmdSave"));
        QCOMPARE(f.messages.texts(), QStringList{message});
        QCOMPARE(f.messages.shown[0].icon, icon);
        QCOMPARE(f.messages.shown[0].title, QStringLiteral("Mirelva"));
        QVERIFY(f.form->isVisible());
        QCOMPARE(f.path()->text(), name);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(TestSupport::readFile(f.layout(1)), oldLayout);
        QCOMPARE(TestSupport::readFile(f.config()), oldConfig);
        QCOMPARE(Entries(f.P), programEntries);
        QCOMPARE(Entries(f.P + QStringLiteral("/layout")), QStringList{"lay1.ini"});
    }

    // When the file system refuses, the user is told which file could not be
    // written; the old layout and cfg.ini stay as they were, and the window
    // stays open with the edits.
    void fileSystemRefuses_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("configMessage");
        QTest::addRow("folder that is really a file") << ""
                                                      << "@P@/immagini/1.gif/mio.ini" << false;
        QTest::addRow("missing folder") << ""
                                        << "@P@/nessuna/mio.ini" << false;
        QTest::addRow("name of a folder") << "folder"
                                          << "@P@/layout/mio.ini" << false;
        QTest::addRow("read-only layout file") << "readOnlyLayout"
                                               << "@P@/layout/lay1.ini" << false;
        QTest::addRow("folder of a read-only file system") << ""
                                                           << "/proc/mirelva.ini" << false;
        QTest::addRow("read-only folder") << "readOnlyFolder"
                                          << "@P@/chiusa/mio.ini" << false;
        QTest::addRow("read-only cfg.ini") << "readOnlyConfig"
                                           << "@P@/layout/mio.ini" << true;
    }
    void fileSystemRefuses() {
        QFETCH(QString, setup);
        QFETCH(QString, name);
        QFETCH(bool, configMessage);
        SetupFixture f;
        name.replace(QStringLiteral("@P@"), f.P);
        f.activate(f.layout(1), f.standard(4).bytes());
        if (setup == QStringLiteral("folder")) {
            QVERIFY(QDir().mkpath(name));
        } else if (setup == QStringLiteral("readOnlyLayout")) {
            QVERIFY(QFile::setPermissions(f.layout(1), QFileDevice::ReadOwner | QFileDevice::ReadUser));
        } else if (setup == QStringLiteral("readOnlyConfig")) {
            QVERIFY(QFile::setPermissions(f.config(), QFileDevice::ReadOwner | QFileDevice::ReadUser));
        } else if (setup == QStringLiteral("readOnlyFolder")) {
            if (geteuid() == 0) {
                QSKIP("running as root: a folder without write permission does not stop root");
            }
            QVERIFY(QDir().mkpath(f.P + QStringLiteral("/chiusa")));
            QVERIFY(QFile::setPermissions(f.P + QStringLiteral("/chiusa"),
                                          QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        const QString folder = QFileInfo(name).absolutePath();
        const QStringList folderEntries = Entries(folder);
        const QByteArray oldLayout = TestSupport::readFile(f.layout(1));
        const QByteArray oldConfig = TestSupport::readFile(f.config());
        f.open();
        f.click(f.button("cmdSez_2"));
        f.box(3, 2)->setText(QStringLiteral("modificato"));
        f.path()->setText(name);
        f.click(f.button("cmdSave"));

        const QString expected =
            configMessage
                ? QStringLiteral(
                      "Impossibile aggiornare il file di configurazione «%1».\r\nIl layout non è stato "
                      "memorizzato.")
                      .arg(f.config())
                : QStringLiteral(
                      "Impossibile memorizzare il layout nel file «%1».\r\nNessun file è stato modificato: "
                      "controllare che la cartella esista e che la cartella e il file non siano protetti da "
                      "scrittura.")
                      .arg(name);
        QCOMPARE(f.messages.texts(), QStringList{expected});
        QCOMPARE(f.messages.shown[0].icon, MsgIcon::Exclamation);
        QVERIFY(f.form->isVisible());
        QCOMPARE(f.box(3, 2)->text(), QStringLiteral("modificato"));
        QCOMPARE(f.path()->text(), name);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(TestSupport::readFile(f.layout(1)), oldLayout);
        QCOMPARE(TestSupport::readFile(f.config()), oldConfig);
        // Processes come and go in /proc meanwhile: there only the layout's own
        // names are looked at; in the program's folders nothing may change at all.
        const auto watched = [&](const QStringList& entries) {
            return folder.startsWith(f.P) ? entries : entries.filter(QFileInfo(name).fileName());
        };
        QCOMPARE(watched(Entries(folder)), watched(folderEntries));
        QCOMPARE(Entries(f.P + QStringLiteral("/layout")).filter(QStringLiteral(".lay")), QStringList());
    }
};

MIRELVA_TEST(TstSave)
#include "save.moc"
