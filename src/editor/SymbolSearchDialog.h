#pragma once

#include "symbols/Symbol.h"

#include <QDialog>

#include <optional>

class IFilePicker;
class IFolderPicker;
class IMessages;
class QLabel;
class QLineEdit;
class QListView;
class QTimer;
class SymbolCatalog;
class SymbolResultModel;
class SymbolThumbnails;

// "Cerca simbolo": Italian words typed in the box show the matching symbols
// of the library and of the family's folders as a grid of thumbnails, the
// best first, updated at every key. Down moves from the box into the grid,
// the arrows move in it, Enter or a double click chooses, Esc closes;
// letters typed in the grid go on into the box. A picture file can be chosen
// instead ("Scegli un file…", PNG and SVG too), and the folders searched are
// set from here ("Cartelle di immagini…").
class SymbolSearchDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxResults = 200;
    static constexpr int ThumbnailSide = 96;

    SymbolSearchDialog(SymbolCatalog& catalog, IMessages& messages, IFilePicker& picker,
                       IFolderPicker& folderPicker, const QString& query, QWidget* parent = nullptr);
    ~SymbolSearchDialog() override;

    // After accept(): what was chosen.
    std::optional<Symbol> chosen() const { return m_chosen; }
    // Waits for the thumbnails asked for so far (for measuring and tests).
    void waitForThumbnails();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search();
    void chooseCurrent();
    void chooseFile();
    void editFolders();

    SymbolCatalog& m_catalog;
    IMessages& m_messages;
    IFilePicker& m_picker;
    IFolderPicker& m_folderPicker;
    SymbolThumbnails* m_thumbnails = nullptr;
    SymbolResultModel* m_model = nullptr;
    QLineEdit* m_query = nullptr;
    QListView* m_grid = nullptr;
    QLabel* m_status = nullptr;
    QTimer* m_refresh = nullptr;
    std::optional<Symbol> m_chosen;
};
