#include "fakes/TestSupport.h"
#include "runtime/PictureFile.h"
#include "fakes/TestRegistry.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {
QByteArray Encoded(const char* format, QSize size, QColor colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}
} // namespace

class TstRuntimePictureFile : public QObject {
    Q_OBJECT
private slots:
    void decodes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("nameOnDisk");
        QTest::addColumn<QString>("nameAsked");
        QTest::addColumn<QSize>("size");

        QTest::addRow("bmp") << Encoded("BMP", {7, 5}, Qt::red) << "a.bmp"
                             << "a.bmp" << QSize(7, 5);
        QTest::addRow("jpeg") << Encoded("JPEG", {16, 8}, Qt::red) << "a.jpg"
                              << "a.jpg" << QSize(16, 8);
        QTest::addRow("png named .gif: decided by content") << Encoded("PNG", {3, 9}, Qt::red) << "b.gif"
                                                            << "b.gif" << QSize(3, 9);
        QTest::addRow("name in other letter case") << Encoded("BMP", {4, 4}, Qt::blue) << "Mela.BMP"
                                                   << "mela.bmp" << QSize(4, 4);
    }
    void decodes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, nameOnDisk);
        QFETCH(QString, nameAsked);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeFile(dir.filePath(nameOnDisk), bytes));
        const QImage img = LoadPictureFile(dir.filePath(nameAsked));
        QCOMPARE(img.size(), size);
    }

    // None of these may hang, crash or give a picture.
    void refuses_data() {
        QTest::addColumn<QString>("kind");
        QTest::addRow("missing") << "missing";
        QTest::addRow("empty path") << "empty path";
        QTest::addRow("empty file") << "empty file";
        QTest::addRow("garbage") << "garbage";
        QTest::addRow("truncated bmp") << "truncated";
        QTest::addRow("folder") << "folder";
        QTest::addRow("fifo without writer") << "fifo";
        QTest::addRow("/dev/zero") << "devzero";
        QTest::addRow("sparse file beyond the size limit") << "huge";
    }
    void refuses() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("p.bmp"));
        if (kind == "empty path") {
            path.clear();
        } else if (kind == "empty file") {
            QVERIFY(TestSupport::writeFile(path, {}));
        } else if (kind == "garbage") {
            QVERIFY(TestSupport::writeFile(path, QByteArray(5000, '\x5a')));
        } else if (kind == "truncated") {
            QVERIFY(TestSupport::writeFile(path, Encoded("BMP", {64, 64}, Qt::red).left(40)));
        } else if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("p.bmp")));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "devzero") {
            path = QStringLiteral("/dev/zero");
        } else if (kind == "huge") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(Encoded("BMP", {2, 2}, Qt::red));
            QVERIFY(f.resize(MaxPictureFileBytes + 1));
        }
        QVERIFY(LoadPictureFile(path).isNull());
    }
};

MIRELVA_TEST(TstRuntimePictureFile)
#include "picture_file.moc"
