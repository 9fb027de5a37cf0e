#include "grid/cGriglia.h"

#include "grid/FillBox.h"
#include "grid/GdiRound.h"
#include "grid/GdiShapes.h"
#include "grid/IGridContainer.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

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
// Caption slots 1 to 5 are printed by a repaint; slots 6 to 8 are kept but never shown.
constexpr std::size_t PrintedCaptions = 5;

// Insets and margins are options of any size; their sums are held to the 32-bit range.
std::int32_t Offset(std::int64_t sum) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}
} // namespace

cGriglia::cGriglia(QObject* parent) : QObject(parent) {}

cGriglia::~cGriglia() = default;

void cGriglia::Init(IGridContainer& container, std::int32_t rows, std::int32_t columns, bool showFrames,
                    std::int32_t drawWidth, GdiColor backColor, GdiColor gridColor, std::int32_t spacingX,
                    std::int32_t spacingY, bool showSelection, GdiColor selectionColor,
                    std::int32_t selectionMarginX, std::int32_t selectionMarginY, bool keyUpDisabled,
                    bool keyDownDisabled, bool keyPressDisabled, bool mouseMoveDisabled, bool clickDisabled) {
    m_Object = &container;
    m_AreaWidth = static_cast<float>(container.clientWidth());
    m_AreaHeight = static_cast<float>(container.clientHeight());
    m_LastRow = std::clamp(rows, 1, MaxLines);
    m_LastCol = std::clamp(columns, 1, MaxLines);
    m_ShowFrames = showFrames;
    m_DrawWidth = drawWidth;
    m_BackColor = backColor;
    m_GridColor = gridColor;
    m_SpacingX = spacingX;
    m_SpacingY = spacingY;
    m_ShowSelection = showSelection;
    m_SelectionColor = selectionColor;
    m_SelectionMarginX = selectionMarginX;
    m_SelectionMarginY = selectionMarginY;
    m_KeyUpDisabled = keyUpDisabled;
    m_KeyDownDisabled = keyDownDisabled;
    m_KeyPressDisabled = keyPressDisabled;
    m_MouseMoveDisabled = mouseMoveDisabled;
    m_ClickDisabled = clickDisabled;
    BuildCells();
}

void cGriglia::BuildCells() {
    m_Object->setBackColor(m_BackColor);
    const std::int32_t rows = m_LastRow;
    const std::int32_t columns = m_LastCol;
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
    m_Cells.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), GridCell{});

    const double cw = m_CellWidth;
    const double ch = m_CellHeight;
    double firstLeft = 0;
    double firstTop = 0;
    double offsetX = 0;
    double offsetY = 0;
    // First pass: the horizontal gap at the left of every cell, the vertical gap below it.
    for (std::int32_t r = 0; r <= m_LastRow; ++r) {
        for (std::int32_t c = 0; c <= m_LastCol; ++c) {
            GridCell& cell = *CellAt(r, c);
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
    for (GridCell& cell : m_Cells) {
        cell.Left = RoundHalfEven(cell.Left - offsetX);
        cell.Right = RoundHalfEven(cell.Right - offsetX);
        cell.Top = RoundHalfEven(cell.Top + offsetY);
        cell.Bottom = RoundHalfEven(cell.Bottom + offsetY);
        for (std::size_t side = GridCell::LeftEdge; side <= GridCell::BottomEdge; ++side) {
            cell.Borders[side] = BorderSide{false, 1, 0};
        }
        cell.Borders[GridCell::RisingDiagonal] = BorderSide{false, 0, 0};
        cell.Borders[GridCell::FallingDiagonal] = BorderSide{false, 0, 0};
        cell.BackColor = m_BackColor;
    }
}

bool cGriglia::Contains(std::int32_t r, std::int32_t c) const {
    return !m_Cells.empty() && r >= 0 && r <= m_LastRow && c >= 0 && c <= m_LastCol;
}

GridCell* cGriglia::CellAt(std::int32_t r, std::int32_t c) {
    if (!Contains(r, c)) {
        return nullptr;
    }
    return &m_Cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(m_LastCol + 1) +
                    static_cast<std::size_t>(c)];
}

