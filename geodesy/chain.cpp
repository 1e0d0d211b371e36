#include "geodesy/chain.hpp"

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

int extentStatus(const std::deque<CZone>& extents, const CCoor& point, const Catalogue& catalogue) {
    if (extents.empty()) return 1;
    CCoor copy = point;
    copy.toGeographic(greenwichMeridian(catalogue));
    if (!isGreenwich(copy.sys.meridian)) copy.toGreenwich();
    const int system = systemNumber(point);
    const CPrc* projection = point.sys.projection;
    int result = 0;
    for (const CZone& zone : extents) {
        if (zone.regNumber != system) continue;
        if (copy.unit != zone.min.unit) copy.setUnit(zone.min.unit);
        if (!inside(zone, copy)) continue;
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

ExtentResult testExtents(const CCoor& point, const Catalogue& catalogue) {
    if (point.type == kProjected && extentStatus(catalogue.projectionExtents, point, catalogue) != 2)
        return ExtentResult::OutsideProjection;
    if (extentStatus(catalogue.systemExtents, point, catalogue) == 0) return ExtentResult::OutsideSystem;
    return ExtentResult::Inside;
}

int standardPointTransform(CCoor departure, CCoor& arrival, const Catalogue& catalogue, GeoidSource* geoid) {
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

    if (systemNumber(w) != systemNumber(arrival)) status = standardTransform(w, arrival.sys, catalogue);
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
