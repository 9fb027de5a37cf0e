#include "runtime/RuntimeWindows.h"

#include "access/AccessOptionsDialog.h"
#include "editor/frmApriFile.h"
#include "editor/frmSetup.h"
#include "printing/frmPrinter.h"

RuntimeWindows::RuntimeWindows(QString programFolder, IPrinters& printers, const SetupTools& setupTools)
    : m_programFolder(std::move(programFolder)), m_printers(printers), m_setupTools(setupTools) {}

void RuntimeWindows::ShowOpenLayout(QWidget* owner, IMessages& messages, IFilePicker& picker) {
    frmApriFile dialog(m_programFolder, picker, messages, owner);
    dialog.exec();
}

void RuntimeWindows::ShowSettings(QWidget* owner, IMessages& messages, IFilePicker& picker) {
    frmSetup window(m_programFolder, m_setupState, picker, messages, m_setupTools, owner);
    window.exec();
}

bool RuntimeWindows::ShowAccessOptions(QWidget* owner, IMessages& messages) {
    AccessOptionsDialog dialog(m_programFolder, messages, owner, &m_setupTools.audio);
    return dialog.exec() == QDialog::Accepted;
}

void RuntimeWindows::ShowPrintPreview(QWidget* owner, IMessages& messages, IFilePicker& picker,
                                      const QImage& table) {
    frmPrinter window(table, m_printers, picker, messages, owner);
    window.exec();
}
