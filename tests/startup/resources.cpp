// The pictures, sounds and bitmaps embedded in the program: the installation writes the first two out
// byte for byte and the intro screen draws the bitmaps, so each must be there under its fixed name and be
// a real, decodable file of the right kind.

#include "fakes/TestRegistry.h"

#include <QtTest>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <optional>

namespace {

const QStringList KeyNames{"Arancia", "Banana",  "Befana",  "Casa",    "Contadino", "Elicottero",
                           "Gallo",   "Lettera", "Mela",    "Missile", "Pallone",   "Pera",
                           "Postino", "Sedia",   "Tamburo", "Torta"};

QByteArray resourceBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

struct WavInfo {
    int formatTag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int blockAlign = 0;
    QByteArray samples;
};

quint32 le32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

quint16 le16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

// Walks the RIFF chunks the way a strict reader does: every chunk must fit in the file, chunks are padded
// to even sizes, and both "fmt " and "data" must be present.
std::optional<WavInfo> parseWav(const QByteArray& b) {
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") {
        return std::nullopt;
    }
    if (le32(b, 4) + 8 != quint32(b.size())) {
        return std::nullopt;
    }
    WavInfo info;
    bool haveFmt = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= b.size()) {
        const QByteArray id = b.mid(at, 4);
        const quint32 size = le32(b, at + 4);
        const qsizetype body = at + 8;
        if (size > quint32(b.size() - body)) {
            return std::nullopt;
        }
        if (id == "fmt " && size >= 16) {
            info.formatTag = le16(b, body);
            info.channels = le16(b, body + 2);
            info.sampleRate = int(le32(b, body + 4));
            info.blockAlign = le16(b, body + 12);
            info.bitsPerSample = le16(b, body + 14);
            haveFmt = true;
        } else if (id == "data") {
            info.samples = b.mid(body, size);
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    if (!haveFmt || !haveData) {
        return std::nullopt;
    }
    return info;
}

int peak16(const QByteArray& samples) {
    int peak = 0;
    for (qsizetype i = 0; i + 1 < samples.size(); i += 2) {
        peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(samples.constData() + i))));
    }
    return peak;
}

double nonWhiteShare(const QImage& img) {
    qsizetype count = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            count += (img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        }
    }
    return double(count) / double(img.width() * img.height());
}

QStringList numbered(int first, int last, const QString& suffix) {
    QStringList names;
    for (int n = first; n <= last; ++n) {
        names << QString::number(n) + suffix;
    }
    return names;
}

} // namespace

