#pragma once
// A small catalogue built in memory for the conversion and transformation tests: NTF (Clarke
// 1880, Paris meridian) and RGF93 (GRS 80, Greenwich), their Lambert projections, an equal-area
// projection, a projection of an unsupported kind, and standard records.

#include "catalogue/catalogue.hpp"
#include "geodesy/coordinates.hpp"

namespace zelvo::test {

struct MiniCatalogue {
    Catalogue catalogue;
    const CElg* clarke = nullptr;
    const CElg* grs80 = nullptr;
    const CLgo* greenwich = nullptr;
    const CLgo* paris = nullptr;
    const CReg* rgf93 = nullptr;        // 1
    const CReg* ntf = nullptr;          // 2
    const CReg* rgr92 = nullptr;        // 7, on GRS 80, linked to nothing
    const CReg* noEllipsoid = nullptr;  // 9, a system read before any ellipsoid
    const CPrc* lambert2e = nullptr;    // 6
    const CPrc* lambert93 = nullptr;    // 9
    const CPrc* utm31 = nullptr;        // 21
    const CPrc* laea = nullptr;         // 26
    const CPrc* kind4 = nullptr;        // 40, of an unsupported kind
    const CRea* ngf69 = nullptr;

    MiniCatalogue() {
        Catalogue& c = catalogue;
        CElg e;
        e.number = 1;
        e.name = "Clarke 1880 (France)";
        e.semiMajorAxis = 6378249.2;
        e.eccentricitySquared = 0.006803487646300;
        c.ellipsoids.push_back(e);
        e.number = 2;
        e.name = "GRS 1980";
        e.semiMajorAxis = 6378137.0;
        e.eccentricitySquared = 0.006694380022901;
        c.ellipsoids.push_back(e);
        clarke = &c.ellipsoids[0];
        grs80 = &c.ellipsoids[1];

        CLgo m;
        m.number = 1;
        m.name = "Greenwich";
        m.unit = 2;
        c.meridians.push_back(m);
        m.number = 2;
        m.name = "Paris";
        m.unit = 3;
        m.longitude = 2.5969213;
        c.meridians.push_back(m);
        greenwich = &c.meridians[0];
        paris = &c.meridians[1];

        addSystem(1, "RGF93", grs80, greenwich);
        addSystem(2, "NTF", clarke, paris);
        addSystem(7, "RGR92", grs80, greenwich);
        addSystem(9, "Sans ellipsoïde", nullptr, nullptr);
        rgf93 = &c.systems[0];
        ntf = &c.systems[1];
        rgr92 = &c.systems[2];
        noEllipsoid = &c.systems[3];

        CRea r;
        r.number = 1;
        r.name = "NGF69";
        c.verticalSystems.push_back(r);
        ngf69 = &c.verticalSystems[0];

        lambert2e = addProjection(6, 1, clarke, paris, 3, 0, 52, 0.99987742, 0, 0, 600000, 2200000, 1);
        lambert93 = addProjection(9, 3, grs80, greenwich, 2, 3, 46.5, 1, 44, 49, 700000, 6600000, 1);
        utm31 = addProjection(21, 0, grs80, greenwich, 2, 3, 0, 0.9996, 0, 0, 500000, 0, 2);
        laea = addProjection(26, 0, grs80, greenwich, 2, 10, 52, 1, 0, 0, 4321000, 3210000, 6);
        kind4 = addProjection(40, 0, grs80, greenwich, 2, 3, 46.5, 1, 44, 49, 700000, 6600000, 4);

        CTsg t;
        t.number = 1;
        t.sourceNumber = 2;
        t.targetNumber = 1;
        t.source = ntf;
        t.target = rgf93;
        t.tx = -168.0;
        t.ty = -60.0;
        t.tz = 320.0;
        t.precisionCode = 5;
        t.type = 1;
        c.transformations.push_back(t);
    }

    void addSystem(int number, const char* name, const CElg* ellipsoid, const CLgo* meridian) {
        CReg r;
        r.number = number;
        r.name = name;
        r.dimension = 3;
        r.ellipsoid = ellipsoid;
        r.meridian = meridian;
        catalogue.systems.push_back(r);
    }

    const CPrc* addProjection(int number, int variant, const CElg* ellipsoid, const CLgo* meridian, int unit,
                              double lon0, double lat0, double k0, double lat1, double lat2, double x0,
                              double y0, int kind) {
        CPrc p;
        p.number = number;
        p.name = "P" + std::to_string(number);
        p.variant = variant;
        p.ellipsoid = ellipsoid;
        p.meridian = meridian;
        p.unit = unit;
        p.longitudeOrigin = lon0;
        p.latitudeOrigin = lat0;
        p.scaleFactor = k0;
        p.parallel1 = lat1;
        p.parallel2 = lat2;
        p.falseEasting = x0;
        p.falseNorthing = y0;
        p.kind = kind;
        catalogue.projections.push_back(p);
        return &catalogue.projections.back();
    }

    // A geographic point of a system, counted from the given meridian.
    CCoor geographic(const CReg* system, const CLgo* meridian, int unit, double lon, double lat,
                     double h = 0.0) const {
        CCoor p;
        p.type = kGeographic;
        p.unit = unit;
        p.lon = lon;
        p.lat = lat;
        p.h = h;
        p.sys.system = system;
        p.sys.meridian = meridian;
        p.sys.vertical = ngf69;
        return p;
    }

    CCoor projected(const CReg* system, const CPrc* projection, double e, double n, double h = 0.0) const {
        CCoor p;
        p.type = kProjected;
        p.unit = 2;
        p.e = e;
        p.n = n;
        p.h = h;
        p.sys.system = system;
        p.sys.meridian = system->meridian;
        p.sys.projection = projection;
        p.sys.vertical = ngf69;
        return p;
    }
};

}  // namespace zelvo::test
