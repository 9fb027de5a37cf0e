#include "platform/QtQuestions.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

QtQuestions::QtQuestions(QWidget* owner) : m_owner(owner) {}

void QtQuestions::setOwner(QWidget* owner) {
    m_owner = owner;
}

bool QtQuestions::askYesNo(const QString& text, const QString& title) {
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
