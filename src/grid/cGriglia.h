#pragma once

#include "grid/GdiColor.h"
#include "grid/GridRect.h"

#include <QObject>
#include <QPoint>
#include <QRect>

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
// every paint of the table. The window forwards its clicks to ContainerClick; the grid
// answers with the Click signal. Geometry is fixed by Init: a later resize of the window
// moves no cell.
class cGriglia : public QObject {
    Q_OBJECT
public:
    // The back colour of the table, which Init gives the window too: white.
    static constexpr GdiColor BackColor = 0xFFFFFF;

    // A fresh grid: current and previous cell (0, 0), no cells, no container.
    explicit cGriglia(QObject* parent = nullptr);
    ~cGriglia() override;

    cGriglia(const cGriglia&) = delete;
    cGriglia& operator=(const cGriglia&) = delete;

    // Attaches the container, gives it the table's back colour and builds the cells:
    // `rows` x `columns` of them over the container's client area, spacingX pixels apart
    // side by side and spacingY pixels apart one above the other, the block centred.
    // Draws nothing. The container must outlive the grid. Rows and columns below 1 count
    // as 1, above 256 as 256. Current and previous cell are left as they are.
    void Init(IGridContainer& container, std::int32_t rows, std::int32_t columns, std::int32_t spacingX,
              std::int32_t spacingY);
    // The same over `area` of the client area only: the cells come out as on a
    // client area of that size, moved to the area's place.
    void Init(IGridContainer& container, const QRect& area, std::int32_t rows, std::int32_t columns,
              std::int32_t spacingX, std::int32_t spacingY);

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
    // The gaps between cells: those given to Init, or less where cells are smaller.
    std::int32_t SpacingX() const { return m_SpacingX; }
    std::int32_t SpacingY() const { return m_SpacingY; }
    // The first cell, rows outer and columns inner, whose rectangle holds the point with
    // all four bounds inclusive; the current cell when none does.
    CellPos HitTest(std::int32_t x, std::int32_t y) const;

    // --- Drawing --------------------------------------------------------------------------
    // Full repaint of the empty table on the container's canvas: cleared to the back colour,
    // a dotted frame on every cell. The previous cell becomes the current one: the frame of
    // a chosen key is gone. It does not ask the window to show the canvas: the window's
    // paint draws the pictures on top and shows the result itself. Does nothing before Init.
    void Refresh();
    // Inverts the dotted outline of the rectangle on the container's canvas and shows it;
    // the same call again restores the pixels.
    void DrawFocusFrame(const GridRect& rect);
    // Draws the outline of the rectangle on the window's canvas with a solid pen of
    // `penWidth` pixels (0 means 1), centred on the outline, with round corners, and leaves
    // the inside as it is; then shows the changed area.
    static void DrawBox(IGridContainer& window, const GridRect& rect, std::int32_t penWidth,
                        GdiColor penColor);

    // --- Input forwarded by the container -----------------------------------------------
    // The window was clicked. The point is read from the container now: hit test, the
    // current cell becomes the previous one, the hit cell the current one, then Click.
    // Ignored before Init.
    void ContainerClick();
    // A cell chosen otherwise than by the pointer (a switch, a dwell): handled
    // as a click at `point`, so it takes exactly the path of a click.
    void ChooseCell(CellPos cell, QPoint point);

signals:
    // r, c: the cell now current; X, Y: the click point; rPrevious, cPrevious: the cell
    // current before the click. A click in a gap reports the unchanged current cell.
    void Click(std::int32_t r, std::int32_t c, std::int32_t X, std::int32_t Y, std::int32_t rPrevious,
               std::int32_t cPrevious);

private:
    void BuildCells(std::int32_t rows, std::int32_t columns);
    void RememberCurrent();
    const GridRect* CellAt(std::int32_t r, std::int32_t c) const;

    float m_AreaWidth = 0;
    float m_AreaHeight = 0;
    float m_CellWidth = 0;
    float m_CellHeight = 0;
    std::int32_t m_CurrentRow = 0;
    std::int32_t m_CurrentCol = 0;
    std::int32_t m_LastRow = 0;
    std::int32_t m_LastCol = 0;
    std::vector<GridRect> m_Cells; // row by row, (LastRow + 1) x (LastCol + 1)
    std::int32_t m_SpacingX = 0;
    std::int32_t m_SpacingY = 0;
    std::int32_t m_PreviousRow = 0;
    std::int32_t m_PreviousCol = 0;
    IGridContainer* m_Object = nullptr;
};
