#pragma once

#include <cstdint>

// A rectangle in window pixels as the table keeps it: Left and Top are the first column
// and row, Right and Bottom lie one past the last, as with every GDI-style rectangle here.
struct GridRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    friend bool operator==(const GridRect&, const GridRect&) = default;
};
