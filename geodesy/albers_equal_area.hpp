#pragma once
// Albers equal-area conic projection (EPSG method 9822) on the ellipsoid, standard parallels φ1
// and φ2, false origin at (φF, λF). Closed form forward (exact to rounding); the inverse latitude
// comes from the authalic function by iteration to 1e-12 rad. Not conformal: no point scale
// factor or convergence.

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct AlbersEqualAreaConstants {
    double lonOrigin = 0.0;  // λF, radians from Greenwich
    double a = 0.0;
    double n = 0.0;          // cone constant
    double c = 0.0;          // C = m1² + n α1
    double rho0 = 0.0;       // radius of the false origin's parallel, metres
    double qp = 0.0;         // authalic function at the pole
    double x0 = 0.0, y0 = 0.0;
};

// Needs e2 > 0 and φ1 ≠ −φ2.
AlbersEqualAreaConstants albersEqualAreaConstants(double a, double e2, double lonOrigin, double latF,
                                                  double lat1, double lat2, double x0, double y0);
PlaneEn albersEqualAreaForward(const AlbersEqualAreaConstants& c, double e2, double lon, double lat);
LonLat albersEqualAreaInverse(const AlbersEqualAreaConstants& c, double e2, double east, double north);

}  // namespace zelvo
