#pragma once
// Mercator projection, ellipsoidal (EPSG methods 9804 variant A, scale k0 on the equator, and
// 9805 variant B, scale true on the parallels ±φ1). Closed forms (exact to rounding), but for the
// inverse latitude, found from its isometric latitude by iteration to 1e-12 rad.

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct MercatorConstants {
    double lonOrigin = 0.0;  // λ0, radians from Greenwich
    double ak0 = 0.0;        // a k0, metres
    double k0 = 0.0;
    double x0 = 0.0, y0 = 0.0;
};

// Variant A.
MercatorConstants mercatorAConstants(double a, double lonOrigin, double k0, double x0, double y0);
// Variant B: k0 = cos φ1 / √(1 − e² sin²φ1).
MercatorConstants mercatorBConstants(double a, double e2, double lonOrigin, double lat1, double x0, double y0);
// λ − λ0 is taken in (−π, π].
PlaneEn mercatorForward(const MercatorConstants& c, double e2, double lon, double lat);
LonLat mercatorInverse(const MercatorConstants& c, double e2, double east, double north);
// k = k0 √(1 − e² sin²φ) / cos φ and γ = 0 (exact to rounding).
ScaleConvergence mercatorScaleConvergence(const MercatorConstants& c, double e2, double lat);

}  // namespace zelvo
