#include "geodesy/lambert_conic.hpp"

#include <cmath>

#include "geodesy/ellipsoid.hpp"

namespace zelvo {

LambertConicConstants lambertTangentConstants(double a, double e2, double lonOrigin, double lat0, double k0,
                                              double x0, double y0) {
    LambertConicConstants c;
    c.lonOrigin = lonOrigin;
    c.n = std::sin(lat0);
    const double r0 = k0 * normalRadius(lat0, a, e2) / std::tan(lat0);
    c.k = r0 * std::exp(c.n * isometricLatitude(lat0, e2));
    c.xs = x0;
    c.ys = y0 + r0;
    return c;
}

LambertConicConstants lambertSecantConstants(double a, double e2, double lonOrigin, double lat0, double lat1,
                                             double lat2, double x0, double y0) {
    LambertConicConstants c;
    c.lonOrigin = lonOrigin;
    const double a1 = normalRadius(lat1, a, e2) * std::cos(lat1);
    const double a2 = normalRadius(lat2, a, e2) * std::cos(lat2);
    const double l1 = isometricLatitude(lat1, e2);
    const double l2 = isometricLatitude(lat2, e2);
    c.n = std::log(a2 / a1) / (l1 - l2);
    c.k = a1 * std::exp(c.n * l1) / c.n;
    c.xs = x0;
    c.ys = y0 + c.k * std::exp(-c.n * isometricLatitude(lat0, e2));
    return c;
}

PlaneEn lambertForward(const LambertConicConstants& c, double e2, double lon, double lat) {
    const double r = c.k * std::exp(-c.n * isometricLatitude(lat, e2));
    const double gamma = c.n * (lon - c.lonOrigin);
    return {c.xs + r * std::sin(gamma), c.ys - r * std::cos(gamma)};
}

void lambertForwardWithScale(const LambertConicConstants& c, double a, double e2, double lon, double lat,
                             PlaneEn& plane, ScaleConvergence& scale) {
    // exp(−n L) once for both, and sin φ once for the isometric latitude and the normal radius:
    // the same values as lambertForward and lambertScaleConvergence.
    const double sinLat = std::sin(lat);
    const double shrink = std::exp(-c.n * isometricLatitudeOfSin(lat, sinLat, e2));
    const double r = c.k * shrink;
    const double gamma = c.n * (lon - c.lonOrigin);
    plane = {c.xs + r * std::sin(gamma), c.ys - r * std::cos(gamma)};
    scale.k = c.n * c.k * shrink / (normalRadiusOfSin(sinLat, a, e2) * std::cos(lat));
    scale.gamma = c.n * (c.lonOrigin - lon);
}

double lambertLongitudeAndIsometric(const LambertConicConstants& c, const PlaneEn& p, double& isometric) {
    const double dx = p.e - c.xs;
    const double r = std::sqrt(dx * dx + (p.n - c.ys) * (p.n - c.ys));
    isometric = -std::log(std::fabs(r / c.k)) / c.n;
    return c.lonOrigin + std::atan(dx / (c.ys - p.n)) / c.n;
}

LonLat lambertInverse(const LambertConicConstants& c, double e2, double east, double north) {
    LonLat g;
    double isometric = 0.0;
    g.lon = lambertLongitudeAndIsometric(c, {east, north}, isometric);
    g.lat = latitudeFromIsometric(isometric, e2);
    return g;
}

ScaleConvergence lambertScaleConvergence(const LambertConicConstants& c, double a, double e2, double lon,
                                         double lat) {
    ScaleConvergence s;
    s.k =
        c.n * c.k * std::exp(-c.n * isometricLatitude(lat, e2)) / (normalRadius(lat, a, e2) * std::cos(lat));
    s.gamma = c.n * (c.lonOrigin - lon);
    return s;
}

}  // namespace zelvo
