#include "geodesy/datum.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "geodesy/angles.hpp"
#include "geodesy/coordinates.hpp"
#include "mini_catalogue.hpp"

namespace zelvo {
namespace {

constexpr double kSecond = kPi / 648000.0;

struct Parameters {
    const char* name;
    double tx, ty, tz, ppm, rxSec, rySec, rzSec;
};
// OSGB36 to WGS84 and Piton des Neiges to RGR92 (77″ rotation, -32 ppm), and a translation only.
const Parameters kRecords[] = {
    {"OSGB36 to WGS84", 446.448, -125.157, 542.06, -20.489, 0.15, 0.247, 0.842},
    {"Piton des Neiges to RGR92", 789.524, -626.486, -89.904, -32.3241, 0.6006, 76.7946, -10.5788},
    {"NTF to RGF93", -168.0, -60.0, 320.0, 0.0, 0.0, 0.0, 0.0},
};
const CartesianXyz kPoints[] = {{3909400.0, -10900.0, 4968700.0},
                                {3160000.0, 5400000.0, -2280000.0},
                                {-2000000.0, 300.0, -6000000.0},
                                {6378137.0, 0.0, 0.0}};

TEST(Similarity, IsThePositionVectorFormulaWithScaleOnTheDiagonal) {
    for (const auto& r : kRecords)
        for (const auto& p : kPoints) {
            SCOPED_TRACE(r.name);
            const double d = r.ppm * 1e-6;
            const double rx = r.rxSec * kSecond, ry = r.rySec * kSecond, rz = r.rzSec * kSecond;
            // X′ = T + M X with M = [[1+d, −rz, ry], [rz, 1+d, −rx], [−ry, rx, 1+d]].
            const double m[3][3] = {{1 + d, -rz, ry}, {rz, 1 + d, -rx}, {-ry, rx, 1 + d}};
            const double in[3] = {p.x, p.y, p.z};
            double expected[3] = {r.tx, r.ty, r.tz};
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) expected[i] += m[i][j] * in[j];
            const CartesianXyz out = applySimilarity(r.tx, r.ty, r.tz, d, rx, ry, rz, p.x, p.y, p.z);
            EXPECT_NEAR(out.x, expected[0], 1e-8);
            EXPECT_NEAR(out.y, expected[1], 1e-8);
            EXPECT_NEAR(out.z, expected[2], 1e-8);
        }
    // A positive rotation about Z turns the X axis towards Y.
    const CartesianXyz turned = applySimilarity(0, 0, 0, 0, 0, 0, 1.0 * kSecond, 6378137.0, 0, 0);
    EXPECT_NEAR(turned.y, 6378137.0 * kSecond, 1e-12);
    EXPECT_EQ(turned.x, 6378137.0);
}

TEST(Similarity, InverseIsExact) {
    for (const auto& r : kRecords)
        for (const auto& p : kPoints) {
            SCOPED_TRACE(r.name);
            const double d = r.ppm * 1e-6;
            const double rx = r.rxSec * kSecond, ry = r.rySec * kSecond, rz = r.rzSec * kSecond;
            const CartesianXyz there = applySimilarity(r.tx, r.ty, r.tz, d, rx, ry, rz, p.x, p.y, p.z);
            const CartesianXyz back =
                applySimilarityInverse(r.tx, r.ty, r.tz, d, rx, ry, rz, there.x, there.y, there.z);
            // Floating-point error only (the sign-flipped approximation misses by up to a metre with 77″).
            EXPECT_NEAR(back.x, p.x, 1e-8);
            EXPECT_NEAR(back.y, p.y, 1e-8);
            EXPECT_NEAR(back.z, p.z, 1e-8);
        }
}

TEST(Similarity, TranslationsOnly) {
    const CartesianXyz p{4201000.0, 168000.0, 4780000.0};
    const CartesianXyz there = applySimilarity(-168, -60, 320, 0, 0, 0, 0, p.x, p.y, p.z);
    const CartesianXyz back = applySimilarityInverse(-168, -60, 320, 0, 0, 0, 0, p.x, p.y, p.z);
    EXPECT_EQ(there.x, p.x - 168);
    EXPECT_EQ(there.y, p.y - 60);
    EXPECT_EQ(there.z, p.z + 320);
    EXPECT_EQ(back.x, p.x + 168);
    EXPECT_EQ(back.y, p.y + 60);
    EXPECT_EQ(back.z, p.z - 320);
}

TEST(TransformationSearch, Table) {
    std::deque<CTsg> list;
    auto add = [&](int number, int source, int target, int type) {
        CTsg t;
        t.number = number;
        t.sourceNumber = source;
        t.targetNumber = target;
        t.type = type;
        list.push_back(t);
    };
    add(1, 2, 1, 1);
    add(2, 2, 1, 1);  // a second direct record: the first wins
    add(3, 1, 2, 1);  // the reverse record exists too
    add(4, 3, 4, 1);
    add(5, 5, 6, 2);  // grid companion only
    add(6, 7, 8, 1);
    add(7, 8, 7, 2);
    struct Case {
        int departure, arrival, type;
        bool found;
        int number, inverse;
    } cases[] = {
        {2, 1, 1, true, 1, 0},  {1, 2, 1, true, 3, 0},  // B to A uses the B-to-A record directly
        {4, 3, 1, true, 4, 1},  {3, 4, 1, true, 4, 0},  // reverse use of a single record
        {5, 6, 1, false, 0, 0}, {5, 6, 2, true, 5, 0},  {6, 5, 2, true, 5, 1},  {7, 8, 2, true, 7, 1},
        {8, 7, 1, true, 6, 1},  {1, 4, 1, false, 0, 0}, {2, 2, 1, false, 0, 0},  // same system: nothing is
                                                                                 // searched
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.departure << " to " << c.arrival << " type " << c.type);
        CTransfo found;
        ASSERT_EQ(findTransformation(list, c.departure, c.arrival, c.type, found), c.found);
        if (c.found) {
            EXPECT_EQ(found.tsg.number, c.number);
            EXPECT_EQ(found.inverse, c.inverse);
        }
    }
    CTransfo found;
    EXPECT_FALSE(findTransformation(std::deque<CTsg>(), 1, 2, 1, found));
}

