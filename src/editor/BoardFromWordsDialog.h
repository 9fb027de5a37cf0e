#pragma once

#include "editor/BoardFromWords.h"

#include <QDialog>

#include <vector>

class IFilePicker;
class IMessages;
class ISymbolChooser;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class SymbolCatalog;
class SymbolThumbnails;

// "Tabella da parole": the carer types or pastes up to 21 words or short
// phrases, and the window proposes a layout with one key per word, the best
// symbol for each (replaceable from the symbol search) and the texts
// filled; the carer picks the key count, names the layout and saves it,
// and it can be made the active layout at once.
class BoardFromWordsDialog : public QDialog {
    Q_OBJECT
public:
    BoardFromWordsDialog(const QString& dataFolder, SymbolCatalog& catalog, ISymbolChooser& chooser,
                         IMessages& messages, int pictureSide, QWidget* parent = nullptr);
    ~BoardFromWordsDialog() override;

    // The program's window over `parent`, with the real symbol search;
    // true when a layout was saved and made the active one.
    static bool Open(const QString& dataFolder, IMessages& messages, IFilePicker& picker, QWidget* parent);

    // After a save: the layout written and whether it became the active one.
    QString savedLayout() const { return m_saved; }
    bool activated() const;

private:
    void propose();
    void showKeys();
    void changeSymbol(int key);
    void save();
    bool placePictures(QStringList& pictures, QString& blank);

    const QString m_dataFolder;
    SymbolCatalog& m_catalog;
    ISymbolChooser& m_chooser;
    IMessages& m_messages;
    const int m_pictureSide;
    std::vector<BoardFromWords::Key> m_keys;
    SymbolThumbnails* m_thumbnails = nullptr;
    QPlainTextEdit* m_words = nullptr;
    QWidget* m_rows = nullptr;
    QGridLayout* m_grid = nullptr;
    std::vector<QLineEdit*> m_texts;
    std::vector<QLabel*> m_pictures;
    QLabel* m_unmatched = nullptr;
    QComboBox* m_keyCount = nullptr;
    QLineEdit* m_name = nullptr;
    QCheckBox* m_activate = nullptr;
    QString m_saved;
};
