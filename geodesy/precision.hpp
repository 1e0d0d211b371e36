#pragma once
// Precision classes of datum transformations and geoid values, and their texts.

#include <string_view>

namespace zelvo {

// Precision code of a point that fell outside every applicable geoid grid.
inline constexpr int kOutsideGeoidGrid = -999;

// Precision codes of a route through WGS 84 (between registry systems): this offset plus the
// class of its less precise step; their texts say so.
inline constexpr int kThroughWgs84Precision = 1000;

// The text of a precision code; the empty text for a code without one.
std::string_view precisionText(int code);

}  // namespace zelvo
