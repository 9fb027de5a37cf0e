#include "obf/ObfImporter.h"

#include "ObfFixtures.h"
#include "config/LayoutReader.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "obf/ObfCommands.h"
#include "obf/ZipArchive.h"
#include "runtime/PictureFile.h"

#include <QtEndian>
#include <QtTest>

using namespace ObfFixtures;

namespace {
int Colours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            colours.insert(image.pixel(x, y));
        }
    }
    return int(colours.size());
}

// The table itself accepts the layout: the program's own reader loads it
// with every picture and sound, and shows no message.
bool TableAccepts(const QString& folder, const QString& layout) {
    ActivateLayout(folder, layout);
    RecordingMessages messages;
    LayoutData data;
    return !LayoutReader(folder, messages, data).ReadLayout() && messages.shown.isEmpty();
}

const QJsonObject BrokenBase64{{"id", "p"}, {"data", "data:image/png;base64,iVBOR*w0KG"}};
const QJsonObject NotAPicture{{"id", "p"}, {"data", "data:image/png;base64,aGVsbG8gd29ybGQ="}};
const QJsonObject RemotePicture{{"id", "p"}, {"url", "https://example.org/cat.png"}};
const QJsonObject SymbolPicture{{"id", "p"}, {"symbol", QJsonObject{{"set", "x"}, {"filename", "cat.svg"}}}};
const QJsonObject NotASound{{"id", "s"}, {"data", "data:audio/mpeg;base64,aGVsbG8gd29ybGQ="}};
const QJsonObject RemoteSound{{"id", "s"}, {"url", "https://example.org/cat.mp3"}};
} // namespace

class TstObfImport : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_data;
    QString m_sources;

    QString source(const QString& name, const QByteArray& bytes) {
        const QString path = m_sources + '/' + name;
        TestSupport::writeFile(path, bytes);
        return path;
    }