class TstResources : public QObject {
    Q_OBJECT
private slots:
    void folderHoldsExactlyTheExpectedFiles_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("sounds") << ":/R1_AUDIO" << numbered(111, 127, ".wav");
        QTest::addRow("pictures") << ":/R2_PICTURE" << numbered(111, 126, ".gif");
        QTest::addRow("bitmaps") << ":/bitmaps" << numbered(101, 104, ".bmp");
    }
    void folderHoldsExactlyTheExpectedFiles() {
        QFETCH(QString, folder);
        QFETCH(QStringList, expected);
        QStringList found = QDir(folder).entryList(QDir::Files, QDir::Name);
        QCOMPARE(found, expected);
    }

    void pictureIsAClearGifOnWhite_data() {
        QTest::addColumn<QString>("path");
        for (int i = 0; i < KeyNames.size(); ++i) {
            const int number = 111 + i;
            QTest::addRow("%d %s", number, qPrintable(KeyNames[i]))
                << QString(":/R2_PICTURE/%1.gif").arg(number);
        }
    }
    void pictureIsAClearGifOnWhite() {
        QFETCH(QString, path);
        const QByteArray bytes = resourceBytes(path);
        QVERIFY2(bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"), "not a GIF file");

        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("gif"));
        const QImage img = reader.read();
        QVERIFY2(!img.isNull(), qPrintable(reader.errorString()));
        QVERIFY(img.width() >= 240 && img.width() <= 272);
        QVERIFY(img.height() >= 240 && img.height() <= 272);

        // Pictures are drawn with a bitwise AND, so only exact white leaves the table beneath untouched.
        const QRgb white = qRgb(255, 255, 255);
        QCOMPARE(img.pixel(0, 0), white);
        QCOMPARE(img.pixel(img.width() - 1, 0), white);
        QCOMPARE(img.pixel(0, img.height() - 1), white);
        QCOMPARE(img.pixel(img.width() - 1, img.height() - 1), white);
        QVERIFY(!img.hasAlphaChannel());

        // A picture a child can read fills a good part of its square; a blank or tiny one does not.
        const double share = nonWhiteShare(img);
        QVERIFY2(share > 0.2 && share < 0.95, qPrintable(QString("coloured share %1").arg(share)));
    }

    void soundIsAPlayablePcmWav_data() {
        QTest::addColumn<QString>("path");
        for (int i = 0; i < KeyNames.size(); ++i) {
            const int number = 111 + i;
            QTest::addRow("%d %s", number, qPrintable(KeyNames[i]))
                << QString(":/R1_AUDIO/%1.wav").arg(number);
        }
        QTest::addRow("127 applause") << ":/R1_AUDIO/127.wav";
    }
    void soundIsAPlayablePcmWav() {
        QFETCH(QString, path);
        const auto wav = parseWav(resourceBytes(path));
        QVERIFY2(wav.has_value(), "not a well-formed RIFF/WAVE file");
        QCOMPARE(wav->formatTag, 1);
        QCOMPARE(wav->channels, 1);
        QCOMPARE(wav->bitsPerSample, 16);
        QCOMPARE(wav->blockAlign, 2);
        QVERIFY(wav->sampleRate >= 8000 && wav->sampleRate <= 48000);
        QCOMPARE(wav->samples.size() % wav->blockAlign, 0);

        const double seconds = double(wav->samples.size()) / wav->blockAlign / wav->sampleRate;
        QVERIFY2(seconds >= 0.3 && seconds <= 4.0, qPrintable(QString("lasts %1 s").arg(seconds)));
        // Audible, not a file of silence.
        QVERIFY(peak16(wav->samples) > 8000);
    }

    void bitmapHasItsSizeAndKey_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRgb>("key");
        const QRgb noKey = 0;
        QTest::addRow("101 left band tile") << ":/bitmaps/101.bmp" << QSize(58, 72) << noKey;
        QTest::addRow("102 right band tile") << ":/bitmaps/102.bmp" << QSize(115, 190) << qRgb(255, 255, 255);
        // The intro screen puts 104 at y = 18 under 103, both against the right edge.
        QTest::addRow("103 top emblem") << ":/bitmaps/103.bmp" << QSize(160, 18) << qRgb(255, 123, 57);
        QTest::addRow("104 emblem") << ":/bitmaps/104.bmp" << QSize(160, 120) << qRgb(255, 123, 57);
    }
    void bitmapHasItsSizeAndKey() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(QRgb, key);
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        const QImage img = reader.read();
        QVERIFY2(!img.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(img.size(), size);
        QVERIFY(!img.hasAlphaChannel());

        // Colours in use: a plain fill is no decoration, and a keyed bitmap must be partly see-through
        // and partly drawn.
        QSet<QRgb> colours;
        qsizetype keyed = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y) | 0xFF000000;
                colours.insert(c);
                keyed += key != 0 && c == (key | 0xFF000000);
            }
        }
        QVERIFY(colours.size() >= 2);
        if (key != 0) {
            QCOMPARE(img.pixel(0, 0) | 0xFF000000, key | 0xFF000000);
            QVERIFY(keyed > 0 && keyed < qsizetype(img.width()) * img.height());
        }
    }
};

MIRELVA_TEST(TstResources)
#include "resources.moc"
