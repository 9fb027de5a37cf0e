#include "editor/PictureFoldersDialog.h"

#include "editor/IFolderPicker.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "symbols/PictureFolderIndex.h"

#include <QBoxLayout>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {
QString StateText(const PictureFolderIndex& folders, const QString& folder) {
    switch (folders.state(folder)) {
    case PictureFolderIndex::State::Walking:
        return QStringLiteral("lettura in corso…");
    case PictureFolderIndex::State::NotResponding:
        return QStringLiteral("non risponde");
    case PictureFolderIndex::State::Unreadable:
        return QStringLiteral("non leggibile");
    case PictureFolderIndex::State::Ready:
        break;
    }
    const int count = folders.pictureCount(folder);
    return count == 1 ? QStringLiteral("1 immagine") : QStringLiteral("%1 immagini").arg(count);
}
} // namespace

PictureFoldersDialog::PictureFoldersDialog(PictureFolderIndex& folders, IMessages& messages,
                                           IFolderPicker& picker, QWidget* parent)
    : QDialog(parent), m_folders(folders), m_messages(messages), m_picker(picker) {
    setObjectName(QStringLiteral("PictureFolders"));
    setWindowTitle(QStringLiteral("Cartelle di immagini"));
    resize(620, 360);
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(QStringLiteral("Le immagini di queste cartelle (GIF, JPEG, BMP, PNG, SVG) si cercano "
                                  "per nome insieme ai simboli."));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("FolderList"));
    m_list->setAccessibleName(QStringLiteral("Cartelle di immagini"));
    layout->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    const auto button = [buttons](const QString& caption) {
        auto* b = new QPushButton(caption);
        b->setAccessibleName(caption);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(button(QStringLiteral("Aggiungi…")), &QPushButton::clicked, this, &PictureFoldersDialog::add);
    connect(button(QStringLiteral("Togli")), &QPushButton::clicked, this,
            &PictureFoldersDialog::removeCurrent);
    buttons->addStretch(1);
    connect(button(QStringLiteral("Chiudi")), &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(buttons);

    connect(&m_folders, &PictureFolderIndex::changed, this, &PictureFoldersDialog::showFolders);
    // A folder that stops answering is told only by time passing.
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &PictureFoldersDialog::showFolders);
    timer->start(1000);
    showFolders();
}

void PictureFoldersDialog::showFolders() {
    const int current = m_list->currentRow();
    m_list->clear();
    for (const QString& folder : m_folders.folders()) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1 — %2").arg(QDir::toNativeSeparators(folder), StateText(m_folders, folder)));
        item->setData(Qt::UserRole, folder);
        m_list->addItem(item);
    }
    m_list->setCurrentRow(std::min(current, m_list->count() - 1));
}

void PictureFoldersDialog::add() {
    const QString folder = m_picker.chooseFolder(this);
    if (folder.isEmpty()) {
        return;
    }
    QStringList folders = m_folders.folders();
    folders << QDir::cleanPath(folder);
    keep(folders);
}

void PictureFoldersDialog::removeCurrent() {
    const QListWidgetItem* item = m_list->currentItem();
    if (item == nullptr) {
        return;
    }
    QStringList folders = m_folders.folders();
    folders.removeAll(item->data(Qt::UserRole).toString());
    keep(folders);
}

void PictureFoldersDialog::keep(const QStringList& folders) {
    if (!m_folders.setFolders(folders)) {
        m_messages.showMessage(
            QStringLiteral(
                "Impossibile salvare l'elenco delle cartelle di immagini nella cartella dei dati."),
            MsgIcon::Exclamation, AppInfo::Title);
    }
    showFolders();
}
