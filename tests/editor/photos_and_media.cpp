#include "config/LayoutData.h"
#include "config/LayoutReader.h"
#include "editor/MediaCopy.h"
#include "editor/editor_support.h"
#include "fakes/TestRegistry.h"
#include "pictures/PictureFile.h"

namespace {
// A JPEG of `size`; with `turned`, its EXIF says to turn it a quarter (orientation 6), as phones do.
QString WriteJpeg(const QString& path, QSize size, bool turned) {
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::red);
    QByteArray bytes = TestSupport::encoded(image, "JPEG");
    if (turned) {
        // APP1 "Exif", big-endian TIFF, one IFD entry: Orientation (0x0112), SHORT, 6.
        const QByteArray exif = QByteArray::fromHex("ffe10022"
                                                    "457869660000"
                                                    "4d4d002a00000008"
                                                    "0001"
                                                    "011200030000000100060000"
                                                    "00000000");
        bytes.insert(2, exif);
    }
    return TestSupport::writeFile(path, bytes) ? path : QString();
}
} // namespace

class TstPhotosAndMedia : public QObject {
    Q_OBJECT
private slots:
    // Photos as phones take them: above Qt's allocation limit, turned by
    // EXIF, or a file past 64 MiB; read at the size they are drawn, upright.
    void photos_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("read"); // at a drawn size of 200 x 200
        QTest::addRow("36 megapixels") << "big" << QSize(6000, 6000) << QSize(200, 200);
        QTest::addRow("landscape stored, EXIF portrait") << "turned" << QSize(80, 40) << QSize(40, 80);
        QTest::addRow("65 MiB file") << "padded" << QSize(300, 100) << QSize(300, 100);
    }
    void photos() {
        QFETCH(QString, kind);
        QFETCH(QSize, stored);
        QTemporaryDir dir;
        const QString path = WriteJpeg(dir.filePath("foto.jpg"), stored, kind == "turned");
        QVERIFY(!path.isEmpty());
        if (kind == "padded") {
            // Data after the picture's end: decoders stop before it.
            QVERIFY(QFile::resize(path, 65LL * 1024 * 1024));
        }
        const Result<QImage> picture = ReadPictureFile(path, QSize(200, 200));
        QVERIFY2(picture.ok(), qPrintable(picture.failure().message()));
        QTEST(picture->size(), "read");
        QCOMPARE(QColor(picture->pixel(picture->width() / 2, picture->height() / 2)).red() > 200, true);
        SetupFixture w;
        w.openStandard();
        w.box(1, 1)->setText(path);
        w.form->waitForThumbnails();
        const QLabel* thumbnail = w.get<QLabel>(w.box(1, 1)->objectName() + "_thumbnail");
        QVERIFY2(!thumbnail->pixmap().isNull(), qPrintable(thumbnail->toolTip()));
        QCOMPARE(thumbnail->pixmap().height() > thumbnail->pixmap().width(), kind == "turned");
    }

    // A picture or sound from outside the data folder is saved as a copy in it.
    void mediaTravel_data() {
        QTest::addColumn<QString>("case_");
        QTest::addRow("picture and sound from outside") << "outside";
        QTest::addRow("the same photo for two keys: one copy") << "twice";
        QTest::addRow("another photo of the same name: _2") << "sameName";
    }
    void mediaTravel() {
        QFETCH(QString, case_);
        SetupFixture f;
        const QString outside = f.m_dir.path() + "/chiavetta";
        QVERIFY(QDir().mkpath(outside) && QDir().mkpath(f.P + "/immagini"));
        const QString photo = WriteJpeg(outside + "/foto.jpg", QSize(20, 10), false);
        QVERIFY(!photo.isEmpty());
        QVERIFY(QFile::copy(f.sound(1), outside + "/voce.wav"));
        if (case_ == "sameName") {
            QVERIFY(!WriteJpeg(f.P + "/immagini/foto.jpg", QSize(30, 10), false).isEmpty());
        }
        f.openStandard();
        f.box(1, 2)->setText(photo);
        f.box(2, 2)->setText(outside + "/voce.wav");
        if (case_ == "twice") {
            f.box(1, 3)->setText(photo);
        }
        f.click(f.button("cmdSave"));
        QVERIFY(!f.form->isVisible());
        const QString copy = f.P + (case_ == "sameName" ? "/immagini/foto_2.jpg" : "/immagini/foto.jpg");
        QCOMPARE(LayoutValue(f.layout(1), "Sezione Immagini", "Immagine2"), copy);
        QCOMPARE(LayoutValue(f.layout(1), "Sezione Sonoro", "Sonoro2"), f.P + "/suoni/voce.wav");
        QCOMPARE(TestSupport::readFile(copy), TestSupport::readFile(photo));
        if (case_ == "twice") {
            QCOMPARE(LayoutValue(f.layout(1), "Sezione Immagini", "Immagine3"), copy);
            QCOMPARE(QDir(f.P + "/immagini").entryList({"foto*"}), QStringList{"foto.jpg"});
        }
        // The originals go; the board still opens.
        QVERIFY(QDir(outside).removeRecursively());
        RecordingMessages messages;
        LayoutData data;
        QVERIFY(!LayoutReader(f.P, messages, data).ReadLayout());
    }

    // A copy that cannot be written stops the save with the reason; nothing is saved.
    void copyRefused() {
        QTemporaryDir dir;
        const QString photo = WriteJpeg(dir.filePath("foto.jpg"), QSize(4, 4), false);
        QVERIFY(TestSupport::writeFile(dir.filePath("dati/immagini"), "not a folder"));
        const ::Result<QString> copy = MediaCopy::Adopt(photo, dir.filePath("dati"), "immagini");
        QVERIFY(!copy.ok());
        QVERIFY(copy.failure().message().startsWith("Impossibile creare la cartella"));
        QCOMPARE(MediaCopy::Adopt(dir.filePath("manca.jpg"), dir.filePath("dati"), "immagini").value(),
                 dir.filePath("manca.jpg"));
    }
};

MIRELVA_TEST(TstPhotosAndMedia)
#include "photos_and_media.moc"
