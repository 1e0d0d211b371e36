#include "geodesy/operation.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "geodesy/angles.hpp"
#include "geodesy/chain.hpp"
#include "geodesy/datum.hpp"
#include "grids/grid.hpp"
#include "mini_catalogue.hpp"

namespace zelvo {
namespace {

// NTF Lambert II étendu points to RGF93 Lambert 93, standard transformation, over a catalogue
// whose extents hold every point (degrees, from Greenwich).
struct OperationRun {
    test::MiniCatalogue m;
    CGrille1D geoidGrid;
    CGrille3D translationGrid;
    GridSelection grids{m.catalogue, geoidGrid, translationGrid, nullptr};
    CCoor departure = m.projected(m.ntf, m.lambert2e, 600000.0, 2200000.0);
    CCoor arrival = m.projected(m.rgf93, m.lambert93, 0.0, 0.0);

    OperationRun() {
        for (const CReg* system : {m.ntf, m.rgf93}) {
            CZone zone;
            zone.regNumber = system->number;
            zone.min.unit = zone.max.unit = kDecimalDegrees;
            zone.min.lon = -10.0, zone.min.lat = 40.0, zone.max.lon = 12.0, zone.max.lat = 53.0;
            m.catalogue.systemExtents.push_back(zone);
            for (const CPrc* projection : {m.lambert2e, m.lambert93, m.utm31}) {
                zone.prcNumber = projection->number;
                m.catalogue.projectionExtents.push_back(zone);
            }
        }
    }

    CCoor point(int i) const { return m.projected(m.ntf, m.lambert2e, 550000.0 + 3137.0 * i, 2150000.0 + 1723.0 * i); }
};

void expectSameBits(const CCoor& got, const CCoor& expected) {
    EXPECT_GT(expected.e, 1e5);  // a real result, not a stale or missing one
    for (auto member : {&CCoor::e, &CCoor::n, &CCoor::h, &CCoor::convergence, &CCoor::alteration})
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got.*member), std::bit_cast<std::uint64_t>(expected.*member));
}

// The same point through the chain without an operation: every constant computed on the spot.
CCoor alone(OperationRun& run, const CCoor& d) {
    CCoor a = run.arrival;
    EXPECT_EQ(standardPointTransform(d, a, run.m.catalogue, nullptr), 0);
    convergenceInArrivalUnit(a);
    return a;
}

TEST(Operation, PointsTransformedTogetherGiveWhatEachGivesAlone) {
    struct Case {
        const char* what;
        std::vector<int> points;  // indexes; -1 a geographic point, -2 a UTM point of the arrival system
    } cases[] = {
        {"one point", {0}},
        {"fewer than are computed together", {0, 1, 2}},
        {"as many", {0, 1, 2, 3}},
        {"more", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"a geographic point among them", {0, -1, 1, 2, 3}},
        {"a point of another projection (constants made on the spot)", {0, -2, 1}},
        {"the same point twice", {4, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OperationRun run;
        const Operation operation(run.m.catalogue, kStandardTransformation, run.departure, run.arrival);
        OperationCursor cursor(operation, run.grids);
        std::vector<CCoor> departures, arrivals;
        for (int i : c.points) {
            if (i == -1)
                departures.push_back(run.m.geographic(run.m.ntf, run.m.paris, kGrads, 0.5, 51.2));
            else if (i == -2)
                departures.push_back(run.m.projected(run.m.rgf93, run.m.utm31, 640000.0, 5400000.0));
            else
                departures.push_back(run.point(i));
            arrivals.push_back(run.arrival);
        }
        std::vector<const CCoor*> d;
        std::vector<CCoor*> a;
        for (std::size_t i = 0; i < departures.size(); ++i) {
            d.push_back(&departures[i]);
            a.push_back(&arrivals[i]);
        }
        std::vector<PointResult> results(departures.size());
        operation.transform(cursor, d, a, results);
        for (std::size_t i = 0; i < departures.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "point " << i);
            EXPECT_EQ(results[i].outcome, Outcome::Transformed);
            EXPECT_TRUE(results[i].finished);
            expectSameBits(arrivals[i], alone(run, departures[i]));
        }
    }
}

TEST(Operation, OutcomesFollowTheExtentsAndTheChain) {
    OperationRun run;
    const Operation operation(run.m.catalogue, kStandardTransformation, run.departure, run.arrival);
    OperationCursor cursor(operation, run.grids);
    // Far west of every extent; a point of a system no record links to the arrival.
    const CCoor outside = run.m.projected(run.m.ntf, run.m.lambert2e, -900000.0, 2200000.0);
    CCoor unlinked = run.m.geographic(run.m.rgr92, run.m.greenwich, kDecimalDegrees, 2.0, 46.0);
    const CCoor* d[] = {&outside, &unlinked};
    CCoor a0 = run.arrival, a1 = run.arrival;
    CCoor* a[] = {&a0, &a1};
    PointResult results[2];
    operation.transform(cursor, d, a, results);
    EXPECT_EQ(results[0].outcome, Outcome::DepartureOutsideProjection);
    EXPECT_FALSE(results[0].finished);
    EXPECT_EQ(results[1].outcome, Outcome::DepartureOutsideSystem) << "RGR92 has no extent";
    // Asked to go on, the chain finds no record.
    EXPECT_EQ(operation.prepare(cursor, unlinked, a1), Outcome::DepartureOutsideSystem);
    EXPECT_EQ(operation.finish(cursor, a1), Outcome::ChainError);
    EXPECT_EQ(cursor.chainStatus(), 600);
}

}  // namespace
}  // namespace zelvo
