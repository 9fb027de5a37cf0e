#include "obf/QtImportProgress.h"

#include "platform/AppInfo.h"

#include <QCoreApplication>

QtImportProgress::QtImportProgress(QWidget* owner)
    : m_dialog(QStringLiteral("Lettura del file..."), QStringLiteral("Annulla"), 0, 1, owner) {
    m_dialog.setWindowTitle(AppInfo::Title);
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setMinimumDuration(0);
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
    m_dialog.setMinimumWidth(420);
    // Shown at the first report, once the file is chosen, never over the picker.
    m_dialog.reset();
}

void QtImportProgress::advanced(int boardsDone, int boards, int picturesDone, int pictures) {
    m_dialog.show();
    m_dialog.setMaximum(std::max(1, boards + pictures));
    m_dialog.setValue(boardsDone + picturesDone);
    m_dialog.setLabelText(
        QStringLiteral("Importazione in corso\nImmagini e suoni: %1 di %2\nTabelle: %3 di %4")
            .arg(picturesDone)
            .arg(pictures)
            .arg(boardsDone)
            .arg(boards));
    QCoreApplication::processEvents();
}

void QtImportProgress::boardDone(const QString& /*board*/, int /*layouts*/) {}

bool QtImportProgress::cancelled() {
    QCoreApplication::processEvents();
    return m_dialog.wasCanceled();
}

void QtImportProgress::finished() {
    m_dialog.hide();
}
