#include "runtime/ClassicKeys.h"

#include <QKeyEvent>

int ClassicKeys::KeyAscii(const QKeyEvent& event) {
    const int ch = event.text().isEmpty() ? 0 : event.text().at(0).unicode();
    if (ch == 0 && (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)) {
        return 13;
    }
    if (ch == 0 && event.key() == Qt::Key_Escape) {
        return 27;
    }
    return ch;
}

bool ClassicKeys::IsBoardEditorGesture(const QKeyEvent& event) {
    return event.key() == Qt::Key_M && ShiftMask(event.modifiers()) == 3 && !event.isAutoRepeat();
}

int ClassicKeys::KeyCode(int qtKey) {
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
        return 112 + (qtKey - Qt::Key_F1);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return 65 + (qtKey - Qt::Key_A);
    }
    return 0;
}

int ClassicKeys::ShiftMask(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) | (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}
