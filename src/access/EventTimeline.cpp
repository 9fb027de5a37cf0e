#include "access/EventTimeline.h"

#include <algorithm>
#include <cstdlib>

namespace {
// A difference that moves this far belongs to another time base (the window
// system's counter wrapped, or the events come from elsewhere): start again.
constexpr qint64 NewTimeBaseMs = 60LL * 60 * 1000;
} // namespace

std::optional<qint64> EventTimeline::offset() const {
    if (m_count == 0) {
        return std::nullopt;
    }
    return *std::min_element(m_offsets.begin(), m_offsets.begin() + m_count);
}

std::optional<qint64> EventTimeline::happenedAt(quint64 timestamp, qint64 now) const {
    const std::optional<qint64> known = offset();
    if (timestamp == 0 || !known || std::llabs(now - qint64(timestamp) - *known) > NewTimeBaseMs) {
        return std::nullopt;
    }
    return std::min(now, qint64(timestamp) + *known);
}

void EventTimeline::learn(quint64 timestamp, qint64 now) {
    if (timestamp == 0) {
        return;
    }
    const qint64 delay = now - qint64(timestamp);
    const std::optional<qint64> known = offset();
    if (known && std::llabs(delay - *known) > NewTimeBaseMs) {
        m_count = 0;
        m_next = 0;
    }
    m_offsets[size_t(m_next)] = delay;
    m_next = (m_next + 1) % Kept;
    m_count = std::min(m_count + 1, Kept);
}
