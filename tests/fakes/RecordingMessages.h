#pragma once

#include "platform/IMessages.h"

#include <QList>
#include <QString>
#include <QStringList>

// Records every message the code under test would have shown.
class RecordingMessages : public IMessages {
public:
    struct Shown {
        QString text;
        MsgIcon icon;
        QString title;
    };

    void showMessage(const QString& text, MsgIcon icon, const QString& title) override {
        shown.append({text, icon, title});
    }
    // Records the question and gives the next queued answer, else the one the test chose.
    bool askYesNo(const QString& text, const QString&) override {
        questions << text;
        return answers.isEmpty() ? answerYes : answers.takeFirst();
    }
    QStringList texts() const {
        QStringList out;
        for (const auto& s : shown) {
            out << s.text;
        }
        return out;
    }

    QList<Shown> shown;
    QStringList questions;
    bool answerYes = false;
    QList<bool> answers;
};
