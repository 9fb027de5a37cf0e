#pragma once

#include <QRect>

#include <vector>

class cGriglia;

// What the access methods choose among: items numbered from 1 in scanning
// order, each with its place on the canvas, grouped in rows (the table's
// rows, and each group of items around the table as one row of its own).
struct AccessItems {
    std::vector<QRect> rects; // item k at k - 1
    std::vector<int> rows;    // how many items each row holds, in order

    int count() const { return int(rects.size()); }
};

// The keys of a table of `keyCount` keys, `columns` to a row, on `grid`:
// one item a key, in reading order, grouped in the table's rows.
AccessItems TableItems(const cGriglia& grid, int keyCount, int columns);
