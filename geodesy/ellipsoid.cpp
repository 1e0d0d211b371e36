#include "geodesy/ellipsoid.hpp"

#include <cmath>

#include "geodesy/angles.hpp"
#include "geodesy/series.hpp"

namespace zelvo {
namespace {

// Iteration passes never needed by a finite argument (each pass gains about two digits); the cap only
// keeps a non-finite argument from looping for ever.
constexpr int kMaxPasses = 100;

}  // namespace

double normalRadius(double lat, double a, double e2) { return normalRadiusOfSin(std::sin(lat), a, e2); }

double normalRadiusOfSin(double sinLat, double a, double e2) { return a / std::sqrt(1.0 - e2 * sinLat * sinLat); }

double meridianRadius(double a, double e2, double lat) {
    const double s = std::sin(lat);
    return normalRadius(lat, a, e2) * (1.0 - e2) / (1.0 - e2 * s * s);
}

CartesianXyz geographicToCartesian(double a, double e2, double lon, double lat, double h) {
    const double n = normalRadius(lat, a, e2);
    CartesianXyz c;
    c.x = (n + h) * std::cos(lat) * std::cos(lon);
    c.y = (n + h) * std::cos(lat) * std::sin(lon);
    c.z = (n * (1.0 - e2) + h) * std::sin(lat);
    return c;
}

GeographicLonLatH cartesianToGeographic(double x, double y, double z, double a, double e2) {
    GeographicLonLatH g;
    const double rEquatorial = std::sqrt(x * x + y * y);
    const double w = std::sqrt(1.0 - e2);
    if (rEquatorial == 0.0) {
        // On the polar axis the general formulas divide 0 by 0: the point is at a pole.
        g.lon = 0.0;
        g.lat = std::copysign(kHalfPi, z);
        g.h = std::fabs(z) - a * w;
        return g;
    }
    const double r = std::sqrt(rEquatorial * rEquatorial + z * z);
    const double mu = std::atan((z / rEquatorial) * (w + a * e2 / r));
    const double sinMu = std::sin(mu), cosMu = std::cos(mu);
    g.lat = std::atan((z * w + a * e2 * sinMu * sinMu * sinMu) /
                      (w * (rEquatorial - a * e2 * cosMu * cosMu * cosMu)));
    const double sinLat = std::sin(g.lat);
    g.h = rEquatorial * std::cos(g.lat) + z * sinLat - a * std::sqrt(1.0 - e2 * sinLat * sinLat);
    // λ = 2 atan(Y / (X + R)). West of the ±90° meridians X + R cancels (up to centimetres of
    // error near the antimeridian, a division by zero on it), so the equal form
    // 2 atan((R − X) / Y) is used there, with λ = π on the antimeridian itself.
    if (x >= 0.0)
        g.lon = 2.0 * std::atan(y / (x + rEquatorial));
    else
        g.lon = y == 0.0 ? kPi : 2.0 * std::atan((rEquatorial - x) / y);
    return g;
}

double isometricLatitude(double lat, double e2) { return isometricLatitudeOfSin(lat, std::sin(lat), e2); }

double isometricLatitudeOfSin(double lat, double sinLat, double e2) {
    const double e = std::sqrt(e2);
    const double es = e * sinLat;
    return std::log(std::tan(kQuarterPi + lat / 2.0)) + (e / 2.0) * std::log((1.0 - es) / (1.0 + es));
}

namespace {

// The latitudes of N isometric latitudes. Each lane runs the same operations in the same order as
// a lane of its own, so each result is the same to the bit whatever N is; interleaving the lanes,
// stage by stage, lets the processor overlap the long chains of dependent calls of one lane with
// those of the others.
template <std::size_t N>
void latitudeLanes(const double* isometric, double e2, double* lat) {
    const double e = std::sqrt(e2);
    double expL[N], previous[N], step[N];
    bool done[N];
    for (std::size_t i = 0; i < N; ++i) expL[i] = std::exp(isometric[i]);
    for (std::size_t i = 0; i < N; ++i) {
        lat[i] = 2.0 * std::atan(expL[i]) - kHalfPi;
        done[i] = false;
    }
    std::size_t left = N;
    for (int pass = 0; pass < kMaxPasses && left > 0; ++pass) {
        for (std::size_t i = 0; i < N; ++i)
            if (!done[i]) {
                previous[i] = lat[i];
                step[i] = e * std::sin(lat[i]);
            }
        for (std::size_t i = 0; i < N; ++i)
            if (!done[i]) step[i] = std::log((1.0 + step[i]) / (1.0 - step[i]));
        for (std::size_t i = 0; i < N; ++i)
            if (!done[i]) step[i] = std::exp((e / 2.0) * step[i]);
        for (std::size_t i = 0; i < N; ++i)
            if (!done[i]) {
                lat[i] = 2.0 * std::atan(step[i] * expL[i]) - kHalfPi;
                if (std::fabs(lat[i] - previous[i]) <= 1e-12) {
                    done[i] = true;
                    --left;
                }
            }
    }
}

}  // namespace

double latitudeFromIsometric(double isometric, double e2) {
    double lat = 0.0;
    latitudeLanes<1>(&isometric, e2, &lat);
    return lat;
}

void latitudesFromIsometric(std::span<const double> isometric, double e2, std::span<double> lat) {
    std::size_t i = 0;
    for (; i + kLatitudeLanes <= isometric.size(); i += kLatitudeLanes)
        latitudeLanes<kLatitudeLanes>(&isometric[i], e2, &lat[i]);
    switch (isometric.size() - i) {
        case 3: latitudeLanes<3>(&isometric[i], e2, &lat[i]); break;
        case 2: latitudeLanes<2>(&isometric[i], e2, &lat[i]); break;
        case 1: latitudeLanes<1>(&isometric[i], e2, &lat[i]); break;
        default: break;
    }
}

std::array<double, 5> meridianArcCoefficients(double e2) {
    static constexpr double kRows[5][5] = {
        {1.0, -1.0 / 4.0, -3.0 / 64.0, -5.0 / 256.0, -175.0 / 16384.0},
        {0.0, -3.0 / 8.0, -3.0 / 32.0, -45.0 / 1024.0, -105.0 / 4096.0},
        {0.0, 0.0, 15.0 / 256.0, 45.0 / 1024.0, 525.0 / 16384.0},
        {0.0, 0.0, 0.0, -35.0 / 3072.0, -175.0 / 12288.0},
        {0.0, 0.0, 0.0, 0.0, 315.0 / 131072.0},
    };
    std::array<double, 5> c{};
    for (int i = 0; i < 5; ++i) c[i] = polynomialInE2(kRows[i], e2);
    return c;
}

double meridianArc(double lat, double e2) {
    const std::array<double, 5> c = meridianArcCoefficients(e2);
    return c[0] * lat + c[1] * std::sin(2.0 * lat) + c[2] * std::sin(4.0 * lat) + c[3] * std::sin(6.0 * lat) +
           c[4] * std::sin(8.0 * lat);
}

double authalicQ(double e2, double lat) {
    const double e = std::sqrt(e2);
    const double s = std::sin(lat);
    return (1.0 - e2) *
           (s / (1.0 - e2 * s * s) - (1.0 / (2.0 * e)) * std::log((1.0 - e * s) / (1.0 + e * s)));
}

double parallelFactor(double e2, double lat) {
    const double s = std::sin(lat);
    return std::cos(lat) / std::sqrt(1.0 - e2 * s * s);
}

}  // namespace zelvo
