#pragma once

#include "grid/GdiColor.h"

#include <QString>

#include <array>
#include <cstdint>

// Font of a caption slot, kept as plain data so that a table can be built without a GUI.
struct CaptionFont {
    QString Name = QStringLiteral("Verdana");
    double Size = 8.0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
};

// One caption of a cell. The communicator never puts text into them.
struct CaptionSlot {
    QString Text;
    CaptionFont Font;
    std::array<std::int32_t, 5> Settings{};
};

// One border line of a cell. The communicator never shows them.
struct BorderSide {
    bool Visible = false;
    std::int32_t Width = 0;
    GdiColor Color = 0;
};

// The record of one cell of the table.
struct GridCell {
    // Index of each border line in Borders.
    enum Side { LeftEdge = 0, TopEdge, RightEdge, BottomEdge, RisingDiagonal, FallingDiagonal, SideCount };

    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::array<CaptionSlot, 8> Captions{};
    // Left, top, right, bottom, then the diagonal from bottom left to top right and the
    // one from top left to bottom right.
    std::array<BorderSide, SideCount> Borders{};
    GdiColor BackColor = 0;
};
