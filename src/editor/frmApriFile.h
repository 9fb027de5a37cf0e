#pragma once

#include <QDialog>
#include <QString>

class IFilePicker;
class IMessages;
class QLineEdit;
class QPushButton;

// The dialog that makes another layout file the active one. It only records
// the choice in cfg.ini and in the active layout path; the layout itself is
// checked the next time the table is started.
class frmApriFile : public QDialog {
    Q_OBJECT
public:
    frmApriFile(const QString& programFolder, IFilePicker& picker, IMessages& messages,
                QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PickFile();
    void OpenLayout();

    QString m_programFolder;
    IFilePicker& m_picker;
    IMessages& m_messages;
    QLineEdit* txtPathLayout = nullptr;
    QPushButton* cmdTxtDblClick = nullptr;
    QPushButton* cmdApri = nullptr;
    QPushButton* Command1 = nullptr;
};
