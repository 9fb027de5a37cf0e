#pragma once

#include <QApplication>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers modal windows opened by the code under test: every 20 ms it offers
// the active modal window to the next step; a step returns true when it has
// dealt with the window. Whatever is still open after five seconds is
// closed, so a test fails instead of hanging.
class ModalDriver : public QObject {
public:
    using Step = std::function<bool(QWidget*)>;

    explicit ModalDriver(QList<Step> steps) : m_steps(std::move(steps)) {
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::tick);
        m_timer.start(20);
    }

    bool finished() const { return m_steps.isEmpty(); }

private:
    void tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            return;
        }
        if (!m_steps.isEmpty() && m_steps.first()(modal)) {
            m_steps.removeFirst();
            m_ticks = 0;
            return;
        }
        if (++m_ticks > 250) {
            modal->close();
        }
    }

    QList<Step> m_steps;
    QTimer m_timer;
    int m_ticks = 0;
};
