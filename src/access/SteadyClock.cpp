#include "access/SteadyClock.h"

#include <algorithm>
#include <limits>

SteadyClock::SteadyClock() {
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { wake(); });
}

void SteadyClock::wakeAt(qint64 due) {
    m_timer.start(int(std::clamp<qint64>(due - now(), 0, std::numeric_limits<int>::max())));
}
