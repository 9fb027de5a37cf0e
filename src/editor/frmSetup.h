#pragma once

#include "config/LayoutContent.h"
#include "editor/SetupState.h"
#include "editor/SetupTools.h"

#include <QDialog>
#include <QString>

#include <array>
#include <optional>

class IFilePicker;
class IMessages;
class KeyTools;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

// The settings window, in which a layout is created, edited and saved.
// A new window is made for every opening (its controls start afresh), and
// the opening loads the active layout named in cfg.ini. The fields that
// outlive an opening live in a SetupState the caller keeps.
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

    // Waits for the thumbnails asked for so far (for measuring and tests).
    void waitForThumbnails();

public slots:
    // Esc and "Annulla" first stop a recording under way, then close.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmSetup(const QString& programFolder, SetupState& state, IFilePicker& picker, IMessages& messages,
             std::optional<SetupTools> tools, QWidget* parent);
    void BuildControls();
    void BuildKeyTools();
    void ShowKeyCountWarning();
    bool KeepSequence(const QString& newCount);
    bool ConfirmMissingFiles();
    QWidget* BuildKeyPage(int section, const QString& caption, std::array<QLineEdit*, MaxKeys>& boxes,
                          const QString& accessiblePrefix);
    QWidget* BuildFunctionKeyPage();
    QWidget* BuildBonusPage();
    void BuildSequenceFrame();

    void Load();
    bool ReadLayoutFile();
    void NewLayout();
    void ShowLayout();
    void CountKeys();
    void SetKeyCountText(const QString& text);
    void KeyCountChanged();
    void InputToggled(bool checked);
    void NumberToggled(int key, bool pressed);
    void RefreshSequenceLabels();
    void ShowPage(int page);

    void PickPicture(int index);
    void PickSound(QLineEdit* box);
    void PickFunctionKey(int index);
    void PickLayoutName();

    void SaveClicked();
    void ImportClicked();
    void ExportClicked();
    void WriteLayout();
    bool CheckLayoutName(const QString& path);
    void RefreshWorkingCopy();

    const QString m_programFolder;
    SetupState& m_state;
    IFilePicker& m_picker;
    IMessages& m_messages;
    const std::optional<SetupTools> m_tools;

    // The lists of the working copy, created afresh at every opening.
    std::array<QString, MaxKeys> m_sequenceList;
    std::array<QString, MaxKeys> m_pictureList;
    std::array<QString, MaxKeys> m_soundList;
    std::array<QString, MaxKeys> m_textList;
    std::array<QString, FunctionKeys> m_functionKeyList;
    // The keys' links and the layout's voice, kept as loaded so that a save
    // does not lose them.
    std::array<QString, MaxKeys> m_linkList;
    QString m_voice;

    QLineEdit* txtPathLayout = nullptr;
    QLabel* lblTasti = nullptr;
    QCheckBox* chkSez1 = nullptr;
    QCheckBox* chkSez2 = nullptr;
    QCheckBox* chkSez3 = nullptr;
    QCheckBox* chkInput = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* cmdBonus = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdAnnulla = nullptr;
    QPushButton* cmdImporta = nullptr;
    QPushButton* cmdEsporta = nullptr;
    QStackedWidget* m_pages = nullptr;
    std::array<QPushButton*, 4> cmdSez{};
    std::array<QLineEdit*, MaxKeys> txtSez1{};
    std::array<QLineEdit*, MaxKeys> txtSez2{};
    std::array<QLineEdit*, MaxKeys> txtSez3{};
    std::array<QLineEdit*, FunctionKeys> txtTF{};
    QLineEdit* txtBonus = nullptr;
    std::array<QPushButton*, MaxKeys> chkNum{};
    std::array<QLabel*, MaxKeys> lblInput{};

    KeyTools* m_keyTools = nullptr;
    QLabel* m_keyCountWarning = nullptr;
    // The picture paths when the keys were last counted, to undo a change the user cancels.
    std::array<QString, MaxKeys> m_countedPictures;
    bool m_askingCount = false;
};
