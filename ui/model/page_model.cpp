#include "ui/model/page_model.hpp"

#include <fmt/printf.h>

#include <algorithm>

#include "catalogue/projection_codes.hpp"
#include "files/data_formats.hpp"
#include "geodesy/projection.hpp"
#include "geodesy/angles.hpp"
#include "platform/text_encoding.hpp"
#include "platform/user_interface.hpp"
#include "resources/page_texts.hpp"

namespace zelvo {
namespace {

using namespace page;

const std::string kNoText;
const std::vector<std::string> kNoEntries;


// The letters of a name as the lists compare them: one byte each, upper case folded to lower case
// (accents kept); for sorting, accented letters also fold to their base letter.
std::string folded(std::string_view utf8, bool baseLetters) {
    static constexpr char kBase[] = "aaaaaaaceeeeiiii" "dnooooo*ouuuuyts" "aaaaaaaceeeeiiii" "dnooooo/ouuuuyty";
    std::string out = utf8ToLatin1(utf8);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 'A' && byte <= 'Z') c = static_cast<char>(byte + 32);
        else if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) c = static_cast<char>(byte + 32);
        if (baseLetters && static_cast<unsigned char>(c) >= 0xC0) c = kBase[static_cast<unsigned char>(c) - 0xC0];
    }
    return out;
}

bool sortsBefore(const std::string& a, const std::string& b) {
    const std::string fa = folded(a, true), fb = folded(b, true);
    return fa != fb ? fa < fb : a < b;
}

// The list of each side, by side.
struct SideLists {
    int systems, types, projections, units, meridians, formats;
};
constexpr SideLists kDeparture{kDepartureSystems, kDepartureTypes, kDepartureProjections, kDepartureUnits,
                               kDepartureMeridians, kDepartureFormats};
constexpr SideLists kArrival{kArrivalSystems, kArrivalTypes, kArrivalProjections, kArrivalUnits, kArrivalMeridians,
                             kArrivalFormats};

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

}  // namespace

PageModel::PageModel(const Catalogue& catalogue, int transformationType, PageSettings& settings, UserInterface& ui,
                     PageServices* services, FileDialogs* dialogs)
    : catalogue_(catalogue), type_(transformationType), settings_(settings), ui_(ui), services_(services),
      dialogs_(dialogs) {
    comment_ = texts::kPageStartComment;
    pointName_ = settings_.pointName;
    initialiseTexts();
    // Controls the page's template creates hidden or disabled.
    set({kDepartureProjections, kArrivalProjections, 1061, 1058}, true, false);
    set({1053, 1054, 1055, 1050, 1051, 1052, 1059, 1060, 1056, 1057, 1079, 1081, 1080, 1082}, false, true);
    set({1130, 1127, 1128, 1141, 1135}, false, true);
    set({1086, 1087, 1088, 1083, 1084, 1085, 1092, 1093, 1089, 1090, 1111, 1113, 1112, 1114}, false, true);
    set({1122, 1116, 1121, 1117, 1120}, false, true);
    set({1131, 1129, 1132, 1138, 1136}, false, true);
    // The hemispheres start on the side of the first projection extent.
    bool east = true, north = true;
    if (!catalogue_.projectionExtents.empty()) {
        const CZone& first = catalogue_.projectionExtents.front();
        east = first.min.lon + first.max.lon >= 0;
        north = first.min.lat + first.max.lat >= 0;
    }
    checked_.insert(east ? kDepartureEast : kDepartureWest);
    checked_.insert(east ? kArrivalEast : kArrivalWest);
    checked_.insert(north ? kDepartureNorth : kDepartureSouth);
    checked_.insert(north ? kArrivalNorth : kArrivalSouth);
}

void PageModel::initialise() {
    show();
    refill(kDepartureSystems);
    if (settings_.mode == 1) {
        check(kFile);
        fileModeAction();
    } else {
        check(kInteractive);
        interactiveModeAction();
    }
    initialised_ = true;
    // Again with the store step, so that every current choice survives; then the vertical systems,
    // which depend on both system lists.
    refill(kDepartureSystems);
    refill(kVerticalSystems);
}

