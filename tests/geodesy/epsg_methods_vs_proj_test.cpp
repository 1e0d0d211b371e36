// The EPSG method kinds, one row per method (and per notable use), against PROJ over a lattice
// covering the method's area: forward (cs2cs) within 1 mm, inverse of PROJ's projected points
// within 1e-9°, point scale factor and convergence against proj -V; and each method's worked
// example of IOGP's Guidance Note 7-2 where it gives one.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <limits>
#include <string>
#include <vector>

#include "catalogue/projection_codes.hpp"
#include "geodesy/projection.hpp"
#include "platform/number_text.hpp"
#include "reference_tools.hpp"

namespace zelvo {
namespace {

constexpr double kDegree = 3.141592653589793 / 180.0;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct Example {
    double lon = kNone, lat = kNone;  // degrees
    double e = kNone, n = kNone;      // in the projection's linear unit
    double tolerance = 0.01;          // the guidance prints centimetres (here and there millimetres)
};

struct MethodCase {
    const char* name;
    int kind;
    int linearUnit;
    // λ0 (from the meridian below), φ0, k0, φ1, φ2 in degrees, as the catalogue record holds them.
    double lon0, lat0, k0, lat1, lat2;
    double x0, y0;           // false origin, in the linear unit
    double meridian;         // the record's meridian east of Greenwich, degrees (0: Greenwich)
    double a, inverseFlattening;
    // PROJ's definition of the same projection, without its ellipsoid, output in the linear unit.
    const char* proj;
    double minLon, minLat, maxLon, maxLat;  // the lattice, degrees
    Example example;
    // PROJ knows the method only through an equivalent one whose false origin lies elsewhere: its
    // values are moved so that the point (λ0, φ1) lands on (x0, y0).
    bool moveToFalseOrigin = false;
};

// Ellipsoids: a, 1/f.
constexpr double kWgs84A = 6378137.0, kWgs84Rf = 298.257223563;
constexpr double kGrs80A = 6378137.0, kGrs80Rf = 298.257222101;
constexpr double kBesselA = 6377397.155, kBesselRf = 299.1528128;
constexpr double kClarke66A = 6378206.4, kClarke66Rf = 294.978698213898;
constexpr double kAiryA = 6377563.396, kAiryRf = 299.3249646;

const MethodCase kCases[] = {
    {"oblique stereographic, Amersfoort / RD New", kEpsgObliqueStereographic, 9001, 5.38763888888889,
     52.1561605555556, 0.9999079, 0, 0, 155000, 463000, 0, kBesselA, kBesselRf,
     "+proj=sterea +lat_0=52.1561605555556 +lon_0=5.38763888888889 +k=0.9999079 +x_0=155000 +y_0=463000",
     3.2, 50.7, 7.3, 53.6, {6.0, 53.0, 196105.283, 557057.739, 0.001}},
    {"polar stereographic A, WGS 84 / UPS North", kEpsgPolarStereographicA, 9001, 0, 90, 0.994, 0, 0, 2000000,
     2000000, 0, kWgs84A, kWgs84Rf, "+proj=stere +lat_0=90 +lon_0=0 +k=0.994 +x_0=2000000 +y_0=2000000", -180,
     60, 180, 89.5, {44.0, 73.0, 3320416.75, 632668.43}},
    {"polar stereographic A, south pole", kEpsgPolarStereographicA, 9001, 0, -90, 0.994, 0, 0, 2000000,
     2000000, 0, kWgs84A, kWgs84Rf, "+proj=stere +lat_0=-90 +lon_0=0 +k=0.994 +x_0=2000000 +y_0=2000000",
     -180, -89.5, 180, -60, {}},
    {"polar stereographic B, Australian Antarctic", kEpsgPolarStereographicB, 9001, 70, 0, 0, -71, 0, 6000000,
     6000000, 0, kWgs84A, kWgs84Rf, "+proj=stere +lat_0=-90 +lat_ts=-71 +lon_0=70 +x_0=6000000 +y_0=6000000",
     -180, -89.5, 180, -60, {120.0, -75.0, 7255380.79, 7053389.56}},
    {"polar stereographic C, Petrels 1972 / Terre Adelie", kEpsgPolarStereographicC, 9001, 140, 0, 0, -67, 0,
     300000, 200000, 0, 6378388.0, 297.0, "+proj=stere +lat_0=-90 +lat_ts=-67 +lon_0=140 +x_0=0 +y_0=0", 136,
     -67.5, 142, -65.5, {140.0714, -66.60522777777778, 303169.52, 244055.72}, true},
    {"Mercator A, Makassar / NEIEZ", kEpsgMercatorA, 9001, 110, 0, 0.997, 0, 0, 3900000, 900000, 0, kBesselA,
     kBesselRf, "+proj=merc +lon_0=110 +k=0.997 +x_0=3900000 +y_0=900000", 94, -11, 141, 6,
     {120.0, -3.0, 5009726.58, 569150.82}},
    {"Mercator B, Pulkovo 1942 / Caspian Sea Mercator", kEpsgMercatorB, 9001, 51, 0, 0, 42, 0, 0, 0, 0, 6378245.0,
     298.3, "+proj=merc +lat_ts=42 +lon_0=51 +x_0=0 +y_0=0", 46, 35, 56, 48,
     {53.0, 53.0, 165704.29, 5171848.07}},
    {"Cassini-Soldner in Clarke's links, Trinidad 1903", kEpsgCassiniSoldner, 9039, -61.3333333333333,
     10.4416666666667, 0, 0, 0, 430000, 325000, 0, 6378293.64520876, 294.260676369,
     "+proj=cass +lat_0=10.4416666666667 +lon_0=-61.3333333333333 +x_0=86501.46392052 +y_0=65379.0134283 "
     "+to_meter=0.201166195164",
     -62.0, 9.8, -60.4, 11.6, {-62.0, 10.0, 66644.94, 82536.22}},
    {"Hotine oblique Mercator A, GDM2000 / Peninsula RSO", kEpsgHotineObliqueMercatorA, 9001, 102.25, 4, 0.99984,
     323.025796466667, 323.130102361111, 804671, 0, 0, kGrs80A, kGrs80Rf,
     "+proj=omerc +no_uoff +lat_0=4 +lonc=102.25 +alpha=323.025796466667 +gamma=323.130102361111 +k=0.99984 "
     "+x_0=804671 +y_0=0",
     99.5, 1.2, 104.6, 6.8, {}},
    {"Hotine oblique Mercator A in feet, Oregon Columbia River West zone", kEpsgHotineObliqueMercatorA, 9002, -123,
     45.9166666666667, 1, 295, 295, 22965879.2650, -9842519.6850, 0, kGrs80A, kGrs80Rf,
     "+proj=omerc +no_uoff +lat_0=45.9166666666667 +lonc=-123 +alpha=295 +gamma=295 +k=1 "
     "+x_0=7000000.00000248 +y_0=-2999999.999988 +units=ft",
     -124.1, 45.5, -122.7, 46.3, {}},
    {"Hotine oblique Mercator B, Timbalai 1948 / RSO Borneo", kEpsgHotineObliqueMercatorB, 9001, 115, 4, 0.99984,
     53.3158204722222, 53.1301023611111, 590476.87, 442857.65, 0, 6377298.556, 300.8017,
     "+proj=omerc +lat_0=4 +lonc=115 +alpha=53.3158204722222 +gamma=53.1301023611111 +k=0.99984 +x_0=590476.87 "
     "+y_0=442857.65",
     109.5, 0.8, 119.3, 7.4, {115.80550544444, 5.38725358333, 679245.73, 596562.78}},
    {"Hotine oblique Mercator B, Swiss CH1903+ / LV95", kEpsgHotineObliqueMercatorB, 9001, 7.43958333333333,
     46.9524055555556, 1, 90, 90, 2600000, 1200000, 0, kBesselA, kBesselRf,
     "+proj=somerc +lat_0=46.9524055555556 +lon_0=7.43958333333333 +k_0=1 +x_0=2600000 +y_0=1200000", 5.9,
     45.8, 10.5, 47.8, {}},
    {"Hotine oblique Mercator B, Hungarian EOV", kEpsgHotineObliqueMercatorB, 9001, 19.0485717777778,
     47.1443937222222, 0.99993, 90, 90, 650000, 200000, 0, 6378160.0, 298.247167427,
     "+proj=somerc +lat_0=47.1443937222222 +lon_0=19.0485717777778 +k_0=0.99993 +x_0=650000 +y_0=200000", 16.1,
     45.7, 22.9, 48.6, {}},
    {"Albers equal-area, NAD83 / BC Albers", kEpsgAlbersEqualArea, 9001, -126, 45, 0, 50, 58.5, 1000000, 0, 0,
     kGrs80A, kGrs80Rf, "+proj=aea +lat_0=45 +lon_0=-126 +lat_1=50 +lat_2=58.5 +x_0=1000000 +y_0=0", -139,
     48.3, -114, 60, {}},
    {"Albers equal-area, southern cone", kEpsgAlbersEqualArea, 9001, 132, 0, 0, -18, -36, 0, 0, 0, kGrs80A,
     kGrs80Rf, "+proj=aea +lat_0=0 +lon_0=132 +lat_1=-18 +lat_2=-36 +x_0=0 +y_0=0", 112, -44, 154, -9, {}},
    {"Krovak, S-JTSK (southing, westing)", kEpsgKrovak, 9001, 24.8333333333333, 49.5, 0.9999, 30.2881397527778,
     78.5, 0, 0, 0, kBesselA, kBesselRf,
     "+proj=krovak +axis=wsu +lat_0=49.5 +lon_0=24.8333333333333 +alpha=30.2881397527778 +k=0.9999 +x_0=0 "
     "+y_0=0",
     12.0, 47.7, 22.6, 51.1, {16.849771944, 50.209011667, 568990.99, 1050538.63}},
    {"Krovak north-orientated, S-JTSK / Ferro", kEpsgKrovakNorthOrientated, 9001, 42.5, 49.5, 0.9999,
     30.2881397527778, 78.5, 0, 0, -17.6666666666667, kBesselA, kBesselRf,
     "+proj=krovak +lat_0=49.5 +lon_0=24.8333333333333 +alpha=30.2881397527778 +k=0.9999 +x_0=0 +y_0=0", 12.0,
     47.7, 22.6, 51.1, {16.849771944, 50.209011667, -568990.99, -1050538.63}},
    {"transverse Mercator south-orientated, Hartebeesthoek94 / Lo29", kEpsgTransverseMercatorSouth, 9001, 29, 0,
     1, 0, 0, 0, 0, 0, kWgs84A, kWgs84Rf, "+proj=tmerc +axis=wsu +lat_0=0 +lon_0=29 +k=1 +x_0=0 +y_0=0", 28,
     -33, 30, -22, {28.282633055556, -25.732028333333, 71984.48, 2847342.74}},
    {"transverse Mercator in US survey feet, NAD83 / Florida East", kEpsgTransverseMercator, 9003, -81,
     24.3333333333333, 0.999941177, 0, 0, 656166.667, 0, 0, kGrs80A, kGrs80Rf,
     "+proj=tmerc +lat_0=24.3333333333333 +lon_0=-81 +k=0.999941177 +x_0=200000.0001016 +y_0=0 +units=us-ft",
     -82.4, 24.4, -79.9, 30.9, {}},
    {"transverse Mercator, OSGB 1936 / British National Grid", kEpsgTransverseMercator, 9001, -2, 49,
     0.9996012717, 0, 0, 400000, -100000, 0, kAiryA, kAiryRf,
     "+proj=tmerc +lat_0=49 +lon_0=-2 +k=0.9996012717 +x_0=400000 +y_0=-100000", -7.6, 49.8, 1.8, 60.9,
     {0.5, 50.5, 577274.99, 69740.50}},
    {"Lambert conic 2SP in US survey feet, NAD27 / Texas South Central", kEpsgLambertConic2SP, 9003, -99,
     27.8333333333333, 0, 28.3833333333333, 30.2833333333333, 2000000, 0, 0, kClarke66A, kClarke66Rf,
     "+proj=lcc +lat_0=27.8333333333333 +lon_0=-99 +lat_1=28.3833333333333 +lat_2=30.2833333333333 "
     "+x_0=609601.219202438 +y_0=0 +units=us-ft",
     -100.2, 27.8, -93.8, 30.7, {-96.0, 28.5, 2963503.91, 254759.80}},
    {"Lambert conic 1SP, JAD69 / Jamaica National Grid", kEpsgLambertConic1SP, 9001, -77, 18, 1, 0, 0, 250000,
     150000, 0, kClarke66A, kClarke66Rf, "+proj=lcc +lat_1=18 +lat_0=18 +lon_0=-77 +k_0=1 +x_0=250000 +y_0=150000",
     -78.4, 17.6, -76.1, 18.6, {-76.94368333333, 17.93216666667, 255966.58, 142493.51}},
    {"Lambert conic west-orientated, Scoresbysund 1952 / Greenland zone 5 east", kEpsgLambertConicWest, 9001, -24,
     70.5, 1, 0, 0, 0, 0, 0, 6378388.0, 297.0, "+proj=lcc +axis=wnu +lat_1=70.5 +lat_0=70.5 +lon_0=-24 +k_0=1 +x_0=0 +y_0=0",
     -29, 69, -19, 72, {}},
    {"Lambert azimuthal equal-area, ETRS89 / LAEA Europe", kEpsgLambertAzimuthalEqualArea, 9001, 10, 52, 0, 0, 0,
     4321000, 3210000, 0, kGrs80A, kGrs80Rf, "+proj=laea +lat_0=52 +lon_0=10 +x_0=4321000 +y_0=3210000", -16, 32,
     40, 72, {5.0, 50.0, 3962799.45, 2999718.85}},
};

std::string number(double v) { return formatFixed(v, 12); }

std::string ellipsoid(const MethodCase& c) {
    return " +a=" + number(c.a) + " +rf=" + number(c.inverseFlattening) + " +no_defs";
}

double eccentricitySquared(const MethodCase& c) {
    const double f = 1.0 / c.inverseFlattening;
    return f * (2.0 - f);
}

CPrc record(const MethodCase& c, CLgo& meridian) {
    CPrc p;
    p.number = 1;
    p.name = c.name;
    p.kind = c.kind;
    p.linearUnit = c.linearUnit;
    p.unit = 2;
    p.longitudeOrigin = c.lon0;
    p.latitudeOrigin = c.lat0;
    p.scaleFactor = c.k0;
    p.parallel1 = c.lat1;
    p.parallel2 = c.lat2;
    p.falseEasting = c.x0;
    p.falseNorthing = c.y0;
    meridian.number = c.meridian == 0.0 ? 1 : 2;
    meridian.unit = 2;
    meridian.longitude = c.meridian;
    p.meridian = &meridian;
    return p;
}

// The lattice of a case, (lon, lat) in degrees.
std::vector<std::array<double, 3>> lattice(const MethodCase& c, int steps) {
    std::vector<std::array<double, 3>> points;
    for (int i = 0; i <= steps; ++i)
        for (int j = 0; j <= steps; ++j)
            points.push_back({c.minLon + (c.maxLon - c.minLon) * i / steps,
                              c.minLat + (c.maxLat - c.minLat) * j / steps, 0.0});
    return points;
}

void PrintTo(const MethodCase& c, std::ostream* os) { *os << c.name; }

class EpsgMethods : public testing::TestWithParam<MethodCase> {};

TEST_P(EpsgMethods, ForwardAndInverseAgainstCs2cs) {
    if (!test::cs2csAvailable()) ZELVO_MISSING_PREREQUISITE("PROJ's cs2cs is not installed (Debian package proj-bin)");
    const MethodCase& c = GetParam();
    CLgo meridian;
    const CPrc p = record(c, meridian);
    const double a = c.a, e2 = eccentricitySquared(c);
    const double unit = linearUnitMetres(c.linearUnit);
    const std::string geographic = "+proj=longlat" + ellipsoid(c);
    const std::string projected = std::string(c.proj) + ellipsoid(c);
    SCOPED_TRACE(projected);

    std::vector<std::array<double, 3>> points = lattice(c, 10);
    if (c.moveToFalseOrigin) points.push_back({c.lon0, c.lat1, 0.0});
    std::vector<std::array<double, 3>> forward = test::runCs2cs(geographic, projected, points);
    ASSERT_EQ(forward.size(), points.size()) << "cs2cs did not run";
    if (c.moveToFalseOrigin) {
        const std::array<double, 3> origin = forward.back();
        points.pop_back();
        forward.pop_back();
        for (auto& f : forward) {
            f[0] += c.x0 - origin[0];
            f[1] += c.y0 - origin[1];
        }
    }

    double maxE = 0, maxN = 0, maxAngle = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "lon " << points[i][0] << "° lat " << points[i][1] << "°");
        ProjectedPoint mine;
        ASSERT_EQ(projectForward(p, a, e2, points[i][0] * kDegree, points[i][1] * kDegree, mine), 0);
        EXPECT_NEAR(mine.plane.e, forward[i][0], 1e-3 / unit);
        EXPECT_NEAR(mine.plane.n, forward[i][1], 1e-3 / unit);
        maxE = std::max(maxE, std::fabs(mine.plane.e - forward[i][0]) * unit);
        maxN = std::max(maxN, std::fabs(mine.plane.n - forward[i][1]) * unit);

