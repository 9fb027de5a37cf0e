#include "platform/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

WaitCursor::WaitCursor() : m_shown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (m_shown) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

WaitCursor::~WaitCursor() {
    if (m_shown) {
        QGuiApplication::restoreOverrideCursor();
    }
}
