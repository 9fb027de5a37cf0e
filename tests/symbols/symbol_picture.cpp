#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "symbols/SymbolPicture.h"

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A red block of `size` on a fully transparent background of `canvas`, as PNG.
QByteArray RedOnTransparent(QSize canvas, QRect block) {
    QImage image(canvas, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(block, Qt::red);
    return TestSupport::encoded(image, "PNG");
}

const QByteArray RedSquareSvg = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 36 36'>"
                                "<rect x='9' y='9' width='18' height='18' fill='#ff0000'/></svg>";

Symbol FileSymbol(const QString& path, Symbol::Origin origin = Symbol::Origin::Folder) {
    Symbol symbol;
    symbol.origin = origin;
    symbol.label = QFileInfo(path).completeBaseName();
    symbol.file = path;
    symbol.key = origin == Symbol::Origin::Library ? QStringLiteral("1f34e") : path;
    return symbol;
}

QStringList Files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}
} // namespace

class TstSymbolPicture : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_images = m_dir->filePath("immagini");
    }

    // The written picture: BMP, square, `side` wide, white where the source was transparent.
    void conversion_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("whitePoint");
        QTest::addColumn<QPoint>("redPoint");
        QTest::addRow("transparent PNG border becomes white")
            << RedOnTransparent({100, 100}, {25, 25, 50, 50}) << "x.png" << QPoint(10, 10)
            << QPoint(150, 150);
        QTest::addRow("wide PNG centred, proportions kept")
            << RedOnTransparent({200, 100}, {0, 0, 200, 100}) << "wide.png" << QPoint(150, 20)
            << QPoint(150, 150);
        QTest::addRow("SVG drawn at the full side")
            << RedSquareSvg << "s.svg" << QPoint(40, 40) << QPoint(100, 100);
        QTest::addRow("SVG named .png") << RedSquareSvg << "s.png" << QPoint(40, 40) << QPoint(100, 100);
    }
    void conversion() {
        QFETCH(QByteArray, source);
        QFETCH(QString, name);
        QFETCH(QPoint, whitePoint);
        QFETCH(QPoint, redPoint);
        const QString path = m_dir->filePath(name);
        QVERIFY(TestSupport::writeFile(path, source));
        const SymbolPicture::Placed placed = SymbolPicture::Place(FileSymbol(path), m_images, 300);
        QVERIFY2(!placed.path.isEmpty(), qPrintable(placed.error));
        QVERIFY(placed.path.startsWith(m_images + "/"));
        QVERIFY(SymbolPicture::TableDraws(placed.path));
        const QImage written(placed.path);
        QCOMPARE(written.size(), QSize(300, 300));
        QCOMPARE(written.pixel(whitePoint), qRgb(255, 255, 255));
        QCOMPARE(written.pixel(redPoint), qRgb(255, 0, 0));
    }

    // A picture the table draws as it is stays where it is; nothing is written.
    void drawableKeptInPlace_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addRow("GIF") << QByteArray("GIF");
        QTest::addRow("JPEG") << QByteArray("JPEG");
        QTest::addRow("BMP") << QByteArray("BMP");
    }
    void drawableKeptInPlace() {
        QFETCH(QByteArray, format);
        QImage image(40, 40, QImage::Format_RGB32);
        image.fill(Qt::blue);
        // Named .png on purpose: the content decides, not the name.
        const QString path = m_dir->filePath("foto.png");
        QByteArray bytes = TestSupport::encoded(image, format.constData());
        if (format == "GIF") {
            bytes = QByteArray::fromBase64("R0lGODlhAQABAIAAAAAA/////yH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==");
        }
        QVERIFY(TestSupport::writeFile(path, bytes));
        QCOMPARE(SymbolPicture::Place(FileSymbol(path), m_images, 300).path, path);
        QCOMPARE(Files(m_images), QStringList());
    }

    // The same symbol twice gives the file written the first time, even after its name's words changed.
    void sameSymbolOneFile() {
        const QString svg = m_dir->filePath("a.svg");
        QVERIFY(TestSupport::writeFile(svg, RedSquareSvg));
        Symbol symbol = FileSymbol(svg, Symbol::Origin::Library);
        symbol.label = "mela rossa";
        const QString first = SymbolPicture::Place(symbol, m_images, 256).path;
        QCOMPARE(QFileInfo(first).fileName(), QString("1f34e_mela-rossa.bmp"));
        const QDateTime written = QFileInfo(first).lastModified();
        symbol.label = "mela rossa matura";
        QCOMPARE(SymbolPicture::Place(symbol, m_images, 256).path, first);
        QCOMPARE(QFileInfo(first).lastModified(), written);
        symbol.key = "1f34e-200d-1f525";
        QVERIFY(SymbolPicture::Place(symbol, m_images, 256).path != first);
        QCOMPARE(Files(m_images).size(), 2);
        // A family's file: the same path gives the same file.
        const QString png = m_dir->filePath("nonna.png");
        QVERIFY(TestSupport::writeFile(png, RedOnTransparent({10, 10}, {0, 0, 5, 5})));
        QCOMPARE(SymbolPicture::Place(FileSymbol(png), m_images, 256).path,
                 SymbolPicture::Place(FileSymbol(png), m_images, 256).path);
        QCOMPARE(SymbolPicture::PlaceWord("Ciao", m_images, 256).path,
                 SymbolPicture::PlaceWord("ciao ", m_images, 256).path);
        QCOMPARE(Files(m_images).size(), 4);
    }

    // What cannot be read gives a message and no file, and never waits.
    void unreadable_data() {
        QTest::addColumn<QString>("kind");
        QTest::addRow("truncated PNG") << "truncated";
        QTest::addRow("GIF header then garbage") << "badgif";
        QTest::addRow("FIFO without writer") << "fifo";
        QTest::addRow("folder") << "folder";
        QTest::addRow("missing") << "missing";
    }
    void unreadable() {
        QFETCH(QString, kind);
        const QString path = m_dir->filePath("broken.png");
        if (kind == "truncated") {
            QVERIFY(TestSupport::writeFile(path, RedOnTransparent({50, 50}, {0, 0, 9, 9}).left(40)));
        } else if (kind == "badgif") {
            QVERIFY(TestSupport::writeFile(path, "GIF89a\x01\x02garbage"));
        } else if (kind == "fifo") {
            QCOMPARE(QProcess::execute("mkfifo", {path}), 0);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        }
        QVERIFY(SymbolPicture::Read(path, 64).isNull());
        const SymbolPicture::Placed placed = SymbolPicture::Place(FileSymbol(path), m_images, 256);
        QCOMPARE(placed.path, QString());
        QVERIFY(!placed.error.isEmpty());
        QCOMPARE(Files(m_images), QStringList());
    }

    void unwritableFolder() {
        const QString svg = m_dir->filePath("a.svg");
        QVERIFY(TestSupport::writeFile(svg, RedSquareSvg));
        // A file where the pictures folder should be.
        QVERIFY(TestSupport::writeFile(m_images, "x"));
        const SymbolPicture::Placed placed =
            SymbolPicture::Place(FileSymbol(svg, Symbol::Origin::Library), m_images, 256);
        QCOMPARE(placed.path, QString());
        QVERIFY(placed.error.contains("Impossibile scrivere"));
    }

    // Large photos are decoded at the needed size, turned as taken.
    void largeDecodedSmall() {
        QImage photo(3000, 1000, QImage::Format_RGB32);
        photo.fill(Qt::green);
        const QString path = m_dir->filePath("foto.jpg");
        QVERIFY(TestSupport::writeFile(path, TestSupport::encoded(photo, "JPEG")));
        QCOMPARE(SymbolPicture::Read(path, 300).size(), QSize(300, 100));
    }

    void sideFor_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("side");
        // One key on 1280 x 1024: InnerHeight = 1023 - 10.
        QTest::addRow("1280x1024") << QSize(1280, 1024) << 1013;
        QTest::addRow("portrait") << QSize(768, 1024) << 757;
        QTest::addRow("tiny screen keeps a floor") << QSize(200, 150) << 256;
        QTest::addRow("8K screen capped") << QSize(7680, 4320) << 2048;
    }
    void sideFor() {
        QFETCH(QSize, screen);
        QTEST(SymbolPicture::SideFor(screen), "side");
    }

    void wordPicture() {
        const QImage word = SymbolPicture::WordPicture("zzzz", 200);
        const QImage blank = SymbolPicture::WordPicture(QString(), 200);
        int dark = 0;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) {
                dark += qGray(word.pixel(x, y)) < 128 ? 1 : 0;
                QCOMPARE(blank.pixel(x, y), qRgb(255, 255, 255));
            }
        }
        // Large letters: a good part of the square, not a line of small print.
        QVERIFY2(dark > 200 * 200 / 20, qPrintable(QString::number(dark)));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_images;
};
MIRELVA_TEST(TstSymbolPicture)

#include "symbol_picture.moc"
