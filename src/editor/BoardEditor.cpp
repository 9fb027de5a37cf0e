#include "editor/BoardEditor.h"

#include "access/AccessOptions.h"
#include "editor/BoardCanvas.h"
#include "editor/FileFilters.h"
#include "editor/FormControls.h"
#include "editor/KeyEditDialog.h"
#include "editor/LayoutSave.h"
#include "editor/PathRules.h"
#include "editor/PicturePlacing.h"
#include "editor/QtFilePicker.h"
#include "editor/SymbolSearchChooser.h"
#include "grid/TableShape.h"
#include "platform/AppInfo.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QString KeysCaption(int n) {
    return n == 1 ? QStringLiteral("1 tasto") : QStringLiteral("%1 tasti").arg(n);
}
} // namespace

BoardEditor::BoardEditor(const QString& programFolder, SetupState& state, IFilePicker& picker,
                         IMessages& messages, const std::optional<SetupTools>& tools, ISymbolChooser* chooser,
                         QWidget* parent)
    : QDialog(parent), m_programFolder(programFolder), m_picker(picker), m_messages(messages), m_tools(tools),
      m_chooser(chooser), m_editor(programFolder, state), m_edit(m_editor) {
    if (m_chooser == nullptr) {
        m_ownPicker = std::make_unique<QtFilePicker>();
        m_ownChooser = std::make_unique<SymbolSearchChooser>(programFolder, messages, *m_ownPicker);
        m_chooser = m_ownChooser.get();
    }
    const LayoutEditor::Opened opened = m_editor.open();
    build();
    showOpened(opened);
}

BoardEditor::~BoardEditor() = default;

