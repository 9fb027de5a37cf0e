#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The two modal file pickers. A filter is a description and a pattern joined
// by one NUL character ("Layout Files (*.ini)" + '\0' + "*.ini"); a pattern
// may list several wildcards separated by semicolons. Both return the chosen
// full path, trimmed, or an empty string when the user cancels.
class IFilePicker {
public:
    virtual ~IFilePicker() = default;
    virtual QString ShowOpenDialog(QWidget* owner, const QString& filter) = 0;
    virtual QString ShowSaveDialog(QWidget* owner, const QString& filter) = 0;
    // Several existing files chosen at once, in the order the picker lists
    // them; empty when the user cancels. A picker that chooses one file at a
    // time gives that one.
    virtual QStringList ShowOpenFilesDialog(QWidget* owner, const QString& filter) {
        const QString one = ShowOpenDialog(owner, filter);
        return one.isEmpty() ? QStringList() : QStringList{one};
    }
};