const std::vector<std::string>& PageModel::entries(int listId) const {
    const auto it = entries_.find(listId);
    return it == entries_.end() ? kNoEntries : it->second;
}

const std::string& PageModel::selection(int listId) const {
    const auto it = selections_.find(listId);
    return it == selections_.end() ? kNoText : it->second;
}

int PageModel::selectedType(int typeList) const { return coordinateTypeCode(selection(typeList)); }

ControlState PageModel::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? ControlState{} : it->second;
}

bool PageModel::checked(int id) const { return checked_.contains(id); }

std::string_view PageModel::toolTip(int id) {
    for (const auto& [control, text] : texts::kPageToolTips)
        if (control == id) return text;
    return {};
}

std::vector<int> PageModel::toolTipControls() {
    std::vector<int> ids;
    for (const auto& tip : texts::kPageToolTips) ids.push_back(tip.first);
    return ids;
}

std::string* PageModel::field(int listId) {
    switch (listId) {
        case kDepartureSystems: return &settings_.departureSystem;
        case kDepartureTypes: return &settings_.departureType;
        case kDepartureProjections: return &settings_.departureProjection;
        case kDepartureUnits: return &settings_.departureUnit;
        case kDepartureMeridians: return &settings_.departureMeridian;
        case kDepartureFormats: return &settings_.departureFormat;
        case kArrivalSystems: return &settings_.arrivalSystem;
        case kArrivalTypes: return &settings_.arrivalType;
        case kArrivalProjections: return &settings_.arrivalProjection;
        case kArrivalUnits: return &settings_.arrivalUnit;
        case kArrivalMeridians: return &settings_.arrivalMeridian;
        case kArrivalFormats: return &settings_.arrivalFormat;
        case kVerticalSystems: return &settings_.verticalSystem;
        default: return nullptr;
    }
}

constexpr int kLists[] = {kDepartureSystems, kDepartureTypes, kDepartureProjections, kDepartureUnits,
                          kDepartureMeridians, kDepartureFormats, kArrivalSystems, kArrivalTypes,
                          kArrivalProjections, kArrivalUnits, kArrivalMeridians, kArrivalFormats, kVerticalSystems};

bool PageModel::store() {
    for (const int list : kLists) *field(list) = selection(list);
    // A field that holds no valid value stops the store there: what comes after it keeps its
    // stored value.
    if (!validateEntries()) return false;
    settings_.pointName = pointName_;
    settings_.verticalChoice = checked(kHeightRadio) ? 1 : checked(kAltitudeRadio) ? 2 : 0;
    settings_.mode = checked(kFile) ? 1 : 0;
    settings_.departureFileName = text(kDepartureFileName);
    settings_.arrivalFileName = text(kArrivalFileName);
    return true;
}

void PageModel::show() {
    // A list selects the entry its search finds for the field; without one it keeps its selection.
    for (const int list : kLists)
        if (const std::string* found = find(list, *field(list))) selections_[list] = *found;
    check(settings_.mode == 1 ? kFile : kInteractive);
    check(settings_.verticalChoice == 1 ? kHeightRadio : settings_.verticalChoice == 2 ? kAltitudeRadio : kNoVerticalRadio);
    pointName_ = settings_.pointName;
    showEntries();
    texts_[kDepartureFileName] = settings_.departureFileName;
    // The arrival name edit reports a change of its text, also when the page writes it.
    if (text(kArrivalFileName) != settings_.arrivalFileName) {
        texts_[kArrivalFileName] = settings_.arrivalFileName;
        arrivalNameChanged(settings_.arrivalFileName);
    }
}

const std::string* PageModel::find(int listId, std::string_view text) const {
    const std::string prefix = folded(text, false);
    for (const std::string& entry : entries(listId))
        if (folded(entry, false).starts_with(prefix)) return &entry;
    return nullptr;
}

void PageModel::add(int listId, const std::string& entry, bool prefixTest) {
    if (prefixTest && find(listId, entry) != nullptr) return;
    auto& list = entries_[listId];
    list.insert(std::upper_bound(list.begin(), list.end(), entry, sortsBefore), entry);
}

