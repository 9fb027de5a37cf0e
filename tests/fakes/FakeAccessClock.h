#pragma once

#include "access/AccessClock.h"

#include <QtGlobal>

#include <optional>

// A clock for the access methods that moves only when the test says so.
class FakeAccessClock : public AccessClock {
public:
    qint64 now() const override { return time; }
    void wakeAt(qint64 when) override { due = when; }
    void cancelWake() override { due.reset(); }

    // Time passes up to `t`: every wake-up on the way comes at its own time.
    void runTo(qint64 t) {
        while (due && *due <= t) {
            time = std::max(time, *due);
            due.reset();
            wake();
        }
        time = std::max(time, t);
    }
    // Time passes without a wake-up, as while the interface thread is busy.
    void pass(qint64 ms) { time += ms; }

    qint64 time = 0;
    std::optional<qint64> due;
};
