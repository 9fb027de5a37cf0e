#pragma once

#include "editor/IFolderPicker.h"
#include "editor/ISymbolChooser.h"

#include <QString>

class IFilePicker;
class IMessages;

// The real "Cerca simbolo…": the search window over the program's symbol
// catalog for a data folder.
class SymbolSearchChooser : public ISymbolChooser {
public:
    SymbolSearchChooser(const QString& dataFolder, IMessages& messages, IFilePicker& picker);
    std::optional<Symbol> choose(QWidget* owner, const QString& query) override;

private:
    // The system's folder dialog.
    class QtFolderPicker : public IFolderPicker {
    public:
        QString chooseFolder(QWidget* owner) override;
    };

    const QString m_dataFolder;
    IMessages& m_messages;
    IFilePicker& m_picker;
    QtFolderPicker m_folderPicker;
};
