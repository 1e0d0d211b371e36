#pragma once
// Helpers of the CCoor conversions (the operations themselves are members of CCoor, declared in
// catalogue/records.hpp and defined in coordinates.cpp).

#include <span>

#include "catalogue/catalogue.hpp"
#include "catalogue/records.hpp"

namespace zelvo {

// The catalogue's Greenwich meridian: the last meridian numbered 1, or null when there is none.
const CLgo* greenwichMeridian(const Catalogue& catalogue);

// True for Greenwich (number 1) and for a null meridian, which the conversions read as Greenwich.
bool isGreenwich(const CLgo* meridian);

// What CCoor::projectedToGeographicPoint computes from a point's projected values: its status, and
// when that is kStatusOk the longitude from Greenwich and the latitude in radians.
struct InversePosition {
    int status = 0;
    double lon = 0.0, lat = 0.0;
};
// The same for several projected points at once (out as long as points), each the value
// projectedToGeographicPoint gives it; points of one projection and ellipsoid are inverted
// together, which is faster.
void inversePositions(std::span<const CCoor* const> points, std::span<InversePosition> out);
// Makes the point geographic from such a position, as projectedToGeographicPoint does; a failed
// position leaves it unchanged and returns its status.
int takeInversePosition(CCoor& point, const InversePosition& position, const CLgo* greenwich);

}  // namespace zelvo
