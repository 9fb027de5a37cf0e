#include "editor/BoardFromWordsDialog.h"

#include "editor/BoardLayoutFile.h"
#include "editor/ISymbolChooser.h"
#include "editor/SymbolSearchChooser.h"
#include "editor/SymbolThumbnails.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolPicture.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

namespace {
constexpr int Thumbnail = 64;

QPushButton* Button(const QString& caption, const QString& accessibleName = {}) {
    auto* button = new QPushButton(caption);
    button->setAccessibleName(accessibleName.isEmpty() ? caption : accessibleName);
    button->setAutoDefault(false);
    return button;
}
} // namespace

BoardFromWordsDialog::BoardFromWordsDialog(const QString& dataFolder, SymbolCatalog& catalog,
                                           ISymbolChooser& chooser, IMessages& messages, int pictureSide,
                                           QWidget* parent)
    : QDialog(parent), m_dataFolder(dataFolder), m_catalog(catalog), m_chooser(chooser), m_messages(messages),
      m_pictureSide(pictureSide) {
    setObjectName(QStringLiteral("BoardFromWords"));
    setWindowTitle(QStringLiteral("Tabella da parole"));
    resize(720, 680);
    m_thumbnails = new SymbolThumbnails(Thumbnail, this);
    connect(m_thumbnails, &SymbolThumbnails::ready, this, &BoardFromWordsDialog::showKeys);

    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("&Parole o brevi frasi, separate da virgole o su righe diverse "
                                            "(al massimo 21):"));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_words = new QPlainTextEdit;
    m_words->setObjectName(QStringLiteral("BoardWords"));
    m_words->setAccessibleName(QStringLiteral("Parole della tabella"));
    m_words->setPlaceholderText(QStringLiteral("io, voglio, mangiare, bere, basta, aiuto"));
    m_words->setTabChangesFocus(true);
    m_words->setMaximumHeight(90);
    intro->setBuddy(m_words);
    layout->addWidget(m_words);
    QPushButton* proposeButton = Button(QStringLiteral("Proponi"));
    connect(proposeButton, &QPushButton::clicked, this, &BoardFromWordsDialog::propose);
    layout->addWidget(proposeButton, 0, Qt::AlignLeft);

    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    m_rows = new QWidget;
    m_grid = new QGridLayout(m_rows);
    m_grid->setAlignment(Qt::AlignTop);
    scroll->setWidget(m_rows);
    layout->addWidget(scroll, 1);

    m_unmatched = new QLabel;
    m_unmatched->setObjectName(QStringLiteral("BoardUnmatched"));
    m_unmatched->setWordWrap(true);
    layout->addWidget(m_unmatched);

    auto* settings = new QGridLayout;
    auto* countLabel = new QLabel(QStringLiteral("&Numero dei tasti:"));
    m_keyCount = new QComboBox;
    m_keyCount->setAccessibleName(QStringLiteral("Numero dei tasti"));
    countLabel->setBuddy(m_keyCount);
    auto* nameLabel = new QLabel(QStringLiteral("No&me del layout:"));
    m_name = new QLineEdit;
    m_name->setAccessibleName(QStringLiteral("Nome del layout"));
    nameLabel->setBuddy(m_name);
    m_activate = new QCheckBox(QStringLiteral("&Rendi attivo il layout"));
    m_activate->setAccessibleName(QStringLiteral("Rendi attivo il layout"));
    m_activate->setChecked(true);
    settings->addWidget(countLabel, 0, 0);
    settings->addWidget(m_keyCount, 0, 1);
    settings->addWidget(nameLabel, 1, 0);
    settings->addWidget(m_name, 1, 1);
    settings->addWidget(m_activate, 2, 1);
    layout->addLayout(settings);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* saveButton = Button(QStringLiteral("Salva layout"));
    QPushButton* cancelButton = Button(QStringLiteral("Annulla"));
    connect(saveButton, &QPushButton::clicked, this, &BoardFromWordsDialog::save);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(saveButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
}

BoardFromWordsDialog::~BoardFromWordsDialog() = default;

bool BoardFromWordsDialog::Open(const QString& dataFolder, IMessages& messages, IFilePicker& picker,
                                QWidget* parent) {
    SymbolSearchChooser chooser(dataFolder, messages, picker);
    const QScreen* screen = QGuiApplication::primaryScreen();
    BoardFromWordsDialog dialog(
        dataFolder, SymbolCatalog::ForDataFolder(dataFolder), chooser, messages,
        SymbolPicture::SideFor(screen != nullptr ? screen->size() : QSize(1280, 1024)), parent);
    const bool saved = dialog.exec() == QDialog::Accepted;
    if (parent != nullptr) {
        parent->activateWindow();
    }
    return saved && dialog.activated();
}

bool BoardFromWordsDialog::activated() const {
    return !m_saved.isEmpty() && m_activate->isChecked();
}

