#include "obf/ObfCommands.h"

#include "config/CINIFile.h"
#include "config/FileExists.h"
#include "config/ProgramFolder.h"
#include "obf/ObfExporter.h"
#include "obf/ObfImporter.h"

#include <QGuiApplication>
#include <QStringList>
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

void ActivateLayout(const QString& dataFolder, const QString& layout) {
    CINIFile ini;
    ini.SetFile(ResolveFileCase(dataFolder + QStringLiteral("/cfg.ini")));
    ini.AddSection(QStringLiteral("KeyProgram"), true);
    ini.SetValues(QStringLiteral("File"), layout);
}

std::optional<int> RunObfCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const qsizetype import = arguments.indexOf(QStringLiteral("--import"));
    const qsizetype exportAt = arguments.indexOf(QStringLiteral("--export"));
    if (import < 0 && exportAt < 0) {
        return std::nullopt;
    }
    // Label pictures are drawn with fonts, which need a GUI application,
    // but no window is ever shown: no display is needed either.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dataFolder = ProgramFolder();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (import >= 0 && import + 1 < arguments.size()) {
        return RunImportCommand(dataFolder, arguments.at(import + 1),
                                arguments.contains(QStringLiteral("--activate")), out, err);
    }
    if (exportAt >= 0 && exportAt + 2 < arguments.size()) {
        return RunExportCommand(arguments.at(exportAt + 1), arguments.at(exportAt + 2), out, err);
    }
    err << QStringLiteral("Uso: mirelva --import FILE.obf|FILE.obz [--activate]\n"
                          "     mirelva --export LAYOUT.ini FILE.obz")
        << Qt::endl;
    return EXIT_FAILURE;
}
