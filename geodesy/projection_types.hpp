#pragma once
// Values exchanged by the projection formulas: angles in radians (longitudes from Greenwich),
// lengths in metres.

namespace zelvo {

struct PlaneEn {
    double e = 0.0, n = 0.0;  // easting, northing, metres
};

struct LonLat {
    double lon = 0.0, lat = 0.0;  // radians
};

// Point scale factor (dimensionless) and convergence of meridians (radians) at a point.
struct ScaleConvergence {
    double k = 1.0;
    double gamma = 0.0;
};

}  // namespace zelvo
