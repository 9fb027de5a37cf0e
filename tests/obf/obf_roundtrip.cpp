#include "obf/ObfExporter.h"
#include "obf/ObfImporter.h"

#include "ObfFixtures.h"
#include "audio/WavSource.h"
#include "config/CINIFile.h"
#include "editor/LayoutWriter.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "runtime/PictureFile.h"
#include "startup/Installer.h"

#include <QtTest>

using namespace ObfFixtures;

namespace {
std::vector<qint16> Samples(const QString& path) {
    std::vector<qint16> samples;
    DecodeWav(TestSupport::readFile(path), AudioFormat{22050, 1}, [&samples](std::span<const qint16> piece) {
        samples.insert(samples.end(), piece.begin(), piece.end());
    });
    return samples;
}

struct Layout {
    QStringList texts;
    QList<QImage> pictures;
    QList<std::vector<qint16>> sounds;
    QStringList functionKeys; // file names
};

// A layout's keys decoded: pictures as the table shows them, sounds as samples.
Layout Read(const QString& path) {
    const LayoutFile file = ReadLayout(path);
    Layout layout{file.texts, {}, {}, {}};
    for (int k = 0; k < file.texts.size(); ++k) {
        layout.pictures << LoadPictureFile(file.pictures[k]).convertToFormat(QImage::Format_RGB32);
        layout.sounds << Samples(file.sounds[k]);
    }
    for (const QString& f : file.functionKeys) {
        layout.functionKeys << QFileInfo(f).fileName();
    }
    return layout;
}

// A layout of the program's own writer with keys taken from the default 16-key layout.
void WriteChainLayout(const QString& folder, const QString& name, const Layout& source, int first, int keys,
                      const QStringList& links) {
    CINIFile defaults;
    defaults.SetFile(folder + "/lay12.ini");
    LayoutContent content;
    content.KeyCount = qint16(keys);
    content.Section2On = 1;
    content.Section3On = 1;
    for (int k = 0; k < keys; ++k) {
        content.Texts[k] = source.texts[first + k];
        defaults.SetSection("Sezione Immagini");
        content.Pictures[k] = defaults.Values(QString("Immagine%1").arg(first + k + 1));
        defaults.SetSection("Sezione Sonoro");
        content.Sounds[k] = defaults.Values(QString("Sonoro%1").arg(first + k + 1));
    }
    for (int f = 0; f < links.size(); ++f) {
        content.FunctionKeyLayouts[f] = links[f].isEmpty() ? QString() : folder + "/" + links[f];
    }
    CINIFile ini;
    ini.SetFile(folder + "/" + name);
    LayoutWriter::WriteSections(ini, content);
}
} // namespace

