#include "config/LayoutReader.h"
#include "fakes/LayoutBuilder.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestSupport.h"
#include "fakes/TestRegistry.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::writeFile;

namespace {
// The start of each message the reader must show, in order.
const QString NoLayout = "Non esiste alcun layout.";
const QString NotALayout = "Non è un layout valido.";
const QString KeyCount = "Il numero dei tasti del layout non è compreso";
const QString Input = "Il valore dell'input obbligato deve essere 0 o 1.";
const QString Section1 = "La sezione numero 1 è obbligatoria";
const QString Section2 = "Il valore della sezione numero 2 deve essere 0 o 1.";
const QString Section3 = "Il valore della sezione numero 3 deve essere 0 o 1.";
const QString Pictures = "Le immagini inserite nel layout non vengono trovate.";
const QString Sounds = "I file sonori inseriti nel layout non vengono trovati.";
const QString Resources = "Si è verificato un errore nella lettura delle risorse.";
const QString Error13 = "Errore n. 13\r\nTipo non corrispondente";
const QString Error6 = "Errore n. 6\r\nOverflow";

QString Sequence(const QString& value) {
    return "Il valore sequenziale « " + value + " » dell'input obbligato non è compreso tra 1 e 21.";
}

// A valid layout of four keys; P stands for the program folder. The fifth
// picture is missing on purpose: only the keys in use are looked for.
QString BaseLayout() {
    TestLayout l;
    l.sequence = QStringList{"2", "1", "4", "3"};
    l.bonus = "P/suoni/applauso.wav";
    l.pictures = QStringList{"P/immagini/Arancia.gif", "P/immagini/banana.gif", "P/immagini/casa.gif",
                             "P/immagini/mela.gif", "P/immagini/manca.gif"};
    l.sounds = QStringList{"P/suoni/1.wav", "P/suoni/2.wav", "P/suoni/3.wav", "P/suoni/4.wav"};
    l.texts = QStringList{"Arancia", "", "Casa «bella»", "Mela"};
    l.functionKeys = QStringList{"P/layout/lay1.ini", "", "", "", "P/layout/lay5.ini"};
    return QString::fromLatin1(l.bytes());
}
} // namespace

