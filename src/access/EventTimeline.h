#pragma once

#include <QtGlobal>

#include <array>
#include <optional>

// Places input events on the access methods' clock by the timestamps the
// window system gives them. An event that waited in the queue while the
// interface thread was busy (a key's sound plays to its end before anything
// else runs) is delivered late, but its timestamp still says when it happened.
//
// The two clocks differ by an offset; the smallest difference between
// delivery time and timestamp over the last events that came in time is that
// offset plus the shortest delivery delay.
class EventTimeline {
public:
    // When an event with `timestamp` (milliseconds of the window system; 0:
    // unknown, as for made-up events) that is delivered `now` happened; never
    // later than now. Nothing when the timestamp says nothing yet.
    std::optional<qint64> happenedAt(quint64 timestamp, qint64 now) const;
    // The event came in time: its delay teaches the offset.
    void learn(quint64 timestamp, qint64 now);

private:
    std::optional<qint64> offset() const;

    static constexpr int Kept = 16;
    std::array<qint64, Kept> m_offsets{};
    int m_count = 0;
    int m_next = 0;
};
