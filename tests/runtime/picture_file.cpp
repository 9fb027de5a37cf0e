#include "fakes/TestSupport.h"
#include "runtime/PictureFile.h"
#include "fakes/TestRegistry.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {
QByteArray Encoded(const char* format, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}
} // namespace

// A picture is decided by its content and found whatever the letter case of its name; anything
// else gives no picture, without hanging on a device or reading a huge file.
class TstRuntimePictureFile : public QObject {
    Q_OBJECT
private slots:
    void load_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QSize>("size"); // 0 x 0: refused
        QTest::addRow("png named .gif, in other letter case") << "png" << QSize(3, 9);
        QTest::addRow("missing") << "missing" << QSize(0, 0);
        QTest::addRow("garbage") << "garbage" << QSize(0, 0);
        QTest::addRow("truncated bmp") << "truncated" << QSize(0, 0);
        QTest::addRow("folder") << "folder" << QSize(0, 0);
        QTest::addRow("fifo without writer") << "fifo" << QSize(0, 0);
        QTest::addRow("/dev/zero") << "devzero" << QSize(0, 0);
        QTest::addRow("sparse file beyond the size limit") << "huge" << QSize(0, 0);
    }
    void load() {
        QFETCH(QString, kind);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("p.gif"));
        if (kind == "png") {
            QVERIFY(TestSupport::writeFile(dir.filePath(QStringLiteral("P.GIF")), Encoded("PNG", {3, 9})));
        } else if (kind == "garbage") {
            QVERIFY(TestSupport::writeFile(path, QByteArray(5000, '\x5a')));
        } else if (kind == "truncated") {
            QVERIFY(TestSupport::writeFile(path, Encoded("BMP", {64, 64}).left(40)));
        } else if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("p.gif")));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "devzero") {
            path = QStringLiteral("/dev/zero");
        } else if (kind == "huge") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(Encoded("BMP", {2, 2}));
            QVERIFY(f.resize(MaxPictureFileBytes + 1));
        }
        QCOMPARE(LoadPictureFile(path).size(), size);
    }
};

MIRELVA_TEST(TstRuntimePictureFile)
#include "picture_file.moc"