private slots:
    void init() {
        const QString test =
            m_dir.filePath(QString(QTest::currentTestFunction()) + '/' + QTest::currentDataTag());
        m_data = test + "/data";
        m_sources = test + "/sources";
        QDir().mkpath(m_data + "/layout");
        TestSupport::writeFile(m_data + "/layout/Root.ini", "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n");
        TestSupport::writeFile(m_data + "/cfg.ini", "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n");
    }

    // The published samples: keys in grid order, spoken texts, decoded
    // pictures, the link on F1, and layouts the table opens.
    void samples_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("texts");    // per layout, keys joined by '|'
        QTest::addColumn<QList<int>>("colourful"); // keys of the first layout with a real picture
        QTest::addRow("inline_images.obf")
            << "inline_images.obf" << QStringList{"children|feline"} << QList<int>{0, 1};
        QTest::addRow("path_images.obz")
            << "path_images.obz" << QStringList{"happy|sad", "Really happy|Sort of happy"}
            << QList<int>{0, 1};
    }
    void samples() {
        QFETCH(QString, file);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, colourful);
        ObfReport report;
        QString error;
        QVERIFY2(
            ObfImporter(m_data).Import(TestSupport::sourceDir() + "/tests/obf/data/" + file, report, &error),
            qPrintable(error));
        QCOMPARE(report.layouts().size(), texts.size());
        for (int i = 0; i < texts.size(); ++i) {
            const QString layout = report.layouts()[i];
            const LayoutFile keys = ReadLayout(layout);
            QCOMPARE(keys.texts.join('|'), texts[i]);
            for (int k = 0; k < keys.pictures.size(); ++k) {
                const QImage picture = LoadPictureFile(keys.pictures[k]);
                QVERIFY2(Colours(picture) > (i == 0 && colourful.contains(k) ? 100 : 1),
                         qPrintable(keys.pictures[k]));
            }
            QVERIFY(TableAccepts(m_data, layout));
        }
        // The link on F1, and from the linked board the way back on F12.
        const bool linked = texts.size() > 1;
        QCOMPARE(ReadLayout(report.layouts()[0]).functionKeys[0], linked ? report.layouts()[1] : QString());
        QCOMPARE(ReadLayout(report.layouts().last()).functionKeys[11],
                 linked ? report.layouts()[0] : QString());
        QVERIFY(QFileInfo::exists(m_data + "/layout/Root.ini"));
    }

    // Each of these is refused with a message and leaves the data folder as it was.
    void badInput_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QJsonObject one = Board("b", {Button("1", "uno")});
        QByteArray declared2Gb = Zip({{"manifest.json", "{}"}});
        // Both the local header and the central directory say 2 GB.
        qToLittleEndian<quint32>(0x80000000u, declared2Gb.data() + declared2Gb.indexOf("PK\x03\x04") + 22);
        const qsizetype central = declared2Gb.indexOf("PK\x01\x02");
        qToLittleEndian<quint32>(0x80000000u, declared2Gb.data() + central + 24);
        Entries many;
        for (int i = 0; i <= ZipArchive::MaxEntries; ++i) {
            many << std::pair{QString("f%1").arg(i), QByteArray("x")};
        }
        QTest::addRow("not a ZIP") << "a.obz" << QByteArray("no zip here") << "non è un archivio ZIP";
        QTest::addRow("ZIP without manifest.json")
            << "a.obz" << Zip({{"boards/root.obf", Json(one)}}) << "manifest.json";
        QTest::addRow("JSON syntax error in an .obf")
            << "a.obf" << QByteArray("{\"buttons\": [}") << "sintassi JSON";
        QTest::addRow("JSON syntax error in a linked board")
            << "a.obz"
            << Set(Board("r", {Button("1", "uno", {{"load_board", QJsonObject{{"path", "boards/b.obf"}}}})}),
                   {{"boards/b.obf", "{\"id\": 1,"}})
            << "sintassi JSON";
        QTest::addRow("board without buttons") << "a.obf" << Json(Board("vuota", {})) << "non ha tasti";
        QTest::addRow("board of hidden buttons only")
            << "a.obf" << Json(Board("b", {Button("1", "uno", {{"hidden", true}})})) << "non ha tasti";
        QTest::addRow("entry inflating past 64 MB")
            << "a.obz"
            << Set(Board("r", {Button("1", "uno", {{"image_id", "p"}})},
                         {QJsonObject{{"id", "p"}, {"path", "big.png"}}}),
                   {{"big.png", QByteArray(ZipArchive::MaxEntryBytes + 1, '\0')}})
            << "troppo grande";
        QTest::addRow("entry declaring 2 GB") << "a.obz" << declared2Gb << "troppo grande";
        QTest::addRow("too many files") << "a.obz" << Zip(many) << "più di 2000 file";
        QTest::addRow("root board outside the archive")
            << "a.obz"
            << Zip({{"manifest.json", Json({{"root", "../../etc/root.obf"}})}, {"root.obf", Json(one)}})
            << "fuori dall'archivio";
        QTest::addRow("picture with an absolute path")
            << "a.obz"
            << Set(Board("r", {Button("1", "uno", {{"image_id", "p"}})},
                         {QJsonObject{{"id", "p"}, {"path", "/etc/passwd"}}}))
            << "fuori dall'archivio";
        QTest::addRow("link climbing out with ..")
            << "a.obz"
            << Set(Board("r",
                         {Button("1", "uno", {{"load_board", QJsonObject{{"path", "boards/../../x.obf"}}}})}))
            << "fuori dall'archivio";
    }
    void badInput() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString file = source(name, bytes);
        const QStringList before = Snapshot(m_data);
        ObfReport report;
        QString error;
        QVERIFY(!ObfImporter(m_data).Import(file, report, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(Snapshot(m_data), before);
    }

    // What cannot be carried is reported and the rest is imported: the key
    // keeps its text, gets its label drawn as its picture, and no sound.
    void notCarried_data() {
        QTest::addColumn<QJsonObject>("button");
        QTest::addColumn<QJsonArray>("images");
        QTest::addColumn<QJsonArray>("sounds");
        QTest::addColumn<int>("issue");
        const auto picture = [](const QJsonObject& media) { return QJsonArray{media}; };
        QTest::addRow("broken base64") << QJsonObject{{"image_id", "p"}} << picture(BrokenBase64)
                                       << QJsonArray() << int(ObfReport::Issue::BadPicture);
        QTest::addRow("picture that does not decode")
            << QJsonObject{{"image_id", "p"}} << picture(NotAPicture) << QJsonArray()
            << int(ObfReport::Issue::BadPicture);
        QTest::addRow("picture id nobody describes") << QJsonObject{{"image_id", "zz"}} << QJsonArray()
                                                     << QJsonArray() << int(ObfReport::Issue::BadPicture);
        QTest::addRow("remote picture") << QJsonObject{{"image_id", "p"}} << picture(RemotePicture)
                                        << QJsonArray() << int(ObfReport::Issue::RemotePicture);
        QTest::addRow("symbol picture") << QJsonObject{{"image_id", "p"}} << picture(SymbolPicture)
                                        << QJsonArray() << int(ObfReport::Issue::SymbolPicture);
        QTest::addRow("sound that does not decode")
            << QJsonObject{{"sound_id", "s"}} << QJsonArray() << QJsonArray{NotASound}
            << int(ObfReport::Issue::BadSound);
        QTest::addRow("remote sound") << QJsonObject{{"sound_id", "s"}} << QJsonArray()
                                      << QJsonArray{RemoteSound} << int(ObfReport::Issue::RemoteSound);
        QTest::addRow("special action") << QJsonObject{{"action", ":clear"}} << QJsonArray() << QJsonArray()
                                        << int(ObfReport::Issue::Action);
        QTest::addRow("link outside the file")
            << QJsonObject{{"load_board", QJsonObject{{"name", "altra"}, {"path", "boards/altra.obf"}}}}
            << QJsonArray() << QJsonArray() << int(ObfReport::Issue::MissingLink);
    }
    void notCarried() {
        QFETCH(QJsonObject, button);
        QFETCH(QJsonArray, images);
        QFETCH(QJsonArray, sounds);
        QFETCH(int, issue);
        const QString file =
            source("b.obf", Json(Board("b", {Button("1", "gatto", button)}, images, sounds)));
        ObfReport report;
        QString error;
        QVERIFY2(ObfImporter(m_data).Import(file, report, &error), qPrintable(error));
        QCOMPARE(report.entries().size(), 1);
        QCOMPARE(int(report.entries()[0].issue), issue);
        QVERIFY(report.summary().contains(report.entries()[0].detail));
        const LayoutFile keys = ReadLayout(report.layouts()[0]);
        QCOMPARE(keys.pictures.size(), 1);
        const QImage picture = LoadPictureFile(keys.pictures[0]);
        QCOMPARE(picture.size(), QSize(256, 256));
        QVERIFY(Colours(picture) > 1); // the label is drawn
        QVERIFY(keys.sounds[0].isEmpty());
        QVERIFY(TableAccepts(m_data, report.layouts()[0]));
    }

    // More buttons than a table holds: consecutive layouts, F12 going round
    // them, the board's own link kept on F1 of every part; a key count the
    // table does not allow is filled with blank keys.
    void split() {
        QJsonArray buttons;
        for (int i = 1; i <= 25; ++i) {
            buttons << Button(QString::number(i), QString("w%1").arg(i));
        }
        buttons[24] = Button("25", "w25", {{"load_board", QJsonObject{{"path", "boards/b.obf"}}}});
        const QString file = source(
            "s.obz", Set(Board("Grande", buttons), {{"boards/b.obf", Json(Board("b", {Button("1", "x")}))}}));
        ObfReport report;
        QString error;
        QVERIFY2(ObfImporter(m_data).Import(file, report, &error), qPrintable(error));
        const QStringList layouts = report.layouts();
        QCOMPARE(layouts.size(), 3);
        const LayoutFile first = ReadLayout(layouts[0]);
        const LayoutFile second = ReadLayout(layouts[1]);
        QCOMPARE(first.texts.size(), 21);
        QCOMPARE(first.texts.last(), "w21");
        QCOMPARE(second.texts, (QStringList{"w22", "w23", "w24", "w25"}));
        QCOMPARE(first.functionKeys[11], layouts[1]);
        QCOMPARE(second.functionKeys[11], layouts[0]);
        QCOMPARE(first.functionKeys[0], layouts[2]);
        QCOMPARE(second.functionKeys[0], layouts[2]);
        QVERIFY(TableAccepts(m_data, layouts[1]));
        QCOMPARE(int(report.entries().first().issue), int(ObfReport::Issue::Split));
    }

    // Thirteen linked boards: twelve on F1 to F12 in button order, the last reported.
    void extraLinks() {
        QJsonArray buttons;
        Entries boards;
        for (int i = 1; i <= 13; ++i) {
            const QString path = QString("boards/%1.obf").arg(i);
            buttons << Button(QString::number(i), QString("b%1").arg(i),
                              {{"load_board", QJsonObject{{"path", path}}}});
            boards << std::pair{path, Json(Board(QString("b%1").arg(i), {Button("1", "x")}))};
        }
        ObfReport report;
        QString error;
        QVERIFY2(
            ObfImporter(m_data).Import(source("l.obz", Set(Board("r", buttons), boards)), report, &error),
            qPrintable(error));
        QCOMPARE(report.layouts().size(), 14);
        QVERIFY(ReadLayout(report.layouts()[0]).functionKeys[11].endsWith("/b12.ini"));
        QCOMPARE(report.entries().size(), 1);
        QCOMPARE(int(report.entries()[0].issue), int(ObfReport::Issue::ExtraLink));
    }
};

MIRELVA_TEST(TstObfImport)
#include "obf_import.moc"
