// mirelva_bench_symbols: the symbol search's figures, each against its target:
// indexing a folder of 20,000 pictures in the background, the search per
// keystroke over the library and that folder, the first thumbnails of the
// search window, and the memory the open window takes. Run by `make bench`.
#include "editor/IFolderPicker.h"
#include "editor/SymbolSearchDialog.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"
#include "symbols/PictureFolderIndex.h"
#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolLibrary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
class Silent : public IMessages, public IFilePicker, public IFolderPicker {
public:
    void showMessage(const QString&, MsgIcon, const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return false; }
    QString ShowOpenDialog(QWidget*, const QString&) override { return {}; }
    QString ShowSaveDialog(QWidget*, const QString&) override { return {}; }
    QString chooseFolder(QWidget*) override { return {}; }
};

double ResidentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
        }
    }
    return -1;
}

// 20,000 empty picture files named as a family's would be, in 40 folders.
void MakeFolder(const QString& root) {
    const QStringList words{"mela",    "mamma", "papà",     "nonna", "gatto", "cane",   "mare",
                            "scuola",  "pane",  "acqua",    "palla", "casa",  "bagno",  "letto",
                            "auto",    "bici",  "parco",    "festa", "torta", "gelato", "libro",
                            "maestra", "amico", "giardino", "pizza"};
    for (int i = 0; i < 20000; ++i) {
        const QString folder = root + QStringLiteral("/album%1").arg(i % 40);
        if (i < 40) {
            QDir().mkpath(folder);
        }
        QFile(folder + QStringLiteral("/%1_%2_%3.jpg")
                           .arg(words[i % words.size()], words[(i / 7) % words.size()])
                           .arg(i))
            .open(QIODevice::WriteOnly);
    }
}

bool Report(const char* what, double value, const char* unit, double target) {
    const bool ok = value >= 0 && value < target;
    std::printf("%-46s %9.1f %-3s (target < %g)  %s\n", what, value, unit, target, ok ? "ok" : "OVER");
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("dati"));
    const QString pictures = dir.filePath(QStringLiteral("foto"));
    QDir().mkpath(data);
    MakeFolder(pictures);
    const auto library = std::make_shared<const SymbolIndex>(
        SymbolLibrary::Open(QStringLiteral(MIRELVA_SYMBOLS_ARCHIVE_PATH)));
    if (library->symbols().empty()) {
        std::fprintf(stderr, "no symbol library at %s\n", MIRELVA_SYMBOLS_ARCHIVE_PATH);
        return 1;
    }
    SymbolCatalog catalog(library, std::make_unique<PictureFolderIndex>(data));
    bool ok = true;

    QElapsedTimer timer;
    timer.start();
    catalog.folders().setFolders({pictures});
    if (!catalog.folders().waitForWalks(60000)) {
        std::fprintf(stderr, "the folder walk did not end\n");
        return 1;
    }
    ok &= Report("indexing 20,000 files in the background", double(timer.elapsed()), "ms", 10000);

    // Every keystroke of words typed one letter at a time.
    std::vector<double> times;
    for (const QString word : {"mela", "gatta", "frutta", "nonna", "acqua potabile", "zzz", "cane"}) {
        for (int n = 1; n <= word.size(); ++n) {
            QElapsedTimer one;
            one.start();
            const auto results = catalog.search(word.left(n), SymbolSearchDialog::MaxResults);
            times.push_back(double(one.nsecsElapsed()) / 1e6);
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("(%zu symbols in the library, %d pictures in the folder, %zu keystrokes)\n",
                library->symbols().size(), catalog.folders().pictureCount(pictures), times.size());
    ok &= Report("search per keystroke, median", times[times.size() / 2], "ms", 20);
    Report("search per keystroke, slowest", times.back(), "ms", 100);

    // The window opened on "mela": until its first row of thumbnails is drawn.
    Silent silent;
    // The search opens over the settings window, whose fonts and widgets are loaded by then.
    {
        QWidget settings;
        auto* box = new QLineEdit(QStringLiteral("Impostazioni"), &settings);
        new QListView(&settings);
        settings.show();
        box->setFocus();
        QCoreApplication::processEvents();
    }
    const double before = ResidentMb();
    timer.restart();
    {
        SymbolSearchDialog dialog(catalog, silent, silent, silent, QStringLiteral("mela"));
        dialog.show();
        auto* grid = dialog.findChild<QListView*>();
        const int first = std::min(6, grid->model()->rowCount());
        const auto ready = [grid, first] {
            for (int row = 0; row < first; ++row) {
                const auto icon = grid->model()->index(row, 0).data(Qt::DecorationRole).value<QPixmap>();
                if (icon.isNull() ||
                    icon.toImage().pixel(icon.width() / 2, icon.height() / 2) == qRgb(255, 255, 255)) {
                    return false;
                }
            }
            return true;
        };
        while (!ready() && timer.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        }
        ok &= Report("first thumbnails shown", double(timer.elapsed()), "ms", 100);
        // A carer browsing: several searches, every thumbnail of each drawn.
        auto* query = dialog.findChild<QLineEdit*>();
        for (const char* word : {"frutta", "animale", "faccina", "cibo", "sport", "a", "e"}) {
            query->setText(QString::fromUtf8(word));
            for (int row = 0; row < grid->model()->rowCount(); ++row) {
                grid->model()->index(row, 0).data(Qt::DecorationRole);
            }
            dialog.waitForThumbnails();
        }
        ok &= Report("memory growth with the search window open", ResidentMb() - before, "MB", 60);
    }
    return ok ? 0 : 1;
}
