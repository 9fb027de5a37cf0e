// Fuzzed code: config/*.cpp grid/TableShape.cpp startup/Installer.cpp
// Fuzzed code: platform/RegularFile.cpp platform/WriteProtected.cpp platform/WaitCursor.cpp platform/Log.cpp
#include "FuzzTarget.h"

#include "CountingMessages.h"

#include "config/CINIFile.h"
#include "config/LayoutData.h"
#include "config/LayoutReader.h"
#include "startup/Installer.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace {
// The program folder: cfg.ini naming the layout under test, and empty files
// for every picture and sound the default layouts name (the seeds are those
// layouts, written for the program folder ".", so it is the current folder).
QString PrepareProgramFolder() {
    const QString folder = FuzzScratchFolder();
    QDir::setCurrent(folder);
    const QString layout = folder + QStringLiteral("/layout.ini");
    WriteFuzzFile(folder + QStringLiteral("/cfg.ini"), QByteArray("[KeyProgram]\r\nFile=") + layout.toUtf8());
    QDir(folder).mkpath(QStringLiteral("immagini"));
    QDir(folder).mkpath(QStringLiteral("suoni"));
    static const QRegularExpression file(QStringLiteral("^(?:Immagine|Sonoro)\\d+=(.+)$"),
                                         QRegularExpression::MultilineOption);
    const Installer installer(QStringLiteral("."));
    for (int n = 1; n <= 12; ++n) {
        const QString text = QString::fromLatin1(installer.DefaultLayout(n)).remove(QLatin1Char('\r'));
        for (const QRegularExpressionMatch& m : file.globalMatch(text)) {
            WriteFuzzFile(m.captured(1), {});
        }
    }
    return layout;
}
} // namespace

// Any file as the active layout: the reader either loads it, and what it
// loaded keeps the layout rules, or refuses it with a message.
MIRELVA_FUZZ_TARGET(layout) {
    static const QString layout = PrepareProgramFolder();
    WriteFuzzFile(layout, data);
    ResetSharedIni();
    CountingMessages messages;
    LayoutData loaded;
    LayoutReader reader(FuzzScratchFolder(), messages, loaded);
    if (reader.ReadLayout()) {
        FUZZ_CHECK(messages.shown > 0, QStringLiteral("refused without a message"));
        return;
    }
    FUZZ_CHECK(messages.shown == 0, QStringLiteral("loaded with %1 messages").arg(messages.shown));
    const int keys = loaded.KeyCount;
    FUZZ_CHECK(keys >= 1 && keys <= 21 && loaded.SectionOn[1], QStringLiteral("%1 keys").arg(keys));
    FUZZ_CHECK(loaded.PicturePaths.size() == keys + 1, QString());
    FUZZ_CHECK(loaded.FunctionKeyPaths.size() == 13, QString());
    if (loaded.ForcedInput == 1) {
        FUZZ_CHECK(std::all_of(loaded.InputSequence.begin(), loaded.InputSequence.begin() + keys,
                               [](qint16 key) { return key >= 1 && key <= 21; }),
                   QStringLiteral("a forced sequence out of 1 to 21"));
    }
}
