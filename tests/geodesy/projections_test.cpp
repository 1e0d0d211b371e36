#include "geodesy/projection.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "geodesy/angles.hpp"
#include "geodesy/lambert_conic.hpp"
#include "geodesy/transverse_mercator.hpp"

namespace zelvo {
namespace {

constexpr double kDeg = kPi / 180.0;

const CElg kClarke = [] {
    CElg e;
    e.number = 1;
    e.semiMajorAxis = 6378249.2;
    e.eccentricitySquared = 0.006803487646300;
    return e;
}();
const CElg kGrs80 = [] {
    CElg e;
    e.number = 2;
    e.semiMajorAxis = 6378137.0;
    e.eccentricitySquared = 0.006694380022901;
    return e;
}();
const CElg kHayford = [] {
    CElg e;
    e.number = 3;
    e.semiMajorAxis = 6378388.0;
    e.eccentricitySquared = 0.006722670022333;
    return e;
}();
const CLgo kGreenwich = [] {
    CLgo m;
    m.number = 1;
    m.unit = 2;
    m.longitude = 5.0;  // a Greenwich meridian never shifts, whatever it holds
    return m;
}();
const CLgo kParis = [] {
    CLgo m;
    m.number = 2;
    m.unit = 3;
    m.longitude = 2.5969213;
    return m;
}();

CPrc projection(int kind, int variant, const CElg& ellipsoid, const CLgo& meridian, int unit, double lon0,
                double lat0, double k0, double lat1, double lat2, double x0, double y0) {
    CPrc p;
    p.kind = kind;
    p.variant = variant;
    p.ellipsoid = &ellipsoid;
    p.meridian = &meridian;
    p.unit = unit;
    p.longitudeOrigin = lon0;
    p.latitudeOrigin = lat0;
    p.scaleFactor = k0;
    p.parallel1 = lat1;
    p.parallel2 = lat2;
    p.falseEasting = x0;
    p.falseNorthing = y0;
    return p;
}

const CPrc kLambert2e = projection(1, 1, kClarke, kParis, 3, 0, 52, 0.99987742, 0, 0, 600000, 2200000);
const CPrc kLambert93 = projection(1, 3, kGrs80, kGreenwich, 2, 3, 46.5, 1, 44, 49, 700000, 6600000);
const CPrc kUtm31 = projection(2, 0, kGrs80, kGreenwich, 2, 3, 0, 0.9996, 0, 0, 500000, 0);
const CPrc kGaussReunion = projection(5, 0, kHayford, kGreenwich, 10, 55.32, -21.07, 1, 0, 0, 160000, 50000);
const CPrc kLaeaEurope = projection(6, 0, kGrs80, kGreenwich, 2, 10, 52, 1, 0, 0, 4321000, 3210000);
const CPrc kLaeaNorth = projection(6, 0, kGrs80, kGreenwich, 2, -40, 90, 1, 0, 0, 0, 0);

TEST(Projections, ForwardThenInverseReturnsThePoint) {
    struct Point {
        double lonDeg, latDeg;
    };
    const std::vector<Point> france = {{2.35, 48.85}, {-4.5, 42.4}, {8.2, 51.1}, {3.0, 46.5}, {9.5, 41.4}};
    struct Case {
        const char* name;
        const CPrc* prc;
        const CElg* ellipsoid;  // the point's
        std::vector<Point> points;
    } cases[] = {
        {"Lambert II étendu", &kLambert2e, &kClarke, france},
        {"Lambert 93", &kLambert93, &kGrs80, france},
        {"UTM 31", &kUtm31, &kGrs80, {{0.0, 0.0}, {0.1, 41.2}, {5.9, 51.5}, {3.0, 83.9}, {1.0, -60.0}}},
        {"Gauss-Laborde", &kGaussReunion, &kHayford, {{55.5, -21.1}, {55.2, -20.9}, {55.85, -21.4}}},
        {"LAEA Europe", &kLaeaEurope, &kGrs80, {{-35.0, 25.0}, {44.0, 84.0}, {10.0, 52.0}, {2.35, 48.85}}},
        {"LAEA north pole",
         &kLaeaNorth,
         &kGrs80,
         {{-30.0, 75.0}, {179.0, 45.0}, {-179.0, 89.9}, {0.0, 60.0}}},
    };
    for (const auto& c : cases) {
        const double a = c.ellipsoid->semiMajorAxis, e2 = c.ellipsoid->eccentricitySquared;
        std::vector<PlaneEn> planes;
        std::vector<LonLat> alone;
        for (const auto& point : c.points) {
            SCOPED_TRACE(testing::Message() << c.name << " at " << point.lonDeg << " " << point.latDeg);
            ProjectedPoint out;
            ASSERT_EQ(projectForward(*c.prc, a, e2, point.lonDeg * kDeg, point.latDeg * kDeg, out), 0);
            LonLat back;
            ASSERT_EQ(projectInverse(*c.prc, a, e2, out.plane.e, out.plane.n, back), 0);
            EXPECT_NEAR(back.lon, point.lonDeg * kDeg, 1e-11);
            EXPECT_NEAR(back.lat, point.latDeg * kDeg, 1e-11);
            planes.push_back(out.plane);
            alone.push_back(back);
        }
        // Inverted together (twice over: more points than one batch of lanes), each point gets
        // the bits it gets alone.
        SCOPED_TRACE(testing::Message() << c.name << ", together");
        planes.insert(planes.end(), planes.begin(), planes.end());
        alone.insert(alone.end(), alone.begin(), alone.end());
        std::vector<LonLat> together(planes.size());
        ASSERT_EQ(projectInverse(*c.prc, a, e2, planes, together), 0);
        for (std::size_t i = 0; i < planes.size(); ++i) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(together[i].lon), std::bit_cast<std::uint64_t>(alone[i].lon)) << i;
            EXPECT_EQ(std::bit_cast<std::uint64_t>(together[i].lat), std::bit_cast<std::uint64_t>(alone[i].lat)) << i;
        }
    }
}

