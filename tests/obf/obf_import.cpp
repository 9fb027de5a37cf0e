#include "obf/ObfExporter.h"
#include "obf/ObfImporter.h"

#include "ObfTestSet.h"
#include "audio/WavWriter.h"
#include "config/CINIFile.h"
#include "config/LayoutFile.h"
#include "fakes/TestRegistry.h"
#include "obf/ZipArchive.h"
#include "startup/Installer.h"

#include <QProcess>
#include <QtTest>

using TestSupport::readFile;
using namespace ObfTestSet;

class TstObf : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_data;

    // Imports a file of these bytes; the error is empty on success.
    QString import(const QString& name, const QByteArray& bytes, ObfReport& report) {
        TestSupport::writeFile(m_data + "/../" + name, bytes);
        const Result<ObfReport> imported = ObfImporter(m_data).Import(m_data + "/../" + name);
        if (!imported) {
            return imported.failure().message() + '!';
        }
        report = imported.value();
        return QString();
    }

private slots:
    void init() {
        m_data =
            m_dir.filePath(QString(QTest::currentTestFunction()) + '/' + QTest::currentDataTag() + "/data");
        // An existing layout, which no refused import may touch.
        QVERIFY(TestSupport::writeFile(m_data + "/layout/Root.ini",
                                       "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n"));
        QVERIFY(TestSupport::writeFile(m_data + "/cfg.ini", "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n"));
    }

    // The published samples: keys in grid order, texts, decoded pictures, the
    // link on F1 and the way back on F12, and layouts the table opens.
    void samples_data() {
        QTest::addColumn<QStringList>("texts"); // per layout, keys joined by '|'
        QTest::addRow("inline_images.obf") << QStringList{"children|feline"};
        // The linked board gets a key back.
        QTest::addRow("path_images.obz") << QStringList{"happy|sad", "Really happy|Sort of happy|Indietro"};
    }
    void samples() {
        QFETCH(QStringList, texts);
        const QString file = TestSupport::sourceDir() + "/tests/obf/data/" + QTest::currentDataTag();
        ObfReport report;
        QCOMPARE(import(QTest::currentDataTag(), readFile(file), report), QString());
        // Every picture decoded.
        QVERIFY2(report.entries().isEmpty(), qPrintable(report.summary()));
        const QStringList layouts = report.layouts();
        QCOMPARE(layouts.size(), texts.size());
        for (int i = 0; i < texts.size(); ++i) {
            QCOMPARE(Load(m_data, layouts[i]).KeyTexts.mid(1).join('|'), texts[i]);
        }
        QCOMPARE(Load(m_data, layouts[0]).FunctionKeyPaths[1], layouts.size() > 1 ? layouts[1] : QString());
        // The link button became a link key, and the key back goes back.
        QCOMPARE(Load(m_data, layouts[0]).LinkPaths.join('|'),
                 layouts.size() > 1 ? "|" + layouts[1] + "|" : QString("||"));
        QCOMPARE(Load(m_data, layouts.last()).LinkPaths.last(),
                 layouts.size() > 1 ? LayoutFile::LinkBack : QString());
        QCOMPARE(Load(m_data, layouts.last()).FunctionKeyPaths[12],
                 layouts.size() > 1 ? layouts[0] : QString());
    }

    // Each of these is refused with a message and leaves the data folder as it
    // was.
    void badInput_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* file, const QByteArray& bytes,
                            const char* message) {
            QTest::addRow("%s", name) << QString(file) << bytes << QString(message);
        };
        const auto picture = [](const QString& path, const Entries& more = {}) {
            return Set(
                Board({Button("uno", {{"image_id", "p"}})}, {QJsonObject{{"id", "p"}, {"path", path}}}),
                more);
        };
        row("not a ZIP", "a.obz", "no zip here", "non è un archivio ZIP");
        row("ZIP without manifest.json", "a.obz", Zip({{"boards/root.obf", Json(Board({Button("uno")}))}}),
            "manifest.json");
        row("board of hidden buttons only", "a.obf", Json(Board({Button("uno", {{"hidden", true}})})),
            "non ha tasti");
        row("entry inflating past 64 MB", "a.obz",
            picture("big.png", {{"big.png", QByteArray(ZipArchive::MaxEntryBytes + 1, '\0')}}),
            "troppo grande");
        // A header that lies about the size is not believed (both of its copies say 2 GB).
        QByteArray declared2Gb = Zip({{"manifest.json", "{}"}});
        qToLittleEndian<quint32>(0x80000000u, declared2Gb.data() + declared2Gb.indexOf("PK\x03\x04") + 22);
        qToLittleEndian<quint32>(0x80000000u, declared2Gb.data() + declared2Gb.indexOf("PK\x01\x02") + 24);
        row("entry declaring 2 GB", "a.obz", declared2Gb, "troppo grande");
        Entries many;
        for (int i = 0; i <= ZipArchive::MaxEntries; ++i) {
            many << std::pair{QString("f%1").arg(i), QByteArray("x")};
        }
        row("too many files", "a.obz", Zip(many), "file");
        row("picture with an absolute path", "a.obz", picture("/etc/passwd"), "fuori dall'archivio");
        row("link climbing out with ..", "a.obz", Set(Board({Button("uno", Link("boards/../../x.obf"))})),
            "fuori dall'archivio");
    }
    void badInput() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QStringList before = TestSupport::snapshot(m_data);
        ObfReport report;
        const QString error = import(name, bytes, report);
        QVERIFY2(error.endsWith('!') && error.contains(message), qPrintable(error));
        QCOMPARE(TestSupport::snapshot(m_data), before);
    }

    // What cannot be carried is reported and the rest is imported: each key
    // keeps its text, gets its label drawn as its picture, and no sound.
    void notCarried() {
        using I = ObfReport::Issue;
        const QJsonArray images{
            QJsonObject{{"id", "p1"}, {"data", "data:image/png;base64,iVBOR*w0KG"}},
            Media("p2", "image/png", "hello"),
            QJsonObject{{"id", "p3"}, {"url", "https://example.org/cat.png"}},
            QJsonObject{{"id", "p4"}, {"symbol", QJsonObject{{"set", "x"}, {"filename", "c.svg"}}}}};
        const QJsonArray sounds{Media("s1", "audio/mpeg", "hello"),
                                QJsonObject{{"id", "s2"}, {"url", "https://example.org/cat.mp3"}}};
        const QJsonArray buttons{Button("0", {{"image_id", "p1"}}),    Button("1", {{"image_id", "p2"}}),
                                 Button("2", {{"image_id", "zz"}}),    Button("3", {{"image_id", "p3"}}),
                                 Button("4", {{"image_id", "p4"}}),    Button("5", {{"sound_id", "s1"}}),
                                 Button("6", {{"sound_id", "s2"}}),    Button("7", {{"action", ":clear"}}),
                                 Button("8", Link("boards/altra.obf"))};
        ObfReport report;
        QCOMPARE(import("b.obf", Json(Board(buttons, images, sounds)), report), QString());
        QList<int> issues;
        for (const auto& entry : report.entries()) {
            issues << int(entry.issue);
        }
        std::sort(issues.begin(), issues.end()); // kinds in the order they are declared
        QCOMPARE(issues, (QList<int>{int(I::RemotePicture), int(I::SymbolPicture), int(I::BadPicture),
                                     int(I::BadPicture), int(I::BadPicture), int(I::RemoteSound),
                                     int(I::BadSound), int(I::Action), int(I::MissingLink)}));
        const LayoutData keys = Load(m_data, report.layouts()[0]);
        QCOMPARE(keys.KeyTexts, (QStringList{"", "0", "1", "2", "3", "4", "5", "6", "7", "8"}));
        QImage blank(256, 256, QImage::Format_RGB32);
        blank.fill(Qt::white);
        for (int i = 1; i <= 9; ++i) {
            // The label is drawn where the picture could not be carried.
            const QImage picture = Picture(keys.PicturePaths[i]);
            QVERIFY(picture.size() == blank.size() && picture != blank);
            QVERIFY(keys.SoundPaths.value(i).isEmpty());
        }
    }

    // More buttons than a table holds: consecutive layouts, F12 going round
    // them, the board's own link kept on F1 of each of them; a key count the
    // table does not allow is filled with blank keys.
    void split() {
        QJsonArray buttons;
        for (int i = 1; i <= 24; ++i) {
            buttons << Button(QString("w%1").arg(i));
        }
        buttons << Button("w25", Link("boards/b.obf"));
        ObfReport report;
        QCOMPARE(import("s.obz", Set(Board(buttons), {{"boards/b.obf", Json(Board({Button("x")}))}}), report),
                 QString());
        const QStringList layouts = report.layouts();
        QCOMPARE(layouts.size(), 3);
        const LayoutData first = Load(m_data, layouts[0]);
        const LayoutData second = Load(m_data, layouts[1]);
        // Each part but the last ends with a key to the next, each but the first with a key back.
        QCOMPARE(first.KeyTexts.mid(20), (QStringList{"w20", "Avanti"}));
        QCOMPARE(second.KeyTexts, (QStringList{"", "w21", "w22", "w23", "w24", "w25", "Indietro"}));
        QCOMPARE((QStringList{first.LinkPaths[21], second.LinkPaths[6], second.LinkPaths[5]}),
                 (QStringList{layouts[1], LayoutFile::LinkBack, layouts[2]}));
        QCOMPARE((QStringList{first.FunctionKeyPaths[12], second.FunctionKeyPaths[12],
                              first.FunctionKeyPaths[1], second.FunctionKeyPaths[1]}),
                 (QStringList{layouts[1], layouts[0], layouts[2], layouts[2]}));
        QCOMPARE(int(report.entries().first().issue), int(ObfReport::Issue::Split));
    }

    // The twelve default layouts, linked to each other on F1 to F12, exported
    // from the first and imported back: the same keys, texts, pictures pixel for
    // pixel, sounds sample for sample, and links.
    void roundTrip() {
        const QString from = m_dir.filePath("from");
        QVERIFY(Installer(from).Install());
        const Result<QStringList> exported =
            ObfExporter::Export(from + "/layout/lay1.ini", from + "/set.obz", true);
        QVERIFY2(exported, qPrintable(exported.failure().message()));
        ObfReport report;
        QCOMPARE(import("set.obz", readFile(from + "/set.obz"), report), QString());
        QVERIFY2(report.entries().isEmpty(), qPrintable(report.summary()));
        const QStringList layouts = report.layouts();
        QCOMPARE(layouts.size(), 12);
        for (int n = 1; n <= 12; ++n) {
            const LayoutData original = Load(from, from + QString("/layout/lay%1.ini").arg(n));
            const LayoutData imported = Load(m_data, layouts[n - 1]);
            QCOMPARE(imported.KeyTexts, original.KeyTexts);
            QVERIFY(original.KeyCount > 0);
            for (int k = 1; k <= original.KeyCount; ++k) {
                QVERIFY(!Picture(original.PicturePaths[k]).isNull() &&
                        !Samples(original.SoundPaths[k]).empty());
                QVERIFY2(Picture(imported.PicturePaths[k]) == Picture(original.PicturePaths[k]),
                         qPrintable(layouts[n - 1]));
                QVERIFY2(Samples(imported.SoundPaths[k]) == Samples(original.SoundPaths[k]),
                         qPrintable(layouts[n - 1]));
            }
            for (int f = 1; f <= 12; ++f) {
                QCOMPARE(imported.FunctionKeyPaths[f], layouts[f - 1]);
            }
        }
    }

    // Boards with nothing to show (empty, a toolbar of empty cells, every button
    // hidden) and a board that does not read are left out and reported; the
    // rest is imported, and links to the boards left out count as missing.
    void skippedBoards() {
        const QJsonObject grid{{"rows", 1}, {"columns", 2}, {"order", QJsonArray{QJsonArray{{}, {}}}}};
        const Entries set{
            {"manifest.json", Manifest({"boards/t.obf", "boards/broken.obf"})},
            {"boards/root.obf",
             Json(Board({Button("uno", Link("boards/e.obf")), Button("due", Link("boards/h.obf")),
                         Button("tre", Link("boards/ok.obf"))}))},
            {"boards/e.obf", Json({{"id", "e"}, {"name", "Dashboard"}})},
            {"boards/t.obf", Json({{"id", "t"}, {"name", "Toolbar"}, {"grid", grid}})},
            {"boards/h.obf", Json({{"id", "h"}, {"buttons", QJsonArray{Button("x", {{"hidden", true}})}}})},
            {"boards/ok.obf", Json(Board({Button("quattro")}))},
            {"boards/broken.obf", "{ not json"}};
        ObfReport report;
        QCOMPARE(import("s.obz", Zip(set), report), QString());
        QCOMPARE(report.layouts().size(), 2);
        QStringList skipped;
        int missing = 0;
        for (const auto& entry : report.entries()) {
            if (entry.issue == ObfReport::Issue::SkippedBoard) {
                skipped << entry.board;
            }
            missing += entry.issue == ObfReport::Issue::MissingLink;
        }
        skipped.sort();
        QCOMPARE(skipped, (QStringList{"Dashboard", "Toolbar", "boards/broken.obf", "h"}));
        QCOMPARE(missing, 2);
        QCOMPARE(Load(m_data, report.layouts()[0]).LinkPaths.mid(1),
                 (QStringList{"", "", report.layouts()[1]}));
        // The full list beside the layouts.
        const QString list = report.summary().section("«", -1).section("»", 0, 0);
        QVERIFY2(QString::fromUtf8(readFile(list)).contains("Dashboard"), qPrintable(report.summary()));
    }

    // Stopped while converting pictures or while writing the boards, the
    // import leaves the data folder byte for byte as it was.
    void cancel_data() {
        QTest::addColumn<int>("stopAfter");
        QTest::addRow("during the pictures") << 1;
        QTest::addRow("after the first board") << 3;
    }
    void cancel() {
        QFETCH(int, stopAfter);
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QJsonArray images{Media("p", "image/png", Png(image))};
        const Entries set{
            {"manifest.json", Manifest({"boards/b.obf"})},
            {"boards/root.obf", Json(Board({Button("uno", {{"image_id", "p"}}), Button("due")}, images))},
            {"boards/b.obf", Json(Board({Button("tre")}))}};
        TestSupport::writeFile(m_data + "/../s.obz", Zip(set));
        const QStringList before = TestSupport::snapshot(m_data);
        ScriptedProgress progress;
        progress.stopAfter = stopAfter;
        ObfImporter importer(m_data);
        const Result<ObfReport> imported = importer.Import(m_data + "/../s.obz", &progress);
        QVERIFY(!imported);
        const QString error = imported.failure().message();
        QVERIFY2(importer.cancelled() && error.contains("annullata"), qPrintable(error));
        QCOMPARE(TestSupport::snapshot(m_data), before);
    }

    // The same picture or sound named by several boards, by path or inline,
    // is stored once; an opaque PNG is kept byte for byte, a transparent one
    // becomes a PNG on white with every other pixel as it was.
    void mediaStoredOnce() {
        QImage opaque(40, 40, QImage::Format_RGB32);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                opaque.setPixel(x, y, qRgb(x * 6, y * 6, 99));
            }
        }
        QImage clear(40, 40, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        for (int x = 0; x < 20; ++x) {
            for (int y = 0; y < 40; ++y) {
                clear.setPixel(x, y, qRgba(10, 200, 30, 255));
            }
        }
        const QByteArray same = Png(opaque);
        const QByteArray tone = EncodeWav16(std::vector<qint16>(2205, 9000), 1, 22050);
        const QByteArray low = EncodeWav16(std::vector<qint16>(2205, -9000), 1, 22050);
        const Entries set{
            {"manifest.json", Manifest({"boards/b.obf"})},
            {"boards/root.obf",
             Json(Board({Button("uno", {{"image_id", "1"}, {"sound_id", "s"}}),
                         Button("due", {{"image_id", "2"}, {"sound_id", "t"}})},
                        {QJsonObject{{"id", "1"}, {"path", "a.png"}},
                         QJsonObject{{"id", "2"}, {"path", "clear.png"}}},
                        {QJsonObject{{"id", "s"}, {"path", "a.wav"}}, Media("t", "audio/wav", low)}))},
            {"boards/b.obf", Json(Board({Button("tre", {{"image_id", "9"}, {"sound_id", "9"}})},
                                        {Media("9", "image/png", same)}, {Media("9", "audio/wav", tone)}))},
            {"a.png", same},
            {"a.wav", tone},
            {"clear.png", Png(clear)}};
        ObfReport report;
        QCOMPARE(import("s.obz", Zip(set), report), QString());
        const LayoutData root = Load(m_data, report.layouts()[0]);
        const LayoutData other = Load(m_data, report.layouts()[1]);
        QCOMPARE(other.PicturePaths[1], root.PicturePaths[1]);
        QCOMPARE(readFile(root.PicturePaths[1]), same);
        QCOMPARE(other.SoundPaths[1], root.SoundPaths[1]);
        QVERIFY(root.SoundPaths[2] != root.SoundPaths[1]);
        QCOMPARE(QDir(m_data + "/suoni").entryList(QDir::Files).size(), 2);
        QVERIFY(readFile(root.PicturePaths[2]).startsWith("\x89PNG"));
        const QImage flat = Picture(root.PicturePaths[2]);
        QCOMPARE(flat.pixel(5, 5), qRgb(10, 200, 30));
        QCOMPARE(flat.pixel(30, 5), qRgb(255, 255, 255));
    }

    // Link keys (to a layout, back, home) exported as load_board and imported
    // again lead to the same layouts.
    void linksRoundTrip() {
        const QString from = m_dir.filePath("links");
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(from + "/p.png") || (QDir().mkpath(from) && image.save(from + "/p.png")));
        const auto layout = [&](const QString& name, const QStringList& links) {
            LayoutContent content;
            content.KeyCount = qint16(links.size());
            content.Section3On = 1;
            for (int k = 0; k < links.size(); ++k) {
                content.Pictures[k] = from + "/p.png";
                content.Texts[k] = name + QString::number(k + 1);
                content.Links[k] = links[k];
            }
            QVERIFY(LayoutFile::Write(content, from + "/" + name + ".ini"));
        };
        layout("A", {from + "/B.ini", ""});
        layout("B", {LayoutFile::LinkBack, LayoutFile::LinkHome, from + "/A.ini", ""});
        const Result<QStringList> exported = ObfExporter::Export(from + "/A.ini", from + "/set.obz", true);
        QVERIFY2(exported, qPrintable(exported.failure().message()));
        ObfReport report;
        QCOMPARE(import("set.obz", readFile(from + "/set.obz"), report), QString());
        const QStringList layouts = report.layouts();
        QCOMPARE(layouts.size(), 2);
        QCOMPARE(Load(m_data, layouts[0]).LinkPaths.mid(1), (QStringList{layouts[1], ""}));
        QCOMPARE(Load(m_data, layouts[1]).LinkPaths.mid(1),
                 (QStringList{LayoutFile::LinkBack, LayoutFile::LinkHome, layouts[0], ""}));
    }

    // MP3, OGG and WAV sounds become WAV files of the same length and loudness.
    void media() {
        QJsonArray buttons;
        QJsonArray sounds;
        for (const QString type : {"mp3:audio/mpeg", "ogg:audio/ogg", "wav:audio/wav"}) {
            const QString tone = m_dir.filePath("tone." + type.section(':', 0, 0));
            QCOMPARE(
                QProcess::execute("sox", {"-n", "-r", "22050", "-c", "1", tone, "synth", "1", "sine", "440"}),
                0);
            sounds << Media(tone, type.section(':', 1), readFile(tone));
            buttons << Button(type, {{"sound_id", tone}});
        }
        ObfReport report;
        QCOMPARE(import("in.obf", Json(Board(buttons, {}, sounds)), report), QString());
        QVERIFY2(report.entries().isEmpty(), qPrintable(report.summary()));
        const LayoutData keys = Load(m_data, report.layouts()[0]);
        for (int k = 1; k <= 3; ++k) {
            const std::vector<qint16> samples = Samples(keys.SoundPaths[k]);
            QVERIFY2(samples.size() > 22050 * 95 / 100 && samples.size() < 22050 * 110 / 100,
                     qPrintable(keys.KeyTexts[k]));
            QVERIFY(*std::max_element(samples.begin(), samples.end()) > 8000);
        }
    }
};

MIRELVA_TEST(TstObf)
#include "obf_import.moc"
