#include "geodesy/datum.hpp"

#include <algorithm>

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

namespace {

Similarity similarityOf(const CTsg& t, bool inverse) {
    Similarity s;
    s.inverse = inverse;
    s.tx = t.tx;
    s.ty = t.ty;
    s.tz = t.tz;
    s.rx = convertAngle(t.rx, kSecondsOfDegree, kRadians);
    s.ry = convertAngle(t.ry, kSecondsOfDegree, kRadians);
    s.rz = convertAngle(t.rz, kSecondsOfDegree, kRadians);
    s.d = t.scale * 1e-6;
    s.precisionCode = t.precisionCode;
    s.record = &t;
    return s;
}

bool inArea(const CTsg& t, double lon, double lat) {
    return !t.hasArea || (t.west <= lon && lon <= t.east && t.south <= lat && lat <= t.north);
}

// Every registry record between two systems, either way, in list order.
std::vector<Similarity> registryRecords(const Catalogue& catalogue, int a, int b) {
    std::vector<Similarity> found;
    for (const CTsg& t : catalogue.transformations) {
        if (t.registryCode == 0 || t.type != kStandardTransformation) continue;
        if (t.sourceNumber == a && t.targetNumber == b) found.push_back(similarityOf(t, false));
        else if (t.sourceNumber == b && t.targetNumber == a) found.push_back(similarityOf(t, true));
    }
    return found;
}

// The larger of two precision classes as the classes order them (1 cm to 5 m, then unknown).
int worsePrecision(int a, int b) {
    const auto rank = [](int code) {
        switch (code) {
            case 88888888: return 0;
            case 1: case 11: return 1;
            case 2: return 2;
            case 3: return 3;
            case 4: return 4;
            case 10: return 5;
            case 5: return 6;
            case 6: return 7;
            case 99: return 8;
            default: return 9;
        }
    };
    return rank(a) >= rank(b) ? a : b;
}

}  // namespace

bool SimilarityRoute::applies(double lon, double lat) const {
    return inArea(*first.record, lon, lat) && (!twoSteps || inArea(*second.record, lon, lat));
}

ResolvedSimilarity resolveStandardTransformation(const CReg* from, const CReg* to, const Catalogue& catalogue) {
    ResolvedSimilarity r;
    r.from = from;
    r.to = to;
    if (from == nullptr || to == nullptr || from->number == to->number) return r;
    CTransfo transfo;
    if (findTransformation(catalogue.transformations, from->number, to->number, kStandardTransformation, transfo) &&
        transfo.tsg.registryCode == 0) {
        // The catalogue's rule: its one record.
        SimilarityRoute route;
        const CTsg* record = nullptr;
        for (const CTsg& t : catalogue.transformations)
            if (t.number == transfo.tsg.number && t.sourceNumber == transfo.tsg.sourceNumber &&
                t.targetNumber == transfo.tsg.targetNumber && t.type == kStandardTransformation) {
                record = &t;
                break;
            }
        route.first = similarityOf(record != nullptr ? *record : transfo.tsg, transfo.inverse == 1);
        if (record == nullptr) route.first.record = nullptr;
        route.precisionCode = route.first.precisionCode;
        r.routes.push_back(route);
        r.found = true;
        return r;
    }
    for (const Similarity& s : registryRecords(catalogue, from->number, to->number)) {
        SimilarityRoute route;
        route.first = s;
        route.precisionCode = s.precisionCode;
        r.routes.push_back(route);
    }
    if (r.routes.empty() && from->number != kRegistryWgs84System && to->number != kRegistryWgs84System) {
        const std::vector<Similarity> in = registryRecords(catalogue, from->number, kRegistryWgs84System);
        const std::vector<Similarity> out = registryRecords(catalogue, kRegistryWgs84System, to->number);
        for (const Similarity& a : in)
            for (const Similarity& b : out) {
                SimilarityRoute route;
                route.first = a;
                route.twoSteps = true;
                route.second = b;
                route.precisionCode = kThroughWgs84Precision + worsePrecision(a.precisionCode, b.precisionCode);
                const CReg* pivot = findByNumber(catalogue.systems, kRegistryWgs84System);
                if (pivot == nullptr || pivot->ellipsoid == nullptr) continue;
                route.pivotA = pivot->ellipsoid->semiMajorAxis;
                route.pivotE2 = pivot->ellipsoid->eccentricitySquared;
                r.routes.push_back(route);
            }
    }
    r.found = !r.routes.empty();
    for (const SimilarityRoute& route : r.routes)
        r.byArea = r.byArea || route.first.record->hasArea || (route.twoSteps && route.second.record->hasArea);
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
    // The route: the only one, or the first whose area of use holds the point (else the first).
    const SimilarityRoute* route = &r.routes.front();
    if (r.byArea) {
        CCoor g = point;
        toGeographic(g, greenwich, compiled);
        g.toGreenwich();
        const double lon = convertAngle(g.lon, g.unit, kDecimalDegrees), lat = convertAngle(g.lat, g.unit, kDecimalDegrees);
        const auto holds = std::find_if(r.routes.begin(), r.routes.end(),
                                        [lon, lat](const SimilarityRoute& candidate) { return candidate.applies(lon, lat); });
        if (holds != r.routes.end()) route = &*holds;
    }
    // The height the point comes with, which a route through WGS 84 gives it again at the pivot.
    double height = point.h;
    if (route->twoSteps && point.type != kGeographic) {
        CCoor g = point;
        toGeographic(g, greenwich, compiled);
        height = g.h;
    }
    if (point.type != kCartesian) toCartesian(point, greenwich, compiled);
    const auto apply = [&point](const Similarity& s) {
        const CartesianXyz moved =
            s.inverse ? applySimilarityInverse(s.tx, s.ty, s.tz, s.d, s.rx, s.ry, s.rz, point.x, point.y, point.z)
                      : applySimilarity(s.tx, s.ty, s.tz, s.d, s.rx, s.ry, s.rz, point.x, point.y, point.z);
        point.x = moved.x;
        point.y = moved.y;
        point.z = moved.z;
    };
    apply(route->first);
    if (route->twoSteps) {
        const GeographicLonLatH pivot = cartesianToGeographic(point.x, point.y, point.z, route->pivotA, route->pivotE2);
        const CartesianXyz again = geographicToCartesian(route->pivotA, route->pivotE2, pivot.lon, pivot.lat, height);
        point.x = again.x;
        point.y = again.y;
        point.z = again.z;
        apply(route->second);
    }
    point.sys.system = arrival.system;
    point.sys.projection = arrival.projection;
    point.sys.vertical = arrival.vertical;
    point.precisionCode = route->precisionCode;
    return kStatusOk;
}

}  // namespace zelvo
