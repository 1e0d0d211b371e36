#include "geodesy/oblique_stereographic.hpp"

#include <cmath>

#include "geodesy/angles.hpp"
#include "geodesy/ellipsoid.hpp"

namespace zelvo {
namespace {

// The conformal latitude χ and longitude difference ΔΛ = n (λ − λ0) of a point.
void conformal(const ObliqueStereographicConstants& c, double e2, double lon, double lat, double& chi,
               double& dLambda) {
    chi = 2.0 * std::atan(std::exp(c.halfLogC + c.n * isometricLatitude(lat, e2))) - kHalfPi;
    dLambda = c.n * (lon - c.lonOrigin);
}

}  // namespace

ObliqueStereographicConstants obliqueStereographicConstants(double a, double e2, double lonOrigin, double lat0,
                                                            double k0, double x0, double y0) {
    ObliqueStereographicConstants c;
    c.lonOrigin = lonOrigin;
    const double sin0 = std::sin(lat0);
    const double cos0 = std::cos(lat0);
    const double w = 1.0 - e2 * sin0 * sin0;
    const double rho0 = a * (1.0 - e2) / (w * std::sqrt(w));
    const double nu0 = a / std::sqrt(w);
    const double r = std::sqrt(rho0 * nu0);
    c.n = std::sqrt(1.0 + e2 * cos0 * cos0 * cos0 * cos0 / (1.0 - e2));
    // w1 = exp(2 n L0); sin χ0 = (w1 − 1)/(w1 + 1) is the origin's latitude on the sphere before
    // the offset c that brings the origin onto χ0 with the sphere's scale exact there.
    const double l0 = isometricLatitude(lat0, e2);
    const double sinChiPre = std::tanh(c.n * l0);
    const double cc = (c.n + sin0) * (1.0 - sinChiPre) / ((c.n - sin0) * (1.0 + sinChiPre));
    c.halfLogC = 0.5 * std::log(cc);
    const double chi0 = 2.0 * std::atan(std::exp(c.halfLogC + c.n * l0)) - kHalfPi;
    c.sinChi0 = std::sin(chi0);
    c.cosChi0 = std::cos(chi0);
    c.twoRk0 = 2.0 * r * k0;
    c.x0 = x0;
    c.y0 = y0;
    return c;
}

PlaneEn obliqueStereographicForward(const ObliqueStereographicConstants& c, double e2, double lon, double lat) {
    double chi = 0.0, dL = 0.0;
    conformal(c, e2, lon, lat, chi, dL);
    const double sinChi = std::sin(chi), cosChi = std::cos(chi), cosDL = std::cos(dL);
    const double b = 1.0 + sinChi * c.sinChi0 + cosChi * c.cosChi0 * cosDL;
    return {c.x0 + c.twoRk0 * cosChi * std::sin(dL) / b,
            c.y0 + c.twoRk0 * (sinChi * c.cosChi0 - cosChi * c.sinChi0 * cosDL) / b};
}

LonLat obliqueStereographicInverse(const ObliqueStereographicConstants& c, double e2, double east, double north) {
    // The spherical stereographic inverse on the unit sphere, distances in units of R k0.
    const double x = 2.0 * (east - c.x0) / c.twoRk0;
    const double y = 2.0 * (north - c.y0) / c.twoRk0;
    const double rho = std::hypot(x, y);
    double chi = 0.0, dL = 0.0;
    if (rho == 0.0) {
        chi = std::asin(c.sinChi0);
    } else {
        const double ce = 2.0 * std::atan(rho / 2.0);
        const double sinCe = std::sin(ce), cosCe = std::cos(ce);
        chi = std::asin(cosCe * c.sinChi0 + y * sinCe * c.cosChi0 / rho);
        dL = std::atan2(x * sinCe, rho * c.cosChi0 * cosCe - y * c.sinChi0 * sinCe);
    }
    LonLat g;
    g.lon = c.lonOrigin + dL / c.n;
    const double isometricSphere = std::log(std::tan(kQuarterPi + chi / 2.0));
    g.lat = latitudeFromIsometric((isometricSphere - c.halfLogC) / c.n, e2);
    return g;
}

ScaleConvergence obliqueStereographicScaleConvergence(const ObliqueStereographicConstants& c, double a,
                                                      double e2, double lon, double lat) {
    double chi = 0.0, dL = 0.0;
    conformal(c, e2, lon, lat, chi, dL);
    const double sinChi = std::sin(chi), cosChi = std::cos(chi), cosDL = std::cos(dL), sinDL = std::sin(dL);
    const double b = 1.0 + sinChi * c.sinChi0 + cosChi * c.cosChi0 * cosDL;
    ScaleConvergence s;
    s.k = c.twoRk0 * c.n * cosChi / (b * normalRadius(lat, a, e2) * std::cos(lat));
    // The meridian's image runs along ∂(x, y)/∂χ; its angle from the grid north is
    // atan2(∂x/∂χ, ∂y/∂χ), which reduces to −atan2(sin ΔΛ (sin χ + sin χ0), cos χ0 cos χ + (1 + sin χ0 sin χ) cos ΔΛ).
    s.gamma = -std::atan2(sinDL * (sinChi + c.sinChi0), c.cosChi0 * cosChi + (1.0 + c.sinChi0 * sinChi) * cosDL);
    return s;
}

}  // namespace zelvo