void PageModel::refill(int listId) {
    if (initialised_) store();
    entries_[listId].clear();
    const bool allUnits = (listId == kDepartureUnits || listId == kArrivalUnits) &&
                          [&] {
                              const CReg* system = selectedSystem(listId == kDepartureUnits ? Side::Departure
                                                                                            : Side::Arrival);
                              const CodeList* units = system ? findCodeList(catalogue_.units, system->number) : nullptr;
                              return units == nullptr || units->codes.empty();
                          }();
    const bool prefixTest = listId != kDepartureFormats && listId != kArrivalFormats && !allUnits;
    for (const std::string& entry : ruleEntries(listId)) add(listId, entry, prefixTest);

    const std::vector<std::string>& list = entries(listId);
    std::string selected;
    if (listId == kDepartureMeridians || listId == kArrivalMeridians) {
        // The meridian lists follow the system, whatever the field holds.
        const CReg* system = selectedSystem(listId == kDepartureMeridians ? Side::Departure : Side::Arrival);
        if (system != nullptr && system->meridian != nullptr)
            if (const std::string* found = find(listId, system->meridian->name)) selected = *found;
    } else if (const std::string* found = find(listId, *field(listId))) {
        selected = *found;
    }
    if (selected.empty() && !list.empty()) selected = list.front();
    selections_[listId] = selected;
    followUp(listId);
    show();
    showProjectionUnits();
}

std::vector<std::string> PageModel::ruleEntries(int listId) const {
    std::vector<std::string> names;
    const auto ofThisPage = [this](const CTsg& t) { return t.type == type_; };
    switch (listId) {
        case kDepartureSystems:
            for (const CReg& system : catalogue_.systems) {
                const bool linked = std::any_of(catalogue_.transformations.begin(), catalogue_.transformations.end(),
                                                [&](const CTsg& t) {
                                                    return ofThisPage(t) && (t.sourceNumber == system.number ||
                                                                             t.targetNumber == system.number);
                                                });
                if (linked) names.push_back(system.name);
            }
            break;
        case kArrivalSystems: {
            const CReg* departure = selectedSystem(Side::Departure);
            if (departure == nullptr) break;
            names.push_back(departure->name);
            for (const CTsg& t : catalogue_.transformations) {
                if (!ofThisPage(t)) continue;
                const int other = t.sourceNumber == departure->number   ? t.targetNumber
                                  : t.targetNumber == departure->number ? t.sourceNumber
                                                                        : 0;
                if (const CReg* system = other != 0 ? findByNumber(catalogue_.systems, other) : nullptr)
                    names.push_back(system->name);
            }
            break;
        }
        case kDepartureTypes:
        case kArrivalTypes: {
            const CReg* system = selectedSystem(listId == kDepartureTypes ? Side::Departure : Side::Arrival);
            if (const CodeList* types = system ? findCodeList(catalogue_.coordinateTypes, system->number) : nullptr)
                for (const int code : types->codes)
                    if (!coordinateTypeName(code).empty()) names.emplace_back(coordinateTypeName(code));
            break;
        }
        case kDepartureUnits:
        case kArrivalUnits: {
            const CReg* system = selectedSystem(listId == kDepartureUnits ? Side::Departure : Side::Arrival);
            const CodeList* units = system ? findCodeList(catalogue_.units, system->number) : nullptr;
            if (units != nullptr && !units->codes.empty()) {
                for (const int code : units->codes)
                    if (!unitName(code).empty()) names.emplace_back(unitName(code));
            } else {
                for (int code = 1; code <= 12; ++code)
                    if (!unitName(code).empty()) names.emplace_back(unitName(code));
            }
            break;
        }
        case kDepartureMeridians:
        case kArrivalMeridians:
            for (const CLgo& meridian : catalogue_.meridians) names.push_back(meridian.name);
            break;
        case kDepartureProjections:
        case kArrivalProjections: {
            const CReg* system = selectedSystem(listId == kDepartureProjections ? Side::Departure : Side::Arrival);
            if (system == nullptr) break;
            for (const ProjectionUse& use : catalogue_.projectionUses)
                if (use.regNumber == system->number)
                    if (const CPrc* projection = findByNumber(catalogue_.projections, use.prcNumber))
                        names.push_back(projection->name);
            break;
        }
        case kVerticalSystems: {
            std::vector<int> systems;
            for (const int list : {kDepartureSystems, kArrivalSystems})
                for (const std::string& name : entries(list))
                    if (const CReg* system = findByName(catalogue_.systems, name)) systems.push_back(system->number);
            for (const CRea& vertical : catalogue_.verticalSystems) {
                const bool usable =
                    std::any_of(catalogue_.grids1D.begin(), catalogue_.grids1D.end(), [&](const Grid1DEntry& grid) {
                        return std::find(systems.begin(), systems.end(), grid.regNumber) != systems.end() &&
                               std::find(grid.reaNumbers.begin(), grid.reaNumbers.end(), vertical.number) !=
                                   grid.reaNumbers.end();
                    });
                if (usable) names.push_back(vertical.name);
            }
            break;
        }
        case kDepartureFormats:
        case kArrivalFormats: {
            const Side side = listId == kDepartureFormats ? Side::Departure : Side::Arrival;
            const std::string& type = selection(side == Side::Departure ? kDepartureTypes : kArrivalTypes);
            const int coordinateType = coordinateTypeCode(type);
            const CReg* system = selectedSystem(side);
            const bool twoDimensional = system != nullptr && system->dimension == 2;
            for (int position = 1; coordinateType != 0; ++position) {
                const int code = dataFormatAtMenuPosition(coordinateType, position);
                if (code == 0) break;
                const std::string name(dataFormatName(code));
                if (!(twoDimensional && name.ends_with("Hauteur"))) names.push_back(name);
            }
            break;
        }
        default: break;
    }
    return names;
}

