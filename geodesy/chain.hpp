#pragma once
// The road of one point from its departure coordinate to its arrival coordinate: extent tests
// and the standard point transformation, with the geoid term of the heights.

#include <deque>
#include <functional>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "geodesy/coordinates.hpp"

namespace zelvo {

// The geoid undulation model the chain reads: the application's current geoid grid.
class GeoidSource {
public:
    virtual ~GeoidSource() = default;
    // True when a grid is chosen and its values are loaded.
    virtual bool usable() const = 0;
    // Number of the geodetic system the grid is expressed in.
    virtual int systemNumber() const = 0;
    // Undulation N (metres, geoid above ellipsoid) at a position in decimal degrees, and the
    // precision code of the value.
    virtual double undulation(double lonDegrees, double latDegrees, double heightMetres, int& precisionCode) = 0;
};

// Whether a point lies in an extent (bounds inclusive, 1e-10 tolerance in the extent's unit). The
// point's longitude is taken as it is counted, without a meridian shift.
bool extentContains(const CZone& zone, const CCoor& point, const CLgo* greenwich);

// Over a list of extents: 1 for an empty list; otherwise 2 when an extent of the point's own
// projection holds it, 1 when an extent of its system without projection (or any extent of its
// system, for a point without projection) holds it, 0 when none does.
int extentStatus(const std::deque<CZone>& extents, const CCoor& point, const Catalogue& catalogue);

// The extent test of the chain: a projected point must lie in an extent of its projection, and
// every point in an extent of its system.
enum class ExtentResult { Inside, OutsideProjection, OutsideSystem };
ExtentResult testExtents(const CCoor& point, const Catalogue& catalogue);
// The same test when the point's geographic form is already at hand (any unit and meridian):
// the point gives its type, system and projection, geographic its position.
ExtentResult testExtents(const CCoor& point, const CCoor& geographic, const Catalogue& catalogue);

// One extent of the catalogue as the tests read it: its bounds in its unit.
struct ExtentBounds {
    int unit = 0;
    int prcNumber = 0;
    double minLon = 0, minLat = 0, maxLon = 0, maxLat = 0;
};

// testExtents for the points of a run, which all share a type, a system and a projection: the
// extents of that system are picked out of the catalogue's lists once. A point of another type,
// system or projection is tested over the whole lists.
class ExtentTest {
public:
    ExtentTest(const Catalogue& catalogue, const CCoor& point);
    ExtentResult test(const CCoor& point, const CCoor& geographic) const;

private:
    const Catalogue& catalogue_;
    const CLgo* greenwich_;
    int type_;
    int system_;
    const CPrc* projection_;
    bool noProjectionExtents_;
    bool noSystemExtents_;
    std::vector<ExtentBounds> projectionZones_;  // those of the system, in list order
    std::vector<ExtentBounds> systemZones_;
};

// Moves a point (cartesian or not) into the arrival system; returns the chain status.
using DatumShift = std::function<int(CCoor& point, const CSysCoor& arrival)>;

// The chain of one point with the given datum shift, used when the two systems differ.
int pointTransform(CCoor departure, CCoor& arrival, const Catalogue& catalogue, GeoidSource* geoid,
                   const DatumShift& shift, CCoor* arrivalGeographic = nullptr);

// Transforms a copy of departure into the system, type, unit, meridian and projection that
// arrival describes, with the standard transformation of the catalogue; arrival receives the
// result. Returns 0, 300 or 600. geoid may be null (no geoid grid). The vertical mode is the
// departure point's throughout.
// When arrivalGeographic is given, it receives the arrival position in geographic form, as it was
// before the conversion to the arrival type (for the arrival extent test).
int standardPointTransform(CCoor departure, CCoor& arrival, const Catalogue& catalogue, GeoidSource* geoid,
                           CCoor* arrivalGeographic = nullptr);

}  // namespace zelvo
