#include "grid/TableShape.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace {
constexpr TableShape Shapes[] = {{1, 1, 1},  {2, 1, 2},  {3, 1, 3},  {4, 2, 2},  {6, 2, 3},
                                 {8, 2, 4},  {9, 3, 3},  {10, 2, 5}, {12, 3, 4}, {14, 2, 7},
                                 {15, 3, 5}, {16, 4, 4}, {18, 3, 6}, {20, 4, 5}, {21, 3, 7}};
} // namespace

std::optional<TableShape> TableShapeFor(int keys) {
    const auto* shape = std::find_if(std::begin(Shapes), std::end(Shapes),
                                     [keys](const TableShape& s) { return s.keys == keys; });
    if (shape == std::end(Shapes)) {
        return std::nullopt;
    }
    return *shape;
}

int AllowedKeyCountFor(int keys) {
    const auto* shape = std::find_if(std::begin(Shapes), std::end(Shapes),
                                     [keys](const TableShape& s) { return s.keys >= keys; });
    return shape == std::end(Shapes) ? std::rbegin(Shapes)->keys : shape->keys;
}

QString AllowedKeyCountsText() {
    QStringList counts;
    for (const TableShape& shape : Shapes) {
        counts << QString::number(shape.keys);
    }
    return counts.join(QStringLiteral(", ")) + QLatin1Char('.');
}
