#pragma once
// Gauss-Laborde projection (kind 5): the ellipsoid mapped conformally onto its sphere of mean
// curvature at φ0, then a spherical transverse Mercator.

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct GaussLabordeConstants {
    double lonOrigin = 0.0;  // λc, radians from Greenwich
    double nu = 0.0;         // ν, longitude ratio of the conformal sphere
    double chi = 0.0;        // χ, isometric latitude offset
    double r = 0.0;          // radius of the sphere times k0, metres
    double xs = 0.0, ys = 0.0;
};

// Constants from the ellipsoid, λc, φ0, k0 and the false origin (exact to rounding).
GaussLabordeConstants gaussLabordeConstants(double a, double e2, double lonOrigin, double lat0, double k0,
                                            double x0, double y0);
// Geographic to projected, closed form (exact to rounding).
PlaneEn gaussLabordeForward(const GaussLabordeConstants& c, double e2, double lon, double lat);
// Projected to geographic; the latitude iteration stops at 1e-12 rad.
LonLat gaussLabordeInverse(const GaussLabordeConstants& c, double e2, double east, double north);
// Its first part: the longitude, and the isometric latitude whose latitude is the point's.
double gaussLabordeLongitudeAndIsometric(const GaussLabordeConstants& c, const PlaneEn& p, double& isometric);
// Point scale factor and convergence of meridians (exact to rounding).
ScaleConvergence gaussLabordeScaleConvergence(const GaussLabordeConstants& c, double a, double e2, double lon,
                                              double lat);

}  // namespace zelvo
