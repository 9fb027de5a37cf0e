#pragma once

#include "access/AccessClock.h"

#include <QElapsedTimer>
#include <QTimer>

// The real clock of the access methods: a monotonic clock and a precise timer
// of the thread it lives in.
class SteadyClock : public AccessClock {
public:
    SteadyClock();

    qint64 now() const override { return m_clock.elapsed(); }
    void wakeAt(qint64 due) override;
    void cancelWake() override { m_timer.stop(); }

private:
    QElapsedTimer m_clock;
    QTimer m_timer;
};
