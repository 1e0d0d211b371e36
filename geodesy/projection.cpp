#include "geodesy/projection.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <bit>
#include <cstdint>

#include "geodesy/angles.hpp"
#include "geodesy/ellipsoid.hpp"
#include "geodesy/equal_area.hpp"
#include "geodesy/gauss_laborde.hpp"
#include "geodesy/lambert_conic.hpp"
#include "geodesy/status.hpp"
#include "geodesy/transverse_mercator.hpp"

namespace zelvo {
namespace {

bool isTangentLambert(const CPrc& p) {
    return p.variant == 1 || p.variant == 2;
}
bool isSecantLambert(const CPrc& p) {
    return p.variant == 3;
}

// The Lambert cone's constants, from the projection's own ellipsoid (the point's when the record
// names none).
LambertConicConstants lambertConstants(const CPrc& p, double a, double e2) {
    if (p.ellipsoid != nullptr) {
        a = p.ellipsoid->semiMajorAxis;
        e2 = p.ellipsoid->eccentricitySquared;
    }
    const double lonOrigin = projectionLongitudeOrigin(p);
    const double lat0 = convertAngleBasic(p.latitudeOrigin, p.unit, kRadians);
    if (isTangentLambert(p))
        return lambertTangentConstants(a, e2, lonOrigin, lat0, p.scaleFactor, p.falseEasting,
                                       p.falseNorthing);
    return lambertSecantConstants(a, e2, lonOrigin, lat0, convertAngleBasic(p.parallel1, p.unit, kRadians),
                                  convertAngleBasic(p.parallel2, p.unit, kRadians), p.falseEasting,
                                  p.falseNorthing);
}

TransverseMercatorConstants tmConstants(const CPrc& p, double a, double e2) {
    return transverseMercatorConstants(a, e2, projectionLongitudeOrigin(p),
                                       convertAngleBasic(p.latitudeOrigin, p.unit, kRadians), p.scaleFactor,
                                       p.falseEasting, p.falseNorthing);
}

GaussLabordeConstants glConstants(const CPrc& p, double a, double e2) {
    return gaussLabordeConstants(a, e2, projectionLongitudeOrigin(p),
                                 convertAngle(p.latitudeOrigin, p.unit, kRadians), p.scaleFactor,
                                 p.falseEasting, p.falseNorthing);
}

EqualAreaConstants laeaConstants(const CPrc& p, double a, double e2) {
    return equalAreaConstants(a, e2, projectionLongitudeOrigin(p),
                              convertAngle(p.latitudeOrigin, p.unit, kRadians), p.falseEasting,
                              p.falseNorthing);
}

// What the constants of a projection depend on, bit for bit: the parameters of its record, its
// own ellipsoid and meridian, and the ellipsoid of the point (integers are held exactly). Equal
// keys give bit-identical constants, since the same computation runs on the same bits.
using ConstantsKey = std::array<double, 18>;

ConstantsKey keyOf(const CPrc& p, double a, double e2) {
    const CElg* own = p.ellipsoid;
    const CLgo* meridian = p.meridian;
    return {static_cast<double>(p.kind),
            static_cast<double>(p.variant),
            static_cast<double>(p.unit),
            p.longitudeOrigin,
            p.latitudeOrigin,
            p.scaleFactor,
            p.parallel1,
            p.parallel2,
            p.falseEasting,
            p.falseNorthing,
            own != nullptr ? 1.0 : 0.0,
            own != nullptr ? own->semiMajorAxis : 0.0,
            own != nullptr ? own->eccentricitySquared : 0.0,
            meridian != nullptr ? static_cast<double>(meridian->number) : -1.0,
            meridian != nullptr ? static_cast<double>(meridian->unit) : 0.0,
            meridian != nullptr ? meridian->longitude : 0.0,
            a,
            e2};
}

bool sameBits(double x, double y) { return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y); }

// Whether key is the key of (p, a, e2), read field by field up to the first difference.
bool isKeyOf(const ConstantsKey& key, const CPrc& p, double a, double e2) {
    if (!sameBits(key[0], p.kind) || !sameBits(key[1], p.variant) || !sameBits(key[2], p.unit)) return false;
    if (!sameBits(key[16], a) || !sameBits(key[17], e2)) return false;
    if (!sameBits(key[3], p.longitudeOrigin) || !sameBits(key[4], p.latitudeOrigin) ||
        !sameBits(key[5], p.scaleFactor) || !sameBits(key[6], p.parallel1) || !sameBits(key[7], p.parallel2) ||
        !sameBits(key[8], p.falseEasting) || !sameBits(key[9], p.falseNorthing))
        return false;
    const CElg* own = p.ellipsoid;
    if (own == nullptr ? !sameBits(key[10], 0.0)
                       : !sameBits(key[10], 1.0) || !sameBits(key[11], own->semiMajorAxis) ||
                             !sameBits(key[12], own->eccentricitySquared))
        return false;
    const CLgo* meridian = p.meridian;
    if (meridian == nullptr) return sameBits(key[13], -1.0);
    return sameBits(key[13], meridian->number) && sameBits(key[14], meridian->unit) &&
           sameBits(key[15], meridian->longitude);
}

struct ProjectionConstants {
    LambertConicConstants lambert;
    TransverseMercatorConstants transverseMercator;
    GaussLabordeConstants gaussLaborde;
    EqualAreaConstants equalArea;
};

// The constants of a supported projection for a point's ellipsoid. A run uses one or two
// projections for all its points: the last few sets are kept, found again by the values they
// come from (never by address, so a changed or reused record gets fresh constants). The
// reference is valid until the next call.
const ProjectionConstants& constantsFor(const CPrc& p, double a, double e2) {
    struct Entry {
        bool used = false;
        ConstantsKey key;
        ProjectionConstants constants;
    };
    thread_local std::array<Entry, 4> entries;
    thread_local std::size_t next = 0;
    for (const Entry& entry : entries)
        if (entry.used && isKeyOf(entry.key, p, a, e2)) return entry.constants;
    Entry& entry = entries[next];
    next = (next + 1) % entries.size();
    entry.used = true;
    entry.key = keyOf(p, a, e2);
    switch (p.kind) {
        case kLambertConformalConic:
            entry.constants.lambert = lambertConstants(p, a, e2);
            break;
        case kTransverseMercator:
        case kTransverseMercatorAlias:
            entry.constants.transverseMercator = tmConstants(p, a, e2);
            break;
        case kGaussLaborde:
            entry.constants.gaussLaborde = glConstants(p, a, e2);
            break;
        default:
            entry.constants.equalArea = laeaConstants(p, a, e2);
            break;
    }
    return entry.constants;
}

}  // namespace

