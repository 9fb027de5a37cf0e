#pragma once

#include <QString>

// The icon a message box carries. Every message of the program has one OK button.
enum class MsgIcon { None, Exclamation, Information };

// Every message box of the program goes through this interface, so that the
// program shows real boxes and the tests record what would have been shown.
class IMessages {
public:
    virtual ~IMessages() = default;
    // Shows a modal message with one OK button and returns when it is closed.
    virtual void showMessage(const QString& text, MsgIcon icon, const QString& title) = 0;
    // Asks a question with the buttons Sì and No; true for Sì.
    virtual bool askYesNo(const QString& text, const QString& title) = 0;
};
