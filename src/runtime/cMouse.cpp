#include "runtime/cMouse.h"

#include "runtime/ScreenPointer.h"

cMouse::~cMouse() {
    if (m_savedShape) {
        SetScreenMousePointer(*m_savedShape);
    }
}

int cMouse::MousePointer() const {
    return ScreenMousePointer();
}

void cMouse::SetMousePointer(int shape) {
    if (!m_savedShape) {
        m_savedShape = ScreenMousePointer();
    }
    SetScreenMousePointer(shape);
}
