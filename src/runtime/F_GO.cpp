#include "runtime/F_GO.h"

#include "access/AccessDriver.h"
#include "audio/cVoce.h"
#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "config/ConfigFile.h"
#include "grid/TableShape.h"
#include "grid/cGriglia.h"
#include "pictures/KeyPictures.h"
#include "platform/AppInfo.h"
#include "runtime/ClassicKeys.h"
#include "runtime/ConfigurationCheck.h"
#include "runtime/DrawIntro.h"
#include "runtime/EdgeController.h"
#include "runtime/IRuntimeWindows.h"
#include "runtime/LargeImage.h"
#include "runtime/TablePictures.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {
// The window's back colour until a table sets it to white: the system's face colour.
constexpr GdiColor DefaultBackColor = 0xF0F0F0;
constexpr GdiColor FrameColor = 0xFF0000; // blue
constexpr int FramePenWidth = 5;
// The canvas counts 96 dots per inch, so font sizes in points come out as on the usual screen.
constexpr int CanvasDotsPerMeter = 3780;

// How long after its first paint the window sets up sound and speech.
constexpr int SpeechSetUpDelayMs = 500;
} // namespace

F_GO::F_GO(const QString& programFolder, Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_programFolder(programFolder),
      m_services(services), m_messages(services.messages, [this] { Form_Paint(); }),
      m_switcher(programFolder, m_messages,
                 [this] {
                     return ConfirmConfiguration(m_programFolder, m_messages, m_services.repairConfiguration);
                 }),
      m_activation(KeyActivation::Services{services.audio, programFolder, services.voiceAttributes,
                                           services.speechEngines,
                                           [this](const QString& error) { ShowActivationError(error); }}),
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
    m_access = std::make_unique<AccessDriver>(
        *this, m_services.audio,
        AccessDriver::Hooks{[this](int item) { ChooseItem(item); }, [this] { StartTable(); },
                            [this](int item) { return m_edges->cueText(item, Layout()); },
                            [this] { return m_tableActive ? QRect() : IntroPanel(width(), height()); }});
    m_edges = std::make_unique<EdgeController>(
        *this, m_services.audio, m_messages, m_programFolder,
        EdgeController::Hooks{[this](int n) { SwitchLayout(n); },
                              [this]() -> cVoce& { return m_activation.Voice(Layout().Voice); },
                              [this] {
                                  AttachAccess();
                                  Form_Paint();
                              },
                              [this]() -> const AccessOptions& { return m_access->options(); }});
    QString unreadable;
    m_access->setOptions(AccessOptions::Load(m_programFolder, &unreadable));
    if (!unreadable.isEmpty()) {
        m_messages.showMessage(unreadable, MsgIcon::Exclamation, AppInfo::Title);
    }
    m_loaded = true;
    ReadActivePath();
}

void F_GO::Form_Unload() {
    m_switcher.Clear();
    ReleaseGrid();
    m_activation.Release();
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
    DrawKeyPictures(canvas(), *cG, Layout(), m_access->options().keepProportions);
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
    ShowSwitchResult(m_switcher.OpenActive());
}

void F_GO::SwitchLayout(int functionKey) {
    ShowSwitchResult(m_switcher.SwitchByFunctionKey(functionKey));
}

void F_GO::SwitchToLayout(const QString& path) {
    ShowSwitchResult(m_switcher.SwitchTo(path, LayoutSwitcher::Persist::Yes));
}

bool F_GO::ShowSwitchResult(LayoutSwitcher::Result result) {
    switch (result) {
    case LayoutSwitcher::Result::Stayed:
        return false;
    case LayoutSwitcher::Result::Failed:
        ShowIntro();
        return false;
    case LayoutSwitcher::Result::Shown:
        break;
    }
    if (m_tableActive) {
        m_tableActive = false;
        ReleaseGrid();
    }
    const std::optional<TableShape> shape = TableShapeFor(Layout().KeyCount);
    if (!shape) {
        ShowIntro();
        return false;
    }
    cG = std::make_unique<cGriglia>();
    connect(cG.get(), &cGriglia::Click, this, &F_GO::cG_Click);
    cG->Init(*this, m_edges->layOut(Layout()), shape->rows, shape->columns, KeySpacing, KeySpacing);
    AttachAccess();
    m_tableActive = true;
    Form_Paint();
    // A layout with a voice of its own speaks with it from its first key.
    if (m_activation.HasVoice()) {
        m_activation.Voice(Layout().Voice);
    }
    return true;
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
    const bool replaced = KeyChosen(k);
    // A message shown while the key spoke may have let a queued Esc close the table.
    if (cG) {
        if (replaced) {
            m_access->tableReplaced();
        } else {
            m_access->activationDone(m_edges->itemOfKey(k));
        }
    }
}

