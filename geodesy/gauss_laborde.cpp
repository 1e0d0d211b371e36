#include "geodesy/gauss_laborde.hpp"

#include <cmath>

#include "geodesy/ellipsoid.hpp"

namespace zelvo {

GaussLabordeConstants gaussLabordeConstants(double a, double e2, double lonOrigin, double lat0, double k0,
                                            double x0, double y0) {
    GaussLabordeConstants c;
    c.lonOrigin = lonOrigin;
    const double cos0 = std::cos(lat0);
    const double sin0 = std::sin(lat0);
    c.nu = std::sqrt(1.0 + e2 * cos0 * cos0 * cos0 * cos0 / (1.0 - e2));
    const double latSphere = std::asin(sin0 / c.nu);
    c.chi = isometricLatitude(latSphere, 0.0) - c.nu * isometricLatitude(lat0, e2);
    c.r = k0 * a * std::sqrt(1.0 - e2) / (1.0 - e2 * sin0 * sin0);
    c.xs = x0;
    c.ys = y0 - c.r * latSphere;
    return c;
}

PlaneEn gaussLabordeForward(const GaussLabordeConstants& c, double e2, double lon, double lat) {
    const double delta = c.nu * (lon - c.lonOrigin);
    const double lambda = c.nu * isometricLatitude(lat, e2) + c.chi;
    return {c.xs + c.r * isometricLatitude(std::asin(std::sin(delta) / std::cosh(lambda)), 0.0),
            c.ys + c.r * std::atan(std::sinh(lambda) / std::cos(delta))};
}

double gaussLabordeLongitudeAndIsometric(const GaussLabordeConstants& c, const PlaneEn& p, double& isometric) {
    const double x = (p.e - c.xs) / c.r;
    const double y = (p.n - c.ys) / c.r;
    isometric = (isometricLatitude(std::asin(std::sin(y) / std::cosh(x)), 0.0) - c.chi) / c.nu;
    return c.lonOrigin + std::atan(std::sinh(x) / std::cos(y)) / c.nu;
}

LonLat gaussLabordeInverse(const GaussLabordeConstants& c, double e2, double east, double north) {
    LonLat g;
    double isometric = 0.0;
    g.lon = gaussLabordeLongitudeAndIsometric(c, {east, north}, isometric);
    g.lat = latitudeFromIsometric(isometric, e2);
    return g;
}

ScaleConvergence gaussLabordeScaleConvergence(const GaussLabordeConstants& c, double a, double e2, double lon,
                                              double lat) {
    const double delta = c.nu * (lon - c.lonOrigin);
    const double lambda = c.nu * isometricLatitude(lat, e2) + c.chi;
    const double sinLat = std::sin(lat);
    const double coshL = std::cosh(lambda);
    const double sinD = std::sin(delta);
    ScaleConvergence s;
    s.gamma = std::atan(-std::tanh(lambda) * std::tan(delta));
    s.k = c.nu * c.r * std::sqrt(1.0 - e2 * sinLat * sinLat) /
          (a * std::cos(lat) * std::sqrt(coshL * coshL - sinD * sinD));
    return s;
}

}  // namespace zelvo
