#include "editor/FormControls.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    // Enter in a text box must not press a button behind the user's back.
    button->setAutoDefault(false);
    return button;
}

QPushButton* MakeBrowseButton(QLineEdit& box, const QString& accessibleName) {
    QPushButton* button = MakeButton(box.parentWidget(), box.objectName() + QStringLiteral("_browse"),
                                     QStringLiteral("Sfoglia..."));
    button->setAccessibleName(accessibleName);
    button->setToolTip(accessibleName);
    constexpr int Gap = 4;
    const int width = QFontMetrics(button->font()).horizontalAdvance(button->text()) + 12;
    const QRect area = box.geometry();
    box.setGeometry(area.adjusted(0, 0, -(width + Gap), 0));
    button->setGeometry(area.right() - width + 1, area.top(), width, area.height());
    return button;
}
