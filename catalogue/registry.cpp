#include "catalogue/registry.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <vector>

#include "catalogue/projection_codes.hpp"

namespace zelvo {
namespace {

constexpr int kGreenwichCode = 8901;
constexpr int kWgs84System = kRegistryNumbers + 6326;

// One prepared statement, its values bound in order.
class Query {
public:
    Query(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) statement_ = nullptr;
    }
    ~Query() { sqlite3_finalize(statement_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& bind(int value) {
        sqlite3_bind_int(statement_, ++bound_, value);
        return *this;
    }
    Query& bind(const char* text) {
        sqlite3_bind_text(statement_, ++bound_, text, -1, SQLITE_TRANSIENT);
        return *this;
    }
    bool next() { return statement_ != nullptr && sqlite3_step(statement_) == SQLITE_ROW; }
    bool isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    int integer(int column) const { return sqlite3_column_int(statement_, column); }
    double real(int column) const { return sqlite3_column_double(statement_, column); }
    std::string text(int column) const {
        const unsigned char* t = sqlite3_column_text(statement_, column);
        return t == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(t));
    }

private:
    sqlite3_stmt* statement_ = nullptr;
    int bound_ = 0;
};

// Radians in one unit of an EPSG angle unit; the units PROJ's table rounds are given exactly.
// Nothing for sexagesimal units, which are not proportional.
std::optional<double> radiansPerUnit(sqlite3* db, int uom) {
    switch (uom) {
        case 9101: return 1.0;
        case 9102: return std::numbers::pi / 180.0;
        case 9104: return std::numbers::pi / 648000.0;
        case 9105: return std::numbers::pi / 200.0;
        case 9109: return 1e-6;
        case 9110: return std::nullopt;
        default: break;
    }
    Query q(db, "SELECT conv_factor FROM unit_of_measure WHERE auth_name = 'EPSG' AND code = ? AND type = 'angle'");
    q.bind(uom);
    if (!q.next() || q.isNull(0)) return std::nullopt;
    return q.real(0);
}

// An angle of the registry in decimal degrees.
std::optional<double> degrees(sqlite3* db, double value, int uom) {
    if (uom == 9110) {
        // Sexagesimal DMS: DDD.MMSSsss.
        const double sign = value < 0 ? -1.0 : 1.0;
        const double v = std::abs(value);
        const double d = std::floor(v);
        const double mmss = (v - d) * 100.0;
        const double m = std::floor(mmss + 1e-9);
        const double s = (mmss - m) * 100.0;
        return sign * (d + m / 60.0 + s / 3600.0);
    }
    if (uom == 9102) return value;
    const auto factor = radiansPerUnit(db, uom);
    if (!factor) return std::nullopt;
    return value * *factor * 180.0 / std::numbers::pi;
}

// Metres in one unit of an EPSG length unit, or nothing.
std::optional<double> metresPerUnit(sqlite3* db, int uom) {
    if (uom == 9001) return 1.0;
    Query q(db, "SELECT conv_factor FROM unit_of_measure WHERE auth_name = 'EPSG' AND code = ? AND type = 'length'");
    q.bind(uom);
    if (!q.next() || q.isNull(0)) return std::nullopt;
    return q.real(0);
}

// The precision class of an accuracy in metres (negative: unknown).
int precisionCodeOf(double accuracy) {
    if (accuracy < 0) return 0;
    if (accuracy < 0.01) return 88888888;
    if (accuracy <= 0.05) return 1;
    if (accuracy <= 0.10) return 2;
    if (accuracy <= 0.20) return 3;
    if (accuracy <= 0.50) return 4;
    if (accuracy <= 1.0) return 10;
    if (accuracy <= 2.0) return 5;
    if (accuracy <= 5.0) return 6;
    return 99;
}

// The area of use of a registry object as an extent of the given system (and projection); the
// whole world for an area across the antimeridian, which an extent cannot hold.
CZone areaOfUse(sqlite3* db, const char* table, int code, int system, int projection) {
    CZone zone;
    zone.regNumber = system;
    zone.prcNumber = projection;
    zone.min.lon = -180, zone.min.lat = -90, zone.max.lon = 180, zone.max.lat = 90;
    Query q(db,
            "SELECT e.south_lat, e.north_lat, e.west_lon, e.east_lon FROM usage u JOIN extent e "
            "ON e.auth_name = u.extent_auth_name AND e.code = u.extent_code "
            "WHERE u.object_table_name = ? AND u.object_auth_name = 'EPSG' AND u.object_code = ? "
            "ORDER BY (e.north_lat - e.south_lat) * (e.east_lon - e.west_lon) DESC");
    q.bind(table).bind(code);
    if (q.next() && q.real(2) <= q.real(3)) {
        zone.min.lat = q.real(0), zone.max.lat = q.real(1);
        zone.min.lon = q.real(2), zone.max.lon = q.real(3);
    }
    return zone;
}

bool hasRecord(const auto& list, int number) { return findByNumber(list, number) != nullptr; }

}  // namespace

std::string registryPath() {
    for (const char* variable : {"PROJ_DATA", "PROJ_LIB"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') continue;
        std::string_view folders(value);
        while (!folders.empty()) {
            const std::size_t colon = folders.find(':');
            const std::string folder(folders.substr(0, colon));
            folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
            if (folder.empty()) continue;
            const std::string path = folder + "/proj.db";
            if (FILE* f = std::fopen(path.c_str(), "rb")) {
                std::fclose(f);
                return path;
            }
        }
    }
    return "/usr/share/proj/proj.db";
}

int registryCode(std::string_view text) {
    if (text.size() < 6) return 0;
    for (std::size_t i = 0; i < 5; ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != "EPSG:"[i]) return 0;
    long long code = 0;
    for (const char c : text.substr(5)) {
        if (c < '0' || c > '9') return 0;
        code = code * 10 + (c - '0');
        if (code > 99999999) return 0;
    }
    return static_cast<int>(code);
}

std::unique_ptr<Registry> Registry::open(const std::string& path, std::string& message) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        message = "Registre EPSG introuvable : " + path;
        return nullptr;
    }
    std::unique_ptr<Registry> registry(new Registry(db));
    Query q(db, "SELECT value FROM metadata WHERE key = 'DATABASE.LAYOUT.VERSION.MAJOR'");
    if (!q.next()) {
        message = "Registre EPSG illisible : " + path;
        return nullptr;
    }
    if (q.integer(0) != 1) {
        message = "Registre EPSG d'une version inconnue (" + q.text(0) + ") : " + path;
        return nullptr;
    }
    return registry;
}

