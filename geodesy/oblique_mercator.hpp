#pragma once
// Hotine oblique Mercator (EPSG methods 9812 variant A, false origin at the natural origin of the
// (u, v) axes, and 9815 variant B, false origin at the projection centre), including the Swiss
// and Hungarian uses with αc = γc = 90°: the ellipsoid mapped conformally onto the aposphere,
// then an oblique Mercator of its great circle through the centre at azimuth αc, rotated by the
// rectified grid angle γc. Closed forms both ways (exact to rounding), but for the inverse
// latitude, found from its isometric latitude by iteration to 1e-12 rad. The scale factor and
// convergence come from the forward formula (geodesy/conformal_scale.hpp, about 1e-10).

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct ObliqueMercatorConstants {
    double lonOrigin = 0.0;  // λ0, longitude of the natural origin, radians from Greenwich
    double a = 0.0;          // A, metres
    double b = 0.0;          // B
    double h = 0.0;          // H
    double sinGamma0 = 0.0, cosGamma0 = 0.0;  // γ0, azimuth of the initial line at the equator of the aposphere
    double sinGammaC = 0.0, cosGammaC = 0.0;  // γc, rectified grid angle
    double uOffset = 0.0;    // variant B: |uc| sign(φc), metres; 0 for variant A
    double x0 = 0.0, y0 = 0.0;
};

// φc, λc the projection centre, αc the azimuth of the initial line at it, γc the rectified grid
// angle, kc the scale on the initial line; (x0, y0) the false origin (variant A) or the centre's
// point (variant B).
ObliqueMercatorConstants obliqueMercatorConstants(double a, double e2, bool variantB, double latC, double lonC,
                                                  double alphaC, double gammaC, double kc, double x0, double y0);
PlaneEn obliqueMercatorForward(const ObliqueMercatorConstants& c, double e2, double lon, double lat);
LonLat obliqueMercatorInverse(const ObliqueMercatorConstants& c, double e2, double east, double north);
ScaleConvergence obliqueMercatorScaleConvergence(const ObliqueMercatorConstants& c, double a, double e2,
                                                 double lon, double lat);

}  // namespace zelvo
