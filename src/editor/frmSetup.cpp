#include "editor/frmSetup.h"

#include "access/AccessOptions.h"
#include "editor/BoardEditor.h"
#include "editor/BoardFromWordsDialog.h"
#include "editor/FileFilters.h"
#include "editor/KeyTools.h"
#include "editor/LayoutSave.h"
#include "editor/LinkChoice.h"
#include "editor/PathRules.h"
#include "grid/TableShape.h"
#include "platform/AppInfo.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"
#include "platform/Log.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace {
const QString SoundFilter = FileFilters::Sounds();
const QString LayoutFilter = FileFilters::Layouts();
QString PictureFilter() {
    return FileFilters::Pictures();
}
} // namespace

frmSetup::frmSetup(const QString& programFolder, SetupState& state, IFilePicker& picker, IMessages& messages,
                   QWidget* parent)
    : frmSetup(programFolder, state, picker, messages, std::nullopt, parent) {}

frmSetup::frmSetup(const QString& programFolder, SetupState& state, IFilePicker& picker, IMessages& messages,
                   const SetupTools& tools, QWidget* parent)
    : frmSetup(programFolder, state, picker, messages, std::optional<SetupTools>(tools), parent) {}

frmSetup::frmSetup(const QString& programFolder, SetupState& state, IFilePicker& picker, IMessages& messages,
                   std::optional<SetupTools> tools, QWidget* parent)
    : QDialog(parent), m_programFolder(programFolder), m_picker(picker), m_messages(messages), m_tools(tools),
      m_state(state), m_editor(programFolder, state), c(*this) {
    BuildKeyTools();
    Connect();
    Load();
    c.chkProportions->setChecked(AccessOptions::Load(m_programFolder).keepProportions);
}

frmSetup::~frmSetup() = default;

// ---- Controls -------------------------------------------------------------