Registry::~Registry() { sqlite3_close(db_); }

int Registry::addMeridian(Catalogue& catalogue, int code, std::string& message) {
    if (code == kGreenwichCode) {
        if (!hasRecord(catalogue.meridians, 1)) {
            CLgo greenwich;
            greenwich.number = 1;
            greenwich.name = "Greenwich";
            greenwich.unit = 2;
            catalogue.meridians.push_back(greenwich);
        }
        return 1;
    }
    const int number = kRegistryNumbers + code;
    if (hasRecord(catalogue.meridians, number)) return number;
    Query q(db_, "SELECT name, longitude, uom_code, deprecated FROM prime_meridian WHERE auth_name = 'EPSG' AND code = ?");
    q.bind(code);
    if (!q.next()) {
        message = "EPSG:" + std::to_string(code) + " : ce code n'est pas un méridien du registre";
        return 0;
    }
    if (q.integer(3) != 0) {
        message = "EPSG:" + std::to_string(code) + " : méridien abandonné par le registre";
        return 0;
    }
    CLgo meridian;
    meridian.number = number;
    meridian.name = q.text(0);
    const int uom = q.integer(2);
    // The catalogue's own units where the registry's are one of them (Paris in grads stays so).
    if (uom == 9105) {
        meridian.unit = 3;
        meridian.longitude = q.real(1);
    } else if (uom == 9101) {
        meridian.unit = 1;
        meridian.longitude = q.real(1);
    } else {
        const auto value = degrees(db_, q.real(1), uom);
        if (!value) {
            message = "EPSG:" + std::to_string(code) + " : unité d'angle inconnue";
            return 0;
        }
        meridian.unit = 2;
        meridian.longitude = *value;
    }
    catalogue.meridians.push_back(meridian);
    return number;
}

