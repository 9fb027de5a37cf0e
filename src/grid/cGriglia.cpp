#include "grid/cGriglia.h"

#include "grid/GdiRound.h"
#include "grid/GdiShapes.h"
#include "grid/IGridContainer.h"

#include <algorithm>
#include <cstdint>

namespace {
// The area of a canvas of `size` that drawing within `rect` (corners in
// either order), grown by `margin` on every side, may have changed; empty
// when none of it is on the canvas.
QRect ChangedArea(const GridRect& rect, std::int32_t margin, QSize size) {
    const qint64 left = std::max<qint64>(0, qint64(std::min(rect.Left, rect.Right)) - margin);
    const qint64 top = std::max<qint64>(0, qint64(std::min(rect.Top, rect.Bottom)) - margin);
    const qint64 right = std::min<qint64>(size.width(), qint64(std::max(rect.Left, rect.Right)) + margin);
    const qint64 bottom = std::min<qint64>(size.height(), qint64(std::max(rect.Top, rect.Bottom)) + margin);
    if (left >= right || top >= bottom) {
        return {};
    }
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

// Beyond this many rows or columns a table has cells smaller than a pixel on any screen,
// while the cell records would take gigabytes.
constexpr std::int32_t MaxLines = 256;
} // namespace

cGriglia::cGriglia(QObject* parent) : QObject(parent) {}

cGriglia::~cGriglia() = default;

void cGriglia::Init(IGridContainer& container, std::int32_t rows, std::int32_t columns, std::int32_t spacingX,
                    std::int32_t spacingY) {
    Init(container, QRect(0, 0, container.clientWidth(), container.clientHeight()), rows, columns, spacingX,
         spacingY);
}

void cGriglia::Init(IGridContainer& container, const QRect& area, std::int32_t rows, std::int32_t columns,
                    std::int32_t spacingX, std::int32_t spacingY) {
    m_Object = &container;
    m_AreaWidth = static_cast<float>(area.width());
    m_AreaHeight = static_cast<float>(area.height());
    m_SpacingX = spacingX;
    m_SpacingY = spacingY;
    BuildCells(std::clamp(rows, 1, MaxLines), std::clamp(columns, 1, MaxLines));
    for (GridRect& cell : m_Cells) {
        cell.Left += area.left();
        cell.Right += area.left();
        cell.Top += area.top();
        cell.Bottom += area.top();
    }
}

void cGriglia::BuildCells(std::int32_t rows, std::int32_t columns) {
    m_Object->setBackColor(BackColor);
    // Single-precision pitches, as the cell rectangles of every layout were worked out
    // with them; the arithmetic on them runs in double.
    m_CellWidth = static_cast<float>((static_cast<double>(m_AreaWidth) - 1.0) / columns);
    m_CellHeight = static_cast<float>((static_cast<double>(m_AreaHeight) - 1.0) / rows);
    m_LastRow = rows - 1;
    m_LastCol = columns - 1;
    // A cell narrower than its gap would come out inverted: the gap shrinks to the cell
    // size less 20, and to nothing when that is not positive, so tiny cells tile the area.
    if (m_CellHeight < static_cast<float>(m_SpacingY)) {
        m_SpacingY = std::max(0, RoundHalfEven(static_cast<double>(m_CellHeight) - 20.0));
    }
    if (m_CellWidth < static_cast<float>(m_SpacingX)) {
        m_SpacingX = std::max(0, RoundHalfEven(static_cast<double>(m_CellWidth) - 20.0));
    }
    m_Cells.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), GridRect{});

    const double cw = m_CellWidth;
    const double ch = m_CellHeight;
    double firstLeft = 0;
    double firstTop = 0;
    double offsetX = 0;
    double offsetY = 0;
    // First pass: the horizontal gap at the left of every cell, the vertical gap below it.
    for (std::int32_t r = 0; r <= m_LastRow; ++r) {
        for (std::int32_t c = 0; c <= m_LastCol; ++c) {
            GridRect& cell = m_Cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) +
                                     static_cast<std::size_t>(c)];
            cell.Left = RoundHalfEven(c * cw + m_SpacingX);
            cell.Top = RoundHalfEven(r * ch);
            cell.Right = RoundHalfEven((c + 1) * cw);
            cell.Bottom = RoundHalfEven((r + 1) * ch - m_SpacingY);
            if (r == 0 && c == 0) {
                if (m_SpacingX != 0) {
                    firstLeft = cell.Left;
                }
                if (m_SpacingY != 0) {
                    firstTop = cell.Top;
                }
            }
            if (r == 0 && c == m_LastCol && m_SpacingX != 0) {
                offsetX = (m_AreaWidth - (cell.Right - firstLeft)) / 2.0;
            }
            if (r == m_LastRow && c == 0 && m_SpacingY != 0) {
                offsetY = (m_AreaHeight - (cell.Bottom - firstTop)) / 2.0;
            }
        }
    }
    // Second pass: the block goes back towards the middle, left by the horizontal offset
    // and down by the vertical one.
    for (GridRect& cell : m_Cells) {
        cell.Left = RoundHalfEven(cell.Left - offsetX);
        cell.Right = RoundHalfEven(cell.Right - offsetX);
        cell.Top = RoundHalfEven(cell.Top + offsetY);
        cell.Bottom = RoundHalfEven(cell.Bottom + offsetY);
    }
}

