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

// Runs fn with the constants of projection on the point's ellipsoid: the compiled ones at hand,
// else constants computed for this call.
template <typename Fn>
int withProjection(const CPrc& projection, double a, double e2, const CompiledProjections& compiled, Fn fn) {
    if (const CompiledProjection* found = compiled.find(&projection, a, e2)) return fn(*found);
    return fn(CompiledProjection(projection, a, e2));
}

InversePosition inversePosition(const CCoor& point, const CompiledProjections& compiled) {
    InversePosition position;
    if (point.sys.projection == nullptr) {
        position.status = kStatusUnsupportedProjection;
        return position;
    }
    double a = 0.0, e2 = 0.0;
    pointEllipsoid(point, a, e2);
    LonLat g;
    position.status = withProjection(*point.sys.projection, a, e2, compiled, [&](const CompiledProjection& p) {
        return p.inverse(point.e, point.n, g);
    });
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

const CompiledProjection* CompiledProjections::find(const CPrc* projection, double a, double e2) const {
    for (const CompiledProjection* p : {first, second})
        if (p != nullptr && p->isFor(projection, a, e2)) return p;
    return nullptr;
}

int CCoor::projectedToGeographicPoint(const CLgo* greenwich) {
    return takeInversePosition(*this, inversePosition(*this, {}), greenwich);
}

void inversePositions(std::span<const CCoor* const> points, std::span<InversePosition> out,
                      const CompiledProjections& compiled) {
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
        out[i] = inversePosition(p, compiled);
    }
    if (count == 0) return;
    const int status = withProjection(*projection, a, e2, compiled, [&](const CompiledProjection& p) {
        return p.inverse(std::span(plane).first(count), std::span(g).first(count));
    });
    for (std::size_t k = 0; k < count; ++k) out[index[k]] = {status, g[k].lon, g[k].lat};
}

// The equal-area projection has no point scale factor and no convergence: both are reported as 0
// (k = 1, γ = 0).
int geographicToProjected(CCoor& point, const CPrc* projection, const CompiledProjections& compiled) {
    if (!isGreenwich(point.sys.meridian)) point.toGreenwich();
    point.setUnit(kRadians);
    point.projectionError = false;
    int status = kStatusOk;
    double a = 0.0, e2 = 0.0;
    pointEllipsoid(point, a, e2);
    ProjectedPoint out;
    if (projection == nullptr ||
        withProjection(*projection, a, e2, compiled, [&](const CompiledProjection& p) {
            return p.forward(point.lon, point.lat, out);
        }) != kStatusOk) {
        point.projectionError = true;
        status = kStatusUnsupportedProjection;
    } else {
        point.e = out.plane.e;
        point.n = out.plane.n;
        point.alteration = out.scale.k;
        point.convergence = out.scale.gamma;
    }
    point.type = kProjected;
    if (!point.projectionError) {
        point.alteration = (point.alteration - 1.0) * 1000000.0;
        point.convergenceUnit = projection->unit;
        point.convergence = convertAngle(point.convergence, kRadians, projection->unit);
    }
    return status;
}

int toCartesian(CCoor& point, const CLgo* greenwich, const CompiledProjections& compiled) {
    int status = kStatusOk;
    if (point.type == kProjected)
        status = takeInversePosition(point, inversePosition(point, compiled), greenwich);
    if (status == kStatusOk && point.type == kGeographic) status = point.geographicToCartesianPoint();
    point.type = kCartesian;
    return status;
}

int toGeographic(CCoor& point, const CLgo* greenwich, const CompiledProjections& compiled) {
    if (point.type == kCartesian) return point.cartesianToGeographicPoint(greenwich);
    if (point.type == kProjected) return takeInversePosition(point, inversePosition(point, compiled), greenwich);
    return kStatusOk;
}

// A projected point whose own projection cannot be inverted is left as it is: projecting its stale
// geographic values would give a plausible but wrong result.
int toProjected(CCoor& point, const CPrc* projection, const CLgo* greenwich, const CompiledProjections& compiled) {
    int status = kStatusOk;
    if (point.type == kCartesian)
        status = point.cartesianToGeographicPoint(greenwich);
    else if (point.type == kProjected)
        status = takeInversePosition(point, inversePosition(point, compiled), greenwich);
    if (status != kStatusOk) return status;
    status = geographicToProjected(point, projection, compiled);
    point.sys.projection = projection;
    return status;
}

int CCoor::geographicToProjectedPoint(const CPrc* projection) { return geographicToProjected(*this, projection, {}); }
int CCoor::toCartesian(const CLgo* greenwich) { return zelvo::toCartesian(*this, greenwich, {}); }
int CCoor::toGeographic(const CLgo* greenwich) { return zelvo::toGeographic(*this, greenwich, {}); }
int CCoor::toProjected(const CPrc* projection, const CLgo* greenwich) {
    return zelvo::toProjected(*this, projection, greenwich, {});
}

}  // namespace zelvo
