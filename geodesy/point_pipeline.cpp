#include "geodesy/point_pipeline.hpp"

#include "geodesy/coordinates.hpp"
#include "geodesy/datum.hpp"
#include "geodesy/precision.hpp"
#include "geodesy/status.hpp"

namespace zelvo {

PointPipeline::PointPipeline(GridSelection& grids, int transformationType, const CCoor& departureTemplate,
                             const CCoor& arrivalTemplate)
    : grids_(grids),
      type_(transformationType),
      geoid_(grids.geoidGrid),
      greenwich_(greenwichMeridian(grids.catalogue)),
      departureExtents_(grids.catalogue, departureTemplate),
      arrivalExtents_(grids.catalogue, arrivalTemplate) {}

void PointPipeline::lookAhead(std::span<const CCoor* const> departures) {
    aheadCount_ = aheadNext_ = 0;
    std::array<const CCoor*, kLookAhead> projected{};
    for (const CCoor* d : departures)
        if (d->type == kProjected && aheadCount_ < kLookAhead) projected[aheadCount_++] = d;
    std::array<InversePosition, kLookAhead> positions;
    inversePositions(std::span(projected).first(aheadCount_), std::span(positions).first(aheadCount_));
    for (std::size_t i = 0; i < aheadCount_; ++i) {
        const CCoor& d = *projected[i];
        ahead_[i] = {&d, d.e, d.n, d.sys.system, d.sys.projection, positions[i]};
    }
}

// Takes the form looked ahead for this departure, passing over those of departures never
// prepared; false when there is none.
bool PointPipeline::takeAhead(const CCoor& departure) {
    while (aheadNext_ < aheadCount_) {
        const Ahead& next = ahead_[aheadNext_++];
        if (next.departure == &departure && departure.type == kProjected && next.e == departure.e &&
            next.n == departure.n && next.system == departure.sys.system &&
            next.projection == departure.sys.projection) {
            takeInversePosition(departureGeographic_, next.position, greenwich_);
            return true;
        }
    }
    return false;
}

PointCondition PointPipeline::prepare(const CCoor& departure, CCoor& arrival) {
    departureGeographic_ = departure;
    if (!takeAhead(departure)) departureGeographic_.toGeographic(greenwich_);
    geoidSelection_ = -2;

    if (type_ == kGridTransformation) {
        if (select3DGrid(grids_, departureGeographic_, arrival.sys, gridExtent_) != 1)
            return PointCondition::OutsideTransformationGrid;
        if (grids_.translationGrid.loaded == 0) loadCurrentGrid(grids_, CurrentGrid::Translation);
    }
    geoidSelection_ = selectGeoidGrid(grids_, type_, departureGeographic_, arrival, gridExtent_, geoidStatus_);
    if (geoidSelection_ == 1 && grids_.geoidGrid.loaded == 0 && !loadCurrentGrid(grids_, CurrentGrid::Geoid)) {
        // A geoid grid that no longer loads leaves the point without its geoid term: say so.
        departureGeographic_.geoidPrecisionCode = kOutsideGeoidGrid;
        arrival.geoidPrecisionCode = kOutsideGeoidGrid;
    }

    switch (departureExtents_.test(departure, departureGeographic_)) {
        case ExtentResult::OutsideProjection: return PointCondition::DepartureOutsideProjection;
        case ExtentResult::OutsideSystem: return PointCondition::DepartureOutsideSystem;
        case ExtentResult::Inside: return PointCondition::None;
    }
    return PointCondition::None;
}

PointCondition PointPipeline::transform(CCoor& arrival) {
    // The transformation starts from the departure's geographic form: the same values as from the
    // departure itself.
    chainStatus_ = type_ == kStandardTransformation
                       ? standardPointTransform(departureGeographic_, arrival, grids_.catalogue, &geoid_,
                                                &arrivalGeographic_)
                       : gridPointTransform(departureGeographic_, arrival, grids_.catalogue, &geoid_,
                                            grids_.translationGrid, &arrivalGeographic_);
    // Nodes that hold no number around the point: it is outside the grid, as in the selection.
    if (chainStatus_ == kStatusGridNodesNotFinite) return PointCondition::OutsideTransformationGrid;
    if (chainStatus_ != kStatusOk) return PointCondition::ChainError;
    switch (arrivalExtents_.test(arrival, arrivalGeographic_)) {
        case ExtentResult::OutsideProjection: return PointCondition::ArrivalOutsideProjection;
        case ExtentResult::OutsideSystem: return PointCondition::ArrivalOutsideSystem;
        case ExtentResult::Inside: return PointCondition::None;
    }
    return PointCondition::None;
}

}  // namespace zelvo
