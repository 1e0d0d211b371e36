#pragma once
// Lambert azimuthal equal-area projection (kind 6) on the ellipsoid: oblique aspect, or the north
// or south polar aspect when φ0 is exactly ±π/2. It has no single point scale factor and no
// convergence is computed for it.

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct EqualAreaConstants {
    double lonOrigin = 0.0;  // λc, radians from Greenwich
    double lat0 = 0.0;       // φ0, radians; its exact value chooses the aspect
    double a = 0.0;
    double qp = 0.0;     // authalic function at the pole
    double beta0 = 0.0;  // authalic latitude of the origin
    double rq = 0.0;     // radius of the authalic sphere, metres
    double d = 0.0;      // D, correction of the oblique aspect
    double x0 = 0.0, y0 = 0.0;
};

// Constants from the ellipsoid, λc, φ0 and the false origin (exact to rounding; needs e2 > 0).
EqualAreaConstants equalAreaConstants(double a, double e2, double lonOrigin, double lat0, double x0,
                                      double y0);
// Geographic to projected, closed form (exact to rounding).
PlaneEn equalAreaForward(const EqualAreaConstants& c, double e2, double lon, double lat);
// Latitude whose authalic function is q (qp its value at the pole): ±π/2 at the poles, otherwise
// Newton-like iteration from asin(q/2) until two successive values differ by at most 1e-12 rad.
double latitudeFromAuthalic(double q, double qp, double e2);
// Projected to geographic, longitude in (−π, π]; the authalic latitude is inverted by iteration
// to 1e-12 rad.
LonLat equalAreaInverse(const EqualAreaConstants& c, double e2, double east, double north);

}  // namespace zelvo