        LonLat back;
        ASSERT_EQ(projectInverse(p, a, e2, forward[i][0], forward[i][1], back), 0);
        const double dLat = back.lat / kDegree - points[i][1];
        EXPECT_NEAR(dLat, 0.0, 1e-9);
        maxAngle = std::max(maxAngle, std::fabs(dLat));
        if (std::fabs(points[i][1]) < 90.0) {
            const double dLon = std::remainder(back.lon / kDegree - points[i][0], 360.0);
            EXPECT_NEAR(dLon, 0.0, 1e-9);
            maxAngle = std::max(maxAngle, std::fabs(dLon));
        }
    }
    std::cout << "[ cs2cs    ] " << c.name << ": max |dE| " << maxE << " m, |dN| " << maxN
              << " m; inverse max " << maxAngle << "°\n";
}

TEST_P(EpsgMethods, WorkedExampleOfTheGuidance) {
    const MethodCase& c = GetParam();
    if (std::isnan(c.example.lon)) return;  // the guidance has no example for this use
    CLgo meridian;
    const CPrc p = record(c, meridian);
    const double e2 = eccentricitySquared(c);
    ProjectedPoint mine;
    ASSERT_EQ(projectForward(p, c.a, e2, c.example.lon * kDegree, c.example.lat * kDegree, mine), 0);
    EXPECT_NEAR(mine.plane.e, c.example.e, c.example.tolerance);
    EXPECT_NEAR(mine.plane.n, c.example.n, c.example.tolerance);
    LonLat back;
    ASSERT_EQ(projectInverse(p, c.a, e2, c.example.e, c.example.n, back), 0);
    // The printed centimetres are worth about 1e-7°.
    EXPECT_NEAR(back.lon / kDegree, c.example.lon, 2e-7);
    EXPECT_NEAR(back.lat / kDegree, c.example.lat, 2e-7);
}

