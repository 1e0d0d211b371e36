#include "geodesy/projection.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <bit>
#include <cstdint>
#include <memory>

#include "catalogue/projection_codes.hpp"
#include "geodesy/albers_equal_area.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/cassini_soldner.hpp"
#include "geodesy/ellipsoid.hpp"
#include "geodesy/equal_area.hpp"
#include "geodesy/gauss_laborde.hpp"
#include "geodesy/krovak.hpp"
#include "geodesy/lambert_conic.hpp"
#include "geodesy/mercator.hpp"
#include "geodesy/oblique_mercator.hpp"
#include "geodesy/oblique_stereographic.hpp"
#include "geodesy/polar_stereographic.hpp"
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

// How the formula's easting and northing (metres, growing east and north) become the projection's
// coordinates for the EPSG method kinds: (x0 + sx e, y0 + sy n) / unit. West- and south-orientated
// methods run their formula with a zero false origin and count from x0 or y0 the other way.
struct Axes {
    double unit = 1.0;  // metres in one linear unit
    double sx = 1.0, sy = 1.0;
    double x0 = 0.0, y0 = 0.0;
};

}  // namespace

struct ProjectionConstants {
    LambertConicConstants lambert;
    TransverseMercatorConstants transverseMercator;
    GaussLabordeConstants gaussLaborde;
    EqualAreaConstants equalArea;
    ObliqueStereographicConstants stereographic;
    PolarStereographicConstants polar;
    MercatorConstants mercator;
    CassiniSoldnerConstants cassini;
    ObliqueMercatorConstants obliqueMercator;
    AlbersEqualAreaConstants albers;
    KrovakConstants krovak;
    Axes axes;
};

