#pragma once

#include "grid/GdiColor.h"
#include "grid/GridCell.h"
#include "grid/GridRect.h"

#include <QObject>

#include <cstdint>
#include <vector>

class IGridContainer;

// Row and column of a cell, both counted from 0.
struct CellPos {
    std::int32_t Row = 0;
    std::int32_t Col = 0;

    friend bool operator==(const CellPos&, const CellPos&) = default;
};

// The table laid over the runtime window: one rectangular cell per key, the empty table
// painted on the window's canvas, and clicks turned into cells.
//
// Use: create one grid per layout shown, call Init once with the window, then Refresh on
// every paint of the table. The window forwards its clicks to ContainerClick and its
// pointer moves to ContainerMouseMove; the grid answers with the Click and MouseMove
// signals. Geometry is fixed by Init: a later resize of the window moves no cell.
class cGriglia : public QObject {
    Q_OBJECT
public:
    // A fresh grid: current and previous cell (0, 0), no cells, no container.
    explicit cGriglia(QObject* parent = nullptr);
    ~cGriglia() override;

    cGriglia(const cGriglia&) = delete;
    cGriglia& operator=(const cGriglia&) = delete;

    // Attaches the container, stores the options and builds the cells; draws nothing.
    // Colours are 0x00BBGGRR. The container must outlive the grid. Rows and columns below
    // 1 count as 1, above 256 as 256. Current and previous cell are left as they are.
    void Init(IGridContainer& container, std::int32_t rows, std::int32_t columns, bool showFrames,
              std::int32_t drawWidth, GdiColor backColor, GdiColor gridColor, std::int32_t spacingX,
              std::int32_t spacingY, bool showSelection, GdiColor selectionColor,
              std::int32_t selectionMarginX, std::int32_t selectionMarginY, bool keyUpDisabled,
              bool keyDownDisabled, bool keyPressDisabled, bool mouseMoveDisabled, bool clickDisabled);

    // --- Geometry -------------------------------------------------------------------------
    // Left (which = 1), Top (2), Right (3) or Bottom (4) of a cell; 0 for any other which
    // and for a cell outside the table.
    float CellCoord(std::int32_t r, std::int32_t c, std::int32_t which) const;
    // The whole rectangle of a cell; an empty rectangle outside the table.
    GridRect CellRect(std::int32_t r, std::int32_t c) const;
    float InnerWidth() const;                          // CellWidth - SpacingX
    float InnerHeight() const;                         // CellHeight - SpacingY
    std::int32_t LastRow() const { return m_LastRow; } // rows - 1 once Init has run
    std::int32_t LastCol() const { return m_LastCol; } // columns - 1 once Init has run
    // The cell record, for the options that only the table itself uses (captions, border
    // lines, back colour); nullptr outside the table.
    GridCell* CellAt(std::int32_t r, std::int32_t c);
    const GridCell* CellAt(std::int32_t r, std::int32_t c) const;
    // The first cell, rows outer and columns inner, whose rectangle holds the point with
    // all four bounds inclusive; the current cell when none does.
    CellPos HitTest(std::int32_t x, std::int32_t y) const;

    // --- State ----------------------------------------------------------------------------
    float AreaWidth() const { return m_AreaWidth; }
    float AreaHeight() const { return m_AreaHeight; }
    float CellWidth() const { return m_CellWidth; }
    float CellHeight() const { return m_CellHeight; }
    std::int32_t SpacingX() const { return m_SpacingX; }
    std::int32_t SpacingY() const { return m_SpacingY; }
    std::int32_t DrawWidth() const { return m_DrawWidth; }
    GdiColor BackColor() const { return m_BackColor; }
    GdiColor GridColor() const { return m_GridColor; }
    GdiColor SelectionColor() const { return m_SelectionColor; }
    bool ShowFrames() const { return m_ShowFrames; }
    bool ShowSelection() const { return m_ShowSelection; }
    bool ClickDisabled() const { return m_ClickDisabled; }
    bool MouseMoveDisabled() const { return m_MouseMoveDisabled; }
    bool KeyUpDisabled() const { return m_KeyUpDisabled; }
    bool KeyDownDisabled() const { return m_KeyDownDisabled; }
    bool KeyPressDisabled() const { return m_KeyPressDisabled; }
    std::int32_t CurrentRow() const { return m_CurrentRow; }
    std::int32_t CurrentCol() const { return m_CurrentCol; }
    std::int32_t PreviousRow() const { return m_PreviousRow; }
    std::int32_t PreviousCol() const { return m_PreviousCol; }

