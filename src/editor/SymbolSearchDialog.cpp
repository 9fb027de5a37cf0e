#include "editor/SymbolSearchDialog.h"

#include "editor/IFolderPicker.h"
#include "editor/PictureFoldersDialog.h"
#include "editor/SymbolResultModel.h"
#include "editor/SymbolThumbnails.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"
#include "symbols/PictureFolderIndex.h"
#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolLibrary.h"

#include <QBoxLayout>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>

namespace {
const QString PictureFilter = QStringLiteral("Picture Files (*.*)") + QChar(u'\0') +
                              QStringLiteral("*.gif;*.bmp;*.jpg;*.jpeg;*.png;*.svg;*.wmf;*.emf");
// While the window is open, the folders are walked again this often, so new pictures show.
constexpr int RefreshMs = 15000;

QPushButton* AddButton(QBoxLayout* row, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setAccessibleName(caption);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}
} // namespace

SymbolSearchDialog::SymbolSearchDialog(SymbolCatalog& catalog, IMessages& messages, IFilePicker& picker,
                                       IFolderPicker& folderPicker, const QString& query, QWidget* parent)
    : QDialog(parent), m_catalog(catalog), m_messages(messages), m_picker(picker),
      m_folderPicker(folderPicker) {
    setObjectName(QStringLiteral("SymbolSearch"));
    setWindowTitle(QStringLiteral("Cerca simbolo"));
    resize(760, 560);
    m_thumbnails = new SymbolThumbnails(ThumbnailSide, this);
    m_model = new SymbolResultModel(*m_thumbnails, this);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Cerca:"));
    m_query = new QLineEdit(query);
    m_query->setObjectName(QStringLiteral("SymbolQuery"));
    m_query->setAccessibleName(QStringLiteral("Parole da cercare"));
    m_query->setPlaceholderText(QStringLiteral("Scrivere una parola, per esempio «mela»"));
    label->setBuddy(m_query);
    top->addWidget(label);
    top->addWidget(m_query, 1);
    layout->addLayout(top);

    m_grid = new QListView;
    m_grid->setObjectName(QStringLiteral("SymbolGrid"));
    m_grid->setAccessibleName(QStringLiteral("Simboli trovati"));
    m_grid->setViewMode(QListView::IconMode);
    m_grid->setResizeMode(QListView::Adjust);
    m_grid->setMovement(QListView::Static);
    m_grid->setUniformItemSizes(true);
    m_grid->setWordWrap(true);
    m_grid->setIconSize(QSize(ThumbnailSide, ThumbnailSide));
    m_grid->setGridSize(QSize(ThumbnailSide + 36, ThumbnailSide + 44));
    m_grid->setModel(m_model);
    layout->addWidget(m_grid, 1);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("SymbolStatus"));
    layout->addWidget(m_status);

    auto* buttons = new QHBoxLayout;
    connect(AddButton(buttons, QStringLiteral("Scegli un file…")), &QPushButton::clicked, this,
            &SymbolSearchDialog::chooseFile);
    connect(AddButton(buttons, QStringLiteral("Cartelle di immagini…")), &QPushButton::clicked, this,
            &SymbolSearchDialog::editFolders);
    connect(AddButton(buttons, QStringLiteral("Informazioni sui simboli")), &QPushButton::clicked, this,
            [this] {
                m_messages.showMessage(SymbolLibrary::Notice(), MsgIcon::Information,
                                       QStringLiteral("Informazioni sui simboli"));
            });
    buttons->addStretch(1);
    connect(AddButton(buttons, QStringLiteral("Scegli")), &QPushButton::clicked, this,
            &SymbolSearchDialog::chooseCurrent);
    connect(AddButton(buttons, QStringLiteral("Annulla")), &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons);

    connect(m_query, &QLineEdit::textChanged, this, &SymbolSearchDialog::search);
    connect(m_grid, &QListView::activated, this, &SymbolSearchDialog::chooseCurrent);
    connect(&m_catalog, &SymbolCatalog::changed, this, &SymbolSearchDialog::search);
    m_query->installEventFilter(this);
    m_grid->installEventFilter(this);

    m_refresh = new QTimer(this);
    m_refresh->setInterval(RefreshMs);
    connect(m_refresh, &QTimer::timeout, this, [this] { m_catalog.folders().refresh(); });
    m_refresh->start();
    m_catalog.folders().refresh();
    search();
}

SymbolSearchDialog::~SymbolSearchDialog() = default;

void SymbolSearchDialog::waitForThumbnails() {
    m_thumbnails->waitForDone();
}

void SymbolSearchDialog::search() {
    const QString query = m_query->text();
    m_thumbnails->dropPending();
    m_model->setResults(m_catalog.search(query, MaxResults));
    const int found = m_model->rowCount();
    if (found > 0) {
        m_grid->setCurrentIndex(m_model->index(0));
    }
    if (query.trimmed().isEmpty()) {
        m_status->setText(
            QStringLiteral("Scrivere una parola per cercare fra %1 simboli.").arg(m_catalog.librarySize()));
    } else if (found == 0) {
        m_status->setText(QStringLiteral("Nessun simbolo trovato per «%1».").arg(query.trimmed()));
    } else {
        m_status->setText(found == 1 ? QStringLiteral("1 simbolo trovato.")
                                     : QStringLiteral("%1 simboli trovati.").arg(found));
    }
    m_grid->setAccessibleDescription(m_status->text());
}

void SymbolSearchDialog::chooseCurrent() {
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid()) {
        return;
    }
    m_chosen = m_model->symbolAt(current.row());
    accept();
}

void SymbolSearchDialog::chooseFile() {
    const QString path = m_picker.ShowOpenDialog(this, PictureFilter);
    if (path.isEmpty()) {
        return;
    }
    Symbol symbol;
    symbol.origin = Symbol::Origin::Folder;
    symbol.label = QFileInfo(path).completeBaseName();
    symbol.file = QFileInfo(path).absoluteFilePath();
    symbol.key = symbol.file;
    m_chosen = symbol;
    accept();
}

void SymbolSearchDialog::editFolders() {
    PictureFoldersDialog dialog(m_catalog.folders(), m_messages, m_folderPicker, this);
    dialog.exec();
    activateWindow();
    m_query->setFocus();
}

bool SymbolSearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_query) {
        switch (key->key()) {
        case Qt::Key_Down:
        case Qt::Key_PageDown:
            m_grid->setFocus();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            chooseCurrent();
            return true;
        default:
            return false;
        }
    }
    if (watched == m_grid) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            chooseCurrent();
            return true;
        }
        // Typing in the grid goes on with the words, as a user expects.
        if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
            m_query->setFocus();
            m_query->insert(key->text());
            return true;
        }
        if (key->key() == Qt::Key_Backspace) {
            m_query->setFocus();
            m_query->backspace();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
