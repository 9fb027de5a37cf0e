#include "runtime/F_GO.h"

#include "access/AccessDriver.h"
#include "audio/cSound.h"
#include "audio/VoiceSettings.h"
#include "audio/cVoce.h"
#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "config/ConfigFile.h"
#include "config/LayoutFile.h"
#include "config/FileExists.h"
#include "config/LayoutReader.h"
#include "grid/GdiRound.h"
#include "grid/TableShape.h"
#include "grid/cGriglia.h"
#include "platform/AppInfo.h"
#include "runtime/DrawIntro.h"
#include "runtime/EdgeController.h"
#include "runtime/ConfigurationCheck.h"
#include "runtime/IRuntimeWindows.h"
#include "runtime/LargeImage.h"
#include "runtime/PictureFile.h"
#include "runtime/StretchAnd.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace {
// The window's back colour until a table sets it to white: the system's face colour.
constexpr GdiColor DefaultBackColor = 0xF0F0F0;
constexpr GdiColor FrameColor = 0xFF0000; // blue
constexpr int FramePenWidth = 5;
// Pixels between neighbouring keys, side by side and one above the other.
constexpr int KeySpacing = 10;
// The canvas counts 96 dots per inch, so font sizes in points come out as on the usual screen.
constexpr int CanvasDotsPerMeter = 3780;
// Pause after the window picture went to the clipboard, before the print preview reads it.
constexpr unsigned long CapturePauseMs = 150;

// How long after its first paint the window sets up sound and speech.
constexpr int SpeechSetUpDelayMs = 500;

// Classic key codes of the keys the window reacts to on release.
int KeyCodeOf(int qtKey) {
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
        return 112 + (qtKey - Qt::Key_F1);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return 65 + (qtKey - Qt::Key_A);
    }
    return 0;
}

// The modifier mask of a key release: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftMask(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) | (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}
} // namespace

