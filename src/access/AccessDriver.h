#pragma once

#include "access/AccessOptions.h"
#include "access/CanvasOverlay.h"
#include "access/DwellController.h"
#include "access/ScanController.h"
#include "access/SwitchFilter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class IAudioOutput;
class IGridContainer;
class QKeyEvent;
class cGriglia;
class cVoce;

// Brings the access methods to the runtime window: turns its keys, clicks
// and pointer moves into calls of the scan and dwell rules, keeps their timer,
// draws the highlight and the dwell progress over the table, and speaks the
// quiet cues of auditory scanning. With the method "Clic" and no filters it
// takes nothing, draws nothing and runs no timer.
class AccessDriver : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Chooses the cell of a key exactly as a click on it would.
        std::function<void(int key)> choose;
        // Starts the table, as Enter on the intro screen does.
        std::function<void()> startTable;
        // The text a key speaks, empty when the layout speaks none.
        std::function<QString(int key)> keyText;
    };

    AccessDriver(IGridContainer& window, IAudioOutput& audio, Hooks hooks, QObject* parent = nullptr);
    ~AccessDriver() override;

    const AccessOptions& options() const { return m_options; }
    void setOptions(const AccessOptions& options);

    // A table of `keyCount` keys in `columns` columns is shown on `grid`, or none (nullptr).
    void setTable(const cGriglia* grid, int keyCount, int columns);
    // The canvas was drawn afresh: the mark goes on it again.
    void canvasRebuilt();

    // Keys the method takes (true: the window must not act on it).
    bool keyDown(const QKeyEvent& event);
    bool keyUp(const QKeyEvent& event);
    // A mouse button went down or up; false when the release is not a click
    // (the method took it as a switch, or a tremor filter ignored it).
    void mouseDown();
    bool mouseUp();
    void mouseMove(QPoint point);
    void mouseLeft();

    // A key is about to give its output, and has given it.
    void beforeActivation();
    void activationDone(int key);

private:
    enum class Target { None, Switch, Start };
    Target targetOf(const QKeyEvent& event, ScanController::Switch* which) const;
    void onTimer();
    void rearm();
    void paintMark(bool show);
    void afterHighlightMoved(ScanController::Highlight before);
    void speakCue(const ScanController::Highlight& highlight);
    QRect keyRect(int key) const;
    QRect rowRect(int row) const;
    qint64 now() const { return m_clock.elapsed(); }

    IGridContainer& m_window;
    IAudioOutput& m_audio;
    Hooks m_hooks;
    AccessOptions m_options;
    const cGriglia* m_grid = nullptr;
    int m_keyCount = 0;
    int m_columns = 1;
    std::unique_ptr<ScanController> m_scan;
    std::unique_ptr<DwellController> m_dwell;
    std::unique_ptr<cVoce> m_cue;
    SwitchFilter m_clickFilter;
    SwitchFilter m_startFilter;
    CanvasOverlay m_overlay;
    QElapsedTimer m_clock;
    QTimer m_timer;
};
