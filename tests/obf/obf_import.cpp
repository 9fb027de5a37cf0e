#include "obf/ObfImporter.h"

#include "ObfFixtures.h"
#include "config/LayoutReader.h"
#include "fakes/RecordingMessages.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "obf/ObfCommands.h"
#include "obf/ZipArchive.h"
#include "runtime/PictureFile.h"

#include <QDirIterator>
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
} // namespace

class TstObfImport : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_data;

    // Imports a file of these bytes; the error is empty on success.
    QString import(const QString& name, const QByteArray& bytes, ObfReport& report) {
        const QString file = m_data + "/../" + name;
        TestSupport::writeFile(file, bytes);
        QString error;
        return ObfImporter(m_data).Import(file, report, &error) ? QString() : error + '!';
    }
    QStringList listing() const {
        QStringList files;
        for (QDirIterator it(m_data, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
             it.hasNext();) {
            files << it.next() + ' ' + QString::fromLatin1(TestSupport::readFile(it.filePath()).toBase64());
        }
        files.sort();
        return files;
    }

private slots:
    void init() {
        m_data =
            m_dir.filePath(QString(QTest::currentTestFunction()) + '/' + QTest::currentDataTag() + "/data");
        TestSupport::writeFile(m_data + "/layout/Root.ini", "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n");
        TestSupport::writeFile(m_data + "/cfg.ini", "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n");
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
        ObfReport report;
        QCOMPARE(import(QTest::currentDataTag(),
                        TestSupport::readFile(TestSupport::sourceDir() + "/tests/obf/data/" +
                                              QTest::currentDataTag()),
                        report),
                 QString());
        const QStringList layouts = report.layouts();
        QCOMPARE(layouts.size(), texts.size());
        for (int i = 0; i < texts.size(); ++i) {
            const LayoutFile keys = ReadLayout(layouts[i]);
            QCOMPARE(keys.texts.join('|'), texts[i]);
            for (const QString& picture : keys.pictures) {
                QVERIFY2(Colours(LoadPictureFile(picture)) > (i == 0 ? 100 : 1), qPrintable(picture));
            }
            QVERIFY(TableAccepts(m_data, layouts[i]));
        }
        QCOMPARE(ReadLayout(layouts[0]).functionKeys[0], layouts.size() > 1 ? layouts[1] : QString());
        QCOMPARE(ReadLayout(layouts.last()).functionKeys[11], layouts.size() > 1 ? layouts[0] : QString());
        QVERIFY(QFileInfo::exists(m_data + "/layout/Root.ini"));
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
        const QJsonObject one = Board("b", {Button("1", "uno")});
        const auto picture = [](const QString& path, const Entries& more = {}) {
            return Set(Board("r", {Button("1", "uno", {{"image_id", "p"}})},
                             {QJsonObject{{"id", "p"}, {"path", path}}}),
                       more);
        };
        row("not a ZIP", "a.obz", "no zip here", "non è un archivio ZIP");
        row("ZIP without manifest.json", "a.obz", Zip({{"boards/root.obf", Json(one)}}), "manifest.json");
        row("JSON syntax error", "a.obf", "{\"buttons\": [}", "sintassi JSON");
        row("board of hidden buttons only", "a.obf",
            Json(Board("b", {Button("1", "uno", {{"hidden", true}})})), "non ha tasti");
        row("entry inflating past 64 MB", "a.obz",
            picture("big.png", {{"big.png", QByteArray(ZipArchive::MaxEntryBytes + 1, '\0')}}),
            "troppo grande");
        row("root board outside the archive", "a.obz",
            Zip({{"manifest.json", Json({{"root", "../../etc/root.obf"}})}, {"root.obf", Json(one)}}),
            "fuori dall'archivio");
        row("picture with an absolute path", "a.obz", picture("/etc/passwd"), "fuori dall'archivio");
        row("link climbing out with ..", "a.obz",
            Set(Board("r",
                      {Button("1", "uno", {{"load_board", QJsonObject{{"path", "boards/../../x.obf"}}}})})),
            "fuori dall'archivio");
    }
    void badInput() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QStringList before = listing();
        ObfReport report;
        const QString error = import(name, bytes, report);
        QVERIFY2(error.endsWith('!') && error.contains(message), qPrintable(error));
        QCOMPARE(listing(), before);
    }

    // What cannot be carried is reported, button by button, and the rest is imported:
    // each key keeps its text, gets its label drawn as its picture, and no sound.
    void notCarried() {
        using I = ObfReport::Issue;
        const QList<std::tuple<QJsonObject, QJsonObject, I>> cases{
            {{{"image_id", "p1"}},
             {{"id", "p1"}, {"data", "data:image/png;base64,iVBOR*w0KG"}},
             I::BadPicture},
            {{{"image_id", "p2"}}, Media("p2", "image/png", "hello"), I::BadPicture},
            {{{"image_id", "zz"}}, {}, I::BadPicture},
            {{{"image_id", "p3"}}, {{"id", "p3"}, {"url", "https://example.org/cat.png"}}, I::RemotePicture},
            {{{"image_id", "p4"}},
             {{"id", "p4"}, {"symbol", QJsonObject{{"set", "x"}, {"filename", "c.svg"}}}},
             I::SymbolPicture},
            {{{"sound_id", "s1"}}, Media("s1", "audio/mpeg", "hello"), I::BadSound},
            {{{"sound_id", "s2"}}, {{"id", "s2"}, {"url", "https://example.org/cat.mp3"}}, I::RemoteSound},
            {{{"action", ":clear"}}, {}, I::Action},
            {{{"load_board", QJsonObject{{"name", "altra"}, {"path", "boards/altra.obf"}}}},
             {},
             I::MissingLink}};
        QJsonArray buttons;
        QJsonArray images;
        QJsonArray sounds;
        for (const auto& [button, media, issue] : cases) {
            buttons << Button(QString::number(buttons.size()), QString("gatto%1").arg(buttons.size()),
                              button);
            (button.contains("sound_id") ? sounds : images) << media;
        }
        ObfReport report;
        QCOMPARE(import("b.obf", Json(Board("b", buttons, images, sounds)), report), QString());
        QList<int> expected;
        QList<int> got;
        for (const auto& entry : report.entries()) {
            got << int(entry.issue);
        }
        const LayoutFile keys = ReadLayout(report.layouts()[0]);
        for (int i = 0; i < cases.size(); ++i) {
            expected << int(std::get<2>(cases[i]));
            QCOMPARE(keys.texts[i], QString("gatto%1").arg(i));
            const QImage picture = LoadPictureFile(keys.pictures[i]);
            QVERIFY(picture.size() == QSize(256, 256) && Colours(picture) > 1); // the label is drawn
            QVERIFY(keys.sounds[i].isEmpty());
        }
        std::sort(got.begin(), got.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(got, expected);
        QVERIFY(TableAccepts(m_data, report.layouts()[0]));
    }

    // More buttons than a table holds: consecutive layouts, F12 going round
    // them, the board's own link kept on F1 of every part; a key count the
    // table does not allow is filled with blank keys.
    void split() {
        QJsonArray buttons;
        for (int i = 1; i <= 24; ++i) {
            buttons << Button(QString::number(i), QString("w%1").arg(i));
        }
        buttons << Button("25", "w25", {{"load_board", QJsonObject{{"path", "boards/b.obf"}}}});
        ObfReport report;
        QCOMPARE(
            import("s.obz",
                   Set(Board("Grande", buttons), {{"boards/b.obf", Json(Board("b", {Button("1", "x")}))}}),
                   report),
            QString());
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
};

MIRELVA_TEST(TstObfImport)
#include "obf_import.moc"
