#include "geodesy/chain.hpp"

#include <gtest/gtest.h>

#include "catalogue/loader.hpp"
#include "geodesy/coordinates.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

// A geoid of constant undulation over one system.
class ConstantGeoid : public GeoidSource {
public:
    ConstantGeoid(int system, double n) : system_(system), n_(n) {}
    bool usable() const override { return true; }
    int systemNumber() const override { return system_; }
    double undulation(double lon, double lat, double, int& precision) override {
        lastLon = lon;
        lastLat = lat;
        precision = 2;
        ++calls;
        return n_;
    }
    double lastLon = 0, lastLat = 0;
    int calls = 0;

private:
    int system_;
    double n_;
};

class Chain : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string ref = test::referenceDir();
        ASSERT_EQ(loadCatalogue(ref + "/catalogue.dat", c_).status, CatalogueLoadStatus::Loaded);
    }
    // A geographic point in decimal degrees from Greenwich.
    CCoor geographic(int system, double lon, double lat, int mode = 0, double h = 0, double altitude = 0) {
        CCoor p;
        p.type = kGeographic;
        p.unit = 2;
        p.lon = lon;
        p.lat = lat;
        p.h = h;
        p.altitude = altitude;
        p.verticalMode = mode;
        initSysCoor(p.sys, c_, system, 1, 1, 0);
        return p;
    }
    CCoor arrivalIn(int system, int type, int projection = 0) {
        CCoor a;
        a.type = type;
        a.unit = 2;
        a.convergenceUnit = 2;
        initSysCoor(a.sys, c_, system, 1, 1, projection);
        return a;
    }
    Catalogue c_;
};

TEST_F(Chain, ExtentBoundsAreInclusiveWithinTolerance) {
    CZone zone;
    zone.min.lon = -5;
    zone.min.lat = 41;
    zone.max.lon = 9;
    zone.max.lat = 51;
    struct Case {
        double lon, lat;
        bool inside;
    } cases[] = {{-5, 41, true},         {9, 51, true},          {9 + 5e-11, 51, true}, {-5 - 5e-11, 45, true},
                 {0, 51 + 2e-10, false}, {9 + 2e-10, 45, false}, {0, 40.9, false},      {2, 46, true}};
    for (const auto& k : cases)
        EXPECT_EQ(extentContains(zone, geographic(1, k.lon, k.lat), greenwichMeridian(c_)), k.inside)
            << k.lon << " " << k.lat;
    // The point is converted to the extent's unit first.
    CCoor grads = geographic(1, 10.0, 50.0);
    grads.unit = 3;  // 9°, 45°
    EXPECT_TRUE(extentContains(zone, grads, greenwichMeridian(c_)));
}

TEST_F(Chain, ExtentStatusFollowsProjectionAndSystem) {
    EXPECT_EQ(extentStatus({}, geographic(1, 2, 46), c_), 1) << "an empty list holds everything";
    EXPECT_EQ(extentStatus(c_.systemExtents, geographic(1, 2, 46), c_), 1);
    EXPECT_EQ(extentStatus(c_.systemExtents, geographic(1, 30, 46), c_), 0);
    EXPECT_EQ(testExtents(geographic(1, 30, 46), c_), ExtentResult::OutsideSystem);

    // Lambert 93 point in France, then the same system with a projection that has no extent there.
    CCoor l93 = geographic(1, 2.35, 48.85);
    ASSERT_EQ(l93.toProjected(findByNumber(c_.projections, 9), greenwichMeridian(c_)), 0);
    EXPECT_EQ(extentStatus(c_.projectionExtents, l93, c_), 2);
    EXPECT_EQ(testExtents(l93, c_), ExtentResult::Inside);
    CCoor utm40 = geographic(1, 2.35, 48.85);
    ASSERT_EQ(utm40.toProjected(findByNumber(c_.projections, 23), greenwichMeridian(c_)), 0);
    EXPECT_EQ(testExtents(utm40, c_), ExtentResult::OutsideProjection);

    // NTF, meridian Paris: extents are read from Greenwich.
    CCoor paris;
    paris.type = kGeographic;
    paris.unit = 3;
    paris.lon = 0.0;  // Paris itself
    paris.lat = 54.0;
    initSysCoor(paris.sys, c_, 2, 2, 1, 0);
    EXPECT_EQ(testExtents(paris, c_), ExtentResult::Inside);
    paris.lon = 8.0;  // 7.2° east of Paris: 9.5° from Greenwich
    EXPECT_EQ(testExtents(paris, c_), ExtentResult::Inside);
    paris.lon = 8.5;  // 9.98° from Greenwich, beyond NTF's 9.63
    EXPECT_EQ(testExtents(paris, c_), ExtentResult::OutsideSystem);
}

