#include "obf/ObfCommands.h"

#include "config/ConfigFile.h"
#include "config/FileExists.h"
#include "obf/ObfExporter.h"
#include "obf/ObfImporter.h"

#include "obf/IImportProgress.h"
#include "platform/Log.h"

#include <QTextStream>

#include <csignal>
#include <cstdlib>

#include <unistd.h>

namespace {
volatile std::sig_atomic_t Interrupted = 0;

extern "C" void OnInterrupt(int) {
    Interrupted = 1;
}

// Progress on standard error: a line kept up to date on a terminal, one line
// per board with --verbose; Ctrl+C stops the import with nothing written.
class TerminalProgress : public IImportProgress {
public:
    TerminalProgress(QTextStream& err, bool verbose)
        : m_err(err), m_terminal(::isatty(STDERR_FILENO) == 1), m_verbose(verbose) {}

    void advanced(int boardsDone, int boards, int picturesDone, int pictures) override {
        if (m_terminal) {
            m_err << QStringLiteral("\r\033[KImmagini e suoni: %1 di %2, tabelle: %3 di %4")
                         .arg(picturesDone)
                         .arg(pictures)
                         .arg(boardsDone)
                         .arg(boards)
                  << Qt::flush;
            m_shown = true;
        }
    }
    void boardDone(const QString& board, int layouts) override {
        if (m_verbose) {
            m_err << (m_terminal ? QStringLiteral("\r\033[K") : QString())
                  << QStringLiteral("Tabella «%1»: %2 layout").arg(board).arg(layouts) << Qt::endl;
        }
    }
    void finished() override {
        if (m_shown) {
            m_err << Qt::endl;
            m_shown = false;
        }
    }
    bool cancelled() override { return Interrupted != 0; }

private:
    QTextStream& m_err;
    const bool m_terminal;
    const bool m_verbose;
    bool m_shown = false;
};
} // namespace

int RunImportCommand(const QString& dataFolder, const QString& file, bool activate, bool verbose,
                     QTextStream& out, QTextStream& err) {
    ObfImporter importer(dataFolder);
    Interrupted = 0;
    const auto previous = std::signal(SIGINT, OnInterrupt);
    const Result<ObfReport> imported = [&] {
        TerminalProgress progress(err, verbose);
        Result<ObfReport> result = importer.Import(file, &progress);
        progress.finished();
        return result;
    }();
    std::signal(SIGINT, previous);
    // The message goes to standard error, where the log goes on the command
    // line, so it is not logged a second time.
    if (!imported) {
        err << imported.failure().message() << Qt::endl;
        return importer.cancelled() ? InterruptedExitCode : EXIT_FAILURE;
    }
    const ObfReport& report = imported.value();
    out << report.summary() << Qt::endl;
    for (const QString& layout : report.layouts()) {
        out << layout << Qt::endl;
    }
    if (activate) {
        Log::Failure(lcFiles, ActivateLayout(dataFolder, report.layouts().first()));
        out << QStringLiteral("Layout attivo: %1").arg(report.layouts().first()) << Qt::endl;
    }
    return EXIT_SUCCESS;
}

int RunExportCommand(const QString& layout, const QString& output, QTextStream& out, QTextStream& err) {
    const Result<QStringList> notes = ObfExporter::Export(layout, output, true);
    if (!notes) {
        err << notes.failure().message() << Qt::endl;
        return EXIT_FAILURE;
    }
    for (const QString& note : notes.value()) {
        err << note << Qt::endl;
    }
    out << QStringLiteral("Esportato in %1").arg(output) << Qt::endl;
    return EXIT_SUCCESS;
}

Outcome ActivateLayout(const QString& dataFolder, const QString& layout) {
    if (!ConfigFile::SetActiveLayout(dataFolder, layout)) {
        return Outcome::Failed(QStringLiteral("Impossibile rendere attivo il layout «%1».").arg(layout),
                               QStringLiteral("cfg.ini in %1 not written").arg(dataFolder));
    }
    return Outcome::Done();
}
