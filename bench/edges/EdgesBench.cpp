// The message bar's figures (make bench): a chosen key to the bar drawn anew
// on a 1280 x 1024 canvas (target < 16 ms median, one frame); "Parla" on a
// ten-word sentence to the first sample handed to the audio output (< 60 ms);
// the phrases view drawn with 50 recent and 100 favourite phrases (< 100 ms),
// the phrases file read included.
#include "../BenchTiming.h"
#include "access/EdgeLayout.h"
#include "access/PhraseStore.h"
#include "access/PhrasesPage.h"
#include "access/Sentence.h"
#include "access/SentenceSpeaker.h"
#include "audio/cSound.h"
#include "audio/cVoce.h"
#include "runtime/EdgeView.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
using namespace BenchTiming;
constexpr int Rounds = 30;

bool report(const char* what, const std::vector<double>& ms, double target) {
    const double m = median(ms);
    std::printf("%-34s median %6.2f ms, worst %6.2f ms (target < %.0f ms) %s\n", what, m,
                *std::max_element(ms.begin(), ms.end()), target, m < target ? "ok" : "MISSED");
    return m < target;
}

} // namespace

int main(int argc, char** argv) {
    // Drawn off screen unless a platform is asked for: make bench needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QString pictures = QStringLiteral(MIRELVA_SOURCE_DIR "/resources/pictures");
    const QStringList files = QDir(pictures).entryList({QStringLiteral("*.gif")}, QDir::Files);
    const QStringList words{"io", "voglio", "mangiare", "una", "mela", "rossa", "con", "la", "mia", "mamma"};
    bool ok = true;

    // A choice: the key joins the sentence and the bar is drawn again.
    QImage canvas(1280, 1024, QImage::Format_RGB32);
    const EdgeLayout layout(canvas.size(), true, {});
    EdgeView view;
    Sentence sentence;
    std::vector<double> bar;
    for (int i = 0; i < Rounds; ++i) {
        const Clock::time_point start = Clock::now();
        sentence.add({words.at(i % words.size()),
                      {},
                      pictures + '/' + files.value(i % std::max<qsizetype>(1, files.size()))});
        view.drawBar(canvas, layout, sentence.items());
        bar.push_back(msSince(start));
    }
    ok &= report("choice to bar drawn", bar, 16);

    // "Parla" on ten words, with espeak-ng's Italian voice.
    FirstSampleOutput output;
    cVoce voice(output);
    cSound sound(output);
    SentenceSpeaker speaker(output, sound);
    sentence.clear();
    for (const QString& w : words) {
        sentence.add({w, {}, {}});
    }
    std::vector<double> speak;
    for (int i = 0; i < Rounds / 3; ++i) {
        output.start();
        (void)speaker.speakOrCut(voice, sentence.parts());
        speak.push_back(output.firstMs());
    }
    ok &= report("Parla (10 words) to first sample", speak, 60);

    // The phrases view: the file read, the first page laid out and drawn.
    QTemporaryDir folder;
    PhraseStore store(folder.path());
    for (int i = 0; i < 50; ++i) {
        store.addRecent({{QStringLiteral("frase recente numero %1").arg(i), {}, {}}});
    }
    QList<Phrase> favourites;
    for (int i = 0; i < 100; ++i) {
        favourites << Phrase::Written(QStringLiteral("frase preferita numero %1").arg(i));
    }
    store.setFavourites(favourites);
    ok &= store.save().ok();
    std::vector<double> phrases;
    for (int i = 0; i < Rounds; ++i) {
        const Clock::time_point start = Clock::now();
        PhraseStore read(folder.path());
        read.load();
        const PhrasesPage page(read, canvas.size(), 0);
        canvas.fill(Qt::white);
        EdgeView::DrawPhrases(canvas, page.rects(), page.labels());
        phrases.push_back(msSince(start));
    }
    ok &= report("phrases view (150 phrases) drawn", phrases, 100);
    return ok ? 0 : 1;
}
