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
#include "runtime/PictureFile.h"
#include "startup/Installer.h"

#include <QBuffer>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using TestSupport::readFile;
using Entries = QList<std::pair<QString, QByteArray>>;

namespace {
// What a layout file names, key by key, and per function key.
struct LayoutFile {
    QStringList texts, pictures, sounds, functionKeys;
};

LayoutFile ReadLayout(const QString& path) {
    CINIFile ini;
    ini.SetFile(path);
    const auto read = [&ini](const char* section, const QString& key) {
        ini.SetSection(section);
        return ini.Values(key);
    };
    LayoutFile layout;
    for (int k = 1, keys = read("Impostazioni", "Tasti").toInt(); k <= keys; ++k) {
        layout.texts << read("Sezione Testo", QString("Testo%1").arg(k));
        layout.pictures << read("Sezione Immagini", QString("Immagine%1").arg(k));
        layout.sounds << read("Sezione Sonoro", QString("Sonoro%1").arg(k));
    }
    for (int f = 1; f <= 12; ++f) {
        layout.functionKeys << read("Tasti Funzione", QString("F%1").arg(f));
    }
    return layout;
}

QByteArray Json(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A board whose buttons are taken in their own order (no grid).
QJsonObject Board(const QJsonArray& buttons, const QJsonArray& images = {}, const QJsonArray& sounds = {}) {
    return {{"format", "open-board-0.1"},
            {"id", "b"},
            {"buttons", buttons},
            {"images", images},
            {"sounds", sounds}};
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
    return Zip(
        Entries{{"manifest.json", Json({{"root", "boards/root.obf"}})}, {"boards/root.obf", Json(root)}} +
        more);
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

int Colours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            colours.insert(image.pixel(x, y));
        }
    }
    return int(colours.size());
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
    // The table itself accepts the layout: the program's own reader loads it
    // with every picture and sound, and shows no message.
    bool tableAccepts(const QString& layout) {
        ActivateLayout(m_data, layout);
        RecordingMessages messages;
        LayoutData data;
        return !LayoutReader(m_data, messages, data).ReadLayout() && messages.shown.isEmpty();
    }

private slots:
    void init() {
        m_data =
            m_dir.filePath(QString(QTest::currentTestFunction()) + '/' + QTest::currentDataTag() + "/data");
        QVERIFY(Installer(m_data).Install());
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
        const QStringList layouts = report.layouts();
        QCOMPARE(layouts.size(), texts.size());
        for (int i = 0; i < texts.size(); ++i) {
            const LayoutFile keys = ReadLayout(layouts[i]);
            QCOMPARE(keys.texts.join('|'), texts[i]);
            for (const QString& picture : keys.pictures) {
                QVERIFY2(Colours(Picture(picture)) > (i == 0 ? 100 : 1), qPrintable(picture));
            }
            QVERIFY(tableAccepts(layouts[i]));
        }
        QCOMPARE(ReadLayout(layouts[0]).functionKeys[0], layouts.size() > 1 ? layouts[1] : QString());
        QCOMPARE(ReadLayout(layouts.last()).functionKeys[11], layouts.size() > 1 ? layouts[0] : QString());
    }

    // Each of these is refused with a message and leaves the data folder as it was.
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
        row("JSON syntax error", "a.obf", "{\"buttons\": [}", "sintassi JSON");
        row("board of hidden buttons only", "a.obf", Json(Board({Button("uno", {{"hidden", true}})})),
            "non ha tasti");
        row("entry inflating past 64 MB", "a.obz",
            picture("big.png", {{"big.png", QByteArray(ZipArchive::MaxEntryBytes + 1, '\0')}}),
            "troppo grande");
        row("root board outside the archive", "a.obz",
            Zip({{"manifest.json", Json({{"root", "../../etc/root.obf"}})}}), "fuori dall'archivio");
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
        std::sort(issues.begin(), issues.end());
        QCOMPARE(issues, (QList<int>{int(I::RemotePicture), int(I::SymbolPicture), int(I::BadPicture),
                                     int(I::BadPicture), int(I::BadPicture), int(I::RemoteSound),
                                     int(I::BadSound), int(I::Action), int(I::MissingLink)}));
        const LayoutFile keys = ReadLayout(report.layouts()[0]);
        QCOMPARE(keys.texts, (QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8"}));
        for (int i = 0; i < 9; ++i) {
            const QImage picture = Picture(keys.pictures[i]);
            QVERIFY(picture.size() == QSize(256, 256) && Colours(picture) > 1); // the label is drawn
            QVERIFY(keys.sounds[i].isEmpty());
        }
        QVERIFY(tableAccepts(report.layouts()[0]));
    }

    // More buttons than a table holds: consecutive layouts, F12 going round
    // them, the board's own link kept on F1 of every part; a key count the
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
        const LayoutFile first = ReadLayout(layouts[0]);
        const LayoutFile second = ReadLayout(layouts[1]);
        QCOMPARE(first.texts.size(), 21);
        QCOMPARE(first.texts.last(), "w21");
        QCOMPARE(second.texts, (QStringList{"w22", "w23", "w24", "w25"}));
        QCOMPARE((QStringList{first.functionKeys[11], second.functionKeys[11], first.functionKeys[0],
                              second.functionKeys[0]}),
                 (QStringList{layouts[1], layouts[0], layouts[2], layouts[2]}));
        QVERIFY(tableAccepts(layouts[1]));
        QCOMPARE(int(report.entries().first().issue), int(ObfReport::Issue::Split));
    }

