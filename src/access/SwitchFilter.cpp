#include "access/SwitchFilter.h"

void SwitchFilter::press(qint64 now) {
    if (m_acceptedAt && now - *m_acceptedAt < m_repeatDelayMs) {
        m_pressedAt.reset();
        return;
    }
    m_pressedAt = now;
}

bool SwitchFilter::release(qint64 now) {
    if (!m_pressedAt) {
        return false;
    }
    const bool counts = now - *m_pressedAt >= m_acceptanceMs;
    m_pressedAt.reset();
    if (counts) {
        m_acceptedAt = now;
    }
    return counts;
}