TEST(StandardTransform, MovesThePointAndItsSystem) {
    test::MiniCatalogue m;
    CSysCoor arrival;
    arrival.system = m.rgf93;
    arrival.meridian = m.greenwich;
    arrival.projection = m.lambert93;
    arrival.vertical = m.ngf69;

    // A geographic NTF point, in grads from Paris.
    CCoor p = m.geographic(m.ntf, m.paris, 3, 0.0, 54.0);
    CCoor cartesian = p;
    ASSERT_EQ(cartesian.toCartesian(m.greenwich), 0);
    EXPECT_EQ(standardTransform(p, arrival, m.catalogue), 0);
    EXPECT_EQ(p.type, kCartesian);
    EXPECT_NEAR(p.x, cartesian.x - 168.0, 1e-9);
    EXPECT_NEAR(p.y, cartesian.y - 60.0, 1e-9);
    EXPECT_NEAR(p.z, cartesian.z + 320.0, 1e-9);
    EXPECT_EQ(p.sys.system, m.rgf93);
    EXPECT_EQ(p.sys.projection, m.lambert93);
    EXPECT_EQ(p.sys.vertical, m.ngf69);
    EXPECT_EQ(p.sys.meridian, m.paris);  // left as it was
    EXPECT_EQ(p.precisionCode, 5);
    // As PROJ computes it (+towgs84=-168,-60,320 from NTF to GRS 80): 2.33650925°E 48.59993224°N.
    EXPECT_EQ(p.toGeographic(m.greenwich), 0);
    EXPECT_NEAR(p.lon / kPi * 180, 2.33650925, 1e-8);
    EXPECT_NEAR(p.lat / kPi * 180, 48.59993224, 1e-8);

    // Back, with the same record used from its target to its source.
    CSysCoor toNtf;
    toNtf.system = m.ntf;
    toNtf.meridian = m.paris;
    toNtf.vertical = m.ngf69;
    CCoor q = m.geographic(m.rgf93, m.greenwich, 1, p.lon, p.lat, p.h);
    EXPECT_EQ(standardTransform(q, toNtf, m.catalogue), 0);
    EXPECT_EQ(q.sys.system, m.ntf);
    EXPECT_EQ(q.sys.projection, nullptr);
    EXPECT_NEAR(q.x, cartesian.x, 1e-6);
    EXPECT_NEAR(q.y, cartesian.y, 1e-6);
    EXPECT_NEAR(q.z, cartesian.z, 1e-6);
}

TEST(StandardTransform, Statuses) {
    test::MiniCatalogue m;
    CSysCoor toRgr;
    toRgr.system = m.rgr92;
    toRgr.meridian = m.greenwich;
    CSysCoor toRgf;
    toRgf.system = m.rgf93;
    toRgf.meridian = m.greenwich;

    // No record: 600, the point unchanged (still projected, still in NTF).
    CCoor p = m.projected(m.ntf, m.lambert2e, 600000.0, 2200000.0);
    EXPECT_EQ(standardTransform(p, toRgr, m.catalogue), 600);
    EXPECT_EQ(p.type, kProjected);
    EXPECT_EQ(p.sys.system, m.ntf);
    EXPECT_EQ(p.e, 600000.0);
    // The same system: no record is searched, 600.
    CCoor same = m.geographic(m.rgf93, m.greenwich, 2, 2.0, 47.0);
    EXPECT_EQ(standardTransform(same, toRgf, m.catalogue), 600);
    EXPECT_EQ(same.type, kGeographic);
    // A projection of an unsupported kind: 300, the point unchanged.
    CCoor q = m.projected(m.ntf, m.kind4, 600000.0, 2200000.0);
    EXPECT_EQ(standardTransform(q, toRgf, m.catalogue), 300);
    EXPECT_EQ(q.type, kProjected);
    EXPECT_EQ(q.sys.system, m.ntf);
    // Both faults at once: the missing record is reported.
    CCoor r = m.projected(m.ntf, m.kind4, 600000.0, 2200000.0);
    EXPECT_EQ(standardTransform(r, toRgr, m.catalogue), 600);
    // A cartesian point is transformed as it is.
    CCoor s = m.geographic(m.ntf, m.paris, 3, 0.0, 54.0);
    ASSERT_EQ(s.toCartesian(m.greenwich), 0);
    const double x = s.x;
    EXPECT_EQ(standardTransform(s, toRgf, m.catalogue), 0);
    EXPECT_NEAR(s.x, x - 168.0, 1e-9);
}

}  // namespace
}  // namespace zelvo
