#pragma once

#include "editor/SetupState.h"
#include "editor/SetupTools.h"
#include "runtime/IRuntimeWindows.h"

#include <QString>

class IPrinters;

// The program's real windows behind the runtime window's Alt commands.
class RuntimeWindows : public IRuntimeWindows {
public:
    // The printers and the tools must outlive this object.
    RuntimeWindows(QString programFolder, IPrinters& printers, const SetupTools& setupTools);

    void ShowOpenLayout(QWidget* owner, IMessages& messages, IFilePicker& picker) override;
    void ShowSettings(QWidget* owner, IMessages& messages, IFilePicker& picker) override;
    void ShowPrintPreview(QWidget* owner, IMessages& messages, IFilePicker& picker,
                          const QImage& table) override;
    bool ShowAccessOptions(QWidget* owner, IMessages& messages) override;

private:
    QString m_programFolder;
    IPrinters& m_printers;
    SetupTools m_setupTools;
    // What the settings window carries from one opening to the next.
    SetupState m_setupState;
};
