#include "editor/frmSetup.h"

#include "config/ConfigFile.h"
#include "config/FileExists.h"
#include "config/IniSnapshot.h"
#include "config/LayoutFile.h"
#include "grid/TableShape.h"
#include "editor/BoardFromWordsDialog.h"
#include "editor/FormControls.h"
#include "editor/KeyTools.h"
#include "editor/LayoutWriter.h"
#include "editor/MissingFileMark.h"
#include "editor/PathRules.h"
#include "editor/Twips.h"
#include "obf/ObfSetupActions.h"
#include "platform/AppInfo.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

#include <optional>

namespace {
const QString PictureFilter =
    QStringLiteral("Picture Files (*.*)") + QChar(u'\0') + QStringLiteral("*.gif;*.bmp;*.jpg;*.wmf;*.emf");
const QString SoundFilter =
    QStringLiteral("Risorse Audio Files (*.wav)") + QChar(u'\0') + QStringLiteral("*.wav");
const QString FunctionKeyFilter =
    QStringLiteral("Layout Files (*.*)") + QChar(u'\0') + QStringLiteral("*.ini");
const QString LayoutNameFilter =
    QStringLiteral("Layout Files (*.ini)") + QChar(u'\0') + QStringLiteral("*.ini");
bool AllowedKeyCount(int keyCount) {
    return TableShapeFor(keyCount).has_value();
}

// Values longer than this are cut when a layout is read back, so the boxes
// take no more (the pickers never return a longer path).
constexpr int MaxValueLength = 254;

enum Page { PicturesPage, SoundsPage, TextsPage, FunctionKeysPage, BonusPage };

QString Token(const QString& key) {
    return QLatin1Char('-') + key + QLatin1Char('-');
}

// The hourglass for the time of a save, whatever way the save ends.
class BusyPointer {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

QLineEdit* MakeBox(QWidget* parent, const QString& name, const QString& accessibleName) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setMaxLength(MaxValueLength);
    return box;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption) {
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(name);
    check->setAccessibleName(caption);
    return check;
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
    : QDialog(parent), m_programFolder(programFolder), m_state(state), m_picker(picker), m_messages(messages),
      m_tools(tools) {
    BuildControls();
    BuildKeyTools();
    Load();
}

// ---- Controls -------------------------------------------------------------

void frmSetup::BuildControls() {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Impostazioni"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);
    setFixedSize(Twips::ToPixels(*this, 0, 0, 11895, 8535).size());

    auto* label2 = new QLabel(QStringLiteral("Layout:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    Twips::Place(*label2, 120, 120, 855, 285);
    txtPathLayout = MakeBox(this, QStringLiteral("txtPathLayout"), QStringLiteral("Layout"));
    Twips::Place(*txtPathLayout, 1080, 90, 10695, 315);
    label2->setBuddy(txtPathLayout);
    txtPathLayout->installEventFilter(this);

    auto* picture1 = new QFrame(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setFrameShape(QFrame::Box);
    Twips::Place(*picture1, 120, 480, 3480, 435);
    auto* label1 = new QLabel(QStringLiteral("Numero Tasti:"), picture1);
    label1->setObjectName(QStringLiteral("Label1"));
    Twips::Place(*label1, 60, 75, 1500, 285);
    lblTasti = new QLabel(picture1);
    lblTasti->setObjectName(QStringLiteral("lblTasti"));
    lblTasti->setAccessibleName(QStringLiteral("Numero Tasti"));
    Twips::Place(*lblTasti, 1620, 75, 600, 285);

    auto* frame3 = new QGroupBox(QStringLiteral("Sezioni"), this);
    frame3->setObjectName(QStringLiteral("Frame3"));
    Twips::Place(*frame3, 120, 990, 3480, 780);
    const std::array<QString, 4> pageCaptions{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                              QStringLiteral("Tasti Funzione")};
    const std::array<int, 4> pageLefts{120, 675, 1230, 1785};
    for (int i = 0; i < 4; ++i) {
        cmdSez[i] = MakeButton(frame3, QStringLiteral("cmdSez_%1").arg(i), pageCaptions[i]);
        Twips::Place(*cmdSez[i], pageLefts[i], 300, i < 3 ? 495 : 1575, 375);
        connect(cmdSez[i], &QPushButton::clicked, this, [this, i] { ShowPage(i); });
    }
    cmdSez[0]->setAccessibleName(QStringLiteral("Sezione 1 - Immagini"));
    cmdSez[1]->setAccessibleName(QStringLiteral("Sezione 2 - Sonoro"));
    cmdSez[2]->setAccessibleName(QStringLiteral("Sezione 3 - Testo"));

    chkSez1 = MakeCheck(this, QStringLiteral("chkSez1"), QStringLiteral("Attiva Sezione 1"));
    chkSez2 = MakeCheck(this, QStringLiteral("chkSez2"), QStringLiteral("Attiva Sezione 2"));
    chkSez3 = MakeCheck(this, QStringLiteral("chkSez3"), QStringLiteral("Attiva Sezione 3"));
    chkInput = MakeCheck(this, QStringLiteral("chkInput"), QStringLiteral("Input obbligato"));
    Twips::Place(*chkSez1, 120, 1860, 3480, 285);
    Twips::Place(*chkSez2, 120, 2160, 3480, 285);
    Twips::Place(*chkSez3, 120, 2460, 3480, 285);
    Twips::Place(*chkInput, 120, 2760, 3480, 285);
    connect(chkInput, &QCheckBox::toggled, this, &frmSetup::InputToggled);

    BuildSequenceFrame();

    cmdSave = MakeButton(this, QStringLiteral("cmdSave"), QStringLiteral("Salva layout"));
    Twips::Place(*cmdSave, 120, 7920, 1695, 495);
    connect(cmdSave, &QPushButton::clicked, this, &frmSetup::SaveClicked);
    cmdAnnulla = MakeButton(this, QStringLiteral("cmdAnnulla"), QStringLiteral("Annulla"));
    Twips::Place(*cmdAnnulla, 1905, 7920, 1695, 495);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    cmdImporta = MakeButton(this, QStringLiteral("cmdImporta"), QStringLiteral("Importa..."));
    Twips::Place(*cmdImporta, 120, 7410, 1695, 435);
    connect(cmdImporta, &QPushButton::clicked, this, &frmSetup::ImportClicked);
    cmdEsporta = MakeButton(this, QStringLiteral("cmdEsporta"), QStringLiteral("Esporta..."));
    Twips::Place(*cmdEsporta, 1905, 7410, 1695, 435);
    connect(cmdEsporta, &QPushButton::clicked, this, &frmSetup::ExportClicked);
    // A layout made from a list of words; once it is the active one, the table shows it next.
    auto* cmdParole = MakeButton(this, QStringLiteral("cmdParole"), QStringLiteral("Tabella da parole..."));
    Twips::Place(*cmdParole, 1905, 1845, 1695, 435);
    connect(cmdParole, &QPushButton::clicked, this, [this] {
        if (BoardFromWordsDialog::Open(m_programFolder, m_messages, m_picker, this)) {
            reject();
        }
    });

    // The pages lie on top of each other; only the pictures page shows at first.
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));
    Twips::Place(*m_pages, 3720, 480, 8055, 7935);
    m_pages->addWidget(
        BuildKeyPage(1, QStringLiteral("Sezione 1 - Immagini"), txtSez1, QStringLiteral("Immagine")));
    m_pages->addWidget(
        BuildKeyPage(2, QStringLiteral("Sezione 2 - Sonoro"), txtSez2, QStringLiteral("Sonoro")));
    m_pages->addWidget(
        BuildKeyPage(3, QStringLiteral("Sezione 3 - Testo"), txtSez3, QStringLiteral("Testo")));
    m_pages->addWidget(BuildFunctionKeyPage());
    m_pages->addWidget(BuildBonusPage());
    m_pages->setCurrentIndex(PicturesPage);
}

QWidget* frmSetup::BuildKeyPage(int section, const QString& caption, std::array<QLineEdit*, MaxKeys>& boxes,
                                const QString& accessiblePrefix) {
    auto* frame = new QGroupBox(caption);
    frame->setObjectName(QStringLiteral("frmSez%1").arg(section));
    for (int i = 0; i < MaxKeys; ++i) {
        boxes[i] = MakeBox(frame, QStringLiteral("txtSez%1_%2").arg(section).arg(i),
                           QStringLiteral("%1 tasto %2").arg(accessiblePrefix).arg(i + 1));
        Twips::Place(*boxes[i], 120, 270 + i * 360, 7815, 315);
        // The texts page has no pickers; the other two open one on a double click.
        if (section != 3) {
            boxes[i]->installEventFilter(this);
        }
    }
    return frame;
}

QWidget* frmSetup::BuildFunctionKeyPage() {
    auto* frame = new QGroupBox(QStringLiteral("Tasti Funzione"));
    frame->setObjectName(QStringLiteral("frmSez4"));
    for (int i = 0; i < FunctionKeys; ++i) {
        const QString key = QStringLiteral("F%1").arg(i + 1);
        auto* label = new QLabel(key, frame);
        label->setObjectName(QStringLiteral("lblTF_%1").arg(i));
        Twips::Place(*label, 120, 330 + i * 480, 495, 255);
        txtTF[i] =
            MakeBox(frame, QStringLiteral("txtTF_%1").arg(i), QStringLiteral("Layout del tasto %1").arg(key));
        Twips::Place(*txtTF[i], 720, 300 + i * 480, 7215, 315);
        label->setBuddy(txtTF[i]);
        txtTF[i]->installEventFilter(this);
    }
    return frame;
}

QWidget* frmSetup::BuildBonusPage() {
    auto* frame = new QGroupBox(QStringLiteral("Bonus"));
    frame->setObjectName(QStringLiteral("frmSez5"));
    txtBonus = MakeBox(frame, QStringLiteral("txtBonus"), QStringLiteral("Bonus"));
    Twips::Place(*txtBonus, 120, 300, 7815, 315);
    txtBonus->installEventFilter(this);
    return frame;
}

void frmSetup::BuildSequenceFrame() {
    Frame1 = new QGroupBox(QStringLiteral("Configura input obbligato"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Twips::Place(*Frame1, 120, 3120, 3480, 4230);
    Frame1->setEnabled(false);
    // Keys 1-20 in four rows of five, key 21 alone on the fifth row beside "Bonus".
    for (int k = 1; k <= MaxKeys; ++k) {
        const int row = (k - 1) / 5;
        const int column = (k - 1) % 5;
        chkNum[k - 1] = MakeButton(Frame1, QStringLiteral("chkNum_%1").arg(k), QString::number(k));
        chkNum[k - 1]->setAccessibleName(QStringLiteral("Tasto %1 della sequenza").arg(k));
        chkNum[k - 1]->setCheckable(true);
        chkNum[k - 1]->setEnabled(false);
        Twips::Place(*chkNum[k - 1], 120 + column * 600, 300 + row * 555, 500, 495);
        connect(chkNum[k - 1], &QPushButton::toggled, this,
                [this, k](bool pressed) { NumberToggled(k, pressed); });
    }
    cmdBonus = MakeButton(Frame1, QStringLiteral("cmdBonus"), QStringLiteral("Bonus"));
    Twips::Place(*cmdBonus, 720, 300 + 4 * 555, 1695, 495);
    cmdBonus->setEnabled(false);
    connect(cmdBonus, &QPushButton::clicked, this, [this] { ShowPage(BonusPage); });
    // Eight labels to a row below the toggles: 1-8, 9-16, 17-21.
    for (int k = 1; k <= MaxKeys; ++k) {
        const int row = (k - 1) / 8;
        const int column = (k - 1) % 8;
        auto* label = new QLabel(Frame1);
        label->setObjectName(QStringLiteral("lblInput_%1").arg(k));
        label->setAccessibleName(QStringLiteral("Passo %1 della sequenza").arg(k));
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::white);
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
        Twips::Place(*label, 120 + column * 360, 3135 + row * 360, 255, 255);
        lblInput[k - 1] = label;
    }
}

// Key numbers, thumbnails, marks on missing files, dropped files, and with
// the tools the buttons that play, speak and record.
void frmSetup::BuildKeyTools() {
    m_keyTools = new KeyTools(*this, m_programFolder, txtSez1, txtSez2, txtSez3, m_messages, m_tools);
    connect(m_keyTools, &KeyTools::picturesDropped, this, &frmSetup::CountKeys);
    // The other paths get their marks at the rows' right end too.
    Twips::Place(*txtBonus, 120, 300, 7470, 315);
    new MissingFileMark(*txtBonus, 7650, 300, 285, 315);
    for (int i = 0; i < FunctionKeys; ++i) {
        Twips::Place(*txtTF[i], 720, 300 + i * 480, 6870, 315);
        new MissingFileMark(*txtTF[i], 7650, 300 + i * 480, 285, 315);
    }
    m_keyCountWarning = new QLabel(this);
    m_keyCountWarning->setObjectName(QStringLiteral("KeyCountWarning"));
    m_keyCountWarning->setWordWrap(true);
    m_keyCountWarning->setStyleSheet(QStringLiteral("color: #d00000;"));
    Twips::Place(*m_keyCountWarning, 120, 7380, 3480, 525);
}

void frmSetup::waitForThumbnails() {
    m_keyTools->waitForThumbnails();
}

void frmSetup::reject() {
    if (m_keyTools->cancelRecording()) {
        return;
    }
    m_keyTools->stopPreview();
    QDialog::reject();
}

bool frmSetup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == txtPathLayout) {
            PickLayoutName();
            return true;
        }
        if (watched == txtBonus) {
            PickSound(txtBonus);
            return true;
        }
        for (int i = 0; i < MaxKeys; ++i) {
            if (watched == txtSez1[i]) {
                PickPicture(i);
                return true;
            }
            if (watched == txtSez2[i]) {
                PickSound(txtSez2[i]);
                return true;
            }
        }
        for (int i = 0; i < FunctionKeys; ++i) {
            if (watched == txtTF[i]) {
                PickFunctionKey(i);
                return true;
            }
        }
    } else if (event->type() == QEvent::FocusOut) {
        if (std::find(txtSez1.begin(), txtSez1.end(), watched) != txtSez1.end()) {
            CountKeys();
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Loading --------------------------------------------------------------

void frmSetup::Load() {
    m_state.LayoutPath = ConfigFile::ActiveLayout(m_programFolder);
    if (!FileExists(m_state.LayoutPath) || !ReadLayoutFile()) {
        NewLayout();
    }
    for (int i = 0; i < MaxKeys; ++i) {
        txtSez1[i]->clear();
        txtSez2[i]->clear();
        txtSez3[i]->clear();
    }
    for (QLineEdit* box : txtTF) {
        box->clear();
    }
    ShowLayout();
    for (int i = 0; i < MaxKeys; ++i) {
        m_countedPictures[i] = txtSez1[i]->text();
    }
}

// Reads the layout named by LayoutPath into the working copy; false, after
// telling the user why, when it is not a layout the window can edit.
bool frmSetup::ReadLayoutFile() {
    txtPathLayout->setText(m_state.LayoutPath);
    const LayoutFile::Editable read = LayoutFile::ReadForEditing(IniSnapshot::FromFile(m_state.LayoutPath));
    if (read.fault == LayoutFile::Fault::Kind::KeyCount) {
        m_messages.showMessage(
            QStringLiteral("Il numero dei tasti specificato non è valido. Il numero massimo di "
                           "tasti consentito è 21."),
            MsgIcon::Exclamation, AppInfo::Title);
        return false;
    }
    if (read.fault != LayoutFile::Fault::Kind::None) {
        m_messages.showMessage(QStringLiteral("Non è un layout valido."), MsgIcon::Exclamation,
                               AppInfo::Title);
        return false;
    }
    const LayoutContent& c = read.content;
    m_state.EditKeyCount = c.KeyCount;
    m_state.Section1On = c.Section1On;
    m_state.Section2On = c.Section2On;
    m_state.Section3On = c.Section3On;
    m_state.EditForcedInput = c.ForcedInput;
    m_state.BonusFile = c.Bonus;
    m_sequenceList = c.Sequence;
    m_pictureList = c.Pictures;
    m_soundList = c.Sounds;
    m_textList = c.Texts;
    m_functionKeyList = c.FunctionKeyLayouts;
    m_linkList = c.Links;
    m_voice = c.Voice;
    return true;
}

// Prepares a new layout under the first free name layout1.ini, layout2.ini, ...
// in the program folder. The bonus file stays as it was.
void frmSetup::NewLayout() {
    QString path;
    for (int n = 1;; ++n) {
        path = m_programFolder + QStringLiteral("/layout%1.ini").arg(n);
        if (!FileExists(path)) {
            break;
        }
    }
    m_state.LayoutPath = path;
    txtPathLayout->setText(path);
    m_state.EditKeyCount = 1;
    m_state.Section1On = 1;
    m_state.Section2On = 0;
    m_state.Section3On = 0;
    m_state.EditForcedInput = 0;
}

void frmSetup::ShowLayout() {
    SetKeyCountText(QString::number(m_state.EditKeyCount));
    chkSez1->setChecked(m_state.Section1On == 1);
    chkSez2->setChecked(m_state.Section2On == 1);
    chkSez3->setChecked(m_state.Section3On == 1);
    chkInput->setChecked(m_state.EditForcedInput == 1);
    m_state.SequenceText.clear();
    for (int k = 0; k < MaxKeys; ++k) {
        lblInput[k]->clear();
        if (m_state.EditForcedInput == 1) {
            m_state.SequenceText += Token(m_sequenceList[k]);
        } else if (m_state.EditForcedInput == 0) {
            m_state.SequenceReset = true;
        }
    }
    RefreshSequenceLabels();
    Frame1->setEnabled(chkInput->isChecked());
    for (int n = 0; n < m_state.EditKeyCount; ++n) {
        txtSez1[n]->setText(m_pictureList[n]);
        txtSez2[n]->setText(m_soundList[n]);
        txtSez3[n]->setText(m_textList[n]);
    }
    for (int n = 0; n < FunctionKeys; ++n) {
        txtTF[n]->setText(m_functionKeyList[n]);
    }
    txtBonus->setText(m_state.BonusFile);
}

// ---- Editing --------------------------------------------------------------

void frmSetup::CountKeys() {
    // The question's own box takes the focus from a picture box, which counts again.
    if (m_askingCount) {
        return;
    }
    const auto filled = std::count_if(txtSez1.begin(), txtSez1.end(),
                                      [](const QLineEdit* box) { return !box->text().isEmpty(); });
    const QString count = QString::number(filled);
    if (!KeepSequence(count)) {
        // Undone: the boxes that were filled or emptied get their paths back.
        for (int i = 0; i < MaxKeys; ++i) {
            if (txtSez1[i]->text().isEmpty() != m_countedPictures[i].isEmpty()) {
                txtSez1[i]->setText(m_countedPictures[i]);
            }
        }
        return;
    }
    SetKeyCountText(count);
    for (int i = 0; i < MaxKeys; ++i) {
        m_countedPictures[i] = txtSez1[i]->text();
    }
}

// A new key count drops the forced-input sequence: with the tools the user
// is asked first, and No keeps the count and the sequence.
bool frmSetup::KeepSequence(const QString& newCount) {
    if (!m_tools || lblTasti->text() == newCount || !chkInput->isChecked() || lblInput[0]->text().isEmpty()) {
        return true;
    }
    m_askingCount = true;
    const bool yes = m_messages.askYesNo(
        QStringLiteral("Con %1 tasti la sequenza dell'input obbligato viene cancellata.\r\nContinuare?")
            .arg(std::clamp(newCount.toInt(), 1, int(MaxKeys))),
        AppInfo::Title);
    m_askingCount = false;
    return yes;
}

// Shown at once, not only on saving: counts the table cannot lay out.
void frmSetup::ShowKeyCountWarning() {
    const int count = lblTasti->text().toInt();
    const bool allowed = AllowedKeyCount(count);
    m_keyCountWarning->setText(
        allowed ? QString()
                : QStringLiteral("%1 tasti non sono ammessi. Numeri di tasti ammessi: ").arg(count) +
                      AllowedKeyCountsText());
    lblTasti->setStyleSheet(allowed ? QString() : QStringLiteral("color: #d00000; font-weight: bold;"));
}

// The key count shows in a label; every change of its text runs the rules below.
void frmSetup::SetKeyCountText(const QString& text) {
    if (lblTasti->text() == text) {
        return;
    }
    lblTasti->setText(text);
    KeyCountChanged();
}

void frmSetup::KeyCountChanged() {
    const QString shown = lblTasti->text();
    if (shown.isEmpty()) {
        return;
    }
    const int value = shown.toInt();
    if (value <= 0) {
        SetKeyCountText(QStringLiteral("1"));
    } else if (value >= MaxKeys) {
        SetKeyCountText(QString::number(MaxKeys));
    }
    // A new count makes the old sequence meaningless.
    if (chkInput->isChecked()) {
        chkInput->setChecked(false);
    }
    m_state.EditKeyCount = static_cast<qint16>(lblTasti->text().toInt());
    ShowKeyCountWarning();
}

void frmSetup::InputToggled(bool checked) {
    Frame1->setEnabled(checked);
    cmdBonus->setEnabled(checked);
    if (checked) {
        for (int k = 0; k < m_state.EditKeyCount; ++k) {
            chkNum[k]->setChecked(!m_state.SequenceReset);
            chkNum[k]->setEnabled(true);
        }
        m_state.SequenceReset = false;
        return;
    }
    for (int k = 0; k < MaxKeys; ++k) {
        chkNum[k]->setChecked(false);
        chkNum[k]->setEnabled(false);
        lblInput[k]->clear();
    }
    m_state.SequenceText.clear();
    m_state.SequenceReset = true;
    ShowPage(PicturesPage);
}

// The order in which the toggles are pressed is the sequence.
void frmSetup::NumberToggled(int key, bool pressed) {
    if (m_state.SequenceReset) {
        return;
    }
    if (pressed) {
        m_state.SequenceText += Token(QString::number(key));
    } else {
        m_state.SequenceText.remove(Token(chkNum[key - 1]->text()));
    }
    RefreshSequenceLabels();
}

void frmSetup::RefreshSequenceLabels() {
    for (QLabel* label : lblInput) {
        label->clear();
    }
    std::size_t next = 0;
    QString collected;
    for (const QChar c : std::as_const(m_state.SequenceText)) {
        if (c != QLatin1Char('-')) {
            collected += c;
            continue;
        }
        // A loaded sequence may hold more entries than there are labels.
        if (!collected.isEmpty() && next < lblInput.size()) {
            lblInput[next++]->setText(collected);
        }
        collected.clear();
    }
}

void frmSetup::ShowPage(int page) {
    m_pages->setCurrentIndex(page);
}

void frmSetup::PickPicture(int index) {
    const QString path = m_picker.ShowOpenDialog(this, PictureFilter);
    if (!path.isEmpty()) {
        txtSez1[index]->setText(path);
    }
    CountKeys();
}

void frmSetup::PickSound(QLineEdit* box) {
    const QString path = m_picker.ShowOpenDialog(this, SoundFilter);
    if (!path.isEmpty()) {
        box->setText(path);
    }
}

void frmSetup::PickFunctionKey(int index) {
    const QString path = m_picker.ShowOpenDialog(this, FunctionKeyFilter);
    if (!path.isEmpty() && !PathRules::IsConfigFile(path)) {
        txtTF[index]->setText(path);
    }
}

void frmSetup::PickLayoutName() {
    const QString path = m_picker.ShowSaveDialog(this, LayoutNameFilter);
    if (!path.isEmpty()) {
        txtPathLayout->setText(PathRules::WithIniExtension(path));
    }
}

// ---- Saving ---------------------------------------------------------------

void frmSetup::SaveClicked() {
    m_keyTools->stopPreview();
    m_keyTools->finishRecording();
    if (!AllowedKeyCount(lblTasti->text().toInt())) {
        m_messages.showMessage(
            QStringLiteral("Il numero dei tasti del layout deve essere compreso fra i seguenti: ") +
                AllowedKeyCountsText(),
            MsgIcon::Information, AppInfo::Title);
        return;
    }
    WriteLayout();
}

bool frmSetup::CheckLayoutName(const QString& path) {
    QString problem;
    if (path.isEmpty()) {
        problem = QStringLiteral("Indicare il nome del file in cui memorizzare il layout.");
    } else if (PathRules::IsConfigFile(path)) {
        problem =
            QStringLiteral("Il file «%1» è il file di configurazione del programma: il layout non può essere "
                           "memorizzato con questo nome. Sceglierne un altro.")
                .arg(path);
    }
    if (problem.isEmpty()) {
        return true;
    }
    m_messages.showMessage(problem, MsgIcon::Exclamation, AppInfo::Title);
    return false;
}

// A misspelt path would show only at Enter, without naming key or file.
bool frmSetup::ConfirmMissingFiles() {
    if (!m_tools) {
        return true;
    }
    const std::optional<KeyTools::MissingFile> missing =
        m_keyTools->firstMissing(lblTasti->text().toInt(), chkSez2->isChecked());
    return !missing ||
           m_messages.askYesNo(QStringLiteral("Il file %1 del tasto %2 non esiste. Salvare comunque?")
                                   .arg(missing->path, QString::number(missing->key)),
                               AppInfo::Title);
}

void frmSetup::RefreshWorkingCopy() {
    m_state.EditKeyCount = static_cast<qint16>(lblTasti->text().toInt());
    m_state.Section1On = chkSez1->isChecked() ? 1 : 0;
    m_state.Section2On = chkSez2->isChecked() ? 1 : 0;
    m_state.Section3On = chkSez3->isChecked() ? 1 : 0;
    m_state.EditForcedInput = chkInput->isChecked() ? 1 : 0;
    // Slots above the key count keep what was loaded at the opening.
    for (int n = 0; n < m_state.EditKeyCount; ++n) {
        m_sequenceList[n] = lblInput[n]->text();
        m_pictureList[n] = txtSez1[n]->text();
        m_soundList[n] = txtSez2[n]->text();
        m_textList[n] = txtSez3[n]->text();
    }
    for (int n = 0; n < FunctionKeys; ++n) {
        m_functionKeyList[n] = txtTF[n]->text();
    }
}

void frmSetup::WriteLayout() {
    for (int n = 0; n < m_state.EditKeyCount; ++n) {
        if (txtSez1[n]->text().isEmpty()) {
            m_messages.showMessage(QStringLiteral("Le immagini deveno essere inserite consecutivamente."),
                                   MsgIcon::Exclamation, AppInfo::Title);
            return;
        }
    }
    // An INI value cannot keep blanks at its ends, so neither can the name
    // cfg.ini records; and cfg.ini records a full path.
    const QString path = PathRules::LayoutFilePath(txtPathLayout->text().trimmed(), m_programFolder);
    if (!CheckLayoutName(path) || !ConfirmMissingFiles()) {
        return;
    }
    RefreshWorkingCopy();
    LayoutContent content;
    content.KeyCount = m_state.EditKeyCount;
    content.Section1On = m_state.Section1On;
    content.Section2On = m_state.Section2On;
    content.Section3On = m_state.Section3On;
    content.ForcedInput = m_state.EditForcedInput;
    content.Sequence = m_sequenceList;
    content.Bonus = txtBonus->text();
    content.Pictures = m_pictureList;
    content.Sounds = m_soundList;
    content.Texts = m_textList;
    content.FunctionKeyLayouts = m_functionKeyList;
    content.Links = m_linkList;
    content.Voice = m_voice;

    const QString config = ConfigFile::Path(m_programFolder);
    LayoutWriter::Result saved;
    {
        const BusyPointer busy;
        saved = LayoutWriter::Save(content, path, m_programFolder);
    }
    switch (saved.status) {
    case LayoutWriter::Status::Saved:
        m_messages.showMessage(path + QStringLiteral(" memorizzato."), MsgIcon::Information, AppInfo::Title);
        accept();
        return;
    case LayoutWriter::Status::LayoutNotWritten:
        m_messages.showMessage(
            QStringLiteral("Impossibile memorizzare il layout nel file «%1».\r\nNessun file è stato "
                           "modificato: controllare che la cartella esista e che la cartella e il file non "
                           "siano protetti da scrittura.")
                .arg(path),
            MsgIcon::Exclamation, AppInfo::Title);
        return;
    case LayoutWriter::Status::ConfigNotWritable:
        m_messages.showMessage(
            QStringLiteral("Impossibile aggiornare il file di configurazione «%1».\r\nIl layout "
                           "non è stato memorizzato.")
                .arg(config),
            MsgIcon::Exclamation, AppInfo::Title);
        return;
    case LayoutWriter::Status::ConfigNotUpdated:
        m_messages.showMessage(
            QStringLiteral("Il layout è stato memorizzato nel file «%1», ma non è stato possibile "
                           "renderlo attivo nel file di configurazione «%2».")
                .arg(path, config),
            MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
}

// An imported layout made active is shown at once, as on a new opening.
void frmSetup::ImportClicked() {
    if (ImportWithPicker(this, m_programFolder, m_picker, m_messages)) {
        m_sequenceList = {};
        m_pictureList = {};
        m_soundList = {};
        m_textList = {};
        m_functionKeyList = {};
        m_linkList = {};
        m_voice.clear();
        Load();
    }
}

void frmSetup::ExportClicked() {
    ExportWithPicker(this, txtPathLayout->text().trimmed(), m_picker, m_messages);
}
