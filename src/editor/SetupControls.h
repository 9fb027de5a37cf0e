#pragma once

#include "config/LayoutContent.h"

#include <QStringList>

#include <array>

class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QString;
class QWidget;

// The controls of the settings window, named as the window's controls have
// always been named, built and placed (in twips) on the window. Nothing here
// reacts to anything: frmSetup connects them.
struct SetupControls {
    static constexpr int MaxKeys = LayoutContent::MaxKeys;
    static constexpr int FunctionKeys = LayoutContent::FunctionKeys;
    enum Page { PicturesPage, SoundsPage, TextsPage, FunctionKeysPage, BonusPage, LinksPage };
    // The choices of a key's link, in the order of LayoutEditor::LinkKind.
    static const QStringList& LinkChoices();

    explicit SetupControls(QDialog& window);

    QLineEdit* txtPathLayout = nullptr;
    QPushButton* cmdPathBrowse = nullptr;
    QLabel* lblTasti = nullptr;
    QLabel* keyCountWarning = nullptr;
    QCheckBox* chkProportions = nullptr;
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
    QPushButton* cmdParole = nullptr;
    QPushButton* cmdLinks = nullptr;
    QPushButton* cmdBoard = nullptr;
    QStackedWidget* pages = nullptr;
    std::array<QPushButton*, 4> cmdSez{};
    std::array<QLineEdit*, MaxKeys> txtSez1{};
    std::array<QLineEdit*, MaxKeys> txtSez2{};
    std::array<QLineEdit*, MaxKeys> txtSez3{};
    std::array<QLineEdit*, FunctionKeys> txtTF{};
    QLineEdit* txtBonus = nullptr;
    std::array<QPushButton*, MaxKeys> chkNum{};
    std::array<QLabel*, MaxKeys> lblInput{};
    // Per key: what it opens, and the layout file when that is a layout.
    std::array<QComboBox*, MaxKeys> cmbLink{};
    std::array<QLineEdit*, MaxKeys> txtLink{};

    // Once the key rows have their tools: marks and "Sfoglia..." on the other paths.
    void AddPathTools(std::array<QPushButton*, FunctionKeys>& functionKeyBrowse, QPushButton*& bonusBrowse,
                      std::array<QPushButton*, MaxKeys>& linkBrowse);

private:
    void BuildLeftColumn(QDialog& window);
    QWidget* BuildKeyPage(int section, const QString& caption, std::array<QLineEdit*, MaxKeys>& boxes,
                          const QString& accessiblePrefix);
    QWidget* BuildFunctionKeyPage();
    QWidget* BuildBonusPage();
    QWidget* BuildLinksPage();
    void BuildSequenceFrame(QDialog& window);
};
