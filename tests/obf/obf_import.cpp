#include "obf/ObfExporter.h"
#include "obf/ObfImporter.h"

#include "audio/WavSource.h"
#include "config/CINIFile.h"
#include "config/LayoutReader.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "obf/ObfCommands.h"
#include "obf/ZipArchive.h"
#include "obf/ZipWriter.h"
#include "pictures/PictureFile.h"
#include "startup/Installer.h"

#include <QDirIterator>
#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using TestSupport::readFile;
using Entries = QList<std::pair<QString, QByteArray>>;

namespace {
// A layout as the table loads it with the program's own reader (every picture
// and sound found, no message); a refused one has no keys.
LayoutData Load(const QString& folder, const QString& layout) {
    ActivateLayout(folder, layout);
    RecordingMessages messages;
    LayoutData data;
    return LayoutReader(folder, messages, data).ReadLayout() || !messages.shown.isEmpty() ? LayoutData{}
                                                                                          : data;
}

QByteArray Json(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A board whose buttons are taken in their own order (no grid).
QJsonObject Board(const QJsonArray& buttons, const QJsonArray& images = {}, const QJsonArray& sounds = {}) {
    return {{"id", "b"}, {"buttons", buttons}, {"images", images}, {"sounds", sounds}};
}

QJsonObject Button(const QString& label, QJsonObject extra = {}) {
    extra.insert("id", label);
    extra.insert("label", label);
    return extra;
}

QJsonObject Link(const QString& path) {
    return {{"load_board", QJsonObject{{"path", path}}}};
}

// A media entry carrying its bytes as a data URL.
QJsonObject Media(const QString& id, const QString& type, const QByteArray& bytes) {
    return {{"id", id}, {"data", "data:" + type + ";base64," + QString::fromLatin1(bytes.toBase64())}};
}

QByteArray Zip(const Entries& entries) {
    QTemporaryDir dir;
    ZipWriter zip;
    zip.start(dir.filePath("set.obz"));
    for (const auto& [name, bytes] : entries) {
        zip.add(name, bytes);
    }
    zip.finish();
    return readFile(dir.filePath("set.obz"));
}

// A set whose root board is boards/root.obf.
QByteArray Set(const QJsonObject& root, const Entries& more = {}) {
    const Entries set{{"manifest.json", Json({{"root", "boards/root.obf"}})},
                      {"boards/root.obf", Json(root)}};
    return Zip(set + more);
}

std::vector<qint16> Samples(const QString& path) {
    std::vector<qint16> samples;
    DecodeWav(readFile(path), AudioFormat{22050, 1}, [&samples](std::span<const qint16> piece) {
        samples.insert(samples.end(), piece.begin(), piece.end());
    });
    return samples;
}

QImage Picture(const QString& path) {
    return LoadPictureFile(path).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TstObf : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_data;

    // Imports a file of these bytes; the error is empty on success.
    QString import(const QString& name, const QByteArray& bytes, ObfReport& report) {
        TestSupport::writeFile(m_data + "/../" + name, bytes);
        QString error;
        return ObfImporter(m_data).Import(m_data + "/../" + name, report, &error) ? QString() : error + '!';
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
        QTest::addRow("path_images.obz") << QStringList{"happy|sad", "Really happy|Sort of happy"};
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
        row("too many files", "a.obz", Zip(many), "più di 2000 file");
        row("picture with an absolute path", "a.obz", picture("/etc/passwd"), "fuori dall'archivio");
        row("link climbing out with ..", "a.obz", Set(Board({Button("uno", Link("boards/../../x.obf"))})),
            "fuori dall'archivio");
    }
    void badInput() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const auto listing = [this] {
            QStringList files;
            for (QDirIterator it(m_data, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
                files << it.next() + ' ' + QString::fromLatin1(readFile(it.filePath()).toBase64());
            }
            return files;
        };
        const QStringList before = listing();
        ObfReport report;
        const QString error = import(name, bytes, report);
        QVERIFY2(error.endsWith('!') && error.contains(message), qPrintable(error));
        QCOMPARE(listing(), before);
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
        QCOMPARE(first.KeyTexts.mid(20), (QStringList{"w20", "w21"}));
        QCOMPARE(second.KeyTexts, (QStringList{"", "w22", "w23", "w24", "w25"}));
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
        QString error;
        QVERIFY2(ObfExporter::Export(from + "/layout/lay1.ini", from + "/set.obz", true, &error),
                 qPrintable(error));
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
        // Pictures are drawn with a bitwise AND: a transparent area must become white, not black.
        QImage clear(16, 16, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && clear.save(&buffer, "PNG"));
        buttons[0] = Button("png", {{"sound_id", sounds[0].toObject()["id"]}, {"image_id", "clear"}});
        ObfReport report;
        QCOMPARE(import("in.obf", Json(Board(buttons, {Media("clear", "image/png", png)}, sounds)), report),
                 QString());
        QVERIFY2(report.entries().isEmpty(), qPrintable(report.summary()));
        const LayoutData keys = Load(m_data, report.layouts()[0]);
        QCOMPARE(QImage(keys.PicturePaths[1]).pixelColor(8, 8), QColor(Qt::white));
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
