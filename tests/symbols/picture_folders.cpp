#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "symbols/PictureFolderIndex.h"
#include "symbols/PictureFolderSettings.h"
#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolPicture.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <condition_variable>
#include <mutex>

namespace {
QStringList Labels(const std::vector<SymbolCatalog::Result>& results) {
    QStringList labels;
    for (const auto& result : results) {
        labels << result.symbol.label;
    }
    labels.sort();
    return labels;
}

// A folder walk that waits until released, as a network folder that stopped answering.
struct Gate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    void release() {
        const std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
};
} // namespace

class TstPictureFolders : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_data = m_dir->filePath("dati");
        m_pictures = m_dir->filePath("foto");
        QVERIFY(QDir().mkpath(m_data));
        QVERIFY(QDir().mkpath(m_pictures));
    }

    // What a walk finds in a hostile folder: each picture once, nothing else, and it ends.
    void hostileFolder() {
        for (const char* name : {"mela.png", "Animali/gatto.JPG", "Animali/cane.gif", "a/b/c/d/e/pera.svg",
                                 "rotto.gif", "note.txt", ".nascosta/segreto.png", "senza estensione"}) {
            QVERIFY(TestSupport::writeFile(m_pictures + "/" + name, "GIF89a broken"));
        }
        QCOMPARE(QProcess::execute("mkfifo", {m_pictures + "/tubo.png"}), 0);
        // Loops: a link to the folder itself, to a parent, and two links to each other.
        QVERIFY(QFile::link(m_pictures, m_pictures + "/Animali/su"));
        QVERIFY(QFile::link(m_pictures + "/a", m_pictures + "/a/b/c/indietro"));
        QVERIFY(QFile::link(m_pictures + "/uno", m_pictures + "/due"));
        QVERIFY(QFile::link(m_pictures + "/due", m_pictures + "/uno"));
        QVERIFY(QFile::link(m_pictures + "/manca", m_pictures + "/rotto.png"));
        // A link to a picture elsewhere is followed.
        QVERIFY(TestSupport::writeFile(m_dir->filePath("altrove/banana.bmp"), "BM"));
        QVERIFY(QFile::link(m_dir->filePath("altrove/banana.bmp"), m_pictures + "/banana.bmp"));
        const QStringList before = TestSupport::snapshot(m_pictures);

        std::atomic_bool stop{false};
        QStringList files = FolderScan::Scan(m_pictures, stop).files;
        files.sort();
        QCOMPARE(files, QStringList({"Animali/cane.gif", "Animali/gatto.JPG", "a/b/c/d/e/pera.svg",
                                     "banana.bmp", "mela.png", "rotto.gif"}));
        QCOMPARE(TestSupport::snapshot(m_pictures), before);
    }

    void unreadableRoot_data() {
        QTest::addColumn<QString>("root");
        QTest::addRow("missing") << "manca";
        QTest::addRow("a file") << "file.png";
        QTest::addRow("a FIFO") << "tubo";
    }
    void unreadableRoot() {
        QFETCH(QString, root);
        QVERIFY(TestSupport::writeFile(m_dir->filePath("file.png"), "x"));
        QCOMPARE(QProcess::execute("mkfifo", {m_dir->filePath("tubo")}), 0);
        PictureFolderIndex index(m_data);
        QVERIFY(index.setFolders({m_dir->filePath(root)}));
        QVERIFY(index.waitForWalks(5000));
        QCOMPARE(index.state(m_dir->filePath(root)), PictureFolderIndex::State::Unreadable);
        QCOMPARE(index.pictureCount(m_dir->filePath(root)), 0);
    }

    // A folder that hangs holds up neither the others nor the window, nor the index's end.
    void hangingFolder() {
        QVERIFY(TestSupport::writeFile(m_pictures + "/mela.png", "x"));
        const QString network = m_dir->filePath("rete");
        auto gate = std::make_shared<Gate>();
        const auto scanner = [gate, network](const QString& root, const std::atomic_bool& stop) {
            if (root == network) {
                std::unique_lock lock(gate->mutex);
                gate->opened.wait(lock, [&gate] { return gate->open; });
            }
            return FolderScan::Scan(root, stop);
        };
        {
            auto index = std::make_unique<PictureFolderIndex>(m_data, scanner);
            SymbolCatalog catalog(std::make_shared<const SymbolIndex>(std::vector<Symbol>{}),
                                  std::move(index));
            QVERIFY(catalog.folders().setFolders({network, m_pictures}));
            QElapsedTimer timer;
            timer.start();
            while (catalog.search("mela", 10).empty() && timer.elapsed() < 5000) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            }
            QCOMPARE(Labels(catalog.search("mela", 10)), QStringList({"mela"}));
            QCOMPARE(catalog.folders().state(network), PictureFolderIndex::State::Walking);
            QCOMPARE(catalog.folders().state(m_pictures), PictureFolderIndex::State::Ready);
            // A refresh does not pile up another walk behind the hanging one.
            catalog.folders().refresh();
            timer.restart();
        }
        // The index went away without waiting for the hanging walk.
        gate->release();
        QTest::qWait(50);
    }

    // The listing is kept: after a restart the pictures are found before any walk ends.
    void indexKeptAcrossRestart() {
        QVERIFY(TestSupport::writeFile(m_pictures + "/cane.gif", "x"));
        {
            PictureFolderIndex index(m_data);
            QVERIFY(index.setFolders({m_pictures}));
            QVERIFY(index.waitForWalks(5000));
        }
        auto gate = std::make_shared<Gate>();
        const auto blocked = [gate](const QString& root, const std::atomic_bool& stop) {
            std::unique_lock lock(gate->mutex);
            gate->opened.wait(lock, [&gate] { return gate->open; });
            return FolderScan::Scan(root, stop);
        };
        {
            PictureFolderIndex index(m_data, blocked);
            QCOMPARE(index.folders(), QStringList({m_pictures}));
            QTRY_COMPARE_WITH_TIMEOUT(index.pictureCount(m_pictures), 1, 5000);
            QCOMPARE(index.state(m_pictures), PictureFolderIndex::State::Walking);
        }
        gate->release();
    }

    // refresh() shows pictures added and removed since the last walk.
    void refreshSeesChanges() {
        QVERIFY(TestSupport::writeFile(m_pictures + "/cane.gif", "x"));
        auto index = std::make_unique<PictureFolderIndex>(m_data);
        PictureFolderIndex& folders = *index;
        SymbolCatalog catalog(std::make_shared<const SymbolIndex>(std::vector<Symbol>{}), std::move(index));
        QVERIFY(folders.setFolders({m_pictures}));
        QVERIFY(folders.waitForWalks(5000));
        QVERIFY(TestSupport::writeFile(m_pictures + "/nuovo/gatto.png", "x"));
        QVERIFY(QFile::remove(m_pictures + "/cane.gif"));
        QCOMPARE(Labels(catalog.search("gatto", 5)), QStringList());
        folders.refresh();
        QVERIFY(folders.waitForWalks(5000));
        QCOMPARE(Labels(catalog.search("gatto", 5)), QStringList({"gatto"}));
        QCOMPARE(Labels(catalog.search("cane", 5)), QStringList());
    }

    // Walking, searching and choosing write into the data folder only.
    void nothingWrittenOutsideDataFolder() {
        QImage image(20, 20, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QVERIFY(image.save(m_pictures + "/stella.png"));
        const QStringList before = TestSupport::snapshot(m_pictures);
        PictureFolderIndex index(m_data);
        QVERIFY(index.setFolders({m_pictures}));
        QVERIFY(index.waitForWalks(5000));
        Symbol chosen = FolderScan::ToSymbols(FolderListing{m_pictures, {"stella.png"}, true}).front();
        const QString placed = SymbolPicture::Place(chosen, m_data + "/immagini", 256).path;
        QVERIFY(placed.startsWith(m_data + "/immagini/"));
        QCOMPARE(TestSupport::snapshot(m_pictures), before);
        const QStringList written =
            QDir(m_data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(written,
                 QStringList({PictureFolderIndex::CacheName, PictureFolderSettings::FileName, "immagini"}));
    }

    // The folders' settings file: kept, read back, and harmless when it is not a file of ours.
    void settingsFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::addRow("saved and read back") << "saved";
        QTest::addRow("garbage") << "garbage";
        QTest::addRow("FIFO in its place") << "fifo";
        QTest::addRow("folder in its place") << "folder";
    }
    void settingsFile() {
        QFETCH(QString, kind);
        const QString file = m_data + "/" + PictureFolderSettings::FileName;
        QStringList expected;
        if (kind == "saved") {
            expected = {m_pictures, "/media/chiavetta/Simboli è più"};
            // A folder given twice is kept once.
            QVERIFY(PictureFolderSettings::Save(m_data, expected + QStringList{m_pictures}));
        } else if (kind == "garbage") {
            QVERIFY(TestSupport::writeFile(file, "{\"cartelle\": [1, null, {}"));
        } else if (kind == "fifo") {
            QCOMPARE(QProcess::execute("mkfifo", {file}), 0);
        } else {
            QVERIFY(QDir().mkpath(file));
        }
        QCOMPARE(PictureFolderSettings::Load(m_data), expected);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
    QString m_pictures;
};
MIRELVA_TEST(TstPictureFolders)

#include "picture_folders.moc"