void frmSetup::Connect() {
    for (std::size_t i = 0; i < 4; ++i) {
        connect(c.cmdSez[i], &QPushButton::clicked, this, [this, i] { ShowPage(int(i)); });
    }
    connect(c.cmdBonus, &QPushButton::clicked, this, [this] { ShowPage(SetupControls::BonusPage); });
    connect(c.cmdLinks, &QPushButton::clicked, this, [this] { ShowPage(SetupControls::LinksPage); });
    connect(c.txtPathLayout, &QLineEdit::textChanged, this,
            [this](const QString& t) { m_editor.setLayoutPath(t); });
    connect(c.cmdPathBrowse, &QPushButton::clicked, this, &frmSetup::PickLayoutName);
    connect(c.txtBonus, &QLineEdit::textChanged, this, [this](const QString& t) { m_editor.setBonus(t); });
    for (int i = 0; i < MaxKeys; ++i) {
        const std::array<std::pair<QLineEdit*, Field>, 3> rows{{{c.txtSez1[std::size_t(i)], Field::Picture},
                                                                {c.txtSez2[std::size_t(i)], Field::Sound},
                                                                {c.txtSez3[std::size_t(i)], Field::Text}}};
        for (const auto& [box, field] : rows) {
            connect(box, &QLineEdit::textChanged, this,
                    [this, field, i](const QString& t) { m_editor.setValue(field, i + 1, t); });
            if (field != Field::Text) {
                box->installEventFilter(this);
            }
        }
        QLineEdit* linkBox = c.txtLink[std::size_t(i)];
        m_links[std::size_t(i)] = new LinkChoice(
            *c.cmbLink[std::size_t(i)], *linkBox, [this] { return PickLayout(); }, this);
        connect(m_links[std::size_t(i)], &LinkChoice::changed, this,
                [this, i](const QString& link) { m_editor.setValue(Field::Link, i + 1, link); });
        linkBox->installEventFilter(this);
        connect(c.chkNum[std::size_t(i)], &QPushButton::clicked, this, [this, i] {
            m_editor.toggle(i + 1);
            ShowSequence();
        });
    }
    for (int f = 0; f < FunctionKeys; ++f) {
        connect(c.txtTF[std::size_t(f)], &QLineEdit::textChanged, this,
                [this, f](const QString& t) { m_editor.setFunctionKey(f + 1, t); });
        c.txtTF[std::size_t(f)]->installEventFilter(this);
    }
    c.txtPathLayout->installEventFilter(this);
    c.txtBonus->installEventFilter(this);
    const std::array<QCheckBox*, 3> sections{c.chkSez1, c.chkSez2, c.chkSez3};
    for (int n = 1; n <= 3; ++n) {
        connect(sections[std::size_t(n - 1)], &QCheckBox::toggled, this,
                [this, n](bool on) { m_editor.setSection(n, on); });
    }
    connect(c.chkInput, &QCheckBox::toggled, this, &frmSetup::InputToggled);
    connect(c.cmdSave, &QPushButton::clicked, this, &frmSetup::SaveClicked);
    connect(c.cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(c.cmdImporta, &QPushButton::clicked, this, &frmSetup::ImportClicked);
    connect(c.cmdEsporta, &QPushButton::clicked, this, &frmSetup::ExportClicked);
    connect(c.cmdBoard, &QPushButton::clicked, this, &frmSetup::BoardClicked);
    // A layout made from a list of words; once it is the active one, the table shows it next.
    connect(c.cmdParole, &QPushButton::clicked, this, [this] {
        if (BoardFromWordsDialog::Open(m_programFolder, m_messages, m_picker, this)) {
            QDialog::reject();
        }
    });
}

// Key numbers, thumbnails, marks on missing files, "Sfoglia...", dropped
// files, and with the tools the buttons that play, speak and record.
void frmSetup::BuildKeyTools() {
    m_keyTools = new KeyTools(*this, m_programFolder, c.txtSez1, c.txtSez2, c.txtSez3, m_messages, m_tools);
    connect(m_keyTools, &KeyTools::picturesDropped, this, &frmSetup::CountKeys);
    connect(m_keyTools, &KeyTools::browseClicked, this, [this](bool sound, int row) {
        sound ? PickInto(c.txtSez2[std::size_t(row)], SoundFilter) : PickPicture(row);
    });
    std::array<QPushButton*, FunctionKeys> functionKeyBrowse{};
    QPushButton* bonusBrowse = nullptr;
    std::array<QPushButton*, MaxKeys> linkBrowse{};
    c.AddPathTools(functionKeyBrowse, bonusBrowse, linkBrowse);
    for (int i = 0; i < MaxKeys; ++i) {
        connect(linkBrowse[std::size_t(i)], &QPushButton::clicked, this,
                [this, i] { PickLayoutInto(c.txtLink[std::size_t(i)]); });
    }
    connect(bonusBrowse, &QPushButton::clicked, this, [this] { PickInto(c.txtBonus, SoundFilter); });
    for (int f = 0; f < FunctionKeys; ++f) {
        connect(functionKeyBrowse[std::size_t(f)], &QPushButton::clicked, this,
                [this, f] { PickLayoutInto(c.txtTF[std::size_t(f)]); });
    }
}

void frmSetup::waitForThumbnails() {
    m_keyTools->waitForThumbnails();
}

void frmSetup::reject() {
    if (m_keyTools->cancelRecording()) {
        return;
    }
    m_keyTools->stopPreview();
    if ((m_editor.changed() || ProportionsChanged()) &&
        !m_messages.askYesNo(LayoutSave::UnsavedQuestion(), AppInfo::Title)) {
        return;
    }
    QDialog::reject();
}

bool frmSetup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == c.txtPathLayout) {
            PickLayoutName();
            return true;
        }
        if (watched == c.txtBonus) {
            PickInto(c.txtBonus, SoundFilter);
            return true;
        }
        for (int i = 0; i < MaxKeys; ++i) {
            if (watched == c.txtSez1[std::size_t(i)]) {
                PickPicture(i);
                return true;
            }
            if (watched == c.txtSez2[std::size_t(i)]) {
                PickInto(c.txtSez2[std::size_t(i)], SoundFilter);
                return true;
            }
            if (watched == c.txtLink[std::size_t(i)]) {
                PickLayoutInto(c.txtLink[std::size_t(i)]);
                return true;
            }
        }
        for (int i = 0; i < FunctionKeys; ++i) {
            if (watched == c.txtTF[std::size_t(i)]) {
                PickLayoutInto(c.txtTF[std::size_t(i)]);
                return true;
            }
        }
    } else if (event->type() == QEvent::FocusOut &&
               std::find(c.txtSez1.begin(), c.txtSez1.end(), watched) != c.txtSez1.end()) {
        CountKeys();
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Showing the working copy -----------------------------------------------

void frmSetup::Load() {
    const QString problem = LayoutEditor::OpenedMessage(m_editor.open());
    if (!problem.isEmpty()) {
        m_messages.showMessage(problem, MsgIcon::Exclamation, AppInfo::Title);
    }
    ShowLayout();
}

void frmSetup::ShowLayout() {
    c.txtPathLayout->setText(m_editor.layoutPath());
    for (int k = 1; k <= MaxKeys; ++k) {
        c.txtSez1[std::size_t(k - 1)]->setText(m_editor.value(Field::Picture, k));
        c.txtSez2[std::size_t(k - 1)]->setText(m_editor.value(Field::Sound, k));
        c.txtSez3[std::size_t(k - 1)]->setText(m_editor.value(Field::Text, k));
        m_links[std::size_t(k - 1)]->show(m_editor.value(Field::Link, k));
    }
    for (int f = 1; f <= FunctionKeys; ++f) {
        c.txtTF[std::size_t(f - 1)]->setText(m_editor.functionKey(f));
    }
    c.txtBonus->setText(m_editor.bonus());
    c.chkSez1->setChecked(m_editor.section(1));
    c.chkSez2->setChecked(m_editor.section(2));
    c.chkSez3->setChecked(m_editor.section(3));
    const QSignalBlocker quiet(c.chkInput);
    c.chkInput->setChecked(m_editor.forcedInput());
    ShowKeyCount();
    ShowSequence();
}

// Shown at once, not only on saving: counts the table cannot lay out.
void frmSetup::ShowKeyCount() {
    const int count = m_editor.keyCount();
    c.lblTasti->setText(QString::number(count));
    // A screen reader hears the count with its name.
    c.lblTasti->setAccessibleName(QStringLiteral("Numero Tasti: %1").arg(count));
    const bool allowed = TableShapeFor(count).has_value();
    c.keyCountWarning->setText(
        allowed ? QString()
                : QStringLiteral("%1 tasti non sono ammessi. Numeri di tasti ammessi: ").arg(count) +
                      AllowedKeyCountsText());
    c.lblTasti->setStyleSheet(allowed ? QString() : QStringLiteral("color: #d00000;"));
}

// The toggles show the sequence: pressed exactly when their key is in it.
void frmSetup::ShowSequence() {
    const bool on = m_editor.forcedInput();
    c.Frame1->setEnabled(on);
    c.cmdBonus->setEnabled(on);
    const QStringList& sequence = m_editor.sequence();
    for (int k = 1; k <= MaxKeys; ++k) {
        QPushButton* toggle = c.chkNum[std::size_t(k - 1)];
        toggle->setChecked(on && m_editor.isPressed(k));
        toggle->setEnabled(on && k <= m_editor.keyCount());
        c.lblInput[std::size_t(k - 1)]->setText(sequence.value(k - 1));
    }
}

// ---- Editing --------------------------------------------------------------

void frmSetup::CountKeys() {
    // The question's own box takes the focus from a picture box, which counts again.
    if (m_askingCount) {
        return;
    }
    if (m_tools && m_editor.recountDropsSequence()) {
        m_askingCount = true;
        const bool yes = m_messages.askYesNo(
            QStringLiteral("Con %1 tasti la sequenza dell'input obbligato viene cancellata.\r\nContinuare?")
                .arg(std::clamp(m_editor.filledPictures(), 1, int(MaxKeys))),
            AppInfo::Title);
        m_askingCount = false;
        if (!yes) {
            // Undone: the boxes that were filled or emptied get their paths back.
            const auto& counted = m_editor.countedPictures();
            for (std::size_t i = 0; i < counted.size(); ++i) {
                if (c.txtSez1[i]->text().isEmpty() != counted[i].isEmpty()) {
                    c.txtSez1[i]->setText(counted[i]);
                }
            }
            return;
        }
    }
    const bool wasForced = m_editor.forcedInput();
    m_editor.recount();
    if (wasForced != m_editor.forcedInput()) {
        c.chkInput->setChecked(false);
    }
    ShowKeyCount();
    ShowSequence();
}

void frmSetup::InputToggled(bool checked) {
    m_editor.setForcedInput(checked);
    ShowSequence();
    if (!checked) {
        ShowPage(SetupControls::PicturesPage);
    }
}

bool frmSetup::ProportionsChanged() const {
    return c.chkProportions->isChecked() != AccessOptions::Load(m_programFolder).keepProportions;
}

void frmSetup::ShowPage(int page) {
    c.pages->setCurrentIndex(page);
}

void frmSetup::PickInto(QLineEdit* box, const QString& filter) {
    const QString path = m_picker.ShowOpenDialog(this, filter);
    if (!path.isEmpty()) {
        box->setText(path);
    }
}

void frmSetup::PickPicture(int index) {
    PickInto(c.txtSez1[std::size_t(index)], PictureFilter());
    CountKeys();
}

// Function keys and links name layouts, never the configuration file.
QString frmSetup::PickLayout() {
    const QString path = m_picker.ShowOpenDialog(this, LayoutFilter);
    return PathRules::IsConfigFile(path) ? QString() : path;
}

void frmSetup::PickLayoutInto(QLineEdit* box) {
    const QString path = PickLayout();
    if (!path.isEmpty()) {
        box->setText(path);
    }
}

void frmSetup::PickLayoutName() {
    // The save picker opens in the working folder: layouts belong in the layout folder.
    const QString layouts = m_programFolder + QStringLiteral("/layout");
    if (QDir(layouts).exists()) {
        QDir::setCurrent(layouts);
    }
    const QString path = m_picker.ShowSaveDialog(this, LayoutFilter);
    if (!path.isEmpty()) {
        c.txtPathLayout->setText(PathRules::WithIniExtension(path));
    }
}

QString frmSetup::PickFile(Field field, int key) {
    const QString path = m_picker.ShowOpenDialog(this, field == Field::Sound ? SoundFilter : PictureFilter());
    QLineEdit* box = (field == Field::Sound ? c.txtSez2 : c.txtSez1)[std::size_t(key - 1)];
    if (!path.isEmpty()) {
        box->setText(path);
    }
    return path;
}

// ---- Saving ---------------------------------------------------------------

void frmSetup::SaveClicked() {
    m_keyTools->stopPreview();
    m_keyTools->finishRecording();
    LayoutSave save(m_editor, m_messages, [this](Field field, int key) { return PickFile(field, key); });
    const LayoutSave::Result result = save.run(c.txtPathLayout->text());
    if (result.saved) {
        if (ProportionsChanged()) {
            AccessOptions options = AccessOptions::Load(m_programFolder);
            options.keepProportions = c.chkProportions->isChecked();
            if (const Outcome saved = options.Save(m_programFolder); !saved) {
                Log::Failure(lcFiles, saved);
                m_messages.showMessage(
                    QStringLiteral("Impossibile memorizzare l'opzione sulle proporzioni nel file "
                                   "«%1».")
                        .arg(AccessOptions::FilePath(m_programFolder)),
                    MsgIcon::Exclamation, AppInfo::Title);
            }
        }
        accept();
        return;
    }
    // What the save mended (a switch, a file) shows, and the user is taken to the key it stopped at.
    const QString typed = c.txtPathLayout->text();
    ShowLayout();
    c.txtPathLayout->setText(typed);
    if (result.key > 0 && result.field == Field::Link) {
        ShowPage(SetupControls::LinksPage);
        c.txtLink[std::size_t(result.key - 1)]->setFocus();
    } else if (result.key > 0) {
        const bool sound = result.field == Field::Sound;
        ShowPage(sound ? SetupControls::SoundsPage : SetupControls::PicturesPage);
        (sound ? c.txtSez2 : c.txtSez1)[std::size_t(result.key - 1)]->setFocus();
    }
}

// An imported layout made active is shown at once, as on a new opening.
void frmSetup::ImportClicked() {
    if (m_tools && m_tools->importBoards && m_tools->importBoards(this, m_picker, m_messages)) {
        Load();
    }
}

// The board editor takes the place of this window, on the layout saved last:
// edits made here and not saved are asked about first.
void frmSetup::BoardClicked() {
    if (m_editor.changed() && !m_messages.askYesNo(LayoutSave::UnsavedQuestion(), AppInfo::Title)) {
        return;
    }
    m_keyTools->cancelRecording();
    m_keyTools->stopPreview();
    hide();
    BoardEditor board(m_programFolder, m_state, m_picker, m_messages, m_tools, nullptr, parentWidget());
    board.exec();
    QDialog::reject();
}

void frmSetup::ExportClicked() {
    if (m_tools && m_tools->exportBoards) {
        m_tools->exportBoards(this, c.txtPathLayout->text().trimmed(), m_picker, m_messages);
    }
}
