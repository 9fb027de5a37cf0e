#include "access/DwellController.h"

#include <algorithm>

DwellController::DwellController(const AccessOptions& options) : m_options(options) {}

void DwellController::move(QPoint point, int key, qint64 now) {
    if (m_anchor) {
        const QPoint d = point - *m_anchor;
        const qint64 r = m_options.dwellRadius;
        if (qint64(d.x()) * d.x() + qint64(d.y()) * d.y() <= r * r) {
            return;
        }
    }
    m_anchor = point;
    if (key != m_spentKey) {
        m_spentKey = 0;
    }
    if (key != m_key) {
        m_key = key;
        m_since = now;
    }
}

void DwellController::leave() {
    m_anchor.reset();
    m_key = 0;
    m_spentKey = 0;
}

int DwellController::key() const {
    return m_busy || m_key == m_spentKey ? 0 : m_key;
}

std::optional<qint64> DwellController::deadline() const {
    if (key() == 0) {
        return std::nullopt;
    }
    return m_since + m_options.dwellMs;
}

double DwellController::progress(qint64 now) const {
    if (key() == 0) {
        return 0;
    }
    return std::clamp(double(now - m_since) / m_options.dwellMs, 0.0, 1.0);
}

int DwellController::tick(qint64 now) {
    const std::optional<qint64> due = deadline();
    if (!due || now < *due) {
        return 0;
    }
    m_busy = true;
    return m_key;
}

void DwellController::activationDone(int key, qint64 now) {
    m_busy = false;
    if (key != m_key) {
        return;
    }
    if (m_options.dwellRepeats) {
        m_since = now;
    } else {
        m_spentKey = key;
    }
}
