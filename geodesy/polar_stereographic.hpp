#pragma once
// Polar stereographic projection (EPSG methods 9810 variant A, 9829 variant B, 9830 variant C),
// north or south polar aspect. Every variant reduces to ρ = K t around the pole's projected
// point, t = exp(∓L) with L the isometric latitude; they differ only in how K and the pole's
// point come from their parameters. Closed forms (exact to rounding), but for the inverse
// latitude, found from its isometric latitude by iteration to 1e-12 rad.

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct PolarStereographicConstants {
    double lonOrigin = 0.0;  // λ0, radians from Greenwich
    bool south = false;      // the south polar aspect
    double k = 0.0;          // K, metres: ρ = K t
    double poleScale = 0.0;  // the point scale factor at the pole
    double xp = 0.0, yp = 0.0;  // projected coordinates of the pole
};

// Variant A: φ0 = ±π/2 chooses the pole, k0 at the pole, (x0, y0) the pole's point.
PolarStereographicConstants polarStereographicAConstants(double a, double e2, double lonOrigin, double lat0,
                                                         double k0, double x0, double y0);
// Variant B: the scale is true on the parallel φF, whose sign chooses the pole; (x0, y0) the pole's point.
PolarStereographicConstants polarStereographicBConstants(double a, double e2, double lonOrigin, double latF,
                                                         double x0, double y0);
// Variant C: as B, but (x0, y0) is the point of the standard parallel on the meridian λ0.
PolarStereographicConstants polarStereographicCConstants(double a, double e2, double lonOrigin, double latF,
                                                         double x0, double y0);
PlaneEn polarStereographicForward(const PolarStereographicConstants& c, double e2, double lon, double lat);
// Longitude in (−π, π]; the pole's point gives the pole on λ0.
LonLat polarStereographicInverse(const PolarStereographicConstants& c, double e2, double east, double north);
// k = ρ / (ν cos φ) (the pole's value at the pole) and γ = ∓(λ − λ0) (exact to rounding).
ScaleConvergence polarStereographicScaleConvergence(const PolarStereographicConstants& c, double a, double e2,
                                                    double lon, double lat);

}  // namespace zelvo
