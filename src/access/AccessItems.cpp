#include "access/AccessItems.h"

#include "grid/cGriglia.h"

#include <algorithm>

AccessItems TableItems(const cGriglia& grid, int keyCount, int columns) {
    AccessItems items;
    const int width = std::max(columns, 1);
    for (int k = 0; k < keyCount; ++k) {
        const GridRect cell = grid.CellRect(k / width, k % width);
        items.rects.emplace_back(QPoint(cell.Left, cell.Top), QPoint(cell.Right, cell.Bottom));
    }
    for (int left = keyCount; left > 0; left -= width) {
        items.rows.push_back(std::min(left, width));
    }
    return items;
}
