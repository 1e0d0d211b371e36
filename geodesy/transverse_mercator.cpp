#include "geodesy/transverse_mercator.hpp"

#include <cmath>

#include "geodesy/conformal_scale.hpp"
#include "geodesy/ellipsoid.hpp"
#include "geodesy/series.hpp"

namespace zelvo {
namespace {

constexpr double kForward[5][5] = {
    {1.0, -1.0 / 4.0, -3.0 / 64.0, -5.0 / 256.0, -175.0 / 16384.0},
    {0.0, 1.0 / 8.0, -1.0 / 96.0, -9.0 / 1024.0, -901.0 / 184320.0},
    {0.0, 0.0, 13.0 / 768.0, 17.0 / 5120.0, -311.0 / 737280.0},
    {0.0, 0.0, 0.0, 61.0 / 15360.0, 899.0 / 430080.0},
    {0.0, 0.0, 0.0, 0.0, 49561.0 / 41287680.0},
};

constexpr double kInverse[5][5] = {
    {1.0, -1.0 / 4.0, -3.0 / 64.0, -5.0 / 256.0, -175.0 / 16384.0},
    {0.0, 1.0 / 8.0, 1.0 / 48.0, 7.0 / 2048.0, 1.0 / 61440.0},
    {0.0, 0.0, 1.0 / 768.0, 3.0 / 1280.0, 559.0 / 368640.0},
    {0.0, 0.0, 0.0, 17.0 / 30720.0, 283.0 / 430080.0},
    {0.0, 0.0, 0.0, 0.0, 4397.0 / 41287680.0},
};

// sin(re + i im) = sin re cosh im + i cos re sinh im.
void complexSine(double re, double im, double& outRe, double& outIm) {
    outRe = std::sin(re) * std::cosh(im);
    outIm = std::cos(re) * std::sinh(im);
}

}  // namespace

TransverseMercatorConstants transverseMercatorConstants(double a, double e2, double lonOrigin, double lat0,
                                                        double k0, double x0, double y0) {
    TransverseMercatorConstants c;
    c.lonOrigin = lonOrigin;
    c.a = a;
    c.n = k0 * a;
    c.xs = x0;
    c.ys = y0 - c.n * meridianArc(lat0, e2);
    for (int i = 0; i < 5; ++i) {
        c.c[i] = polynomialInE2(kForward[i], e2);
        c.d[i] = polynomialInE2(kInverse[i], e2);
    }
    return c;
}

PlaneEn transverseMercatorForward(const TransverseMercatorConstants& c, double e2, double lon, double lat) {
    const double l = isometricLatitude(lat, e2);
    const double dLon = lon - c.lonOrigin;
    const double latSphere = std::asin(std::sin(dLon) / std::cosh(l));
    const double lambda = std::atan(std::sinh(l) / std::cos(dLon));
    const double lSphere = isometricLatitude(latSphere, 0.0);
    // Z = n c1 z + Σ n c(k+1) sin(2k z), z = Λ + i Ls.
    double zRe = c.n * c.c[0] * lambda;
    double zIm = c.n * c.c[0] * lSphere;
    for (int k = 1; k <= 4; ++k) {
        double sRe = 0.0, sIm = 0.0;
        complexSine(2.0 * k * lambda, 2.0 * k * lSphere, sRe, sIm);
        zRe += c.n * c.c[k] * sRe;
        zIm += c.n * c.c[k] * sIm;
    }
    return {c.xs + zIm, c.ys + zRe};
}

double transverseMercatorLongitudeAndIsometric(const TransverseMercatorConstants& c, const PlaneEn& p,
                                               double& isometric) {
    const double zetaRe = (p.n - c.ys) / (c.n * c.d[0]);
    const double zetaIm = (p.e - c.xs) / (c.n * c.d[0]);
    double u = zetaRe, v = zetaIm;
    for (int k = 1; k <= 4; ++k) {
        double sRe = 0.0, sIm = 0.0;
        complexSine(2.0 * k * zetaRe, 2.0 * k * zetaIm, sRe, sIm);
        u -= c.d[k] * sRe;
        v -= c.d[k] * sIm;
    }
    isometric = isometricLatitude(std::asin(std::sin(u) / std::cosh(v)), 0.0);
    return c.lonOrigin + std::atan(std::sinh(v) / std::cos(u));
}

LonLat transverseMercatorInverse(const TransverseMercatorConstants& c, double e2, double east, double north) {
    LonLat g;
    double isometric = 0.0;
    g.lon = transverseMercatorLongitudeAndIsometric(c, {east, north}, isometric);
    g.lat = latitudeFromIsometric(isometric, e2);
    return g;
}

ScaleConvergence transverseMercatorScaleConvergence(const TransverseMercatorConstants& c, double k0,
                                                    double lon, double lat, double east) {
    ScaleConvergence s;
    s.k = k0 * std::cosh((east - c.xs) / c.a);
    s.gamma = -std::atan(std::sin(lat) * std::tan(lon - c.lonOrigin));
    return s;
}

ScaleConvergence transverseMercatorExactScaleConvergence(const TransverseMercatorConstants& c, double a,
                                                         double e2, double lon, double lat) {
    return scaleConvergenceFromMeridian(
        [&c, e2](double x, double y) { return transverseMercatorForward(c, e2, x, y); }, a, e2, lon, lat);
}

}  // namespace zelvo
