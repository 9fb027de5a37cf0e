#include "audio/SdlAudioOutput.h"
#include "audio/SdlCaptureSource.h"
#include "config/DataFolder.h"
#include "editor/QtFilePicker.h"
#include "obf/ObfCommands.h"
#include "obf/ObfSetupActions.h"
#include "obf/QtImportProgress.h"
#include "platform/Log.h"
#include "platform/QtMessages.h"
#include "platform/QtPrinters.h"
#include "runtime/RuntimeWindows.h"
#include "startup/CommandLine.h"
#include "startup/Installer.h"
#include "startup/mAvvio.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

// Runs the --import or --export the command line asked for, with the
// display-free application they need, and returns the exit code.
int RunBoardFileCommand(int argc, char* argv[], const CommandLineOptions& options) {
    // Label pictures are drawn with fonts, which need a GUI application,
    // but no window is ever shown: no display is needed either.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!options.exportLayout.isEmpty()) {
        return RunExportCommand(options.exportLayout, options.exportFile, out, err);
    }
    const Result<QString> data = DataFolder::decide(DataFolderInputs::fromProcess(options.dataFolder));
    if (!data) {
        err << data.failure().message() << Qt::endl;
        return UsageExitCode;
    }
    return RunImportCommand(*data, options.importFile, options.activate, options.verbose, out, err);
}

} // namespace

// The one place that creates the real message boxes, file pickers, printers,
// audio output and windows; everything else is handed them.
int main(int argc, char* argv[]) {
    // Before the application object: --help and --version answer without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const CommandLineOptions options = ParseCommandLine(arguments);
    if (!options.run) {
        std::fputs(qPrintable(options.output), options.exitCode == 0 ? stdout : stderr);
        return options.exitCode;
    }
    if (!options.importFile.isEmpty() || !options.exportLayout.isEmpty()) {
        return RunBoardFileCommand(argc, argv, options);
    }

    QApplication app(argc, argv);
    // Standard buttons and the file dialogs speak Italian, like the rest of the program.
    QTranslator qtItalian;
    if (qtItalian.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtItalian);
    }

    QtMessages messages;
    const Result<QString> data = DataFolder::decide(DataFolderInputs::fromProcess(options.dataFolder));
    if (!data) {
        // The same report as a failed installation: on the terminal and in a box.
        ReportInstallationFailure(messages, data.failure());
        return UsageExitCode;
    }
    const QString folder = *data;
    Log::Install(folder);
    QtFilePicker picker;
    QtPrinters printers;
    SdlAudioOutput audio;
    SdlCaptureSource microphone;
    // Import and export live above the settings window, which is handed them.
    const auto importBoards = [folder](QWidget* owner, IFilePicker& chooser, IMessages& shown) {
        QtImportProgress progress(owner);
        return ImportWithPicker(owner, folder, chooser, shown, &progress);
    };
    RuntimeWindows windows(folder, printers, SetupTools{audio, microphone, importBoards, ExportWithPicker});

    const std::unique_ptr<F_GO> window = Main(folder, F_GO::Services{messages, picker, audio, windows});
    if (!window) {
        return EXIT_FAILURE;
    }
    messages.setOwner(window.get());
    return QApplication::exec();
}
