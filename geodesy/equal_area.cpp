#include "geodesy/equal_area.hpp"

#include <cmath>

#include "geodesy/angles.hpp"
#include "geodesy/ellipsoid.hpp"

namespace zelvo {
namespace {

// Never reached by a point of the projection's disc (the iteration gains digits fast); the cap only
// stops a point outside it, whose latitude is then not a number, from looping for ever.
constexpr int kMaxPasses = 100;

}  // namespace

double latitudeFromAuthalic(double q, double qp, double e2) {
    if (std::fabs(q) == std::fabs(qp)) return std::copysign(kHalfPi, q);
    double lat = std::asin(q / 2.0);
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        const double previous = lat;
        const double s = std::sin(lat);
        const double w = 1.0 - e2 * s * s;
        lat = lat + (w * w / (2.0 * std::cos(lat))) * (q - authalicQ(e2, lat)) / (1.0 - e2);
        if (std::fabs(lat - previous) <= 1e-12) break;
    }
    return lat;
}

EqualAreaConstants equalAreaConstants(double a, double e2, double lonOrigin, double lat0, double x0,
                                      double y0) {
    EqualAreaConstants c;
    c.lonOrigin = lonOrigin;
    c.lat0 = lat0;
    c.a = a;
    c.qp = authalicQ(e2, kHalfPi);
    c.beta0 = std::asin(authalicQ(e2, lat0) / c.qp);
    c.rq = a * std::sqrt(c.qp / 2.0);
    c.d = a * parallelFactor(e2, lat0) / (c.rq * std::cos(c.beta0));
    c.x0 = x0;
    c.y0 = y0;
    return c;
}

PlaneEn equalAreaForward(const EqualAreaConstants& c, double e2, double lon, double lat) {
    const double q = authalicQ(e2, lat);
    const double dLon = lon - c.lonOrigin;
    if (c.lat0 == kHalfPi) {
        const double rho = c.a * std::sqrt(c.qp - q);
        return {c.x0 + rho * std::sin(dLon), c.y0 - rho * std::cos(dLon)};
    }
    if (c.lat0 == -kHalfPi) {
        const double rho = c.a * std::sqrt(c.qp + q);
        return {c.x0 + rho * std::sin(dLon), c.y0 + rho * std::cos(dLon)};
    }
    const double beta = std::asin(q / c.qp);
    const double sinB0 = std::sin(c.beta0), cosB0 = std::cos(c.beta0);
    const double sinB = std::sin(beta), cosB = std::cos(beta);
    const double b = c.rq * std::sqrt(2.0 / (1.0 + sinB0 * sinB + cosB0 * cosB * std::cos(dLon)));
    return {c.x0 + b * c.d * cosB * std::sin(dLon),
            c.y0 + (b / c.d) * (cosB0 * sinB - sinB0 * cosB * std::cos(dLon))};
}

LonLat equalAreaInverse(const EqualAreaConstants& c, double e2, double east, double north) {
    const double x = east - c.x0;
    const double y = north - c.y0;
    LonLat g;
    double q = 0.0;
    if (c.lat0 != kHalfPi && c.lat0 != -kHalfPi) {
        const double rho = std::sqrt((x / c.d) * (x / c.d) + (c.d * y) * (c.d * y));
        if (rho == 0.0) {
            g.lon = c.lonOrigin;
            g.lat = c.lat0;
            return g;
        }
        const double ce = 2.0 * std::asin(rho / (2.0 * c.rq));
        const double sinB0 = std::sin(c.beta0), cosB0 = std::cos(c.beta0);
        const double sinCe = std::sin(ce), cosCe = std::cos(ce);
        q = c.qp * (cosCe * sinB0 + c.d * y * sinCe * cosB0 / rho);
        g.lon =
            c.lonOrigin + std::atan2(x * sinCe, c.d * rho * cosB0 * cosCe - c.d * c.d * y * sinB0 * sinCe);
    } else if (c.lat0 != -kHalfPi) {
        const double rho = std::sqrt(x * x + y * y);
        g.lon = c.lonOrigin + std::atan2(x, -y);
        q = c.qp - (rho / c.a) * (rho / c.a);
    } else {
        const double rho = std::sqrt(x * x + y * y);
        g.lon = c.lonOrigin + std::atan2(x, y);
        q = (rho / c.a) * (rho / c.a) - c.qp;
    }
    g.lat = latitudeFromAuthalic(q, c.qp, e2);
    // atan2 spans λc ± π: brought back to (−π, π], so that a point at 179°E of a projection centred
    // on 40°W comes back as 179°, not as −181° (outside every extent).
    if (g.lon > kPi)
        g.lon -= 2.0 * kPi;
    else if (g.lon <= -kPi)
        g.lon += 2.0 * kPi;
    return g;
}

}  // namespace zelvo
