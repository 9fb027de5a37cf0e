#include "config/CINIFile.h"
#include "config/Integer16.h"
#include "config/LayoutReader.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestSupport.h"
#include "fakes/TestRegistry.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::writeFile;

namespace {
// One message as the test expects it: text, icon, title.
using Expected = QList<QStringList>;

const QStringList NoLayout = {"Non esiste alcun layout.", "none", "Mirelva"};
const QStringList NotALayout = {"Non è un layout valido.", "excl", "Mirelva"};
const QStringList KeyCountMsg = {
    "Il numero dei tasti del layout non è compreso fra i seguenti: 1, 2, 3, 4, 6, 8, "
    "9, 10, 12, 14, 15, 16, 18, 20, 21.",
    "info", "Mirelva"};
const QStringList InputMsg = {"Il valore dell'input obbligato deve essere 0 o 1.", "excl", "Mirelva"};
const QStringList Section1Msg = {"La sezione numero 1 è obbligatoria: quindi il valore va impostato su 1.",
                                 "excl", "Mirelva"};
const QStringList Section2Msg = {"Il valore della sezione numero 2 deve essere 0 o 1.", "excl", "Mirelva"};
const QStringList Section3Msg = {"Il valore della sezione numero 3 deve essere 0 o 1.", "excl", "Mirelva"};
const QStringList PicturesMsg = {
    "Le immagini inserite nel layout non vengono trovate.\r\nAccertarsi che il "
    "percorso delle immagini sia corretto e che le stesse siano presenti e valide.",
    "excl", "Mirelva - CARICAMENTO IMMAGINI"};
const QStringList SoundsMsg = {
    "I file sonori inseriti nel layout non vengono trovati.\r\nAccertarsi che il "
    "percorso dei file sonori sia corretto e che gli stessi siano presenti e validi.",
    "excl", "Mirelva - CARICAMENTO FILE DIGITALI"};
const QStringList Resources = {"Si è verificato un errore nella lettura delle risorse.\r\nControllare che le "
                               "risorse da utilizzare siano quelle previste dal programma.",
                               "excl", "Mirelva - CARICAMENTO RISORSE"};
const QStringList Error13 = {"Errore n. 13\r\nTipo non corrispondente", "excl", "Mirelva"};
const QStringList Error6 = {"Errore n. 6\r\nOverflow", "excl", "Mirelva"};

QStringList SequenceMsg(const QString& value) {
    return {
        "Il valore sequenziale « " + value +
            " » dell'input obbligato non è compreso tra 1 e 21.\r\nAccertarsi che la sequenza sia valida.",
        "excl", "Mirelva"};
}

QString IconName(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::None:
        return "none";
    case MsgIcon::Exclamation:
        return "excl";
    case MsgIcon::Information:
        return "info";
    }
    return {};
}

// A valid layout of four keys, written by hand; P stands for the program folder.
const char* const BaseLayout = "[KeyProgram]\r\n"
                               "Key=<$$-COMUNICATORE-$$>\r\n"
                               "\r\n"
                               "[Impostazioni]\r\n"
                               "Tasti = 4\r\n"
                               "IsSezione1 = 1\r\n"
                               "IsSezione2 = 1\r\n"
                               "IsSezione3 = 1\r\n"
                               "\r\n"
                               "[Input Obbligato]\r\n"
                               "IsInput = 0\r\n"
                               "\r\n"
                               "[Sequenza]\r\n"
                               "SequenzaInput1=2\r\n"
                               "SequenzaInput2=1\r\n"
                               "SequenzaInput3=4\r\n"
                               "SequenzaInput4=3\r\n"
                               "\r\n"
                               "[Bonus]\r\n"
                               "File1=P/suoni/applauso.wav\r\n"
                               "\r\n"
                               "[Sezione Immagini]\r\n"
                               "Immagine1=P/immagini/Arancia.gif\r\n"
                               "Immagine2=P/immagini/banana.gif\r\n"
                               "Immagine3=P/immagini/casa.gif\r\n"
                               "Immagine4=P/immagini/mela.gif\r\n"
                               "Immagine5=P/immagini/manca.gif\r\n"
                               "\r\n"
                               "[Sezione Sonoro]\r\n"
                               "Sonoro1=P/suoni/1.wav\r\n"
                               "Sonoro2=P/suoni/2.wav\r\n"
                               "Sonoro3=P/suoni/3.wav\r\n"
                               "Sonoro4=P/suoni/4.wav\r\n"
                               "\r\n"
                               "[Sezione Testo]\r\n"
                               "Testo1=Arancia\r\n"
                               "Testo2=\r\n"
                               "Testo3=Casa «bella»\r\n"
                               "Testo4=Mela\r\n"
                               "\r\n"
                               "[Tasti Funzione]\r\n"
                               "F1=P/layout/lay1.ini\r\n"
                               "F5=P/layout/lay5.ini\r\n";
} // namespace

