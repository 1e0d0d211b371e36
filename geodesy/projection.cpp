#include "geodesy/projection.hpp"

#include "geodesy/angles.hpp"
#include "geodesy/equal_area.hpp"
#include "geodesy/gauss_laborde.hpp"
#include "geodesy/lambert_conic.hpp"
#include "geodesy/status.hpp"
#include "geodesy/transverse_mercator.hpp"

namespace zelvo {
namespace {

bool isTangentLambert(const CPrc& p) { return p.variant == 1 || p.variant == 2; }
bool isSecantLambert(const CPrc& p) { return p.variant == 3; }

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
        return lambertTangentConstants(a, e2, lonOrigin, lat0, p.scaleFactor, p.falseEasting, p.falseNorthing);
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
    return gaussLabordeConstants(a, e2, projectionLongitudeOrigin(p), convertAngle(p.latitudeOrigin, p.unit, kRadians),
                                 p.scaleFactor, p.falseEasting, p.falseNorthing);
}

EqualAreaConstants laeaConstants(const CPrc& p, double a, double e2) {
    return equalAreaConstants(a, e2, projectionLongitudeOrigin(p), convertAngle(p.latitudeOrigin, p.unit, kRadians),
                              p.falseEasting, p.falseNorthing);
}

}  // namespace

bool isSupportedProjection(const CPrc& p) {
    switch (p.kind) {
        case kLambertConformalConic: return isTangentLambert(p) || isSecantLambert(p);
        case kTransverseMercator:
        case kTransverseMercatorAlias:
        case kGaussLaborde:
        case kLambertAzimuthalEqualArea: return true;
        default: return false;
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
            const LambertConicConstants c = lambertConstants(p, a, e2);
            out.plane = lambertForward(c, e2, lon, lat);
            out.scale = lambertScaleConvergence(c, a, e2, lon, lat);
            out.hasScale = true;
            break;
        }
        case kTransverseMercator:
        case kTransverseMercatorAlias: {
            const TransverseMercatorConstants c = tmConstants(p, a, e2);
            out.plane = transverseMercatorForward(c, e2, lon, lat);
            out.scale = transverseMercatorScaleConvergence(c, p.scaleFactor, lon, lat, out.plane.e);
            out.hasScale = true;
            break;
        }
        case kGaussLaborde: {
            const GaussLabordeConstants c = glConstants(p, a, e2);
            out.plane = gaussLabordeForward(c, e2, lon, lat);
            out.scale = gaussLabordeScaleConvergence(c, a, e2, lon, lat);
            out.hasScale = true;
            break;
        }
        default: {
            out.plane = equalAreaForward(laeaConstants(p, a, e2), e2, lon, lat);
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
        case kLambertConformalConic: out = lambertInverse(lambertConstants(p, a, e2), e2, east, north); break;
        case kTransverseMercator:
        case kTransverseMercatorAlias: out = transverseMercatorInverse(tmConstants(p, a, e2), e2, east, north); break;
        case kGaussLaborde: out = gaussLabordeInverse(glConstants(p, a, e2), e2, east, north); break;
        default: out = equalAreaInverse(laeaConstants(p, a, e2), e2, east, north); break;
    }
    return kStatusOk;
}

}  // namespace zelvo