F_GO::F_GO(const QString& programFolder, Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_programFolder(programFolder),
      m_services(services), m_messages(services.messages, [this] { Form_Paint(); }),
      m_backColor(DefaultBackColor) {
    setWindowTitle(AppInfo::Title);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    Form_Load();
}

QString F_GO::DefaultVoiceAttributes() {
    return cVoce::DefaultAttributes;
}

F_GO::~F_GO() {
    if (m_loaded) {
        Form_Unload();
    }
}

// The speech object comes last and later: setting up the synthesizer reads
// espeak-ng's data and every voice file (over ten milliseconds), which would
// hold back the first screen. It is made half a second after that screen is
// painted (see paintEvent), or at once by a key activated before. The audio
// output opens its device then too.
void F_GO::Form_Load() {
    m_sound = std::make_unique<cSound>(m_services.audio);
    m_access = std::make_unique<AccessDriver>(
        *this, m_services.audio,
        AccessDriver::Hooks{
            [this](int item) { ChooseItem(item); }, [this] { StartTable(); },
            [this](int item) {
                const int key = m_edges->keyOf(item);
                return m_layout.SectionOn[3] ? m_layout.KeyTexts.value(key) : QString();
            },
            [this] { return m_tableActive ? QRect() : IntroPanel(width(), height()); }});
    m_edges = std::make_unique<EdgeController>(
        *this, m_services.audio, *m_sound, m_messages, m_programFolder,
        EdgeController::Hooks{[this](int n) { SwitchLayout(n); }, [this]() -> cVoce& { return Voce(); },
                              [this] {
                                  AttachAccess();
                                  Form_Paint();
                              }});
    QString unreadable;
    m_edges->setOptions(AccessOptions::Load(m_programFolder, &unreadable));
    m_access->setOptions(m_edges->options());
    if (!unreadable.isEmpty()) {
        m_messages.showMessage(unreadable, MsgIcon::Exclamation, AppInfo::Title);
    }
    m_loaded = true;
    ReadActivePath();
}

cVoce& F_GO::Voce() {
    if (!m_voce) {
        m_voce = std::make_unique<cVoce>(m_services.audio, VoiceSettings::Load(m_programFolder),
                                         m_services.voiceAttributes);
    }
    return *m_voce;
}

void F_GO::Form_Unload() {
    m_layout.SectionOn = {};
    m_layout.PicturePaths.clear();
    m_layout.SoundPaths.clear();
    m_layout.KeyTexts.clear();
    m_layout.FunctionKeyPaths.clear();
    ReleaseGrid();
    m_sound.reset();
    m_voce.reset();
    ResetSharedIni();
    m_loaded = false;
}

void F_GO::ShowFullScreen() {
    // Without a window manager a full-screen request alone leaves a small window.
    if (const QScreen* s = screen()) {
        setGeometry(s->geometry());
    }
    showFullScreen();
    raise();
    activateWindow();
}

QImage& F_GO::canvas() {
    const QSize client = size();
    if (m_canvas.size() != client) {
        m_canvas = LargeImage(client, QImage::Format_RGB32);
        m_canvas.setDotsPerMeterX(CanvasDotsPerMeter);
        m_canvas.setDotsPerMeterY(CanvasDotsPerMeter);
        m_canvas.fill(RgbFromGdiColor(m_backColor));
    }
    return m_canvas;
}

QPoint F_GO::cursorPos() const {
    return mapFromGlobal(QCursor::pos());
}

void F_GO::showCanvas(const QRect& changed) {
    // At once: the frame of a chosen key must be on screen before its sound starts.
    if (isVisible()) {
        if (changed.isEmpty()) {
            repaint();
        } else {
            repaint(changed);
        }
    }
}

void F_GO::Form_Paint() {
    RebuildCanvas();
    showCanvas(QRect());
}

void F_GO::RebuildCanvas() {
    if (m_tableActive && cG) {
        cG->Refresh();
        DrawPictures();
        m_edges->draw();
        m_access->canvasRebuilt();
    } else {
        DrawIntro(canvas(), m_backColor, ActiveLayoutPath());
    }
}

void F_GO::DrawPictures() {
    if (!cG) {
        return;
    }
    setCursor(Qt::WaitCursor);
    const float s = std::min(cG->InnerWidth(), cG->InnerHeight());
    const float w = cG->InnerWidth();
    const float h = cG->InnerHeight();
    const int side = RoundHalfEven(s);
    const QList<QImage> pictures = LoadPictureFiles(m_layout.PicturePaths, QSize(side, side));
    int k = 0;
    for (std::int32_t r = 0; r <= cG->LastRow(); ++r) {
        for (std::int32_t c = 0; c <= cG->LastCol(); ++c) {
            ++k;
            // A picture that cannot be read or decoded leaves its cell empty.
            const QImage picture = pictures.value(k);
            if (picture.isNull() || side <= 0) {
                continue;
            }
            const float left = cG->CellCoord(r, c, 1);
            const float top = cG->CellCoord(r, c, 2);
            const QRect square(RoundHalfEven(left + (w - s) / 2), RoundHalfEven(top + (h - s) / 2), side,
                               side);
            StretchAndInto(canvas(), picture,
                           m_access->options().keepProportions ? FitInto(picture.size(), square) : square);
        }
    }
    unsetCursor();
}

int F_GO::KeyIndex(std::int32_t r, std::int32_t c) const {
    if (!cG) {
        return 0;
    }
    int k = 0;
    for (std::int32_t row = 0; row <= cG->LastRow(); ++row) {
        for (std::int32_t col = 0; col <= cG->LastCol(); ++col) {
            ++k;
            if (row == r && col == c) {
                return k;
            }
        }
    }
    return k;
}

void F_GO::ReadActivePath() {
    ConfigFile::RefreshActivePath(m_programFolder);
}

void F_GO::ShowIntro() {
    m_tableActive = false;
    Form_Paint();
    ReleaseGrid();
}

void F_GO::ReleaseGrid() {
    cG.reset();
    AttachAccess();
}

void F_GO::StartTable() {
    if (!ConfirmConfiguration(m_programFolder, m_messages, m_services.repairConfiguration)) {
        ShowIntro();
        return;
    }
    if (LayoutReader(m_programFolder, m_messages, m_layout).ReadLayout()) {
        ShowIntro();
        return;
    }
    if (m_tableActive) {
        m_tableActive = false;
        ReleaseGrid();
    }
    const std::optional<TableShape> shape = TableShapeFor(m_layout.KeyCount);
    if (!shape) {
        ShowIntro();
        return;
    }
    cG = std::make_unique<cGriglia>();
    connect(cG.get(), &cGriglia::Click, this, &F_GO::cG_Click);
    cG->Init(*this, m_edges->layOut(m_layout), shape->rows, shape->columns, KeySpacing, KeySpacing);
    AttachAccess();
    m_tableActive = true;
    Form_Paint();
}

void F_GO::cG_Click(std::int32_t r, std::int32_t c, std::int32_t X, std::int32_t Y, std::int32_t rPrevious,
                    std::int32_t cPrevious) {
    const GridRect previous = cG->CellRect(rPrevious, cPrevious);
    const GridRect current = cG->CellRect(r, c);
    // A click in a gap or in the margin reports the unchanged cell with a point outside it.
    if (X < current.Left || X > current.Right || Y < current.Top || Y > current.Bottom) {
        return;
    }
    m_access->beforeActivation();
    cGriglia::DrawBox(*this, previous, FramePenWidth, m_backColor);
    cG->DrawFocusFrame(previous);
    cGriglia::DrawBox(*this, current, FramePenWidth, FrameColor);
    const int k = KeyIndex(r, c);
    ActivateKey(k);
    // A message shown while the key spoke may have let a queued Esc close the table.
    if (cG) {
        m_access->activationDone(m_edges->itemOfKey(k));
    }
}

void F_GO::ChooseItem(int item) {
    if (const int key = m_edges->keyOf(item)) {
        ChooseKey(key);
        return;
    }
    m_access->beforeActivation();
    const int attachments = m_attachments;
    m_edges->activate(item);
    if (cG) {
        m_access->activationDone(attachments == m_attachments ? item : 0);
    }
}

void F_GO::ChooseKey(int key) {
    if (!cG) {
        return;
    }
    const int columns = cG->LastCol() + 1;
    const CellPos cell{(key - 1) / columns, (key - 1) % columns};
    const GridRect r = cG->CellRect(cell.Row, cell.Col);
    cG->ChooseCell(cell, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
}

// The access methods follow the table shown; while another window is open they rest.
void F_GO::AttachAccess() {
    if (m_access) {
        ++m_attachments;
        if (cG) {
            m_access->setItems(cG.get(), m_edges->items(*cG, m_layout.KeyCount, cG->LastCol() + 1));
        } else {
            m_access->setTable(nullptr, 0, 1);
        }
    }
}

void F_GO::ActivateKey(int k) {
    if (m_layout.ForcedInput == 1 && !m_gate.Gate(m_layout.InputSequence, k)) {
        return;
    }
    // With the message bar the key joins the sentence; built quietly, it says nothing now.
    if (!m_edges->keyChosen(m_layout, k, m_layout.ForcedInput == 1)) {
        return;
    }
    if (m_layout.SectionOn[2]) {
        // The sound player reports nothing: a missing or broken file is simply not heard.
        m_sound->setFileName(m_layout.SoundPaths.value(k));
        m_sound->PlayFile(0);
    }
    if (m_layout.SectionOn[3]) {
        // A failed text is reported and the activation goes on with its next step.
        if (const auto error = Voce().Speak(m_layout.KeyTexts.value(k))) {
            ShowActivationError(error->description);
        }
    }
    if (m_layout.ForcedInput == 1 && m_gate.Completed(m_layout.KeyCount)) {
        m_sound->setFileName(m_layout.BonusPath);
        m_sound->PlayFile(0);
    }
}

void F_GO::ShowActivationError(const QString& description) {
    m_messages.showMessage(description, MsgIcon::Exclamation, AppInfo::Title);
}

void F_GO::Form_KeyPress(int keyAscii) {
    // Keys still queued when the window closed find nothing to act on.
    if (!m_loaded) {
        return;
    }
    if (keyAscii == 13) {
        StartTable();
    } else if (keyAscii == 27) {
        if (m_tableActive && m_edges->closePhrases()) {
            return;
        }
        if (m_tableActive) {
            m_edges->tableLeft();
            ShowIntro();
        } else {
            close();
        }
    }
}

void F_GO::Form_KeyUp(int keyCode, int shift) {
    if (!m_loaded) {
        return;
    }
    if (keyCode >= 112 && keyCode <= 123) {
        if (m_tableActive) {
            SwitchLayout(keyCode - 111);
        }
        return;
    }
    // Alt alone: Ctrl+Alt or Shift+Alt combinations do nothing.
    if (shift != 4) {
        return;
    }
    if (keyCode == 'A') {
        RunModal([this] { m_services.windows.ShowOpenLayout(this, m_services.messages, m_services.picker); });
        ReadActivePath();
        Form_Paint();
    } else if (keyCode == 'I') {
        RunModal([this] {
            m_services.windows.ShowSettings(this, m_services.messages, m_services.picker);
            // A save may have made another layout active, or changed how pictures are drawn.
            ReadActivePath();
            m_edges->setOptions(AccessOptions::Load(m_programFolder));
            m_access->setOptions(m_edges->options());
        });
    } else if (keyCode == 'O') {
        OpenAccessOptions();
    } else if (keyCode == 'P' && m_tableActive) {
        CaptureWindow();
        QThread::msleep(CapturePauseMs);
        RunModal(
            [this] { m_services.windows.ShowPrintPreview(this, m_services.messages, m_services.picker); });
    }
}

void F_GO::OpenAccessOptions() {
    bool saved = false;
    RunModal([this, &saved] { saved = m_services.windows.ShowAccessOptions(this, m_services.messages); });
    if (saved) {
        m_edges->setOptions(AccessOptions::Load(m_programFolder));
        m_access->setOptions(m_edges->options());
        m_voce.reset(); // made again, with the voice just chosen, by the next key
        if (m_tableActive) {
            StartTable(); // the bar or the strip may have come or gone
        }
    }
}

template <typename Open> void F_GO::RunModal(Open open) {
    m_access->setTable(nullptr, 0, 1);
    open();
    AttachAccess();
    // Focus does not come back by itself without a window manager.
    activateWindow();
    Form_Paint();
}

void F_GO::CaptureWindow() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    // The table as it is printed: without the bar and the strip around it.
    const QImage window = grab().toImage();
    clipboard->setImage(m_tableActive ? window.copy(m_edges->tableArea()) : window);
}

void F_GO::SwitchLayout(int n) {
    const QString path = m_layout.FunctionKeyPaths.value(n);
    if (!FileExists(path)) {
        m_messages.showMessage(QStringLiteral("Il file che si cerca di caricare non viene trovato."),
                               MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
    if (!LayoutFile::IsLayout(path)) {
        m_messages.showMessage(
            QStringLiteral("Il layout che si cerca di utilizzare non è valido. Crearne uno valido."),
            MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
    ConfigFile::SetActiveLayout(m_programFolder, path);
    ReadActivePath();
    StartTable();
}

bool F_GO::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        // Qt paints the widget right after; only the canvas needs rebuilding.
        RebuildCanvas();
    }
    return QWidget::eventFilter(watched, event);
}

void F_GO::showEvent(QShowEvent* event) {
    if (!m_exposeWatched && windowHandle() != nullptr) {
        windowHandle()->installEventFilter(this);
        m_exposeWatched = true;
    }
    QWidget::showEvent(event);
}

void F_GO::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect(), canvas(), event->rect());
    if (m_loaded && !m_voce && !m_voceScheduled) {
        // Not at once: on a machine of two cores the display server still
        // needs one of them to put this first screen up, and work started
        // right away slowed that down. A key activated sooner makes the
        // speech object itself. The output opens its device on a thread of
        // its own.
        m_voceScheduled = true;
        QTimer::singleShot(SpeechSetUpDelayMs, this, [this] {
            if (m_loaded) {
                m_services.audio.prepare();
                Voce();
            }
        });
    }
}

void F_GO::keyPressEvent(QKeyEvent* event) {
    if (m_loaded && m_access->keyDown(*event)) {
        return;
    }
    if (m_loaded && m_tableActive && event->modifiers() == Qt::NoModifier && m_edges->keyPressed(event->key())) {
        return;
    }
    int ch = event->text().isEmpty() ? 0 : event->text().at(0).unicode();
    if (ch == 0 && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        ch = 13;
    } else if (ch == 0 && event->key() == Qt::Key_Escape) {
        ch = 27;
    }
    Form_KeyPress(ch);
}

void F_GO::keyReleaseEvent(QKeyEvent* event) {
    if (m_loaded && m_access->keyUp(*event)) {
        return;
    }
    if (event->isAutoRepeat()) {
        return;
    }
    Form_KeyUp(KeyCodeOf(event->key()), ShiftMask(event->modifiers()));
}

void F_GO::mousePressEvent(QMouseEvent* event) {
    m_pressed = true;
    m_access->mouseDown(event->timestamp());
    event->accept();
}

void F_GO::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a quick pair is a click of its own.
    m_pressed = true;
    m_access->mouseDown(event->timestamp());
    event->accept();
}

void F_GO::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!m_pressed) {
        return;
    }
    m_pressed = false;
    // The tremor filters may ignore it, or the scan take it as its switch.
    if (!m_access->mouseUp(event->timestamp())) {
        return;
    }
    if (!cG) {
        return;
    }
    if (const int item = m_edges->edgeItemAt(cursorPos())) {
        ChooseItem(item);
    } else if (!m_edges->phrasesShown()) {
        cG->ContainerClick();
    }
}

void F_GO::mouseMoveEvent(QMouseEvent* event) {
    // Also over the intro screen, whose panel a dwell chooses.
    m_access->mouseMove(event->position().toPoint());
}

void F_GO::leaveEvent(QEvent* event) {
    m_access->mouseLeft();
    QWidget::leaveEvent(event);
}

void F_GO::closeEvent(QCloseEvent* event) {
    if (m_loaded) {
        Form_Unload();
    }
    QWidget::closeEvent(event);
}
