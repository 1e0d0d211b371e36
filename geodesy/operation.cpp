#include "geodesy/operation.hpp"

#include <algorithm>
#include <array>

#include "geodesy/angles.hpp"
#include "geodesy/precision.hpp"
#include "geodesy/status.hpp"

namespace zelvo {
namespace {

// The constants of a point's projection on its system's ellipsoid, when it has both.
std::optional<CompiledProjection> compiledFor(const CCoor& point) {
    const CPrc* projection = point.sys.projection;
    const CElg* ellipsoid = point.sys.system != nullptr ? point.sys.system->ellipsoid : nullptr;
    if (projection == nullptr || ellipsoid == nullptr) return std::nullopt;
    return CompiledProjection(*projection, ellipsoid->semiMajorAxis, ellipsoid->eccentricitySquared);
}

const CompiledProjection* pointer(const std::optional<CompiledProjection>& p) { return p ? &*p : nullptr; }

}  // namespace

OperationCursor::OperationCursor(const Operation& operation, const GridSelection& grids)
    : grids_(grids), geoid_(grids_.geoidGrid) {
    if (operation.type_ == kGridTransformation)
        gridShift_.emplace(operation.catalogue_, grids_.translationGrid, operation.steps_, operation.departureSystem_,
                           operation.arrivalSystem_);
}

Operation::Operation(const Catalogue& catalogue, int transformationType, const CCoor& departureTemplate,
                     const CCoor& arrivalTemplate)
    : catalogue_(catalogue),
      type_(transformationType),
      greenwich_(greenwichMeridian(catalogue)),
      departureProjection_(compiledFor(departureTemplate)),
      arrivalProjection_(compiledFor(arrivalTemplate)),
      steps_{greenwich_, {pointer(departureProjection_), pointer(arrivalProjection_)}},
      similarity_(resolveStandardTransformation(departureTemplate.sys.system, arrivalTemplate.sys.system, catalogue)),
      departureSystem_(departureTemplate.sys.system),
      arrivalSystem_(arrivalTemplate.sys.system),
      departureExtents_(catalogue, departureTemplate),
      arrivalExtents_(catalogue, arrivalTemplate) {
    standardShift_.emplace(catalogue_, similarity_, steps_);
}

Outcome Operation::prepare(OperationCursor& cursor, const CCoor& departure, CCoor& arrival) const {
    cursor.departureGeographic_ = departure;
    toGeographic(cursor.departureGeographic_, greenwich_, steps_.projections);
    return prepareFrom(cursor, departure, arrival);
}

// prepare, the departure's geographic form already in the cursor.
Outcome Operation::prepareFrom(OperationCursor& cursor, const CCoor& departure, CCoor& arrival) const {
    GridSelection& grids = cursor.grids_;
    cursor.geoidSelection_ = -2;
    if (type_ == kGridTransformation) {
        if (select3DGrid(grids, cursor.departureGeographic_, arrival.sys, cursor.gridExtent_) != 1)
            return Outcome::OutsideTransformationGrid;
        if (grids.translationGrid.loaded == 0) loadCurrentGrid(grids, CurrentGrid::Translation);
    }
    cursor.geoidSelection_ = selectGeoidGrid(grids, type_, cursor.departureGeographic_, arrival, cursor.gridExtent_,
                                             cursor.geoidStatus_);
    if (cursor.geoidSelection_ == 1 && grids.geoidGrid.loaded == 0 && !loadCurrentGrid(grids, CurrentGrid::Geoid)) {
        // A geoid grid that no longer loads leaves the point without its geoid term: say so.
        cursor.departureGeographic_.geoidPrecisionCode = kOutsideGeoidGrid;
        arrival.geoidPrecisionCode = kOutsideGeoidGrid;
    }
    switch (departureExtents_.test(departure, cursor.departureGeographic_)) {
        case ExtentResult::OutsideProjection: return Outcome::DepartureOutsideProjection;
        case ExtentResult::OutsideSystem: return Outcome::DepartureOutsideSystem;
        case ExtentResult::Inside: return Outcome::Transformed;
    }
    return Outcome::Transformed;
}

Outcome Operation::finish(OperationCursor& cursor, CCoor& arrival) const {
    // The transformation starts from the departure's geographic form: the same values as from the
    // departure itself.
    const DatumShift& shift = type_ == kStandardTransformation ? static_cast<const DatumShift&>(*standardShift_)
                                                               : static_cast<const DatumShift&>(*cursor.gridShift_);
    cursor.chainStatus_ = pointTransform(cursor.departureGeographic_, arrival, steps_, &cursor.geoid_, shift,
                                         &cursor.arrivalGeographic_);
    // Nodes that hold no number around the point: it is outside the grid, as in the selection.
    if (cursor.chainStatus_ == kStatusGridNodesNotFinite) return Outcome::OutsideTransformationGrid;
    if (cursor.chainStatus_ != kStatusOk) return Outcome::ChainError;
    switch (arrivalExtents_.test(arrival, cursor.arrivalGeographic_)) {
        case ExtentResult::OutsideProjection: return Outcome::ArrivalOutsideProjection;
        case ExtentResult::OutsideSystem: return Outcome::ArrivalOutsideSystem;
        case ExtentResult::Inside: return Outcome::Transformed;
    }
    return Outcome::Transformed;
}

void Operation::transform(OperationCursor& cursor, std::span<const CCoor* const> departures,
                          std::span<CCoor* const> arrivals, std::span<PointResult> results) const {
    for (std::size_t start = 0; start < departures.size(); start += kTogether) {
        const std::size_t count = std::min(kTogether, departures.size() - start);
        // The geographic forms of the projected departures, computed together.
        std::array<const CCoor*, kTogether> projected{};
        std::array<InversePosition, kTogether> positions;
        std::size_t projectedCount = 0;
        for (std::size_t i = 0; i < count; ++i)
            if (departures[start + i]->type == kProjected) projected[projectedCount++] = departures[start + i];
        if (projectedCount > 1)
            inversePositions(std::span(projected).first(projectedCount), std::span(positions).first(projectedCount),
                             steps_.projections);
        std::size_t next = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const CCoor& departure = *departures[start + i];
            CCoor& arrival = *arrivals[start + i];
            PointResult& result = results[start + i];
            cursor.departureGeographic_ = departure;
            if (projectedCount > 1 && departure.type == kProjected)
                takeInversePosition(cursor.departureGeographic_, positions[next++], greenwich_);
            else
                toGeographic(cursor.departureGeographic_, greenwich_, steps_.projections);
            result.outcome = prepareFrom(cursor, departure, arrival);
            result.chainStatus = 0;
            result.finished = result.outcome == Outcome::Transformed;
            if (!result.finished) continue;
            result.outcome = finish(cursor, arrival);
            result.chainStatus = cursor.chainStatus_;
            convergenceInArrivalUnit(arrival);
        }
    }
}

void convergenceInArrivalUnit(CCoor& arrival) {
    if (arrival.convergenceUnit == arrival.unit) return;
    arrival.convergence = convertAngle(arrival.convergence, arrival.convergenceUnit, arrival.unit);
    arrival.convergenceUnit = arrival.unit;
}

}  // namespace zelvo