bool F_GO::KeyChosen(int k) {
    const bool link = m_switcher.IsLink(k);
    // With the message bar the key joins the sentence; built quietly, it says nothing now.
    m_activation.Activate(Layout(), k, link,
                          [&](bool step) { return m_edges->keyChosen(Layout(), k, step); });
    return link && cG && ShowSwitchResult(m_switcher.FollowLink(k));
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

void F_GO::ChooseItem(int item) {
    if (const int key = m_edges->keyOf(item)) {
        ChooseKey(key);
        return;
    }
    m_access->beforeActivation();
    const int attachments = m_attachments;
    m_edges->activate(item);
    if (cG) {
        attachments == m_attachments ? m_access->activationDone(item) : m_access->tableReplaced();
    }
}

// The access methods follow the table shown; while another window is open they rest.
void F_GO::AttachAccess() {
    if (m_access) {
        ++m_attachments;
        m_access->setItems(cG.get(),
                           cG ? m_edges->items(*cG, Layout().KeyCount, cG->LastCol() + 1) : AccessItems{});
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
        if (m_tableActive && !m_edges->closePhrases()) {
            m_edges->tableLeft();
            ShowIntro();
        } else if (m_tableActive) {
            return;
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
            m_access->setOptions(AccessOptions::Load(m_programFolder));
        });
    } else if (keyCode == 'O') {
        OpenAccessOptions();
    } else if (keyCode == 'P' && m_tableActive) {
        // The picture goes to the print window directly; the clipboard keeps a copy to paste elsewhere.
        const QImage table = CaptureWindow();
        RunModal([this, &table] {
            m_services.windows.ShowPrintPreview(this, m_services.messages, m_services.picker, table);
        });
    }
}

void F_GO::OpenAccessOptions() {
    bool saved = false;
    RunModal([this, &saved] { saved = m_services.windows.ShowAccessOptions(this, m_services.messages); });
    if (saved) {
        m_access->setOptions(AccessOptions::Load(m_programFolder));
        m_activation.ForgetVoice(); // made again, with the voice just chosen, by the next key
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

QImage F_GO::CaptureWindow() {
    // The table as it is printed: without the bar and the strip around it.
    const QImage picture = grab().toImage().copy(m_tableActive ? m_edges->tableArea() : rect());
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picture);
    return picture;
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
    if (m_loaded && !m_activation.HasVoice() && !m_voceScheduled) {
        // Not at once: on two cores the display server still needs one to put
        // this first screen up. A key activated sooner makes the speech object
        // itself. The output opens its device on a thread of its own.
        m_voceScheduled = true;
        QTimer::singleShot(SpeechSetUpDelayMs, this, [this] {
            if (m_loaded) {
                m_services.audio.prepare();
                m_activation.Voice(Layout().Voice);
            }
        });
    }
}

void F_GO::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Shift+M: the board editor, a gesture a child does not make by chance.
    if (m_loaded && ClassicKeys::IsBoardEditorGesture(*event)) {
        RunModal([this] {
            m_services.windows.ShowBoardEditor(this, m_services.messages, m_services.picker);
            ReadActivePath();
        });
        return;
    }
    if (m_loaded && (m_access->keyDown(*event) || (m_tableActive && m_edges->keyPressed(*event)))) {
        return;
    }
    Form_KeyPress(ClassicKeys::KeyAscii(*event));
}

void F_GO::keyReleaseEvent(QKeyEvent* event) {
    if ((m_loaded && m_access->keyUp(*event)) || event->isAutoRepeat()) {
        return;
    }
    Form_KeyUp(ClassicKeys::KeyCode(event->key()), ClassicKeys::ShiftMask(event->modifiers()));
}

void F_GO::mousePressEvent(QMouseEvent* event) {
    m_pressed = true;
    m_access->mouseDown(event->timestamp());
    event->accept();
}

void F_GO::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event); // the second click of a quick pair is a click of its own
}

void F_GO::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!m_pressed) {
        return;
    }
    m_pressed = false;
    // The tremor filters may ignore it, or the scan take it as its switch.
    if (!m_access->mouseUp(event->timestamp()) || !cG) {
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