int Registry::addSystem(Catalogue& catalogue, int code, std::string& message) {
    const std::string name = "EPSG:" + std::to_string(code);
    Query crs(db_, "SELECT c.datum_code, c.deprecated, d.name, d.ellipsoid_code, d.prime_meridian_code "
                   "FROM geodetic_crs c JOIN geodetic_datum d ON d.auth_name = c.datum_auth_name AND d.code = c.datum_code "
                   "WHERE c.auth_name = 'EPSG' AND c.code = ?");
    crs.bind(code);
    if (!crs.next()) {
        message = name + " : ce code n'est pas un système géodésique du registre";
        return 0;
    }
    if (crs.integer(1) != 0) {
        message = name + " : système abandonné par le registre";
        return 0;
    }
    const int datum = crs.integer(0);
    const int number = kRegistryNumbers + datum;
    if (hasRecord(catalogue.systems, number)) return number;

    const int ellipsoidCode = crs.integer(3);
    const int ellipsoidNumber = kRegistryNumbers + ellipsoidCode;
    if (!hasRecord(catalogue.ellipsoids, ellipsoidNumber)) {
        Query q(db_, "SELECT name, semi_major_axis, uom_code, inv_flattening, semi_minor_axis FROM ellipsoid "
                     "WHERE auth_name = 'EPSG' AND code = ?");
        q.bind(ellipsoidCode);
        const auto metres = q.next() ? metresPerUnit(db_, q.integer(2)) : std::nullopt;
        if (!metres) {
            message = name + " : ellipsoïde illisible dans le registre";
            return 0;
        }
        CElg e;
        e.number = ellipsoidNumber;
        e.name = q.text(0);
        e.semiMajorAxis = q.real(1) * *metres;
        if (!q.isNull(3) && q.real(3) != 0.0) {
            const double f = 1.0 / q.real(3);
            e.eccentricitySquared = f * (2.0 - f);
            e.thirdParameter = q.real(3);
        } else if (!q.isNull(4)) {
            const double b = q.real(4) * *metres;
            e.eccentricitySquared = 1.0 - (b * b) / (e.semiMajorAxis * e.semiMajorAxis);
            e.secondParameter = b;
        }
        catalogue.ellipsoids.push_back(e);
    }
    const int meridianNumber = addMeridian(catalogue, crs.integer(4), message);
    if (meridianNumber == 0) return 0;

    // Three-dimensional when the registry has a 3-D or geocentric CRS of the datum.
    Query dimension(db_, "SELECT count(*) FROM geodetic_crs WHERE auth_name = 'EPSG' AND datum_code = ? "
                         "AND type IN ('geographic 3D', 'geocentric') AND deprecated = 0");
    dimension.bind(datum);
    const bool threeD = dimension.next() && dimension.integer(0) > 0;

    CReg system;
    system.number = number;
    system.name = crs.text(2);
    system.dimension = threeD ? 3 : 2;
    system.ellipsoid = findByNumber(catalogue.ellipsoids, ellipsoidNumber);
    system.meridian = findByNumber(catalogue.meridians, meridianNumber);
    catalogue.systems.push_back(system);
    catalogue.systemExtents.push_back(areaOfUse(db_, "geodetic_crs", code, number, 0));
    CodeList types;
    types.regNumber = number;
    types.codes = threeD ? std::vector<int>{3, 2, 1} : std::vector<int>{3, 2};
    catalogue.coordinateTypes.push_back(types);
    CodeList units;
    units.regNumber = number;
    units.codes = {12, 11, 10, 6, 5, 4, 3, 2, 1};
    catalogue.units.push_back(units);
    return number;
}

