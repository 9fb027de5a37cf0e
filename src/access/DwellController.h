#pragma once

#include "access/AccessOptions.h"

#include <QPoint>
#include <QtGlobal>

#include <optional>

// Choosing a key by resting the pointer on it. It knows no window and no
// real time: it is told where the pointer is (and over which key) and the
// time in milliseconds, and says which key is being dwelt on, how far the
// dwell has come and when it ends.
//
// Moves within the jitter radius of the point where the pointer settled
// change nothing, even across a key's edge. After a key was chosen, the
// pointer must leave it and come back, or (when the options ask for it) rest
// a full new dwell time, to choose it again.
class DwellController {
public:
    explicit DwellController(const AccessOptions& options);

    // The pointer is at `point`, over `key` (from 1; 0 over no key).
    void move(QPoint point, int key, qint64 now);
    // The pointer left the table.
    void leave();
    // The key whose dwell has ended now, or 0. Until activationDone() no other dwell runs.
    int tick(qint64 now);
    std::optional<qint64> deadline() const;
    // The key being dwelt on, or 0.
    int key() const;
    // How far the dwell on key() has come, from 0 to 1.
    double progress(qint64 now) const;
    // A key's output has ended (chosen by dwell or by a click).
    void activationDone(int key, qint64 now);

private:
    AccessOptions m_options;
    std::optional<QPoint> m_anchor;
    int m_key = 0;
    int m_spentKey = 0;
    qint64 m_since = 0;
    bool m_busy = false;
};
