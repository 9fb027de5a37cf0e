#pragma once

#include <QtGlobal>

#include <functional>

// The time of the access methods, and their one wake-up: milliseconds of one
// steady clock. The program uses SteadyClock; a test hands the driver a clock
// it moves itself.
class AccessClock {
public:
    virtual ~AccessClock() = default;

    virtual qint64 now() const = 0;
    // One wake-up when now() has reached `due` (soon, when it already has),
    // instead of any asked for before.
    virtual void wakeAt(qint64 due) = 0;
    virtual void cancelWake() = 0;

    // What a wake-up calls; set once, by the clock's user.
    void setWakeHandler(std::function<void()> handler) { m_handler = std::move(handler); }

protected:
    void wake() const {
        if (m_handler) {
            m_handler();
        }
    }

private:
    std::function<void()> m_handler;
};
