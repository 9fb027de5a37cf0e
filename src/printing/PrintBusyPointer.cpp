#include "printing/PrintBusyPointer.h"

#include <QCursor>
#include <QGuiApplication>

// The application's override pointer stands for the screen pointer: taking
// it back off the stack restores whatever was shown before, which is the
// saved shape.
PrintBusyPointer::~PrintBusyPointer() {
    if (m_overriding) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void PrintBusyPointer::MousePointer(Shape shape) {
    if (shape == Shape::Hourglass) {
        if (!m_overriding) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            m_overriding = true;
        }
        return;
    }
    if (m_overriding) {
        QGuiApplication::restoreOverrideCursor();
        m_overriding = false;
    }
}
