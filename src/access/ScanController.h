#pragma once

#include "access/AccessOptions.h"
#include "access/SwitchFilter.h"

#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

// The rules of choosing keys with switches: one-switch automatic scanning,
// two-switch step scanning and the arrow keys. It knows no window and no
// real time: it is told the presses and releases of the switches and the
// time (milliseconds of one clock), and says what is highlighted, which key
// is chosen, and when it wants to be woken up next (deadline()).
//
// Keys are numbered from 1 row by row; every row has `columns` keys but the
// last, which may be shorter. A row with one key is chosen as that key.
class ScanController {
public:
    enum class Switch { Scan, Select, Up, Down, Left, Right };
    struct Highlight {
        enum class Kind { None, Row, Key };
        Kind kind = Kind::None;
        int index = 0; // row from 0, or key from 1

        friend bool operator==(const Highlight&, const Highlight&) = default;
    };

    ScanController(const AccessOptions& options, int keyCount, int columns);
    // Rows of the lengths given, in order (the table's rows and the groups around it).
    ScanController(const AccessOptions& options, const std::vector<int>& rows);

    // The table is shown: the scan begins at its first item.
    void start(qint64 now);
    void switchDown(Switch which, qint64 now);
    // The switch went up; the key it chose (from 1), or 0. Until
    // activationDone() nothing moves. While a switch is held the highlight
    // stays where the press found it.
    int switchUp(Switch which, qint64 now);
    // The switches held now will count for nothing when released.
    void cancelPresses();
    // The automatic scan moves on when its time has come.
    void tick(qint64 now);
    // When tick() has something to do; nothing while the scan waits.
    std::optional<qint64> deadline() const;
    Highlight highlight() const;
    // The chosen key's output has ended (the key was chosen by a switch or otherwise).
    void activationDone(int key, qint64 now);

private:
    enum class Phase { Rows, Keys, Stopped, Busy };

    int rowCount() const;
    int keysInRow(int row) const;
    int rowStart(int row) const { return m_rowStarts[size_t(row)]; }
    int rowOf(int index) const;
    int itemCount() const;
    bool rowsFirst() const;
    void enterRows(int row, qint64 now);
    void enterKeys(int first, int count, int position, qint64 now);
    void advance(qint64 itemStart);
    int press(qint64 now);
    void arrow(Switch which, qint64 now);
    qint64 itemDuration() const;

    AccessOptions m_options;
    int m_keyCount = 0;
    // The first key of every row (from 0), and the key count at the end.
    std::vector<int> m_rowStarts;
    Phase m_phase = Phase::Stopped;
    int m_first = 0; // first key of the keys scanned (from 0)
    int m_count = 0; // keys scanned
    int m_position = 0;
    int m_rounds = 0;
    qint64 m_itemStart = 0;
    std::array<SwitchFilter, 6> m_filters;
};
