#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Converts a fractional coordinate to a whole pixel: nearest integer, halves to the even
// neighbour (4.5 gives 4, 5.5 gives 6). Cell rectangles depend on it to the pixel, so it
// does not rely on the floating-point environment's rounding mode. Values beyond the
// 32-bit range are clamped, NaN gives 0.
inline std::int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (value <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    const double below = std::floor(value);
    const double fraction = value - below;
    double result = below;
    if (fraction > 0.5) {
        result = below + 1.0;
    } else if (fraction == 0.5 && std::fmod(below, 2.0) != 0.0) {
        result = below + 1.0;
    }
    return static_cast<std::int32_t>(result);
}
