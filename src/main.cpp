#include "audio/SdlAudioOutput.h"
#include "audio/SdlCaptureSource.h"
#include "config/ProgramFolder.h"
#include "editor/QtFilePicker.h"
#include "platform/QtMessages.h"
#include "platform/QtPrinters.h"
#include "platform/QtQuestions.h"
#include "runtime/RuntimeWindows.h"
#include "startup/mAvvio.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdlib>

// The one place that creates the real message boxes, file pickers, printers,
// audio output and windows; everything else is handed them.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Standard buttons and the file dialogs speak Italian, like the rest of the program.
    QTranslator qtItalian;
    if (qtItalian.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtItalian);
    }

    const QString folder = ProgramFolder();
    QtMessages messages;
    QtQuestions questions;
    QtFilePicker picker;
    QtPrinters printers;
    SdlAudioOutput audio;
    SdlCaptureSource microphone;
    RuntimeWindows windows(folder, printers, SetupTools{questions, audio, microphone});

    const std::unique_ptr<F_GO> window = Main(folder, F_GO::Services{messages, picker, audio, windows});
    if (!window) {
        return EXIT_FAILURE;
    }
    messages.setOwner(window.get());
    questions.setOwner(window.get());
    return QApplication::exec();
}