class TstObfRoundTrip : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private slots:
    // Exported and imported back: the same keys, texts, pictures pixel for
    // pixel, sounds sample for sample, and function keys reaching the same layouts.
    void roundTrip_data() {
        QTest::addColumn<QStringList>("chain"); // layout name, then the F1.. links as "name|name"
        QTest::addRow("default 16-key layout") << QStringList{"lay12.ini"};
        QTest::addRow("3-layout chain")
            << QStringList{"a.ini:0:4:b.ini|", "b.ini:4:6:c.ini|a.ini", "c.ini:10:1:a.ini"};
    }
    void roundTrip() {
        QFETCH(QStringList, chain);
        const QString from = m_dir.filePath(QTest::currentDataTag() + QString("/from"));
        const QString to = m_dir.filePath(QTest::currentDataTag() + QString("/to"));
        QVERIFY(Installer(from).Install());
        QVERIFY(Installer(to).Install());
        const QString layouts = from + "/layout";
        const Layout defaults = Read(layouts + "/lay12.ini");
        QStringList names;
        for (const QString& item : std::as_const(chain)) {
            const QStringList parts = item.split(':');
            names << parts[0];
            if (parts.size() > 1) {
                WriteChainLayout(layouts, parts[0], defaults, parts[1].toInt(), parts[2].toInt(),
                                 parts[3].split('|'));
            }
        }
        const QString obz = from + "/set.obz";
        QString error;
        QVERIFY2(ObfExporter::Export(layouts + '/' + names[0], obz, names.size() > 1, &error),
                 qPrintable(error));
        ObfReport report;
        QVERIFY2(ObfImporter(to).Import(obz, report, &error), qPrintable(error));
        QCOMPARE(report.layouts().size(), names.size());
        QVERIFY2(report.entries().isEmpty(), qPrintable(report.summary()));
        for (int i = 0; i < names.size(); ++i) {
            const Layout original = Read(layouts + '/' + names[i]);
            const Layout imported = Read(report.layouts()[i]);
            QCOMPARE(imported.texts, original.texts);
            QCOMPARE(imported.pictures.size(), original.pictures.size());
            for (int k = 0; k < original.pictures.size(); ++k) {
                QVERIFY(!original.pictures[k].isNull());
                QVERIFY2(imported.pictures[k] == original.pictures[k], qPrintable(original.texts[k]));
                QVERIFY(!original.sounds[k].empty());
                QVERIFY2(imported.sounds[k] == original.sounds[k], qPrintable(original.texts[k]));
            }
            for (int f = 0; f < 12; ++f) {
                const qsizetype target = names.indexOf(original.functionKeys[f]);
                QCOMPARE(imported.functionKeys[f],
                         target < 0 ? QString() : QFileInfo(report.layouts()[target]).fileName());
            }
        }
    }

    // MP3, OGG and WAV sounds become WAV files of the same length and loudness.
    void sounds_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("type");
        QTest::addRow("mp3") << "mp3"
                             << "audio/mpeg";
        QTest::addRow("ogg") << "ogg"
                             << "audio/ogg";
        QTest::addRow("wav") << "wav"
                             << "audio/wav";
    }
    void sounds() {
        QFETCH(QString, extension);
        QFETCH(QString, type);
        const QByteArray tone = Tone(extension);
        QVERIFY2(!tone.isEmpty(), "sox could not make the sound");
        const QString folder = m_dir.filePath(extension);
        const QJsonObject sound{{"id", "s"},
                                {"data", "data:" + type + ";base64," + QString::fromLatin1(tone.toBase64())}};
        TestSupport::writeFile(folder + "/in.obf",
                               Json(Board("t", {Button("1", "la", {{"sound_id", "s"}})}, {}, {sound})));
        ObfReport report;
        QString error;
        QVERIFY2(ObfImporter(folder).Import(folder + "/in.obf", report, &error), qPrintable(error));
        QVERIFY2(report.entries().isEmpty(), qPrintable(report.summary()));
        const std::vector<qint16> samples = Read(report.layouts()[0]).sounds.value(0);
        QVERIFY2(samples.size() > 22050 * 95 / 100 && samples.size() < 22050 * 110 / 100,
                 qPrintable(QString::number(samples.size())));
        QVERIFY(*std::max_element(samples.begin(), samples.end()) > 8000);
    }

    // Pictures of every kind end up as the table shows them: on white, SVG at 256 px.
    void pictures_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("suffix");
        QImage alpha = TwoColours(40, Qt::red, Qt::transparent);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        TwoColours(40, Qt::red, Qt::blue).save(&buffer, "JPEG", 95);
        QTest::addRow("PNG with transparency") << Png(alpha) << "image/png" << QSize(40, 40) << "bmp";
        QTest::addRow("JPEG kept as it is") << jpeg << "image/jpeg" << QSize(40, 40) << "jpg";
        QTest::addRow("SVG drawn at 256 px")
            << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='100' height='50'>"
                          "<rect width='50' height='50' fill='red'/></svg>")
            << "image/svg+xml" << QSize(256, 256) << "bmp";
    }
    void pictures() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, type);
        QFETCH(QSize, size);
        QFETCH(QString, suffix);
        const QString folder = m_dir.filePath(QString("pictures/") + QTest::currentDataTag());
        const QJsonObject image{
            {"id", "p"}, {"data", "data:" + type + ";base64," + QString::fromLatin1(bytes.toBase64())}};
        TestSupport::writeFile(folder + "/in.obf",
                               Json(Board("t", {Button("1", "x", {{"image_id", "p"}})}, {image})));
        ObfReport report;
        QString error;
        QVERIFY2(ObfImporter(folder).Import(folder + "/in.obf", report, &error), qPrintable(error));
        CINIFile ini;
        ini.SetFile(report.layouts()[0]);
        ini.SetSection("Sezione Immagini");
        const QString path = ini.Values("Immagine1");
        QCOMPARE(QFileInfo(path).suffix(), suffix);
        const QImage picture = LoadPictureFile(path);
        QCOMPARE(picture.size(), size);
        // Left half red, right half blue or (transparent, beyond the SVG) white.
        const QColor left = picture.pixelColor(size.width() / 4, size.height() / 2);
        const QColor right = picture.pixelColor(size.width() * 3 / 4, size.height() / 2);
        QVERIFY2(left.red() > 200 && left.green() < 60, qPrintable(left.name()));
        QVERIFY2(type == "image/jpeg" ? right.blue() > 200 && right.red() < 60 : right == Qt::white,
                 qPrintable(right.name()));
    }
};

MIRELVA_TEST(TstObfRoundTrip)
#include "obf_roundtrip.moc"
