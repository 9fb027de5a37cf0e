#include "editor/KeyEditDialog.h"

#include "config/FileExists.h"
#include "editor/FileFilters.h"
#include "editor/FormControls.h"
#include "editor/LinkChoice.h"
#include "editor/PicturePlacing.h"
#include "editor/PreviewPlayer.h"
#include "editor/RecordingSession.h"
#include "editor/SetupControls.h"
#include "editor/PathRules.h"
#include "platform/AppInfo.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

namespace {
QLineEdit* Box(QWidget* parent, const QString& name, const QString& accessibleName, const QString& text) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setMinimumWidth(360);
    return box;
}

// A caption whose Alt letter goes to `box`.
QLabel* Caption(QWidget* parent, const QString& text, QWidget* box) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(box);
    return label;
}

// A box with its buttons on one line.
QWidget* Line(QWidget* parent, QLineEdit* box, std::initializer_list<QPushButton*> buttons) {
    auto* line = new QWidget(parent);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box, 1);
    for (QPushButton* button : buttons) {
        layout->addWidget(button);
    }
    return line;
}
} // namespace

KeyEditDialog::KeyEditDialog(int key, const BoardEdit::Key& values, const QString& programFolder,
                             IFilePicker& picker, IMessages& messages, const std::optional<SetupTools>& tools,
                             ISymbolChooser& chooser, QWidget* parent)
    : QDialog(parent), m_key(key), m_programFolder(programFolder), m_picker(picker), m_messages(messages) {
    setObjectName(QStringLiteral("KeyEditDialog"));
    setWindowTitle(QStringLiteral("Tasto %1").arg(key));
    setAcceptDrops(true);
    auto* form = new QFormLayout(this);

    m_picture = Box(this, QStringLiteral("txtPicture"), QStringLiteral("Immagine"), values.picture);
    auto* browsePicture = MakeButton(this, QStringLiteral("cmdPicture"), QStringLiteral("Sfoglia..."));
    browsePicture->setAccessibleName(QStringLiteral("Sfoglia: immagine"));
    auto* search = MakeButton(this, QStringLiteral("cmdSearch"), QStringLiteral("Cerca simbolo…"));
    form->addRow(Caption(this, QStringLiteral("&Immagine:"), m_picture),
                 Line(this, m_picture, {browsePicture, search}));
    connect(browsePicture, &QPushButton::clicked, this, [this] {
        const QString path = m_picker.ShowOpenDialog(this, FileFilters::Pictures());
        if (!path.isEmpty()) {
            m_picture->setText(PicturePlacing::ForTable(path, m_programFolder, m_messages));
        }
    });
    connect(search, &QPushButton::clicked, this, [this, &chooser] {
        const QString path =
            PicturePlacing::Search(chooser, this, m_words->text(), m_programFolder, m_messages);
        if (!path.isEmpty()) {
            m_picture->setText(path);
        }
    });

    m_words = Box(this, QStringLiteral("txtWords"), QStringLiteral("Parole"), values.text);
    form->addRow(QStringLiteral("&Parole:"), m_words);

    m_sound = Box(this, QStringLiteral("txtSound"), QStringLiteral("Suono"), values.sound);
    auto* browseSound = MakeButton(this, QStringLiteral("cmdSound"), QStringLiteral("Sfoglia..."));
    browseSound->setAccessibleName(QStringLiteral("Sfoglia: suono"));
    m_record = MakeButton(this, QStringLiteral("cmdRecord"), QStringLiteral("&Registra"));
    m_record->setAccessibleName(QStringLiteral("Registra"));
    auto* play = MakeButton(this, QStringLiteral("cmdPlay"), QStringLiteral("Ascolta"));
    form->addRow(Caption(this, QStringLiteral("&Suono:"), m_sound),
                 Line(this, m_sound, {browseSound, m_record, play}));
    m_level = new QLabel(this);
    m_level->setObjectName(QStringLiteral("lblLevel"));
    form->addRow(QString(), m_level);
    connect(browseSound, &QPushButton::clicked, this, [this] {
        const QString path = m_picker.ShowOpenDialog(this, FileFilters::Sounds());
        if (!path.isEmpty()) {
            m_sound->setText(path);
        }
    });
    m_record->setVisible(tools.has_value());
    play->setVisible(tools.has_value());
    if (tools) {
        m_player = new PreviewPlayer(tools->audio, messages, this);
        m_recording = new RecordingSession(tools->microphone, this);
        connect(play, &QPushButton::clicked, this, [this] { m_player->playSound(m_key, m_sound->text()); });
        connect(m_record, &QPushButton::clicked, this, &KeyEditDialog::record);
        connect(m_recording, &RecordingSession::levelChanged, this, [this](double level) {
            m_level->setText(QStringLiteral("Registrazione: ") + QString(int(level * 20), QChar(u'▮')));
        });
        connect(m_recording, &RecordingSession::limitReached, this, &KeyEditDialog::finishRecording);
    }

    auto* choice = new QComboBox(this);
    choice->setObjectName(QStringLiteral("cmbLink"));
    choice->setAccessibleName(QStringLiteral("Collegamento"));
    choice->addItems(SetupControls::LinkChoices());
    m_linkBox = Box(this, QStringLiteral("txtLink"), QStringLiteral("Layout collegato"), QString());
    auto* browseLink = MakeButton(this, QStringLiteral("cmdLink"), QStringLiteral("Sfoglia..."));
    browseLink->setAccessibleName(QStringLiteral("Sfoglia: layout collegato"));
    const auto pickLayout = [this] {
        const QString path = m_picker.ShowOpenDialog(this, FileFilters::Layouts());
        return PathRules::IsConfigFile(path) ? QString() : path;
    };
    m_link = new LinkChoice(*choice, *m_linkBox, pickLayout, this);
    m_link->show(values.link);
    auto* linkLine = Line(this, m_linkBox, {browseLink});
    static_cast<QHBoxLayout*>(linkLine->layout())->insertWidget(0, choice);
    form->addRow(Caption(this, QStringLiteral("&Apre:"), choice), linkLine);
    connect(browseLink, &QPushButton::clicked, this, [this, pickLayout] {
        const QString path = pickLayout();
        if (!path.isEmpty()) {
            m_linkBox->setText(path);
        }
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Fatto"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdDone"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_words->setFocus();
}

KeyEditDialog::~KeyEditDialog() = default;

BoardEdit::Key KeyEditDialog::values() const {
    return BoardEdit::Key{m_picture->text().trimmed(), m_sound->text().trimmed(), m_words->text(),
                          m_link->value()};
}

void KeyEditDialog::record() {
    if (m_recording->toggle(*m_player, m_messages, [this] { finishRecording(); })) {
        m_record->setText(QStringLiteral("&Ferma"));
    }
}

void KeyEditDialog::finishRecording() {
    if (m_recording == nullptr || !m_recording->isRecording()) {
        return;
    }
    m_record->setText(QStringLiteral("&Registra"));
    m_level->clear();
    const Result<QString> result =
        m_recording->finish(m_programFolder + QStringLiteral("/suoni"), m_words->text(), m_key);
    const QString path = RecordingSession::Report(result, m_messages);
    if (!path.isEmpty()) {
        m_sound->setText(path);
    }
}

// A recording under way is kept when the key is done, thrown away when it is cancelled.
void KeyEditDialog::accept() {
    finishRecording();
    if (m_player != nullptr) {
        m_player->stop();
    }
    QDialog::accept();
}

void KeyEditDialog::reject() {
    if (m_recording != nullptr && m_recording->isRecording()) {
        m_recording->cancel();
        m_record->setText(QStringLiteral("&Registra"));
    }
    if (m_player != nullptr) {
        m_player->stop();
    }
    QDialog::reject();
}

void KeyEditDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

// A dropped picture is the key's picture, a dropped WAV its sound.
void KeyEditDialog::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        const QString file = url.toLocalFile();
        if (file.isEmpty()) {
            continue;
        }
        if (file.endsWith(QStringLiteral(".wav"), Qt::CaseInsensitive)) {
            m_sound->setText(file);
        } else {
            const QString placed = PicturePlacing::ForTable(file, m_programFolder, m_messages);
            if (!placed.isEmpty()) {
                m_picture->setText(placed);
            }
        }
    }
    event->acceptProposedAction();
}
