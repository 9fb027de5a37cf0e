#include "platform/QtMessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

QtMessages::QtMessages(QWidget* owner) : m_owner(owner) {}

void QtMessages::setOwner(QWidget* owner) {
    m_owner = owner;
}

void QtMessages::showMessage(const QString& text, MsgIcon icon, const QString& title) {
    QMessageBox box(m_owner);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    // Without a window manager focus does not come back by itself.
    if (m_owner) {
        m_owner->activateWindow();
    }
}

bool QtMessages::askYesNo(const QString& text, const QString& title) {
    // The window in front (the settings window, say) owns the box, not the runtime window behind it.
    QWidget* owner = QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : m_owner.data();
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    const bool yes = box.exec() == QMessageBox::Yes;
    // Without a window manager focus does not come back by itself.
    if (owner != nullptr) {
        owner->activateWindow();
    }
    return yes;
}
