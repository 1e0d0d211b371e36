#include "geodesy/krovak.hpp"

#include <cmath>

#include "geodesy/angles.hpp"
#include "geodesy/conformal_scale.hpp"
#include "geodesy/ellipsoid.hpp"

namespace zelvo {

KrovakConstants krovakConstants(double a, double e2, bool northOrientated, double latC, double lonOrigin,
                                double alphaC, double latP, double kp, double x0, double y0) {
    KrovakConstants c;
    c.lonOrigin = lonOrigin;
    const double sinC = std::sin(latC), cosC = std::cos(latC);
    const double w = 1.0 - e2 * sinC * sinC;
    const double aa = a * std::sqrt(1.0 - e2) / w;
    c.b = std::sqrt(1.0 + e2 * cosC * cosC * cosC * cosC / (1.0 - e2));
    const double gamma0 = std::asin(sinC / c.b);
    // t0 = tan(π/4 + γ0/2) / exp(B L(φc)): the sphere's isometric latitude is ln t0 + B L.
    c.logT0 = std::log(std::tan(kQuarterPi + gamma0 / 2.0)) - c.b * isometricLatitude(latC, e2);
    c.sinAlpha = std::sin(alphaC);
    c.cosAlpha = std::cos(alphaC);
    c.n = std::sin(latP);
    c.r0 = kp * aa / std::tan(latP);
    c.tanP = std::tan(kQuarterPi + latP / 2.0);
    c.northOrientated = northOrientated;
    c.x0 = x0;
    c.y0 = y0;
    return c;
}

PlaneEn krovakForward(const KrovakConstants& c, double e2, double lon, double lat) {
    const double u = 2.0 * std::atan(std::exp(c.logT0 + c.b * isometricLatitude(lat, e2))) - kHalfPi;
    const double v = c.b * (c.lonOrigin - lon);
    const double t = std::asin(c.cosAlpha * std::sin(u) + c.sinAlpha * std::cos(u) * std::cos(v));
    const double d = std::asin(std::cos(u) * std::sin(v) / std::cos(t));
    const double theta = c.n * d;
    const double r = c.r0 * std::pow(c.tanP / std::tan(t / 2.0 + kQuarterPi), c.n);
    const double southing = r * std::cos(theta) + c.y0;
    const double westing = r * std::sin(theta) + c.x0;
    if (c.northOrientated) return {-westing, -southing};
    return {westing, southing};
}

LonLat krovakInverse(const KrovakConstants& c, double e2, double east, double north) {
    const double xp = (c.northOrientated ? -north : north) - c.y0;
    const double yp = (c.northOrientated ? -east : east) - c.x0;
    const double r = std::hypot(xp, yp);
    const double d = std::atan2(yp, xp) / c.n;
    const double t = 2.0 * (std::atan(std::pow(c.r0 / r, 1.0 / c.n) * c.tanP) - kQuarterPi);
    const double u = std::asin(c.cosAlpha * std::sin(t) - c.sinAlpha * std::cos(t) * std::cos(d));
    const double v = std::asin(std::cos(t) * std::sin(d) / std::cos(u));
    LonLat g;
    g.lon = c.lonOrigin - v / c.b;
    g.lat = latitudeFromIsometric((std::log(std::tan(kQuarterPi + u / 2.0)) - c.logT0) / c.b, e2);
    return g;
}

ScaleConvergence krovakScaleConvergence(const KrovakConstants& c, double a, double e2, double lon, double lat) {
    // The forward formula with the axes turned to east and north.
    const auto eastNorth = [&c, e2](double x, double y) {
        const PlaneEn p = krovakForward(c, e2, x, y);
        return c.northOrientated ? p : PlaneEn{-p.e, -p.n};
    };
    return scaleConvergenceFromMeridian(eastNorth, a, e2, lon, lat);
}

}  // namespace zelvo
