#pragma once

#include <Qt>

class QKeyEvent;

// The runtime window's keys as the classic key events gave them.
namespace ClassicKeys {
// The typed character of a key press, 13 for Enter and 27 for Esc; 0 for none.
int KeyAscii(const QKeyEvent& event);
// Ctrl+Shift+M, which opens the board editor. It acts on the press: X11 gives
// that press Enter's character (Ctrl+M), and the modifiers may be let go before the M.
bool IsBoardEditorGesture(const QKeyEvent& event);
// The key code of a release: 112 to 123 for F1 to F12, 65 to 90 for the
// letters, 0 for the keys the window does not react to on release.
int KeyCode(int qtKey);
// The modifier mask of a key release: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftMask(Qt::KeyboardModifiers modifiers);
} // namespace ClassicKeys
