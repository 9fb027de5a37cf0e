#pragma once

#include "config/LayoutFile.h"
#include "editor/LayoutEditor.h"

#include <QString>

#include <functional>

class IMessages;

// The settings window's save, as a conversation with the user: the checks
// of the window itself, then the table's own rules applied to the bytes
// about to be written, so that "memorizzato" is said only of a layout the
// table opens, or after the user chose to save one it will not. Each fault
// the table would find is named with its key and file, and the fix is
// offered (switch a section on or off, pick the missing file). Pictures and
// sounds from outside the data folder are copied into it before writing.
class LayoutSave {
public:
    // Shows the picker for a key's picture or sound; empty when cancelled.
    using PickFile = std::function<QString(LayoutEditor::Field field, int key)>;
    struct Result {
        bool saved = false;
        // Where the user is taken back to, when the save stopped at a key.
        LayoutEditor::Field field = LayoutEditor::Field::Picture;
        int key = 0;
    };

    LayoutSave(LayoutEditor& editor, IMessages& messages, PickFile pick);

    // Saves under the name typed in the window (completed to a full .ini path).
    Result run(const QString& typedName);

    // Asked before a window with unsaved edits closes.
    static QString UnsavedQuestion();

private:
    bool CheckWindowRules();
    bool CheckName(const QString& path);
    bool CheckLinks(Result& stop);
    bool TableOpensIt(Result& stop);
    bool OfferFix(const LayoutFile::Fault& fault, Result& stop);
    bool CopyMedia();
    bool Write(const QString& path);
    void Tell(const QString& text, bool exclamation = true);

    LayoutEditor& m_editor;
    IMessages& m_messages;
    PickFile m_pick;
};
