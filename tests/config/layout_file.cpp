#include "config/IniSnapshot.h"
#include "config/LayoutFile.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {
LayoutContent FourKeys() {
    LayoutContent c;
    c.KeyCount = 4;
    c.Section3On = 1;
    for (int k = 0; k < 4; ++k) {
        c.Pictures[k] = QStringLiteral("/p/%1.gif").arg(k + 1);
        c.Texts[k] = QStringLiteral("parola %1").arg(k + 1);
    }
    c.FunctionKeyLayouts[0] = QStringLiteral("/p/lay1.ini");
    return c;
}

// The settings window's read of bytes an encoding produced.
LayoutFile::Editable Reread(const LayoutContent& c) {
    return LayoutFile::ReadForEditing(IniSnapshot::FromBytes(LayoutFile::Encode(c)));
}
} // namespace

class TstLayoutFile : public QObject {
    Q_OBJECT
private slots:
    // What is encoded reads back as it was, whatever the letters, and a value
    // never spills onto a line of its own.
    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readBack");
        QTest::addColumn<bool>("utf8");
        const auto row = [](const char* name, const QString& text, const QString& readBack, bool utf8) {
            QTest::addRow("%s", name) << text << readBack << utf8;
        };
        row("accents and guillemets", "perché «sì»", "perché «sì»", false);
        row("Greek needs UTF-8", "Καλημέρα", "Καλημέρα", true);
        row("line breaks become blanks", "una\r\ndue\nTasti=9", "una  due Tasti=9", false);
        row("a NUL ends the value", QString("prima") + QChar(0) + "dopo", "prima", false);
        row("a header-like text stays a value", "[Impostazioni]", "[Impostazioni]", false);
    }
    void roundTrip() {
        QFETCH(QString, text);
        LayoutContent c = FourKeys();
        c.Texts[1] = text;
        const QByteArray bytes = LayoutFile::Encode(c);
        QTEST(bytes.startsWith("\xEF\xBB\xBF"), "utf8");
        const LayoutFile::Editable read = Reread(c);
        QCOMPARE(read.fault, LayoutFile::Fault::Kind::None);
        QTEST(read.content.Texts[1], "readBack");
        QCOMPARE(read.content.Texts[2], c.Texts[2]);
        QCOMPARE(read.content.KeyCount, c.KeyCount);
    }

    // Links travel in a section of their own that only layouts with links
    // have: the rest of the file keeps its bytes, and both readers find them.
    void links() {
        LayoutContent c = FourKeys();
        const QByteArray without = LayoutFile::Encode(c);
        QVERIFY(!without.contains("Collegament"));
        c.Links[1] = QStringLiteral("/p/cibo.ini");
        c.Links[3] = LayoutFile::LinkBack;
        const QByteArray with = LayoutFile::Encode(c);
        QVERIFY(with.startsWith(without + "\r\n[Collegamenti]\r\n"));
        QCOMPARE(Reread(c).content.Links, c.Links);

        QTemporaryDir dir;
        for (int k = 1; k <= 4; ++k) {
            QVERIFY(writeFile(QStringLiteral("%1/%2.gif").arg(dir.path()).arg(k), "GIF89a"));
            c.Pictures[k - 1] = QStringLiteral("%1/%2.gif").arg(dir.path()).arg(k);
        }
        LayoutData data;
        QCOMPARE(LayoutFile::Load(IniSnapshot::FromBytes(LayoutFile::Encode(c)), data).kind,
                 LayoutFile::Fault::Kind::None);
        QCOMPARE(data.LinkPaths, (QStringList{"", "", "/p/cibo.ini", "", LayoutFile::LinkBack}));
        QCOMPARE(data.Voice, QString());

        // A voice of its own follows the links, and both readers find it.
        c.Voice = QStringLiteral("festival:itapc16k");
        const QByteArray voiced = LayoutFile::Encode(c);
        QVERIFY(voiced.endsWith("\r\n\r\n[Voce]\r\nNome=festival:itapc16k\r\n"));
        QCOMPARE(Reread(c).content.Voice, c.Voice);
        QCOMPARE(LayoutFile::Load(IniSnapshot::FromBytes(voiced), data).kind, LayoutFile::Fault::Kind::None);
        QCOMPARE(data.Voice, c.Voice);
    }

    // The settings window opens what it can mend; the table's rules refuse more.
    void twoPolicies_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("editingFault");
        QTest::addColumn<int>("editedKeys");
        QTest::addColumn<int>("tableFault");
        const auto row = [](const char* name, const QString& key, const QString& value, int editingFault,
                            int editedKeys, int tableFault) {
            QTest::addRow("%s", name) << key << value << editingFault << editedKeys << tableFault;
        };
        using K = LayoutFile::Fault::Kind;
        row("Tasti=0", "Tasti", "0", int(K::None), 0, int(K::KeyCount));
        row("Tasti=5", "Tasti", "5", int(K::None), 5, int(K::KeyCount));
        row("Tasti=22", "Tasti", "22", int(K::KeyCount), 0, int(K::KeyCount));
        row("Tasti=abc", "Tasti", "abc", int(K::NotALayout), 0, int(K::NotANumber));
        row("IsSezione3=2", "IsSezione3", "2", int(K::None), 4, int(K::Section3));
        row("IsSezione2=x", "IsSezione2", "x", int(K::NotALayout), 0, int(K::NotANumber));
    }
    void twoPolicies() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QString text = QString::fromLatin1(LayoutFile::Encode(FourKeys()));
        const QRegularExpression line(QStringLiteral("\\r\\n%1=[^\\r]*").arg(key));
        QVERIFY(text.contains(line));
        text.replace(line, QStringLiteral("\r\n%1=%2").arg(key, value));
        const IniSnapshot file = IniSnapshot::FromBytes(text.toLatin1());
        const LayoutFile::Editable edited = LayoutFile::ReadForEditing(file);
        QTEST(int(edited.fault), "editingFault");
        if (edited.fault == LayoutFile::Fault::Kind::None) {
            QTEST(int(edited.content.KeyCount), "editedKeys");
            QCOMPARE(edited.content.Section3On, qint16(key == "IsSezione3" ? 0 : 1));
        }
        LayoutData data;
        QTEST(int(LayoutFile::Load(file, data).kind), "tableFault");
    }

    // A write either replaces the file whole or changes nothing.
    void write_data() {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<bool>("written");
        QTest::addRow("new file") << "" << true;
        QTest::addRow("over a file, in other letter case") << "OTHERCASE" << true;
        QTest::addRow("through a link") << "link" << true;
        QTest::addRow("a folder in its place") << "folder" << false;
        QTest::addRow("write-protected file") << "readonly" << false;
        QTest::addRow("too large to be read back") << "huge" << false;
    }
    void write() {
        QFETCH(QString, setUp);
        QFETCH(bool, written);
        QTemporaryDir dir;
        QString path = dir.filePath("mio.ini");
        QString target = path;
        const QByteArray old = "[KeyProgram]\r\nKey=vecchio\r\n";
        LayoutContent c = FourKeys();
        if (setUp == "OTHERCASE") {
            target = dir.filePath("MIO.INI");
            QVERIFY(writeFile(target, old));
        } else if (setUp == "link") {
            target = dir.filePath("vero.ini");
            QVERIFY(writeFile(target, old) && QFile::link(target, path));
        } else if (setUp == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (setUp == "readonly") {
            QVERIFY(writeFile(path, old) && QFile::setPermissions(path, QFileDevice::ReadOwner));
        } else if (setUp == "huge") {
            QVERIFY(writeFile(path, old));
            for (QString& text : c.Texts) {
                text = QString(60000, QLatin1Char('a'));
            }
            for (QString& picture : c.Pictures) {
                picture = QString(60000, QLatin1Char('b'));
            }
        }
        const Outcome outcome = LayoutFile::Write(c, path);
        QCOMPARE(outcome.ok(), written);
        QCOMPARE(outcome.message().isEmpty(), written);
        if (written) {
            QCOMPARE(readFile(target), LayoutFile::Encode(c));
        } else if (setUp != "folder") {
            QCOMPARE(readFile(path), old);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".mio")),
                 QStringList());
    }
};

MIRELVA_TEST(TstLayoutFile)
#include "layout_file.moc"
