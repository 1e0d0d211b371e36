#include "geodesy/oblique_mercator.hpp"

#include <algorithm>
#include <cmath>

#include "geodesy/angles.hpp"
#include "geodesy/conformal_scale.hpp"
#include "geodesy/ellipsoid.hpp"

namespace zelvo {

ObliqueMercatorConstants obliqueMercatorConstants(double a, double e2, bool variantB, double latC, double lonC,
                                                  double alphaC, double gammaC, double kc, double x0, double y0) {
    ObliqueMercatorConstants c;
    const double sinC = std::sin(latC), cosC = std::cos(latC);
    const double w = 1.0 - e2 * sinC * sinC;
    c.b = std::sqrt(1.0 + e2 * cosC * cosC * cosC * cosC / (1.0 - e2));
    c.a = a * c.b * kc * std::sqrt(1.0 - e2) / w;
    const double t0 = std::exp(-isometricLatitude(latC, e2));
    const double d = std::max(1.0, c.b * std::sqrt(1.0 - e2) / (cosC * std::sqrt(w)));
    const double signC = latC < 0.0 ? -1.0 : 1.0;
    const double f = d + std::sqrt(d * d - 1.0) * signC;
    c.h = f * std::pow(t0, c.b);
    const double g = (f - 1.0 / f) / 2.0;
    const double gamma0 = std::asin(std::sin(alphaC) / d);
    c.sinGamma0 = std::sin(gamma0);
    c.cosGamma0 = std::cos(gamma0);
    c.sinGammaC = std::sin(gammaC);
    c.cosGammaC = std::cos(gammaC);
    c.lonOrigin = lonC - std::asin(std::clamp(g * std::tan(gamma0), -1.0, 1.0)) / c.b;
    if (variantB) {
        // uc, the u of the centre: A (λc − λ0) when the initial line runs east-west at the centre.
        const double uc = std::fabs(std::cos(alphaC)) < 1e-15
                              ? c.a * (lonC - c.lonOrigin)
                              : (c.a / c.b) * std::atan(std::sqrt(d * d - 1.0) / std::cos(alphaC)) * signC;
        c.uOffset = std::fabs(uc) * signC;
    }
    c.x0 = x0;
    c.y0 = y0;
    return c;
}

PlaneEn obliqueMercatorForward(const ObliqueMercatorConstants& c, double e2, double lon, double lat) {
    const double q = c.h * std::exp(c.b * isometricLatitude(lat, e2));  // H / t^B
    const double s = (q - 1.0 / q) / 2.0;
    const double t = (q + 1.0 / q) / 2.0;
    const double bl = c.b * (lon - c.lonOrigin);
    const double v1 = std::sin(bl);
    const double u1 = (-v1 * c.cosGamma0 + s * c.sinGamma0) / t;
    const double v = c.a * std::log((1.0 - u1) / (1.0 + u1)) / (2.0 * c.b);
    const double u = c.a * std::atan2(s * c.cosGamma0 + v1 * c.sinGamma0, std::cos(bl)) / c.b - c.uOffset;
    return {c.x0 + v * c.cosGammaC + u * c.sinGammaC, c.y0 + u * c.cosGammaC - v * c.sinGammaC};
}

LonLat obliqueMercatorInverse(const ObliqueMercatorConstants& c, double e2, double east, double north) {
    const double dx = east - c.x0, dy = north - c.y0;
    const double v = dx * c.cosGammaC - dy * c.sinGammaC;
    const double u = dy * c.cosGammaC + dx * c.sinGammaC + c.uOffset;
    const double q = std::exp(-c.b * v / c.a);
    const double s = (q - 1.0 / q) / 2.0;
    const double t = (q + 1.0 / q) / 2.0;
    const double bu = c.b * u / c.a;
    const double v1 = std::sin(bu);
    const double u1 = (v1 * c.cosGamma0 + s * c.sinGamma0) / t;
    LonLat g;
    // t' = (H / √((1 + U')/(1 − U')))^(1/B) = exp(−L).
    g.lat = latitudeFromIsometric((0.5 * std::log((1.0 + u1) / (1.0 - u1)) - std::log(c.h)) / c.b, e2);
    g.lon = c.lonOrigin - std::atan2(s * c.cosGamma0 - v1 * c.sinGamma0, std::cos(bu)) / c.b;
    return g;
}

ScaleConvergence obliqueMercatorScaleConvergence(const ObliqueMercatorConstants& c, double a, double e2,
                                                 double lon, double lat) {
    return scaleConvergenceFromMeridian(
        [&c, e2](double x, double y) { return obliqueMercatorForward(c, e2, x, y); }, a, e2, lon, lat);
}

}  // namespace zelvo
