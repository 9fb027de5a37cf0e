#pragma once

#include "access/PhraseStore.h"

#include <QDialog>

class IMessages;
class QLineEdit;
class QListWidget;

// "Frasi preferite": the carer renames, reorders and deletes the user's
// favourite phrases and writes new ones by hand. "Salva" writes the phrases
// file; "Annulla" and Esc leave it as it was.
class FavouritesDialog : public QDialog {
    Q_OBJECT
public:
    FavouritesDialog(const QString& dataFolder, IMessages& messages, QWidget* parent = nullptr);

    // The favourites as the list shows them now.
    QList<Phrase> favourites() const;

private:
    void move(int by);
    void remove();
    void add();
    void save();

    IMessages& m_messages;
    PhraseStore m_store;
    QListWidget* m_list = nullptr;
    QLineEdit* m_written = nullptr;
    // The phrases in the list's order; the list's texts are their labels.
    QList<Phrase> m_phrases;
};
