#pragma once

#include <QtGlobal>

#include <optional>

// The tremor filters of one switch (a key, a mouse button): a press counts
// only when it is held at least `acceptanceMs`, and presses that start less
// than `repeatDelayMs` after an accepted one are ignored. A press is judged
// when it is released; times are milliseconds of one clock.
class SwitchFilter {
public:
    SwitchFilter(int acceptanceMs, int repeatDelayMs)
        : m_acceptanceMs(acceptanceMs), m_repeatDelayMs(repeatDelayMs) {}

    void press(qint64 now);
    // True when the press now released counts.
    bool release(qint64 now);
    // The press held now will not count.
    void cancel() { m_pressedAt.reset(); }
    // A press is held that may still count.
    bool held() const { return m_pressedAt.has_value(); }

private:
    int m_acceptanceMs;
    int m_repeatDelayMs;
    std::optional<qint64> m_pressedAt;
    std::optional<qint64> m_acceptedAt;
};
