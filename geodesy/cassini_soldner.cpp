#include "geodesy/cassini_soldner.hpp"

#include <cmath>

#include "geodesy/ellipsoid.hpp"

namespace zelvo {

CassiniSoldnerConstants cassiniSoldnerConstants(double a, double e2, double lonOrigin, double lat0, double x0,
                                                double y0) {
    CassiniSoldnerConstants c;
    c.lonOrigin = lonOrigin;
    c.a = a;
    c.m0 = a * meridianArc(lat0, e2);
    c.x0 = x0;
    c.y0 = y0;
    return c;
}

PlaneEn cassiniSoldnerForward(const CassiniSoldnerConstants& c, double e2, double lon, double lat) {
    const double cosLat = std::cos(lat);
    const double tanLat = std::tan(lat);
    const double a1 = (lon - c.lonOrigin) * cosLat;
    const double t = tanLat * tanLat;
    const double cc = e2 * cosLat * cosLat / (1.0 - e2);
    const double nu = normalRadius(lat, c.a, e2);
    const double a2 = a1 * a1;
    const double x = c.a * meridianArc(lat, e2) - c.m0 +
                     nu * tanLat * (a2 / 2.0 + (5.0 - t + 6.0 * cc) * a2 * a2 / 24.0);
    const double e = nu * (a1 - t * a2 * a1 / 6.0 - (8.0 - t + 8.0 * cc) * t * a2 * a2 * a1 / 120.0);
    return {c.x0 + e, c.y0 + x};
}

LonLat cassiniSoldnerInverse(const CassiniSoldnerConstants& c, double e2, double east, double north) {
    // Foot-point latitude: the latitude whose meridian arc is M0 + (N − FN).
    const double arc = (c.m0 + north - c.y0) / c.a;
    double lat1 = arc;
    for (int pass = 0; pass < 20; ++pass) {
        const double step = (arc - meridianArc(lat1, e2)) * c.a / meridianRadius(c.a, e2, lat1);
        lat1 += step;
        if (std::fabs(step) <= 1e-14) break;
    }
    const double tan1 = std::tan(lat1);
    const double t1 = tan1 * tan1;
    const double nu1 = normalRadius(lat1, c.a, e2);
    const double rho1 = meridianRadius(c.a, e2, lat1);
    const double d = (east - c.x0) / nu1;
    const double d2 = d * d;
    LonLat g;
    g.lat = lat1 - (nu1 * tan1 / rho1) * (d2 / 2.0 - (1.0 + 3.0 * t1) * d2 * d2 / 24.0);
    g.lon = c.lonOrigin + (d - t1 * d2 * d / 3.0 + (1.0 + 3.0 * t1) * t1 * d2 * d2 * d / 15.0) / std::cos(lat1);
    return g;
}

}  // namespace zelvo