namespace {

// The parameters of an EPSG method kind: angles in radians (λ0 from Greenwich), false origin in
// metres. Their meaning per method is the catalogue's (README, PRC records).
struct EpsgParameters {
    double lon0, lat0, k0, lat1, lat2, x0, y0;
};

EpsgParameters epsgParameters(const CPrc& p) {
    const double unit = linearUnitMetres(p.linearUnit);
    return {projectionLongitudeOrigin(p),
            convertAngle(p.latitudeOrigin, p.unit, kRadians),
            p.scaleFactor,
            convertAngle(p.parallel1, p.unit, kRadians),
            convertAngle(p.parallel2, p.unit, kRadians),
            p.falseEasting * unit,
            p.falseNorthing * unit};
}

// The constants of an EPSG method kind, all from the point's ellipsoid (a, e2).
void epsgConstants(const CPrc& p, double a, double e2, ProjectionConstants& c) {
    const EpsgParameters q = epsgParameters(p);
    c.axes = Axes{linearUnitMetres(p.linearUnit)};
    switch (p.kind) {
        case kEpsgLambertConic1SP:
            c.lambert = lambertTangentConstants(a, e2, q.lon0, q.lat0, q.k0, q.x0, q.y0);
            break;
        case kEpsgLambertConicWest:
            c.lambert = lambertTangentConstants(a, e2, q.lon0, q.lat0, q.k0, 0.0, q.y0);
            c.axes.sx = -1.0;
            c.axes.x0 = q.x0;
            break;
        case kEpsgLambertConic2SP:
            c.lambert = lambertSecantConstants(a, e2, q.lon0, q.lat0, q.lat1, q.lat2, q.x0, q.y0);
            break;
        case kEpsgTransverseMercator:
            c.transverseMercator = transverseMercatorConstants(a, e2, q.lon0, q.lat0, q.k0, q.x0, q.y0);
            break;
        case kEpsgTransverseMercatorSouth:
            c.transverseMercator = transverseMercatorConstants(a, e2, q.lon0, q.lat0, q.k0, 0.0, 0.0);
            c.axes.sx = c.axes.sy = -1.0;
            c.axes.x0 = q.x0;
            c.axes.y0 = q.y0;
            break;
        case kEpsgLambertAzimuthalEqualArea:
            c.equalArea = equalAreaConstants(a, e2, q.lon0, q.lat0, q.x0, q.y0);
            break;
        case kEpsgObliqueStereographic:
            c.stereographic = obliqueStereographicConstants(a, e2, q.lon0, q.lat0, q.k0, q.x0, q.y0);
            break;
        case kEpsgPolarStereographicA:
            c.polar = polarStereographicAConstants(a, e2, q.lon0, q.lat0, q.k0, q.x0, q.y0);
            break;
        case kEpsgPolarStereographicB:
            c.polar = polarStereographicBConstants(a, e2, q.lon0, q.lat1, q.x0, q.y0);
            break;
        case kEpsgPolarStereographicC:
            c.polar = polarStereographicCConstants(a, e2, q.lon0, q.lat1, q.x0, q.y0);
            break;
        case kEpsgMercatorA:
            c.mercator = mercatorAConstants(a, q.lon0, q.k0, q.x0, q.y0);
            break;
        case kEpsgMercatorB:
            c.mercator = mercatorBConstants(a, e2, q.lon0, q.lat1, q.x0, q.y0);
            break;
        case kEpsgCassiniSoldner:
            c.cassini = cassiniSoldnerConstants(a, e2, q.lon0, q.lat0, q.x0, q.y0);
            break;
        case kEpsgHotineObliqueMercatorA:
        case kEpsgHotineObliqueMercatorB:
            c.obliqueMercator = obliqueMercatorConstants(a, e2, p.kind == kEpsgHotineObliqueMercatorB, q.lat0, q.lon0,
                                                         q.lat1, q.lat2, q.k0, q.x0, q.y0);
            break;
        case kEpsgAlbersEqualArea:
            c.albers = albersEqualAreaConstants(a, e2, q.lon0, q.lat0, q.lat1, q.lat2, q.x0, q.y0);
            break;
        case kEpsgKrovak:
        case kEpsgKrovakNorthOrientated:
            c.krovak = krovakConstants(a, e2, p.kind == kEpsgKrovakNorthOrientated, q.lat0, q.lon0, q.lat1, q.lat2,
                                       q.k0, q.x0, q.y0);
            break;
        default:
            break;
    }
}

// The constants of a supported projection for an ellipsoid (a, e2).
void makeConstants(const CPrc& p, double a, double e2, ProjectionConstants& c) {
    switch (p.kind) {
        case kLambertConformalConic:
            c.lambert = lambertConstants(p, a, e2);
            break;
        case kTransverseMercator:
        case kTransverseMercatorAlias:
            c.transverseMercator = tmConstants(p, a, e2);
            break;
        case kGaussLaborde:
            c.gaussLaborde = glConstants(p, a, e2);
            break;
        case kLambertAzimuthalEqualArea:
            c.equalArea = laeaConstants(p, a, e2);
            break;
        default:
            epsgConstants(p, a, e2, c);
            break;
    }
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
            return isEpsgMethodKind(p.kind) && linearUnitMetres(p.linearUnit) > 0.0;
    }
}

bool hasScaleFactor(const CPrc& p) {
    switch (p.kind) {
        case kLambertAzimuthalEqualArea:
        case kEpsgLambertAzimuthalEqualArea:
        case kEpsgAlbersEqualArea:
        case kEpsgCassiniSoldner:
            return false;
        default:
            return true;
    }
}

double projectionLongitudeOrigin(const CPrc& p) {
    if (p.kind == kGaussLaborde) return convertAngle(p.longitudeOrigin, p.unit, kRadians);
    if (isEpsgMethodKind(p.kind)) {
        double lonOrigin = convertAngle(p.longitudeOrigin, p.unit, kRadians);
        if (p.meridian != nullptr && p.meridian->number != 1)
            lonOrigin += convertAngle(p.meridian->longitude, p.meridian->unit, kRadians);
        return lonOrigin;
    }
    double lonOrigin = convertAngleBasic(p.longitudeOrigin, p.unit, kRadians);
    if (p.meridian != nullptr && p.meridian->number != 1)
        lonOrigin += convertAngleBasic(p.meridian->longitude, p.meridian->unit, kRadians);
    return lonOrigin;
}

