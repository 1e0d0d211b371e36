#pragma once
// Lambert conformal conic projection (kind 1), tangent cone (variants 1 and 2) or secant cone
// (variant 3). The constants come from the projection's ellipsoid; the forward and inverse
// formulas take e² (and a) of the point's ellipsoid.

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct LambertConicConstants {
    double lonOrigin = 0.0;     // λc, radians from Greenwich
    double n = 0.0;             // cone constant
    double k = 0.0;             // K, radius scale, metres
    double xs = 0.0, ys = 0.0;  // projected coordinates of the cone's apex, metres
};

// Tangent cone at φ0 with scale factor k0 (exact to rounding).
LambertConicConstants lambertTangentConstants(double a, double e2, double lonOrigin, double lat0, double k0,
                                              double x0, double y0);
// Secant cone through φ1 and φ2, origin latitude φ0 (exact to rounding).
LambertConicConstants lambertSecantConstants(double a, double e2, double lonOrigin, double lat0, double lat1,
                                             double lat2, double x0, double y0);
// Geographic to projected, closed form (exact to rounding).
PlaneEn lambertForward(const LambertConicConstants& c, double e2, double lon, double lat);
// Both of the above at once, sharing their isometric latitude (the same values).
void lambertForwardWithScale(const LambertConicConstants& c, double a, double e2, double lon, double lat,
                             PlaneEn& plane, ScaleConvergence& scale);
// Projected to geographic; the latitude iteration stops at 1e-12 rad (6 µm).
LonLat lambertInverse(const LambertConicConstants& c, double e2, double east, double north);
// Its first part: the longitude, and the isometric latitude whose latitude is the point's.
double lambertLongitudeAndIsometric(const LambertConicConstants& c, const PlaneEn& p, double& isometric);
// Point scale factor and convergence γ = n (λc − λ) (exact to rounding).
ScaleConvergence lambertScaleConvergence(const LambertConicConstants& c, double a, double e2, double lon,
                                         double lat);

}  // namespace zelvo