void BoardEditor::build() {
    setObjectName(QStringLiteral("BoardEditor"));
    setWindowTitle(QStringLiteral("Modifica tabella"));
    // As large as the screen leaves room for, the window manager's frame included.
    const QScreen* shown = screen();
    const QSize room =
        shown != nullptr ? shown->availableGeometry().size() - QSize(40, 60) : QSize(1000, 780);
    resize(QSize(1000, 780).boundedTo(room));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    layout->addLayout(bar);

    auto* fresh = MakeButton(this, QStringLiteral("cmdNew"), QStringLiteral("Nuova tabella"));
    auto* counts = new QMenu(fresh);
    for (int n = 1; n <= MaxTableKeys; ++n) {
        if (TableShapeFor(n)) {
            // 1 to 9 are chosen by their digit too.
            QAction* action = counts->addAction((n < 10 ? QStringLiteral("&") : QString()) + KeysCaption(n));
            action->setObjectName(QStringLiteral("actNew_%1").arg(n));
            connect(action, &QAction::triggered, this, [this, n] {
                m_edit.newBoard(n);
                showBoard();
            });
        }
    }
    fresh->setMenu(counts);
    // Ctrl+N opens the list of key counts, as a click does.
    auto* newShortcut = new QAction(this);
    newShortcut->setShortcut(QKeySequence::New);
    connect(newShortcut, &QAction::triggered, fresh, &QPushButton::showMenu);
    addAction(newShortcut);
    auto* pictures = MakeButton(this, QStringLiteral("cmdPictures"), QStringLiteral("Aggiungi &immagini..."));
    pictures->setAccessibleName(QStringLiteral("Aggiungi immagini..."));
    auto* duplicate = MakeButton(this, QStringLiteral("cmdDuplicate"), QStringLiteral("Duplica"));
    auto* open = MakeButton(this, QStringLiteral("cmdOpen"), QStringLiteral("Apri..."));
    auto* copy = MakeButton(this, QStringLiteral("cmdCopy"), QStringLiteral("Copia tasto"));
    m_paste = MakeButton(this, QStringLiteral("cmdPaste"), QStringLiteral("Incolla tasto"));
    m_undo = MakeButton(this, QStringLiteral("cmdUndo"), QStringLiteral("Annulla modifica"));
    m_redo = MakeButton(this, QStringLiteral("cmdRedo"), QStringLiteral("Ripeti"));
    copy->setShortcut(QKeySequence::Copy);
    m_paste->setShortcut(QKeySequence::Paste);
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    auto* keysLabel = new QLabel(QStringLiteral("&Tasti:"), this);
    m_keys = new QComboBox(this);
    m_keys->setObjectName(QStringLiteral("cmbKeys"));
    m_keys->setAccessibleName(QStringLiteral("Numero Tasti"));
    for (int n = 1; n <= MaxTableKeys; ++n) {
        if (TableShapeFor(n)) {
            m_keys->addItem(QString::number(n), n);
        }
    }
    keysLabel->setBuddy(m_keys);
    for (QWidget* w : std::initializer_list<QWidget*>{fresh, pictures, duplicate, open, copy, m_paste, m_undo,
                                                      m_redo, keysLabel, m_keys}) {
        bar->addWidget(w);
    }
    bar->addStretch();

    m_canvas = new BoardCanvas(m_editor, AccessOptions::Load(m_programFolder).keepProportions, this);
    layout->addWidget(m_canvas, 1);

    auto* bottom = new QHBoxLayout;
    layout->addLayout(bottom);
    auto* nameLabel = new QLabel(QStringLiteral("&Layout:"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_name->setAccessibleName(QStringLiteral("Layout"));
    nameLabel->setBuddy(m_name);
    auto* saveButton = MakeButton(this, QStringLiteral("cmdSave"), QStringLiteral("Salva layout"));
    saveButton->setShortcut(QKeySequence::Save);
    auto* close = MakeButton(this, QStringLiteral("cmdClose"), QStringLiteral("Chiudi"));
    bottom->addWidget(nameLabel);
    bottom->addWidget(m_name, 1);
    bottom->addWidget(saveButton);
    bottom->addWidget(close);

    connect(pictures, &QPushButton::clicked, this, &BoardEditor::addPictures);
    connect(duplicate, &QPushButton::clicked, this, [this] {
        m_edit.duplicate();
        showBoard();
    });
    connect(open, &QPushButton::clicked, this, &BoardEditor::openOther);
    connect(copy, &QPushButton::clicked, this, [this] {
        m_copied = m_edit.key(m_canvas->selected());
        showBoard();
    });
    connect(m_paste, &QPushButton::clicked, this, [this] {
        if (m_copied) {
            m_edit.setKey(m_canvas->selected(), *m_copied);
            showBoard();
        }
    });
    connect(m_undo, &QPushButton::clicked, this, [this] {
        m_edit.undo();
        showBoard();
    });
    connect(m_redo, &QPushButton::clicked, this, [this] {
        m_edit.redo();
        showBoard();
    });
    connect(m_keys, &QComboBox::activated, this, [this](int index) {
        m_edit.setKeyCount(m_keys->itemData(index).toInt());
        showBoard();
    });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& t) { m_editor.setLayoutPath(t); });
    connect(saveButton, &QPushButton::clicked, this, &BoardEditor::save);
    connect(close, &QPushButton::clicked, this, &BoardEditor::reject);
    connect(m_canvas, &BoardCanvas::keyActivated, this, &BoardEditor::openKey);
    connect(m_canvas, &BoardCanvas::swapAsked, this, [this](int a, int b) {
        m_edit.swap(a, b);
        showBoard();
    });
    connect(m_canvas, &BoardCanvas::picturesDropped, this, &BoardEditor::dropped);
    m_canvas->setFocus();
}

void BoardEditor::showBoard() {
    m_canvas->refresh();
    const QSignalBlocker quiet(m_keys);
    const int index = m_keys->findData(m_editor.keyCount());
    m_keys->setCurrentIndex(index);
    if (index < 0) {
        m_keys->setEditText(QString::number(m_editor.keyCount()));
    }
    if (m_name->text() != m_editor.layoutPath()) {
        m_name->setText(m_editor.layoutPath());
    }
    m_undo->setEnabled(m_edit.canUndo());
    m_redo->setEnabled(m_edit.canRedo());
    m_paste->setEnabled(m_copied.has_value());
}

