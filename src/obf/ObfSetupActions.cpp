#include "obf/ObfSetupActions.h"

#include "config/FileExists.h"
#include "obf/IImportProgress.h"
#include "obf/ObfCommands.h"
#include "obf/ObfExporter.h"
#include "obf/ObfImporter.h"
#include "platform/AppInfo.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"
#include "platform/Log.h"
#include "platform/WaitCursor.h"

#include <QFileInfo>

namespace {
const QString ImportFilter =
    QStringLiteral("Open Board (*.obf *.obz)") + QChar(u'\0') + QStringLiteral("*.obf;*.obz");
const QString ExportFilter = QStringLiteral("Open Board (*.obz)") + QChar(u'\0') + QStringLiteral("*.obz");
} // namespace

bool ImportWithPicker(QWidget* owner, const QString& dataFolder, IFilePicker& picker, IMessages& messages,
                      IImportProgress* progress) {
    const QString file = picker.ShowOpenDialog(owner, ImportFilter);
    if (file.isEmpty()) {
        return false;
    }
    ObfImporter importer(dataFolder);
    const Result<ObfReport> report = importer.Import(file, progress);
    if (progress != nullptr) {
        progress->finished();
    }
    if (!report) {
        if (!importer.cancelled()) {
            Log::Failure(lcImport, report.failure());
        }
        messages.showMessage(report.failure().message(), MsgIcon::Exclamation, AppInfo::Title);
        return false;
    }
    messages.showMessage(report->summary(), MsgIcon::Information, AppInfo::Title);
    const QString first = report->layouts().first();
    if (!messages.askYesNo(QStringLiteral("Rendere attivo il layout «%1»?").arg(QFileInfo(first).fileName()),
                           AppInfo::Title)) {
        return false;
    }
    Log::Failure(lcFiles, ActivateLayout(dataFolder, first));
    return true;
}

void ExportWithPicker(QWidget* owner, const QString& layoutPath, IFilePicker& picker, IMessages& messages) {
    if (!QFileInfo(ResolveFileCase(layoutPath)).isFile()) {
        messages.showMessage(QStringLiteral("Salvare il layout prima di esportarlo."), MsgIcon::Exclamation,
                             AppInfo::Title);
        return;
    }
    QString output = picker.ShowSaveDialog(owner, ExportFilter);
    if (output.isEmpty()) {
        return;
    }
    if (QFileInfo(output).suffix().compare(QLatin1String("obz"), Qt::CaseInsensitive) != 0) {
        output += QStringLiteral(".obz");
    }
    const bool followLinks = messages.askYesNo(
        QStringLiteral("Esportare anche i layout raggiunti con i tasti funzione?"), AppInfo::Title);
    const Result<QStringList> exported = [&] {
        const WaitCursor hourglass;
        return ObfExporter::Export(layoutPath, output, followLinks);
    }();
    if (!exported) {
        Log::Failure(lcImport, exported.failure());
        messages.showMessage(exported.failure().message(), MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
    QStringList notes = exported.value();
    notes.prepend(QStringLiteral("Esportato in «%1».").arg(output));
    messages.showMessage(notes.join(QLatin1Char('\n')), MsgIcon::Information, AppInfo::Title);
}