void PageModel::followUp(int listId) {
    switch (listId) {
        case kDepartureSystems: departureSystemChange(); break;
        case kArrivalSystems: arrivalSystemChange(); break;
        case kDepartureTypes: typeChange(Side::Departure); break;
        case kArrivalTypes: typeChange(Side::Arrival); break;
        case kArrivalProjections: arrivalProjectionChange(); break;
        case kDepartureUnits: departureUnitChange(); break;
        case kArrivalUnits: arrivalUnitChange(); break;
        case kArrivalMeridians: arrivalMeridianChange(); break;
        case kVerticalSystems: break;
        default:
            if (initialised_) store();
            break;
    }
}

void PageModel::selectionChanged(int listId, const std::string& entry) {
    const std::vector<std::string>& list = entries(listId);
    if (std::find(list.begin(), list.end(), entry) == list.end()) return;
    selections_[listId] = entry;
    followUp(listId);
    showProjectionUnits();
}

void PageModel::showProjectionUnits() {
    // "E(m)" and "N(m)", or the unit of a projection in another one: "E(ftUS)".
    const auto label = [this](int list, const char* axis) {
        const std::string_view unit = nonMetreUnitLabel(findByName(catalogue_.projections, selection(list)));
        return std::string(axis) + "(" + std::string(unit.empty() ? "m" : unit) + ")";
    };
    texts_[kDepartureEastLabel] = label(kDepartureProjections, "E");
    texts_[kDepartureNorthLabel] = label(kDepartureProjections, "N");
    texts_[kArrivalEastLabel] = label(kArrivalProjections, "E");
    texts_[kArrivalNorthLabel] = label(kArrivalProjections, "N");
}

bool PageModel::arrivalWithoutScale() const {
    if (contains(settings_.arrivalProjection, "LAEA")) return true;
    const CPrc* projection = findByName(catalogue_.projections, settings_.arrivalProjection);
    return projection != nullptr && isSupportedProjection(*projection) && !hasScaleFactor(*projection);
}

void PageModel::clicked(int id) {
    switch (id) {
        case kNoVerticalRadio:
            check(id);
            noVerticalAction();
            break;
        case kHeightRadio:
            check(id);
            heightAction();
            break;
        case kAltitudeRadio:
            check(id);
            altitudeAction();
            break;
        case kInteractive:
            check(id);
            interactiveModeAction();
            break;
        case kFile:
            check(id);
            fileModeAction();
            break;
        case kPrintAlteration:
            if (!control(id).enabled) return;
            if (checked(id)) checked_.erase(id);
            else checked_.insert(id);
            if (initialised_) store();
            break;
        case kArrivalEast:
        case kArrivalWest:
            check(id);
            arrivalHemisphereClick(id == kArrivalEast);
            break;
        case kDepartureBrowse: browseDeparture(); break;
        case kArrivalBrowse: browseArrival(); break;
        case kDepartureEast:
        case kDepartureWest:
        case kDepartureNorth:
        case kDepartureSouth:
        case kArrivalNorth:
        case kArrivalSouth:
            check(id);
            break;
        default: break;
    }
}

