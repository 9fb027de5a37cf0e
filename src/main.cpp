#include "audio/SdlAudioOutput.h"
#include "config/ProgramFolder.h"
#include "editor/QtFilePicker.h"
#include "obf/ObfCommands.h"
#include "platform/QtMessages.h"
#include "platform/QtPrinters.h"
#include "runtime/RuntimeWindows.h"
#include "startup/mAvvio.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdlib>

// The one place that creates the real message boxes, file pickers, printers,
// audio output and windows; everything else is handed them.
int main(int argc, char* argv[]) {
    if (const std::optional<int> code = RunObfCommandLine(argc, argv)) {
        return *code;
    }
    QApplication app(argc, argv);
    // Standard buttons and the file dialogs speak Italian, like the rest of the program.
    QTranslator qtItalian;
    if (qtItalian.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtItalian);
    }

    const QString folder = ProgramFolder();
    QtMessages messages;
    QtFilePicker picker;
    QtPrinters printers;
    SdlAudioOutput audio;
    RuntimeWindows windows(folder, printers);

    const std::unique_ptr<F_GO> window = Main(folder, F_GO::Services{messages, picker, audio, windows});
    if (!window) {
        return EXIT_FAILURE;
    }
    messages.setOwner(window.get());
    return QApplication::exec();
}
