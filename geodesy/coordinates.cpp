#include "geodesy/coordinates.hpp"

#include <array>
#include <limits>

#include "geodesy/angles.hpp"
#include "geodesy/ellipsoid.hpp"
#include "geodesy/projection.hpp"
#include "geodesy/status.hpp"

namespace zelvo {
namespace {

// a and e² of the point's ellipsoid. A system without an ellipsoid (a catalogue line that came
// before any ELG line) gives NaN, so that its results read as no number rather than as values.
void pointEllipsoid(const CCoor& point, double& a, double& e2) {
    const CElg* ellipsoid = point.sys.system != nullptr ? point.sys.system->ellipsoid : nullptr;
    if (ellipsoid != nullptr) {
        a = ellipsoid->semiMajorAxis;
        e2 = ellipsoid->eccentricitySquared;
    } else {
        a = e2 = std::numeric_limits<double>::quiet_NaN();
    }
}

// The unit a meridian offset is added in: the packed forms cannot be added digit-wise, so packed
// degrees become decimal degrees and packed hours decimal hours.
int workingUnit(int unit) {
    if (unit == kPackedDms || unit == kPackedDm) return kDecimalDegrees;
    if (unit == kPackedHms) return kDecimalHours;
    return unit;
}

// lon + sign × (the meridian's longitude), added in the working unit of lon's unit.
double shiftLongitude(double lon, int unit, const CLgo& meridian, double sign) {
    const int w = workingUnit(unit);
    const double offset = convertAngle(meridian.longitude, meridian.unit, w);
    const double value = convertAngle(lon, unit, w);
    return convertAngle(value + sign * offset, w, unit);
}

}  // namespace

const CLgo* greenwichMeridian(const Catalogue& catalogue) {
    const CLgo* found = nullptr;
    for (const auto& meridian : catalogue.meridians)
        if (meridian.number == 1) found = &meridian;
    return found;
}

bool isGreenwich(const CLgo* meridian) {
    return meridian == nullptr || meridian->number == 1;
}

int CCoor::setUnit(int newUnit) {
    lon = convertAngle(lon, unit, newUnit);
    lat = convertAngle(lat, unit, newUnit);
    unit = newUnit;
    return kStatusOk;
}

// The longitude is counted from the point's own meridian, so that meridian's offset is the one
// added (for a point on its system's default meridian, the two are the same).
int CCoor::toGreenwich() {
    if (isGreenwich(sys.meridian)) return kStatusOk;
    lon = shiftLongitude(lon, unit, *sys.meridian, 1.0);
    return kStatusOk;
}

int CCoor::changeMeridian(const CLgo* meridian) {
    if (meridian == sys.meridian) return kStatusOk;
    toGreenwich();
    if (!isGreenwich(meridian)) lon = shiftLongitude(lon, unit, *meridian, -1.0);
    sys.meridian = meridian;
    return kStatusOk;
}

int CCoor::geographicToCartesianPoint() {
    if (!isGreenwich(sys.meridian)) toGreenwich();
    if (unit != kRadians) setUnit(kRadians);
    double a = 0.0, e2 = 0.0;
    pointEllipsoid(*this, a, e2);
    const CartesianXyz c = geographicToCartesian(a, e2, lon, lat, h);
    x = c.x;
    y = c.y;
    z = c.z;
    type = kCartesian;
    return kStatusOk;
}

int CCoor::cartesianToGeographicPoint(const CLgo* greenwich) {
    double a = 0.0, e2 = 0.0;
    pointEllipsoid(*this, a, e2);
    const GeographicLonLatH g = cartesianToGeographic(x, y, z, a, e2);
    lon = g.lon;
    lat = g.lat;
    h = g.h;
    type = kGeographic;
    unit = kRadians;
    sys.meridian = greenwich;
    return kStatusOk;
}

namespace {

InversePosition inversePosition(const CCoor& point) {
    InversePosition position;
    if (point.sys.projection == nullptr) {
        position.status = kStatusUnsupportedProjection;
        return position;
    }
    double a = 0.0, e2 = 0.0;
    pointEllipsoid(point, a, e2);
    LonLat g;
    position.status = projectInverse(*point.sys.projection, a, e2, point.e, point.n, g);
    position.lon = g.lon;
    position.lat = g.lat;
    return position;
}

}  // namespace

int takeInversePosition(CCoor& point, const InversePosition& position, const CLgo* greenwich) {
    if (position.status != kStatusOk) return position.status;
    point.lon = position.lon;
    point.lat = position.lat;
    point.unit = kRadians;
    point.type = kGeographic;
    point.sys.meridian = greenwich;
    return kStatusOk;
}

int CCoor::projectedToGeographicPoint(const CLgo* greenwich) {
    return takeInversePosition(*this, inversePosition(*this), greenwich);
}

void inversePositions(std::span<const CCoor* const> points, std::span<InversePosition> out) {
    // The points that share the first one's projection and ellipsoid go together; the others
    // (rare in a file of one system) one by one.
    constexpr std::size_t kTogether = 16;
    std::array<PlaneEn, kTogether> plane;
    std::array<LonLat, kTogether> g;
    std::array<std::size_t, kTogether> index;
    std::size_t count = 0;
    const CPrc* projection = points.empty() ? nullptr : points[0]->sys.projection;
    double a = 0.0, e2 = 0.0;
    if (projection != nullptr) pointEllipsoid(*points[0], a, e2);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CCoor& p = *points[i];
        double pa = 0.0, pe2 = 0.0;
        if (projection != nullptr && p.sys.projection == projection && count < kTogether) {
            pointEllipsoid(p, pa, pe2);
            if (pa == a && pe2 == e2) {
                plane[count] = {p.e, p.n};
                index[count++] = i;
                continue;
            }
        }
        out[i] = inversePosition(p);
    }
    if (count == 0) return;
    const int status = projectInverse(*projection, a, e2, std::span(plane).first(count), std::span(g).first(count));
    for (std::size_t k = 0; k < count; ++k) out[index[k]] = {status, g[k].lon, g[k].lat};
}