    // --- Drawing --------------------------------------------------------------------------
    // Full repaint of the empty table on the container's canvas, then RefreshEvent. It does
    // not ask the window to show the canvas: the window's paint draws the pictures on top
    // and shows the result itself. Does nothing before Init.
    void Refresh();
    // Inverts the dotted outline of the rectangle on the container's canvas and shows it;
    // the same call again restores the pixels.
    void DrawFocusFrame(const GridRect& rect);
    // Draws one rectangle on the window's canvas with a pen (style 0 solid, 1 to 4 dashed
    // when 1 pixel wide, 5 none, 6 inside the frame; width 0 means 1) and a brush (style 0
    // solid, 1 hollow, 2 hatched with hatch 0 to 5), then shows the canvas. A wide pen is
    // centred on the outline, with round corners.
    static void DrawBox(IGridContainer& window, const GridRect& rect, std::int32_t penStyle,
                        std::int32_t penWidth, GdiColor penColor, std::int32_t brushStyle,
                        std::int32_t brushHatch, GdiColor brushColor);

    // --- Input forwarded by the container -----------------------------------------------
    // The window was clicked. The point is read from the container now: hit test, the
    // current cell becomes the previous one, the hit cell the current one, then Click.
    // Ignored before Init and while ClickDisabled.
    void ContainerClick();
    // A cell chosen otherwise than by the pointer (a switch, a dwell): handled
    // as a click at `point`, so it takes exactly the path of a click.
    void ChooseCell(CellPos cell, QPoint point);
    // The pointer moved to (x, y) in client pixels. Button and shift are the masks below.
    // Raises MouseMove with the cell under the rounded point; changes no cell. Ignored
    // before Init and while MouseMoveDisabled.
    void ContainerMouseMove(std::int32_t button, std::int32_t shift, float x, float y);
    // Button mask: 1 left, 2 right, 4 middle. Shift mask: 1 Shift, 2 Ctrl, 4 Alt.
    static std::int32_t ButtonMask(Qt::MouseButtons buttons);
    static std::int32_t ShiftMask(Qt::KeyboardModifiers modifiers);

signals:
    // r, c: the cell now current; X, Y: the click point; rPrevious, cPrevious: the cell
    // current before the click. A click in a gap reports the unchanged current cell.
    void Click(std::int32_t r, std::int32_t c, std::int32_t X, std::int32_t Y, std::int32_t rPrevious,
               std::int32_t cPrevious);
    // Button, Shift, X, Y as the container gave them; r, c: the cell under the point.
    void MouseMove(std::int32_t Button, std::int32_t Shift, float X, float Y, std::int32_t r, std::int32_t c);
    // Raised at the end of every Refresh.
    void RefreshEvent();

private:
    void BuildCells();
    void PaintCells();
    void RepaintPrevious();
    void PaintCaptions();
    void PaintBorders();
    void RememberCurrent();
    bool Contains(std::int32_t r, std::int32_t c) const;

    float m_AreaWidth = 0;
    float m_AreaHeight = 0;
    float m_CellWidth = 0;
    float m_CellHeight = 0;
    std::int32_t m_CurrentRow = 0;
    std::int32_t m_CurrentCol = 0;
    std::int32_t m_LastRow = 0;
    std::int32_t m_LastCol = 0;
    std::vector<GridCell> m_Cells; // row by row, (LastRow + 1) x (LastCol + 1)
    bool m_ShowFrames = false;
    GdiColor m_GridColor = 0;
    GdiColor m_BackColor = 0;
    std::int32_t m_DrawWidth = 0;
    std::int32_t m_SpacingX = 0;
    std::int32_t m_SpacingY = 0;
    std::int32_t m_SelectionMarginX = 0;
    std::int32_t m_SelectionMarginY = 0;
    GdiColor m_SelectionColor = 0;
    std::int32_t m_PreviousRow = 0;
    std::int32_t m_PreviousCol = 0;
    bool m_ShowSelection = false;
    bool m_ClickDisabled = false;
    bool m_KeyUpDisabled = false;
    bool m_KeyDownDisabled = false;
    bool m_KeyPressDisabled = false;
    bool m_MouseMoveDisabled = false;
    IGridContainer* m_Object = nullptr;
};
