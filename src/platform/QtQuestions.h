#pragma once

#include "platform/IQuestions.h"

#include <QPointer>

class QWidget;

// Questions shown with QMessageBox, modal over the given owner window.
class QtQuestions : public IQuestions {
public:
    explicit QtQuestions(QWidget* owner = nullptr);
    void setOwner(QWidget* owner);
    bool askYesNo(const QString& text, const QString& title) override;

private:
    QPointer<QWidget> m_owner;
};
