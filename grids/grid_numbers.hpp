#pragma once
// Integer snapping of fractional node indices, and conversions between the grid angle units.

#include <cmath>
#include <cstdint>
#include <limits>

namespace zelvo {

// Grid unit codes (INC_UNIT, NODE_COORD_UNIT, VALUES_UNIT); they differ from the angle units.
inline constexpr int kGridUnitUndefined = 0;
inline constexpr int kGridUnitMeters = 1;
inline constexpr int kGridUnitSeconds = 2;
inline constexpr int kGridUnitDegrees = 3;
inline constexpr int kGridUnitRadians = 4;

namespace grid_numbers {

// x replaced by ceil(x) when within eps of it, else by floor(x) when within eps, else kept.
inline void snapToInteger(double& x, double eps) {
    const double up = std::ceil(x);
    const double down = std::floor(x);
    if (std::fabs(x - up) < eps)
        x = up;
    else if (std::fabs(x - down) < eps)
        x = down;
}

// ceil(x) when x lies within eps below it, else floor(x): an index a hair below an integer
// counts as that integer.
inline double nearestIntegerWithin(double x, double eps) {
    const double up = std::ceil(x);
    return std::fabs(x - up) < eps ? up : std::floor(x);
}

// Rounds half away from zero.
inline double roundHalfAway(double x) {
    if (x > 0) return std::floor(x + 0.5);
    if (x < 0) return std::ceil(x - 0.5);
    return 0.0;
}

// A value as a REAL4 file holds it: beyond the float range it becomes an infinity of its sign
// (a plain conversion would be undefined there).
inline float toReal4(double value) {
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest) return std::numeric_limits<float>::infinity();
    if (value < -largest) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// A value as an integer field of type Int holds it: truncated toward zero, kept within the
// field's range (no number or an out-of-range one cannot wrap into a plausible value).
template <typename Int>
Int toInteger(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    if (value <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    return static_cast<Int>(value);
}

}  // namespace grid_numbers

// x converted between the grid angle units SECONDS, DEGREES and RADIANS; unchanged when the
// units are equal or either is not an angle unit (coordinates of METERS grids pass through).
inline double convertGridAngle(double x, int from, int to) {
    constexpr double pi = 3.141592653589793;
    const auto angular = [](int unit) {
        return unit == kGridUnitSeconds || unit == kGridUnitDegrees || unit == kGridUnitRadians;
    };
    if (from == to || !angular(from) || !angular(to)) return x;
    if (from == kGridUnitSeconds && to == kGridUnitDegrees) return x / 3600;
    if (from == kGridUnitSeconds && to == kGridUnitRadians) return x * pi / 180 / 3600;
    if (from == kGridUnitDegrees && to == kGridUnitRadians) return x * pi / 180;
    if (from == kGridUnitDegrees && to == kGridUnitSeconds) return x * 3600;
    if (from == kGridUnitRadians && to == kGridUnitSeconds) return x * 180 * 3600 / pi;
    return x * 180 / pi;  // radians to degrees
}

}  // namespace zelvo
