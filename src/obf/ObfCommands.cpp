#include "obf/ObfCommands.h"

#include "config/ConfigFile.h"
#include "config/FileExists.h"
#include "config/DataFolder.h"
#include "obf/ObfExporter.h"
#include "obf/ObfImporter.h"
#include "startup/CommandLine.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdlib>

int RunImportCommand(const QString& dataFolder, const QString& file, bool activate, QTextStream& out,
                     QTextStream& err) {
    ObfImporter importer(dataFolder);
    ObfReport report;
    QString error;
    if (!importer.Import(file, report, &error)) {
        err << error << Qt::endl;
        return EXIT_FAILURE;
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

int RunObfCommandLine(int argc, char* argv[], const CommandLineOptions& options) {
    // Label pictures are drawn with fonts, which need a GUI application,
    // but no window is ever shown: no display is needed either.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!options.exportLayout.isEmpty()) {
        return RunExportCommand(options.exportLayout, options.exportFile, out, err);
    }
    const DataFolder data = DataFolder::decide(DataFolderInputs::fromProcess(options.dataFolder));
    if (!data.ok()) {
        err << data.error() << Qt::endl;
        return UsageExitCode;
    }
    return RunImportCommand(data.path(), options.importFile, options.activate, out, err);
}
