#pragma once
// One operation per run: built once from the catalogue, the transformation type and the departure
// and arrival descriptions, then read only. It holds what every point of the run shares (the
// Greenwich meridian, the projection constants of both sides, the transformation record, the
// extents of both systems) and transforms points into outcomes. What changes from point to point
// (the current grids, the last selection's details) is the cursor's: each worker has its own, all
// share the operation.

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "catalogue/catalogue.hpp"
#include "geodesy/chain.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/datum.hpp"
#include "geodesy/grid_selection.hpp"
#include "geodesy/projection.hpp"

namespace zelvo {

// What became of a point.
enum class Outcome {
    Transformed,
    OutsideTransformationGrid,  // grid mode: no 3-D grid holds the point
    DepartureOutsideProjection,
    DepartureOutsideSystem,
    ChainError,  // the chain returned a status other than 0 (PointResult::chainStatus)
    ArrivalOutsideProjection,
    ArrivalOutsideSystem,
};

struct PointResult {
    Outcome outcome = Outcome::Transformed;
    bool finished = false;  // the departure was inside its extents: the chain ran
    int chainStatus = 0;
};

class Operation;

// The mutable side of a run for one worker: its current grids (which stay chosen and loaded from
// point to point), the datum shift that reads them, and what the last point's selections found.
class OperationCursor {
public:
    OperationCursor(const Operation& operation, const GridSelection& grids);
    OperationCursor(const OperationCursor&) = delete;
    OperationCursor& operator=(const OperationCursor&) = delete;

    // Result of the last geoid selection: 0 when the point lies outside every geoid grid that
    // applies (it is then transformed without its geoid term, precision code -999).
    int geoidSelection() const { return geoidSelection_; }
    // The extent the last grid selection reported (the last candidate examined).
    const CZone& gridExtent() const { return gridExtent_; }
    int chainStatus() const { return chainStatus_; }

private:
    friend class Operation;
    GridSelection grids_;
    CurrentGeoid geoid_;
    std::optional<GridShift> gridShift_;
    CCoor departureGeographic_, arrivalGeographic_;
    CZone gridExtent_;
    std::string geoidStatus_;
    int geoidSelection_ = -2;
    int chainStatus_ = 0;
};

class Operation {
public:
    // Points of the run share the systems, types and projections of the two templates; a point
    // of another system or projection is still transformed right, only without the constants
    // prepared here.
    Operation(const Catalogue& catalogue, int transformationType, const CCoor& departureTemplate,
              const CCoor& arrivalTemplate);
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    const Catalogue& catalogue() const { return catalogue_; }
    int transformationType() const { return type_; }

    // A point in two steps, for a caller that asks the user in between. prepare chooses the
    // point's 3-D grid (grid mode) and geoid grid, loading them when they change, and tests the
    // departure extents; it stops at a point outside every 3-D grid. finish transforms the point
    // last prepared into arrival and tests the arrival extents.
    Outcome prepare(OperationCursor& cursor, const CCoor& departure, CCoor& arrival) const;
    Outcome finish(OperationCursor& cursor, CCoor& arrival) const;

    // Points in one call: each is prepared and, when its departure is inside its extents,
    // finished, with its convergence in its arrival unit. The geographic forms of projected
    // departures are computed together, which is faster.
    void transform(OperationCursor& cursor, std::span<const CCoor* const> departures,
                   std::span<CCoor* const> arrivals, std::span<PointResult> results) const;
    // The most points transform computes together.
    static constexpr std::size_t kTogether = kLatitudeLanes;

private:
    friend class OperationCursor;
    Outcome prepareFrom(OperationCursor& cursor, const CCoor& departure, CCoor& arrival) const;

    const Catalogue& catalogue_;
    const int type_;
    const CLgo* const greenwich_;
    // The constants of the departure and arrival projections on their systems' ellipsoids.
    std::optional<CompiledProjection> departureProjection_, arrivalProjection_;
    ChainSteps steps_;
    ResolvedSimilarity similarity_;
    std::optional<StandardShift> standardShift_;
    const CReg* departureSystem_;
    const CReg* arrivalSystem_;
    const ExtentTest departureExtents_;
    const ExtentTest arrivalExtents_;
};

// The arrival convergence expressed in the arrival point's unit, as the files write it.
void convergenceInArrivalUnit(CCoor& arrival);

}  // namespace zelvo
