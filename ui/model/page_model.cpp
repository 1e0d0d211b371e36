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
const std::vector<ListEntry> kNoEntries;

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

bool sortsBefore(const ListEntry& a, const ListEntry& b) {
    const std::string fa = folded(a.name, true), fb = folded(b.name, true);
    return fa != fb ? fa < fb : a.name < b.name;
}

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// A geographic or projected format whose third value is an ellipsoidal height, which a
// two-dimensional system does not have.
bool isHeightFormat(int format) {
    const DataFormat& f = dataFormat(format);
    return f.coordinateType != kCartesian && !f.thirdIsAltitude;
}

}  // namespace

const PageModel::SideLists& PageModel::listsOf(Side side) {
    static constexpr SideLists kDeparture{kDepartureSystems, kDepartureTypes,     kDepartureProjections,
                                          kDepartureUnits,   kDepartureMeridians, kDepartureFormats};
    static constexpr SideLists kArrival{kArrivalSystems, kArrivalTypes,     kArrivalProjections,
                                        kArrivalUnits,   kArrivalMeridians, kArrivalFormats};
    return side == Side::Departure ? kDeparture : kArrival;
}

PageModel::PageModel(const Catalogue& catalogue, int transformationType, PageSettings& settings, UserInterface& ui,
                     PageServices* services, FileDialogs* dialogs)
    : catalogue_(catalogue), type_(transformationType), settings_(settings), ui_(ui), services_(services),
      dialogs_(dialogs) {
    comment_ = texts::kPageStartComment;
    pointName_ = settings_.pointName;
    initialiseTexts();
    // Controls the page's template creates hidden or disabled.
    set({kDepartureProjections, kArrivalProjections, kDepartureAltitudeLabel, kDepartureAltitude}, true,
        false);
    set({1053, 1054, 1055, kDepartureX, kDepartureY, kDepartureZ, kDepartureEastLabel, kDepartureNorthLabel,
         kDepartureEasting, kDepartureNorthing, kDepartureLonDecimalMinutes, kDepartureLatDecimalMinutes,
         1080, 1082},
        false, true);
    set({kDepartureFileGroup, kDepartureFileName, kDepartureBrowse, kDepartureFormatLabel, kDepartureFormats},
        false, true);
    set({1086, 1087, 1088, kArrivalX, kArrivalY, kArrivalZ, kArrivalEastLabel, kArrivalNorthLabel,
         kArrivalEasting, kArrivalNorthing, kArrivalLonDecimalMinutes, kArrivalLatDecimalMinutes, 1112, 1114},
        false, true);
    set({kConvergenceLabel, kConvergence, kAlterationLabel, kAlteration, kAlterationUnitLabel}, false, true);
    set({kArrivalFileGroup, kArrivalFileName, kArrivalBrowse, kArrivalFormatLabel, kArrivalFormats}, false,
        true);
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

const std::vector<ListEntry>& PageModel::listEntries(int listId) const {
    const auto it = entries_.find(listId);
    return it == entries_.end() ? kNoEntries : it->second;
}

std::vector<std::string> PageModel::entries(int listId) const {
    std::vector<std::string> names;
    for (const ListEntry& entry : listEntries(listId)) names.push_back(entry.name);
    return names;
}

std::optional<int> PageModel::selectedCode(int listId) const {
    const auto it = selections_.find(listId);
    if (it == selections_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::size_t> PageModel::selectedIndex(int listId) const {
    const std::optional<int> code = selectedCode(listId);
    if (!code) return std::nullopt;
    const std::vector<ListEntry>& list = listEntries(listId);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].code == *code) return i;
    return std::nullopt;
}

const std::string& PageModel::selection(int listId) const {
    const std::optional<int> code = selectedCode(listId);
    const ListEntry* entry = code ? findCode(listId, *code) : nullptr;
    return entry != nullptr ? entry->name : kNoText;
}

std::optional<int> PageModel::storedCode(int listId) const {
    if (const auto it = choices_.find(listId); it != choices_.end()) return it->second;
    // Before the first store the loaded setting names the choice: the list's search resolves it.
    const std::string& name = storedName(listId);
    const ListEntry* entry = name.empty() ? nullptr : find(listId, name);
    if (entry == nullptr) return std::nullopt;
    return entry->code;
}

int PageModel::selectedType(int typeList) const {
    return selectedCode(typeList).value_or(0);
}

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

namespace {

// The settings record's field of each list.
std::string PageSettings::*settingOf(int listId) {
    switch (listId) {
        case kDepartureSystems:
            return &PageSettings::departureSystem;
        case kDepartureTypes:
            return &PageSettings::departureType;
        case kDepartureProjections:
            return &PageSettings::departureProjection;
        case kDepartureUnits:
            return &PageSettings::departureUnit;
        case kDepartureMeridians:
            return &PageSettings::departureMeridian;
        case kDepartureFormats:
            return &PageSettings::departureFormat;
        case kArrivalSystems:
            return &PageSettings::arrivalSystem;
        case kArrivalTypes:
            return &PageSettings::arrivalType;
        case kArrivalProjections:
            return &PageSettings::arrivalProjection;
        case kArrivalUnits:
            return &PageSettings::arrivalUnit;
        case kArrivalMeridians:
            return &PageSettings::arrivalMeridian;
        case kArrivalFormats:
            return &PageSettings::arrivalFormat;
        case kVerticalSystems:
            return &PageSettings::verticalSystem;
        default: return nullptr;
    }
}

constexpr int kLists[] = {kDepartureSystems, kDepartureTypes, kDepartureProjections, kDepartureUnits,
                          kDepartureMeridians, kDepartureFormats, kArrivalSystems, kArrivalTypes,
                          kArrivalProjections, kArrivalUnits, kArrivalMeridians, kArrivalFormats, kVerticalSystems};

}  // namespace

const std::string& PageModel::storedName(int listId) const {
    const auto member = settingOf(listId);
    return member != nullptr ? settings_.*member : kNoText;
}

const ListEntry* PageModel::storedEntry(int listId) const {
    const std::optional<int> stored = storedCode(listId);
    if (const ListEntry* entry = stored ? findCode(listId, *stored) : nullptr) return entry;
    // A choice the list does not offer is looked for by its name, as the list's own search does
    // (an empty name finds the first entry).
    return find(listId, storedName(listId));
}

bool PageModel::store() {
    // The choices as codes, and their names into the settings record.
    for (const int list : kLists) {
        choices_[list] = selectedCode(list);
        settings_.*settingOf(list) = selection(list);
    }
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
    // A list selects the entry of its stored choice; without one it keeps its selection.
    for (const int list : kLists)
        if (const ListEntry* found = storedEntry(list)) selections_[list] = found->code;
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

const ListEntry* PageModel::find(int listId, std::string_view text) const {
    const std::string prefix = folded(text, false);
    for (const ListEntry& entry : listEntries(listId))
        if (folded(entry.name, false).starts_with(prefix)) return &entry;
    return nullptr;
}

const ListEntry* PageModel::findCode(int listId, int code) const {
    for (const ListEntry& entry : listEntries(listId))
        if (entry.code == code) return &entry;
    return nullptr;
}

void PageModel::add(int listId, const ListEntry& entry, bool prefixTest) {
    // Entries are told apart by their names as the user sees them: an entry whose name begins
    // another's is not added.
    if (prefixTest && find(listId, entry.name) != nullptr) return;
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
    for (const ListEntry& entry : ruleEntries(listId)) add(listId, entry, prefixTest);

    const std::vector<ListEntry>& list = listEntries(listId);
    const ListEntry* selected = nullptr;
    if (listId == kDepartureMeridians || listId == kArrivalMeridians) {
        // The meridian lists follow the system, whatever the field holds.
        const CReg* system = selectedSystem(listId == kDepartureMeridians ? Side::Departure : Side::Arrival);
        if (system != nullptr && system->meridian != nullptr) {
            selected = findCode(listId, system->meridian->number);
            // A meridian of the same name listed in its place.
            if (selected == nullptr) selected = find(listId, system->meridian->name);
        }
    } else {
        selected = storedEntry(listId);
    }
    if (selected == nullptr && !list.empty()) selected = &list.front();
    if (selected != nullptr)
        selections_[listId] = selected->code;
    else
        selections_.erase(listId);
    followUp(listId);
    show();
    showProjectionUnits();
}

std::vector<ListEntry> PageModel::ruleEntries(int listId) const {
    std::vector<ListEntry> names;
    const auto ofThisPage = [this](const CTsg& t) { return t.type == type_; };
    switch (listId) {
        case kDepartureSystems:
            for (const CReg& system : catalogue_.systems) {
                const bool linked = std::any_of(catalogue_.transformations.begin(), catalogue_.transformations.end(),
                                                [&](const CTsg& t) {
                                                    return ofThisPage(t) && (t.sourceNumber == system.number ||
                                                                             t.targetNumber == system.number);
                                                });
                if (linked) names.push_back({system.number, system.name});
            }
            break;
        case kArrivalSystems: {
            const CReg* departure = selectedSystem(Side::Departure);
            if (departure == nullptr) break;
            names.push_back({departure->number, departure->name});
            for (const CTsg& t : catalogue_.transformations) {
                if (!ofThisPage(t)) continue;
                const int other = t.sourceNumber == departure->number   ? t.targetNumber
                                  : t.targetNumber == departure->number ? t.sourceNumber
                                                                        : 0;
                if (const CReg* system = other != 0 ? findByNumber(catalogue_.systems, other) : nullptr)
                    names.push_back({system->number, system->name});
            }
            break;
        }
        case kDepartureTypes:
        case kArrivalTypes: {
            const CReg* system = selectedSystem(listId == kDepartureTypes ? Side::Departure : Side::Arrival);
            if (const CodeList* types = system ? findCodeList(catalogue_.coordinateTypes, system->number) : nullptr)
                for (const int code : types->codes)
                    if (!coordinateTypeName(code).empty())
                        names.push_back({code, std::string(coordinateTypeName(code))});
            break;
        }
        case kDepartureUnits:
        case kArrivalUnits: {
            const CReg* system = selectedSystem(listId == kDepartureUnits ? Side::Departure : Side::Arrival);
            const CodeList* units = system ? findCodeList(catalogue_.units, system->number) : nullptr;
            if (units != nullptr && !units->codes.empty()) {
                for (const int code : units->codes)
                    if (!unitName(code).empty()) names.push_back({code, std::string(unitName(code))});
            } else {
                for (int code = 1; code <= 12; ++code)
                    if (!unitName(code).empty()) names.push_back({code, std::string(unitName(code))});
            }
            break;
        }
        case kDepartureMeridians:
        case kArrivalMeridians:
            for (const CLgo& meridian : catalogue_.meridians)
                names.push_back({meridian.number, meridian.name});
            break;
        case kDepartureProjections:
        case kArrivalProjections: {
            const CReg* system = selectedSystem(listId == kDepartureProjections ? Side::Departure : Side::Arrival);
            if (system == nullptr) break;
            for (const ProjectionUse& use : catalogue_.projectionUses)
                if (use.regNumber == system->number)
                    if (const CPrc* projection = findByNumber(catalogue_.projections, use.prcNumber))
                        names.push_back({projection->number, projection->name});
            break;
        }
        case kVerticalSystems: {
            std::vector<int> systems;
            for (const int list : {kDepartureSystems, kArrivalSystems})
                for (const ListEntry& system : listEntries(list)) systems.push_back(system.code);
            for (const CRea& vertical : catalogue_.verticalSystems) {
                const bool usable =
                    std::any_of(catalogue_.grids1D.begin(), catalogue_.grids1D.end(), [&](const Grid1DEntry& grid) {
                        return std::find(systems.begin(), systems.end(), grid.regNumber) != systems.end() &&
                               std::find(grid.reaNumbers.begin(), grid.reaNumbers.end(), vertical.number) !=
                                   grid.reaNumbers.end();
                    });
                if (usable) names.push_back({vertical.number, vertical.name});
            }
            break;
        }
        case kDepartureFormats:
        case kArrivalFormats: {
            const Side side = listId == kDepartureFormats ? Side::Departure : Side::Arrival;
            const int coordinateType = selectedType(listsOf(side).types);
            const CReg* system = selectedSystem(side);
            const bool twoDimensional = system != nullptr && system->dimension == 2;
            for (int position = 1; coordinateType != 0; ++position) {
                const int code = dataFormatAtMenuPosition(coordinateType, position);
                if (code == 0) break;
                if (!(twoDimensional && isHeightFormat(code)))
                    names.push_back({code, std::string(dataFormatName(code))});
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

void PageModel::entryChosen(int listId, std::size_t index) {
    const std::vector<ListEntry>& list = listEntries(listId);
    if (index >= list.size()) return;
    selections_[listId] = list[index].code;
    followUp(listId);
    showProjectionUnits();
}

void PageModel::selectionChanged(int listId, const std::string& entry) {
    const std::vector<ListEntry>& list = listEntries(listId);
    const auto it =
        std::find_if(list.begin(), list.end(), [&](const ListEntry& e) { return e.name == entry; });
    if (it != list.end()) entryChosen(listId, static_cast<std::size_t>(it - list.begin()));
}

void PageModel::showProjectionUnits() {
    // "E(m)" and "N(m)", or the unit of a projection in another one: "E(ftUS)".
    const auto label = [this](int list, const char* axis) {
        const std::optional<int> code = selectedCode(list);
        const std::string_view unit =
            nonMetreUnitLabel(code ? findByNumber(catalogue_.projections, *code) : nullptr);
        return std::string(axis) + "(" + std::string(unit.empty() ? "m" : unit) + ")";
    };
    texts_[kDepartureEastLabel] = label(kDepartureProjections, "E");
    texts_[kDepartureNorthLabel] = label(kDepartureProjections, "N");
    texts_[kArrivalEastLabel] = label(kArrivalProjections, "E");
    texts_[kArrivalNorthLabel] = label(kArrivalProjections, "N");
}

const CPrc* PageModel::storedProjection(int listId) const {
    const std::optional<int> code = storedCode(listId);
    return code ? findByNumber(catalogue_.projections, *code) : nullptr;
}

bool PageModel::arrivalWithoutScale() const {
    const CPrc* projection = storedProjection(kArrivalProjections);
    if (projection == nullptr) return false;
    // The catalogue's own projections of the equal-area kind are named "LAEA ...".
    return contains(projection->name, "LAEA") ||
           (isSupportedProjection(*projection) && !hasScaleFactor(*projection));
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
    const std::optional<int> code = selectedCode(listsOf(side).systems);
    return code ? findByNumber(catalogue_.systems, *code) : nullptr;
}

const CReg* PageModel::storedSystem(Side side) const {
    // No stored system (a setting the list did not offer, before the first store) stands for the
    // system shown.
    const std::optional<int> code = storedCode(listsOf(side).systems);
    const CReg* stored = code ? findByNumber(catalogue_.systems, *code) : nullptr;
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
    const SideLists& lists = listsOf(side);
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
    setEnabled({kArrivalUnits, kArrivalUnitLabel, kConvergence, kConvergenceLabel, kAlteration,
                kAlterationLabel, kAlterationUnitLabel},
               !laea);
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
            set({kVerticalGroup, kNoVerticalRadio, kHeightRadio, kAltitudeRadio}, false, false);
            setVisible({kDepartureLongitudeSigns, kDepartureLatitudeSigns, kDepartureEast, kDepartureWest,
                        kDepartureNorth, kDepartureSouth},
                       false);
            setEnabled({kDepartureProjections, kDepartureUnits, kDepartureUnitLabel, kDepartureMeridianGroup,
                        kDepartureMeridians},
                       false);
            setRange(kDepartureCartesianFields, true, true);
            if (noVerticalSystem) set({kVerticalSystems, kVerticalSystemLabel}, false, false);
            comment_ = texts::kDepartureCartesianComment;
        } else if (type == kGeographic) {
            setRange(kDepartureCartesianFields, false, false);
            set({kDepartureEasting, kDepartureNorthing, kDepartureEastLabel, kDepartureNorthLabel}, false,
                false);
            setEnabled({kDepartureProjections}, false);
            verticalChoiceOfLayout();
            setEnabled({kDepartureUnits, kDepartureUnitLabel, kDepartureMeridians}, true);
            set({kDepartureEast, kDepartureWest, kDepartureNorth, kDepartureLongitudeSigns,
                 kDepartureLatitudeSigns, kDepartureMeridianGroup, kDepartureLonLabel, kDepartureLatLabel},
                true, true);
            setVisible({kDepartureSouth}, true);
            applyUnitLayout(Side::Departure, selectedCode(kDepartureUnits).value_or(0));
            comment_ = texts::kDepartureGeographicComment;
        } else if (type == kProjected) {
            setRange(kDepartureCartesianFields, false, false);
            set({kDepartureLonDegrees, kDepartureLonLabel, kDepartureLatLabel}, false, false);
            setRange(kDepartureAngleParts, false, false);
            setVisible({kDepartureEast, kDepartureWest, kDepartureNorth, kDepartureSouth,
                        kDepartureLongitudeSigns, kDepartureLatitudeSigns},
                       false);
            setEnabled({kDepartureUnits, kDepartureUnitLabel, kDepartureMeridianGroup, kDepartureMeridians},
                       false);
            check(kAltitudeRadio);
            altitudeAction();
            verticalGroupByCatalogue();
            set({kDepartureEasting, kDepartureNorthing, kDepartureEastLabel, kDepartureNorthLabel}, true,
                true);
            setEnabled({kDepartureProjections}, true);
            comment_ = texts::kDepartureProjectedComment;
        }
        return;
    }
    if (type == kCartesian) {
        set({kArrivalEasting, kArrivalNorthing, kArrivalEastLabel, kArrivalNorthLabel, kArrivalAltitude,
             kArrivalAltitudeLabel, kArrivalLonLabel, kArrivalLatLabel},
            false, false);
        setRange(kArrivalAngleParts, false, false);
        setVisible({kArrivalLongitudeSigns, kArrivalEast, kArrivalWest, kArrivalLatitudeSigns, kArrivalNorth,
                    kArrivalSouth, kArrivalHeight, kArrivalHeightLabel, kConvergence, kAlteration,
                    kAlterationUnitLabel, kAlterationLabel, kConvergenceLabel},
                   false);
        setEnabled(
            {kArrivalProjections, kArrivalUnits, kArrivalUnitLabel, kArrivalMeridianGroup, kArrivalMeridians},
            false);
        setRange(kArrivalCartesianFields, true, true);
        comment_ = texts::kArrivalCartesianComment;
    } else if (type == kGeographic) {
        setRange(kArrivalCartesianFields, false, false);
        set({kArrivalEasting, kArrivalNorthing, kArrivalEastLabel, kArrivalNorthLabel}, false, false);
        setVisible({kConvergence, kAlteration, kAlterationUnitLabel, kAlterationLabel, kConvergenceLabel},
                   false);
        setEnabled({kArrivalProjections}, false);
        verticalChoiceOfLayout();
        setEnabled({kArrivalUnits, kArrivalUnitLabel, kArrivalMeridians}, true);
        set({kArrivalLongitudeSigns, kArrivalEast, kArrivalWest, kArrivalLatitudeSigns, kArrivalNorth,
             kArrivalMeridianGroup, kArrivalLonLabel, kArrivalLatLabel},
            true, true);
        setVisible({kArrivalSouth}, true);
        applyUnitLayout(Side::Arrival, selectedCode(kArrivalUnits).value_or(0));
        comment_ = texts::kArrivalGeographicComment;
    } else if (type == kProjected) {
        setRange(kArrivalCartesianFields, false, false);
        set({kArrivalLonLabel, kArrivalLatLabel}, false, false);
        setRange(kArrivalAngleParts, false, false);
        setVisible({kArrivalLongitudeSigns, kArrivalEast, kArrivalWest, kArrivalLatitudeSigns, kArrivalNorth,
                    kArrivalSouth},
                   false);
        setEnabled({kArrivalMeridianGroup, kArrivalMeridians}, false);
        applyProjectionRule();
        set({kArrivalEasting, kArrivalNorthing, kArrivalEastLabel, kArrivalNorthLabel}, true, true);
        setVisible({kConvergence, kAlteration, kAlterationUnitLabel, kAlterationLabel, kConvergenceLabel},
                   true);
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
        set({kVerticalGroup, kNoVerticalRadio, kHeightRadio, kAltitudeRadio}, true, true);
    } else {
        set({kVerticalGroup, kNoVerticalRadio, kHeightRadio, kAltitudeRadio, kVerticalSystems,
             kVerticalSystemLabel},
            false, false);
    }
}

void PageModel::applyFileModeEnabling(Side side, int type) {
    if (side == Side::Departure) {
        setEnabled({kDepartureProjections}, type == kProjected);
        setEnabled({kDepartureMeridians, kDepartureMeridianGroup, kDepartureUnits, kDepartureUnitLabel},
                   type == kGeographic);
        return;
    }
    const bool laea = arrivalWithoutScale();
    setEnabled({kPrintAlteration}, type == kProjected && !laea);
    if (type == kProjected && laea) checked_.erase(kPrintAlteration);
    setEnabled({kArrivalProjections}, type == kProjected);
    setEnabled({kArrivalMeridians, kArrivalMeridianGroup}, type == kGeographic);
    setEnabled({kArrivalUnits, kArrivalUnitLabel}, type == kGeographic || (type == kProjected && !laea));
}

void PageModel::noVerticalAction() {
    setVisible({kDepartureHeightLabel, kDepartureHeight, kDepartureAltitudeLabel, kDepartureAltitude,
                kArrivalHeightLabel, kArrivalHeight, kArrivalAltitudeLabel, kArrivalAltitude},
               false);
}

void PageModel::altitudeAction() {
    if (selectedType(kDepartureTypes) != kCartesian) {
        set({kDepartureHeightLabel, kDepartureHeight}, true, false);
        set({kDepartureAltitudeLabel, kDepartureAltitude}, true, true);
    }
    if (selectedType(kArrivalTypes) != kCartesian) {
        setVisible({kArrivalHeightLabel, kArrivalHeight, kArrivalAltitudeLabel, kArrivalAltitude}, true);
        const CReg* arrival = storedSystem(Side::Arrival);
        setEnabled({kArrivalHeightLabel, kArrivalHeight}, !(arrival != nullptr && arrival->dimension == 2));
    }
}

void PageModel::heightAction() {
    const CReg* departure = storedSystem(Side::Departure);
    if (departure != nullptr && departure->dimension == 3) {
        if (selectedType(kDepartureTypes) != kCartesian) {
            set({kDepartureHeightLabel, kDepartureHeight}, true, true);
            set({kDepartureAltitudeLabel, kDepartureAltitude}, true, false);
        }
        if (selectedType(kArrivalTypes) != kCartesian) {
            setVisible({kArrivalHeightLabel, kArrivalHeight, kArrivalAltitudeLabel, kArrivalAltitude}, true);
            const CReg* arrival = storedSystem(Side::Arrival);
            setEnabled({kArrivalHeightLabel, kArrivalHeight},
                       !(arrival != nullptr && arrival->dimension == 2));
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
    setVisible({kPrintAlteration, kDepartureFileName, kDepartureBrowse, kArrivalFileName, kDepartureFileGroup,
                kArrivalFileGroup, kArrivalBrowse, kDepartureFormats, kArrivalFormats, kArrivalFormatLabel,
                kDepartureFormatLabel},
               false);
    comment_ = texts::kInteractiveModeComment;
    applyUnitLayout(Side::Departure, storedOrZero(kDepartureUnits));
    applyUnitLayout(Side::Arrival, storedOrZero(kArrivalUnits));
    applyLayout(Side::Departure, storedOrZero(kDepartureTypes));
    applyLayout(Side::Arrival, storedOrZero(kArrivalTypes));
    setVisible({kPointName, kPointNameLabel}, true);
}

void PageModel::fileModeAction() {
    if (initialised_) store();
    settings_.verticalChoice = 1;
    refill(kDepartureFormats);
    refill(kArrivalFormats);
    if (settings_.mode == 1) {
        set({kPrintAlteration}, true, control(kPrintAlteration).enabled);
        checked_.erase(kPrintAlteration);
        setVisible({kDepartureFileName, kDepartureFileGroup, kDepartureFormats, kDepartureFormatLabel,
                    kDepartureBrowse, kArrivalFileName, kArrivalFileGroup, kArrivalFormats,
                    kArrivalFormatLabel, kArrivalBrowse},
                   true);
        applyFileModeEnabling(Side::Departure, storedOrZero(kDepartureTypes));
        applyFileModeEnabling(Side::Arrival, storedOrZero(kArrivalTypes));
        for (int id = kValueFields.first; id <= kValueFields.last; ++id) controls_[id].visible = false;
        setVisible({kDepartureEast, kDepartureWest, kDepartureNorth, kDepartureSouth,
                    kDepartureLongitudeSigns, kDepartureLatitudeSigns, kArrivalLongitudeSigns, kArrivalEast,
                    kArrivalWest, kArrivalLatitudeSigns, kArrivalNorth, kArrivalSouth},
                   false);
        setVisible({kVerticalGroup, kNoVerticalRadio, kHeightRadio, kAltitudeRadio, kConvergence, kAlteration,
                    kAlterationUnitLabel, kAlterationLabel, kConvergenceLabel, kPointName, kPointNameLabel},
                   false);
        comment_ = texts::kFileModeComment;
    }
    show();
}

}  // namespace zelvo
