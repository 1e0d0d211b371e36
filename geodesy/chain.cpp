#include "geodesy/chain.hpp"

#include <utility>

#include "geodesy/angles.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/datum.hpp"
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

// The status over a non-empty list, for a view made by extentView (its unit follows the extents').
int statusOver(const std::deque<CZone>& extents, CCoor& view, int system, const CPrc* projection) {
    int result = 0;
    for (const CZone& zone : extents) {
        if (zone.regNumber != system) continue;
        if (view.unit != zone.min.unit) view.setUnit(zone.min.unit);
        if (!inside(zone, view)) continue;
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

}  // namespace

int extentStatus(const std::deque<CZone>& extents, const CCoor& point, const Catalogue& catalogue) {
    if (extents.empty()) return 1;
    CCoor view = extentView(point, greenwichMeridian(catalogue));
    return statusOver(extents, view, systemNumber(point), point.sys.projection);
}

ExtentResult testExtents(const CCoor& point, const Catalogue& catalogue) {
    return testExtents(point, point, catalogue);
}

ExtentResult testExtents(const CCoor& point, const CCoor& geographic, const Catalogue& catalogue) {
    // One conversion of the point serves both lists.
    CCoor view = extentView(geographic, greenwichMeridian(catalogue));
    const int system = systemNumber(point);
    const auto status = [&](const std::deque<CZone>& extents) {
        return extents.empty() ? 1 : statusOver(extents, view, system, point.sys.projection);
    };
    if (point.type == kProjected && status(catalogue.projectionExtents) != 2) return ExtentResult::OutsideProjection;
    if (status(catalogue.systemExtents) == 0) return ExtentResult::OutsideSystem;
    return ExtentResult::Inside;
}

int standardPointTransform(CCoor departure, CCoor& arrival, const Catalogue& catalogue, GeoidSource* geoid,
                           CCoor* arrivalGeographic) {
    const DatumShift shift = [&catalogue](CCoor& w, const CSysCoor& s) { return standardTransform(w, s, catalogue); };
    return pointTransform(std::move(departure), arrival, catalogue, geoid, shift, arrivalGeographic);
}

int pointTransform(CCoor departure, CCoor& arrival, const Catalogue& catalogue, GeoidSource* geoid,
                   const DatumShift& shift, CCoor* arrivalGeographic) {
    const CLgo* greenwich = greenwichMeridian(catalogue);
    CCoor& w = departure;
    const int mode = departure.verticalMode;
    int status = kStatusOk;

    double n = 0.0;
    if (geoidApplies(geoid, w)) {
        status = w.toGeographic(greenwich);
        n = undulationAt(*geoid, w);
        if (mode == kEllipsoidalHeight) w.altitude = w.h - n;
    }
    if (mode == kAltitude) w.h = n + w.altitude;
    else if (mode == kNoVertical) w.h = n;

    if (systemNumber(w) != systemNumber(arrival)) status = shift(w, arrival.sys);
    const int geographic = w.toGeographic(greenwich);
    if (status == kStatusOk) status = geographic;

    if (geoidApplies(geoid, arrival)) {
        n = undulationAt(*geoid, w);
        if (mode == kEllipsoidalHeight) w.altitude = w.h - n;
        else if (mode == kAltitude) w.h = w.altitude + n;
        else w.h = n;
    } else if (mode == kNoVertical) {
        // A point given without a vertical value is put on the geoid on both sides: the height the
        // datum shift gave it is no information of the user's, and would move a cartesian result.
        w.h = 0.0;
    }

    if (arrivalGeographic != nullptr) *arrivalGeographic = w;

    int converted = kStatusOk;
    switch (arrival.type) {
        case kCartesian:
            converted = w.toCartesian(greenwich);
            break;
        case kGeographic:
            w.setUnit(arrival.unit);
            w.changeMeridian(arrival.sys.meridian);
            break;
        case kProjected:
            converted = w.toProjected(arrival.sys.projection, greenwich);
            w.setUnit(arrival.unit);
            break;
    }
    arrival = w;
    return status != kStatusOk ? status : converted;
}

}  // namespace zelvo