TEST(Projections, CentralMeridianAndOrigin) {
    struct Case {
        const char* name;
        const CPrc* prc;
        const CElg* ellipsoid;
        double latDeg;
        double expectedE, expectedN, toleranceN;  // NaN: not checked
        double expectedK;
    } cases[] = {
        // On the central meridian the Lambert easting is Xs exactly and the convergence is 0.
        {"Lambert II étendu on its parallel", &kLambert2e, &kClarke, 46.8, 600000.0, 2200000.0, 1e-6,
         0.99987742},
        {"Lambert 93 at its origin", &kLambert93, &kGrs80, 46.5, 700000.0, 6600000.0, 1e-6, NAN},
        {"Lambert 93 on its first parallel", &kLambert93, &kGrs80, 44.0, 700000.0, NAN, 0, 1.0},
        {"Lambert 93 on its second parallel", &kLambert93, &kGrs80, 49.0, 700000.0, NAN, 0, 1.0},
        // Transverse Mercator: origin up to the series truncation; k0 exactly on the central meridian.
        {"UTM 31 at the equator", &kUtm31, &kGrs80, 0.0, 500000.0, 0.0, 1e-9, 0.9996},
        {"UTM 31 at 45°", &kUtm31, &kGrs80, 45.0, 500000.0, NAN, 0, 0.9996},
        {"Gauss-Laborde at its origin", &kGaussReunion, &kHayford, -(21 + 7.0 / 60), 160000.0, 50000.0, 1e-6,
         1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double a = c.ellipsoid->semiMajorAxis, e2 = c.ellipsoid->eccentricitySquared;
        ProjectedPoint out;
        ASSERT_EQ(projectForward(*c.prc, a, e2, projectionLongitudeOrigin(*c.prc), c.latDeg * kDeg, out), 0);
        EXPECT_NEAR(out.plane.e, c.expectedE, 1e-6);
        if (!std::isnan(c.expectedN)) {
            EXPECT_NEAR(out.plane.n, c.expectedN, c.toleranceN);
        }
        if (!std::isnan(c.expectedK)) {
            EXPECT_NEAR(out.scale.k, c.expectedK, 1e-12);
        }
        EXPECT_TRUE(out.hasScale);
        EXPECT_EQ(out.scale.gamma, 0.0);
    }
    // Transverse Mercator scale on the central meridian is k0 exactly (cosh 0 = 1).
    ProjectedPoint out;
    ASSERT_EQ(
        projectForward(kUtm31, kGrs80.semiMajorAxis, kGrs80.eccentricitySquared, 3 * kDeg, 47 * kDeg, out),
        0);
    EXPECT_EQ(out.scale.k, 0.9996);
    // British National Grid: its true origin (2°W, 49°N) maps to the false origin within 1 mm.
    const CPrc bng = projection(3, 0, kGrs80, kGreenwich, 2, -2, 49, 0.9996012717, 0, 0, 400000, -100000);
    ASSERT_EQ(projectForward(bng, 6377563.396, 0.006670539999985, -2 * kDeg, 49 * kDeg, out), 0);
    EXPECT_NEAR(out.plane.e, 400000.0, 1e-6);
    EXPECT_NEAR(out.plane.n, -100000.0, 1e-3);
}

TEST(Projections, TransverseMercatorKindsTwoAndThreeAreIdentical) {
    CPrc kind3 = kUtm31;
    kind3.kind = 3;
    const double a = kGrs80.semiMajorAxis, e2 = kGrs80.eccentricitySquared;
    for (double lonDeg : {0.1, 3.0, 5.9})
        for (double latDeg : {0.0, 43.0, 51.5, 83.9}) {
            ProjectedPoint two, three;
            ASSERT_EQ(projectForward(kUtm31, a, e2, lonDeg * kDeg, latDeg * kDeg, two), 0);
            ASSERT_EQ(projectForward(kind3, a, e2, lonDeg * kDeg, latDeg * kDeg, three), 0);
            EXPECT_EQ(two.plane.e, three.plane.e);
            EXPECT_EQ(two.plane.n, three.plane.n);
            EXPECT_EQ(two.scale.k, three.scale.k);
            EXPECT_EQ(two.scale.gamma, three.scale.gamma);
            LonLat back2, back3;
            ASSERT_EQ(projectInverse(kUtm31, a, e2, two.plane.e, two.plane.n, back2), 0);
            ASSERT_EQ(projectInverse(kind3, a, e2, two.plane.e, two.plane.n, back3), 0);
            EXPECT_EQ(back2.lon, back3.lon);
            EXPECT_EQ(back2.lat, back3.lat);
        }
}

TEST(Projections, LongitudeOfOrigin) {
    struct Case {
        const char* what;
        CPrc prc;
        double expected;
    } cases[] = {
        {"Lambert from Paris adds the meridian", projection(1, 1, kClarke, kParis, 3, 0, 52, 1, 0, 0, 0, 0),
         2.5969213 * 0.9 * kDeg},
        {"Lambert from Paris with λ0", projection(1, 1, kClarke, kParis, 3, 1, 52, 1, 0, 0, 0, 0),
         (0.9 + 2.5969213 * 0.9) * kDeg},
        {"transverse Mercator from Paris", projection(2, 0, kClarke, kParis, 2, 1, 0, 1, 0, 0, 0, 0),
         (1 + 2.5969213 * 0.9) * kDeg},
        {"equal-area from Paris", projection(6, 0, kClarke, kParis, 2, 1, 52, 1, 0, 0, 0, 0),
         (1 + 2.5969213 * 0.9) * kDeg},
        {"Gauss-Laborde ignores its meridian", projection(5, 0, kClarke, kParis, 2, 1, 0, 1, 0, 0, 0, 0),
         1 * kDeg},
        {"Greenwich never shifts", projection(1, 1, kClarke, kGreenwich, 2, 3, 52, 1, 0, 0, 0, 0), 3 * kDeg},
        {"Gauss-Laborde in packed DMS", kGaussReunion, (55 + 32.0 / 60) * kDeg},
        // The Lambert, transverse Mercator and equal-area λ0 know radians, grads and packed DMS only.
        {"Lambert λ0 in hours read as degrees",
         projection(1, 1, kClarke, kGreenwich, 4, 1, 52, 1, 0, 0, 0, 0), 1 * kDeg},
        {"Gauss-Laborde λ0 in hours", projection(5, 0, kClarke, kGreenwich, 4, 1, 0, 1, 0, 0, 0, 0),
         15 * kDeg},
    };
    for (const auto& c : cases) EXPECT_NEAR(projectionLongitudeOrigin(c.prc), c.expected, 1e-15) << c.what;
}

TEST(Projections, EqualAreaPolarAspectOnlyForExactlyHalfPi) {
    const double a = kGrs80.semiMajorAxis, e2 = kGrs80.eccentricitySquared;
    const double lon = -30 * kDeg, lat = 75 * kDeg;
    ProjectedPoint polar;
    ASSERT_EQ(projectForward(kLaeaNorth, a, e2, lon, lat, polar), 0);
    EXPECT_FALSE(polar.hasScale);
    // ρ = a √(qp − q), E = ρ sin Δλ, N = −ρ cos Δλ.
    const double rho = std::hypot(polar.plane.e, polar.plane.n);
    EXPECT_NEAR(std::atan2(polar.plane.e, -polar.plane.n), 10 * kDeg, 1e-14);
    EXPECT_GT(rho, 1.6e6);
    EXPECT_LT(rho, 1.7e6);

    struct Case {
        const char* what;
        int unit;
        double lat0;
        bool polarBranch;
    } cases[] = {
        {"90 degrees", 2, 90.0, true},
        {"100 grads", 3, 100.0, true},
        {"π/2 radians", 1, kHalfPi, true},
        {"90 in packed DMS", 10, 90.0, true},
        {"one unit of the last place below π/2", 1, std::nextafter(kHalfPi, 0.0), false},
        {"89.9999999999 degrees", 2, 89.9999999999, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CPrc p = kLaeaNorth;
        p.unit = c.unit;
        p.latitudeOrigin = c.lat0;
        p.longitudeOrigin = convertAngle(-40, 2, c.unit);
        ProjectedPoint out;
        ASSERT_EQ(projectForward(p, a, e2, lon, lat, out), 0);
        if (c.polarBranch) {
            EXPECT_EQ(out.plane.e, polar.plane.e);
            EXPECT_EQ(out.plane.n, polar.plane.n);
        } else {
            // The oblique formulas divide near-zero quantities there: far from the polar result.
            EXPECT_GT(std::hypot(out.plane.e - polar.plane.e, out.plane.n - polar.plane.n), 1.0);
        }
    }
}

TEST(Projections, EqualAreaPolarAspects) {
    const double a = kGrs80.semiMajorAxis, e2 = kGrs80.eccentricitySquared;
    CPrc south = kLaeaNorth;
    south.latitudeOrigin = -90;
    struct Point {
        double lonDeg, latDeg;
    } points[] = {{-30, 75}, {100, 45}, {-179, 88}, {-40, 60}, {140, 50}};
    for (const auto& pt : points) {
        SCOPED_TRACE(testing::Message() << pt.lonDeg << " " << pt.latDeg);
        ProjectedPoint n, s;
        ASSERT_EQ(projectForward(kLaeaNorth, a, e2, pt.lonDeg * kDeg, pt.latDeg * kDeg, n), 0);
        ASSERT_EQ(projectForward(south, a, e2, pt.lonDeg * kDeg, -pt.latDeg * kDeg, s), 0);
        // The south aspect mirrors the north one.
        EXPECT_NEAR(s.plane.e, n.plane.e, 1e-8);
        EXPECT_NEAR(s.plane.n, -n.plane.n, 1e-8);
        LonLat backN, backS;
        ASSERT_EQ(projectInverse(kLaeaNorth, a, e2, n.plane.e, n.plane.n, backN), 0);
        ASSERT_EQ(projectInverse(south, a, e2, s.plane.e, s.plane.n, backS), 0);
        EXPECT_NEAR(backN.lon, pt.lonDeg * kDeg, 1e-12);
        EXPECT_NEAR(backN.lat, pt.latDeg * kDeg, 1e-11);
        EXPECT_NEAR(backS.lon, pt.lonDeg * kDeg, 1e-12);
        EXPECT_NEAR(backS.lat, -pt.latDeg * kDeg, 1e-11);
    }
    // The poles themselves.
    ProjectedPoint pole;
    ASSERT_EQ(projectForward(kLaeaNorth, a, e2, 0.3, kHalfPi, pole), 0);
    EXPECT_EQ(pole.plane.e, 0.0);
    EXPECT_EQ(pole.plane.n, 0.0);
    LonLat back;
    ASSERT_EQ(projectInverse(kLaeaNorth, a, e2, 0.0, 0.0, back), 0);
    EXPECT_EQ(back.lat, kHalfPi);
    ASSERT_EQ(projectInverse(south, a, e2, 0.0, 0.0, back), 0);
    EXPECT_EQ(back.lat, -kHalfPi);
    // The oblique origin.
    ASSERT_EQ(projectInverse(kLaeaEurope, a, e2, 4321000, 3210000, back), 0);
    EXPECT_EQ(back.lon, 10 * kDeg);
    EXPECT_EQ(back.lat, 52 * kDeg);
    // A point off the projection's disc ends with no number instead of looping.
    ASSERT_EQ(projectInverse(kLaeaEurope, a, e2, 4321000 + 2.0e7, 3210000, back), 0);
    EXPECT_TRUE(std::isnan(back.lat));
}

TEST(Projections, UnsupportedKindsAndVariants) {
    struct Case {
        int kind, variant;
    } cases[] = {{0, 0}, {4, 0}, {7, 0}, {-1, 0}, {1, 0}, {1, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " variant " << c.variant);
        CPrc p = kLambert93;
        p.kind = c.kind;
        p.variant = c.variant;
        EXPECT_FALSE(isSupportedProjection(p));
        ProjectedPoint out;
        out.plane = {1.0, 2.0};
        EXPECT_EQ(projectForward(p, kGrs80.semiMajorAxis, kGrs80.eccentricitySquared, 0.05, 0.8, out), 300);
        EXPECT_EQ(out.plane.e, 1.0);
        EXPECT_EQ(out.plane.n, 2.0);
        LonLat g{3.0, 4.0};
        EXPECT_EQ(projectInverse(p, kGrs80.semiMajorAxis, kGrs80.eccentricitySquared, 7e5, 6.6e6, g), 300);
        EXPECT_EQ(g.lon, 3.0);
        EXPECT_EQ(g.lat, 4.0);
    }
    for (int variant : {1, 2, 3}) {
        CPrc p = kLambert93;
        p.variant = variant;
        EXPECT_TRUE(isSupportedProjection(p)) << variant;
    }
}

// The constants of a projection are kept from call to call: a record changed in place, or the
// point's ellipsoid changed, must give the results of constants made afresh from the new values.
TEST(Projections, ConstantsFollowTheRecordAndTheEllipsoid) {
    CLgo shiftedParis = kParis;
    shiftedParis.longitude = 2.6;
    struct Change {
        const char* name;
        void (*apply)(CPrc&, const CLgo&);
        const CElg* pointEllipsoid;
    } changes[] = {
        {"as read", [](CPrc&, const CLgo&) {}, &kClarke},
        {"latitude of origin", [](CPrc& p, const CLgo&) { p.latitudeOrigin = 53; }, &kClarke},
        {"scale factor", [](CPrc& p, const CLgo&) { p.scaleFactor = 0.9999; }, &kClarke},
        {"false easting", [](CPrc& p, const CLgo&) { p.falseEasting = 600100; }, &kClarke},
        {"false northing", [](CPrc& p, const CLgo&) { p.falseNorthing = 2200100; }, &kClarke},
        {"longitude of origin", [](CPrc& p, const CLgo&) { p.longitudeOrigin = 0.01; }, &kClarke},
        {"unit", [](CPrc& p, const CLgo&) { p.unit = 2; }, &kClarke},
        {"meridian", [](CPrc& p, const CLgo& m) { p.meridian = &m; }, &kClarke},
        {"own ellipsoid", [](CPrc& p, const CLgo&) { p.ellipsoid = &kHayford; }, &kClarke},
        {"secant cone", [](CPrc& p, const CLgo&) { p.variant = 3, p.parallel1 = 51, p.parallel2 = 53; }, &kClarke},
        {"second parallel", [](CPrc& p, const CLgo&) { p.variant = 3, p.parallel1 = 51, p.parallel2 = 52.5; },
         &kClarke},
        {"transverse Mercator on the point's ellipsoid", [](CPrc& p, const CLgo&) { p.kind = 2; }, &kGrs80},
        {"the point's ellipsoid", [](CPrc& p, const CLgo&) { p.kind = 2; }, &kHayford},
        {"as read again", [](CPrc&, const CLgo&) {}, &kClarke},
    };
    const double lon = 2.9 * kDeg, lat = 47.1 * kDeg;
    CPrc p;  // one record at one address, changed in place
    for (int pass = 0; pass < 2; ++pass)
        for (const Change& change : changes) {
            SCOPED_TRACE(testing::Message() << change.name << ", pass " << pass);
            p = kLambert2e;
            change.apply(p, shiftedParis);
            const double a = change.pointEllipsoid->semiMajorAxis, e2 = change.pointEllipsoid->eccentricitySquared;
            const double lonOrigin = projectionLongitudeOrigin(p);
            const double lat0 = convertAngleBasic(p.latitudeOrigin, p.unit, kRadians);
            PlaneEn expected;
            LonLat expectedBack;
            if (p.kind == 1) {
                const double ca = p.ellipsoid->semiMajorAxis, ce2 = p.ellipsoid->eccentricitySquared;
                const LambertConicConstants c =
                    p.variant == 3
                        ? lambertSecantConstants(ca, ce2, lonOrigin, lat0,
                                                 convertAngleBasic(p.parallel1, p.unit, kRadians),
                                                 convertAngleBasic(p.parallel2, p.unit, kRadians), p.falseEasting,
                                                 p.falseNorthing)
                        : lambertTangentConstants(ca, ce2, lonOrigin, lat0, p.scaleFactor, p.falseEasting,
                                                  p.falseNorthing);
                expected = lambertForward(c, e2, lon, lat);
                expectedBack = lambertInverse(c, e2, 600000, 2300000);
            } else {
                const TransverseMercatorConstants c = transverseMercatorConstants(
                    a, e2, lonOrigin, lat0, p.scaleFactor, p.falseEasting, p.falseNorthing);
                expected = transverseMercatorForward(c, e2, lon, lat);
                expectedBack = transverseMercatorInverse(c, e2, 600000, 2300000);
            }
            ProjectedPoint out;
            ASSERT_EQ(projectForward(p, a, e2, lon, lat, out), 0);
            EXPECT_EQ(out.plane.e, expected.e);
            EXPECT_EQ(out.plane.n, expected.n);
            LonLat back;
            ASSERT_EQ(projectInverse(p, a, e2, 600000, 2300000, back), 0);
            EXPECT_EQ(back.lon, expectedBack.lon);
            EXPECT_EQ(back.lat, expectedBack.lat);
        }
}

// The forward projection with its scale and convergence in one pass gives the very values of the
// two separate computations.
TEST(Projections, LambertForwardWithScaleIsBothComputations) {
    const LambertConicConstants cones[] = {
        lambertTangentConstants(kClarke.semiMajorAxis, kClarke.eccentricitySquared, 2.33722917 * kDeg, 46.8 * kDeg,
                                0.99987742, 600000, 2200000),
        lambertSecantConstants(kGrs80.semiMajorAxis, kGrs80.eccentricitySquared, 3 * kDeg, 46.5 * kDeg, 44 * kDeg,
                               49 * kDeg, 700000, 6600000),
    };
    const double e2 = kGrs80.eccentricitySquared, a = kGrs80.semiMajorAxis;
    for (const LambertConicConstants& c : cones)
        for (double latDeg : {41.0, 43.7, 46.5, 48.85, 51.1, 80.0})
            for (double lonDeg : {-5.0, 0.0, 2.35, 3.0, 9.5}) {
                SCOPED_TRACE(testing::Message() << lonDeg << " " << latDeg);
                PlaneEn plane;
                ScaleConvergence scale;
                lambertForwardWithScale(c, a, e2, lonDeg * kDeg, latDeg * kDeg, plane, scale);
                const PlaneEn expected = lambertForward(c, e2, lonDeg * kDeg, latDeg * kDeg);
                const ScaleConvergence expectedScale = lambertScaleConvergence(c, a, e2, lonDeg * kDeg, latDeg * kDeg);
                EXPECT_EQ(plane.e, expected.e);
                EXPECT_EQ(plane.n, expected.n);
                EXPECT_EQ(scale.k, expectedScale.k);
                EXPECT_EQ(scale.gamma, expectedScale.gamma);
            }
}

}  // namespace
}  // namespace zelvo
