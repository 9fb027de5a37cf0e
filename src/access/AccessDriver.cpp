#include "access/AccessDriver.h"

#include "access/SteadyClock.h"
#include "audio/cVoce.h"
#include "grid/IGridContainer.h"
#include "grid/cGriglia.h"

#include <QKeyEvent>

#include <algorithm>

namespace {
using Method = AccessOptions::Method;
using Switch = ScanController::Switch;
using Kind = ScanController::Highlight::Kind;

// How often the dwell progress grows on screen.
constexpr int ProgressFrameMs = 40;
// The id of the mouse button among the keys' codes.
constexpr int MouseButton = -1;

// Keys that never go on from the intro screen by themselves.
bool ModifierOnly(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_unknown:
    case 0:
        return true;
    default:
        return false;
    }
}
} // namespace

AccessDriver::AccessDriver(IGridContainer& window, IAudioOutput& audio, Hooks hooks,
                           std::unique_ptr<AccessClock> clock)
    : m_window(window), m_audio(audio), m_hooks(std::move(hooks)),
      m_clock(clock ? std::move(clock) : std::make_unique<SteadyClock>()), m_clickFilter(0, 0),
      m_startFilter(0, 0) {
    m_clock->setWakeHandler([this] { onTimer(); });
}

AccessDriver::~AccessDriver() = default;

void AccessDriver::setOptions(const AccessOptions& options) {
    m_options = options;
    m_clickFilter = SwitchFilter(options.acceptanceMs, options.repeatDelayMs);
    m_startFilter = SwitchFilter(options.acceptanceMs, options.repeatDelayMs);
    const bool cues = options.auditory && options.method != Method::Click && options.method != Method::Dwell;
    if (!cues) {
        m_cue.reset();
    } else {
        if (!m_cue) {
            m_cue = std::make_unique<cVoce>(m_audio);
            // Cues are not waited for: the scan goes on while one is heard.
            m_cue->setSpeakFlags(m_cue->SpeakFlags() | cVoce::SVSFlagsAsync);
        }
        m_cue->setRateAndVolume(options.auditoryRate, options.auditoryVolume);
    }
    if (m_grid != nullptr) {
        const QRect changed = m_overlay.remove(m_window.canvas());
        attach();
        paintMark(true);
        m_window.showCanvas(changed);
    } else {
        attach();
    }
}

void AccessDriver::setTable(const cGriglia* grid, int keyCount, int columns) {
    setItems(grid, grid != nullptr ? TableItems(*grid, keyCount, columns) : AccessItems{});
}

void AccessDriver::setItems(const cGriglia* grid, AccessItems items) {
    m_grid = grid;
    m_items = grid != nullptr ? std::move(items) : AccessItems{};
    attach();
}

void AccessDriver::attach() {
    m_clock->cancelWake();
    m_overlay.forget();
    m_scan.reset();
    m_dwell.reset();
    forgetPresses();
    if (m_options.method == Method::Dwell) {
        m_dwell = std::make_unique<DwellController>(m_options);
    }
    if (m_grid == nullptr) {
        if (m_cue) {
            m_cue->StopSpeech();
        }
        rearm();
        return;
    }
    if (m_dwell) {
        // A pointer resting on a key as its table appears dwells on it from now. The canvas
        // is drawn afresh after this, and the progress with it.
        const QPoint pointer = m_window.cursorPos();
        if (QRect(0, 0, m_window.clientWidth(), m_window.clientHeight()).contains(pointer)) {
            m_dwell->move(pointer, keyAt(pointer), now());
        }
    } else if (m_options.method != Method::Click) {
        m_scan = std::make_unique<ScanController>(m_options, m_items.rows);
        m_scan->start(now());
        speakCue(m_scan->highlight());
    }
    rearm();
}

void AccessDriver::canvasRebuilt() {
    m_overlay.forget();
    paintMark(false);
}

AccessDriver::Taken AccessDriver::targetOf(const QKeyEvent& event) const {
    if ((event.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) != 0) {
        return {};
    }
    const int key = event.key() == Qt::Key_Enter ? int(Qt::Key_Return) : event.key();
    if (m_grid == nullptr) {
        // The prompt asks for any key. Enter keeps starting the table at once, Esc ends the
        // program, and the function keys stay layout switches, which do nothing here.
        const bool functionKey = key >= Qt::Key_F1 && key <= Qt::Key_F12;
        const bool goesOn =
            !ModifierOnly(key) && !functionKey && key != Qt::Key_Return && key != Qt::Key_Escape;
        return goesOn ? Taken{Target::Start} : Taken{};
    }
    if (!m_scan) {
        return {};
    }
    const auto is = [key](AccessOptions::SwitchKey k) { return key == AccessOptions::QtKeyOf(k); };
    std::optional<Switch> found;
    if (m_options.method == Method::AutoScan && is(m_options.scanKey)) {
        found = Switch::Scan;
    } else if (m_options.method == Method::StepScan) {
        found = is(m_options.stepKey)     ? std::optional(Switch::Scan)
                : is(m_options.selectKey) ? std::optional(Switch::Select)
                                          : std::nullopt;
    } else if (m_options.method == Method::Arrows) {
        static const std::pair<int, Switch> arrows[] = {{Qt::Key_Up, Switch::Up},
                                                        {Qt::Key_Down, Switch::Down},
                                                        {Qt::Key_Left, Switch::Left},
                                                        {Qt::Key_Right, Switch::Right},
                                                        {Qt::Key_Return, Switch::Select}};
        for (const auto& [k, s] : arrows) {
            if (key == k) {
                found = s;
            }
        }
    }
    return found ? Taken{Target::Switch, *found} : Taken{};
}

