#include "geodesy/datum.hpp"

#include "geodesy/angles.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/projection.hpp"
#include "geodesy/status.hpp"

namespace zelvo {

CartesianXyz applySimilarity(double tx, double ty, double tz, double d, double rx, double ry, double rz,
                             double x, double y, double z) {
    const double k = 1.0 + d;
    return {tx + k * x - rz * y + ry * z, ty + rz * x + k * y - rx * z, tz - ry * x + rx * y + k * z};
}

CartesianXyz applySimilarityInverse(double tx, double ty, double tz, double d, double rx, double ry,
                                    double rz, double x, double y, double z) {
    const double k = 1.0 + d;
    const double u = x - tx, v = y - ty, w = z - tz;
    const double delta = k * (k * k + rx * rx + ry * ry + rz * rz);
    return {(u * (k * k + rx * rx) + v * (k * rz + rx * ry) + w * (rx * rz - k * ry)) / delta,
            (u * (rx * ry - k * rz) + v * (k * k + ry * ry) + w * (k * rx + ry * rz)) / delta,
            (u * (rx * rz + k * ry) + v * (ry * rz - k * rx) + w * (k * k + rz * rz)) / delta};
}

bool findTransformation(const std::deque<CTsg>& transformations, int departureSystem, int arrivalSystem,
                        int type, CTransfo& found) {
    if (departureSystem == arrivalSystem || transformations.empty()) return false;
    for (const auto& tsg : transformations)
        if (tsg.sourceNumber == departureSystem && tsg.type == type && tsg.targetNumber == arrivalSystem) {
            found.inverse = 0;
            found.tsg = tsg;
            return true;
        }
    for (const auto& tsg : transformations)
        if (tsg.sourceNumber == arrivalSystem && tsg.type == type && tsg.targetNumber == departureSystem) {
            found.inverse = 1;
            found.tsg = tsg;
            return true;
        }
    return false;
}

ResolvedSimilarity resolveStandardTransformation(const CReg* from, const CReg* to, const Catalogue& catalogue) {
    ResolvedSimilarity r;
    r.from = from;
    r.to = to;
    CTransfo transfo;
    if (from == nullptr || to == nullptr ||
        !findTransformation(catalogue.transformations, from->number, to->number, kStandardTransformation, transfo))
        return r;
    const CTsg& t = transfo.tsg;
    r.found = true;
    r.inverse = transfo.inverse == 1;
    r.tx = t.tx;
    r.ty = t.ty;
    r.tz = t.tz;
    r.rx = convertAngle(t.rx, kSecondsOfDegree, kRadians);
    r.ry = convertAngle(t.ry, kSecondsOfDegree, kRadians);
    r.rz = convertAngle(t.rz, kSecondsOfDegree, kRadians);
    r.d = t.scale * 1e-6;
    r.precisionCode = t.precisionCode;
    return r;
}

int standardTransform(CCoor& point, const CSysCoor& arrival, const Catalogue& catalogue) {
    return standardTransform(point, arrival, resolveStandardTransformation(point.sys.system, arrival.system, catalogue),
                             catalogue, greenwichMeridian(catalogue), {});
}

// Works on the point itself rather than on a copy (no allocation for its name): every check that
// can fail comes before the first change, so a failing point is left as it was. A missing record
// (600) is reported before an unsupported projection (300).
int standardTransform(CCoor& point, const CSysCoor& arrival, const ResolvedSimilarity& record,
                      const Catalogue& catalogue, const CLgo* greenwich, const CompiledProjections& compiled) {
    const bool resolved = record.from == point.sys.system && record.to == arrival.system;
    const ResolvedSimilarity& r =
        resolved ? record : resolveStandardTransformation(point.sys.system, arrival.system, catalogue);
    if (point.sys.system == nullptr || arrival.system == nullptr || !r.found ||
        point.sys.system->number == arrival.system->number)
        return kStatusNoTransformation;
    if (point.type == kProjected &&
        (point.sys.projection == nullptr || !isSupportedProjection(*point.sys.projection)))
        return kStatusUnsupportedProjection;
    if (point.type != kCartesian) toCartesian(point, greenwich, compiled);
    const CartesianXyz moved = r.inverse
                                   ? applySimilarityInverse(r.tx, r.ty, r.tz, r.d, r.rx, r.ry, r.rz, point.x, point.y, point.z)
                                   : applySimilarity(r.tx, r.ty, r.tz, r.d, r.rx, r.ry, r.rz, point.x, point.y, point.z);
    point.x = moved.x;
    point.y = moved.y;
    point.z = moved.z;
    point.sys.system = arrival.system;
    point.sys.projection = arrival.projection;
    point.sys.vertical = arrival.vertical;
    point.precisionCode = r.precisionCode;
    return kStatusOk;
}

}  // namespace zelvo
