#pragma once

#include "obf/IImportProgress.h"

#include <QProgressDialog>

class QWidget;

// The settings window's import progress: a bar over boards, pictures and
// sounds, and "Annulla", which stops the import with nothing written.
class QtImportProgress : public IImportProgress {
public:
    explicit QtImportProgress(QWidget* owner);

    void advanced(int boardsDone, int boards, int picturesDone, int pictures) override;
    void boardDone(const QString& board, int layouts) override;
    void finished() override;
    bool cancelled() override;

private:
    QProgressDialog m_dialog;
};
