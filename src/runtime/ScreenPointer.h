#pragma once

// The screen-wide pointer shape, one value for the whole program, with the
// classic pointer codes: 0 default, 1 arrow, 2 cross, 3 I-beam, 11 hourglass,
// 12 no drop, 13 arrow and hourglass, 14 arrow and question mark.
// It is shown through Qt's override cursor, kept at most one deep.
int ScreenMousePointer();
void SetScreenMousePointer(int shape);

namespace PointerShape {
constexpr int Default = 0;
constexpr int Hourglass = 11;
} // namespace PointerShape
