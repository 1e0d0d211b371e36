#pragma once
// The catalogue: thirteen ordered lists, in data-file order, filled once at start-up.
// Lists are deques so that the references records hold to each other stay valid while the
// loader appends; the catalogue itself can be moved but not copied, for the same reason.

#include <deque>
#include <string_view>

#include "catalogue/records.hpp"

namespace zelvo {

class Catalogue {
public:
    Catalogue() = default;
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;
    Catalogue(Catalogue&&) = default;
    Catalogue& operator=(Catalogue&&) = default;

    std::deque<CElg> ellipsoids;
    std::deque<CLgo> meridians;
    std::deque<CReg> systems;
    std::deque<CPrc> projections;
    std::deque<CRea> verticalSystems;
    std::deque<CTsg> transformations;
    std::deque<Grid1DEntry> grids1D;
    std::deque<Grid3DEntry> grids3D;
    std::deque<CZone> projectionExtents;  // PROJ zones
    std::deque<CZone> systemExtents;      // ZNE zones
    std::deque<CodeList> coordinateTypes;
    std::deque<CodeList> units;
    std::deque<ProjectionUse> projectionUses;
};

// The lookup rule: the first record, in list order, whose number equals the key's number or whose
// name equals the key's name (exact comparison). A lookup by number has an empty key name; a lookup
// by name has a key number of 0. A miss gives null.
template <typename Record>
const Record* findRecord(const std::deque<Record>& list, int number, std::string_view name) {
    for (const auto& record : list)
        if (record.number == number || record.name == name) return &record;
    return nullptr;
}

template <typename Record>
const Record* findByNumber(const std::deque<Record>& list, int number) {
    return findRecord(list, number, std::string_view());
}

template <typename Record>
const Record* findByName(const std::deque<Record>& list, std::string_view name) {
    return findRecord(list, 0, name);
}

// The code list of a system (coordinate types or units), or null.
const CodeList* findCodeList(const std::deque<CodeList>& lists, int regNumber);

// Fills a coordinate system from catalogue numbers. Every reference that is found is stored.
// Failure when the system or the projection is not found (or their lists are empty), when neither
// the meridian nor the system's own meridian is found (a missing meridian number falls back on the
// system's meridian), or when the vertical system is not found (a vertical system numbered 0 with
// an empty name is then used).
bool initSysCoor(CSysCoor& sys, const Catalogue& catalogue, int systemNumber, int meridianNumber,
                 int verticalNumber, int projectionNumber);

// The vertical system of a coordinate system whose vertical number was not found.
const CRea& noVerticalSystem();

}  // namespace zelvo