void BoardFromWordsDialog::propose() {
    int dropped = 0;
    const QStringList words = BoardFromWords::SplitWords(m_words->toPlainText(), &dropped);
    if (dropped > 0) {
        m_messages.showMessage(
            QStringLiteral("I tasti sono al massimo 21: le ultime %1 parole sono state lasciate fuori.")
                .arg(dropped),
            MsgIcon::Exclamation, AppInfo::Title);
    }
    m_keys = BoardFromWords::Propose(words, m_catalog);
    m_keyCount->clear();
    for (const int count : BoardFromWords::KeyCountsFor(int(m_keys.size()))) {
        m_keyCount->addItem(QString::number(count), count);
    }
    if (m_name->text().trimmed().isEmpty()) {
        m_name->setText(QStringList(words.mid(0, 3)).join(QLatin1Char(' ')));
    }
    // The rows are made afresh for the new words.
    while (QLayoutItem* item = m_grid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_texts.clear();
    m_pictures.clear();
    for (int k = 0; k < int(m_keys.size()); ++k) {
        auto* number = new QLabel(QString::number(k + 1));
        auto* picture = new QLabel;
        picture->setFixedSize(Thumbnail, Thumbnail);
        picture->setAccessibleName(QStringLiteral("Immagine del tasto %1").arg(k + 1));
        auto* text = new QLineEdit(m_keys[std::size_t(k)].text);
        text->setAccessibleName(QStringLiteral("Testo del tasto %1").arg(k + 1));
        connect(text, &QLineEdit::textEdited, this, [this, k](const QString& edited) {
            m_keys[std::size_t(k)].text = edited;
            showKeys();
        });
        QPushButton* change = Button(QStringLiteral("Cambia simbolo…"),
                                     QStringLiteral("Cambia simbolo del tasto %1").arg(k + 1));
        connect(change, &QPushButton::clicked, this, [this, k] { changeSymbol(k); });
        m_grid->addWidget(number, k, 0);
        m_grid->addWidget(picture, k, 1);
        m_grid->addWidget(text, k, 2);
        m_grid->addWidget(change, k, 3);
        m_texts.push_back(text);
        m_pictures.push_back(picture);
    }
    showKeys();
}

void BoardFromWordsDialog::showKeys() {
    for (int k = 0; k < int(m_keys.size()) && k < int(m_pictures.size()); ++k) {
        const BoardFromWords::Key& key = m_keys[std::size_t(k)];
        const QImage picture = key.symbol ? m_thumbnails->get(key.symbol->file)
                                          : SymbolPicture::WordPicture(key.text, Thumbnail);
        m_pictures[std::size_t(k)]->setPixmap(QPixmap::fromImage(picture));
        m_pictures[std::size_t(k)]->setToolTip(key.symbol ? key.symbol->label : QString());
    }
    const QStringList unmatched = BoardFromWords::Unmatched(m_keys);
    m_unmatched->setText(unmatched.isEmpty()
                             ? QString()
                             : QStringLiteral("Nessun simbolo per: %1. Su questi tasti è scritta la parola.")
                                   .arg(unmatched.join(QStringLiteral(", "))));
}

void BoardFromWordsDialog::changeSymbol(int key) {
    const std::optional<Symbol> symbol = m_chooser.choose(this, m_keys[std::size_t(key)].text);
    activateWindow();
    if (symbol) {
        m_keys[std::size_t(key)].symbol = symbol;
        showKeys();
    }
}

bool BoardFromWordsDialog::placePictures(QStringList& pictures, QString& blank) {
    const QString folder = m_dataFolder + QStringLiteral("/immagini");
    for (const BoardFromWords::Key& key : m_keys) {
        const SymbolPicture::Placed placed = key.symbol
                                                 ? SymbolPicture::Place(*key.symbol, folder, m_pictureSide)
                                                 : SymbolPicture::PlaceWord(key.text, folder, m_pictureSide);
        if (placed.path.isEmpty()) {
            m_messages.showMessage(QStringLiteral("Tasto «%1»: %2").arg(key.text, placed.error),
                                   MsgIcon::Exclamation, AppInfo::Title);
            return false;
        }
        pictures << placed.path;
    }
    if (m_keyCount->currentData().toInt() > int(m_keys.size())) {
        const SymbolPicture::Placed placed = SymbolPicture::PlaceWord(QString(), folder, m_pictureSide);
        if (placed.path.isEmpty()) {
            m_messages.showMessage(placed.error, MsgIcon::Exclamation, AppInfo::Title);
            return false;
        }
        blank = placed.path;
    }
    return true;
}

void BoardFromWordsDialog::save() {
    if (m_keys.empty()) {
        m_messages.showMessage(QStringLiteral("Scrivere almeno una parola e premere «Proponi»."),
                               MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
    const QString path = BoardFromWords::LayoutPathFor(m_dataFolder, m_name->text());
    if (path.isEmpty()) {
        m_messages.showMessage(QStringLiteral("Scrivere il nome del layout."), MsgIcon::Exclamation,
                               AppInfo::Title);
        return;
    }
    if (QFileInfo::exists(path) &&
        !m_messages.askYesNo(
            QStringLiteral("Il layout «%1» esiste già. Sostituirlo?").arg(QDir::toNativeSeparators(path)),
            AppInfo::Title)) {
        return;
    }
    QStringList pictures;
    QString blank;
    if (!placePictures(pictures, blank)) {
        return;
    }
    QStringList texts;
    for (const BoardFromWords::Key& key : m_keys) {
        texts << key.text;
    }
    const LayoutContent content =
        BoardFromWords::Content(pictures, texts, m_keyCount->currentData().toInt(), blank);
    if (!WriteBoardLayout(content, path, m_dataFolder, m_activate->isChecked())) {
        m_messages.showMessage(
            QStringLiteral("Impossibile salvare il layout «%1».").arg(QDir::toNativeSeparators(path)),
            MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
    m_saved = path;
    m_messages.showMessage(path + QStringLiteral(" memorizzato."), MsgIcon::Information, AppInfo::Title);
    accept();
}
