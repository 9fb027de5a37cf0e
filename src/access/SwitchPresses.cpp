#include "access/SwitchPresses.h"

#include <algorithm>

qint64 SwitchPresses::placed(quint64 timestamp, qint64 now, bool* queued) {
    const std::optional<qint64> at = m_timeline.happenedAt(timestamp, now);
    *queued = at && m_outputEnd && *at < *m_outputEnd;
    if (!*queued) {
        m_timeline.learn(timestamp, now);
    }
    return at.value_or(now);
}

std::vector<SwitchPresses::Edge> SwitchPresses::press(int id, quint64 timestamp, bool flaggedRepeat,
                                                      qint64 now) {
    std::vector<Edge> edges;
    const auto it = m_held.find(id);
    if (it != m_held.end() && it->second.release) {
        const Release& r = *it->second.release;
        const bool repeat = timestamp != 0 && r.timestamp != 0 ? timestamp == r.timestamp : now < r.due;
        if (repeat) {
            it->second.release.reset();
        }
    }
    takeDue(now, edges);
    if (const auto again = m_held.find(id); again != m_held.end() && again->second.release) {
        // Pressed again with a timestamp of its own: the release before was real.
        end(again, edges);
    }
    if (m_held.contains(id)) {
        // Still down: a repeat, flagged or not.
        return edges;
    }
    bool queued = false;
    const qint64 at = placed(timestamp, now, &queued);
    // A repeat whose release was already taken as real: the key is still down.
    const bool lateRepeat = timestamp != 0 && m_lastRelease.contains(id) && m_lastRelease[id] == timestamp;
    const bool counts = !flaggedRepeat && !lateRepeat && !queued;
    m_held[id] = Held{counts, std::nullopt};
    if (counts) {
        edges.push_back({id, true, at});
    }
    return edges;
}

std::vector<SwitchPresses::Edge> SwitchPresses::release(int id, quint64 timestamp, bool flaggedRepeat,
                                                        bool repeats, qint64 now) {
    std::vector<Edge> edges;
    takeDue(now, edges);
    const auto it = m_held.find(id);
    // Qt flags a release when it saw the press that follows.
    if (it == m_held.end() || it->second.release || flaggedRepeat) {
        return edges;
    }
    bool queued = false;
    const qint64 at = placed(timestamp, now, &queued);
    it->second.release = Release{at, timestamp, now + RepeatWindowMs};
    if (!repeats || timestamp == 0) {
        end(it, edges);
    }
    return edges;
}

std::vector<SwitchPresses::Edge> SwitchPresses::tick(qint64 now) {
    std::vector<Edge> edges;
    takeDue(now, edges);
    return edges;
}

std::optional<qint64> SwitchPresses::deadline() const {
    std::optional<qint64> due;
    for (const auto& [id, held] : m_held) {
        if (held.release && (!due || held.release->due < *due)) {
            due = held.release->due;
        }
    }
    return due;
}

void SwitchPresses::takeDue(qint64 now, std::vector<Edge>& edges) {
    std::vector<int> due;
    for (const auto& [id, held] : m_held) {
        if (held.release && held.release->due <= now) {
            due.push_back(id);
        }
    }
    // In the order they happened.
    std::sort(due.begin(), due.end(),
              [this](int a, int b) { return m_held[a].release->at < m_held[b].release->at; });
    for (const int id : due) {
        end(m_held.find(id), edges);
    }
}

void SwitchPresses::end(std::map<int, Held>::iterator it, std::vector<Edge>& edges) {
    const Release r = *it->second.release;
    m_lastRelease[it->first] = r.timestamp;
    if (it->second.counts) {
        edges.push_back({it->first, false, r.at});
    }
    m_held.erase(it);
}
