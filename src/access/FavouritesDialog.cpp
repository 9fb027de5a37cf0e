#include "access/FavouritesDialog.h"

#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "platform/Log.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPushButton* Button(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(text);
    return button;
}
} // namespace

FavouritesDialog::FavouritesDialog(const QString& dataFolder, IMessages& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_store(dataFolder) {
    setWindowTitle(QStringLiteral("Frasi preferite"));
    setModal(true);
    QString notice;
    m_store.load(&notice);
    if (!notice.isEmpty()) {
        m_messages.showMessage(notice, MsgIcon::Exclamation, AppInfo::Title);
    }
    m_phrases = m_store.favourites();
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setAccessibleName(QStringLiteral("Frasi preferite"));
    for (const Phrase& p : m_phrases) {
        auto* item = new QListWidgetItem(p.label, m_list);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    // A label edited in the list renames the phrase; what it says stays.
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = m_list->row(item);
        if (row >= 0 && row < m_phrases.size()) {
            const QString label = item->text().simplified();
            m_phrases[row].label = label.isEmpty() ? m_phrases[row].label : label;
        }
    });
    layout->addWidget(new QLabel(QStringLiteral("Doppio clic o F2 su una frase per rinominarla."), this));
    auto* row = new QHBoxLayout;
    row->addWidget(m_list, 1);
    auto* side = new QVBoxLayout;
    QPushButton* up = Button(QStringLiteral("Su"), this);
    QPushButton* down = Button(QStringLiteral("Giù"), this);
    QPushButton* del = Button(QStringLiteral("Elimina"), this);
    side->addWidget(up);
    side->addWidget(down);
    side->addWidget(del);
    side->addStretch();
    row->addLayout(side);
    layout->addLayout(row);
    auto* writeRow = new QHBoxLayout;
    m_written = new QLineEdit(this);
    m_written->setAccessibleName(QStringLiteral("Nuova frase"));
    m_written->setPlaceholderText(QStringLiteral("Scrivere una nuova frase"));
    QPushButton* add = Button(QStringLiteral("Aggiungi"), this);
    writeRow->addWidget(m_written, 1);
    writeRow->addWidget(add);
    layout->addLayout(writeRow);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(QStringLiteral("Salva"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    save->setAccessibleName(save->text());
    cancel->setAccessibleName(cancel->text());
    layout->addWidget(buttons);
    connect(up, &QPushButton::clicked, this, [this] { move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { move(1); });
    connect(del, &QPushButton::clicked, this, &FavouritesDialog::remove);
    connect(add, &QPushButton::clicked, this, &FavouritesDialog::add);
    connect(m_written, &QLineEdit::returnPressed, this, &FavouritesDialog::add);
    connect(save, &QPushButton::clicked, this, &FavouritesDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QList<Phrase> FavouritesDialog::favourites() const {
    return m_phrases;
}

void FavouritesDialog::move(int by) {
    const int from = m_list->currentRow();
    const int to = from + by;
    if (from < 0 || to < 0 || to >= m_phrases.size()) {
        return;
    }
    m_phrases.move(from, to);
    m_list->insertItem(to, m_list->takeItem(from));
    m_list->setCurrentRow(to);
}

void FavouritesDialog::remove() {
    const int row = m_list->currentRow();
    if (row >= 0 && row < m_phrases.size()) {
        m_phrases.removeAt(row);
        delete m_list->takeItem(row);
    }
}

void FavouritesDialog::add() {
    const Phrase phrase = Phrase::Written(m_written->text());
    if (phrase.label.isEmpty()) {
        return;
    }
    m_phrases.append(phrase);
    auto* item = new QListWidgetItem(phrase.label, m_list);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_list->setCurrentItem(item);
    m_written->clear();
}

void FavouritesDialog::save() {
    m_store.setFavourites(m_phrases);
    if (const Outcome saved = m_store.save(); !saved) {
        Log::Failure(lcFiles, saved);
        m_messages.showMessage(saved.message(), MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
    accept();
}