void PageModel::check(int id) {
    // A radio button unchecks the others of its group.
    static const std::vector<std::vector<int>> kGroups = {
        {kInteractive, kFile},
        {kNoVerticalRadio, kHeightRadio, kAltitudeRadio},
        {kDepartureEast, kDepartureWest},
        {kDepartureNorth, kDepartureSouth},
        {kArrivalEast, kArrivalWest},
        {kArrivalNorth, kArrivalSouth},
    };
    for (const auto& group : kGroups)
        if (std::find(group.begin(), group.end(), id) != group.end())
            for (const int other : group) checked_.erase(other);
    checked_.insert(id);
}

const CReg* PageModel::selectedSystem(Side side) const {
    return findByName(catalogue_.systems, selection(side == Side::Departure ? kDepartureSystems : kArrivalSystems));
}

const CReg* PageModel::storedSystem(Side side) const {
    // A stored name that is no system (a setting the list did not offer, before the first store)
    // stands for the system shown.
    const CReg* stored =
        findByName(catalogue_.systems, side == Side::Departure ? settings_.departureSystem : settings_.arrivalSystem);
    return stored != nullptr ? stored : selectedSystem(side);
}

void PageModel::departureSystemChange() {
    for (const int list : {kDepartureMeridians, kDepartureUnits, kDepartureTypes, kDepartureProjections,
                           kArrivalSystems})
        refill(list);
}

void PageModel::arrivalSystemChange() {
    for (const int list : {kArrivalMeridians, kArrivalUnits, kArrivalTypes, kArrivalProjections}) refill(list);
}

void PageModel::typeChange(Side side) {
    const SideLists& lists = side == Side::Departure ? kDeparture : kArrival;
    const int type = selectedType(lists.types);
    if (settings_.mode == 1) applyFileModeEnabling(side, type);
    else applyLayout(side, type);
    refill(lists.formats);
}

void PageModel::arrivalProjectionChange() {
    if (initialised_) store();
    // The rule is about the convergence and alteration of projected points: on another arrival
    // type it would take away the unit list of geographic results.
    if (selectedType(kArrivalTypes) == kProjected) applyProjectionRule();
}

void PageModel::applyProjectionRule() {
    const bool laea = arrivalWithoutScale();
    setEnabled({kArrivalUnits, 1034, 1116, 1122, 1117, 1121, 1120}, !laea);
    if (laea) checked_.erase(kPrintAlteration);
}

void PageModel::set(std::initializer_list<int> ids, bool visible, bool enabled) {
    for (const int id : ids) controls_[id] = {visible, enabled};
}

void PageModel::setRange(ControlRange range, bool visible, bool enabled) {
    for (int id = range.first; id <= range.last; ++id) controls_[id] = {visible, enabled};
}

void PageModel::setVisible(std::initializer_list<int> ids, bool visible) {
    for (const int id : ids) controls_[id].visible = visible;
}

void PageModel::setEnabled(std::initializer_list<int> ids, bool enabled) {
    for (const int id : ids) controls_[id].enabled = enabled;
}

