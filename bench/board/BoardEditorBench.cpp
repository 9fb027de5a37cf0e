// The board editor on a 21-key layout of 512 x 512 pictures (BenchFolder):
// the window opened and drawn, a key's words changed and drawn again, an
// undo drawn again. Medians of several runs. Targets: opened < 150 ms, a key
// edit shown < 16 ms, an undo shown < 16 ms. Usage: mirelva_board_bench
#include "BenchFolder.h"
#include "editor/BoardCanvas.h"
#include "editor/BoardEditor.h"
#include "editor/SetupState.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
class QuietMessages : public IMessages {
public:
    void showMessage(const QString&, MsgIcon, const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return true; }
};

class NoPicker : public IFilePicker {
public:
    QString ShowOpenDialog(QWidget*, const QString&) override { return {}; }
    QString ShowSaveDialog(QWidget*, const QString&) override { return {}; }
};

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

double Ms(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    BenchFolder folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "the benchmark folder could not be made\n");
        return 1;
    }
    QuietMessages messages;
    NoPicker picker;
    std::vector<double> opened, edited, undone;
    for (int run = 0; run < 7; ++run) {
        SetupState state;
        QElapsedTimer timer;
        timer.start();
        BoardEditor board(folder.path(), state, picker, messages, std::nullopt);
        board.show();
        QCoreApplication::processEvents();
        opened.push_back(Ms(timer));
        for (int k = 1; k <= 21; ++k) {
            timer.restart();
            board.edit().setValue(LayoutEditor::Field::Text, k,
                                  QStringLiteral("parola %1 %2").arg(k).arg(run));
            board.showBoard();
            QCoreApplication::processEvents();
            edited.push_back(Ms(timer));
        }
        for (int k = 1; k <= 21; ++k) {
            timer.restart();
            board.edit().undo();
            board.showBoard();
            QCoreApplication::processEvents();
            undone.push_back(Ms(timer));
        }
    }
    // The first opening also loads the image plugins and fonts: the later ones are the editor's own.
    const double first = opened.front();
    opened.erase(opened.begin());
    std::printf(
        "Board editor, 21 keys: opened %.1f ms (first %.1f ms; target < 150 ms), key edit shown %.2f ms "
        "(target < 16 ms), undo shown %.2f ms (target < 16 ms)\n",
        Median(opened), first, Median(edited), Median(undone));
    return 0;
}
