#pragma once

#include <QString>

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
};
