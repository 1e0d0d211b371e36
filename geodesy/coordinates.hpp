#pragma once
// Helpers of the CCoor conversions (the operations themselves are members of CCoor, declared in
// catalogue/records.hpp and defined in coordinates.cpp).

#include <span>

#include "catalogue/catalogue.hpp"
#include "catalogue/records.hpp"
#include "geodesy/projection.hpp"

namespace zelvo {

// The catalogue's Greenwich meridian: the last meridian numbered 1, or null when there is none.
const CLgo* greenwichMeridian(const Catalogue& catalogue);

// True for Greenwich (number 1) and for a null meridian, which the conversions read as Greenwich.
bool isGreenwich(const CLgo* meridian);

// The projections whose constants an operation computed once for its run. A conversion of a point
// whose projection and ellipsoid are one of them uses its constants; any other point's projection
// has its constants computed for the call (CCoor's own members pass none).
struct CompiledProjections {
    const CompiledProjection* first = nullptr;
    const CompiledProjection* second = nullptr;
    const CompiledProjection* find(const CPrc* projection, double a, double e2) const;
};

// CCoor's conversions with the projections at hand: the same values as the members.
int toGeographic(CCoor& point, const CLgo* greenwich, const CompiledProjections& compiled);
int toCartesian(CCoor& point, const CLgo* greenwich, const CompiledProjections& compiled);
int toProjected(CCoor& point, const CPrc* projection, const CLgo* greenwich, const CompiledProjections& compiled);
int geographicToProjected(CCoor& point, const CPrc* projection, const CompiledProjections& compiled);

// What CCoor::projectedToGeographicPoint computes from a point's projected values: its status, and
// when that is kStatusOk the longitude from Greenwich and the latitude in radians.
struct InversePosition {
    int status = 0;
    double lon = 0.0, lat = 0.0;
};
// The same for several projected points at once (out as long as points), each the value
// projectedToGeographicPoint gives it; points of one projection and ellipsoid are inverted
// together, which is faster.
void inversePositions(std::span<const CCoor* const> points, std::span<InversePosition> out,
                      const CompiledProjections& compiled = {});
// Makes the point geographic from such a position, as projectedToGeographicPoint does; a failed
// position leaves it unchanged and returns its status.
int takeInversePosition(CCoor& point, const InversePosition& position, const CLgo* greenwich);

}  // namespace zelvo