class TstLayoutReader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_p = m_dir.path();
        for (const char* name : {"arancia", "banana", "casa", "mela"}) {
            QVERIFY(writeFile(m_p + "/immagini/" + name + ".gif", "GIF89a"));
        }
        for (int i = 1; i <= 4; ++i) {
            QVERIFY(writeFile(m_p + QString("/suoni/%1.wav").arg(i), "RIFF"));
        }
        QVERIFY(QDir().mkpath(m_p + "/immagini/cartella"));
        QCOMPARE(QProcess::execute("mkfifo", {m_p + "/immagini/coda"}), 0);
    }

    // Each row edits the base layout: "old=>new" replaces text, and the
    // special edits "nocfg", "nolayout" and "garbage" break the files.
    void readLayout_data() {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<Expected>("messages");

        QTest::addRow("valid layout") << QStringList() << Expected{};
        QTest::addRow("no cfg.ini") << QStringList{"nocfg"} << Expected{NoLayout, Resources};
        QTest::addRow("cfg.ini names a missing layout")
            << QStringList{"nolayout"} << Expected{NoLayout, Resources};
        QTest::addRow("marker missing")
            << QStringList{"Key=<$$-COMUNICATORE-$$>=>Key=altro"} << Expected{NotALayout, Resources};
        QTest::addRow("marker in lower case")
            << QStringList{"Key=<$$-COMUNICATORE-$$>=>KEY=<$$-comunicatore-$$>"} << Expected{};
        QTest::addRow("binary garbage") << QStringList{"garbage"} << Expected{NotALayout, Resources};
        QTest::addRow("Tasti abc") << QStringList{"Tasti = 4=>Tasti = abc"} << Expected{Error13};
        QTest::addRow("Tasti 99999") << QStringList{"Tasti = 4=>Tasti = 99999"} << Expected{Error6};
        QTest::addRow("Tasti empty") << QStringList{"Tasti = 4=>Tasti ="} << Expected{Error13};
        QTest::addRow("Tasti missing") << QStringList{"Tasti = 4=>"} << Expected{Error13};
        QTest::addRow("Tasti 04") << QStringList{"Tasti = 4=>Tasti=04"} << Expected{};
        QTest::addRow("Tasti blanks around") << QStringList{"Tasti = 4=>Tasti=\t 4 "} << Expected{};
        QTest::addRow("Tasti in quotes") << QStringList{"Tasti = 4=>Tasti=\"4\""} << Expected{};
        QTest::addRow("Tasti -3") << QStringList{"Tasti = 4=>Tasti = -3"} << Expected{KeyCountMsg, Resources};
        QTest::addRow("Tasti 5") << QStringList{"Tasti = 4=>Tasti = 5"} << Expected{KeyCountMsg, Resources};
        QTest::addRow("Tasti 0") << QStringList{"Tasti = 4=>Tasti = 0"} << Expected{KeyCountMsg, Resources};
        QTest::addRow("Tasti 22") << QStringList{"Tasti = 4=>Tasti = 22"} << Expected{KeyCountMsg, Resources};
        QTest::addRow("Tasti 1") << QStringList{"Tasti = 4=>Tasti = 1"} << Expected{};
        QTest::addRow("names in other case")
            << QStringList{"[Impostazioni]=>[impostazioni]", "Tasti = 4=>TASTI=4"} << Expected{};
        QTest::addRow("IsInput 2") << QStringList{"IsInput = 0=>IsInput = 2"}
                                   << Expected{InputMsg, Resources};
        QTest::addRow("IsInput abc") << QStringList{"IsInput = 0=>IsInput = abc"} << Expected{Error13};
        QTest::addRow("forced input with a valid sequence")
            << QStringList{"IsInput = 0=>IsInput = 1"} << Expected{};
        QTest::addRow("forced input, empty step")
            << QStringList{"IsInput = 0=>IsInput = 1", "SequenzaInput1=2=>SequenzaInput1="}
            << Expected{Resources};
        QTest::addRow("forced input, step not a number")
            << QStringList{"IsInput = 0=>IsInput = 1", "SequenzaInput2=1=>SequenzaInput2=uno"}
            << Expected{Resources};
        QTest::addRow("forced input, step 0")
            << QStringList{"IsInput = 0=>IsInput = 1", "SequenzaInput3=4=>SequenzaInput3=0"}
            << Expected{SequenceMsg("0"), Resources};
        QTest::addRow("forced input, step 22")
            << QStringList{"IsInput = 0=>IsInput = 1", "SequenzaInput1=2=>SequenzaInput1=22"}
            << Expected{SequenceMsg("22"), Resources};
        QTest::addRow("forced input, step -3")
            << QStringList{"IsInput = 0=>IsInput = 1", "SequenzaInput1=2=>SequenzaInput1=-3"}
            << Expected{SequenceMsg("-3"), Resources};
        QTest::addRow("forced input, step names a key beyond the count")
            << QStringList{"IsInput = 0=>IsInput = 1", "SequenzaInput1=2=>SequenzaInput1=7"} << Expected{};
        QTest::addRow("no forced input, sequence not read")
            << QStringList{"SequenzaInput1=2=>SequenzaInput1=x"} << Expected{};
        QTest::addRow("section 1 off")
            << QStringList{"IsSezione1 = 1=>IsSezione1 = 0"} << Expected{Section1Msg, Resources};
        QTest::addRow("section 2 is 2")
            << QStringList{"IsSezione2 = 1=>IsSezione2 = 2"} << Expected{Section2Msg, Resources};
        QTest::addRow("section 3 is 2")
            << QStringList{"IsSezione3 = 1=>IsSezione3 = 2"} << Expected{Section3Msg, Resources};
        QTest::addRow("section 2 missing") << QStringList{"IsSezione2 = 1=>"} << Expected{Error13};
        QTest::addRow("section 1 checked before 2")
            << QStringList{"IsSezione1 = 1=>IsSezione1 = 3", "IsSezione2 = 1=>IsSezione2 = x"}
            << Expected{Section1Msg, Resources};
        QTest::addRow("sections 2 and 3 off, sounds missing")
            << QStringList{"IsSezione2 = 1=>IsSezione2 = 0", "IsSezione3 = 1=>IsSezione3 = 0",
                           "Sonoro2=P/suoni/2.wav=>Sonoro2=P/suoni/manca.wav"}
            << Expected{};
        QTest::addRow("picture missing")
            << QStringList{"Immagine3=P/immagini/casa.gif=>Immagine3=P/immagini/x.gif"}
            << Expected{PicturesMsg, Resources};
        QTest::addRow("picture empty")
            << QStringList{"Immagine4=P/immagini/mela.gif=>Immagine4="} << Expected{PicturesMsg, Resources};
        QTest::addRow("sound missing")
            << QStringList{"Sonoro4=P/suoni/4.wav=>Sonoro4=P/suoni/9.wav"} << Expected{SoundsMsg, Resources};
        QTest::addRow("picture is a folder")
            << QStringList{"Immagine1=P/immagini/Arancia.gif=>Immagine1=P/immagini/cartella"} << Expected{};
        QTest::addRow("picture is a FIFO")
            << QStringList{"Immagine1=P/immagini/Arancia.gif=>Immagine1=P/immagini/coda"} << Expected{};
        QTest::addRow("picture is /dev/zero")
            << QStringList{"Immagine1=P/immagini/Arancia.gif=>Immagine1=/dev/zero"} << Expected{};
        QTest::addRow("picture pattern")
            << QStringList{"Immagine1=P/immagini/Arancia.gif=>Immagine1=P/immagini/*.gif"} << Expected{};
    }
    void readLayout() {
        QFETCH(QStringList, edits);
        QFETCH(Expected, messages);
        const QString layoutPath = m_p + "/layout/prova.ini";
        QString layout = QString::fromUtf8(BaseLayout);
        QString cfg = "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + layoutPath + "\r\n";
        QByteArray layoutBytes;
        for (const QString& edit : edits) {
            if (edit == "nocfg") {
                cfg.clear();
            } else if (edit == "nolayout") {
                cfg.replace("prova.ini", "manca.ini");
            } else if (edit == "garbage") {
                for (int i = 0; i < 4096; ++i) {
                    layoutBytes.append(static_cast<char>((i * 7919) % 251));
                }
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
        if (!cfg.isEmpty()) {
            QVERIFY(writeFile(m_p + "/cfg.ini", cfg.toLatin1()));
        }
        QVERIFY(writeFile(layoutPath, layoutBytes));

        RecordingMessages shown;
        LayoutData data;
        LayoutReader reader(m_p, shown, data);
        QCOMPARE(reader.ReadLayout(), !messages.isEmpty());
        Expected got;
        for (const auto& s : shown.shown) {
            got << QStringList{s.text, IconName(s.icon), s.title};
        }
        QCOMPARE(got, messages);
        QCOMPARE(TestSupport::readFile(layoutPath), layoutBytes); // never written
    }

    void numbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("error");
        QTest::addRow("plain") << "12" << 12 << 0;
        QTest::addRow("leading zeros") << "0004" << 4 << 0;
        QTest::addRow("blanks") << " \t4 " << 4 << 0;
        QTest::addRow("plus sign") << "+7" << 7 << 0;
        QTest::addRow("negative") << "-3" << -3 << 0;
        QTest::addRow("largest") << "32767" << 32767 << 0;
        QTest::addRow("smallest") << "-32768" << -32768 << 0;
        QTest::addRow("one too large") << "32768" << 0 << 6;
        QTest::addRow("one too small") << "-32769" << 0 << 6;
        QTest::addRow("many digits") << "000000000000000000000099999999999999999999" << 0 << 6;
        QTest::addRow("letters") << "abc" << 0 << 13;
        QTest::addRow("empty") << "" << 0 << 13;
        QTest::addRow("sign alone") << "-" << 0 << 13;
        QTest::addRow("digits then letters") << "4a" << 0 << 13;
        QTest::addRow("overflow then letters") << "99999x" << 0 << 13;
        QTest::addRow("blank inside") << "1 2" << 0 << 13;
        QTest::addRow("decimal point") << "4.0" << 0 << 13;
    }
    void numbers() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(int, error);
        const Integer16 number = Integer16::FromText(text);
        QCOMPARE(int(number.value), value);
        QCOMPARE(number.error, error);
    }

    void fillsTheRuntimeFields() {
        const QString layoutPath = m_p + "/layout/pieno.ini";
        QString layout = QString::fromUtf8(BaseLayout).replace("IsInput = 0", "IsInput = 1");
        QVERIFY(writeFile(layoutPath, layout.replace("=P/", "=" + m_p + "/").toLatin1()));
        QVERIFY(writeFile(m_p + "/cfg.ini",
                          ("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + layoutPath).toUtf8()));
        RecordingMessages shown;
        LayoutData data;
        data.InputSequence = {9, 9, 9, 9, 9, 9, 9, 9}; // left from an earlier layout
        QVERIFY(!LayoutReader(m_p, shown, data).ReadLayout());
        QCOMPARE(data.KeyCount, qint16(4));
        QCOMPARE(data.ForcedInput, qint16(1));
        QCOMPARE(data.InputSequence, (QList<qint16>{2, 1, 4, 3, 0}));
        QCOMPARE(data.SectionOn, (std::array<bool, 4>{false, true, true, true}));
        QCOMPARE(data.PicturePaths,
                 (QStringList{"", m_p + "/immagini/Arancia.gif", m_p + "/immagini/banana.gif",
                              m_p + "/immagini/casa.gif", m_p + "/immagini/mela.gif"}));
        QCOMPARE(data.SoundPaths.size(), 5);
        QCOMPARE(data.SoundPaths[4], m_p + "/suoni/4.wav");
        QCOMPARE(data.KeyTexts, (QStringList{"", "Arancia", "", "Casa «bella»", "Mela"}));
        QCOMPARE(data.FunctionKeyPaths.size(), 13);
        QCOMPARE(data.FunctionKeyPaths[1], m_p + "/layout/lay1.ini");
        QCOMPARE(data.FunctionKeyPaths[2], QString());
        QCOMPARE(data.FunctionKeyPaths[5], m_p + "/layout/lay5.ini");
        QCOMPARE(data.BonusPath, m_p + "/suoni/applauso.wav");
    }

    void switchedOffListsKeepTheirContent() {
        const QString layoutPath = m_p + "/layout/muto.ini";
        QString layout = QString::fromUtf8(BaseLayout).replace("IsSezione2 = 1", "IsSezione2 = 0");
        QVERIFY(writeFile(layoutPath, layout.replace("=P/", "=" + m_p + "/").toLatin1()));
        QVERIFY(writeFile(m_p + "/cfg.ini",
                          ("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + layoutPath).toUtf8()));
        RecordingMessages shown;
        LayoutData data;
        data.SoundPaths = QStringList{"", "vecchio.wav"};
        QVERIFY(!LayoutReader(m_p, shown, data).ReadLayout());
        QCOMPARE(data.SectionOn[2], false);
        QCOMPARE(data.SoundPaths, (QStringList{"", "vecchio.wav"}));
    }

private:
    QTemporaryDir m_dir;
    QString m_p;
};

MIRELVA_TEST(TstLayoutReader)
#include "layout_reader.moc"
