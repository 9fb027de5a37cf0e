#include "BenchFolder.h"

#include "GifWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>

#include <cmath>
#include <numbers>

namespace {
const QStringList Texts = {"Mela",  "Pane",   "Acqua", "Latte",   "Casa",  "Mamma",  "Papà",
                           "Gatto", "Cane",   "Sole",  "Pioggia", "Letto", "Bagno",  "Gioco",
                           "Libro", "Musica", "Sì",    "No",      "Aiuto", "Grazie", "Ciao"};

// A pictogram as AAC tables use them: flat colours and bold shapes on white,
// with one band of fine stripes so that no two pictures compress alike.
QImage Pictogram(int key, bool photoLike) {
    QRandomGenerator random(quint32(key) * 7919U);
    QImage image(BenchFolder::PictureSide, BenchFolder::PictureSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, photoLike);
    if (photoLike) {
        QLinearGradient sky(0, 0, 0, BenchFolder::PictureSide);
        sky.setColorAt(0, QColor::fromHsv((key * 37) % 360, 90, 250));
        sky.setColorAt(1, QColor::fromHsv((key * 37 + 120) % 360, 160, 120));
        p.fillRect(image.rect(), sky);
    }
    const auto cubeColour = [&random] {
        return QColor(51 * int(random.bounded(6)), 51 * int(random.bounded(6)), 51 * int(random.bounded(6)));
    };
    for (int shape = 0; shape < 6 + key % 5; ++shape) {
        const QRect box(int(random.bounded(380)), int(random.bounded(380)), 60 + int(random.bounded(200)),
                        60 + int(random.bounded(200)));
        p.setPen(QPen(cubeColour(), 4 + key % 6));
        p.setBrush(cubeColour());
        if (shape % 3 == 0) {
            p.drawEllipse(box);
        } else if (shape % 3 == 1) {
            p.drawRect(box);
        } else {
            p.drawPolygon(QPolygon({box.topLeft(), box.bottomLeft(), QPoint(box.right(), box.center().y())}));
        }
    }
    p.setPen(QPen(cubeColour(), 1));
    for (int y = 440; y < 500; y += 2 + key % 3) {
        p.drawLine(20, y, 492, y - key);
    }
    p.end();
    if (photoLike) {
        // Sensor noise: what makes photographs costly to decode.
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int n = int(random.bounded(17)) - 8;
                const QRgb c = line[x];
                line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255),
                               qBound(0, qBlue(c) + n, 255));
            }
        }
    }
    return image;
}

QByteArray Wav(int key) {
    const int frames = BenchFolder::SoundRate * BenchFolder::SoundMs / 1000;
    QByteArray data;
    data.reserve(frames * 2);
    const double hz = 300.0 + 40.0 * key;
    for (int i = 0; i < frames; ++i) {
        // Starts at full swing: the first sample is never silence.
        const auto s = qint16(12000 * std::cos(2 * std::numbers::pi * hz * i / BenchFolder::SoundRate));
        data.append(char(s & 0xFF));
        data.append(char((s >> 8) & 0xFF));
    }
    QByteArray wav("RIFF");
    const auto le32 = [&wav](quint32 v) {
        for (int b = 0; b < 4; ++b) {
            wav.append(char((v >> (8 * b)) & 0xFF));
        }
    };
    const auto le16 = [&wav](quint16 v) {
        wav.append(char(v & 0xFF));
        wav.append(char(v >> 8));
    };
    le32(quint32(36 + data.size()));
    wav.append("WAVEfmt ");
    le32(16);
    le16(1); // PCM
    le16(1); // mono
    le32(BenchFolder::SoundRate);
    le32(BenchFolder::SoundRate * 2);
    le16(2);
    le16(16);
    wav.append("data");
    le32(quint32(data.size()));
    wav.append(data);
    return wav;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ToWindows1252(const QString& text) {
    // The texts hold only Latin-1 letters, which the code page keeps as they are.
    return text.toLatin1();
}
} // namespace