bool AccessDriver::clickIsSwitch() const {
    return m_scan && m_options.clickIsSwitch && m_options.scanning();
}

bool AccessDriver::keyDown(const QKeyEvent& event) {
    const Taken taken = targetOf(event);
    handle(m_presses.press(event.key(), event.timestamp(), event.isAutoRepeat(), now()), taken);
    return taken.target != Target::None;
}

bool AccessDriver::keyUp(const QKeyEvent& event) {
    handle(m_presses.release(event.key(), event.timestamp(), event.isAutoRepeat(), true, now()), {});
    return targetOf(event).target != Target::None;
}

void AccessDriver::mouseDown(quint64 timestamp) {
    const Switch which = m_options.method == Method::AutoScan ? Switch::Scan : Switch::Select;
    const bool asSwitch = clickIsSwitch();
    handle(m_presses.press(MouseButton, timestamp, false, now()),
           asSwitch ? Taken{Target::Switch, which} : Taken{});
    if (!asSwitch) {
        m_clickFilter.press(now());
    }
}

bool AccessDriver::mouseUp(quint64 timestamp) {
    const bool asSwitch = m_taken.contains(MouseButton);
    handle(m_presses.release(MouseButton, timestamp, false, false, now()), {});
    if (asSwitch) {
        return false;
    }
    const bool click = m_clickFilter.release(now());
    if (m_grid == nullptr) {
        if (click) {
            startTableUnderPointer();
        }
        return false;
    }
    return click;
}

// Presses act when the filters let them; a release acts on what its press was taken for.
void AccessDriver::handle(const std::vector<SwitchPresses::Edge>& edges, Taken pressed) {
    for (const SwitchPresses::Edge& edge : edges) {
        if (edge.down) {
            if (pressed.target == Target::Start) {
                m_startFilter.press(edge.at);
            } else if (pressed.target == Target::Switch && m_scan) {
                m_scan->switchDown(pressed.which, edge.at);
            } else {
                continue;
            }
            m_taken[edge.id] = pressed;
            continue;
        }
        const auto it = m_taken.find(edge.id);
        if (it == m_taken.end()) {
            continue;
        }
        const Taken taken = it->second;
        m_taken.erase(it);
        if (taken.target == Target::Start) {
            if (m_startFilter.release(edge.at) && m_hooks.startTable) {
                m_hooks.startTable();
            }
        } else if (m_scan) {
            switchUp(taken.which, edge.at);
        }
    }
    rearm();
}

void AccessDriver::switchUp(Switch which, qint64 at) {
    const ScanController::Highlight before = m_scan->highlight();
    const int key = m_scan->switchUp(which, at);
    afterHighlightMoved(before);
    if (key != 0) {
        m_hooks.choose(key);
    }
}

// The presses held now are not the user's answer to what comes next: their releases do nothing.
void AccessDriver::forgetPresses() {
    m_taken.clear();
    if (m_scan) {
        m_scan->cancelPresses();
    }
}

int AccessDriver::keyAt(QPoint point) const {
    if (m_grid == nullptr) {
        return introPanel().contains(point) ? 1 : 0;
    }
    const auto hit = std::find_if(m_items.rects.begin(), m_items.rects.end(),
                                  [point](const QRect& r) { return r.contains(point); });
    return hit == m_items.rects.end() ? 0 : int(hit - m_items.rects.begin()) + 1;
}

void AccessDriver::mouseMove(QPoint point) {
    if (!m_dwell) {
        return;
    }
    const int before = m_dwell->key();
    m_dwell->move(point, keyAt(point), now());
    if (m_dwell->key() != before) {
        paintMark(true);
    }
    rearm();
}

void AccessDriver::mouseLeft() {
    if (m_dwell) {
        m_dwell->leave();
        paintMark(true);
        rearm();
    }
}

void AccessDriver::beforeActivation() {
    forgetPresses();
    if (m_cue) {
        m_cue->StopSpeech();
    }
    if (m_scan || m_dwell) {
        m_clock->cancelWake();
        const QRect changed = m_overlay.remove(m_window.canvas());
        if (!changed.isEmpty()) {
            m_window.showCanvas(changed);
        }
    }
}

