#pragma once

#include "platform/IFilePicker.h"

#include <QList>
#include <QQueue>
#include <QString>

// A file picker that answers from queues the test fills beforehand; an empty
// queue answers as a cancelled dialog. Every filter asked for is recorded.
class ScriptedFilePicker : public IFilePicker {
public:
    QString ShowOpenDialog(QWidget*, const QString& filter) override {
        openFilters.append(filter);
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString ShowSaveDialog(QWidget*, const QString& filter) override {
        saveFilters.append(filter);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }

    QQueue<QString> openAnswers;
    QQueue<QString> saveAnswers;
    QList<QString> openFilters;
    QList<QString> saveFilters;
};