void BoardEditor::showOpened(LayoutEditor::Opened opened) {
    showBoard();
    const QString problem = LayoutEditor::OpenedMessage(opened);
    if (!problem.isEmpty()) {
        m_messages.showMessage(problem, MsgIcon::Exclamation, AppInfo::Title);
    }
}

void BoardEditor::openKey(int key) {
    KeyEditDialog dialog(key, m_edit.key(key), m_programFolder, m_picker, m_messages, m_tools, *m_chooser,
                         this);
    if (dialog.exec() == QDialog::Accepted) {
        m_edit.setKey(key, dialog.values());
        // Done with a key: the next one is ready for Enter, as the next line of a form.
        m_canvas->select(std::min(key + 1, m_editor.keyCount()));
        showBoard();
    }
    m_canvas->setFocus();
}

// Picture files dropped on a key fill it and the keys after it.
void BoardEditor::dropped(int key, const QStringList& files) {
    QStringList placed;
    for (const QString& file : files) {
        const QString path = PicturePlacing::ForTable(file, m_programFolder, m_messages);
        if (!path.isEmpty()) {
            placed << path;
        }
    }
    m_edit.setPictures(key, placed);
    showBoard();
}

// Several pictures chosen at once fill the empty keys in the order of their
// names, each key's words taken from its file name; one undo takes them back.
void BoardEditor::addPictures() {
    const QStringList files =
        BoardEdit::InNameOrder(m_picker.ShowOpenFilesDialog(this, FileFilters::Pictures()));
    // Only the pictures that find a key are written into the data folder.
    const qsizetype room = m_edit.emptyKeys();
    const qsizetype left = std::max<qsizetype>(0, files.size() - room);
    QList<BoardEdit::Key> chosen;
    for (const QString& file : files.mid(0, room)) {
        const QString path = PicturePlacing::ForTable(file, m_programFolder, m_messages);
        if (!path.isEmpty()) {
            chosen << BoardEdit::Key{path, {}, BoardEdit::WordsOf(file), {}};
        }
    }
    m_edit.fillEmptyKeys(chosen);
    showBoard();
    if (left > 0) {
        const QString what = left == 1 ? QStringLiteral("1 immagine non è stata inserita")
                                       : QStringLiteral("%1 immagini non sono state inserite").arg(left);
        m_messages.showMessage(
            what + QStringLiteral(
                       ": non ci sono altri tasti vuoti.\r\nAumentare il numero dei tasti e riprovare."),
            MsgIcon::Exclamation, AppInfo::Title);
    }
}

void BoardEditor::openOther() {
    const QString path = m_picker.ShowOpenDialog(this, FileFilters::Layouts());
    if (path.isEmpty() || PathRules::IsConfigFile(path)) {
        return;
    }
    if (m_editor.changed() &&
        !m_messages.askYesNo(
            QStringLiteral("Le modifiche al layout non sono state salvate.\r\nAprire un altro "
                           "layout senza salvarle?"),
            AppInfo::Title)) {
        return;
    }
    m_edit.forgetHistory();
    showOpened(m_editor.openFile(path));
}

bool BoardEditor::save() {
    LayoutSave saving(m_editor, m_messages, [this](LayoutEditor::Field field, int key) {
        const QString path = m_picker.ShowOpenDialog(
            this, field == LayoutEditor::Field::Sound ? FileFilters::Sounds() : FileFilters::Pictures());
        if (!path.isEmpty()) {
            m_editor.setValue(field, key, path);
        }
        return path;
    });
    const LayoutSave::Result result = saving.run(m_name->text());
    if (result.saved) {
        m_editor.saved();
    }
    showBoard();
    if (result.key > 0) {
        m_canvas->select(result.key);
    }
    return result.saved;
}

void BoardEditor::reject() {
    if (m_editor.changed() && !m_messages.askYesNo(LayoutSave::UnsavedQuestion(), AppInfo::Title)) {
        return;
    }
    QDialog::reject();
}