TEST_P(EpsgMethods, ScaleFactorAndConvergenceAgainstProj) {
    const MethodCase& c = GetParam();
    CLgo meridian;
    const CPrc p = record(c, meridian);
    if (!hasScaleFactor(p)) {
        ProjectedPoint mine;
        ASSERT_EQ(projectForward(p, c.a, eccentricitySquared(c), c.lon0 * kDegree, 0.5, mine), 0);
        EXPECT_FALSE(mine.hasScale);
        return;
    }
    if (!std::filesystem::exists("/usr/bin/proj"))
        ZELVO_MISSING_PREREQUISITE("PROJ's proj is not installed (Debian package proj-bin)");
    // proj -V takes no axis order; its factors do not depend on it.
    std::string definition = c.proj;
    const std::size_t axis = definition.find(" +axis=");
    if (axis != std::string::npos) definition.erase(axis, std::string(" +axis=wsu").size());
    definition += ellipsoid(c);
    SCOPED_TRACE(definition);
    std::vector<std::array<double, 2>> points;
    for (const auto& point : lattice(c, 5)) points.push_back({point[0], point[1]});
    const auto factors = test::runProjFactors(definition, points);
    ASSERT_EQ(factors.size(), points.size()) << "proj did not run";
    double maxK = 0, maxGamma = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "lon " << points[i][0] << "° lat " << points[i][1] << "°");
        ProjectedPoint mine;
        ASSERT_EQ(projectForward(p, c.a, eccentricitySquared(c), points[i][0] * kDegree, points[i][1] * kDegree,
                                 mine),
                  0);
        ASSERT_TRUE(mine.hasScale);
        EXPECT_NEAR(mine.scale.k, factors[i].k, 2e-8);
        // This system counts the convergence the other way round from PROJ.
        const double dGamma = std::remainder(mine.scale.gamma / kDegree + factors[i].convergenceDegrees, 360.0);
        EXPECT_NEAR(dGamma, 0.0, 2e-8);
        maxK = std::max(maxK, std::fabs(mine.scale.k - factors[i].k));
        maxGamma = std::max(maxGamma, std::fabs(dGamma));
    }
    std::cout << "[ proj -V  ] " << c.name << ": max |dk| " << maxK << ", max |dγ| " << maxGamma << "°\n";
}

