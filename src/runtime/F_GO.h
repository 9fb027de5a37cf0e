#pragma once

#include "config/LayoutData.h"
#include "grid/IGridContainer.h"
#include "runtime/KeyActivation.h"
#include "runtime/LayoutSwitcher.h"
#include "runtime/RepaintingMessages.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class AccessDriver;
class IAudioOutput;
class IFilePicker;
class IMessages;
class IRuntimeWindows;
class ISpeechEngineSource;
class EdgeController;
class cGriglia;

// The runtime window: borderless and covering the screen, with two faces on
// one surface, the intro screen and the table of the active layout. A click
// on a key frames it in blue, plays its sound and speaks its text; the
// keyboard starts and leaves the table, switches layouts and opens the other
// windows.
//
// Everything is drawn into a canvas image of the client size; the widget only
// shows it. The canvas is rebuilt (Form_Paint) when the table starts, when
// the intro comes back, after a message box or another window closed over the
// window, and when the window is exposed; in between, the frame of the chosen
// key lives only on the canvas.
class F_GO : public QWidget, public IGridContainer {
    Q_OBJECT
public:
    // Everything the window talks through; all must outlive the window.
    struct Services {
        IMessages& messages;
        IFilePicker& picker;
        IAudioOutput& audio;
        IRuntimeWindows& windows;
        // The voice asked of the speech object (an Italian one unless told otherwise).
        QString voiceAttributes = DefaultVoiceAttributes();
        // Rewrites the default files when cfg.ini is damaged; false when that
        // failed (start-up has then told the user and ends the program).
        std::function<bool()> repairConfiguration = nullptr;
        // Where the speech engines come from; nullptr: this computer's.
        ISpeechEngineSource* speechEngines = nullptr;
    };
    static QString DefaultVoiceAttributes();

    // Creates the window and runs its load; it is not shown yet.
    F_GO(const QString& programFolder, Services services, QWidget* parent = nullptr);
    ~F_GO() override;

    // Covers the screen and shows the window.
    void ShowFullScreen();

    void Form_Paint();
    void StartTable();
    void ShowIntro();
    void ReadActivePath();
    void DrawPictures();
    int KeyIndex(std::int32_t r, std::int32_t c) const;
    // A key of the table was chosen (by any method) and its frame drawn:
    // its output, then the layout it opens; true when that table is shown.
    bool KeyChosen(int k);
    // Shows the layout of function key 1 to 12, or the one at `path`, and
    // makes it the active one.
    void SwitchLayout(int functionKey);
    void SwitchToLayout(const QString& path);
    // Typed characters: 13 Enter, 27 Esc.
    void Form_KeyPress(int keyAscii);
    // Key releases with the classic key codes and the shift mask (1 Shift, 2 Ctrl, 4 Alt).
    void Form_KeyUp(int keyCode, int shift);
    // A picture of the window as shown now, also put on the clipboard.
    QImage CaptureWindow();

    bool TableActive() const { return m_tableActive; }
    const LayoutData& Layout() const { return m_switcher.Layout(); }
    const LayoutSwitcher& Switcher() const { return m_switcher; }
    const KeyActivation& Activation() const { return m_activation; }
    qint16 SequencePos() const { return m_activation.SequencePos(); }
    cGriglia* Grid() const { return cG.get(); }
    GdiColor BackColor() const { return m_backColor; }

    // IGridContainer
    QImage& canvas() override;
    int clientWidth() const override { return width(); }
    int clientHeight() const override { return height(); }
    QPoint cursorPos() const override;
    void setBackColor(GdiColor color) override { m_backColor = color; }
    void showCanvas(const QRect& changed) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void cG_Click(std::int32_t r, std::int32_t c, std::int32_t X, std::int32_t Y, std::int32_t rPrevious,
                  std::int32_t cPrevious);
    // Shows the table of the layout a switch loaded, or the intro when it
    // failed; true when a new table is shown.
    bool ShowSwitchResult(LayoutSwitcher::Result result);
    void ReleaseGrid();
    void OpenAccessOptions();
    void ChooseKey(int key);
    // An item of the access methods: a key, or an item around the table.
    void ChooseItem(int item);
    void AttachAccess();
    void RebuildCanvas();
    // Shows a modal window of the program, then paints the window afresh.
    template <typename Open> void RunModal(Open open);
    void ShowActivationError(const QString& description);

    QString m_programFolder;
    Services m_services;
    RepaintingMessages m_messages;

    LayoutSwitcher m_switcher;
    KeyActivation m_activation;
    std::unique_ptr<cGriglia> cG;
    // Dwell, scanning and arrows; with the method "Clic" it takes nothing.
    std::unique_ptr<AccessDriver> m_access;
    // The message bar, the strip of the function keys' layouts and the phrases view.
    std::unique_ptr<EdgeController> m_edges;
    // Counts the access methods' attachments: an item that re-attached them reports no item done.
    int m_attachments = 0;

    bool m_tableActive = false;
    bool m_loaded = false;
    bool m_pressed = false;
    bool m_exposeWatched = false;
    bool m_voceScheduled = false;
    QImage m_canvas;
    GdiColor m_backColor;
};
