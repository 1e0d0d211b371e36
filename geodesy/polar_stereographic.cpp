#include "geodesy/polar_stereographic.hpp"

#include <cmath>

#include "geodesy/angles.hpp"
#include "geodesy/ellipsoid.hpp"

namespace zelvo {
namespace {

// √((1 + e)^(1 + e) (1 − e)^(1 − e)).
double poleFactor(double e2) {
    const double e = std::sqrt(e2);
    return std::sqrt(std::pow(1.0 + e, 1.0 + e) * std::pow(1.0 - e, 1.0 - e));
}

// t = exp(−L) towards the north pole, exp(L) towards the south pole.
double tOf(bool south, double e2, double lat) {
    const double l = isometricLatitude(lat, e2);
    return std::exp(south ? l : -l);
}

double wrapped(double lon) {
    if (lon > kPi) return lon - 2.0 * kPi;
    if (lon <= -kPi) return lon + 2.0 * kPi;
    return lon;
}

PolarStereographicConstants fromPoleScale(double a, double e2, double lonOrigin, bool south, double k0,
                                          double xp, double yp) {
    PolarStereographicConstants c;
    c.lonOrigin = lonOrigin;
    c.south = south;
    c.k = 2.0 * a * k0 / poleFactor(e2);
    c.poleScale = k0;
    c.xp = xp;
    c.yp = yp;
    return c;
}

// The scale factor at the pole that makes the scale true on φF.
double poleScaleOfParallel(double e2, bool south, double latF) {
    return parallelFactor(e2, latF) * poleFactor(e2) / (2.0 * tOf(south, e2, latF));
}

}  // namespace

PolarStereographicConstants polarStereographicAConstants(double a, double e2, double lonOrigin, double lat0,
                                                         double k0, double x0, double y0) {
    return fromPoleScale(a, e2, lonOrigin, lat0 < 0.0, k0, x0, y0);
}

PolarStereographicConstants polarStereographicBConstants(double a, double e2, double lonOrigin, double latF,
                                                         double x0, double y0) {
    const bool south = latF < 0.0;
    return fromPoleScale(a, e2, lonOrigin, south, poleScaleOfParallel(e2, south, latF), x0, y0);
}

PolarStereographicConstants polarStereographicCConstants(double a, double e2, double lonOrigin, double latF,
                                                         double x0, double y0) {
    const bool south = latF < 0.0;
    PolarStereographicConstants c =
        fromPoleScale(a, e2, lonOrigin, south, poleScaleOfParallel(e2, south, latF), x0, y0);
    const double rhoF = c.k * tOf(south, e2, latF);
    c.yp = south ? y0 - rhoF : y0 + rhoF;
    return c;
}

PlaneEn polarStereographicForward(const PolarStereographicConstants& c, double e2, double lon, double lat) {
    const double rho = c.k * tOf(c.south, e2, lat);
    const double dLon = lon - c.lonOrigin;
    const double dy = rho * std::cos(dLon);
    return {c.xp + rho * std::sin(dLon), c.south ? c.yp + dy : c.yp - dy};
}

LonLat polarStereographicInverse(const PolarStereographicConstants& c, double e2, double east, double north) {
    const double dx = east - c.xp;
    const double dy = north - c.yp;
    LonLat g;
    const double rho = std::hypot(dx, dy);
    if (rho == 0.0) {
        g.lon = wrapped(c.lonOrigin);
        g.lat = c.south ? -kHalfPi : kHalfPi;
        return g;
    }
    g.lon = wrapped(c.lonOrigin + (c.south ? std::atan2(dx, dy) : std::atan2(dx, -dy)));
    const double l = std::log(rho / c.k);
    g.lat = latitudeFromIsometric(c.south ? l : -l, e2);
    return g;
}

ScaleConvergence polarStereographicScaleConvergence(const PolarStereographicConstants& c, double a, double e2,
                                                    double lon, double lat) {
    ScaleConvergence s;
    const double cosLat = std::cos(lat);
    if (std::fabs(lat) >= kHalfPi || cosLat < 1e-12)
        s.k = c.poleScale;
    else
        s.k = c.k * tOf(c.south, e2, lat) / (normalRadius(lat, a, e2) * cosLat);
    const double dLon = wrapped(lon - c.lonOrigin);
    s.gamma = c.south ? dLon : -dLon;
    return s;
}

}  // namespace zelvo