const GridCell* cGriglia::CellAt(std::int32_t r, std::int32_t c) const {
    return const_cast<cGriglia*>(this)->CellAt(r, c);
}

float cGriglia::CellCoord(std::int32_t r, std::int32_t c, std::int32_t which) const {
    const GridCell* cell = CellAt(r, c);
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
    const GridCell* cell = CellAt(r, c);
    if (cell == nullptr) {
        return {};
    }
    return {cell->Left, cell->Top, cell->Right, cell->Bottom};
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
            const GridCell* cell = CellAt(r, c);
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
    PaintCells();
    RepaintPrevious();
    PaintCaptions();
    PaintBorders();
    RememberCurrent();
    emit RefreshEvent();
}

void cGriglia::PaintCells() {
    // Setting the window's back colour clears it, so the table always starts from a
    // canvas in the grid's own back colour.
    m_Object->setBackColor(m_BackColor);
    QImage& canvas = m_Object->canvas();
    canvas.fill(QColorFromGdiColor(m_BackColor));
    for (const GridCell& cell : m_Cells) {
        // The fill leaves a ring of DrawWidth pixels for the dotted frame.
        const std::int64_t inset = m_DrawWidth;
        FillBox(canvas, Offset(cell.Left + inset), Offset(cell.Top + inset), Offset(cell.Right - inset),
                Offset(cell.Bottom - inset), cell.BackColor);
        if (m_ShowFrames) {
            DrawFocusRect(canvas, {cell.Left, cell.Top, cell.Right, cell.Bottom});
        }
    }
}

void cGriglia::RepaintPrevious() {
    QImage& canvas = m_Object->canvas();
    if (const GridCell* previous = CellAt(m_PreviousRow, m_PreviousCol)) {
        FillBox(canvas, previous->Left, previous->Top, previous->Right, previous->Bottom,
                previous->BackColor);
        if (m_ShowFrames) {
            DrawFocusRect(canvas, {previous->Left, previous->Top, previous->Right, previous->Bottom});
        }
    }
    const GridCell* current = CellAt(m_CurrentRow, m_CurrentCol);
    if (!m_ShowSelection || current == nullptr) {
        return;
    }
    // The highlight keeps clear of the frame, of half of each visible border line and of
    // the selection margins.
    const auto border = [current](GridCell::Side side) {
        const BorderSide& line = current->Borders[side];
        return line.Visible ? std::int64_t{RoundHalfEven(line.Width / 2.0)} : std::int64_t{0};
    };
    const std::int64_t inset = m_DrawWidth;
    FillBox(canvas, Offset(current->Left + inset + border(GridCell::LeftEdge) + m_SelectionMarginX),
            Offset(current->Top + inset + border(GridCell::TopEdge) + m_SelectionMarginY),
            Offset(current->Right - inset - border(GridCell::RightEdge) - m_SelectionMarginX),
            Offset(current->Bottom - inset - border(GridCell::BottomEdge) - m_SelectionMarginY),
            m_SelectionColor);
}

void cGriglia::PaintCaptions() {
    // Empty captions leave no mark, and text needs a GUI application for its fonts.
    const auto hasText = [](const GridCell& cell) {
        return std::any_of(cell.Captions.begin(), cell.Captions.begin() + PrintedCaptions,
                           [](const CaptionSlot& slot) { return !slot.Text.isEmpty(); });
    };
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr ||
        std::none_of(m_Cells.begin(), m_Cells.end(), hasText)) {
        return;
    }
    QPainter painter(&m_Object->canvas());
    painter.setPen(Qt::black);
    for (const GridCell& cell : m_Cells) {
        // Lines are printed one under the other from the cell's top-left corner.
        int y = Offset(std::int64_t{cell.Top} + m_DrawWidth);
        for (std::size_t i = 0; i < PrintedCaptions; ++i) {
            const CaptionSlot& slot = cell.Captions[i];
            if (slot.Text.isEmpty() && i > 0) {
                continue;
            }
            QFont font(slot.Font.Name);
            font.setPointSizeF(std::max(1.0, slot.Font.Size));
            font.setBold(slot.Font.Bold);
            font.setItalic(slot.Font.Italic);
            font.setUnderline(slot.Font.Underline);
            font.setStrikeOut(slot.Font.Strikethrough);
            painter.setFont(font);
            const QFontMetrics metrics(font);
            painter.drawText(Offset(std::int64_t{cell.Left} + m_DrawWidth + 1),
                             Offset(std::int64_t{y} + metrics.ascent()), slot.Text);
            y = Offset(std::int64_t{y} + metrics.height());
        }
    }
}

