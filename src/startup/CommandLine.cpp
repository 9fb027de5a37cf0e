#include "startup/CommandLine.h"

#include "platform/AppInfo.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {
CommandLineOptions Finished(int exitCode, const QString& output) {
    CommandLineOptions options;
    options.run = false;
    options.exitCode = exitCode;
    options.output = output;
    return options;
}
} // namespace

CommandLineOptions ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Mirelva: comunicatore a tabella di immagini con suoni e sintesi vocale."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Mostra questo aiuto ed esce."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Mostra la versione ed esce."));
    const QCommandLineOption data(QStringLiteral("data"),
                                  QStringLiteral("Usa CARTELLA per cfg.ini, layout, immagini e suoni "
                                                 "(creata se manca)."),
                                  QStringLiteral("CARTELLA"));
    const QCommandLineOption import(QStringLiteral("import"),
                                    QStringLiteral("Importa le tabelle di FILE (.obf o .obz, Open Board) nei "
                                                   "layout, senza aprire finestre."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption activate(
        QStringLiteral("activate"), QStringLiteral("Con --import: rende attivo il primo layout importato."));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Con --import: una riga per ogni tabella importata."));
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        QStringLiteral("Esporta LAYOUT e i layout dei suoi tasti funzione nel "
                       "file .obz indicato dopo: --export LAYOUT.ini FILE.obz"),
        QStringLiteral("LAYOUT"));
    parser.addOptions({help, version, data, import, activate, verbose, exportOption});

    // Qt's usage line names the running executable by its full path, in English.
    QString usage = parser.helpText();
    usage = QStringLiteral("Uso: mirelva [opzioni]") + usage.mid(usage.indexOf(QLatin1Char('\n')));
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        const QString what = unknown.isEmpty()
                                 ? parser.errorText()
                                 : QStringLiteral("Opzione sconosciuta: %1").arg(unknown.first());
        return Finished(UsageExitCode, what + QLatin1Char('\n') + usage);
    }
    // --export names its layout as its value and the file to write after it.
    const QStringList positional = parser.positionalArguments();
    const bool exporting = parser.isSet(exportOption) && positional.size() == 1;
    if (parser.isSet(exportOption) && positional.isEmpty()) {
        return Finished(UsageExitCode,
                        QStringLiteral("L'opzione --export vuole il layout e il file .obz.\n") + usage);
    }
    if (!exporting && !positional.isEmpty()) {
        return Finished(
            UsageExitCode,
            QStringLiteral("Argomento sconosciuto: %1\n").arg(parser.positionalArguments().first()) + usage);
    }
    if (parser.isSet(help)) {
        return Finished(0, usage);
    }
    if (parser.isSet(version)) {
        return Finished(0, QStringLiteral("%1 %2\n").arg(AppInfo::Title, AppInfo::Version()));
    }
    CommandLineOptions options;
    options.dataFolder = parser.value(data);
    if (parser.isSet(data) && options.dataFolder.isEmpty()) {
        return Finished(UsageExitCode, QStringLiteral("L'opzione --data vuole una cartella.\n") + usage);
    }
    options.importFile = parser.value(import);
    options.activate = parser.isSet(activate);
    options.verbose = parser.isSet(verbose);
    options.exportLayout = exporting ? parser.value(exportOption) : QString();
    options.exportFile = exporting ? positional.first() : QString();
    return options;
}
