#pragma once

#include <QDialog>

class IFolderPicker;
class IMessages;
class PictureFolderIndex;
class QListWidget;

// "Cartelle di immagini": the family's own picture folders, searched with
// the symbol library. Each folder shows how many pictures were found in it,
// or that it is still being read, cannot be read or does not answer.
class PictureFoldersDialog : public QDialog {
    Q_OBJECT
public:
    PictureFoldersDialog(PictureFolderIndex& folders, IMessages& messages, IFolderPicker& picker,
                         QWidget* parent = nullptr);

private:
    void showFolders();
    void add();
    void removeCurrent();
    void keep(const QStringList& folders);

    PictureFolderIndex& m_folders;
    IMessages& m_messages;
    IFolderPicker& m_picker;
    QListWidget* m_list = nullptr;
};
