#include "config/CINIFile.h"
#include "fakes/TestSupport.h"
#include "fakes/TestRegistry.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {
CINIFile IniAt(const QString& file, const QString& section) {
    CINIFile ini;
    ini.SetFile(file);
    ini.SetSection(section);
    return ini;
}

// Test text with '@' standing for a NUL byte.
QByteArray WithNuls(QByteArray text) {
    return text.replace('@', '\0');
}

} // namespace

class TstIni : public QObject {
    Q_OBJECT
private slots:
    // An empty expected value means "not found": the failed flag must be set.
    void reads_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QByteArray& content, const char* section, const char* key,
                            const QString& expected) {
            QTest::addRow("%s", name) << content << QString(section) << QString(key) << expected;
        };
        row("blanks around equals", "[Input Obbligato]\r\nIsInput = 0\r\n", "Input Obbligato", "IsInput",
            "0");
        row("key in other case", "[KeyProgram]\r\nKey=<$$>\r\n", "KeyProgram", "key", "<$$>");
        row("section in other case", "[impostazioni]\r\nTASTI=4\r\n", "Impostazioni", "Tasti", "4");
        row("blanks in header and tabs", "  [ Imp ]  \r\n\tTasti\t=\t 8 \t\r\n", "Imp", "Tasti", "8");
        row("value of 300 characters", "[A]\r\nv=" + QByteArray(300, 'x') + "\r\n", "A", "v",
            QString(254, 'x'));
        // Quoted values.
        row("value in double quotes", "[A]\r\nv=\" ciao mondo \"\r\n", "A", "v", " ciao mondo ");
        row("one double quote kept", "[A]\r\nv=\"ciao\r\n", "A", "v", "\"ciao");
        row("quotes inside kept", "[A]\r\nv=a \"b\" c\r\n", "A", "v", "a \"b\" c");
        row("pair of quotes is empty", "[A]\r\nv=\"\"\r\n", "A", "v", "");
        row("empty value", "[Bonus]\r\nFile1=\r\n", "Bonus", "File1", "");
        row("missing key", "[Bonus]\r\nFile2=x\r\n", "Bonus", "File1", "");
        row("missing section", "[Bonus]\r\nFile1=x\r\n", "Altro", "File1", "");
        row("LF line ends", "[A]\nx=1\ny=2\n", "A", "y", "2");
        row("CR line ends", "[A]\rx=1\ry=2\r", "A", "y", "2");
        row("UTF-8 byte-order mark", "\xEF\xBB\xBF[K]\r\nKey=perch\xC3\xA8\r\n", "K", "Key", "perchè");
        row("Windows-1252 letters", "[T]\r\nT1=\xE8 \xAB\x80\xBB \x93\x94\r\n", "T", "T1", "è «€» “”");
        row("NUL bytes", WithNuls("[A]\r\nx=1@@zz\r\ny=2\r\n"), "A", "y", "2");
        row("value cut at NUL", WithNuls("[A]\r\nx=1@@zz\r\ny=2\r\n"), "A", "x", "1");
        row("duplicate keys: first wins", "[A]\r\nk=first\r\nK=second\r\n", "A", "k", "first");
        row("duplicate sections: first wins", "[A]\r\nk=first\r\n[B]\r\n[a]\r\nk=2\r\n", "A", "k", "first");
        row("duplicate section's own keys unseen", "[A]\r\nk=first\r\n[a]\r\nonly=2\r\n", "A", "only", "");
        row("keys after an unclosed header stay above", "[A]\r\n[Sezione\r\nk=1\r\n", "A", "k", "1");
        row("lines before the first header in no section", "k=1\r\n[A]\r\n", "", "k", "");
        row("line of half a megabyte", "[A]\r\nbig=" + QByteArray(1 << 19, 'm') + "\r\nk=2\r\n", "A", "k",
            "2");
        row("equals sign in the value", "[A]\r\nk=a=b\r\n", "A", "k", "a=b");
        row("line without equals sign", "[A]\r\nk\r\n", "A", "k", "");
        row("bracket in a value opens no section", "[A]\r\nk=[B]\r\n[B]\r\nk=2\r\n", "B", "k", "2");
        row("section ends at the next header", "[A]\r\nx=1\r\n[B]\r\nk=2\r\n", "A", "k", "");
        row("last line without line end", "[A]\r\n\r\n\r\nk=5", "A", "k", "5");
    }
    void reads() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QString file = m_dir.filePath("t.ini");
        QVERIFY(writeFile(file, content));
        bool gotFailed = !expected.isEmpty();
        QCOMPARE(IniAt(file, section).GetValue(key, QString(), &gotFailed), expected);
        QCOMPARE(gotFailed, expected.isEmpty());
        QCOMPARE(IniAt(file, section).GetValue(key), expected);
        QCOMPARE(IniAt(file, section).GetValue(key, "dflt"), expected.isEmpty() ? "dflt" : expected);
        QCOMPARE(readFile(file), content); // reading never writes
    }

    // "-" before: no file. Writes go through SetValues, then read back.
    void writes_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("readBack");
        const auto row = [](const char* name, const QByteArray& before, const char* section,
                            const QString& value, const QByteArray& after, const QString& readBack = "=") {
            QTest::addRow("%s", name)
                << before << QString(section) << value << after << (readBack == "=" ? value : readBack);
        };
        row("creates file and section", "-", "KeyProgram", "v", "[KeyProgram]\r\nk=v\r\n");
        row("replaces in place", "[A]\r\nK = 1\r\nz=2\r\n", "A", "5", "[A]\r\nK=5\r\nz=2\r\n");
        row("appends at the end of its section", "[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n", "a", "3",
            "[A]\r\na=1\r\nk=3\r\n\r\n[B]\r\nb=1\r\n");
        row("appends to an empty section", "[A]\r\n\r\n[B]\r\n", "A", "3", "[A]\r\nk=3\r\n\r\n[B]\r\n");
        row("new section at the end", "[A]\r\na=1\r\n", "Nuova", "v", "[A]\r\na=1\r\n[Nuova]\r\nk=v\r\n");
        row("first of duplicate sections", "[A]\r\nx=1\r\n[A]\r\nk=2\r\n", "A", "9",
            "[A]\r\nx=1\r\nk=9\r\n[A]\r\nk=2\r\n");
        row("Windows-1252 round trip", "-", "T", "è «ciao» €",
            "[T]\r\nk=\xE8 \xAB"
            "ciao\xBB \x80\r\n");
        row("LF file rewritten with CR LF", "[A]\nk=1\n", "A", "2", "[A]\r\nk=2\r\n");
        row("line break in a value stays on its line", "-", "A", "a\r\nb", "[A]\r\nk=a  b\r\n", "a  b");
        row("Greek turns a Windows-1252 file into UTF-8", "[a]\r\nx=caff\xE8\r\n", "b", "Καλημέρα",
            "\xEF\xBB\xBF[a]\r\nx=caff\xC3\xA8\r\n[b]\r\nk=" + QString("Καλημέρα").toUtf8() + "\r\n");
        row("UTF-8 file stays UTF-8", "\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "è",
            "\xEF\xBB\xBF[A]\r\nk=\xC3\xA8\r\n");
        row("other bytes survive a rewrite", WithNuls("[A]\r\nbin=\x81\x8D@\xFF\r\nk=1\r\n"), "A", "2",
            WithNuls("[A]\r\nbin=\x81\x8D@\xFF\r\nk=2\r\n"));
        row("unclosed header kept as a line", "[A]\r\n[B\r\n", "A", "1", "[A]\r\n[B\r\nk=1\r\n");
    }
    void writes() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, value);
        const QString file = m_dir.filePath("w.ini");
        QFile::remove(file);
        QVERIFY(before == "-" || writeFile(file, before));
        CINIFile ini = IniAt(file, section);
        ini.SetValues("k", value);
        QTEST(readFile(file), "after");
        QTEST(ini.GetValue("k"), "readBack");
    }

    // Every instance, whatever case it names the file and section in, sees the file as it is now.
    void instancesSeeEachOthersWrites() {
        QVERIFY(writeFile(m_dir.filePath("Layout/Lay1.INI"), "[A]\r\nk=1\r\n"));
        IniAt(m_dir.filePath("layout/lay1.ini"), "a").SetValues("k", "2");
        QCOMPARE(readFile(m_dir.filePath("Layout/Lay1.INI")), QByteArray("[A]\r\nk=2\r\n"));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("Layout/lay1.ini")));
        const QString file = m_dir.filePath("shared.ini");
        CINIFile a = IniAt(file, "KeyProgram");
        a.SetValues("File", "uno");
        QCOMPARE(IniAt(file, "keyprogram").GetValue("file"), QString("uno"));
        QVERIFY(writeFile(file, "[KeyProgram]\r\nFile=due\r\n")); // changed behind their back
        QCOMPARE(a.GetValue("File"), QString("due"));
    }

    // Places where a write cannot happen. Tests run as root, for whom the
    // permission bits alone block nothing, so each row builds a real obstacle.
    void unwritableFilesStayUntouched_data() {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"readonly", "folder", "nofolder", "fifo"}) {
            QTest::addRow("%s", kind) << kind;
        }
    }
    void unwritableFilesStayUntouched() {
        QFETCH(QString, kind);
        const QString dir = m_dir.filePath("u-" + kind);
        QString file = dir + "/cfg.ini";
        QVERIFY(QDir().mkpath(kind == "folder" ? file : dir));
        if (kind == "readonly") {
            QVERIFY(writeFile(file, "[KeyProgram]\r\nFile=x\r\n"));
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup));
        } else if (kind == "nofolder") {
            file = dir + "/nowhere/cfg.ini";
        } else if (kind == "fifo") {
            QVERIFY(QProcess::execute("mkfifo", {file}) == 0);
        }
        const QStringList before = TestSupport::snapshot(dir);
        CINIFile ini = IniAt(file, "KeyProgram");
        ini.SetValues("File", "nuovo");
        QCOMPARE(ini.GetValue("File"), QString(kind == "readonly" ? "x" : ""));
        QCOMPARE(TestSupport::snapshot(dir), before);
    }

    // A device or a file past the size limit is neither read (a hang) nor rewritten.
    void oversizedFilesAreLeftAlone() {
        bool failed = false;
        QCOMPARE(IniAt("/dev/zero", "KeyProgram").GetValue("Key", QString(), &failed), QString());
        QVERIFY(failed);
        const QString file = m_dir.filePath("huge.ini");
        QVERIFY(writeFile(file, "[A]\r\nk=1\r\n"));
        QFile f(file);
        QVERIFY(f.resize(65LL << 20)); // sparse: costs no disk space
        CINIFile ini = IniAt(file, "A");
        QCOMPARE(ini.GetValue("k"), QString());
        ini.SetValues("k", "2");
        QCOMPARE(QFileInfo(file).size(), 65LL << 20);
        QVERIFY(readFile(file).startsWith("[A]\r\nk=1\r\n"));
    }

private:
    QTemporaryDir m_dir;
};

MIRELVA_TEST(TstIni)
#include "ini.moc"