class TstLayoutReader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        m_p = m_dir.path();
        for (const char* name : {"arancia", "banana", "casa", "mela"}) {
            QVERIFY(writeFile(m_p + "/immagini/" + name + ".gif", "GIF89a"));
        }
        for (int i = 1; i <= 4; ++i) {
            QVERIFY(writeFile(m_p + QString("/suoni/%1.wav").arg(i), "RIFF"));
        }
        QCOMPARE(QProcess::execute("mkfifo", {m_p + "/immagini/coda"}), 0);
    }

    // Each row edits the base layout: "old=>new" replaces a line, and the
    // special edits "nocfg", "nolayout" and "garbage" break the files.
    void readLayout_data() {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QStringList>("messages");
        const auto row = [](const char* name, const QStringList& edits, const QStringList& messages = {}) {
            QTest::addRow("%s", name) << edits << messages;
        };
        const QString forced = "IsInput = 0=>IsInput = 1";
        row("valid layout", {});
        row("no cfg.ini", {"nocfg"}, {NoLayout, Resources});
        row("cfg.ini names a missing layout", {"nolayout"}, {NoLayout, Resources});
        row("marker missing", {"Key=<$$-COMUNICATORE-$$>=>Key=altro"}, {NotALayout, Resources});
        row("marker in lower case", {"Key=<$$-COMUNICATORE-$$>=>KEY=<$$-comunicatore-$$>"});
        row("binary garbage", {"garbage"}, {NotALayout, Resources});
        // Padded with a comment to a size: up to 1 MiB is read, more is refused unread.
        row("layout of 1 MiB", {"pad:1048576"});
        row("layout of 1 MiB and a byte", {"pad:1048577"}, {NotALayout, Resources});
        row("Tasti abc", {"Tasti = 4=>Tasti = abc"}, {Error13});
        row("Tasti empty", {"Tasti = 4=>Tasti ="}, {Error13});
        // Numbers are 16-bit: beyond it an overflow, anything but a sign and digits not a number.
        row("Tasti 32767", {"Tasti = 4=>Tasti = 32767"}, {KeyCount, Resources});
        row("Tasti 32768", {"Tasti = 4=>Tasti = 32768"}, {Error6});
        row("Tasti -32768", {"Tasti = 4=>Tasti = -32768"}, {KeyCount, Resources});
        row("Tasti -32769", {"Tasti = 4=>Tasti = -32769"}, {Error6});
        row("Tasti of 42 digits", {"Tasti = 4=>Tasti = 000000000000000000000099999999999999999999"},
            {Error6});
        row("Tasti 99999x", {"Tasti = 4=>Tasti = 99999x"}, {Error13});
        row("Tasti +4", {"Tasti = 4=>Tasti = +4"});
        row("Tasti 4a", {"Tasti = 4=>Tasti = 4a"}, {Error13});
        row("Tasti 1 2", {"Tasti = 4=>Tasti = 1 2"}, {Error13});
        row("Tasti 4.0", {"Tasti = 4=>Tasti = 4.0"}, {Error13});
        row("Tasti 04, blanks, quotes", {"Tasti = 4=>Tasti=\t\"04\" "});
        row("Tasti 5", {"Tasti = 4=>Tasti = 5"}, {KeyCount, Resources});
        row("Tasti 1", {"Tasti = 4=>Tasti = 1"});
        row("names in other case", {"[Impostazioni]=>[impostazioni]", "Tasti = 4=>TASTI=4"});
        row("IsInput 2", {"IsInput = 0=>IsInput = 2"}, {Input, Resources});
        row("forced input with a valid sequence", {forced});
        row("forced input, empty step", {forced, "SequenzaInput1=2=>SequenzaInput1="}, {Resources});
        row("forced input, step not a number", {forced, "SequenzaInput2=1=>SequenzaInput2=uno"}, {Resources});
        row("forced input, step 0", {forced, "SequenzaInput3=4=>SequenzaInput3=0"},
            {Sequence("0"), Resources});
        row("forced input, step 22", {forced, "SequenzaInput1=2=>SequenzaInput1=22"},
            {Sequence("22"), Resources});
        row("forced input, steps 21 and 1", {forced, "SequenzaInput1=2=>SequenzaInput1=21"});
        row("no forced input, sequence not read", {"SequenzaInput1=2=>SequenzaInput1=x"});
        row("section 1 off", {"IsSezione1 = 1=>IsSezione1 = 0"}, {Section1, Resources});
        row("section 2 is 2", {"IsSezione2 = 1=>IsSezione2 = 2"}, {Section2, Resources});
        row("section 3 is 2", {"IsSezione3 = 1=>IsSezione3 = 2"}, {Section3, Resources});
        row("section 2 missing", {"IsSezione2 = 1=>"}, {Error13});
        row("section 1 checked before 2",
            {"IsSezione1 = 1=>IsSezione1 = 3", "IsSezione2 = 1=>IsSezione2 = x"}, {Section1, Resources});
        row("sections 2 and 3 off, sounds missing",
            {"IsSezione2 = 1=>IsSezione2 = 0", "IsSezione3 = 1=>IsSezione3 = 0", "Sonoro2=P/suoni/2.wav=>"});
        row("picture missing", {"Immagine3=P/immagini/casa.gif=>Immagine3=P/immagini/x.gif"},
            {Pictures, Resources});
        row("picture empty", {"Immagine4=P/immagini/mela.gif=>Immagine4="}, {Pictures, Resources});
        row("sound missing", {"Sonoro4=P/suoni/4.wav=>Sonoro4=P/suoni/9.wav"}, {Sounds, Resources});
        row("picture is a FIFO", {"Immagine1=P/immagini/Arancia.gif=>Immagine1=P/immagini/coda"});
        row("picture pattern", {"Immagine1=P/immagini/Arancia.gif=>Immagine1=P/immagini/*.gif"});
    }
    void readLayout() {
        QFETCH(QStringList, edits);
        QFETCH(QStringList, messages);
        const QString layoutPath = m_p + "/layout/prova.ini";
        QString layout = BaseLayout();
        QString cfg = "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + layoutPath + "\r\n";
        QByteArray layoutBytes;
        for (const QString& edit : edits) {
            if (edit == "nocfg") {
                cfg.clear();
            } else if (edit == "nolayout") {
                cfg.replace("prova.ini", "manca.ini");
            } else if (edit.startsWith("pad:")) {
                layout +=
                    QString(edit.mid(4).toInt() - layout.replace("=P/", "=" + m_p + "/").size() - 2, ';') +
                    "\r\n";
            } else if (edit == "garbage") {
                layoutBytes = QByteArray(2048, '\xFF') + QByteArray(2048, '\0') + "=\r\n[";
            } else {
                const QStringList parts = edit.split("=>");
                QVERIFY2(layout.contains(parts[0] + "\r\n"), qPrintable(edit));
                layout.replace(parts[0] + "\r\n", parts[1].isEmpty() ? QString() : parts[1] + "\r\n");
            }
        }
        if (layoutBytes.isEmpty()) {
            layoutBytes = layout.replace("=P/", "=" + m_p + "/").toLatin1();
        }
        QFile::remove(m_p + "/cfg.ini");
        QVERIFY(cfg.isEmpty() || writeFile(m_p + "/cfg.ini", cfg.toLatin1()));
        QVERIFY(writeFile(layoutPath, layoutBytes));

        RecordingMessages shown;
        LayoutData data;
        QCOMPARE(LayoutReader(m_p, shown, data).ReadLayout(), !messages.isEmpty());
        QCOMPARE(shown.shown.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i) {
            QVERIFY2(shown.shown[i].text.startsWith(messages[i]), qPrintable(shown.shown[i].text));
        }
        QCOMPARE(TestSupport::readFile(layoutPath), layoutBytes); // never written
    }

    // The message keeps its words and then names every key whose file is missing.
    void missingFilesNamed() {
        const QString layout = BaseLayout()
                                   .replace("Immagine3=P/immagini/casa.gif", "Immagine3=P/immagini/x.gif")
                                   .replace("Immagine4=P/immagini/mela.gif", "Immagine4=")
                                   .replace("=P/", "=" + m_p + "/");
        QVERIFY(writeFile(m_p + "/layout/due.ini", layout.toLatin1()));
        QVERIFY(writeFile(
            m_p + "/cfg.ini",
            ("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + m_p + "/layout/due.ini").toUtf8()));
        RecordingMessages shown;
        LayoutData data;
        QVERIFY(LayoutReader(m_p, shown, data).ReadLayout());
        const QString text = shown.shown.value(0).text;
        QVERIFY2(text.startsWith(Pictures + "\r\nAccertarsi che il percorso delle immagini sia corretto"),
                 qPrintable(text));
        QVERIFY2(text.endsWith("valide.\r\n\r\nFile mancanti:\r\ntasto 3: " + m_p +
                               "/immagini/x.gif\r\ntasto 4: nessun file indicato"),
                 qPrintable(text));
    }

    void fillsTheRuntimeFields() {
        const QString layout =
            BaseLayout().replace("IsInput = 0", "IsInput = 1").replace("=P/", "=" + m_p + "/");
        QVERIFY(writeFile(m_p + "/layout/pieno.ini", layout.toLatin1()));
        QVERIFY(writeFile(
            m_p + "/cfg.ini",
            ("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + m_p + "/layout/pieno.ini").toUtf8()));
        RecordingMessages shown;
        LayoutData data;
        data.InputSequence = {9, 9, 9, 9, 9, 9, 9, 9}; // left from an earlier layout
        QVERIFY(!LayoutReader(m_p, shown, data).ReadLayout());
        QCOMPARE(data.InputSequence, (QList<qint16>{2, 1, 4, 3, 0}));
        QCOMPARE(data.SectionOn, (std::array<bool, 4>{false, true, true, true}));
        QCOMPARE(data.KeyTexts, (QStringList{"", "Arancia", "", "Casa «bella»", "Mela"}));
        QCOMPARE(data.PicturePaths.value(4), m_p + "/immagini/mela.gif");
        QCOMPARE(data.SoundPaths.value(4), m_p + "/suoni/4.wav");
        QCOMPARE(data.FunctionKeyPaths.value(5), m_p + "/layout/lay5.ini");
        QCOMPARE(data.BonusPath, m_p + "/suoni/applauso.wav");
    }

private:
    QTemporaryDir m_dir;
    QString m_p;
};

MIRELVA_TEST(TstLayoutReader)
#include "layout_reader.moc"
