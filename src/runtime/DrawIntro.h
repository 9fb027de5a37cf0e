#pragma once

#include "grid/GdiColor.h"

#include <QRect>
#include <QString>

class QImage;

// The intro screen's colours (0x00BBGGRR).
namespace IntroColor {
constexpr GdiColor Band = 0xFF7300; // blue bands
constexpr GdiColor Box = 0xAA1FC0;  // purple border of the description box
constexpr GdiColor Black = 0x000000;
constexpr GdiColor White = 0xFFFFFF;
constexpr GdiColor LayoutName = 0xFF0000; // "Layout attivo" line
constexpr GdiColor EmblemKey = 0x397BFF;  // left out of bitmaps 103 and 104, RGB(255, 123, 57)
} // namespace IntroColor

// Paints the whole intro screen on the canvas: cleared to the window's back
// colour, decorations from the program's bitmaps, credits, the description
// box with its prompt and the name of the active layout. Every position and
// font size is a proportion of the canvas, so the page scales with the screen.
void DrawIntro(QImage& canvas, GdiColor backColor, const QString& activeLayoutPath);
// The description box with its prompt on an intro screen of w x h pixels: a
// dwell there goes on to the table.
QRect IntroPanel(int w, int h);