namespace {

// The forward projection of an EPSG method kind, in its linear unit and orientation.
void epsgForward(const CPrc& p, const ProjectionConstants& c, double a, double e2, double lon, double lat,
                 ProjectedPoint& out) {
    PlaneEn plane;
    ScaleConvergence scale;
    switch (p.kind) {
        case kEpsgLambertConic1SP:
        case kEpsgLambertConic2SP:
        case kEpsgLambertConicWest:
            lambertForwardWithScale(c.lambert, a, e2, lon, lat, plane, scale);
            break;
        case kEpsgTransverseMercator:
        case kEpsgTransverseMercatorSouth:
            plane = transverseMercatorForward(c.transverseMercator, e2, lon, lat);
            scale = transverseMercatorExactScaleConvergence(c.transverseMercator, a, e2, lon, lat);
            break;
        case kEpsgLambertAzimuthalEqualArea:
            plane = equalAreaForward(c.equalArea, e2, lon, lat);
            break;
        case kEpsgObliqueStereographic:
            plane = obliqueStereographicForward(c.stereographic, e2, lon, lat);
            scale = obliqueStereographicScaleConvergence(c.stereographic, a, e2, lon, lat);
            break;
        case kEpsgPolarStereographicA:
        case kEpsgPolarStereographicB:
        case kEpsgPolarStereographicC:
            plane = polarStereographicForward(c.polar, e2, lon, lat);
            scale = polarStereographicScaleConvergence(c.polar, a, e2, lon, lat);
            break;
        case kEpsgMercatorA:
        case kEpsgMercatorB:
            plane = mercatorForward(c.mercator, e2, lon, lat);
            scale = mercatorScaleConvergence(c.mercator, e2, lat);
            break;
        case kEpsgCassiniSoldner:
            plane = cassiniSoldnerForward(c.cassini, e2, lon, lat);
            break;
        case kEpsgHotineObliqueMercatorA:
        case kEpsgHotineObliqueMercatorB:
            plane = obliqueMercatorForward(c.obliqueMercator, e2, lon, lat);
            scale = obliqueMercatorScaleConvergence(c.obliqueMercator, a, e2, lon, lat);
            break;
        case kEpsgAlbersEqualArea:
            plane = albersEqualAreaForward(c.albers, e2, lon, lat);
            break;
        default:  // Krovak, both orientations
            plane = krovakForward(c.krovak, e2, lon, lat);
            scale = krovakScaleConvergence(c.krovak, a, e2, lon, lat);
            break;
    }
    out.plane = {(c.axes.x0 + c.axes.sx * plane.e) / c.axes.unit, (c.axes.y0 + c.axes.sy * plane.n) / c.axes.unit};
    out.hasScale = hasScaleFactor(p);
    out.scale = out.hasScale ? scale : ScaleConvergence();
}

// The inverse projection of an EPSG method kind, from its linear unit and orientation.
LonLat epsgInverse(const CPrc& p, const ProjectionConstants& c, double e2, double east, double north) {
    const double e = c.axes.sx * (east * c.axes.unit - c.axes.x0);
    const double n = c.axes.sy * (north * c.axes.unit - c.axes.y0);
    switch (p.kind) {
        case kEpsgLambertConic1SP:
        case kEpsgLambertConic2SP:
        case kEpsgLambertConicWest:
            return lambertInverse(c.lambert, e2, e, n);
        case kEpsgTransverseMercator:
        case kEpsgTransverseMercatorSouth:
            return transverseMercatorInverse(c.transverseMercator, e2, e, n);
        case kEpsgLambertAzimuthalEqualArea:
            return equalAreaInverse(c.equalArea, e2, e, n);
        case kEpsgObliqueStereographic:
            return obliqueStereographicInverse(c.stereographic, e2, e, n);
        case kEpsgPolarStereographicA:
        case kEpsgPolarStereographicB:
        case kEpsgPolarStereographicC:
            return polarStereographicInverse(c.polar, e2, e, n);
        case kEpsgMercatorA:
        case kEpsgMercatorB:
            return mercatorInverse(c.mercator, e2, e, n);
        case kEpsgCassiniSoldner:
            return cassiniSoldnerInverse(c.cassini, e2, e, n);
        case kEpsgHotineObliqueMercatorA:
        case kEpsgHotineObliqueMercatorB:
            return obliqueMercatorInverse(c.obliqueMercator, e2, e, n);
        case kEpsgAlbersEqualArea:
            return albersEqualAreaInverse(c.albers, e2, e, n);
        default:  // Krovak, both orientations
            return krovakInverse(c.krovak, e2, e, n);
    }
}

}  // namespace

CompiledProjection::CompiledProjection(const CPrc& projection, double a, double e2)
    : projection_(&projection), a_(a), e2_(e2), supported_(isSupportedProjection(projection)) {
    if (supported_) {
        constants_ = std::make_unique<ProjectionConstants>();
        makeConstants(projection, a, e2, *constants_);
    }
}