BenchFolder::BenchFolder() {
    m_valid = m_dir.isValid() && QDir(path()).mkpath(QStringLiteral("immagini")) &&
              QDir(path()).mkpath(QStringLiteral("suoni")) && QDir(path()).mkpath(QStringLiteral("layout")) &&
              QDir(path()).mkpath(QStringLiteral("programma")) && WritePictures() && WriteSounds() &&
              WriteLayout() && WriteConfig(path());
}

QString BenchFolder::layoutPath() const {
    return path() + QStringLiteral("/layout/bench21.ini");
}

QString BenchFolder::programFolder() const {
    return path() + QStringLiteral("/programma");
}

int BenchFolder::IniReadsOfReadLayout() {
    // cfg.ini's File, the marker, Tasti, IsInput, three section switches,
    // a picture, a sound and a text per key, F1 to F12 and the bonus.
    return 1 + 1 + 1 + 1 + 3 + 3 * Keys + 12 + 1;
}

bool BenchFolder::WritePictures() {
    static const char* const Formats[] = {"gif", "jpg", "bmp"};
    for (int key = 1; key <= Keys; ++key) {
        const char* format = Formats[(key - 1) % 3];
        const QString file =
            path() + QStringLiteral("/immagini/tasto%1.%2").arg(key).arg(QLatin1String(format));
        const QImage image = Pictogram(key, qstrcmp(format, "jpg") == 0);
        bool written = false;
        if (qstrcmp(format, "gif") == 0) {
            written = WriteFile(file, EncodeGif(image));
        } else {
            written = image.save(file, format, 85);
        }
        // Every picture must decode, or the figures would measure nothing.
        if (!written || QImageReader(file).read().size() != QSize(PictureSide, PictureSide)) {
            return false;
        }
        m_pictures << file;
    }
    return true;
}

bool BenchFolder::WriteSounds() {
    for (int key = 1; key <= Keys; ++key) {
        const QString file = path() + QStringLiteral("/suoni/%1.wav").arg(key);
        if (!WriteFile(file, Wav(key))) {
            return false;
        }
        m_sounds << file;
    }
    return true;
}

bool BenchFolder::WriteLayout() const {
    QStringList lines = {"[KeyProgram]",
                         "Key=<$$-COMUNICATORE-$$>",
                         "",
                         "[Impostazioni]",
                         QStringLiteral("Tasti = %1").arg(Keys),
                         "IsSezione1 = 1",
                         "IsSezione2 = 1",
                         "IsSezione3 = 1",
                         "",
                         "[Input Obbligato]",
                         "IsInput = 0",
                         "",
                         "[Sequenza]"};
    for (int k = 1; k <= 21; ++k) {
        lines << QStringLiteral("SequenzaInput%1=").arg(k);
    }
    lines << ""
          << "[Bonus]"
          << "File1="
          << ""
          << "[Sezione Immagini]";
    for (int k = 1; k <= 21; ++k) {
        lines << QStringLiteral("Immagine%1=%2").arg(k).arg(m_pictures.value(k - 1));
    }
    lines << ""
          << "[Sezione Sonoro]";
    for (int k = 1; k <= 21; ++k) {
        lines << QStringLiteral("Sonoro%1=%2").arg(k).arg(m_sounds.value(k - 1));
    }
    lines << ""
          << "[Sezione Testo]";
    for (int k = 1; k <= 21; ++k) {
        lines << QStringLiteral("Testo%1=%2").arg(k).arg(Texts.value(k - 1));
    }
    lines << ""
          << "[Tasti Funzione]";
    for (int f = 1; f <= 12; ++f) {
        lines << QStringLiteral("F%1=%2/layout/lay%1.ini").arg(f).arg(path());
    }
    return WriteFile(layoutPath(),
                     ToWindows1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

bool BenchFolder::WriteConfig(const QString& folder) const {
    const QString text =
        QStringLiteral("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=%1\r\nIsProgramInstalled=1\r\n")
            .arg(layoutPath());
    return WriteFile(folder + QStringLiteral("/cfg.ini"), ToWindows1252(text));
}
