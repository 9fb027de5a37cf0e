#pragma once

#include "editor/LayoutEditor.h"
#include "editor/SetupControls.h"
#include "editor/SetupState.h"
#include "editor/SetupTools.h"

#include <QDialog>
#include <QString>

#include <array>
#include <memory>
#include <optional>

class IFilePicker;
class IMessages;
class KeyTools;
class LinkChoice;
class QLineEdit;

// The settings window, in which a layout is created, edited and saved.
// A new window is made for every opening (its controls start afresh), and
// the opening loads the active layout named in cfg.ini. The rules live in
// LayoutEditor (editing) and LayoutSave (saving); the window shows the
// working copy and hands every edit to it. The fields that outlive an
// opening live in a SetupState the caller keeps.
class frmSetup : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxKeys = LayoutContent::MaxKeys;
    static constexpr int FunctionKeys = LayoutContent::FunctionKeys;

    // Without tools the window plays, speaks, records and asks nothing.
    frmSetup(const QString& programFolder, SetupState& state, IFilePicker& picker, IMessages& messages,
             QWidget* parent = nullptr);
    frmSetup(const QString& programFolder, SetupState& state, IFilePicker& picker, IMessages& messages,
             const SetupTools& tools, QWidget* parent = nullptr);
    ~frmSetup() override;

    // Waits for the thumbnails asked for so far (for measuring and tests).
    void waitForThumbnails();

public slots:
    // Esc and "Annulla" first stop a recording under way, then ask before
    // throwing edits away, then close.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Field = LayoutEditor::Field;
    frmSetup(const QString& programFolder, SetupState& state, IFilePicker& picker, IMessages& messages,
             std::optional<SetupTools> tools, QWidget* parent);
    void Connect();
    void BuildKeyTools();

    void Load();
    void ShowLayout();
    void ShowKeyCount();
    void ShowSequence();
    void CountKeys();
    void InputToggled(bool checked);
    void ShowPage(int page);
    bool ProportionsChanged() const;

    QString PickFile(Field field, int key);
    void PickInto(QLineEdit* box, const QString& filter);
    void PickPicture(int index);
    QString PickLayout();
    void PickLayoutInto(QLineEdit* box);
    void PickLayoutName();

    void SaveClicked();
    void BoardClicked();
    void ImportClicked();
    void ExportClicked();

    const QString m_programFolder;
    IFilePicker& m_picker;
    IMessages& m_messages;
    const std::optional<SetupTools> m_tools;
    SetupState& m_state;
    LayoutEditor m_editor;
    SetupControls c;
    KeyTools* m_keyTools = nullptr;
    std::array<LinkChoice*, MaxKeys> m_links{};
    bool m_askingCount = false;
};
