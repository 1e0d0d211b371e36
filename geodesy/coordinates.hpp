#pragma once
// One point (CCoor) and its conversions between coordinate types, units and meridians, defined
// in coordinates.cpp, with their helpers.

#include <span>
#include <string>

#include "catalogue/catalogue.hpp"
#include "catalogue/records.hpp"
#include "geodesy/projection.hpp"

namespace zelvo {

// One point. Which coordinate group is meaningful is given by type; the others hold stale values.
class CCoor {
public:
    virtual ~CCoor() = default;
    int type = 0;  // 1 cartesian, 2 geographic, 3 projected, 0 unset
    int unit = 0;  // angle unit of lon, lat
    double x = 0.0, y = 0.0, z = 0.0;  // metres
    double lon = 0.0, lat = 0.0;       // in unit, longitude counted from sys.meridian
    double h = 0.0;                    // ellipsoidal height, metres
    double e = 0.0, n = 0.0;           // easting, northing, in the projection's linear unit
    CSysCoor sys;
    bool projectionError = false;  // the last forward projection met an unsupported kind
    double alteration = 0.0;       // linear alteration, mm/km
    double convergence = 0.0;      // in convergenceUnit
    int convergenceUnit = 0;
    int verticalMode = 0;   // 0 none, 1 ellipsoidal height, 2 altitude
    double altitude = 0.0;  // metres above sys.vertical
    std::string name;
    int precisionCode = 0;
    int geoidPrecisionCode = 0;  // -999 when the point fell outside the geoid grid

    // Conversions within the point's system, in place (coordinates.cpp). They return 0, or
    // 300 when the projection involved has an unsupported kind. A null meridian stands for
    // Greenwich. The catalogue's Greenwich meridian, which a longitude computed from cartesian or
    // projected values is counted from, is passed explicitly (greenwichMeridian() finds it), so
    // that the operations depend on no global state.
    int setUnit(int newUnit);                   // lon and lat converted from unit to newUnit
    int toGreenwich();                          // lon re-counted from Greenwich; meridian kept
    int changeMeridian(const CLgo* meridian);  // lon re-counted from meridian, which becomes the point's
    int geographicToCartesianPoint();
    int cartesianToGeographicPoint(const CLgo* greenwich);
    int projectedToGeographicPoint(const CLgo* greenwich);  // with sys.projection
    int geographicToProjectedPoint(const CPrc* projection);
    int toCartesian(const CLgo* greenwich);
    int toGeographic(const CLgo* greenwich);
    int toProjected(const CPrc* projection, const CLgo* greenwich);  // then sys.projection = projection
};

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
