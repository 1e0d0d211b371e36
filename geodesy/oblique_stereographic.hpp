#pragma once
// Oblique stereographic projection (EPSG method 9809, "double" stereographic): the ellipsoid
// mapped conformally onto a sphere of radius √(ρ0 ν0) (Gauss), then the spherical stereographic
// projection from the antipode of the origin. Closed forms both ways except the final latitude,
// found from its isometric latitude by iteration to 1e-12 rad; exact to rounding otherwise.

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct ObliqueStereographicConstants {
    double lonOrigin = 0.0;  // λ0, radians from Greenwich
    double n = 0.0;          // longitude ratio of the conformal sphere
    double halfLogC = 0.0;   // ½ ln c, isometric latitude offset of the conformal sphere
    double sinChi0 = 0.0, cosChi0 = 0.0;  // conformal latitude of the origin
    double twoRk0 = 0.0;     // 2 R k0, metres
    double x0 = 0.0, y0 = 0.0;
};

ObliqueStereographicConstants obliqueStereographicConstants(double a, double e2, double lonOrigin, double lat0,
                                                            double k0, double x0, double y0);
PlaneEn obliqueStereographicForward(const ObliqueStereographicConstants& c, double e2, double lon, double lat);
LonLat obliqueStereographicInverse(const ObliqueStereographicConstants& c, double e2, double east, double north);
// Point scale factor 2 k0 R n cos χ / (B ν cos φ) and convergence (exact to rounding).
ScaleConvergence obliqueStereographicScaleConvergence(const ObliqueStereographicConstants& c, double a,
                                                      double e2, double lon, double lat);

}  // namespace zelvo