bool isSupportedProjection(const CPrc& p) {
    switch (p.kind) {
        case kLambertConformalConic:
            return isTangentLambert(p) || isSecantLambert(p);
        case kTransverseMercator:
        case kTransverseMercatorAlias:
        case kGaussLaborde:
        case kLambertAzimuthalEqualArea:
            return true;
        default:
            return false;
    }
}

double projectionLongitudeOrigin(const CPrc& p) {
    if (p.kind == kGaussLaborde) return convertAngle(p.longitudeOrigin, p.unit, kRadians);
    double lonOrigin = convertAngleBasic(p.longitudeOrigin, p.unit, kRadians);
    if (p.meridian != nullptr && p.meridian->number != 1)
        lonOrigin += convertAngleBasic(p.meridian->longitude, p.meridian->unit, kRadians);
    return lonOrigin;
}

int projectForward(const CPrc& p, double a, double e2, double lon, double lat, ProjectedPoint& out) {
    if (!isSupportedProjection(p)) return kStatusUnsupportedProjection;
    switch (p.kind) {
        case kLambertConformalConic: {
            const LambertConicConstants& c = constantsFor(p, a, e2).lambert;
            lambertForwardWithScale(c, a, e2, lon, lat, out.plane, out.scale);
            out.hasScale = true;
            break;
        }
        case kTransverseMercator:
        case kTransverseMercatorAlias: {
            const TransverseMercatorConstants& c = constantsFor(p, a, e2).transverseMercator;
            out.plane = transverseMercatorForward(c, e2, lon, lat);
            out.scale = transverseMercatorScaleConvergence(c, p.scaleFactor, lon, lat, out.plane.e);
            out.hasScale = true;
            break;
        }
        case kGaussLaborde: {
            const GaussLabordeConstants& c = constantsFor(p, a, e2).gaussLaborde;
            out.plane = gaussLabordeForward(c, e2, lon, lat);
            out.scale = gaussLabordeScaleConvergence(c, a, e2, lon, lat);
            out.hasScale = true;
            break;
        }
        default: {
            out.plane = equalAreaForward(constantsFor(p, a, e2).equalArea, e2, lon, lat);
            out.scale = ScaleConvergence();
            out.hasScale = false;
            break;
        }
    }
    return kStatusOk;
}

