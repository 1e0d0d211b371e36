#pragma once
// Krovak oblique conformal conic projection (EPSG methods 9819, southing and westing, and 1041,
// north-orientated easting and northing = −westing and −southing): the ellipsoid mapped
// conformally onto the Gaussian sphere, the sphere rotated so that the cone's axis at
// co-latitude αc becomes its pole, then a Lambert conformal cone tangent on the pseudo standard
// parallel φp. Closed forms both ways (exact to rounding), but for the inverse latitude, found
// from its isometric latitude by iteration to 1e-12 rad. The scale factor and convergence come
// from the forward formula (geodesy/conformal_scale.hpp, about 1e-10).

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct KrovakConstants {
    double lonOrigin = 0.0;  // λ0, radians from Greenwich
    double b = 0.0;          // B, longitude ratio of the Gaussian sphere
    double logT0 = 0.0;      // ln t0, isometric latitude offset of the sphere
    double sinAlpha = 0.0, cosAlpha = 0.0;  // αc, co-latitude of the cone axis
    double n = 0.0;          // sin φp, cone constant
    double r0 = 0.0;         // kp A / tan φp, metres
    double tanP = 0.0;       // tan(π/4 + φp/2)
    bool northOrientated = false;
    double x0 = 0.0, y0 = 0.0;  // false easting (westing) and false northing (southing)
};

// The returned point: (westing, southing) for 9819, (easting, northing) for 1041.
KrovakConstants krovakConstants(double a, double e2, bool northOrientated, double latC, double lonOrigin,
                                double alphaC, double latP, double kp, double x0, double y0);
PlaneEn krovakForward(const KrovakConstants& c, double e2, double lon, double lat);
LonLat krovakInverse(const KrovakConstants& c, double e2, double east, double north);
// γ refers to the grid's north (the reverse of the southing axis for 9819).
ScaleConvergence krovakScaleConvergence(const KrovakConstants& c, double a, double e2, double lon, double lat);

}  // namespace zelvo
