#pragma once

#include "grid/TableShape.h"

#include <QString>

#include <array>

// Everything a layout file holds, as its writers write it. Key k's values
// stand at index k - 1; numbers are the values written (the settings window
// and the installer write only allowed ones).
struct LayoutContent {
    static constexpr int MaxKeys = MaxTableKeys;
    static constexpr int FunctionKeys = 12;

    qint16 KeyCount = 1;
    qint16 Section1On = 1;
    qint16 Section2On = 0;
    qint16 Section3On = 0;
    qint16 ForcedInput = 0;
    std::array<QString, MaxKeys> Sequence;
    QString Bonus;
    std::array<QString, MaxKeys> Pictures;
    std::array<QString, MaxKeys> Sounds;
    std::array<QString, MaxKeys> Texts;
    std::array<QString, FunctionKeys> FunctionKeyLayouts;
    // The layout each key opens when chosen: a path (the same rules as the
    // function keys), LayoutFile::LinkBack, LayoutFile::LinkHome, or empty
    // for an ordinary key. A layout without any link has no link section.
    std::array<QString, MaxKeys> Links;
    // The voice this layout speaks with ("motore:voce", as the voice options
    // write it); empty for the user's own voice. Written only when set.
    QString Voice;
};
