#pragma once

#include "access/AccessClock.h"
#include "access/AccessItems.h"
#include "access/AccessOptions.h"
#include "access/CanvasOverlay.h"
#include "access/DwellController.h"
#include "access/ScanController.h"
#include "access/SwitchFilter.h"
#include "access/SwitchPresses.h"

#include <QRect>

#include <functional>
#include <map>
#include <memory>

class IAudioOutput;
class IGridContainer;
class QKeyEvent;
class cGriglia;
class cVoce;

// Brings the access methods to the runtime window: turns its keys, clicks
// and pointer moves into calls of the scan and dwell rules, keeps their timer,
// draws the highlight and the dwell progress over the table, and speaks the
// quiet cues of auditory scanning. On the intro screen a click, any key but
// Enter and Esc (which the window handles) and, for dwell users, a dwell on
// its panel start the table. With the method "Clic" it takes nothing on the
// table, draws nothing and runs no timer.
//
// Switch presses never act for the user: a key held down is one press, a
// press made while a key's output played is dropped, and a press the tremor
// filters reject leaves the scan's timing as it was.
class AccessDriver {
public:
    struct Hooks {
        // Chooses the cell of a key exactly as a click on it would.
        std::function<void(int key)> choose;
        // Starts the table, as Enter on the intro screen does.
        std::function<void()> startTable;
        // The text a key speaks, empty when the layout speaks none.
        std::function<QString(int key)> keyText;
        // The intro screen's panel on the canvas, where a dwell starts the table; empty while
        // the intro screen is not shown.
        std::function<QRect()> introPanel;
    };

    // Without a clock the driver keeps the real time.
    AccessDriver(IGridContainer& window, IAudioOutput& audio, Hooks hooks,
                 std::unique_ptr<AccessClock> clock = nullptr);
    ~AccessDriver();

    const AccessOptions& options() const { return m_options; }
    void setOptions(const AccessOptions& options);

    // A table of `keyCount` keys in `columns` columns is shown on `grid`, or none (nullptr).
    void setTable(const cGriglia* grid, int keyCount, int columns);
    // A table is shown on `grid` with items around it: the methods choose
    // among `items` (see AccessItems), and the hooks get item numbers.
    void setItems(const cGriglia* grid, AccessItems items);
    // The canvas was drawn afresh: the mark goes on it again.
    void canvasRebuilt();

    // Keys the method takes (true: the window must not act on it).
    bool keyDown(const QKeyEvent& event);
    bool keyUp(const QKeyEvent& event);
    // A mouse button went down or up (`timestamp` as the window system gave it, 0 when
    // unknown); false when the release is not a click on the table (the method took it as a
    // switch or to leave the intro screen, or a tremor filter ignored it).
    void mouseDown(quint64 timestamp = 0);
    bool mouseUp(quint64 timestamp = 0);
    void mouseMove(QPoint point);
    void mouseLeft();

    // A key is about to give its output, and has given it.
    void beforeActivation();
    void activationDone(int key);
    // A chosen key (a link) gave its output and another table took the place
    // of its own: a pointer resting where the key was chooses on the new
    // table only once it moved away and back (or, when dwells repeat, after
    // a full dwell time).
    void tableReplaced();

    // What auditory scanning says for a highlight: rows counted from 1, a key by its text or,
    // without one, by its number.
    static QString CueText(const ScanController::Highlight& highlight, const QString& keyText);

private:
    enum class Target { None, Switch, Start };
    struct Taken {
        Target target = Target::None;
        ScanController::Switch which = ScanController::Switch::Scan;
    };
    void attach();
    Taken targetOf(const QKeyEvent& event) const;
    bool clickIsSwitch() const;
    void handle(const std::vector<SwitchPresses::Edge>& edges, Taken pressed);
    void switchUp(ScanController::Switch which, qint64 at);
    void forgetPresses();
    int keyAt(QPoint point) const;
    void startTableUnderPointer();
    void onTimer();
    void rearm();
    void paintMark(bool show);
    void afterHighlightMoved(ScanController::Highlight before);
    void speakCue(const ScanController::Highlight& highlight);
    QRect keyRect(int key) const;
    QRect rowRect(int row) const;
    int keyCount() const { return m_items.count(); }
    QRect introPanel() const;
    qint64 now() const { return m_clock->now(); }

    IGridContainer& m_window;
    IAudioOutput& m_audio;
    Hooks m_hooks;
    std::unique_ptr<AccessClock> m_clock;
    AccessOptions m_options;
    const cGriglia* m_grid = nullptr;
    AccessItems m_items;
    std::unique_ptr<ScanController> m_scan;
    std::unique_ptr<DwellController> m_dwell;
    std::unique_ptr<cVoce> m_cue;
    SwitchPresses m_presses;
    // The presses that count, by id, and what they are for.
    std::map<int, Taken> m_taken;
    SwitchFilter m_clickFilter;
    SwitchFilter m_startFilter;
    CanvasOverlay m_overlay;
};
