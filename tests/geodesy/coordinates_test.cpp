#include "geodesy/coordinates.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "geodesy/angles.hpp"
#include "mini_catalogue.hpp"

namespace zelvo {
namespace {

constexpr double kDeg = kPi / 180.0;
constexpr double kParisDegrees = 2.5969213 * 0.9;  // 2.33722917°

TEST(CCoorUnits, SetUnitConvertsBothAngles) {
    const test::MiniCatalogue m;
    struct Case {
        int from;
        double lon, lat;
        int to;
        double expectedLon, expectedLat, tolerance;
    } cases[] = {
        {2, 2.35, 48.85, 1, 2.35 * kDeg, 48.85 * kDeg, 1e-15},
        {2, 2.5, -45.5, 10, 2.30, -45.30, 1e-13},
        {10, 2.30, -45.30, 3, 2.5 / 0.9, -45.5 / 0.9, 1e-12},
        {3, 100.0, 50.0, 2, 90.0, 45.0, 1e-13},
        {2, 30.0, 45.0, 11, 2.0, 3.0, 1e-13},
        {2, 7.5, 7.5, 12, 7.30, 7.30, 1e-13},
        {5, 3600.0, -7200.0, 2, 1.0, -2.0, 1e-15},
        {2, 1.5, 1.5, 2, 1.5, 1.5, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "unit " << c.from << " to " << c.to);
        CCoor p = m.geographic(m.rgf93, m.greenwich, c.from, c.lon, c.lat);
        EXPECT_EQ(p.setUnit(c.to), 0);
        EXPECT_EQ(p.unit, c.to);
        EXPECT_NEAR(p.lon, c.expectedLon, c.tolerance);
        EXPECT_NEAR(p.lat, c.expectedLat, c.tolerance);
    }
}

TEST(CCoorMeridians, ChangeMeridianAddsTheOffsetInTheWorkingUnit) {
    const test::MiniCatalogue m;
    struct Case {
        const char* what;
        int unit;
        double parisLon;      // counted from Paris, in unit
        double greenwichLon;  // the same longitude counted from Greenwich, in unit
        double tolerance;
    } cases[] = {
        {"decimal degrees", 2, 0.5, 0.5 + kParisDegrees, 1e-14},
        {"grads", 3, 1.0, 3.5969213, 1e-13},
        {"radians", 1, 0.01, 0.01 + kParisDegrees * kDeg, 1e-16},
        // Packed forms are added in decimal degrees (hours) and packed again, never digit-wise:
        // 45°30′ + 2.33722917° = 47°50′14.025012″.
        {"packed DMS", 10, 45.3000, 47.5014025012, 1e-10},
        {"packed DMS negative", 10, -3.3000, -1.0945974988, 1e-10},  // -3°30′ + 2.33722917°
        {"packed DM", 12, 45.3000, 47.50233750, 1e-8},
        // 1h + 2.33722917°/15 = 1h09m20.935s.
        {"packed hours", 11, 1.0, 1.0920935, 1e-7},
        {"decimal hours", 4, 1.0, 1.0 + kParisDegrees / 15, 1e-14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CCoor p = m.geographic(m.ntf, m.paris, c.unit, c.parisLon, 46.8);
        EXPECT_EQ(p.changeMeridian(m.greenwich), 0);
        EXPECT_EQ(p.sys.meridian, m.greenwich);
        EXPECT_EQ(p.unit, c.unit);
        EXPECT_NEAR(p.lon, c.greenwichLon, c.tolerance);
        EXPECT_EQ(p.lat, 46.8);
        EXPECT_EQ(p.changeMeridian(m.paris), 0);
        EXPECT_EQ(p.sys.meridian, m.paris);
        EXPECT_NEAR(p.lon, c.parisLon, c.tolerance);
        // Changing to the point's own meridian does nothing.
        const double before = p.lon;
        EXPECT_EQ(p.changeMeridian(m.paris), 0);
        EXPECT_EQ(p.lon, before);
    }
}

TEST(CCoorMeridians, ToGreenwichUsesThePointsOwnMeridian) {
    const test::MiniCatalogue m;
    // An RGF93 point (system meridian Greenwich) given from Paris.
    CCoor p = m.geographic(m.rgf93, m.paris, 2, 0.0, 48.0);
    EXPECT_EQ(p.toGreenwich(), 0);
    EXPECT_NEAR(p.lon, kParisDegrees, 1e-15);
    EXPECT_EQ(p.sys.meridian, m.paris);  // the reference is not changed
    // On Greenwich nothing moves, whatever the meridian record holds.
    CLgo oddGreenwich = *m.greenwich;
    oddGreenwich.longitude = 5.0;
    CCoor q = m.geographic(m.rgf93, &oddGreenwich, 2, 1.0, 48.0);
    EXPECT_EQ(q.toGreenwich(), 0);
    EXPECT_EQ(q.lon, 1.0);
    // Through cartesian, the same point comes back counted from Greenwich.
    CCoor r = m.geographic(m.rgf93, m.paris, 2, 0.0, 48.0);
    EXPECT_EQ(r.toCartesian(m.greenwich), 0);
    EXPECT_EQ(r.toGeographic(m.greenwich), 0);
    EXPECT_EQ(r.sys.meridian, m.greenwich);
    EXPECT_NEAR(r.lon, kParisDegrees * kDeg, 1e-14);
}

TEST(CCoorTypes, GeographicCartesianRoundTripFromParis) {
    const test::MiniCatalogue m;
    CCoor p = m.geographic(m.ntf, m.paris, 3, 0.5, 54.0, 120.0);
    EXPECT_EQ(p.geographicToCartesianPoint(), 0);
    EXPECT_EQ(p.type, kCartesian);
    EXPECT_EQ(p.cartesianToGeographicPoint(m.greenwich), 0);
    EXPECT_EQ(p.type, kGeographic);
    EXPECT_EQ(p.unit, kRadians);
    EXPECT_EQ(p.sys.meridian, m.greenwich);
    EXPECT_NEAR(p.lon, (0.5 * 0.9 + kParisDegrees) * kDeg, 1e-14);
    EXPECT_NEAR(p.lat, 54.0 * 0.9 * kDeg, 1e-11);
    EXPECT_NEAR(p.h, 120.0, 1e-4);
}

TEST(CCoorTypes, ToProjectedFromEveryType) {
    const test::MiniCatalogue m;
    CCoor reference = m.geographic(m.rgf93, m.greenwich, 2, 2.35, 48.85, 50.0);
    EXPECT_EQ(reference.geographicToProjectedPoint(m.lambert93), 0);

    CCoor fromGeographic = m.geographic(m.rgf93, m.greenwich, 2, 2.35, 48.85, 50.0);
    CCoor fromCartesian = fromGeographic;
    EXPECT_EQ(fromCartesian.toCartesian(m.greenwich), 0);
    CCoor fromProjected = m.projected(m.rgf93, m.utm31, 0, 0, 50.0);
    {
        CCoor tmp = fromGeographic;
        EXPECT_EQ(tmp.geographicToProjectedPoint(m.utm31), 0);
        fromProjected.e = tmp.e;
        fromProjected.n = tmp.n;
    }
    for (CCoor* p : {&fromGeographic, &fromCartesian, &fromProjected}) {
        EXPECT_EQ(p->toProjected(m.lambert93, m.greenwich), 0);
        EXPECT_EQ(p->type, kProjected);
        EXPECT_EQ(p->sys.projection, m.lambert93);
        // Through cartesian the closed-form inverse agrees to a few micrometres.
        EXPECT_NEAR(p->e, reference.e, 1e-5);
        EXPECT_NEAR(p->n, reference.n, 1e-5);
    }
    // Lambert 93 at 2.35°E 48.85°N, as PROJ computes it.
    EXPECT_NEAR(reference.e, 652301.565, 1e-3);
    EXPECT_NEAR(reference.n, 6861302.726, 1e-3);
}

TEST(CCoorTypes, ProjectedToGeographic) {
    const test::MiniCatalogue m;
    CCoor p = m.projected(m.ntf, m.lambert2e, 600000.0, 2200000.0, 35.0);
    EXPECT_EQ(p.projectedToGeographicPoint(m.greenwich), 0);
    EXPECT_EQ(p.type, kGeographic);
    EXPECT_EQ(p.unit, kRadians);
    EXPECT_EQ(p.sys.meridian, m.greenwich);
    EXPECT_NEAR(p.lon, kParisDegrees * kDeg, 1e-15);  // the origin of the zone is on the Paris meridian
    EXPECT_NEAR(p.lat, 46.8 * kDeg, 1e-12);
    EXPECT_EQ(p.h, 35.0);
    // Nothing to do for a point already geographic.
    CCoor q = m.geographic(m.ntf, m.paris, 3, 1.0, 2.0);
    EXPECT_EQ(q.toGeographic(m.greenwich), 0);
    EXPECT_EQ(q.lon, 1.0);
    EXPECT_EQ(q.unit, 3);
    EXPECT_EQ(q.sys.meridian, m.paris);
}

TEST(CCoorTypes, AlterationAndConvergence) {
    const test::MiniCatalogue m;
    CPrc tm9999 = *m.utm31;
    tm9999.scaleFactor = 0.9999;
    CPrc lambertParis = *m.lambert2e;
    struct Case {
        const char* what;
        const CPrc* prc;
        const CLgo* meridian;
        double lonDeg, latDeg;  // from the meridian
        double alteration;      // mm/km
        int convergenceUnit;
        double convergence, tolerance;
    } cases[] = {
        {"transverse Mercator k0 0.9999 on its central meridian", &tm9999, m.greenwich, 3.0, 45.0, -100.0, 2,
         0.0, 1e-9},
        {"Lambert II étendu on its parallel, 1 grad east of Paris", &lambertParis, m.paris, 0.9, 46.8,
         (0.99987742 - 1.0) * 1e6, 3, -0.7289686274, 1e-9},
        {"Lambert 93 on a standard parallel", m.lambert93, m.greenwich, 4.0, 44.0, 0.0, 2, -0.7256077650,
         1e-8},
        {"equal-area: neither", m.laea, m.greenwich, 2.0, 47.0, 0.0, 2, 0.0, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CCoor p = m.geographic(m.rgf93, c.meridian, 2, c.lonDeg, c.latDeg);
        if (c.prc->kind == 1 && c.prc->variant == 1) p.sys.system = m.ntf;
        EXPECT_EQ(p.geographicToProjectedPoint(c.prc), 0);
        EXPECT_FALSE(p.projectionError);
        EXPECT_EQ(p.type, kProjected);
        EXPECT_NEAR(p.alteration, c.alteration, c.tolerance);
        EXPECT_EQ(p.convergenceUnit, c.convergenceUnit);
        EXPECT_NEAR(p.convergence, c.convergence, c.tolerance);
    }
}

TEST(CCoorTypes, UnsupportedProjectionKind) {
    const test::MiniCatalogue m;
    // Forward: status 300, type 3, the flag set, no values written.
    CCoor p = m.geographic(m.rgf93, m.greenwich, 2, 2.35, 48.85);
    p.e = 11.0;
    p.n = 22.0;
    p.alteration = 33.0;
    EXPECT_EQ(p.geographicToProjectedPoint(m.kind4), 300);
    EXPECT_EQ(p.type, kProjected);
    EXPECT_TRUE(p.projectionError);
    EXPECT_EQ(p.e, 11.0);
    EXPECT_EQ(p.n, 22.0);
    EXPECT_EQ(p.alteration, 33.0);
    // A later successful projection clears the flag.
    CCoor q = m.geographic(m.rgf93, m.greenwich, 2, 2.35, 48.85);
    q.projectionError = true;
    EXPECT_EQ(q.geographicToProjectedPoint(m.lambert93), 0);
    EXPECT_FALSE(q.projectionError);

    CCoor r = m.geographic(m.rgf93, m.greenwich, 2, 2.35, 48.85);
    EXPECT_EQ(r.toProjected(m.kind4, m.greenwich), 300);
    EXPECT_EQ(r.sys.projection, m.kind4);
    EXPECT_EQ(r.type, kProjected);

    // Inverse: status 300, the point unchanged.
    CCoor s = m.projected(m.rgf93, m.kind4, 700000.0, 6600000.0);
    EXPECT_EQ(s.projectedToGeographicPoint(m.greenwich), 300);
    EXPECT_EQ(s.type, kProjected);
    EXPECT_EQ(s.unit, 2);
    EXPECT_EQ(s.sys.meridian, m.greenwich);
    EXPECT_EQ(s.toGeographic(m.greenwich), 300);
    EXPECT_EQ(s.type, kProjected);
    // Through toProjected nothing is projected from the stale geographic values.
    CCoor t = m.projected(m.rgf93, m.kind4, 700000.0, 6600000.0);
    EXPECT_EQ(t.toProjected(m.lambert93, m.greenwich), 300);
    EXPECT_EQ(t.sys.projection, m.kind4);
    EXPECT_EQ(t.e, 700000.0);
    // toCartesian: 300, the type set to cartesian whose values are not meaningful.
    CCoor u = m.projected(m.rgf93, m.kind4, 700000.0, 6600000.0);
    EXPECT_EQ(u.toCartesian(m.greenwich), 300);
    EXPECT_EQ(u.type, kCartesian);
    // A point without a projection cannot be inverted either.
    CCoor v = m.projected(m.rgf93, nullptr, 700000.0, 6600000.0);
    EXPECT_EQ(v.projectedToGeographicPoint(m.greenwich), 300);
}

TEST(CCoorTypes, InversePositionsTogetherAreEachPointsOwn) {
    const test::MiniCatalogue m;
    // Runs of one projection and ellipsoid, longer than one batch of lanes, mixed with points of
    // another projection, of the same projection on another ellipsoid, of an unsupported kind,
    // without a projection, and of a system without an ellipsoid.
    std::vector<CCoor> points;
    for (int i = 0; i < 21; ++i)
        points.push_back(m.projected(m.ntf, m.lambert2e, 550000.0 + 3137.0 * i, 2150000.0 + 1723.0 * i));
    const std::vector<CCoor> others = {
        m.projected(m.rgf93, m.lambert93, 652301.565, 6861302.726), m.projected(m.rgf93, m.lambert2e, 600000.0, 2200000.0),
        m.projected(m.rgf93, m.utm31, 500000.0, 5400000.0),         m.projected(m.rgf93, m.kind4, 700000.0, 6600000.0),
        m.projected(m.rgf93, nullptr, 700000.0, 6600000.0),         m.projected(m.noEllipsoid, m.lambert2e, 6e5, 2.2e6),
    };
    for (std::size_t i = 0; i < others.size(); ++i) points.insert(points.begin() + 1 + 3 * i, others[i]);
    for (std::size_t first : {0, 1, 2})
        for (std::size_t count = 0; first + count <= points.size(); ++count) {
            SCOPED_TRACE(testing::Message() << count << " points from " << first);
            std::vector<const CCoor*> some;
            for (std::size_t i = first; i < first + count; ++i) some.push_back(&points[i]);
            std::vector<InversePosition> together(count);
            inversePositions(some, together);
            for (std::size_t i = 0; i < count; ++i) {
                CCoor alone = *some[i];
                const int status = alone.projectedToGeographicPoint(m.greenwich);
                CCoor taken = *some[i];
                EXPECT_EQ(takeInversePosition(taken, together[i], m.greenwich), status) << "point " << first + i;
                EXPECT_EQ(taken.type, alone.type);
                EXPECT_EQ(taken.unit, alone.unit);
                EXPECT_EQ(taken.sys.meridian, alone.sys.meridian);
                EXPECT_EQ(std::bit_cast<std::uint64_t>(taken.lon), std::bit_cast<std::uint64_t>(alone.lon));
                EXPECT_EQ(std::bit_cast<std::uint64_t>(taken.lat), std::bit_cast<std::uint64_t>(alone.lat));
            }
        }
}

TEST(CCoorTypes, SystemWithoutEllipsoidGivesNoNumbers) {
    const test::MiniCatalogue m;
    CCoor p = m.geographic(m.noEllipsoid, nullptr, 2, 2.0, 48.0);
    EXPECT_EQ(p.toCartesian(m.greenwich), 0);
    EXPECT_TRUE(std::isnan(p.x));
    EXPECT_TRUE(std::isnan(p.z));
}

TEST(CCoorTypes, CopyKeepsEveryField) {
    const test::MiniCatalogue m;
    CCoor p = m.projected(m.ntf, m.lambert2e, 1.0, 2.0, 3.0);
    p.name = "Borne 17 du cadastre de Saint-Étienne";
    p.precisionCode = 5;
    p.geoidPrecisionCode = -999;
    p.verticalMode = 2;
    p.altitude = 4.0;
    p.convergenceUnit = 3;
    const CCoor q = p;
    EXPECT_EQ(q.name, p.name);
    EXPECT_EQ(q.sys.system, m.ntf);
    EXPECT_EQ(q.sys.projection, m.lambert2e);
    EXPECT_EQ(q.sys.meridian, m.paris);
    EXPECT_EQ(q.sys.vertical, m.ngf69);
    EXPECT_EQ(q.geoidPrecisionCode, -999);
    EXPECT_EQ(q.altitude, 4.0);
}

TEST(CCoorMeridians, GreenwichOfTheCatalogue) {
    test::MiniCatalogue m;
    EXPECT_EQ(greenwichMeridian(m.catalogue), m.greenwich);
    CLgo second;
    second.number = 1;
    second.name = "Greenwich bis";
    m.catalogue.meridians.push_back(second);
    EXPECT_EQ(greenwichMeridian(m.catalogue), &m.catalogue.meridians.back());  // the last numbered 1
    Catalogue empty;
    EXPECT_EQ(greenwichMeridian(empty), nullptr);
    EXPECT_TRUE(isGreenwich(nullptr));
    EXPECT_TRUE(isGreenwich(m.greenwich));
    EXPECT_FALSE(isGreenwich(m.paris));
}

}  // namespace
}  // namespace zelvo
