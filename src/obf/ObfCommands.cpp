#include "obf/ObfCommands.h"

#include "config/ConfigFile.h"
#include "config/FileExists.h"
#include "obf/ObfExporter.h"
#include "obf/ObfImporter.h"

#include "obf/IImportProgress.h"

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
    ObfReport report;
    QString error;
    Interrupted = 0;
    const auto previous = std::signal(SIGINT, OnInterrupt);
    bool imported = false;
    {
        TerminalProgress progress(err, verbose);
        imported = importer.Import(file, report, &error, &progress);
        progress.finished();
    }
    std::signal(SIGINT, previous);
    if (!imported) {
        err << error << Qt::endl;
        return importer.cancelled() ? InterruptedExitCode : EXIT_FAILURE;
    }
    out << report.summary() << Qt::endl;
    for (const QString& layout : report.layouts()) {
        out << layout << Qt::endl;
    }
    if (activate) {
        ActivateLayout(dataFolder, report.layouts().first());
        out << QStringLiteral("Layout attivo: %1").arg(report.layouts().first()) << Qt::endl;
    }
    return EXIT_SUCCESS;
}

int RunExportCommand(const QString& layout, const QString& output, QTextStream& out, QTextStream& err) {
    QString error;
    QStringList notes;
    if (!ObfExporter::Export(layout, output, true, &error, &notes)) {
        err << error << Qt::endl;
        return EXIT_FAILURE;
    }
    for (const QString& note : std::as_const(notes)) {
        err << note << Qt::endl;
    }
    out << QStringLiteral("Esportato in %1").arg(output) << Qt::endl;
    return EXIT_SUCCESS;
}

bool ActivateLayout(const QString& dataFolder, const QString& layout) {
    return ConfigFile::SetActiveLayout(dataFolder, layout);
}