int Registry::addProjection(Catalogue& catalogue, int code, int systemNumber, std::string& message) {
    const std::string name = "EPSG:" + std::to_string(code);
    const int number = kRegistryNumbers + code;
    if (hasRecord(catalogue.projections, number)) return number;
    Query crs(db_, "SELECT p.name, p.deprecated, g.datum_code, p.coordinate_system_code, c.method_code, "
                   "c.param1_code, c.param1_value, c.param1_uom_code, c.param2_code, c.param2_value, c.param2_uom_code, "
                   "c.param3_code, c.param3_value, c.param3_uom_code, c.param4_code, c.param4_value, c.param4_uom_code, "
                   "c.param5_code, c.param5_value, c.param5_uom_code, c.param6_code, c.param6_value, c.param6_uom_code, "
                   "c.param7_code, c.param7_value, c.param7_uom_code "
                   "FROM projected_crs p "
                   "JOIN geodetic_crs g ON g.auth_name = p.geodetic_crs_auth_name AND g.code = p.geodetic_crs_code "
                   "JOIN conversion_table c ON c.auth_name = p.conversion_auth_name AND c.code = p.conversion_code "
                   "WHERE p.auth_name = 'EPSG' AND p.code = ?");
    crs.bind(code);
    if (!crs.next()) {
        message = name + " : ce code n'est pas une projection du registre";
        return 0;
    }
    if (crs.integer(1) != 0) {
        message = name + " : projection abandonnée par le registre";
        return 0;
    }
    if (kRegistryNumbers + crs.integer(2) != systemNumber) {
        message = name + " : projection d'un autre système";
        return 0;
    }
    const int method = crs.integer(4);
    if (!isEpsgMethodKind(method)) {
        message = name + " : méthode de projection non prise en charge (EPSG:" + std::to_string(method) + ")";
        return 0;
    }
    // The linear unit of the coordinates: that of the first axis, easting and northing alike.
    Query axis(db_, "SELECT uom_code FROM axis WHERE coordinate_system_auth_name = 'EPSG' AND "
                    "coordinate_system_code = ? ORDER BY coordinate_system_order");
    axis.bind(crs.integer(3));
    const int linearUnit = axis.next() ? axis.integer(0) : 0;
    const auto axisMetres = linearUnitMetres(linearUnit) > 0.0 ? metresPerUnit(db_, linearUnit) : std::nullopt;
    if (!axisMetres) {
        message = name + " : unité linéaire non prise en charge";
        return 0;
    }
    const CReg* system = findByNumber(catalogue.systems, systemNumber);
    CPrc p;
    p.number = number;
    p.name = crs.text(0);
    p.kind = method;
    p.unit = 2;
    p.linearUnit = linearUnit;
    p.meridian = system != nullptr ? system->meridian : nullptr;
    for (int i = 0; i < 7; ++i) {
        const int column = 5 + 3 * i;
        if (crs.isNull(column)) continue;
        const int parameter = crs.integer(column);
        const double value = crs.real(column + 1);
        const int uom = crs.integer(column + 2);
        double* angle = nullptr;
        double* length = nullptr;
        switch (parameter) {
            case 8802: case 8822: case 8812: case 8833: angle = &p.longitudeOrigin; break;
            case 8801: case 8821: case 8811: angle = &p.latitudeOrigin; break;
            case 8823: case 8832: case 8813: case 1036: angle = &p.parallel1; break;
            case 8824: case 8814: case 8818: angle = &p.parallel2; break;
            case 8805: case 8815: case 8819: p.scaleFactor = value; break;
            case 8806: case 8826: case 8816: length = &p.falseEasting; break;
            case 8807: case 8827: case 8817: length = &p.falseNorthing; break;
            default: break;
        }
        if (angle != nullptr) {
            const auto d = degrees(db_, value, uom);
            if (!d) {
                message = name + " : unité d'angle inconnue";
                return 0;
            }
            *angle = *d;
        } else if (length != nullptr) {
            const auto metres = metresPerUnit(db_, uom);
            if (!metres) {
                message = name + " : unité linéaire non prise en charge";
                return 0;
            }
            *length = uom == linearUnit ? value : value * *metres / *axisMetres;
        }
    }
    catalogue.projections.push_back(p);
    catalogue.projectionUses.push_back({systemNumber, number});
    catalogue.projectionExtents.push_back(areaOfUse(db_, "projected_crs", code, systemNumber, number));
    return number;
}

