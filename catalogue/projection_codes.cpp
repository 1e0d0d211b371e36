#include "catalogue/projection_codes.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace zelvo {
namespace {

constexpr int kEpsgKinds[] = {
    kEpsgKrovakNorthOrientated,  kEpsgLambertConic1SP,       kEpsgLambertConic2SP,     kEpsgMercatorA,
    kEpsgMercatorB,              kEpsgCassiniSoldner,        kEpsgTransverseMercator,  kEpsgTransverseMercatorSouth,
    kEpsgObliqueStereographic,   kEpsgPolarStereographicA,   kEpsgHotineObliqueMercatorA,
    kEpsgHotineObliqueMercatorB, kEpsgKrovak,                kEpsgLambertAzimuthalEqualArea,
    kEpsgAlbersEqualArea,        kEpsgLambertConicWest,      kEpsgPolarStereographicB, kEpsgPolarStereographicC,
};

struct LinearUnit {
    int code;
    double metres;
    std::string_view label;
};

// The units of the projected systems of the EPSG dataset, with EPSG's factors; the labels hold
// at most five characters (the window's "E(…)" labels are made for that).
constexpr LinearUnit kUnits[] = {
    {9001, 1.0, "m"},
    {9002, 0.3048, "ft"},
    {9003, 1200.0 / 3937.0, "ftUS"},
    {9005, 0.3047972654, "ftCla"},
    {9031, 1.0000135965, "GLM"},
    {9036, 1000.0, "km"},
    {9037, 0.9143917962, "ydCla"},
    {9039, 0.201166195164, "lkCla"},
    {9040, 0.914398414616029, "ydSe"},
    {9041, 0.304799471538676, "ftSe"},
    {9042, 20.1167651215526, "chSe"},
    {9084, 0.914398530744441, "ydInd"},
    {9085, 0.91439523, "ydI37"},
    {9094, 0.304799710181509, "ftGC"},
    {9097, 20.1168, "ch"},
    {9098, 0.201168, "lk"},
    {9301, 20.116756, "chSeT"},
};

const LinearUnit* findUnit(int code) {
    const auto* it = std::find_if(std::begin(kUnits), std::end(kUnits), [code](const LinearUnit& u) { return u.code == code; });
    return it == std::end(kUnits) ? nullptr : it;
}

}  // namespace

// EPSG method codes are four-digit numbers; the catalogue's own kinds are small.
bool isEpsgMethodKind(int kind) {
    return kind >= 1000 && std::find(std::begin(kEpsgKinds), std::end(kEpsgKinds), kind) != std::end(kEpsgKinds);
}

double linearUnitMetres(int code) {
    const LinearUnit* u = findUnit(code);
    return u == nullptr ? 0.0 : u->metres;
}

std::string_view linearUnitLabel(int code) {
    const LinearUnit* u = findUnit(code);
    return u == nullptr ? std::string_view() : u->label;
}

std::string_view nonMetreUnitLabel(const CPrc* projection) {
    if (projection == nullptr || !isEpsgMethodKind(projection->kind) || projection->linearUnit == kMetreUnit) return {};
    return linearUnitLabel(projection->linearUnit);
}

int projectedDecimals(const CPrc* projection) {
    if (projection == nullptr || !isEpsgMethodKind(projection->kind)) return 3;
    const double metres = linearUnitMetres(projection->linearUnit);
    return metres > 1.0 ? 3 + static_cast<int>(std::ceil(std::log10(metres))) : 3;
}

}  // namespace zelvo
