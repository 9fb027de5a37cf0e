#pragma once

#include "editor/LayoutEditor.h"

#include <QList>
#include <QStringList>
#include <QString>

// The board editor's working copy, without a display: every edit of a board
// goes through here so that it can be undone and redone, and lands in the
// same LayoutEditor the settings window uses (a save writes the same bytes).
// Undo and redo hold whole working copies: a layout is a few dozen short
// strings, shared until one of them changes.
class BoardEdit {
public:
    using Field = LayoutEditor::Field;
    // One key's values, as copied to another key or another board.
    struct Key {
        QString picture;
        QString sound;
        QString text;
        QString link;
        friend bool operator==(const Key&, const Key&) = default;
    };

    explicit BoardEdit(LayoutEditor& editor);

    const LayoutEditor& editor() const { return m_editor; }
    LayoutEditor& editor() { return m_editor; }

    Key key(int k) const;
    // Each edit below that changes something can be undone; one that changes nothing is no step.
    void setValue(Field field, int k, const QString& value);
    void setKey(int k, const Key& key);
    // Pictures for keys `first`, first + 1, ... up to the key count, as one step.
    void setPictures(int first, const QStringList& paths);
    // Pictures chosen together, as one step: each fills the next key without a
    // picture, in key order, and a key without words takes the words that come
    // with its picture. Gives the number of pictures left over for want of an empty key.
    int fillEmptyKeys(const QList<Key>& pictures);
    // The keys on the board without a picture.
    int emptyKeys() const;
    // The words a picture's file name suggests: "02_pane-e-burro.png" gives
    // "pane e burro" (a number joined by "_", "-" or "." only sorts the files).
    static QString WordsOf(const QString& file);
    // Files in the order of their names, numbers by their value ("2_" before
    // "10_") and letters without regard to case, as a parent numbers photos.
    static QStringList InNameOrder(QStringList files);
    void swap(int a, int b);
    void setKeyCount(int count);
    void setForcedInput(bool on);
    void toggleStep(int k);
    void newBoard(int count);
    void duplicate();

    bool canUndo() const { return !m_undo.isEmpty(); }
    bool canRedo() const { return !m_redo.isEmpty(); }
    bool undo();
    bool redo();
    // A board opened from a file starts a history of its own.
    void forgetHistory();

private:
    template <typename Edit> void change(Edit edit);
    void put(Field field, int k, const QString& value);

    LayoutEditor& m_editor;
    QList<LayoutEditor::Working> m_undo;
    QList<LayoutEditor::Working> m_redo;
};
