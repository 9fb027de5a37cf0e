// Imports a generated Open Board set of 12 boards of 21 keys (252 pictures
// of 512 x 512 PNG, 252 MP3 sounds of 1 s, made with sox) into an empty data
// folder, once, and prints the time and the process's peak memory.
// Targets: under 5 s and under 200 MB. Usage: mirelva_bench_obf
#include "obf/ObfImporter.h"
#include "obf/ZipWriter.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
constexpr int Boards = 12;
constexpr int Keys = 21;

// A picture with shapes and gradients, compressed like a drawn symbol.
QByteArray Picture(int n) {
    QImage image(512, 512, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 512, 512);
    gradient.setColorAt(0, QColor::fromHsv(n * 37 % 360, 200, 255));
    gradient.setColorAt(1, QColor::fromHsv(n * 71 % 360, 255, 120));
    painter.setBrush(gradient);
    painter.drawEllipse(40 + n % 40, 40, 420, 400 - n % 60);
    painter.setPen(QPen(Qt::black, 12));
    painter.drawLine(100, 400, 420, 100 + n % 200);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray Mp3(const QString& folder, int n) {
    const QString path = folder + QStringLiteral("/%1.mp3").arg(n);
    QProcess::execute(QStringLiteral("sox"),
                      {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                       QStringLiteral("-c"), QStringLiteral("1"), path, QStringLiteral("synth"),
                       QStringLiteral("1"), QStringLiteral("sine"), QString::number(200 + n * 3)});
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

long PeakKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

bool MakeSet(const QString& folder, const QString& path) {
    ZipWriter zip;
    if (!zip.start(path)) {
        return false;
    }
    QJsonObject boardPaths;
    for (int b = 0; b < Boards; ++b) {
        QJsonArray buttons;
        QJsonArray images;
        QJsonArray sounds;
        for (int k = 0; k < Keys; ++k) {
            const int n = b * Keys + k;
            const QString id = QString::number(n);
            QJsonObject button{{QStringLiteral("id"), id},
                               {QStringLiteral("label"), QStringLiteral("parola %1").arg(n)},
                               {QStringLiteral("image_id"), id},
                               {QStringLiteral("sound_id"), id}};
            if (k == 0 && b + 1 < Boards) {
                button.insert(
                    QStringLiteral("load_board"),
                    QJsonObject{{QStringLiteral("path"), QStringLiteral("boards/%1.obf").arg(b + 1)}});
            }
            buttons << button;
            images << QJsonObject{{QStringLiteral("id"), id},
                                  {QStringLiteral("content_type"), QStringLiteral("image/png")},
                                  {QStringLiteral("path"), QStringLiteral("images/%1.png").arg(n)}};
            sounds << QJsonObject{{QStringLiteral("id"), id},
                                  {QStringLiteral("content_type"), QStringLiteral("audio/mpeg")},
                                  {QStringLiteral("path"), QStringLiteral("sounds/%1.mp3").arg(n)}};
            const QByteArray mp3 = Mp3(folder, n);
            if (mp3.isEmpty()) {
                return false;
            }
            zip.add(QStringLiteral("images/%1.png").arg(n), Picture(n));
            zip.add(QStringLiteral("sounds/%1.mp3").arg(n), mp3);
        }
        const QString boardPath = QStringLiteral("boards/%1.obf").arg(b);
        boardPaths.insert(QString::number(b), boardPath);
        zip.add(boardPath,
                QJsonDocument(QJsonObject{{QStringLiteral("format"), QStringLiteral("open-board-0.1")},
                                          {QStringLiteral("id"), QString::number(b)},
                                          {QStringLiteral("name"), QStringLiteral("Tabella %1").arg(b)},
                                          {QStringLiteral("buttons"), buttons},
                                          {QStringLiteral("images"), images},
                                          {QStringLiteral("sounds"), sounds}})
                    .toJson());
    }
    zip.add(QStringLiteral("manifest.json"),
            QJsonDocument(
                QJsonObject{{QStringLiteral("format"), QStringLiteral("open-board-0.1")},
                            {QStringLiteral("root"), QStringLiteral("boards/0.obf")},
                            {QStringLiteral("paths"), QJsonObject{{QStringLiteral("boards"), boardPaths}}}})
                .toJson());
    return zip.finish();
}

// The import runs in a process of its own, so that its peak memory is the
// import's and not that of making the set.
int Import(const QString& set, const QString& data) {
    ObfImporter importer(data);
    QElapsedTimer timer;
    timer.start();
    const Result<ObfReport> imported = importer.Import(set);
    const qint64 ms = timer.elapsed();
    const ObfReport report = imported ? imported.value() : ObfReport();
    if (!imported || report.layouts().size() != Boards || !report.entries().isEmpty()) {
        std::fprintf(stderr, "import failed: %s\n%s\n", qPrintable(imported.failure().message()),
                     qPrintable(report.summary()));
        return EXIT_FAILURE;
    }
    const long peak = PeakKb();
    std::printf("import of %d boards x %d keys (%lld bytes): %lld ms (target < 5000 ms), peak memory %ld MB "
                "(target < 200 MB)\n",
                Boards, Keys, QFileInfo(set).size(), ms, peak / 1024);
    return ms < 5000 && peak < 200 * 1024 ? EXIT_SUCCESS : EXIT_FAILURE;
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--import")) {
        return Import(arguments[2], arguments[3]);
    }
    QTemporaryDir work;
    const QString set = work.filePath(QStringLiteral("set.obz"));
    if (!MakeSet(work.path(), set)) {
        std::fprintf(stderr, "cannot make the set (is sox with MP3 support installed?)\n");
        return EXIT_FAILURE;
    }
    std::fflush(stdout);
    return QProcess::execute(QCoreApplication::applicationFilePath(),
                             {QStringLiteral("--import"), set, work.filePath(QStringLiteral("data"))});
}