void AccessDriver::activationDone(int key) {
    m_presses.outputEnded(now());
    if (m_scan) {
        m_scan->activationDone(key, now());
        speakCue(m_scan->highlight());
    }
    if (m_dwell) {
        m_dwell->activationDone(key, now());
    }
    paintMark(true);
    rearm();
}

void AccessDriver::tableReplaced() {
    m_presses.outputEnded(now());
    if (m_dwell) {
        m_dwell->activationDone(m_dwell->key(), now());
    }
    paintMark(true);
    rearm();
}

// The pointer that chose the intro's panel now rests on a key of the table: as
// after a link key, that key is chosen only once the pointer moved away and back.
void AccessDriver::startTableUnderPointer() {
    if (!m_hooks.startTable) {
        return;
    }
    m_hooks.startTable();
    if (m_dwell && m_grid != nullptr) {
        m_dwell->activationDone(m_dwell->key(), now());
        paintMark(true);
    }
}

void AccessDriver::onTimer() {
    // Releases first: they happened before the items' times ran out.
    handle(m_presses.tick(now()), {});
    if (m_scan) {
        const ScanController::Highlight before = m_scan->highlight();
        m_scan->tick(now());
        afterHighlightMoved(before);
    } else if (m_dwell) {
        if (const int key = m_dwell->tick(now())) {
            if (m_grid == nullptr) {
                startTableUnderPointer();
            } else {
                m_hooks.choose(key);
            }
        } else {
            paintMark(true);
        }
    }
    rearm();
}

void AccessDriver::rearm() {
    std::optional<qint64> due = m_scan ? m_scan->deadline() : m_dwell ? m_dwell->deadline() : std::nullopt;
    const qint64 t = now();
    if (due && m_dwell) {
        due = std::min(*due, t + ProgressFrameMs);
    }
    if (const std::optional<qint64> release = m_presses.deadline()) {
        due = std::min(due.value_or(*release), *release);
    }
    if (due) {
        m_clock->wakeAt(*due);
    } else {
        m_clock->cancelWake();
    }
}

void AccessDriver::afterHighlightMoved(ScanController::Highlight before) {
    if (m_scan && !(m_scan->highlight() == before)) {
        paintMark(true);
        speakCue(m_scan->highlight());
    }
}

void AccessDriver::speakCue(const ScanController::Highlight& highlight) {
    if (!m_cue) {
        return;
    }
    const bool key = highlight.kind == Kind::Key && m_hooks.keyText;
    const QString text = CueText(highlight, key ? m_hooks.keyText(highlight.index) : QString());
    if (text.isEmpty()) {
        m_cue->StopSpeech();
        return;
    }
    // A cue that cannot be spoken is simply not heard; the key's own speech reports the fault.
    static_cast<void>(m_cue->Speak(text));
}

QString AccessDriver::CueText(const ScanController::Highlight& highlight, const QString& keyText) {
    if (highlight.kind == Kind::Row) {
        return QStringLiteral("riga %1").arg(highlight.index + 1);
    }
    if (highlight.kind == Kind::Key) {
        return keyText.trimmed().isEmpty() ? QStringLiteral("tasto %1").arg(highlight.index) : keyText;
    }
    return {};
}

QRect AccessDriver::keyRect(int key) const {
    return key >= 1 && key <= keyCount() ? m_items.rects[size_t(key - 1)] : QRect();
}

QRect AccessDriver::rowRect(int row) const {
    int first = 0;
    for (int r = 0; r < row && r < int(m_items.rows.size()); ++r) {
        first += m_items.rows[size_t(r)];
    }
    QRect area;
    for (int k = first; k < first + m_items.rows.at(size_t(row)) && k < keyCount(); ++k) {
        area = area.united(m_items.rects[size_t(k)]);
    }
    return area;
}

QRect AccessDriver::introPanel() const {
    return m_hooks.introPanel ? m_hooks.introPanel() : QRect();
}

// The intro screen is drawn the same every time, so the pixels kept under a
// dwell's progress on its panel stay right when it is drawn again.
void AccessDriver::paintMark(bool show) {
    if (!m_scan && !m_dwell) {
        return;
    }
    QImage& canvas = m_window.canvas();
    QRect changed;
    const QColor colour = m_options.colour();
    if (m_scan) {
        const ScanController::Highlight h = m_scan->highlight();
        if (h.kind == Kind::None) {
            changed = m_overlay.remove(canvas);
        } else {
            const QRect area = h.kind == Kind::Row ? rowRect(h.index) : keyRect(h.index);
            changed = m_overlay.showFrame(canvas, area, m_options.highlightWidth, colour);
        }
    } else if (const int key = m_dwell->key()) {
        const QRect area = m_grid != nullptr ? keyRect(key) : introPanel();
        changed = m_overlay.showProgress(canvas, area, m_dwell->progress(now()), colour);
    } else {
        changed = m_overlay.remove(canvas);
    }
    if (show && !changed.isEmpty()) {
        m_window.showCanvas(changed);
    }
}
