#include "geodesy/chain.hpp"

#include <utility>

#include "geodesy/angles.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/datum.hpp"
#include "geodesy/precision.hpp"
#include "geodesy/status.hpp"

namespace zelvo {
namespace {

constexpr double kExtentTolerance = 1e-10;

bool inside(const CZone& zone, const CCoor& geographic) {
    return zone.min.lat - kExtentTolerance <= geographic.lat && geographic.lat <= zone.max.lat + kExtentTolerance &&
           zone.min.lon - kExtentTolerance <= geographic.lon && geographic.lon <= zone.max.lon + kExtentTolerance;
}

int systemNumber(const CCoor& point) { return point.sys.system != nullptr ? point.sys.system->number : 0; }

// The geoid term at a point made geographic in decimal degrees; also records its precision.
double undulationAt(GeoidSource& geoid, CCoor& w) {
    w.setUnit(kDecimalDegrees);
    int precision = 0;
    const double n = geoid.undulation(w.lon, w.lat, w.h, precision);
    w.geoidPrecisionCode = precision;
    return n;
}

bool geoidApplies(const GeoidSource* geoid, const CCoor& point) {
    return geoid != nullptr && geoid->usable() && geoid->systemNumber() == systemNumber(point);
}

}  // namespace

bool extentContains(const CZone& zone, const CCoor& point, const CLgo* greenwich) {
    CCoor copy = point;
    copy.toGeographic(greenwich);
    if (copy.unit != zone.min.unit) copy.setUnit(zone.min.unit);
    return inside(zone, copy);
}

namespace {

// The point as the extent tests read it: geographic, its longitude counted from Greenwich.
CCoor extentView(const CCoor& point, const CLgo* greenwich) {
    CCoor view = point;
    view.toGeographic(greenwich);
    if (!isGreenwich(view.sys.meridian)) view.toGreenwich();
    return view;
}

// The position an extent test reads, converted from extent unit to extent unit as it goes, the
// way CCoor::setUnit converts.
struct ExtentPosition {
    double lon, lat;
    int unit;
    void setUnit(int newUnit) {
        lon = convertAngle(lon, unit, newUnit);
        lat = convertAngle(lat, unit, newUnit);
        unit = newUnit;
    }
};

bool insideBounds(const ExtentBounds& zone, const ExtentPosition& p) {
    return zone.minLat - kExtentTolerance <= p.lat && p.lat <= zone.maxLat + kExtentTolerance &&
           zone.minLon - kExtentTolerance <= p.lon && p.lon <= zone.maxLon + kExtentTolerance;
}

ExtentBounds boundsOf(const CZone& zone) {
    return {zone.min.unit, zone.prcNumber, zone.min.lon, zone.min.lat, zone.max.lon, zone.max.lat};
}

// The status over the extents of the point's system, in list order, for a position made by
// extentView (its unit follows the extents').
template <typename Zones>
int statusOver(const Zones& zones, ExtentPosition& view, const CPrc* projection) {
    int result = 0;
    for (const ExtentBounds& zone : zones) {
        if (view.unit != zone.unit) view.setUnit(zone.unit);
        if (!insideBounds(zone, view)) continue;
        if (projection == nullptr) {
            result = 1;
        } else if (zone.prcNumber == 0) {
            result = 1;
        } else if (zone.prcNumber == projection->number) {
            return 2;
        }
    }
    return result;
}

std::vector<ExtentBounds> zonesOf(const std::deque<CZone>& extents, int system) {
    std::vector<ExtentBounds> zones;
    for (const CZone& zone : extents)
        if (zone.regNumber == system) zones.push_back(boundsOf(zone));
    return zones;
}

ExtentPosition positionOf(const CCoor& view) { return {view.lon, view.lat, view.unit}; }

}  // namespace

int extentStatus(const std::deque<CZone>& extents, const CCoor& point, const Catalogue& catalogue) {
    if (extents.empty()) return 1;
    ExtentPosition view = positionOf(extentView(point, greenwichMeridian(catalogue)));
    return statusOver(zonesOf(extents, systemNumber(point)), view, point.sys.projection);
}

ExtentResult testExtents(const CCoor& point, const Catalogue& catalogue) {
    return testExtents(point, point, catalogue);
}

ExtentResult testExtents(const CCoor& point, const CCoor& geographic, const Catalogue& catalogue) {
    return ExtentTest(catalogue, point).test(point, geographic);
}

ExtentTest::ExtentTest(const Catalogue& catalogue, const CCoor& point)
    : catalogue_(catalogue),
      greenwich_(greenwichMeridian(catalogue)),
      type_(point.type),
      system_(systemNumber(point)),
      projection_(point.sys.projection),
      noProjectionExtents_(catalogue.projectionExtents.empty()),
      noSystemExtents_(catalogue.systemExtents.empty()),
      projectionZones_(zonesOf(catalogue.projectionExtents, system_)),
      systemZones_(zonesOf(catalogue.systemExtents, system_)) {
    // When every extent of the system is in one unit, the position is converted once and never
    // again, so the extents of other projections, which decide nothing, can be left out.
    bool oneUnit = true;
    const ExtentBounds* first = nullptr;
    for (const auto* zones : {&projectionZones_, &systemZones_})
        for (const ExtentBounds& zone : *zones) {
            if (first == nullptr) first = &zone;
            oneUnit = oneUnit && zone.unit == first->unit;
        }
    if (oneUnit && projection_ != nullptr) {
        for (auto* zones : {&projectionZones_, &systemZones_})
            std::erase_if(*zones, [this](const ExtentBounds& zone) {
                return zone.prcNumber != 0 && zone.prcNumber != projection_->number;
            });
    }
}

ExtentResult ExtentTest::test(const CCoor& point, const CCoor& geographic) const {
    if (point.type != type_ || systemNumber(point) != system_ || point.sys.projection != projection_)
        return ExtentTest(catalogue_, point).test(point, geographic);
    // One conversion of the point serves both lists; a geographic position from Greenwich is read
    // as it is.
    ExtentPosition view = geographic.type == kGeographic && isGreenwich(geographic.sys.meridian)
                              ? positionOf(geographic)
                              : positionOf(extentView(geographic, greenwich_));
    if (type_ == kProjected && (noProjectionExtents_ ? 1 : statusOver(projectionZones_, view, projection_)) != 2)
        return ExtentResult::OutsideProjection;
    if ((noSystemExtents_ ? 1 : statusOver(systemZones_, view, projection_)) == 0) return ExtentResult::OutsideSystem;
    return ExtentResult::Inside;
}

int StandardShift::apply(CCoor& point, const CSysCoor& arrival) const {
    return standardTransform(point, arrival, record_, catalogue_, steps_.greenwich, steps_.projections);
}

int standardPointTransform(CCoor departure, CCoor& arrival, const Catalogue& catalogue, GeoidSource* geoid,
                           CCoor* arrivalGeographic) {
    const ChainSteps steps{greenwichMeridian(catalogue), {}};
    const ResolvedSimilarity record = resolveStandardTransformation(departure.sys.system, arrival.sys.system, catalogue);
    const StandardShift shift(catalogue, record, steps);
    return pointTransform(std::move(departure), arrival, steps, geoid, shift, arrivalGeographic);
}

int pointTransform(CCoor departure, CCoor& arrival, const ChainSteps& steps, GeoidSource* geoid,
                   const DatumShift& shift, CCoor* arrivalGeographic) {
    const CLgo* greenwich = steps.greenwich;
    const CompiledProjections& compiled = steps.projections;
    CCoor& w = departure;
    const int mode = departure.verticalMode;
    int status = kStatusOk;

    double n = 0.0;
    // A point outside the geoid's usable nodes on the departure side stays so on the arrival side.
    bool outsideGeoid = false;
    if (geoidApplies(geoid, w)) {
        status = toGeographic(w, greenwich, compiled);
        n = undulationAt(*geoid, w);
        outsideGeoid = w.geoidPrecisionCode == kOutsideGeoidGrid;
        // Outside the geoid's usable nodes no altitude is computed, as outside every geoid grid.
        if (mode == kEllipsoidalHeight && !outsideGeoid) w.altitude = w.h - n;
    }
    if (mode == kAltitude) w.h = n + w.altitude;
    else if (mode == kNoVertical) w.h = n;

    if (systemNumber(w) != systemNumber(arrival)) status = shift.apply(w, arrival.sys);
    const int geographic = toGeographic(w, greenwich, compiled);
    if (status == kStatusOk) status = geographic;

    if (geoidApplies(geoid, arrival)) {
        n = undulationAt(*geoid, w);
        if (outsideGeoid || w.geoidPrecisionCode == kOutsideGeoidGrid) w.geoidPrecisionCode = kOutsideGeoidGrid;
        else if (mode == kEllipsoidalHeight) w.altitude = w.h - n;
        else if (mode == kAltitude) w.h = w.altitude + n;
    }
    // Without a vertical value the point keeps the height the datum shift gave it: a point of a
    // two-dimensional system, taken on its ellipsoid, is where the similarity puts it.

    if (arrivalGeographic != nullptr) *arrivalGeographic = w;

    int converted = kStatusOk;
    switch (arrival.type) {
        case kCartesian:
            converted = toCartesian(w, greenwich, compiled);
            break;
        case kGeographic:
            w.setUnit(arrival.unit);
            w.changeMeridian(arrival.sys.meridian);
            break;
        case kProjected:
            converted = toProjected(w, arrival.sys.projection, greenwich, compiled);
            w.setUnit(arrival.unit);
            break;
    }
    arrival = w;
    return status != kStatusOk ? status : converted;
}

}  // namespace zelvo
