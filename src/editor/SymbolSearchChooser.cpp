#include "editor/SymbolSearchChooser.h"

#include "editor/SymbolSearchDialog.h"
#include "symbols/SymbolCatalog.h"

#include <QFileDialog>

SymbolSearchChooser::SymbolSearchChooser(const QString& dataFolder, IMessages& messages, IFilePicker& picker)
    : m_dataFolder(dataFolder), m_messages(messages), m_picker(picker) {}

std::optional<Symbol> SymbolSearchChooser::choose(QWidget* owner, const QString& query) {
    SymbolSearchDialog dialog(SymbolCatalog::ForDataFolder(m_dataFolder), m_messages, m_picker,
                              m_folderPicker, query, owner);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    // Without a window manager focus does not come back by itself.
    if (owner != nullptr) {
        owner->activateWindow();
    }
    return chosen ? dialog.chosen() : std::nullopt;
}

QString SymbolSearchChooser::QtFolderPicker::chooseFolder(QWidget* owner) {
    return QFileDialog::getExistingDirectory(owner, QStringLiteral("Scegliere una cartella di immagini"));
}
