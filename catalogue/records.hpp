#pragma once
// Catalogue records: the geodetic objects the system knows, as read from the catalogue data file.
// Small value classes with public fields. Angles are in the angle unit that each record names
// (unit codes: 1 radians, 2 decimal degrees, 3 grads, 4 decimal hours, 5 seconds of degree,
// 6 seconds of hour, 10 packed degrees-minutes-seconds, 11 packed hours-minutes-seconds,
// 12 packed degrees and decimal minutes); lengths are in metres. Texts are UTF-8.
//
// References between records are non-owning pointers into the catalogue's lists, resolved once
// when the catalogue is loaded; the lists never change afterwards.

#include <string>
#include <vector>

namespace zelvo {

// Ellipsoid (keyword ELG). Every computation uses only a and e².
class CElg {
public:
    virtual ~CElg() = default;
    int number = 0;
    std::string name;
    double semiMajorAxis = 0.0;        // a, metres
    double secondParameter = 0.0;      // stored, read by no computation
    double thirdParameter = 0.0;       // stored, read by no computation
    double eccentricitySquared = 0.0;  // e², first eccentricity squared
};

// Prime meridian (keyword LGO). Number 1 is Greenwich and never shifts longitudes.
class CLgo {
public:
    virtual ~CLgo() = default;
    int number = 0;
    std::string name;
    double longitude = 0.0;  // east of Greenwich, in unit
    int unit = 0;
};

// Geodetic reference system (keyword REG).
class CReg {
public:
    virtual ~CReg() = default;
    int number = 0;
    std::string name;
    int dimension = 0;  // 2 for "2D", 3 for "3D", 0 otherwise
    const CElg* ellipsoid = nullptr;
    const CLgo* meridian = nullptr;  // the system's default prime meridian
};

// Vertical (altimetric) reference system (keyword REA). Number 0 stands for none.
class CRea {
public:
    virtual ~CRea() = default;
    int number = 0;
    std::string name;
};

// Map projection (keyword PRC). Angular parameters are in unit.
class CPrc {
public:
    virtual ~CPrc() = default;
    int number = 0;
    std::string name;  // never empty
    int variant = 0;   // Lambert: 1 or 2 tangent cone, 3 secant cone
    int kind = 0;      // 1 Lambert conformal conic, 2 and 3 transverse Mercator, 5 Gauss-Laborde,
                       // 6 Lambert azimuthal equal-area, or an EPSG method code
                       // (catalogue/projection_codes.hpp)
    int unit = 0;
    double parallel2 = 0.0;        // φ2, second standard parallel (secant Lambert)
    double parallel1 = 0.0;        // φ1, first standard parallel (secant Lambert)
    double scaleFactor = 0.0;      // k0
    double latitudeOrigin = 0.0;   // φ0
    double longitudeOrigin = 0.0;  // λ0, counted from meridian
    double falseEasting = 0.0;     // X0, in linearUnit
    double falseNorthing = 0.0;    // Y0, in linearUnit
    int spare = 0;                 // stored, read by nothing
    int linearUnit = 9001;         // EPSG unit code of the projected coordinates: read for the
                                   // EPSG method kinds, 9001 (metre) for kinds 1 to 6
    const CElg* ellipsoid = nullptr;
    const CLgo* meridian = nullptr;
};

// Datum transformation between two geodetic systems (keywords TSG and TSG0).
class CTsg {
public:
    virtual ~CTsg() = default;
    int number = 0;
    int sourceNumber = 0;
    int targetNumber = 0;
    const CReg* source = nullptr;
    const CReg* target = nullptr;
    double tx = 0.0, ty = 0.0, tz = 0.0;  // metres
    double scale = 0.0;                   // D, parts per million
    double rx = 0.0, ry = 0.0, rz = 0.0;  // seconds of arc
    int precisionCode = 0;
    int type = 0;  // 1 standard (TSG), 2 grid companion (TSG0)
    // Records made from the EPSG registry: the registry's code, and the area of use where the
    // record applies (degrees from Greenwich); catalogue records apply everywhere.
    int registryCode = 0;
    bool hasArea = false;
    double west = 0.0, south = 0.0, east = 0.0, north = 0.0;
};

// A transformation chosen for one computation.
class CTransfo {
public:
    virtual ~CTransfo() = default;
    int inverse = 0;  // 0 from source to target, 1 from target to source
    CTsg tsg;
};

// The coordinate system a coordinate is expressed in.
class CSysCoor {
public:
    virtual ~CSysCoor() = default;
    const CLgo* meridian = nullptr;
    const CReg* system = nullptr;
    const CPrc* projection = nullptr;  // null unless the coordinate is projected
    const CRea* vertical = nullptr;
};

// Coordinate types.
inline constexpr int kCartesian = 1;
inline constexpr int kGeographic = 2;
inline constexpr int kProjected = 3;

// Vertical modes.
inline constexpr int kNoVertical = 0;
inline constexpr int kEllipsoidalHeight = 1;
inline constexpr int kAltitude = 2;

// A corner of a validity extent: a geographic position. The point class that converts between
// coordinate types (CCoor) belongs to the computations, geodesy/coordinates.hpp.
class CCorner {
public:
    virtual ~CCorner() = default;
    int type = 0;  // 2 geographic once set
    int unit = 0;  // angle unit of lon, lat
    double lon = 0.0, lat = 0.0;  // in unit, longitude from Greenwich
    CSysCoor sys;
};

// Validity extent (keywords ZNE and PROJ). Corners are geographic, longitudes from Greenwich.
class CZone {
public:
    CZone();
    virtual ~CZone() = default;
    int regNumber = 0;
    int prcNumber = 0;  // 0 for a system extent (ZNE)
    CCorner min;        // minimum longitude and latitude
    CCorner max;        // maximum longitude and latitude
};

// Coordinate types (TYPCOOR) or angle units (UNIT) allowed for a system, in reverse line order.
struct CodeList {
    int regNumber = 0;
    std::vector<int> codes;
};

// A projection allowed for a system (PROJ).
struct ProjectionUse {
    int regNumber = 0;
    int prcNumber = 0;
};

// A geoid grid usable in a system for the listed vertical systems (GR1D).
struct Grid1DEntry {
    std::string fileName;
    int regNumber = 0;
    std::vector<int> reaNumbers;  // in reverse line order
    std::string sideFileFolder;   // where its side file lies when none lies beside it (start-up)
};

// A 3-D translation grid between two systems, usable in either direction (GR3D).
struct Grid3DEntry {
    std::string fileName;
    int regNumberA = 0;
    int regNumberB = 0;
    std::string sideFileFolder;  // where its side file lies when none lies beside it (start-up)
};

}  // namespace zelvo
