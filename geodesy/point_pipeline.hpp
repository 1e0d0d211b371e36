#pragma once
// The road of one point, the same for the console batch and the window drivers: the grids of the
// point, its departure extent, the transformation and its arrival extent. The pipeline reports
// conditions; each driver turns them into its own statuses, messages or questions.

#include <array>
#include <cstddef>
#include <span>
#include <string>

#include "catalogue/catalogue.hpp"
#include "geodesy/chain.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/ellipsoid.hpp"
#include "geodesy/grid_selection.hpp"

namespace zelvo {

enum class PointCondition {
    None,
    OutsideTransformationGrid,  // grid mode: no 3-D grid holds the point
    DepartureOutsideProjection,
    DepartureOutsideSystem,
    ChainError,  // the transformation returned a status other than 0 (chainStatus())
    ArrivalOutsideProjection,
    ArrivalOutsideSystem,
};

class PointPipeline {
public:
    // A run of points that share the systems, types and projections of the two templates. The
    // current grids are the application's: they stay chosen and loaded from run to run.
    PointPipeline(GridSelection& grids, int transformationType, const CCoor& departureTemplate,
                  const CCoor& arrivalTemplate);
    PointPipeline(const PointPipeline&) = delete;
    PointPipeline& operator=(const PointPipeline&) = delete;

    // Chooses the point's 3-D grid (grid mode) and geoid grid, loading them when they change, and
    // tests the departure extents. Stops at a point outside every 3-D grid.
    PointCondition prepare(const CCoor& departure, CCoor& arrival);
    // Computes ahead, together, the geographic forms of projected departures that the next calls
    // of prepare will be given, in this order (at most kLookAhead); prepare then takes them
    // instead of computing them one at a time, which is faster. The departures must not change
    // in between; prepare computes the form of any other departure as usual.
    static constexpr std::size_t kLookAhead = kLatitudeLanes;
    void lookAhead(std::span<const CCoor* const> departures);
    // Result of the last geoid selection: 0 when the point lies outside every geoid grid that
    // applies (it is then transformed without its geoid term, precision code -999).
    int geoidSelection() const { return geoidSelection_; }
    // The extent the last grid selection reported (the last candidate examined).
    const CZone& gridExtent() const { return gridExtent_; }

    // Transforms the point last prepared into arrival and tests the arrival extents.
    PointCondition transform(CCoor& arrival);
    int chainStatus() const { return chainStatus_; }

private:
    GridSelection& grids_;
    const int type_;
    CurrentGeoid geoid_;
    const CLgo* greenwich_;
    // Every point of the run has the systems and projections of the templates.
    const ExtentTest departureExtents_;
    const ExtentTest arrivalExtents_;
    // The departure in geographic form, computed once per point: the grid selections and the
    // extent test read it, and the transformation starts from it.
    CCoor departureGeographic_;
    // The forms computed by lookAhead, with what they were computed from; the next to take.
    struct Ahead {
        const CCoor* departure = nullptr;
        double e = 0.0, n = 0.0;
        const CReg* system = nullptr;
        const CPrc* projection = nullptr;
        InversePosition position;
    };
    std::array<Ahead, kLookAhead> ahead_{};
    std::size_t aheadCount_ = 0, aheadNext_ = 0;
    bool takeAhead(const CCoor& departure);
    CCoor arrivalGeographic_;
    CZone gridExtent_;
    std::string geoidStatus_;
    int geoidSelection_ = -2;
    int chainStatus_ = 0;
};

}  // namespace zelvo
