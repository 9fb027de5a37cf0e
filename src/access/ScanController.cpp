#include "access/ScanController.h"

#include <algorithm>

namespace {
using Method = AccessOptions::Method;
} // namespace

namespace {
std::vector<int> EvenRows(int keyCount, int columns) {
    const int keys = std::max(keyCount, 1);
    const int width = std::clamp(columns, 1, keys);
    std::vector<int> rows;
    for (int left = keys; left > 0; left -= width) {
        rows.push_back(std::min(left, width));
    }
    return rows;
}
} // namespace

ScanController::ScanController(const AccessOptions& options, int keyCount, int columns)
    : ScanController(options, EvenRows(keyCount, columns)) {}

ScanController::ScanController(const AccessOptions& options, const std::vector<int>& rows)
    : m_options(options), m_filters{SwitchFilter(options.acceptanceMs, options.repeatDelayMs),
                                    SwitchFilter(options.acceptanceMs, options.repeatDelayMs),
                                    SwitchFilter(options.acceptanceMs, options.repeatDelayMs),
                                    SwitchFilter(options.acceptanceMs, options.repeatDelayMs),
                                    SwitchFilter(options.acceptanceMs, options.repeatDelayMs),
                                    SwitchFilter(options.acceptanceMs, options.repeatDelayMs)} {
    for (const int length : rows) {
        if (length > 0) {
            m_rowStarts.push_back(m_keyCount);
            m_keyCount += length;
        }
    }
    if (m_rowStarts.empty()) {
        m_rowStarts.push_back(0);
        m_keyCount = 1;
    }
    m_rowStarts.push_back(m_keyCount);
}

int ScanController::rowCount() const {
    return int(m_rowStarts.size()) - 1;
}

int ScanController::keysInRow(int row) const {
    return rowStart(row + 1) - rowStart(row);
}

int ScanController::rowOf(int index) const {
    const auto after = std::upper_bound(m_rowStarts.begin(), m_rowStarts.end(), index);
    return std::clamp(int(after - m_rowStarts.begin()) - 1, 0, rowCount() - 1);
}

// The arrows move over the table itself; a single row needs no row step.
bool ScanController::rowsFirst() const {
    return m_options.method != Method::Arrows && m_options.order == AccessOptions::Order::RowColumn &&
           rowCount() > 1;
}

int ScanController::itemCount() const {
    return m_phase == Phase::Rows ? rowCount() : m_count;
}

void ScanController::start(qint64 now) {
    m_rounds = 0;
    if (rowsFirst()) {
        enterRows(0, now);
    } else {
        enterKeys(0, m_keyCount, 0, now);
    }
}

void ScanController::enterRows(int row, qint64 now) {
    m_phase = Phase::Rows;
    m_position = row;
    m_itemStart = now;
}

void ScanController::enterKeys(int first, int count, int position, qint64 now) {
    m_phase = Phase::Keys;
    m_first = first;
    m_count = count;
    m_position = position;
    m_itemStart = now;
}

qint64 ScanController::itemDuration() const {
    const qint64 interval = m_options.scanIntervalMs;
    return m_position == 0 ? interval * m_options.firstItemPercent / 100 : interval;
}

std::optional<qint64> ScanController::deadline() const {
    const bool held =
        std::any_of(m_filters.begin(), m_filters.end(), [](const SwitchFilter& f) { return f.held(); });
    if (m_options.method != Method::AutoScan || held || (m_phase != Phase::Rows && m_phase != Phase::Keys)) {
        return std::nullopt;
    }
    return m_itemStart + itemDuration();
}

void ScanController::tick(qint64 now) {
    std::optional<qint64> due = deadline();
    while (due && now >= *due) {
        // The next item starts when this one was due, so late wake-ups do not
        // add up; after a long stall it starts now.
        advance(now - *due < m_options.scanIntervalMs ? *due : now);
        due = deadline();
    }
}

void ScanController::advance(qint64 itemStart) {
    m_itemStart = itemStart;
    if (++m_position < itemCount()) {
        return;
    }
    m_position = 0;
    const bool withinRow = m_phase == Phase::Keys && rowsFirst();
    if (withinRow) {
        // Nothing chosen in this row: back to the rows, at the row after it.
        enterRows((rowOf(m_first) + 1) % rowCount(), itemStart);
        return;
    }
    if (m_options.method == Method::AutoScan && ++m_rounds >= m_options.scanRounds) {
        m_phase = Phase::Stopped;
    }
}

ScanController::Highlight ScanController::highlight() const {
    switch (m_phase) {
    case Phase::Rows:
        return {Highlight::Kind::Row, m_position};
    case Phase::Keys:
        return {Highlight::Kind::Key, m_first + m_position + 1};
    default:
        return {};
    }
}

void ScanController::switchDown(Switch which, qint64 now) {
    m_filters[size_t(which)].press(now);
}

void ScanController::cancelPresses() {
    for (SwitchFilter& filter : m_filters) {
        filter.cancel();
    }
}

int ScanController::switchUp(Switch which, qint64 now) {
    // A press too short for the filter changes nothing: the items keep their
    // times, and one whose time ended while it was held gives way at once.
    if (!m_filters[size_t(which)].release(now) || m_phase == Phase::Busy) {
        return 0;
    }
    if (which == Switch::Select || (which == Switch::Scan && m_options.method == Method::AutoScan)) {
        return press(now);
    }
    if (which == Switch::Scan) {
        advance(now);
    } else {
        arrow(which, now);
    }
    return 0;
}

int ScanController::press(qint64 now) {
    m_rounds = 0;
    if (m_phase == Phase::Stopped) {
        start(now);
        return 0;
    }
    if (m_phase == Phase::Rows && keysInRow(m_position) > 1) {
        enterKeys(rowStart(m_position), keysInRow(m_position), 0, now);
        return 0;
    }
    const int key = m_phase == Phase::Rows ? rowStart(m_position) + 1 : m_first + m_position + 1;
    m_phase = Phase::Busy;
    return key;
}

// Up and down keep the column; a shorter row is reached at its last key.
void ScanController::arrow(Switch which, qint64 now) {
    const int index = m_position;
    const int row = rowOf(index);
    const int col = index - rowStart(row);
    int target = index;
    if (which == Switch::Left && col > 0) {
        target = index - 1;
    } else if (which == Switch::Right && col + 1 < keysInRow(row)) {
        target = index + 1;
    } else if (which == Switch::Up && row > 0) {
        target = rowStart(row - 1) + std::min(col, keysInRow(row - 1) - 1);
    } else if (which == Switch::Down && row + 1 < rowCount()) {
        target = rowStart(row + 1) + std::min(col, keysInRow(row + 1) - 1);
    }
    enterKeys(0, m_keyCount, target, now);
}

void ScanController::activationDone(int key, qint64 now) {
    if (key < 1 || key > m_keyCount) {
        start(now);
        return;
    }
    m_rounds = 0;
    const bool stay = m_options.resumeAtSelected || m_options.method == Method::Arrows;
    if (!stay) {
        start(now);
    } else if (rowsFirst()) {
        const int row = rowOf(key - 1);
        enterKeys(rowStart(row), keysInRow(row), key - 1 - rowStart(row), now);
    } else {
        enterKeys(0, m_keyCount, key - 1, now);
    }
}
