#pragma once

#include "access/EventTimeline.h"

#include <QtGlobal>

#include <map>
#include <optional>
#include <vector>

// The presses and releases of keys and buttons as the user made them:
// - a key held down is one press until its real release. X11 repeats a held
//   key as pairs of a release and a press with one timestamp, and Qt flags
//   only some of them: so a release is believed once no press of the same key
//   and timestamp followed within RepeatWindowMs, and a press while the key is
//   down counts for nothing;
// - a press made while a key's output played was queued while the interface
//   thread was busy and arrives afterwards: by its timestamp it is known and
//   dropped, with its release.
// Ids name keys and buttons (Qt key codes, a negative number for a button);
// times are milliseconds of the access methods' clock.
class SwitchPresses {
public:
    static constexpr int RepeatWindowMs = 50;

    // A press that counts began, or a counted press ended (`down` false), at `at`.
    struct Edge {
        int id;
        bool down;
        qint64 at;
    };

    // A press delivered now: its edge, after those of releases that became real by now.
    std::vector<Edge> press(int id, quint64 timestamp, bool flaggedRepeat, qint64 now);
    // A release delivered now. `repeats`: the device repeats when held (keys do, buttons do not);
    // such a release waits for tick() unless its timestamp is unknown.
    std::vector<Edge> release(int id, quint64 timestamp, bool flaggedRepeat, bool repeats, qint64 now);
    // The releases that became real by now.
    std::vector<Edge> tick(qint64 now);
    // When the next waiting release becomes real.
    std::optional<qint64> deadline() const;
    // A key's output ended now: presses made before, delivered from now on, are dropped.
    void outputEnded(qint64 now) { m_outputEnd = now; }

private:
    struct Release {
        qint64 at;
        quint64 timestamp;
        qint64 due;
    };
    struct Held {
        bool counts = true;
        std::optional<Release> release;
    };

    // When the event happened; *queued when that was before the last output ended.
    qint64 placed(quint64 timestamp, qint64 now, bool* queued);
    void takeDue(qint64 now, std::vector<Edge>& edges);
    void end(std::map<int, Held>::iterator it, std::vector<Edge>& edges);

    std::map<int, Held> m_held;
    // The timestamp of each id's last release, to know a repeat that came too late.
    std::map<int, quint64> m_lastRelease;
    EventTimeline m_timeline;
    std::optional<qint64> m_outputEnd;
};
