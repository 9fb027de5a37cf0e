#pragma once

#include "platform/IMessages.h"

// Counts what the code under test would have told the user; a question
// counts too, and is answered No.
class CountingMessages : public IMessages {
public:
    void showMessage(const QString&, MsgIcon, const QString&) override { ++shown; }
    bool askYesNo(const QString&, const QString&) override {
        ++shown;
        return false;
    }
    int shown = 0;
};