// The equal-area projection has no point scale factor and no convergence: both are reported as 0
// (k = 1, γ = 0).
int CCoor::geographicToProjectedPoint(const CPrc* projection) {
    if (!isGreenwich(sys.meridian)) toGreenwich();
    setUnit(kRadians);
    projectionError = false;
    int status = kStatusOk;
    double a = 0.0, e2 = 0.0;
    pointEllipsoid(*this, a, e2);
    ProjectedPoint out;
    if (projection == nullptr || projectForward(*projection, a, e2, lon, lat, out) != kStatusOk) {
        projectionError = true;
        status = kStatusUnsupportedProjection;
    } else {
        e = out.plane.e;
        n = out.plane.n;
        alteration = out.scale.k;
        convergence = out.scale.gamma;
    }
    type = kProjected;
    if (!projectionError) {
        alteration = (alteration - 1.0) * 1000000.0;
        convergenceUnit = projection->unit;
        convergence = convertAngle(convergence, kRadians, projection->unit);
    }
    return status;
}

int CCoor::toCartesian(const CLgo* greenwich) {
    int status = kStatusOk;
    if (type == kProjected) status = projectedToGeographicPoint(greenwich);
    if (status == kStatusOk && type == kGeographic) status = geographicToCartesianPoint();
    type = kCartesian;
    return status;
}

int CCoor::toGeographic(const CLgo* greenwich) {
    if (type == kCartesian) return cartesianToGeographicPoint(greenwich);
    if (type == kProjected) return projectedToGeographicPoint(greenwich);
    return kStatusOk;
}

// A projected point whose own projection cannot be inverted is left as it is: projecting its stale
// geographic values would give a plausible but wrong result.
int CCoor::toProjected(const CPrc* projection, const CLgo* greenwich) {
    int status = kStatusOk;
    if (type == kCartesian)
        status = cartesianToGeographicPoint(greenwich);
    else if (type == kProjected)
        status = projectedToGeographicPoint(greenwich);
    if (status != kStatusOk) return status;
    status = geographicToProjectedPoint(projection);
    sys.projection = projection;
    return status;
}

}  // namespace zelvo