int projectInverse(const CPrc& p, double a, double e2, double east, double north, LonLat& out) {
    if (!isSupportedProjection(p)) return kStatusUnsupportedProjection;
    switch (p.kind) {
        case kLambertConformalConic:
            out = lambertInverse(constantsFor(p, a, e2).lambert, e2, east, north);
            break;
        case kTransverseMercator:
        case kTransverseMercatorAlias:
            out = transverseMercatorInverse(constantsFor(p, a, e2).transverseMercator, e2, east, north);
            break;
        case kGaussLaborde:
            out = gaussLabordeInverse(constantsFor(p, a, e2).gaussLaborde, e2, east, north);
            break;
        default:
            out = equalAreaInverse(constantsFor(p, a, e2).equalArea, e2, east, north);
            break;
    }
    return kStatusOk;
}

namespace {

// Inverses whose latitude comes from an isometric latitude, kLatitudeLanes points at a time: the
// longitudes and isometric latitudes (part), then the latitudes together.
template <typename Part>
void conformalInverses(double e2, std::span<const PlaneEn> points, std::span<LonLat> out, Part part) {
    std::array<double, kLatitudeLanes> isometric{}, lat{};
    for (std::size_t start = 0; start < points.size(); start += kLatitudeLanes) {
        const std::size_t count = std::min(kLatitudeLanes, points.size() - start);
        for (std::size_t i = 0; i < count; ++i) out[start + i].lon = part(points[start + i], isometric[i]);
        latitudesFromIsometric(std::span(isometric).first(count), e2, std::span(lat).first(count));
        for (std::size_t i = 0; i < count; ++i) out[start + i].lat = lat[i];
    }
}

}  // namespace

int projectInverse(const CPrc& p, double a, double e2, std::span<const PlaneEn> points, std::span<LonLat> out) {
    if (!isSupportedProjection(p)) return kStatusUnsupportedProjection;
    const ProjectionConstants& c = constantsFor(p, a, e2);
    switch (p.kind) {
        case kLambertConformalConic:
            conformalInverses(e2, points, out, [&c](const PlaneEn& en, double& isometric) {
                return lambertLongitudeAndIsometric(c.lambert, en, isometric);
            });
            break;
        case kTransverseMercator:
        case kTransverseMercatorAlias:
            conformalInverses(e2, points, out, [&c](const PlaneEn& en, double& isometric) {
                return transverseMercatorLongitudeAndIsometric(c.transverseMercator, en, isometric);
            });
            break;
        case kGaussLaborde:
            conformalInverses(e2, points, out, [&c](const PlaneEn& en, double& isometric) {
                return gaussLabordeLongitudeAndIsometric(c.gaussLaborde, en, isometric);
            });
            break;
        default:
            for (std::size_t i = 0; i < points.size(); ++i)
                out[i] = equalAreaInverse(c.equalArea, e2, points[i].e, points[i].n);
            break;
    }
    return kStatusOk;
}

}  // namespace zelvo