void PageModel::applyLayout(Side side, int type) {
    const bool noVerticalSystem = catalogue_.verticalSystems.empty();
    if (side == Side::Departure) {
        if (type == kCartesian) {
            setRange(kDepartureValueFields, false, false);
            set({1123, kNoVerticalRadio, kHeightRadio, kAltitudeRadio}, false, false);
            setVisible({1024, 1025, kDepartureEast, kDepartureWest, kDepartureNorth, kDepartureSouth}, false);
            setEnabled({kDepartureProjections, kDepartureUnits, 1033, 1046, kDepartureMeridians}, false);
            setRange(kDepartureCartesianFields, true, true);
            if (noVerticalSystem) set({kVerticalSystems, 1143}, false, false);
            comment_ = texts::kDepartureCartesianComment;
        } else if (type == kGeographic) {
            setRange(kDepartureCartesianFields, false, false);
            set({1056, 1057, 1059, 1060}, false, false);
            setEnabled({kDepartureProjections}, false);
            verticalChoiceOfLayout();
            setEnabled({kDepartureUnits, 1033, kDepartureMeridians}, true);
            set({kDepartureEast, kDepartureWest, kDepartureNorth, 1024, 1025, 1046, 1065, 1066}, true, true);
            setVisible({kDepartureSouth}, true);
            applyUnitLayout(Side::Departure, selection(kDepartureUnits));
            comment_ = texts::kDepartureGeographicComment;
        } else if (type == kProjected) {
            setRange(kDepartureCartesianFields, false, false);
            set({1062, 1065, 1066}, false, false);
            setRange(kDepartureAngleParts, false, false);
            setVisible({kDepartureEast, kDepartureWest, kDepartureNorth, kDepartureSouth, 1024, 1025}, false);
            setEnabled({kDepartureUnits, 1033, 1046, kDepartureMeridians}, false);
            check(kAltitudeRadio);
            altitudeAction();
            verticalGroupByCatalogue();
            set({1056, 1057, 1059, 1060}, true, true);
            setEnabled({kDepartureProjections}, true);
            comment_ = texts::kDepartureProjectedComment;
        }
        return;
    }
    if (type == kCartesian) {
        set({1089, 1090, 1092, 1093, 1091, 1094, 1096, 1097}, false, false);
        setRange(kArrivalAngleParts, false, false);
        setVisible({1037, 1038, 1039, 1040, 1041, 1042, 1095, 1098, 1116, 1117, 1120, 1121, 1122}, false);
        setEnabled({kArrivalProjections, kArrivalUnits, 1034, 1045, kArrivalMeridians}, false);
        setRange(kArrivalCartesianFields, true, true);
        comment_ = texts::kArrivalCartesianComment;
    } else if (type == kGeographic) {
        setRange(kArrivalCartesianFields, false, false);
        set({1089, 1090, 1092, 1093}, false, false);
        setVisible({1116, 1117, 1120, 1121, 1122}, false);
        setEnabled({kArrivalProjections}, false);
        verticalChoiceOfLayout();
        setEnabled({kArrivalUnits, 1034, kArrivalMeridians}, true);
        set({1037, kArrivalEast, kArrivalWest, 1040, kArrivalNorth, 1045, 1096, 1097}, true, true);
        setVisible({kArrivalSouth}, true);
        applyUnitLayout(Side::Arrival, selection(kArrivalUnits));
        comment_ = texts::kArrivalGeographicComment;
    } else if (type == kProjected) {
        setRange(kArrivalCartesianFields, false, false);
        set({1096, 1097}, false, false);
        setRange(kArrivalAngleParts, false, false);
        setVisible({1037, 1038, 1039, 1040, 1041, 1042}, false);
        setEnabled({1045, kArrivalMeridians}, false);
        applyProjectionRule();
        set({1089, 1090, 1092, 1093}, true, true);
        setVisible({1116, 1117, 1120, 1121, 1122}, true);
        setEnabled({kArrivalProjections}, true);
        comment_ = texts::kArrivalProjectedComment;
    }
}

// The vertical choice of a geographic layout: an ellipsoidal height for a three-dimensional
// departure system, an altitude otherwise.
void PageModel::verticalChoiceOfLayout() {
    const CReg* departure = selectedSystem(Side::Departure);
    if (departure != nullptr && departure->dimension == 3) {
        check(kHeightRadio);
        heightAction();
    } else {
        check(kAltitudeRadio);
        altitudeAction();
    }
    verticalGroupByCatalogue();
}

void PageModel::verticalGroupByCatalogue() {
    if (!catalogue_.verticalSystems.empty()) {
        set({1123, kNoVerticalRadio, kHeightRadio, kAltitudeRadio}, true, true);
    } else {
        set({1123, kNoVerticalRadio, kHeightRadio, kAltitudeRadio, kVerticalSystems, 1143}, false, false);
    }
}

