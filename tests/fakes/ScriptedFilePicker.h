#pragma once

#include "platform/IFilePicker.h"

#include <QList>
#include <QQueue>
#include <QString>

class QWidget;

// A file picker whose answers the test queues in advance: every call takes
// the next answer of its kind (an empty string once the queue is empty, as
// when the user cancels) and records the owner and filter it was given.
class ScriptedFilePicker : public IFilePicker {
public:
    enum class Kind { Open, Save };
    struct Call {
        Kind kind;
        QWidget* owner;
        QString filter;
    };

    QString ShowOpenDialog(QWidget* owner, const QString& filter) override {
        calls.append({Kind::Open, owner, filter});
        openFilters.append(filter);
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString ShowSaveDialog(QWidget* owner, const QString& filter) override {
        calls.append({Kind::Save, owner, filter});
        saveFilters.append(filter);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }

    QQueue<QString> openAnswers;
    QQueue<QString> saveAnswers;
    QList<Call> calls;
    // The filters alone, per kind.
    QList<QString> openFilters;
    QList<QString> saveFilters;
};
