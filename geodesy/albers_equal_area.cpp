#include "geodesy/albers_equal_area.hpp"

#include <cmath>

#include "geodesy/angles.hpp"
#include "geodesy/ellipsoid.hpp"
#include "geodesy/equal_area.hpp"

namespace zelvo {

AlbersEqualAreaConstants albersEqualAreaConstants(double a, double e2, double lonOrigin, double latF,
                                                  double lat1, double lat2, double x0, double y0) {
    AlbersEqualAreaConstants c;
    c.lonOrigin = lonOrigin;
    c.a = a;
    const double m1 = parallelFactor(e2, lat1);
    const double m2 = parallelFactor(e2, lat2);
    const double alpha1 = authalicQ(e2, lat1);
    const double alpha2 = authalicQ(e2, lat2);
    // One standard parallel (φ1 = φ2): the limit n = sin φ1.
    c.n = lat1 == lat2 ? std::sin(lat1) : (m1 * m1 - m2 * m2) / (alpha2 - alpha1);
    c.c = m1 * m1 + c.n * alpha1;
    c.rho0 = a * std::sqrt(c.c - c.n * authalicQ(e2, latF)) / c.n;
    c.qp = authalicQ(e2, kHalfPi);
    c.x0 = x0;
    c.y0 = y0;
    return c;
}

PlaneEn albersEqualAreaForward(const AlbersEqualAreaConstants& c, double e2, double lon, double lat) {
    double dLon = lon - c.lonOrigin;
    if (dLon > kPi) dLon -= 2.0 * kPi;
    else if (dLon <= -kPi) dLon += 2.0 * kPi;
    const double rho = c.a * std::sqrt(c.c - c.n * authalicQ(e2, lat)) / c.n;
    const double theta = c.n * dLon;
    return {c.x0 + rho * std::sin(theta), c.y0 + c.rho0 - rho * std::cos(theta)};
}

LonLat albersEqualAreaInverse(const AlbersEqualAreaConstants& c, double e2, double east, double north) {
    const double x = east - c.x0;
    const double y = c.rho0 - (north - c.y0);
    // With a negative cone constant (southern cones) ρ is negative: both components change sign.
    const double sign = c.n < 0.0 ? -1.0 : 1.0;
    const double rho = sign * std::hypot(x, y);
    const double theta = std::atan2(sign * x, sign * y);
    const double q = (c.c - rho * rho * c.n * c.n / (c.a * c.a)) / c.n;
    LonLat g;
    g.lon = c.lonOrigin + theta / c.n;
    g.lat = latitudeFromAuthalic(std::fabs(q) > c.qp ? std::copysign(c.qp, q) : q, c.qp, e2);
    return g;
}

}  // namespace zelvo
