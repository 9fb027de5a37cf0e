#include "config/frmApriFile.h"

#include "config/ActiveLayoutPath.h"
#include "config/ConfigFile.h"
#include "config/FileExists.h"
#include "editor/FormControls.h"
#include "editor/PathRules.h"
#include "editor/Twips.h"
#include "platform/AppInfo.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"
#include "platform/WaitCursor.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

frmApriFile::frmApriFile(const QString& programFolder, IFilePicker& picker, IMessages& messages,
                         QWidget* parent)
    : QDialog(parent), m_programFolder(programFolder), m_picker(picker), m_messages(messages) {
    setObjectName(QStringLiteral("frmApriFile"));
    setWindowTitle(QStringLiteral("Apri file..."));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9.75);
    font.setBold(true);
    setFont(font);

    auto* label2 = new QLabel(QStringLiteral("Layout:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    txtPathLayout = new QLineEdit(this);
    txtPathLayout->setObjectName(QStringLiteral("txtPathLayout"));
    txtPathLayout->setAccessibleName(QStringLiteral("Layout"));
    label2->setBuddy(txtPathLayout);
    cmdTxtDblClick = MakeButton(this, QStringLiteral("cmdTxtDblClick"), QStringLiteral("..."));
    cmdTxtDblClick->setAccessibleName(QStringLiteral("Sfoglia"));
    cmdApri = MakeButton(this, QStringLiteral("cmdApri"), QStringLiteral("Apri ..."));
    Command1 = MakeButton(this, QStringLiteral("Command1"), QStringLiteral("Annullla"));

    Twips::Place(*label2, 120, 120, 855, 375);
    Twips::Place(*txtPathLayout, 1080, 120, 9375, 405);
    Twips::Place(*cmdTxtDblClick, 10560, 120, 495, 375);
    Twips::Place(*cmdApri, 1080, 600, 1575, 375);
    Twips::Place(*Command1, 2760, 600, 1575, 375);
    setFixedSize(Twips::ToPixels(*this, 0, 0, 11175, 1065).size());

    txtPathLayout->installEventFilter(this);
    connect(cmdTxtDblClick, &QPushButton::clicked, this, &frmApriFile::PickFile);
    connect(cmdApri, &QPushButton::clicked, this, &frmApriFile::OpenLayout);
    connect(Command1, &QPushButton::clicked, this, &QDialog::reject);
    txtPathLayout->clear();
}

bool frmApriFile::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtPathLayout && event->type() == QEvent::MouseButtonDblClick) {
        PickFile();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmApriFile::PickFile() {
    const QString path = m_picker.ShowOpenDialog(this, QStringLiteral("Layout Files (*.ini)") + QChar(u'\0') +
                                                           QStringLiteral("*.ini"));
    // Cancelling, or choosing the configuration file itself, keeps the text.
    if (!path.isEmpty() && !PathRules::IsConfigFile(path)) {
        txtPathLayout->setText(path);
    }
}

void frmApriFile::OpenLayout() {
    std::optional<WaitCursor> hourglass(std::in_place);
    const QString path = PathRules::LayoutFilePath(txtPathLayout->text(), m_programFolder);
    if (!FileExists(path)) {
        hourglass.reset();
        m_messages.showMessage(QStringLiteral("Il file «%1» è inesistente.").arg(path), MsgIcon::Exclamation,
                               AppInfo::Title);
        return;
    }
    ConfigFile::SetActiveLayout(m_programFolder, path);
    SetActiveLayoutPath(path);
    hourglass.reset();
    accept();
}
