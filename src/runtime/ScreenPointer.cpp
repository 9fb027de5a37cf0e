#include "runtime/ScreenPointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
int g_shape = PointerShape::Default;

Qt::CursorShape CursorFor(int shape) {
    switch (shape) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case PointerShape::Hourglass:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}
} // namespace

int ScreenMousePointer() {
    return g_shape;
}

void SetScreenMousePointer(int shape) {
    g_shape = shape;
    if (shape == PointerShape::Default) {
        while (QGuiApplication::overrideCursor() != nullptr) {
            QGuiApplication::restoreOverrideCursor();
        }
        return;
    }
    if (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::changeOverrideCursor(QCursor(CursorFor(shape)));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(CursorFor(shape)));
    }
}