int Registry::addTransformations(Catalogue& catalogue, int systemA, int systemB) {
    const int direct = addDirectTransformations(catalogue, systemA, systemB);
    if (direct > 0 || systemA == kWgs84System || systemB == kWgs84System) return direct;
    // None links the two datums: through WGS 84, as PROJ does.
    std::string unused;
    if (addSystem(catalogue, 4326, unused) != kWgs84System) return 0;
    return addDirectTransformations(catalogue, systemA, kWgs84System) +
           addDirectTransformations(catalogue, kWgs84System, systemB);
}

int Registry::addDirectTransformations(Catalogue& catalogue, int systemA, int systemB) {
    const int datumA = systemA - kRegistryNumbers, datumB = systemB - kRegistryNumbers;
    Query q(db_, "SELECT h.code, h.method_code, s.datum_code, h.accuracy, h.tx, h.ty, h.tz, h.translation_uom_code, "
                 "h.rx, h.ry, h.rz, h.rotation_uom_code, h.scale_difference, h.scale_difference_uom_code "
                 "FROM helmert_transformation_table h "
                 "JOIN geodetic_crs s ON s.auth_name = h.source_crs_auth_name AND s.code = h.source_crs_code "
                 "JOIN geodetic_crs t ON t.auth_name = h.target_crs_auth_name AND t.code = h.target_crs_code "
                 "WHERE h.auth_name = 'EPSG' AND h.deprecated = 0 "
                 "AND h.method_code IN (9603, 9606, 9607, 1031, 1032, 1033) "
                 "AND ((s.datum_code = ? AND t.datum_code = ?) OR (s.datum_code = ? AND t.datum_code = ?)) "
                 "ORDER BY h.accuracy IS NULL, h.accuracy, h.code");
    q.bind(datumA).bind(datumB).bind(datumB).bind(datumA);
    int added = 0;
    while (q.next()) {
        const int number = kRegistryNumbers + q.integer(0);
        if (std::any_of(catalogue.transformations.begin(), catalogue.transformations.end(),
                        [number](const CTsg& existing) { return existing.number == number; }))
            continue;
        const auto metres = metresPerUnit(db_, q.integer(7));
        if (!metres) continue;
        CTsg t;
        t.number = number;
        t.type = 1;
        const bool forward = q.integer(2) == datumA;
        t.sourceNumber = forward ? systemA : systemB;
        t.targetNumber = forward ? systemB : systemA;
        t.source = findByNumber(catalogue.systems, t.sourceNumber);
        t.target = findByNumber(catalogue.systems, t.targetNumber);
        t.tx = q.real(4) * *metres;
        t.ty = q.real(5) * *metres;
        t.tz = q.real(6) * *metres;
        const int method = q.integer(1);
        if (method != 9603 && method != 1031) {
            const auto radians = radiansPerUnit(db_, q.integer(11));
            if (!radians || q.isNull(12)) continue;
            // Arc-seconds, position vector: a coordinate frame rotation turns the other way.
            const double toSeconds = *radians / (std::numbers::pi / 648000.0) * (method == 9607 || method == 1032 ? -1.0 : 1.0);
            t.rx = q.real(8) * toSeconds;
            t.ry = q.real(9) * toSeconds;
            t.rz = q.real(10) * toSeconds;
            const int scaleUnit = q.integer(13);
            t.scale = scaleUnit == 9202 ? q.real(12) : scaleUnit == 9201 ? q.real(12) * 1e6 : q.real(12);
        }
        t.precisionCode = precisionCodeOf(q.isNull(3) ? -1.0 : q.real(3));
        t.registryCode = q.integer(0);
        const CZone area = areaOfUse(db_, "helmert_transformation", t.registryCode, 0, 0);
        t.hasArea = !(area.min.lon == -180 && area.max.lon == 180 && area.min.lat == -90 && area.max.lat == 90);
        t.west = area.min.lon, t.south = area.min.lat, t.east = area.max.lon, t.north = area.max.lat;
        catalogue.transformations.push_back(t);
        ++added;
    }
    return added;
}

}  // namespace zelvo
