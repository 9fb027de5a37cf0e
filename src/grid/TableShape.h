#pragma once

#include <QString>

#include <optional>

// Rows and columns of the table for a layout's key count: the table, the
// board export and the board import all lay keys out the same way.
struct TableShape {
    int keys;
    int rows;
    int columns;
};

// The most keys a table holds.
inline constexpr int MaxTableKeys = 21;

// The shape of the table with exactly `keys` keys; nothing when the count is
// not one a layout may have.
std::optional<TableShape> TableShapeFor(int keys);

// The smallest count a layout may have that holds `keys` keys (21 at most).
int AllowedKeyCountFor(int keys);

// Every count a layout may have, as the messages list them: "1, 2, 3, ..., 21."
QString AllowedKeyCountsText();
