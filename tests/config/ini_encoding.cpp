#include "config/CINIFile.h"
#include "config/IniEngine.h"
#include "config/LayoutData.h"
#include "config/LayoutReader.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
// Every value of the file as the program reads it: "section/key=value".
QStringList AllValues(const QString& file) {
    constexpr int Size = 1 << 16;
    QString names;
    const int length = IniEngine::ReadSectionNames(file, names, Size);
    QStringList out;
    for (const QString& section : QStringList{""} + names.left(length).split(QChar(0), Qt::SkipEmptyParts)) {
        QString entries;
        const int n = IniEngine::ReadSection(file, section, entries, Size);
        for (const QString& entry : entries.left(n).split(QChar(0), Qt::SkipEmptyParts)) {
            const QString key = entry.section(QLatin1Char('='), 0, 0);
            out << section + u'/' + key + u'=' + IniEngine::ReadString(file, section, key, {}, 255);
        }
    }
    return out;
}
} // namespace

class TstIniEncoding : public QObject {
    Q_OBJECT
private slots:
    void writeChangesOnlyItsKey_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addRow("mark, invalid UTF-8 only in the line replaced")
            << QByteArray("\xEF\xBB\xBF[a]\r\nx=\xC3\xA8\r\n[b]\r\ny=\xFF\r\n") << "b"
            << "y"
            << "ok";
        QTest::addRow("Greek text into a Windows-1252 file") << QByteArray("[a]\r\nx=caff\xE8\r\n") << "b"
                                                             << "y" << QStringLiteral("Καλημέρα");
        QTest::addRow("Polish path into a marked Windows-1252 file")
            << QByteArray("\xEF\xBB\xBF[a]\r\nx=\xC3\xA8\xFF\r\n") << "a"
            << "File" << QStringLiteral("/Łódź/l.ini");
        QTest::addRow("Windows-1252 text that starts like a mark")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFk=v\r\n[a]\r\nx=\xFF\r\n") << "a"
            << "x"
            << "ok";
    }
    void writeChangesOnlyItsKey() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString file = dir.filePath("x.ini");
        QVERIFY(TestSupport::writeFile(file, bytes));
        QStringList expected = AllValues(file);
        const QString written = section + u'/' + key + u'=';
        expected.removeIf([&](const QString& v) { return v.startsWith(written, Qt::CaseInsensitive); });
        expected << written + value;
        IniEngine::WriteString(file, section, key, value);
        QStringList got = AllValues(file);
        expected.sort(Qt::CaseInsensitive);
        got.sort(Qt::CaseInsensitive);
        QCOMPARE(got, expected);
    }

    // A layout padded far beyond any real one is refused like an unreadable
    // one, with the usual messages, instead of being read slowly.
    void oversizedLayoutIsRefused_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("firstMessage");
        QTest::addRow("1 MiB is still read") << (1 << 20) << "Errore n. 13";
        QTest::addRow("one byte more is not") << (1 << 20) + 1 << "Non è un layout valido.";
    }
    void oversizedLayoutIsRefused() {
        QFETCH(int, size);
        QFETCH(QString, firstMessage);
        QTemporaryDir dir;
        const QString layout = dir.filePath("big.ini");
        QByteArray bytes = "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n";
        bytes += QByteArray(size - bytes.size() - 2, ';') + "\r\n";
        QVERIFY(TestSupport::writeFile(layout, bytes));
        QVERIFY(TestSupport::writeFile(
            dir.filePath("cfg.ini"), "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + layout.toUtf8()));
        ResetSharedIni();
        RecordingMessages shown;
        LayoutData data;
        QVERIFY(LayoutReader(dir.path(), shown, data).ReadLayout());
        QVERIFY(!shown.shown.isEmpty());
        QVERIFY2(shown.shown[0].text.startsWith(firstMessage), qPrintable(shown.shown[0].text));
    }
};
MIRELVA_TEST(TstIniEncoding)
#include "ini_encoding.moc"