// One record read in two linear units, one after the other: the second must not reuse the
// constants of the first (the run keeps them by the values they come from), and an unknown
// unit code makes the projection unsupported.
TEST(EpsgMethodUnits, TheLinearUnitScalesTheProjectedValuesBothWays) {
    const MethodCase& c = kCases[19];
    ASSERT_NE(std::string(c.name).find("British National Grid"), std::string::npos);
    CLgo meridian;
    CPrc p = record(c, meridian);
    const double e2 = eccentricitySquared(c);
    ProjectedPoint metres, feet;
    ASSERT_EQ(projectForward(p, c.a, e2, 0.5 * kDegree, 50.5 * kDegree, metres), 0);
    p.linearUnit = 9002;
    p.falseEasting = 400000 / 0.3048;
    p.falseNorthing = -100000 / 0.3048;
    ASSERT_EQ(projectForward(p, c.a, e2, 0.5 * kDegree, 50.5 * kDegree, feet), 0);
    EXPECT_NEAR(feet.plane.e * 0.3048, metres.plane.e, 1e-9);
    EXPECT_NEAR(feet.plane.n * 0.3048, metres.plane.n, 1e-9);
    EXPECT_EQ(feet.scale.k, metres.scale.k) << "the scale factor has no unit";
    LonLat back;
    ASSERT_EQ(projectInverse(p, c.a, e2, feet.plane.e, feet.plane.n, back), 0);
    EXPECT_NEAR(back.lon / kDegree, 0.5, 1e-9);
    EXPECT_NEAR(back.lat / kDegree, 50.5, 1e-9);

    p.linearUnit = 1234;
    EXPECT_FALSE(isSupportedProjection(p));
    ProjectedPoint untouched = feet;
    EXPECT_EQ(projectForward(p, c.a, e2, 0.5 * kDegree, 50.5 * kDegree, untouched), 300);
    EXPECT_EQ(untouched.plane.e, feet.plane.e);
    EXPECT_EQ(projectInverse(p, c.a, e2, 1.0, 1.0, back), 300);
}

INSTANTIATE_TEST_SUITE_P(Methods, EpsgMethods, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<MethodCase>& info) {
                             std::string name;
                             for (const char* s = info.param.name; *s != '\0' && *s != ','; ++s)
                                 name += std::isalnum(static_cast<unsigned char>(*s)) ? *s : '_';
                             return name + "_" + std::to_string(info.index);
                         });

}  // namespace
}  // namespace zelvo
