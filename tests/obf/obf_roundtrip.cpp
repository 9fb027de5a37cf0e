#include "obf/ObfExporter.h"
#include "obf/ObfImporter.h"

#include "ObfFixtures.h"
#include "audio/WavSource.h"
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

QImage Picture(const QString& path) {
    return LoadPictureFile(path).convertToFormat(QImage::Format_RGB32);
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
        QTest::addColumn<QStringList>("chain"); // name:default layout copied:F1|F2... links
        QTest::addRow("default 16-key layout") << QStringList{"lay12.ini"};
        QTest::addRow("3-layout chain")
            << QStringList{"a.ini:lay4.ini:b.ini|", "b.ini:lay5.ini:c.ini|a.ini", "c.ini:lay1.ini:a.ini"};
    }
    void roundTrip() {
        QFETCH(QStringList, chain);
        const QString from = m_dir.filePath(QTest::currentDataTag() + QString("/from"));
        const QString to = m_dir.filePath(QTest::currentDataTag() + QString("/to"));
        QVERIFY(Installer(from).Install());
        QVERIFY(Installer(to).Install());
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
        QVERIFY2(ObfImporter(to).Import(from + "/set.obz", report, &error), qPrintable(error));
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
        const QStringList sounds{"mp3", "audio/mpeg", "ogg", "audio/ogg", "wav", "audio/wav"};
        const QList<QByteArray> pictures{
            TwoColours(Qt::red, Qt::transparent, "PNG"), TwoColours(Qt::red, Qt::blue, "JPEG"),
            "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='50'><rect width='50' height='50' "
            "fill='red'/></svg>"};
        const QStringList pictureTypes{"image/png", "image/jpeg", "image/svg+xml"};
        QJsonArray buttons;
        QJsonArray images;
        QJsonArray audio;
        for (int i = 0; i < 3; ++i) {
            const QByteArray tone = Tone(sounds[2 * i]);
            QVERIFY2(!tone.isEmpty(), "sox could not make the sound");
            audio << Media(sounds[2 * i], sounds[2 * i + 1], tone);
            images << Media(QString::number(i), pictureTypes[i], pictures[i]);
            buttons << Button(QString::number(i), sounds[2 * i],
                              {{"sound_id", sounds[2 * i]}, {"image_id", QString::number(i)}});
        }
        const QString folder = m_dir.filePath("media");
        TestSupport::writeFile(folder + "/in.obf", Json(Board("t", buttons, images, audio)));
        ObfReport report;
        QString error;
        QVERIFY2(ObfImporter(folder).Import(folder + "/in.obf", report, &error), qPrintable(error));
        QVERIFY2(report.entries().isEmpty(), qPrintable(report.summary()));
        const LayoutFile keys = ReadLayout(report.layouts()[0]);
        for (int i = 0; i < 3; ++i) {
            const std::vector<qint16> samples = Samples(keys.sounds[i]);
            QVERIFY2(samples.size() > 22050 * 95 / 100 && samples.size() < 22050 * 110 / 100,
                     qPrintable(sounds[2 * i]));
            QVERIFY(*std::max_element(samples.begin(), samples.end()) > 8000);
            QCOMPARE(QFileInfo(keys.pictures[i]).suffix(), QString(i == 1 ? "jpg" : "bmp"));
            const QImage picture = Picture(keys.pictures[i]);
            const int size = i == 2 ? 256 : 40;
            QCOMPARE(picture.size(), QSize(size, size));
            // Left half red, right half blue or (transparent, beyond the SVG) white.
            const QColor left = picture.pixelColor(size / 4, size / 2);
            const QColor right = picture.pixelColor(size * 3 / 4, size / 2);
            QVERIFY2(left.red() > 200 && left.green() < 60, qPrintable(left.name()));
            QVERIFY2(i == 1 ? right.blue() > 200 && right.red() < 60 : right == Qt::white,
                     qPrintable(right.name()));
        }
    }
};

MIRELVA_TEST(TstObfRoundTrip)
#include "obf_roundtrip.moc"