void cGriglia::PaintBorders() {
    const auto anyVisible = [](const GridCell& cell) {
        return std::any_of(cell.Borders.begin(), cell.Borders.end(),
                           [](const BorderSide& line) { return line.Visible; });
    };
    if (std::none_of(m_Cells.begin(), m_Cells.end(), anyVisible)) {
        return;
    }
    QPainter painter(&m_Object->canvas());
    for (const GridCell& cell : m_Cells) {
        const QPoint topLeft(cell.Left, cell.Top);
        const QPoint topRight(cell.Right, cell.Top);
        const QPoint bottomLeft(cell.Left, cell.Bottom);
        const QPoint bottomRight(cell.Right, cell.Bottom);
        const std::array<std::pair<QPoint, QPoint>, GridCell::SideCount> ends{{
            {topLeft, bottomLeft},
            {topLeft, topRight},
            {topRight, bottomRight},
            {bottomLeft, bottomRight},
            {bottomLeft, topRight},
            {topLeft, bottomRight},
        }};
        for (std::size_t side = 0; side < ends.size(); ++side) {
            const BorderSide& line = cell.Borders[side];
            if (!line.Visible) {
                continue;
            }
            painter.setPen(QPen(QColorFromGdiColor(line.Color), std::clamp(line.Width, 1, 1 << 16),
                                Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawLine(ends[side].first, ends[side].second);
        }
    }
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

void cGriglia::DrawBox(IGridContainer& window, const GridRect& rect, std::int32_t penStyle,
                       std::int32_t penWidth, GdiColor penColor, std::int32_t brushStyle,
                       std::int32_t brushHatch, GdiColor brushColor) {
    DrawGdiRectangle(window.canvas(), rect, GdiPen{penStyle, penWidth, penColor},
                     GdiBrush{brushStyle, brushHatch, brushColor});
    // The pen is centred on the border: half its width falls outside.
    window.showCanvas(ChangedArea(rect, std::max<std::int32_t>(penWidth, 1), window.canvas().size()));
}

void cGriglia::ContainerClick() {
    if (m_Object == nullptr || m_ClickDisabled) {
        return;
    }
    const QPoint point = m_Object->cursorPos();
    ChooseCell(HitTest(point.x(), point.y()), point);
}

void cGriglia::ChooseCell(CellPos cell, QPoint point) {
    if (m_Object == nullptr || m_ClickDisabled || !Contains(cell.Row, cell.Col)) {
        return;
    }
    RememberCurrent();
    m_CurrentRow = cell.Row;
    m_CurrentCol = cell.Col;
    emit Click(m_CurrentRow, m_CurrentCol, point.x(), point.y(), m_PreviousRow, m_PreviousCol);
}

void cGriglia::ContainerMouseMove(std::int32_t button, std::int32_t shift, float x, float y) {
    if (m_Object == nullptr || m_MouseMoveDisabled) {
        return;
    }
    const CellPos hit = HitTest(RoundHalfEven(x), RoundHalfEven(y));
    emit MouseMove(button, shift, x, y, hit.Row, hit.Col);
}

std::int32_t cGriglia::ButtonMask(Qt::MouseButtons buttons) {
    return (buttons.testFlag(Qt::LeftButton) ? 1 : 0) | (buttons.testFlag(Qt::RightButton) ? 2 : 0) |
           (buttons.testFlag(Qt::MiddleButton) ? 4 : 0);
}

std::int32_t cGriglia::ShiftMask(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) | (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}
