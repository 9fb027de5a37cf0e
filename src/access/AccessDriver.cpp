#include "access/AccessDriver.h"

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

QRect QRectOf(const GridRect& r) {
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
}
} // namespace

AccessDriver::AccessDriver(IGridContainer& window, IAudioOutput& audio, Hooks hooks, QObject* parent)
    : QObject(parent), m_window(window), m_audio(audio), m_hooks(std::move(hooks)), m_clickFilter(0, 0),
      m_startFilter(0, 0) {
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AccessDriver::onTimer);
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
        setTable(m_grid, m_keyCount, m_columns);
        paintMark(true);
        m_window.showCanvas(changed);
    }
}

void AccessDriver::setTable(const cGriglia* grid, int keyCount, int columns) {
    m_timer.stop();
    m_overlay.forget();
    m_scan.reset();
    m_dwell.reset();
    m_grid = grid;
    m_keyCount = keyCount;
    m_columns = columns;
    if (grid == nullptr) {
        if (m_cue) {
            m_cue->StopSpeech();
        }
        return;
    }
    if (m_options.method == Method::Dwell) {
        m_dwell = std::make_unique<DwellController>(m_options);
    } else if (m_options.method != Method::Click) {
        m_scan = std::make_unique<ScanController>(m_options, keyCount, columns);
        m_scan->start(now());
        speakCue(m_scan->highlight());
    }
    rearm();
}

void AccessDriver::canvasRebuilt() {
    m_overlay.forget();
    paintMark(false);
}

AccessDriver::Target AccessDriver::targetOf(const QKeyEvent& event, ScanController::Switch* which) const {
    if ((event.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) != 0) {
        return Target::None;
    }
    const int key = event.key() == Qt::Key_Enter ? int(Qt::Key_Return) : event.key();
    const auto is = [key](AccessOptions::SwitchKey k) { return key == AccessOptions::QtKeyOf(k); };
    if (m_grid == nullptr) {
        // Enter keeps starting the table on its own; the other switches do it too.
        const bool switchKey =
            (m_options.method == Method::AutoScan && is(m_options.scanKey)) ||
            (m_options.method == Method::StepScan && (is(m_options.stepKey) || is(m_options.selectKey)));
        return switchKey && key != Qt::Key_Return ? Target::Start : Target::None;
    }
    if (!m_scan) {
        return Target::None;
    }
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
    if (!found) {
        return Target::None;
    }
    *which = *found;
    return Target::Switch;
}

bool AccessDriver::keyDown(const QKeyEvent& event) {
    Switch which = Switch::Scan;
    const Target target = targetOf(event, &which);
    if (target == Target::None || event.isAutoRepeat()) {
        return target != Target::None;
    }
    if (target == Target::Start) {
        m_startFilter.press(now());
    } else {
        m_scan->switchDown(which, now());
        rearm();
    }
    return true;
}

bool AccessDriver::keyUp(const QKeyEvent& event) {
    Switch which = Switch::Scan;
    const Target target = targetOf(event, &which);
    if (target == Target::None || event.isAutoRepeat()) {
        return target != Target::None;
    }
    if (target == Target::Start) {
        if (m_startFilter.release(now()) && m_hooks.startTable) {
            m_hooks.startTable();
        }
        return true;
    }
    const ScanController::Highlight before = m_scan->highlight();
    const int key = m_scan->switchUp(which, now());
    afterHighlightMoved(before);
    if (key != 0) {
        m_hooks.choose(key);
    }
    rearm();
    return true;
}

void AccessDriver::mouseDown() {
    if (m_scan && m_options.clickIsSwitch && m_options.scanning()) {
        m_scan->switchDown(m_options.method == Method::AutoScan ? Switch::Scan : Switch::Select, now());
        rearm();
        return;
    }
    m_clickFilter.press(now());
}

bool AccessDriver::mouseUp() {
    if (m_scan && m_options.clickIsSwitch && m_options.scanning()) {
        const ScanController::Highlight before = m_scan->highlight();
        const int key =
            m_scan->switchUp(m_options.method == Method::AutoScan ? Switch::Scan : Switch::Select, now());
        afterHighlightMoved(before);
        if (key != 0) {
            m_hooks.choose(key);
        }
        rearm();
        return false;
    }
    return m_clickFilter.release(now());
}

void AccessDriver::mouseMove(QPoint point) {
    if (!m_dwell || m_grid == nullptr) {
        return;
    }
    const CellPos hit = m_grid->HitTest(point.x(), point.y());
    const int key = hit.Row * m_columns + hit.Col + 1;
    const bool inside = QRectOf(m_grid->CellRect(hit.Row, hit.Col)).contains(point);
    const int before = m_dwell->key();
    m_dwell->move(point, inside && key <= m_keyCount ? key : 0, now());
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
    if (m_cue) {
        m_cue->StopSpeech();
    }
    if (m_scan || m_dwell) {
        m_timer.stop();
        const QRect changed = m_overlay.remove(m_window.canvas());
        if (!changed.isEmpty()) {
            m_window.showCanvas(changed);
        }
    }
}

void AccessDriver::activationDone(int key) {
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

void AccessDriver::onTimer() {
    if (m_scan) {
        const ScanController::Highlight before = m_scan->highlight();
        m_scan->tick(now());
        afterHighlightMoved(before);
    } else if (m_dwell) {
        if (const int key = m_dwell->tick(now())) {
            m_hooks.choose(key);
        } else {
            paintMark(true);
        }
    }
    rearm();
}

void AccessDriver::rearm() {
    std::optional<qint64> due = m_scan ? m_scan->deadline() : m_dwell ? m_dwell->deadline() : std::nullopt;
    if (!due) {
        m_timer.stop();
        return;
    }
    const qint64 t = now();
    if (m_dwell) {
        due = std::min(*due, t + ProgressFrameMs);
    }
    m_timer.start(int(std::max<qint64>(0, *due - t)));
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
    QString text;
    if (highlight.kind == Kind::Row) {
        text = QStringLiteral("riga %1").arg(highlight.index + 1);
    } else if (highlight.kind == Kind::Key) {
        text = m_hooks.keyText ? m_hooks.keyText(highlight.index) : QString();
        if (text.trimmed().isEmpty()) {
            text = QStringLiteral("tasto %1").arg(highlight.index);
        }
    }
    if (text.isEmpty()) {
        m_cue->StopSpeech();
        return;
    }
    // A cue that cannot be spoken is simply not heard; the key's own speech reports the fault.
    static_cast<void>(m_cue->Speak(text));
}

QRect AccessDriver::keyRect(int key) const {
    return QRectOf(m_grid->CellRect((key - 1) / m_columns, (key - 1) % m_columns));
}

QRect AccessDriver::rowRect(int row) const {
    const int last = std::min(m_columns, m_keyCount - row * m_columns) - 1;
    return keyRect(row * m_columns + 1).united(keyRect(row * m_columns + last + 1));
}

void AccessDriver::paintMark(bool show) {
    if ((!m_scan && !m_dwell) || m_grid == nullptr) {
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
        changed = m_overlay.showProgress(canvas, keyRect(key), m_dwell->progress(now()), colour);
    } else {
        changed = m_overlay.remove(canvas);
    }
    if (show && !changed.isEmpty()) {
        m_window.showCanvas(changed);
    }
}
