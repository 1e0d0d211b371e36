#include "geodesy/point_pipeline.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "geodesy/datum.hpp"
#include "grids/grid.hpp"
#include "mini_catalogue.hpp"

namespace zelvo {
namespace {

// NTF Lambert II étendu points to RGF93 Lambert 93, standard transformation.
struct LookAheadRun {
    test::MiniCatalogue m;
    CGrille1D geoidGrid;
    CGrille3D translationGrid;
    GridSelection grids{m.catalogue, geoidGrid, translationGrid, nullptr};
    CCoor departure = m.projected(m.ntf, m.lambert2e, 600000.0, 2200000.0);
    CCoor arrival = m.projected(m.rgf93, m.lambert93, 0.0, 0.0);
    PointPipeline pipeline{grids, kStandardTransformation, departure, arrival};

    CCoor point(int i) const { return m.projected(m.ntf, m.lambert2e, 550000.0 + 3137.0 * i, 2150000.0 + 1723.0 * i); }

    // A point through this run's pipeline: its arrival and the conditions met (the catalogue
    // has no extents: every point is outside them).
    struct Through {
        CCoor arrival;
        PointCondition prepared, transformed;
    };
    Through through(const CCoor& d) {
        Through t{arrival, {}, {}};
        t.prepared = pipeline.prepare(d, t.arrival);
        t.transformed = pipeline.transform(t.arrival);
        return t;
    }
};

// A point through a pipeline that never looked ahead.
LookAheadRun::Through alone(const CCoor& d) {
    LookAheadRun run;
    return run.through(d);
}

void expectSameBits(const LookAheadRun::Through& got, const LookAheadRun::Through& expected) {
    EXPECT_GT(expected.arrival.e, 1e5);  // a real result, not a stale or missing one
    EXPECT_EQ(got.prepared, expected.prepared);
    EXPECT_EQ(got.transformed, expected.transformed);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.arrival.e), std::bit_cast<std::uint64_t>(expected.arrival.e));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.arrival.n), std::bit_cast<std::uint64_t>(expected.arrival.n));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.arrival.h), std::bit_cast<std::uint64_t>(expected.arrival.h));
}

TEST(PointPipelineLookAhead, GivesWhatEachPointGivesAlone) {
    struct Case {
        const char* what;
        std::vector<int> lookedAhead;  // indexes of the points looked ahead, in order
        std::vector<int> prepared;     // those then prepared, in order
        int moved = -1;                // a point whose easting changes after the look-ahead
    } cases[] = {
        {"every point, in order", {0, 1, 2, 3}, {0, 1, 2, 3}},
        {"fewer than the lanes", {0, 1}, {0, 1}},
        {"a point never prepared (a refused line)", {0, 1, 2, 3}, {0, 2, 3}},
        {"a point prepared that was not looked ahead", {0, 2}, {0, 1, 2}},
        {"out of order", {0, 1, 2, 3}, {1, 0, 3, 2}},
        {"a point changed in between", {0, 1, 2, 3}, {0, 1, 2, 3}, 2},
        {"more than the look-ahead holds", {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LookAheadRun run;
        std::vector<CCoor> points;
        for (int i = 0; i < 6; ++i) points.push_back(run.point(i));
        std::vector<const CCoor*> ahead;
        for (int i : c.lookedAhead) ahead.push_back(&points[i]);
        run.pipeline.lookAhead(ahead);
        if (c.moved >= 0) points[c.moved].e += 0.5;
        for (int i : c.prepared) {
            SCOPED_TRACE(testing::Message() << "point " << i);
            expectSameBits(run.through(points[i]), alone(points[i]));
        }
    }
}

TEST(PointPipelineLookAhead, AnotherPointWithTheSameValuesIsComputedAlike) {
    LookAheadRun run;
    const CCoor first = run.point(0);
    const CCoor copy = first;
    const CCoor* ahead[] = {&first};
    run.pipeline.lookAhead(ahead);
    expectSameBits(run.through(copy), alone(first));
}

}  // namespace
}  // namespace zelvo
