#pragma once
// Cassini-Soldner projection (EPSG method 9806), the series of the IOGP guidance in A = Δλ cos φ
// to the fifth order: within 1 mm of the exact transverse cylindrical mapping up to about 3°
// (300 km) from the central meridian, the zone where the method is used; forward and inverse are
// consistent to 1e-9° there. Not conformal: no point scale factor or convergence.

#include "geodesy/projection_types.hpp"

namespace zelvo {

struct CassiniSoldnerConstants {
    double lonOrigin = 0.0;  // λ0, radians from Greenwich
    double a = 0.0;
    double m0 = 0.0;         // meridian arc to φ0, metres
    double x0 = 0.0, y0 = 0.0;
};

CassiniSoldnerConstants cassiniSoldnerConstants(double a, double e2, double lonOrigin, double lat0, double x0,
                                                double y0);
PlaneEn cassiniSoldnerForward(const CassiniSoldnerConstants& c, double e2, double lon, double lat);
// The foot-point latitude is found from the meridian arc by Newton's method to 1e-14 rad.
LonLat cassiniSoldnerInverse(const CassiniSoldnerConstants& c, double e2, double east, double north);

}  // namespace zelvo
