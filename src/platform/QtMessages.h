#pragma once

#include "platform/IMessages.h"

#include <QPointer>

class QWidget;

// Message boxes shown with QMessageBox, modal over the given owner window.
class QtMessages : public IMessages {
public:
    explicit QtMessages(QWidget* owner = nullptr);
    void setOwner(QWidget* owner);
    void showMessage(const QString& text, MsgIcon icon, const QString& title) override;
    bool askYesNo(const QString& text, const QString& title) override;

private:
    QPointer<QWidget> m_owner;
};