const GridRect* cGriglia::CellAt(std::int32_t r, std::int32_t c) const {
    if (m_Cells.empty() || r < 0 || r > m_LastRow || c < 0 || c > m_LastCol) {
        return nullptr;
    }
    return &m_Cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(m_LastCol + 1) +
                    static_cast<std::size_t>(c)];
}

float cGriglia::CellCoord(std::int32_t r, std::int32_t c, std::int32_t which) const {
    const GridRect* cell = CellAt(r, c);
    if (cell == nullptr) {
        return 0;
    }
    switch (which) {
    case 1:
        return static_cast<float>(cell->Left);
    case 2:
        return static_cast<float>(cell->Top);
    case 3:
        return static_cast<float>(cell->Right);
    case 4:
        return static_cast<float>(cell->Bottom);
    default:
        return 0;
    }
}

GridRect cGriglia::CellRect(std::int32_t r, std::int32_t c) const {
    const GridRect* cell = CellAt(r, c);
    return cell == nullptr ? GridRect{} : *cell;
}

float cGriglia::InnerWidth() const {
    return m_CellWidth - static_cast<float>(m_SpacingX);
}

float cGriglia::InnerHeight() const {
    return m_CellHeight - static_cast<float>(m_SpacingY);
}

CellPos cGriglia::HitTest(std::int32_t x, std::int32_t y) const {
    for (std::int32_t r = 0; r <= m_LastRow; ++r) {
        for (std::int32_t c = 0; c <= m_LastCol; ++c) {
            const GridRect* cell = CellAt(r, c);
            if (cell != nullptr && cell->Left <= x && x <= cell->Right && cell->Top <= y &&
                y <= cell->Bottom) {
                return {r, c};
            }
        }
    }
    return {m_CurrentRow, m_CurrentCol};
}

void cGriglia::Refresh() {
    if (m_Object == nullptr) {
        return;
    }
    // Setting the window's back colour clears it, so the table always starts from a
    // canvas in the table's own back colour. Every cell shares that colour: the table
    // is the cleared canvas with a dotted frame on every cell.
    m_Object->setBackColor(BackColor);
    QImage& canvas = m_Object->canvas();
    canvas.fill(QColorFromGdiColor(BackColor));
    for (const GridRect& cell : m_Cells) {
        DrawFocusRect(canvas, cell);
    }
    RememberCurrent();
}

void cGriglia::RememberCurrent() {
    m_PreviousRow = m_CurrentRow;
    m_PreviousCol = m_CurrentCol;
}

void cGriglia::DrawFocusFrame(const GridRect& rect) {
    if (m_Object == nullptr) {
        return;
    }
    DrawFocusRect(m_Object->canvas(), rect);
    m_Object->showCanvas(ChangedArea(rect, 0, m_Object->canvas().size()));
}

void cGriglia::DrawBox(IGridContainer& window, const GridRect& rect, std::int32_t penWidth,
                       GdiColor penColor) {
    DrawFrame(window.canvas(), rect, penWidth, penColor);
    // The pen is centred on the border: half its width falls outside.
    window.showCanvas(ChangedArea(rect, std::max<std::int32_t>(penWidth, 1), window.canvas().size()));
}

void cGriglia::ContainerClick() {
    if (m_Object == nullptr) {
        return;
    }
    const QPoint point = m_Object->cursorPos();
    ChooseCell(HitTest(point.x(), point.y()), point);
}

void cGriglia::ChooseCell(CellPos cell, QPoint point) {
    if (m_Object == nullptr || CellAt(cell.Row, cell.Col) == nullptr) {
        return;
    }
    RememberCurrent();
    m_CurrentRow = cell.Row;
    m_CurrentCol = cell.Col;
    emit Click(m_CurrentRow, m_CurrentCol, point.x(), point.y(), m_PreviousRow, m_PreviousCol);
}
