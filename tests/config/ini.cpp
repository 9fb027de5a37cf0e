#include "config/CINIFile.h"
#include "config/Windows1252.h"
#include "fakes/TestSupport.h"
#include "fakes/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {
const QString Marker = QStringLiteral("<$$-COMUNICATORE-$$>");

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

// A section whose keys k1..kN each carry a value of `width` characters.
QByteArray SectionOf(int keys, int width) {
    QByteArray out = "[Big]\r\n";
    for (int i = 1; i <= keys; ++i) {
        out += "k" + QByteArray::number(i) + "=" + QByteArray(width, 'v') + "\r\n";
    }
    return out + "[After]\r\nx=1\r\n";
}
} // namespace

class TstIni : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void readsLikeThePlatform_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("failed");

        QTest::addRow("blanks around equals")
            << QByteArray("[Input Obbligato]\r\nIsInput = 0\r\n") << "Input Obbligato"
            << "IsInput"
            << "0" << false;
        QTest::addRow("key in other case")
            << QByteArray("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n") << "KeyProgram"
            << "key" << Marker << false;
        QTest::addRow("section in other case")
            << QByteArray("[impostazioni]\r\nTASTI=4\r\n") << "Impostazioni"
            << "Tasti"
            << "4" << false;
        QTest::addRow("blanks in header and tabs")
            << QByteArray("  [ Impostazioni ]  \r\n\tTasti\t=\t 8 \t\r\n") << "Impostazioni"
            << "Tasti"
            << "8" << false;
        QTest::addRow("value of 300 characters")
            << QByteArray("[A]\r\nv=" + QByteArray(300, 'x') + "\r\n") << "A"
            << "v" << QString(254, 'x') << false;
        QTest::addRow("value in double quotes") << QByteArray("[A]\r\nv=\" ciao mondo \"\r\n") << "A"
                                                << "v"
                                                << " ciao mondo " << false;
        QTest::addRow("one double quote kept") << QByteArray("[A]\r\nv=\"ciao\r\n") << "A"
                                               << "v"
                                               << "\"ciao" << false;
        QTest::addRow("quotes inside kept") << QByteArray("[A]\r\nv=a \"b\" c\r\n") << "A"
                                            << "v"
                                            << "a \"b\" c" << false;
        QTest::addRow("pair of quotes is empty") << QByteArray("[A]\r\nv=\"\"\r\n") << "A"
                                                 << "v"
                                                 << "" << true;
        QTest::addRow("empty value") << QByteArray("[Bonus]\r\nFile1=\r\n") << "Bonus"
                                     << "File1"
                                     << "" << true;
        QTest::addRow("missing key") << QByteArray("[Bonus]\r\nFile2=x\r\n") << "Bonus"
                                     << "File1"
                                     << "" << true;
        QTest::addRow("missing section") << QByteArray("[Bonus]\r\nFile1=x\r\n") << "Altro"
                                         << "File1"
                                         << "" << true;
        QTest::addRow("LF line ends") << QByteArray("[A]\nx=1\ny=2\n") << "A"
                                      << "y"
                                      << "2" << false;
        QTest::addRow("CR line ends") << QByteArray("[A]\rx=1\ry=2\r") << "A"
                                      << "y"
                                      << "2" << false;
        QTest::addRow("UTF-8 byte-order mark")
            << QByteArray("\xEF\xBB\xBF[KeyProgram]\r\nKey=perch\xC3\xA8\r\n") << "KeyProgram"
            << "Key" << QString::fromUtf8("perch\xC3\xA8") << false;
        QTest::addRow("Windows-1252 letters")
            << QByteArray("[Sezione Testo]\r\nTesto1=\xE8 \xAB\x80\xBB \x93\x94\r\n") << "Sezione Testo"
            << "Testo1" << QString::fromUtf8("è «€» “”") << false;
        QTest::addRow("NUL bytes") << WithNuls("[A]\r\nx=1@@zz\r\ny=2\r\n") << "A"
                                   << "y"
                                   << "2" << false;
        QTest::addRow("value cut at NUL") << WithNuls("[A]\r\nx=1@@zz\r\ny=2\r\n") << "A"
                                          << "x"
                                          << "1" << false;
        QTest::addRow("duplicate keys: first wins") << QByteArray("[A]\r\nk=first\r\nK=second\r\n") << "A"
                                                    << "k"
                                                    << "first" << false;
        QTest::addRow("duplicate sections: first wins")
            << QByteArray("[A]\r\nk=first\r\n[B]\r\n[a]\r\nk=second\r\nonly=2\r\n") << "A"
            << "k"
            << "first" << false;
        QTest::addRow("duplicate section's own keys unseen")
            << QByteArray("[A]\r\nk=first\r\n[a]\r\nonly=2\r\n") << "A"
            << "only"
            << "" << true;
        QTest::addRow("header without closing bracket is no section")
            << QByteArray("[A]\r\n[Sezione\r\nk=1\r\n") << "Sezione"
            << "k"
            << "" << true;
        QTest::addRow("keys after an unclosed header stay in the section above")
            << QByteArray("[A]\r\n[Sezione\r\nk=1\r\n") << "A"
            << "k"
            << "1" << false;
        QTest::addRow("lines before the first header belong to no section")
            << QByteArray("k=1\r\n[A]\r\n") << ""
            << "k"
            << "" << true;
        QTest::addRow("line of megabytes")
            << QByteArray("[A]\r\nbig=" + QByteArray(3 << 20, 'm') + "\r\nk=2\r\n") << "A"
            << "k"
            << "2" << false;
        QTest::addRow("line of megabytes is cut")
            << QByteArray("[A]\r\nbig=" + QByteArray(3 << 20, 'm')) << "A"
            << "big" << QString(254, 'm') << false;
        QTest::addRow("equals sign in the value") << QByteArray("[A]\r\nk=a=b\r\n") << "A"
                                                  << "k"
                                                  << "a=b" << false;
        QTest::addRow("line without equals sign") << QByteArray("[A]\r\nk\r\n") << "A"
                                                  << "k"
                                                  << "" << true;
        QTest::addRow("bracket in a value opens no section")
            << QByteArray("[A]\r\nk=[B]\r\n[B]\r\nk=2\r\n") << "B"
            << "k"
            << "2" << false;
        QTest::addRow("value holding a header") << QByteArray("[A]\r\nk=[B]\r\n[B]\r\nk=2\r\n") << "A"
                                                << "k"
                                                << "[B]" << false;
        QTest::addRow("section ends at the next header") << QByteArray("[A]\r\nx=1\r\n[B]\r\nk=2\r\n") << "A"
                                                         << "k"
                                                         << "" << true;
        QTest::addRow("last line without line end") << QByteArray("[A]\r\n\r\n\r\nk=5") << "A"
                                                    << "k"
                                                    << "5" << false;
    }
    void readsLikeThePlatform() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QFETCH(bool, failed);
        const QString file = m_dir.filePath("t.ini");
        QVERIFY(writeFile(file, content));
        bool gotFailed = !failed;
        QCOMPARE(IniAt(file, section).GetValue(key, QString(), &gotFailed), expected);
        QCOMPARE(gotFailed, failed);
        QCOMPARE(IniAt(file, section).Values(key), expected);
        QCOMPARE(readFile(file), content); // reading never writes
    }

    void defaultsAndFailedFlag_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("defaultValue");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("failed");
        QTest::addRow("missing key, default given") << QByteArray("[A]\r\n") << "dflt"
                                                    << "dflt" << false;
        QTest::addRow("empty value, default given") << QByteArray("[A]\r\nk=\r\n") << "dflt"
                                                    << "dflt" << true;
        QTest::addRow("present value beats default") << QByteArray("[A]\r\nk=v\r\n") << "dflt"
                                                     << "v" << false;
        QTest::addRow("missing file, default given") << QByteArray() << "dflt"
                                                     << "dflt" << false;
    }
    void defaultsAndFailedFlag() {
        QFETCH(QByteArray, content);
        QFETCH(QString, defaultValue);
        QFETCH(QString, expected);
        QFETCH(bool, failed);
        const QString file = m_dir.filePath("d.ini");
        QFile::remove(file);
        if (!content.isEmpty()) {
            QVERIFY(writeFile(file, content));
        }
        bool gotFailed = !failed;
        QCOMPARE(IniAt(file, "A").GetValue("k", defaultValue, &gotFailed), expected);
        QCOMPARE(gotFailed, failed);
    }

    void writesLikeThePlatform_data() {
        QTest::addColumn<QByteArray>("before"); // "-" for no file
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("after");

        QTest::addRow("creates file and section")
            << QByteArray("-") << "KeyProgram"
            << "Key" << QVariant(Marker) << QByteArray("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n");
        QTest::addRow("replaces in place") << QByteArray("[A]\r\nk = 1\r\nz=2\r\n") << "A"
                                           << "K" << QVariant(5) << QByteArray("[A]\r\nk=5\r\nz=2\r\n");
        QTest::addRow("appends at the end of its section")
            << QByteArray("[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n") << "a"
            << "c" << QVariant("3") << QByteArray("[A]\r\na=1\r\nc=3\r\n\r\n[B]\r\nb=1\r\n");
        QTest::addRow("appends to an empty section")
            << QByteArray("[A]\r\n\r\n[B]\r\n") << "A"
            << "c" << QVariant("3") << QByteArray("[A]\r\nc=3\r\n\r\n[B]\r\n");
        QTest::addRow("new section at the end of the file")
            << QByteArray("[A]\r\na=1\r\n") << "Nuova"
            << "k" << QVariant("v") << QByteArray("[A]\r\na=1\r\n[Nuova]\r\nk=v\r\n");
        QTest::addRow("first of duplicate keys written")
            << QByteArray("[A]\r\nk=1\r\nk=2\r\n") << "A"
            << "k" << QVariant("9") << QByteArray("[A]\r\nk=9\r\nk=2\r\n");
        QTest::addRow("first of duplicate sections written")
            << QByteArray("[A]\r\nx=1\r\n[A]\r\ny=2\r\n") << "A"
            << "y" << QVariant("9") << QByteArray("[A]\r\nx=1\r\ny=9\r\n[A]\r\ny=2\r\n");
        QTest::addRow("Windows-1252 round trip") << QByteArray("-") << "Sezione Testo"
                                                 << "Testo1" << QVariant(QString::fromUtf8("è «ciao» € ж"))
                                                 << QByteArray("[Sezione Testo]\r\nTesto1=\xE8 \xAB"
                                                               "ciao\xBB \x80 ?\r\n");
        QTest::addRow("LF file rewritten with CR LF") << QByteArray("[A]\nk=1\n") << "A"
                                                      << "k" << QVariant("2") << QByteArray("[A]\r\nk=2\r\n");
        QTest::addRow("line break in a value stays on its line")
            << QByteArray("-") << "A"
            << "k" << QVariant("a\r\nb") << QByteArray("[A]\r\nk=a  b\r\n");
        QTest::addRow("UTF-8 file stays UTF-8")
            << QByteArray("\xEF\xBB\xBF[A]\r\nk=1\r\n") << "A"
            << "k" << QVariant(QString::fromUtf8("è")) << QByteArray("\xEF\xBB\xBF[A]\r\nk=\xC3\xA8\r\n");
        QTest::addRow("other bytes survive a rewrite")
            << WithNuls("[A]\r\nbin=\x81\x8D@\xFF\r\nk=1\r\n") << "A"
            << "k" << QVariant("2") << WithNuls("[A]\r\nbin=\x81\x8D@\xFF\r\nk=2\r\n");
        QTest::addRow("unclosed header kept as a line")
            << QByteArray("[A]\r\n[B\r\n") << "A"
            << "k" << QVariant("1") << QByteArray("[A]\r\n[B\r\nk=1\r\n");
    }
    void writesLikeThePlatform() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(QByteArray, after);
        const QString file = m_dir.filePath("w.ini");
        QFile::remove(file);
        if (before != "-") {
            QVERIFY(writeFile(file, before));
        }
        CINIFile ini = IniAt(file, section);
        ini.SetValues(key, value);
        QCOMPARE(readFile(file), after);
        QCOMPARE(ini.GetValue(key), value.toString().replace("\r\n", "  ").replace(QChar(0x436), "?"));
    }

    void deletesAndSections_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QByteArray>("after");
        const QByteArray three = "[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\nc=2\r\n\r\n[C]\r\nc=3\r\n";
        QTest::addRow("delete key") << three << "DeleteKey"
                                    << "B"
                                    << QByteArray("[A]\r\na=1\r\n\r\n[B]\r\nc=2\r\n\r\n[C]\r\nc=3\r\n");
        QTest::addRow("delete missing key changes nothing") << three << "DeleteKey"
                                                            << "X" << three;
        QTest::addRow("delete section") << three << "DeleteSection"
                                        << "b" << QByteArray("[A]\r\na=1\r\n\r\n[C]\r\nc=3\r\n");
        QTest::addRow("delete missing section changes nothing") << three << "DeleteSection"
                                                                << "X" << three;
        QTest::addRow("add existing section changes nothing") << three << "AddSection"
                                                              << "b" << three;
        QTest::addRow("add new section") << three << "AddSection"
                                         << "Nuova" << three + "[Nuova]\r\n";
        QTest::addRow("add section to a new file") << QByteArray("-") << "AddSection"
                                                   << "KeyProgram" << QByteArray("[KeyProgram]\r\n");
        QTest::addRow("write section replaces its lines")
            << three << "WriteSection"
            << "B" << QByteArray("[A]\r\na=1\r\n\r\n[B]\r\nx=9\r\ny=8\r\n\r\n[C]\r\nc=3\r\n");
        QTest::addRow("write section creates it") << QByteArray("-") << "WriteSection"
                                                  << "B" << QByteArray("[B]\r\nx=9\r\ny=8\r\n");
    }
    void deletesAndSections() {
        QFETCH(QByteArray, before);
        QFETCH(QString, operation);
        QFETCH(QString, argument);
        QFETCH(QByteArray, after);
        const QString file = m_dir.filePath("s.ini");
        QFile::remove(file);
        if (before != "-") {
            QVERIFY(writeFile(file, before));
        }
        CINIFile ini = IniAt(file, "B");
        if (operation == "DeleteKey") {
            ini.DeleteKey(argument == "B" ? "b" : argument);
        } else if (operation == "DeleteSection") {
            ini.DeleteSection(argument);
            QCOMPARE(ini.Section(), QString("B"));
        } else if (operation == "AddSection") {
            ini.AddSection(argument, true);
            QCOMPARE(ini.Section(), argument);
        } else {
            ini.SetSection(argument);
            ini.WriteSection(QStringList{"x=9", "y=8"});
        }
        QCOMPARE(readFile(file), after);
    }

    void writeSectionIgnoresWhatIsNotAList_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("after");
        const QByteArray before = "[B]\r\nb=1\r\n";
        QTest::addRow("a string") << QVariant("x=1") << before;
        QTest::addRow("a number") << QVariant(3) << before;
        QTest::addRow("a list with a number") << QVariant(QVariantList{"x=1", 2}) << before;
        QTest::addRow("a list of strings") << QVariant(QVariantList{"x=1"}) << QByteArray("[B]\r\nx=1\r\n");
        QTest::addRow("an empty element ends the list")
            << QVariant(QStringList{"x=1", "", "y=2"}) << QByteArray("[B]\r\nx=1\r\n");
    }
    void writeSectionIgnoresWhatIsNotAList() {
        QFETCH(QVariant, value);
        QFETCH(QByteArray, after);
        const QString file = m_dir.filePath("ws.ini");
        QVERIFY(writeFile(file, "[B]\r\nb=1\r\n"));
        IniAt(file, "B").WriteSection(value);
        QCOMPARE(readFile(file), after);
    }

    void instancesSeeEachOthersWrites() {
        const QString file = m_dir.filePath("shared.ini");
        CINIFile a = IniAt(file, "KeyProgram");
        const CINIFile b = IniAt(file, "keyprogram");
        a.SetValues("File", "uno");
        QCOMPARE(b.GetValue("file"), QString("uno"));
        QVERIFY(writeFile(file, "[KeyProgram]\r\nFile=due\r\n")); // changed behind their back
        QCOMPARE(a.GetValue("File"), QString("due"));
    }

    void fileAssignmentEmptiesSection() {
        const QString file = m_dir.filePath("f.ini");
        QVERIFY(writeFile(file, "[A]\r\nk=1\r\n"));
        CINIFile ini = IniAt(file, "A");
        QCOMPARE(ini.GetValue("k"), QString("1"));
        ini.SetFile(file);
        QCOMPARE(ini.Section(), QString());
        QCOMPARE(ini.GetValue("k", "dflt"), QString("dflt"));
        QCOMPARE(ini.File(), file);
    }

    void sharedIniResets() {
        SharedIni().SetFile("x.ini");
        SharedIni().SetSection("S");
        ResetSharedIni();
        QCOMPARE(SharedIni().File(), QString());
        QCOMPARE(SharedIni().Section(), QString());
    }

    // Places where a write cannot happen. Tests run as root, for whom the
    // permission bits alone block nothing, so each row builds a real obstacle.
    void unwritableFilesStayUntouched_data() {
        QTest::addColumn<QString>("kind");
        QTest::addRow("read-only file") << "readonly";
        QTest::addRow("folder named like the file") << "folder";
        QTest::addRow("parent is a regular file") << "parentfile";
        QTest::addRow("missing folder") << "nofolder";
        QTest::addRow("FIFO") << "fifo";
    }
    void unwritableFilesStayUntouched() {
        QFETCH(QString, kind);
        QString file = m_dir.filePath("cfg.ini");
        QFile::remove(file);
        QDir(file).removeRecursively();
        const QByteArray content = "[KeyProgram]\r\nFile=x\r\n";
        if (kind == "readonly") {
            QVERIFY(writeFile(file, content));
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(file));
        } else if (kind == "parentfile") {
            QVERIFY(writeFile(m_dir.filePath("plain"), content));
            file = m_dir.filePath("plain/cfg.ini");
        } else if (kind == "nofolder") {
            file = m_dir.filePath("nowhere/cfg.ini");
        } else {
            QVERIFY(QProcess::execute("mkfifo", {file}) == 0);
        }
        CINIFile ini = IniAt(file, "KeyProgram");
        ini.SetValues("File", "nuovo");
        ini.AddSection("Altro");
        ini.DeleteKey("File");
        ini.DeleteSection("KeyProgram");
        ini.WriteSection(QStringList{"a=1"});
        QCOMPARE(ini.InsertRow(), 0);
        QCOMPARE(ini.GetValue("Altro"), QString());
        if (kind == "readonly") {
            QCOMPARE(readFile(file), content);
            QCOMPARE(ini.GetValue("File"), QString("x"));
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        } else if (kind == "folder") {
            QVERIFY(QFileInfo(file).isDir());
        } else if (kind == "parentfile") {
            QCOMPARE(readFile(m_dir.filePath("plain")), content);
        } else if (kind == "nofolder") {
            QVERIFY(!QFileInfo::exists(m_dir.filePath("nowhere")));
        } else {
            QVERIFY(!QFileInfo(file).isFile());
            QFile::remove(file);
        }
    }

    void deviceReadsAsAbsent() {
        const CINIFile ini = IniAt("/dev/zero", "KeyProgram");
        bool failed = false;
        QCOMPARE(ini.GetValue("Key", QString(), &failed), QString());
        QVERIFY(failed);
    }

    void fileBeyondTheSizeLimitIsLeftAlone() {
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

    void binaryGarbageReadsWithoutCrash() {
        QByteArray garbage;
        quint32 seed = 12345;
        for (int i = 0; i < 100000; ++i) {
            seed = seed * 1103515245u + 12345u;
            garbage.append(static_cast<char>(seed >> 24));
        }
        const QString file = m_dir.filePath("garbage.ini");
        QVERIFY(writeFile(file, garbage));
        CINIFile ini = IniAt(file, "KeyProgram");
        QCOMPARE(ini.GetValue("Key"), QString());
        std::optional<QStringList> names;
        ini.EnumSections(names); // whatever it finds, it must not crash
        ini.SetValues("Key", Marker);
        QCOMPARE(ini.GetValue("Key"), Marker);
    }

    void caseVariantIsTheSameFile() {
        QVERIFY(writeFile(m_dir.filePath("Layout/Lay1.INI"), "[A]\r\nk=1\r\n"));
        CINIFile ini = IniAt(m_dir.filePath("layout/lay1.ini"), "A");
        QCOMPARE(ini.GetValue("k"), QString("1"));
        ini.SetValues("k", "2");
        QCOMPARE(readFile(m_dir.filePath("Layout/Lay1.INI")), QByteArray("[A]\r\nk=2\r\n"));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("Layout/lay1.ini")));
    }

    void writeKeepsPermissions() {
        const QString file = m_dir.filePath("perm.ini");
        QVERIFY(writeFile(file, "[A]\r\n"));
        const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(file, perms));
        IniAt(file, "A").SetValues("k", 1);
        const auto ownerGroupOther = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                     QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                     QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFile::permissions(file) & ownerGroupOther, perms);
    }

    void insertRowAppendsAnEmptyLine() {
        const QString file = m_dir.filePath("rows.ini");
        QVERIFY(writeFile(file, "[A]\r\nk=1\r\n"));
        CINIFile ini = IniAt(file, "Zzz");
        QCOMPARE(ini.InsertRow(), 1);
        QCOMPARE(readFile(file), QByteArray("[A]\r\nk=1\r\n\r\n"));
        ini.SetFile(m_dir.filePath("missing/rows.ini"));
        QCOMPARE(ini.InsertRow(), 0);
        ini.SetFile(QString());
        QCOMPARE(ini.InsertRow(), 0);
    }

    void enumerations_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<int>("keyCount");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("values");

        QTest::addRow("five keys") << QByteArray(
                                          "[S]\r\na=1\r\nbb = 22\r\nc=\r\nd=4\r\neee=5\r\n[T]\r\nx=1\r\n")
                                   << "s" << 5 << QStringList{"a", "bb", "c", "d", "eee"}
                                   << QStringList{"1", "22", "", "4", "5"};
        QTest::addRow("entry without equals sign leaves its element empty")
            << QByteArray("[S]\r\nalpha=1\r\nsolo\r\ngamma=3\r\n") << "S" << 3
            << QStringList{"alpha", "", "gamma"} << QStringList{"1", "", "3"};
        QTest::addRow("empty section")
            << QByteArray("[S]\r\n\r\n[T]\r\nx=1\r\n") << "S" << -1 << QStringList() << QStringList();
        QTest::addRow("missing section")
            << QByteArray("[T]\r\nx=1\r\n") << "S" << -1 << QStringList() << QStringList();
        QTest::addRow("missing file") << QByteArray() << "S" << -1 << QStringList() << QStringList();
        QStringList keys;
        QStringList values;
        for (int i = 1; i <= 150; ++i) {
            keys << "k" + QString::number(i);
            values << QString(20, 'v');
        }
        // About 3900 characters: the first buffer of 2047 is too small.
        QTest::addRow("grows to the second buffer") << SectionOf(150, 20) << "Big" << 150 << keys << values;
        keys.clear();
        values.clear();
        for (int i = 1; i <= 300; ++i) {
            keys << "k" + QString::number(i);
            values << QString(45, 'v');
        }
        // About 15000 characters: fits only the fourth buffer of 16383.
        QTest::addRow("grows to the fourth buffer") << SectionOf(300, 45) << "Big" << 300 << keys << values;
        // About 16600 characters: too big even for the fourth buffer.
        QTest::addRow("too big for every buffer")
            << SectionOf(300, 50) << "Big" << -1 << QStringList() << QStringList();
    }
    void enumerations() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(int, keyCount);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, values);
        const QString file = m_dir.filePath("e.ini");
        QFile::remove(file);
        if (!content.isEmpty()) {
            QVERIFY(writeFile(file, content));
        }
        const CINIFile ini = IniAt(file, section);
        std::optional<QStringList> gotKeys = QStringList{"stale"};
        std::optional<QStringList> gotValues = QStringList{"stale"};
        std::optional<std::pair<QStringList, QStringList>> pairs =
            std::pair{QStringList{"s"}, QStringList{"s"}};
        QCOMPARE(ini.EnumSectionKeys(gotKeys), keyCount);
        QCOMPARE(ini.EnumSectionValues(gotValues), keyCount);
        QCOMPARE(ini.EnumSectionValuePairs(pairs), keyCount);
        if (keyCount < 0) {
            QVERIFY(!gotKeys && !gotValues && !pairs);
            return;
        }
        QCOMPARE(*gotKeys, keys);
        QCOMPARE(*gotValues, values);
        QCOMPARE(pairs->first, keys);
        QCOMPARE(pairs->second, values);
    }

    void sectionNames_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("names");
        QTest::addRow("three sections") << QByteArray("[Alpha]\r\na=1\r\n[ Beta ]\r\n[Gamma]\r\n") << 3
                                        << QStringList{"Alpha", "Beta", "Gamma"};
        QTest::addRow("duplicates listed")
            << QByteArray("[Alpha]\r\n[alpha]\r\n[Omega]\r\n") << 3 << QStringList{"Alpha", "alpha", "Omega"};
        // The loop stops when three characters or fewer are left, so a last
        // name of one character is never taken.
        QTest::addRow("last one-letter name not taken")
            << QByteArray("[Alpha]\r\n[B]\r\n") << 1 << QStringList{"Alpha"};
        QTest::addRow("no sections") << QByteArray("k=1\r\n") << -1 << QStringList();
    }
    void sectionNames() {
        QFETCH(QByteArray, content);
        QFETCH(int, count);
        QFETCH(QStringList, names);
        const QString file = m_dir.filePath("n.ini");
        QVERIFY(writeFile(file, content));
        std::optional<QStringList> got;
        QCOMPARE(IniAt(file, "").EnumSections(got), count);
        if (count < 0) {
            QVERIFY(!got);
        } else {
            QCOMPARE(*got, names);
        }
    }

    void windows1252RoundTripsEveryByte() {
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            all.append(static_cast<char>(b));
        }
        const QString text = Windows1252::Decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QCOMPARE(text.at(0x9F), QChar(0x0178));
        QCOMPARE(text.at(0x81), QChar(0x0081));
        QCOMPARE(text.at(0xE8), QChar(0x00E8));
        QCOMPARE(Windows1252::Encode(text), all);
        QCOMPARE(Windows1252::Encode(QString::fromUtf8("ā😀")), QByteArray("??"));
    }

private:
    QTemporaryDir m_dir;
};

MIRELVA_TEST(TstIni)
#include "ini.moc"