void PageModel::applyFileModeEnabling(Side side, int type) {
    if (side == Side::Departure) {
        setEnabled({kDepartureProjections}, type == kProjected);
        setEnabled({kDepartureMeridians, 1046, kDepartureUnits, 1033}, type == kGeographic);
        return;
    }
    const bool laea = arrivalWithoutScale();
    setEnabled({kPrintAlteration}, type == kProjected && !laea);
    if (type == kProjected && laea) checked_.erase(kPrintAlteration);
    setEnabled({kArrivalProjections}, type == kProjected);
    setEnabled({kArrivalMeridians, 1045}, type == kGeographic);
    setEnabled({kArrivalUnits, 1034}, type == kGeographic || (type == kProjected && !laea));
}

void PageModel::noVerticalAction() {
    setVisible({1067, 1064, 1061, 1058, 1098, 1095, 1094, 1091}, false);
}

void PageModel::altitudeAction() {
    if (selectedType(kDepartureTypes) != kCartesian) {
        set({1067, 1064}, true, false);
        set({1061, 1058}, true, true);
    }
    if (selectedType(kArrivalTypes) != kCartesian) {
        setVisible({1098, 1095, 1094, 1091}, true);
        const CReg* arrival = storedSystem(Side::Arrival);
        setEnabled({1098, 1095}, !(arrival != nullptr && arrival->dimension == 2));
    }
}

void PageModel::heightAction() {
    const CReg* departure = storedSystem(Side::Departure);
    if (departure != nullptr && departure->dimension == 3) {
        if (selectedType(kDepartureTypes) != kCartesian) {
            set({1067, 1064}, true, true);
            set({1061, 1058}, true, false);
        }
        if (selectedType(kArrivalTypes) != kCartesian) {
            setVisible({1098, 1095, 1094, 1091}, true);
            const CReg* arrival = storedSystem(Side::Arrival);
            setEnabled({1098, 1095}, !(arrival != nullptr && arrival->dimension == 2));
        }
        return;
    }
    ui_.message(fmt::sprintf(texts::kHeightRefused, departure != nullptr ? departure->name : settings_.departureSystem),
                MessageIcon::Error);
    check(kAltitudeRadio);
    altitudeAction();
}

void PageModel::interactiveModeAction() {
    if (initialised_) store();
    if (settings_.mode == 1) return;
    setVisible({kPrintAlteration, 1127, 1128, 1129, 1130, 1131, 1132, kDepartureFormats, kArrivalFormats, 1138, 1141},
               false);
    comment_ = texts::kInteractiveModeComment;
    applyUnitLayout(Side::Departure, settings_.departureUnit);
    applyUnitLayout(Side::Arrival, settings_.arrivalUnit);
    applyLayout(Side::Departure, coordinateTypeCode(settings_.departureType));
    applyLayout(Side::Arrival, coordinateTypeCode(settings_.arrivalType));
    setVisible({kPointName, 1119}, true);
}

void PageModel::fileModeAction() {
    if (initialised_) store();
    settings_.verticalChoice = 1;
    refill(kDepartureFormats);
    refill(kArrivalFormats);
    if (settings_.mode == 1) {
        set({kPrintAlteration}, true, control(kPrintAlteration).enabled);
        checked_.erase(kPrintAlteration);
        setVisible({1127, 1130, kDepartureFormats, 1141, 1128, 1129, 1131, kArrivalFormats, 1138, 1132}, true);
        applyFileModeEnabling(Side::Departure, coordinateTypeCode(settings_.departureType));
        applyFileModeEnabling(Side::Arrival, coordinateTypeCode(settings_.arrivalType));
        for (int id = kValueFields.first; id <= kValueFields.last; ++id) controls_[id].visible = false;
        setVisible({1018, 1021, 1022, 1023, 1024, 1025, 1037, 1038, 1039, 1040, 1041, 1042}, false);
        setVisible({1123, 1124, 1125, 1126, 1116, 1117, 1120, 1121, 1122, kPointName, 1119}, false);
        comment_ = texts::kFileModeComment;
    }
    show();
}

}  // namespace zelvo