// A test prepared for the points of a run answers for those points from the extents it picked
// out, and for a point of another system, projection or type as the whole lists do.
TEST_F(Chain, PreparedExtentTestAnswersForAnyPoint) {
    const CLgo* greenwich = greenwichMeridian(c_);
    const auto projected = [&](int system, double lon, double lat, int projection) {
        CCoor p = geographic(system, lon, lat);
        EXPECT_EQ(p.toProjected(findByNumber(c_.projections, projection), greenwich), 0);
        return p;
    };
    struct Case {
        const char* name;
        CCoor point;
        ExtentResult expected;
    } cases[] = {
        {"Lambert 93 in France", projected(1, 2.35, 48.85, 9), ExtentResult::Inside},
        {"Lambert 93 off France", projected(1, -12.0, 46.0, 9), ExtentResult::OutsideProjection},
        {"UTM 40 in France", projected(1, 2.35, 48.85, 23), ExtentResult::OutsideProjection},
        {"UTM 31 in France", projected(1, 3.0, 46.0, 21), ExtentResult::Inside},
        {"geographic RGF93 in France", geographic(1, 2.35, 48.85), ExtentResult::Inside},
        {"geographic RGF93 on its western bound", geographic(1, -9.86 - 5e-11, 45.0), ExtentResult::Inside},
        {"geographic RGF93 beyond it", geographic(1, -9.86 - 2e-10, 45.0), ExtentResult::OutsideSystem},
        {"geographic NTF beyond its bound", geographic(2, 9.7, 45.0), ExtentResult::OutsideSystem},
        {"geographic WGS84 anywhere", geographic(4, 120.0, -40.0), ExtentResult::Inside},
    };
    // The same extents with some of them written in grads: the position is converted from unit to
    // unit along each list, and every extent is read.
    Catalogue mixed;
    ASSERT_EQ(loadCatalogue(test::referenceDir() + "/catalogue.dat", mixed).status, CatalogueLoadStatus::Loaded);
    int changed = 0;
    for (auto* list : {&mixed.projectionExtents, &mixed.systemExtents})
        for (CZone& zone : *list)
            if (zone.regNumber == 1 && (changed++ % 2) == 0) {
                for (CCorner* corner : {&zone.min, &zone.max}) {
                    corner->lon = corner->lon / 0.9;
                    corner->lat = corner->lat / 0.9;
                    corner->unit = 3;
                }
            }
    for (const Catalogue* catalogue : {static_cast<const Catalogue*>(&c_), static_cast<const Catalogue*>(&mixed)})
        for (const Case& prepared : cases) {
            const ExtentTest test(*catalogue, prepared.point);
            for (const Case& c : cases) {
                SCOPED_TRACE(testing::Message() << c.name << ", prepared for " << prepared.name
                                                << (catalogue == &mixed ? ", extents in two units" : ""));
                EXPECT_EQ(test.test(c.point, c.point), c.expected);
                EXPECT_EQ(testExtents(c.point, *catalogue), c.expected);
            }
        }
}

TEST_F(Chain, StandardTransformationStatuses) {
    CCoor arrival = arrivalIn(5, kGeographic);
    EXPECT_EQ(standardPointTransform(geographic(1, 2, 46), arrival, c_, nullptr), 600) << "no record RGF93-OSGB36";
    arrival = arrivalIn(1, kProjected, 4);
    CPrc unsupported = *findByNumber(c_.projections, 9);
    unsupported.kind = 4;
    arrival.sys.projection = &unsupported;
    EXPECT_EQ(standardPointTransform(geographic(1, 2, 46), arrival, c_, nullptr), 300);
    arrival = arrivalIn(4, kCartesian);
    EXPECT_EQ(standardPointTransform(geographic(1, 2, 46), arrival, c_, nullptr), 0);
}

TEST_F(Chain, VerticalModesAndTheGeoid) {
    struct Case {
        const char* what;
        int mode;
        double h, altitude;
        int geoidSystem;  // 0: no geoid
        int arrivalSystem;
        double expectedH, expectedAltitude;
    } cases[] = {
        {"mode 1 without geoid keeps h", 1, 100, 0, 0, 1, 100, 0},
        {"mode 2 without geoid: the altitude is the height", 2, 0, 35, 0, 1, 35, 35},
        {"mode 0 is put on the ellipsoid", 0, 77, 0, 0, 1, 0, 0},
        {"mode 1 with the geoid in the system", 1, 100, 0, 1, 1, 100, 50},
        {"mode 2 with the geoid in the system", 2, 0, 35, 1, 1, 85, 35},
        {"mode 0 with the geoid: on the geoid", 0, 3, 0, 1, 1, 50, 0},
        {"mode 2, geoid on the arrival only: altitude carried", 2, 0, 35, 1, 4, 0, 35},
    };
    for (const auto& k : cases) {
        ConstantGeoid geoid(k.geoidSystem, 50.0);
        CCoor arrival = arrivalIn(k.arrivalSystem, kGeographic);
        const CCoor departure = geographic(k.arrivalSystem == 4 ? 4 : 1, 2.35, 48.85, k.mode, k.h, k.altitude);
        if (k.arrivalSystem == 4) {
            // The departure in WGS84, the geoid in RGF93: the null record moves nothing.
            arrival = arrivalIn(1, kGeographic);
        }
        ASSERT_EQ(standardPointTransform(departure, arrival, c_, k.geoidSystem ? &geoid : nullptr), 0) << k.what;
        const double expectedH = k.arrivalSystem == 4 ? 35 + 50 : k.expectedH;
        EXPECT_NEAR(arrival.h, expectedH, 1e-6) << k.what;
        EXPECT_NEAR(arrival.altitude, k.expectedAltitude, 1e-6) << k.what;
        if (k.geoidSystem != 0) {
            EXPECT_EQ(arrival.geoidPrecisionCode, 2) << k.what;
            EXPECT_NEAR(geoid.lastLon, 2.35, 1e-9) << "interpolated in decimal degrees";
        }
    }
}

}  // namespace
}  // namespace zelvo