CompiledProjection::~CompiledProjection() = default;
CompiledProjection::CompiledProjection(CompiledProjection&&) noexcept = default;
CompiledProjection& CompiledProjection::operator=(CompiledProjection&&) noexcept = default;

bool CompiledProjection::isFor(const CPrc* projection, double a, double e2) const {
    return projection == projection_ && std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(a_) &&
           std::bit_cast<std::uint64_t>(e2) == std::bit_cast<std::uint64_t>(e2_);
}

int CompiledProjection::forward(double lon, double lat, ProjectedPoint& out) const {
    if (!supported_) return kStatusUnsupportedProjection;
    const CPrc& p = *projection_;
    const ProjectionConstants& constants = *constants_;
    const double a = a_, e2 = e2_;
    switch (p.kind) {
        case kLambertConformalConic: {
            const LambertConicConstants& c = constants.lambert;
            lambertForwardWithScale(c, a, e2, lon, lat, out.plane, out.scale);
            out.hasScale = true;
            break;
        }
        case kTransverseMercator:
        case kTransverseMercatorAlias: {
            const TransverseMercatorConstants& c = constants.transverseMercator;
            out.plane = transverseMercatorForward(c, e2, lon, lat);
            out.scale = transverseMercatorScaleConvergence(c, p.scaleFactor, lon, lat, out.plane.e);
            out.hasScale = true;
            break;
        }
        case kGaussLaborde: {
            const GaussLabordeConstants& c = constants.gaussLaborde;
            out.plane = gaussLabordeForward(c, e2, lon, lat);
            out.scale = gaussLabordeScaleConvergence(c, a, e2, lon, lat);
            out.hasScale = true;
            break;
        }
        case kLambertAzimuthalEqualArea: {
            out.plane = equalAreaForward(constants.equalArea, e2, lon, lat);
            out.scale = ScaleConvergence();
            out.hasScale = false;
            break;
        }
        default:
            epsgForward(p, constants, a, e2, lon, lat, out);
            break;
    }
    return kStatusOk;
}

int CompiledProjection::inverse(double east, double north, LonLat& out) const {
    if (!supported_) return kStatusUnsupportedProjection;
    const CPrc& p = *projection_;
    const ProjectionConstants& constants = *constants_;
    const double e2 = e2_;
    switch (p.kind) {
        case kLambertConformalConic:
            out = lambertInverse(constants.lambert, e2, east, north);
            break;
        case kTransverseMercator:
        case kTransverseMercatorAlias:
            out = transverseMercatorInverse(constants.transverseMercator, e2, east, north);
            break;
        case kGaussLaborde:
            out = gaussLabordeInverse(constants.gaussLaborde, e2, east, north);
            break;
        case kLambertAzimuthalEqualArea:
            out = equalAreaInverse(constants.equalArea, e2, east, north);
            break;
        default:
            out = epsgInverse(p, constants, e2, east, north);
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

int CompiledProjection::inverse(std::span<const PlaneEn> points, std::span<LonLat> out) const {
    if (!supported_) return kStatusUnsupportedProjection;
    const CPrc& p = *projection_;
    const ProjectionConstants& c = *constants_;
    const double e2 = e2_;
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
        case kLambertAzimuthalEqualArea:
            for (std::size_t i = 0; i < points.size(); ++i)
                out[i] = equalAreaInverse(c.equalArea, e2, points[i].e, points[i].n);
            break;
        default:
            for (std::size_t i = 0; i < points.size(); ++i) out[i] = epsgInverse(p, c, e2, points[i].e, points[i].n);
            break;
    }
    return kStatusOk;
}

int projectForward(const CPrc& projection, double a, double e2, double lon, double lat, ProjectedPoint& out) {
    return CompiledProjection(projection, a, e2).forward(lon, lat, out);
}

int projectInverse(const CPrc& projection, double a, double e2, double east, double north, LonLat& out) {
    return CompiledProjection(projection, a, e2).inverse(east, north, out);
}

int projectInverse(const CPrc& projection, double a, double e2, std::span<const PlaneEn> points,
                   std::span<LonLat> out) {
    return CompiledProjection(projection, a, e2).inverse(points, out);
}

}  // namespace zelvo
