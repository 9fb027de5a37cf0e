#include "editor/FormControls.h"

#include <QPushButton>

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    // Enter in a text box must not press a button behind the user's back.
    button->setAutoDefault(false);
    return button;
}
