#pragma once

class IFilePicker;
class IMessages;
class QImage;
class QWidget;

// The program's other windows, opened modally over the runtime window by its
// Alt commands. Each call returns when the window has been closed. The
// runtime window hands over the message and picker interfaces it was given.
class IRuntimeWindows {
public:
    virtual ~IRuntimeWindows() = default;
    // Alt+A: the dialog that chooses the active layout (it writes cfg.ini).
    virtual void ShowOpenLayout(QWidget* owner, IMessages& messages, IFilePicker& picker) = 0;
    // Alt+I: the settings window that creates, edits and saves layouts.
    virtual void ShowSettings(QWidget* owner, IMessages& messages, IFilePicker& picker) = 0;
    // Alt+P: the print preview of `table`, the picture of the window as shown.
    virtual void ShowPrintPreview(QWidget* owner, IMessages& messages, IFilePicker& picker,
                                  const QImage& table) = 0;
    // Alt+O: the access options (it writes their file); true when they were saved.
    virtual bool ShowAccessOptions(QWidget* owner, IMessages& messages) = 0;
};
