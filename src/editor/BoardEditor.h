#pragma once

#include "editor/BoardEdit.h"
#include "editor/LayoutEditor.h"
#include "editor/SetupState.h"
#include "editor/SetupTools.h"

#include <QDialog>

#include <memory>
#include <optional>

class BoardCanvas;
class IFilePicker;
class IMessages;
class ISymbolChooser;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Modifica tabella": a board edited where it is seen. The table is drawn as
// it will look; a key opens in a small editor by a click or Enter; keys swap
// by dragging or Ctrl with an arrow; "Nuova tabella" starts an empty board,
// "Duplica" copies one, a key copied here is pasted on this or another board;
// every change can be undone and redone. Saving is the settings window's own
// save (LayoutEditor and LayoutSave), so a board saved here has the same bytes.
class BoardEditor : public QDialog {
    Q_OBJECT
public:
    // Opens the active layout. Without tools the keys' sounds can be picked
    // but not recorded or heard; without a chooser the symbol search is the
    // program's own window.
    BoardEditor(const QString& programFolder, SetupState& state, IFilePicker& picker, IMessages& messages,
                const std::optional<SetupTools>& tools, ISymbolChooser* chooser = nullptr,
                QWidget* parent = nullptr);
    ~BoardEditor() override;

    BoardEdit& edit() { return m_edit; }
    BoardCanvas& canvas() { return *m_canvas; }
    // Shows the working copy again after an edit (for the window and for measuring).
    void showBoard();

public slots:
    // Asks before throwing edits away.
    void reject() override;

private:
    void build();
    void openKey(int key);
    void dropped(int key, const QStringList& files);
    void addPictures();
    void openOther();
    bool save();
    void showOpened(LayoutEditor::Opened opened);

    const QString m_programFolder;
    IFilePicker& m_picker;
    IMessages& m_messages;
    const std::optional<SetupTools> m_tools;
    std::unique_ptr<ISymbolChooser> m_ownChooser;
    std::unique_ptr<IFilePicker> m_ownPicker;
    ISymbolChooser* m_chooser;
    LayoutEditor m_editor;
    BoardEdit m_edit;
    BoardCanvas* m_canvas = nullptr;
    QComboBox* m_keys = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_undo = nullptr;
    QPushButton* m_redo = nullptr;
    QPushButton* m_paste = nullptr;
    std::optional<BoardEdit::Key> m_copied;
};
