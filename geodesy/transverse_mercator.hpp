#pragma once
// Transverse Mercator projection (kinds 2 and 3, processed identically): Gauss-Krüger series in
// complex numbers on the conformal sphere, truncated at e⁸ (well below a millimetre within a
// UTM zone).

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct TransverseMercatorConstants {
    double lonOrigin = 0.0;     // λc, radians from Greenwich
    double a = 0.0;             // semi-major axis, metres
    double n = 0.0;             // k0 a, metres
    double xs = 0.0, ys = 0.0;  // projected coordinates of the equator on the central meridian
    double c[5] = {};           // forward series coefficients c1…c5
    double d[5] = {};           // inverse series coefficients d1…d5
};

// Constants from the ellipsoid, λc, φ0, k0 and the false origin (exact to rounding).
TransverseMercatorConstants transverseMercatorConstants(double a, double e2, double lonOrigin, double lat0,
                                                        double k0, double x0, double y0);
// Geographic to projected (series to e⁸, closed form).
PlaneEn transverseMercatorForward(const TransverseMercatorConstants& c, double e2, double lon, double lat);
// Projected to geographic (series to e⁸; latitude iteration to 1e-12 rad).
LonLat transverseMercatorInverse(const TransverseMercatorConstants& c, double e2, double east, double north);
// Its first part: the longitude, and the isometric latitude whose latitude is the point's.
double transverseMercatorLongitudeAndIsometric(const TransverseMercatorConstants& c, const PlaneEn& p,
                                               double& isometric);
// k = k0 cosh((E − Xs)/a) and γ = −atan(sin φ tan(λ − λc)), the spherical forms, at a point whose
// easting east is the forward result of (lon, lat): within about 1e-5 (10 mm/km) and 1e-4° of
// the ellipsoidal values up to 7° from the central meridian.
ScaleConvergence transverseMercatorScaleConvergence(const TransverseMercatorConstants& c, double k0,
                                                    double lon, double lat, double east);
// The ellipsoidal k and γ, from the forward series (geodesy/conformal_scale.hpp, about 1e-10):
// used by the EPSG method kinds 9807 and 9808.
ScaleConvergence transverseMercatorExactScaleConvergence(const TransverseMercatorConstants& c, double a,
                                                         double e2, double lon, double lat);

}  // namespace zelvo
