#pragma once
// Statuses of the coordinate conversions and of the datum transformation.

namespace zelvo {

inline constexpr int kStatusOk = 0;
inline constexpr int kStatusUnsupportedProjection = 300;  // kind not 1, 2, 3, 5, 6 or an EPSG method with a known unit
inline constexpr int kStatusNoTransformation = 600;       // no record links the two systems
// The 3-D grid's nodes around the point hold no number (NaN or an infinity): the point is taken
// as outside the grid.
inline constexpr int kStatusGridNodesNotFinite = 700;

}  // namespace zelvo