    // Exported and imported back: the same keys, texts, pictures pixel for
    // pixel, sounds sample for sample, and function keys reaching the same layouts.
    void roundTrip_data() {
        QTest::addColumn<QStringList>("chain"); // name:default layout copied:F1|F2... links
        QTest::addRow("default 16-key layout") << QStringList{"lay12.ini"};
        QTest::addRow("3-layout chain")
            << QStringList{"a.ini:lay4.ini:b.ini|", "b.ini:lay5.ini:c.ini|a.ini", "c.ini:lay1.ini:a.ini"};
    }
    void roundTrip() {
        QFETCH(QStringList, chain);
        const QString from = m_dir.filePath(QTest::currentDataTag() + QString("/from"));
        QVERIFY(Installer(from).Install());
        const QString layouts = from + "/layout/";
        QStringList names;
        for (const QString& item : std::as_const(chain)) {
            const QStringList parts = item.split(':');
            names << parts[0];
            if (parts.size() > 1) {
                QVERIFY(QFile::copy(layouts + parts[1], layouts + parts[0]));
                CINIFile ini;
                ini.SetFile(layouts + parts[0]);
                ini.SetSection("Tasti Funzione");
                for (int f = 0; f < 12; ++f) {
                    const QString link = parts[2].split('|').value(f);
                    ini.SetValues(QString("F%1").arg(f + 1), link.isEmpty() ? QString() : layouts + link);
                }
            }
        }
        QString error;
        QVERIFY2(ObfExporter::Export(layouts + names[0], from + "/set.obz", names.size() > 1, &error),
                 qPrintable(error));
        ObfReport report;
        QCOMPARE(import("set.obz", readFile(from + "/set.obz"), report), QString());
        QCOMPARE(report.layouts().size(), names.size());
        QVERIFY2(report.entries().isEmpty(), qPrintable(report.summary()));
        for (int i = 0; i < names.size(); ++i) {
            const LayoutFile original = ReadLayout(layouts + names[i]);
            const LayoutFile imported = ReadLayout(report.layouts()[i]);
            QCOMPARE(imported.texts, original.texts);
            for (int k = 0; k < original.texts.size(); ++k) {
                QVERIFY(!Picture(original.pictures[k]).isNull() && !Samples(original.sounds[k]).empty());
                QVERIFY2(Picture(imported.pictures[k]) == Picture(original.pictures[k]),
                         qPrintable(original.texts[k]));
                QVERIFY2(Samples(imported.sounds[k]) == Samples(original.sounds[k]),
                         qPrintable(original.texts[k]));
            }
            for (int f = 0; f < 12; ++f) {
                const qsizetype target = names.indexOf(QFileInfo(original.functionKeys[f]).fileName());
                QCOMPARE(imported.functionKeys[f], target < 0 ? QString() : report.layouts()[target]);
            }
        }
    }

    // MP3, OGG and WAV sounds become WAV files of the same length and loudness; pictures end up as the
    // table shows them: transparency on white, JPEG kept as it is, SVG drawn at 256 px.
    void media() {
        QImage image(40, 40, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 20; ++x) {
                image.setPixelColor(x, y, Qt::red);
            }
        }
        QByteArray png;
        QByteArray jpeg;
        QBuffer pngBuffer(&png);
        QBuffer jpegBuffer(&jpeg);
        QVERIFY(image.save(&pngBuffer, "PNG") &&
                image.convertToFormat(QImage::Format_RGB32).save(&jpegBuffer, "JPEG", 95));
        const QList<QByteArray> pictures{png, jpeg,
                                         "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='50'>"
                                         "<rect width='50' height='50' fill='red'/></svg>"};
        const QStringList types{"mp3",        "audio/mpeg", "image/png", "ogg",          "audio/ogg",
                                "image/jpeg", "wav",        "audio/wav", "image/svg+xml"};
        QJsonArray buttons;
        QJsonArray images;
        QJsonArray sounds;
        for (int i = 0; i < 3; ++i) {
            const QString tone = m_dir.filePath("tone." + types[3 * i]);
            QCOMPARE(
                QProcess::execute("sox", {"-n", "-r", "22050", "-c", "1", tone, "synth", "1", "sine", "440"}),
                0);
            sounds << Media(types[3 * i], types[3 * i + 1], readFile(tone));
            images << Media(types[3 * i + 2], types[3 * i + 2], pictures[i]);
            buttons << Button(types[3 * i], {{"sound_id", types[3 * i]}, {"image_id", types[3 * i + 2]}});
        }
        ObfReport report;
        QCOMPARE(import("in.obf", Json(Board(buttons, images, sounds)), report), QString());
        QVERIFY2(report.entries().isEmpty(), qPrintable(report.summary()));
        const LayoutFile keys = ReadLayout(report.layouts()[0]);
        for (int i = 0; i < 3; ++i) {
            const std::vector<qint16> samples = Samples(keys.sounds[i]);
            QVERIFY2(samples.size() > 22050 * 95 / 100 && samples.size() < 22050 * 110 / 100,
                     qPrintable(types[3 * i]));
            QVERIFY(*std::max_element(samples.begin(), samples.end()) > 8000);
            QCOMPARE(QFileInfo(keys.pictures[i]).suffix(), QString(i == 1 ? "jpg" : "bmp"));
            const QImage picture = Picture(keys.pictures[i]);
            const int size = i == 2 ? 256 : 40;
            QCOMPARE(picture.size(), QSize(size, size));
            // Left half red, right half (transparent, JPEG's black, beyond the SVG) white or black.
            const QColor left = picture.pixelColor(size / 4, size / 2);
            const QColor right = picture.pixelColor(size * 3 / 4, size / 2);
            QVERIFY2(left.red() > 200 && left.green() < 60, qPrintable(left.name()));
            QVERIFY2(i == 1 ? right.value() < 60 : right == Qt::white, qPrintable(right.name()));
        }
    }
};

MIRELVA_TEST(TstObf)
#include "obf_import.moc"
