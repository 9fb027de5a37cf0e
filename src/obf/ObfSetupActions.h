#pragma once

#include <QString>

class IFilePicker;
class IImportProgress;
class IMessages;
class QWidget;

// What the settings window's "Importa..." and "Esporta..." buttons do, with
// every question, picker and message going through the interfaces it is handed.

// Asks for an Open Board file, imports it into the data folder, shows the
// report and offers to make the first imported layout the active one. True
// when the active layout changed. `progress` shows how far it has gone and
// may stop it, leaving the data folder as it was.
bool ImportWithPicker(QWidget* owner, const QString& dataFolder, IFilePicker& picker, IMessages& messages,
                      IImportProgress* progress);

// Exports the saved layout (with the layouts its function keys reach, if
// the user wants them) to a .obz file chosen in the save picker.
void ExportWithPicker(QWidget* owner, const QString& layoutPath, IFilePicker& picker, IMessages& messages);
