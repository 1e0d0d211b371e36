#include "catalogue/catalogue.hpp"

namespace zelvo {

CZone::CZone() {
    min.type = kGeographic;
    min.unit = 2;
    max.type = kGeographic;
    max.unit = 2;
}

const CodeList* findCodeList(const std::deque<CodeList>& lists, int regNumber) {
    for (const auto& list : lists)
        if (list.regNumber == regNumber) return &list;
    return nullptr;
}

const CRea& noVerticalSystem() {
    static const CRea none;
    return none;
}

bool initSysCoor(CSysCoor& sys, const Catalogue& catalogue, int systemNumber, int meridianNumber,
                 int verticalNumber, int projectionNumber) {
    bool ok = true;
    const CReg* system = findByNumber(catalogue.systems, systemNumber);
    if (system != nullptr) sys.system = system;
    else ok = false;

    const CPrc* projection = findByNumber(catalogue.projections, projectionNumber);
    if (projection != nullptr) sys.projection = projection;
    else ok = false;

    const CLgo* meridian = findByNumber(catalogue.meridians, meridianNumber);
    if (meridian == nullptr && system != nullptr && system->meridian != nullptr)
        meridian = findByNumber(catalogue.meridians, system->meridian->number);
    if (meridian != nullptr) sys.meridian = meridian;
    else ok = false;

    const CRea* vertical = findByNumber(catalogue.verticalSystems, verticalNumber);
    if (vertical != nullptr) {
        sys.vertical = vertical;
    } else {
        sys.vertical = &noVerticalSystem();
        ok = false;
    }
    return ok;
}

}  // namespace zelvo
