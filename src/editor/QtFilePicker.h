#pragma once

#include "platform/IFilePicker.h"

#include <QStringList>

// The program's two file pickers (the mCDialog module) on Qt's own file
// dialog. Each opens in the process's working folder, and an accepted file
// makes its folder the working folder, so the next picker opens there.
class QtFilePicker : public IFilePicker {
public:
    QString ShowOpenDialog(QWidget* owner, const QString& filter) override;
    QString ShowSaveDialog(QWidget* owner, const QString& filter) override;
    QStringList ShowOpenFilesDialog(QWidget* owner, const QString& filter) override;

    static constexpr int MaxPathLength = 254;

    static QString OpenTitle() { return QStringLiteral("Seleziona il file da aprire"); }
    static QString SaveTitle() { return QStringLiteral("Seleziona il file in cui salvare"); }
    // The dialog's name filter for a description + NUL + pattern pair.
    static QString NameFilterOf(const QString& filter);
};
