#include "geodesy/ellipsoid.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "geodesy/angles.hpp"

namespace zelvo {
namespace {

constexpr double kDeg = kPi / 180.0;
constexpr double kGrs80A = 6378137.0, kGrs80E2 = 0.006694380022901;
constexpr double kClarkeA = 6378249.2, kClarkeE2 = 0.006803487646300;

TEST(Ellipsoid, CheckValues) {
    const double b = kGrs80A * std::sqrt(1.0 - kGrs80E2);
    const CartesianXyz equator = geographicToCartesian(kGrs80A, kGrs80E2, 0.0, 0.0, 0.0);
    const CartesianXyz pole = geographicToCartesian(kGrs80A, kGrs80E2, 0.3, kHalfPi, 10.0);
    const CartesianXyz east = geographicToCartesian(kGrs80A, kGrs80E2, kHalfPi, 0.0, 100.0);
    struct Case {
        const char* what;
        double got, expected, tolerance;
    } cases[] = {
        {"N at the equator is a", normalRadius(0.0, kGrs80A, kGrs80E2), kGrs80A, 0.0},
        {"M at the equator is a (1 - e2)", meridianRadius(kGrs80A, kGrs80E2, 0.0), kGrs80A * (1 - kGrs80E2),
         1e-8},
        {"N at the pole is a / sqrt(1 - e2)", normalRadius(kHalfPi, kGrs80A, kGrs80E2),
         kGrs80A / std::sqrt(1 - kGrs80E2), 1e-8},
        {"M at the pole equals N", meridianRadius(kGrs80A, kGrs80E2, kHalfPi),
         normalRadius(kHalfPi, kGrs80A, kGrs80E2), 1e-8},
        {"equator X", equator.x, kGrs80A, 0.0},
        {"equator Z", equator.z, 0.0, 0.0},
        {"pole Z is b + h", pole.z, b + 10.0, 1e-8},
        {"pole X", pole.x, 0.0, 1e-9},
        {"90°E Y", east.y, kGrs80A + 100.0, 1e-8},
        {"90°E X", east.x, 0.0, 1e-9},
        // Published: GRS 80 quarter meridian 10 001 965.7293 m, authalic radius 6 371 007.1810 m.
        {"quarter meridian", kGrs80A * meridianArc(kHalfPi, kGrs80E2), 10001965.7293, 1e-3},
        {"authalic radius", kGrs80A * std::sqrt(authalicQ(kGrs80E2, kHalfPi) / 2.0), 6371007.1810, 1e-3},
        {"meridian arc at the equator", meridianArc(0.0, kGrs80E2), 0.0, 0.0},
        {"isometric latitude at the equator", isometricLatitude(0.0, kClarkeE2), 0.0, 1e-15},
        {"isometric latitude on a sphere", isometricLatitude(0.8, 0.0), std::log(std::tan(kQuarterPi + 0.4)),
         1e-15},
        {"authalic q at the equator", authalicQ(kGrs80E2, 0.0), 0.0, 0.0},
        {"parallel factor at the equator", parallelFactor(kGrs80E2, 0.0), 1.0, 0.0},
        {"parallel factor at 60°", parallelFactor(kGrs80E2, 60 * kDeg), 0.5 / std::sqrt(1 - kGrs80E2 * 0.75),
         1e-15},
    };
    for (const auto& c : cases) EXPECT_NEAR(c.got, c.expected, c.tolerance) << c.what;
}

TEST(Ellipsoid, GeographicCartesianRoundTrip) {
    struct Case {
        double lonDeg, latDeg, hMetres;
    } cases[] = {
        {2.35, 48.85, 0.0},    {-1.5, 43.5, 3000.0}, {179.99, -45.0, -100.0}, {-179.99, 89.9, 5000.0},
        {55.5, -21.1, 3070.0}, {0.0, 0.0, 0.0},      {90.0, -89.99, 10.0},    {-120.0, 10.0, 8848.0},
    };
    for (const auto& c : cases)
        for (double e2 : {kGrs80E2, kClarkeE2}) {
            SCOPED_TRACE(testing::Message()
                         << c.lonDeg << " " << c.latDeg << " " << c.hMetres << " e2 " << e2);
            const CartesianXyz xyz =
                geographicToCartesian(kGrs80A, e2, c.lonDeg * kDeg, c.latDeg * kDeg, c.hMetres);
            const GeographicLonLatH g = cartesianToGeographic(xyz.x, xyz.y, xyz.z, kGrs80A, e2);
            EXPECT_NEAR(g.lon, c.lonDeg * kDeg, 1e-14);
            EXPECT_NEAR(g.lat, c.latDeg * kDeg, 1e-11);  // 0.06 mm
            EXPECT_NEAR(g.h, c.hMetres, 1e-4);
        }
}

TEST(Ellipsoid, LongitudeFromCartesian) {
    struct Case {
        double x, y, z, lon, lat;
    } cases[] = {
        {6378137.0, 0.0, 0.0, 0.0, 0.0},                         // positive X axis
        {-6378137.0, 1e-3, 0.0, kPi - 1e-3 / 6378137.0, 0.0},    // 1 mm from the antimeridian
        {-6378137.0, -1e-3, 0.0, -kPi + 1e-3 / 6378137.0, 0.0},  // on its other side
        {-6378137.0, 0.0, 0.0, kPi, 0.0},                        // on it
        {-6378137.0, 0.05, 0.0, kPi - 0.05 / 6378137.0, 0.0},    // 5 cm from it, to 0.1 mm
        {-6378137.0 * std::sqrt(0.5), 6378137.0 * std::sqrt(0.5), 0.0, 0.75 * kPi, 0.0},
        {-6378137.0 * std::sqrt(0.5), -6378137.0 * std::sqrt(0.5), 0.0, -0.75 * kPi, 0.0},
        {0.0, 0.0, 6356752.314, 0.0, kHalfPi},    // north pole
        {0.0, 0.0, -6356752.314, 0.0, -kHalfPi},  // south pole
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.y << " " << c.z);
        const GeographicLonLatH g = cartesianToGeographic(c.x, c.y, c.z, kGrs80A, kGrs80E2);
        EXPECT_NEAR(g.lon, c.lon, 1e-11);
        EXPECT_NEAR(g.lat, c.lat, 1e-12);
        EXPECT_NEAR(g.h, 0.0, 1e-3);
    }
}

TEST(Ellipsoid, IsometricLatitudeInverse) {
    for (double e2 : {0.0, kGrs80E2, kClarkeE2})
        for (double latDeg : {-89.9, -60.0, -21.1, 0.0, 1e-6, 43.5, 48.85, 80.0, 89.999}) {
            SCOPED_TRACE(testing::Message() << latDeg << "° e2 " << e2);
            EXPECT_NEAR(latitudeFromIsometric(isometricLatitude(latDeg * kDeg, e2), e2), latDeg * kDeg,
                        1e-12);
        }
}

TEST(Ellipsoid, IsometricInverseEndsOnNonFiniteInput) {
    EXPECT_TRUE(std::isnan(latitudeFromIsometric(std::nan(""), kGrs80E2)));
    EXPECT_EQ(latitudeFromIsometric(INFINITY, kGrs80E2), kHalfPi);
}

TEST(Ellipsoid, IsometricInversesTogetherAreEachToTheBit) {
    // Lengths that fill the lanes, leave each possible remainder, and points that need more
    // passes than their neighbours (near the poles) or end at once (non-finite).
    const std::vector<double> isometric = {0.0,    0.95,  -0.3, 1e-9, 3.2,   -2.7,  0.9500001,
                                           0.8812, 6.0,   -6.0, 0.1,  std::numeric_limits<double>::infinity(),
                                           std::nan(""), 1.02, 0.97};
    for (double e2 : {0.0, kGrs80E2, kClarkeE2})
        for (std::size_t first = 0; first < 3; ++first)
            for (std::size_t count = 0; first + count <= isometric.size(); ++count) {
                SCOPED_TRACE(testing::Message() << "e2 " << e2 << ", " << count << " from " << first);
                const std::span<const double> some = std::span(isometric).subspan(first, count);
                std::vector<double> together(count, -1.0);
                latitudesFromIsometric(some, e2, together);
                for (std::size_t i = 0; i < count; ++i)
                    EXPECT_EQ(std::bit_cast<std::uint64_t>(together[i]),
                              std::bit_cast<std::uint64_t>(latitudeFromIsometric(some[i], e2)))
                        << "isometric " << some[i];
            }
}

}  // namespace
}  // namespace zelvo
