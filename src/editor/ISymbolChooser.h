#pragma once

#include "symbols/Symbol.h"

#include <QString>

#include <optional>

class QWidget;

// The search for a key's picture ("Cerca simbolo…"), as the settings window
// and the board-from-words window use it: a test scripts the answer.
class ISymbolChooser {
public:
    virtual ~ISymbolChooser() = default;
    // Shows the search, modal over `owner`, starting from `query`; the chosen
    // symbol, or nothing when the user cancels.
    virtual std::optional<Symbol> choose(QWidget* owner, const QString& query) = 0;
};
