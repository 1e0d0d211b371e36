// The transformation page's coordinates: the entry fields and their validation, the typed point,
// the result shown per unit and its re-expression, and the compute operation.

#include <fmt/printf.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "catalogue/projection_codes.hpp"
#include "files/data_formats.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/precision.hpp"
#include "platform/text_encoding.hpp"
#include "platform/user_interface.hpp"
#include "resources/page_texts.hpp"
#include "ui/model/page_model.hpp"

namespace zelvo {
namespace {

using namespace page;

const std::string kNoText;
constexpr double kUnbounded = std::numeric_limits<double>::infinity();
constexpr double kLastSecond = 59.999999999999;

// An entry field of the departure side, in the order a store validates them.
struct EntryField {
    int id;
    bool integer;
    double min, max;
};
constexpr EntryField kEntryFields[] = {
    {kDepartureHeight, false, -kUnbounded, kUnbounded},
    {kDepartureAltitude, false, -kUnbounded, kUnbounded},
    {kDepartureEasting, false, -999999999, 999999999},
    {kDepartureLatMinutes, true, 0, 59},
    {kDepartureLatDegrees, true, 0, 90},
    {kDepartureLatDecimalMinutes, false, 0, kLastSecond},
    {kDepartureLatSeconds, false, 0, kLastSecond},
    {kDepartureLonDegrees, true, 0, 180},
    {kDepartureLonMinutes, true, 0, 59},
    {kDepartureLonDecimalMinutes, false, 0, kLastSecond},
    {kDepartureLonSeconds, false, 0, kLastSecond},
    {kDepartureNorthing, false, -999999999, 999999999},
    {kDepartureX, false, -kUnbounded, kUnbounded},
    {kDepartureY, false, -kUnbounded, kUnbounded},
    {kDepartureZ, false, -kUnbounded, kUnbounded},
};

const EntryField* entryField(int id) {
    for (const EntryField& f : kEntryFields)
        if (f.id == id) return &f;
    return nullptr;
}

// The display fields of the arrival side.
constexpr int kDisplayFields[] = {kArrivalX,
                                  kArrivalY,
                                  kArrivalZ,
                                  kArrivalEasting,
                                  kArrivalNorthing,
                                  kArrivalAltitude,
                                  kArrivalHeight,
                                  kArrivalLonDegrees,
                                  kArrivalLonMinutes,
                                  kArrivalLonSeconds,
                                  kArrivalLatDegrees,
                                  kArrivalLatMinutes,
                                  kArrivalLatSeconds,
                                  kArrivalLonDecimalMinutes,
                                  kArrivalLatDecimalMinutes,
                                  kConvergence,
                                  kAlteration};

// The unit labels: degrees, minutes, seconds of the longitude and of the latitude, by side.
struct UnitLabels {
    int degrees[2], minutes[2], seconds[2];
};
constexpr UnitLabels kDepartureLabels{{1068, 1074}, {1070, 1076}, {1072, 1078}};
constexpr UnitLabels kArrivalLabels{{1100, 1106}, {1102, 1108}, {1104, 1110}};

// The controls of each unit layout, by side.
struct UnitLayoutControls {
    std::vector<int> sexagesimal, degreesMinutes, decimal;
};
const UnitLayoutControls kDepartureLayouts{
    {kDepartureLonDegrees, kDepartureLonMinutes, kDepartureLonSeconds, 1068, 1070, 1072, kDepartureLatDegrees,
     kDepartureLatMinutes, kDepartureLatSeconds, 1074, 1076, 1078},
    {kDepartureLonDegrees, 1068, kDepartureLonDecimalMinutes, 1080, kDepartureLatDegrees, 1074,
     kDepartureLatDecimalMinutes, 1082},
    {kDepartureX, kDepartureY}};
const UnitLayoutControls kArrivalLayouts{
    {kArrivalLonDegrees, kArrivalLonMinutes, kArrivalLonSeconds, 1100, 1102, 1104, kArrivalLatDegrees,
     kArrivalLatMinutes, kArrivalLatSeconds, 1106, 1108, 1110},
    {kArrivalLonDegrees, 1100, kArrivalLonDecimalMinutes, 1112, kArrivalLatDegrees, 1106,
     kArrivalLatDecimalMinutes, 1114},
    {kArrivalX, kArrivalY}};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A whole number or a real number with an optional sign and surrounding spaces.
bool parseEntry(std::string_view text, bool integer, double& value) {
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') return false;
    const char* end = text.data() + text.size();
    if (integer) {
        long long whole = 0;
        const auto [ptr, ec] = std::from_chars(text.data(), end, whole);
        if (ec != std::errc() || ptr != end || whole > std::numeric_limits<int>::max()) return false;
        value = static_cast<double>(negative ? -whole : whole);
        return true;
    }
    double real = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, real, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(real)) return false;
    value = negative ? -real : real;
    return true;
}

std::string boundText(double bound, bool integer) {
    return integer ? std::to_string(static_cast<long long>(bound)) : fmt::sprintf("%.15g", bound);
}

std::string replaced(std::string text, std::string_view marker, const std::string& with) {
    const auto at = text.find(marker);
    if (at != std::string::npos) text.replace(at, marker.size(), with);
    return text;
}

enum class UnitLayout { None, Sexagesimal, DegreesMinutes, Decimal };

UnitLayout unitLayoutOf(int unit) {
    if (unit == kPackedDms || unit == kPackedHms) return UnitLayout::Sexagesimal;
    if (unit == kPackedDm) return UnitLayout::DegreesMinutes;
    if (unit >= kRadians && unit <= kSecondsOfHour) return UnitLayout::Decimal;
    return UnitLayout::None;
}

// The parts as shown with that many decimals of their last part: a part that rounds up to 60
// carries into the one before it, so that 50' 59.999999999" shows as 51' 0.00000".
DmsParts shownDms(DmsParts parts, int decimals) {
    const double scale = std::pow(10.0, decimals);
    parts.seconds = std::round(parts.seconds * scale) / scale;
    if (parts.seconds >= 60.0) {
        parts.seconds -= 60.0;
        ++parts.minutes;
    }
    if (parts.minutes >= 60) {
        parts.minutes -= 60;
        ++parts.degrees;
    }
    return parts;
}

DmParts shownDm(DmParts parts, int decimals) {
    const double scale = std::pow(10.0, decimals);
    parts.minutes = std::round(parts.minutes * scale) / scale;
    if (parts.minutes >= 60.0) {
        parts.minutes -= 60.0;
        ++parts.degrees;
    }
    return parts;
}

// A number with a printf format.
std::string formatted(const char* format, double value) { return fmt::sprintf(format, value); }

}  // namespace

void PageModel::initialiseTexts() {
    for (const EntryField& f : kEntryFields) values_[f.id] = 0.0;
    for (const UnitLabels* labels : {&kDepartureLabels, &kArrivalLabels}) {
        for (const int id : labels->degrees) texts_[id] = "°";
        for (const int id : labels->minutes) texts_[id] = "'";
        for (const int id : labels->seconds) texts_[id] = "\"";
    }
    showEntries();
}

std::vector<int> PageModel::textControls() {
    std::vector<int> ids;
    for (const EntryField& f : kEntryFields) ids.push_back(f.id);
    for (const int id : kDisplayFields) ids.push_back(id);
    for (const UnitLabels* labels : {&kDepartureLabels, &kArrivalLabels})
        for (const int* group : {labels->degrees, labels->minutes, labels->seconds}) ids.insert(ids.end(), group, group + 2);
    ids.insert(ids.end(), {kPointName, kDepartureFileName, kArrivalFileName});
    ids.insert(ids.end(), {kDepartureEastLabel, kDepartureNorthLabel, kArrivalEastLabel, kArrivalNorthLabel});
    return ids;
}

const std::string& PageModel::text(int id) const {
    if (id == kPointName) return pointName_;
    const auto it = texts_.find(id);
    return it == texts_.end() ? kNoText : it->second;
}

void PageModel::setText(int id, const std::string& text) {
    if (id == kPointName) {
        pointName_ = utf8Prefix(text, kPointNameLength);
    } else if (id == kArrivalFileName) {
        texts_[id] = text;
        arrivalNameChanged(text);
        filesComment();
    } else if (id == kDepartureFileName) {
        // A departure name typed after a browse names the file to read, in the browsed folder.
        texts_[id] = text;
        departurePath_.clear();
        filesComment();
    } else if (entryField(id) != nullptr) {
        texts_[id] = text;
    }
}

void PageModel::showEntries() {
    for (const EntryField& f : kEntryFields)
        texts_[f.id] = f.integer ? std::to_string(static_cast<long long>(values_[f.id]))
                                 : fmt::sprintf("%.15g", values_[f.id]);
}

bool PageModel::validateEntries() {
    focus_ = 0;
    for (const EntryField& f : kEntryFields) {
        double value = 0;
        std::string message;
        if (!parseEntry(text(f.id), f.integer, value)) {
            message = f.integer ? texts::kTypeInteger : texts::kTypeNumber;
        } else if (value < f.min || value > f.max) {
            message = replaced(replaced(f.integer ? texts::kTypeIntegerBetween : texts::kTypeNumberBetween, "%1",
                                        boundText(f.min, f.integer)),
                               "%2", boundText(f.max, f.integer));
        } else {
            values_[f.id] = value;
            continue;
        }
        ui_.message(message, MessageIcon::Warning);
        focus_ = f.id;
        return false;
    }
    return true;
}

void PageModel::applyUnitLayout(Side side, int unit) {
    const UnitLayout layout = unitLayoutOf(unit);
    if (layout == UnitLayout::None) return;
    const UnitLayoutControls& controls = side == Side::Departure ? kDepartureLayouts : kArrivalLayouts;
    const std::vector<int>& own = layout == UnitLayout::Sexagesimal      ? controls.sexagesimal
                                  : layout == UnitLayout::DegreesMinutes ? controls.degreesMinutes
                                                                         : controls.decimal;
    for (const std::vector<int>* other : {&controls.sexagesimal, &controls.degreesMinutes, &controls.decimal})
        for (const int id : *other)
            if (std::find(own.begin(), own.end(), id) == own.end()) controls_[id] = {false, false};
    for (const int id : own) controls_[id] = {true, true};

    const UnitLabels& labels = side == Side::Departure ? kDepartureLabels : kArrivalLabels;
    const bool hours = unit == kPackedHms;
    if (layout == UnitLayout::Sexagesimal) {
        for (const int id : labels.degrees) texts_[id] = hours ? "h" : "°";
        for (const int id : labels.minutes) texts_[id] = hours ? "mn" : "'";
        for (const int id : labels.seconds) texts_[id] = hours ? "s" : "\"";
    } else if (layout == UnitLayout::DegreesMinutes) {
        for (const int id : labels.degrees) texts_[id] = "°";
    }
}

void PageModel::departureUnitChange() {
    if (settings_.mode != 0) {
        if (initialised_) store();
        return;
    }
    const std::optional<int> unit = selectedCode(kDepartureUnits);
    if (unit != storedCode(kDepartureUnits)) {
        // The fields of the new unit start from 0, so that hidden fields stay valid numbers.
        std::vector<int> reset;
        switch (const int code = unit.value_or(0)) {
            case kPackedDms:
            case kPackedHms:
                reset = {kDepartureLonDegrees, kDepartureLonMinutes, kDepartureLonSeconds,
                         kDepartureLatDegrees, kDepartureLatMinutes, kDepartureLatSeconds};
                break;
            case kPackedDm:
                reset = {kDepartureLonDegrees, kDepartureLonDecimalMinutes, kDepartureLatDegrees,
                         kDepartureLatDecimalMinutes};
                break;
            default:
                if (code >= kRadians && code <= kSecondsOfHour) reset = {kDepartureX, kDepartureY};
                break;
        }
        if (!reset.empty()) reset.insert(reset.end(), {kDepartureAltitude, kDepartureHeight});
        for (const int id : reset) {
            values_[id] = 0.0;
            texts_[id] = "0";
        }
    }
    applyUnitLayout(Side::Departure, unit.value_or(0));
}

CCoor& PageModel::lastResult() { return services_ != nullptr ? services_->lastResult() : ownLastResult_; }

void PageModel::arrivalUnitChange() {
    const int unit = selectedCode(kArrivalUnits).value_or(0);
    if (settings_.mode != 0 || !initialised_) return;
    // The store makes the chosen unit the arrival unit.
    const int type = selectedType(kArrivalTypes);
    if (type == kGeographic) {
        store();
        CCoor copy = lastResult();
        copy.setUnit(unit);
        if (resultShown_) showResult(copy);
        applyUnitLayout(Side::Arrival, unit);
        show();
    } else if (type == kProjected) {
        const CCoor& last = lastResult();
        const double convergence = convertAngle(last.convergence, last.convergenceUnit, unit);
        store();
        if (resultShown_) texts_[kConvergence] = formatted("%.5lf", convergence);
        show();
    }
}

void PageModel::arrivalMeridianChange() {
    const auto meridian = [this](std::optional<int> code) {
        return code ? findByNumber(catalogue_.meridians, *code) : nullptr;
    };
    const CLgo* previous = meridian(storedCode(kArrivalMeridians));
    const CLgo* chosen = meridian(selectedCode(kArrivalMeridians));
    CCoor copy = lastResult();
    if (previous != nullptr) {
        copy.setUnit(previous->unit);
        copy.lon += previous->longitude;
    }
    if (chosen != nullptr) {
        copy.setUnit(chosen->unit);
        copy.lon -= chosen->longitude;
    }
    copy.setUnit(storedOrZero(kArrivalUnits));
    if (initialised_) store();
    if (resultShown_) {
        showResult(copy);
        lastResult() = copy;
    }
    show();
}

void PageModel::arrivalHemisphereClick(bool east) {
    if (!resultShown_) return;
    CCoor copy = lastResult();
    // Only a longitude on the other side of Greenwich turns round.
    if (east ? copy.lon > 0 : copy.lon < 0) return;
    copy.setUnit(kDecimalDegrees);
    copy.lon += east ? 360.0 : -360.0;
    copy.setUnit(storedOrZero(kArrivalUnits));
    showResult(copy);
    lastResult() = copy;
    check(east ? kArrivalEast : kArrivalWest);
    show();
}

CSysCoor PageModel::systemOf(Side side) const {
    const SideLists& lists = listsOf(side);
    const auto record = [this](const auto& records, int list) {
        const std::optional<int> code = storedCode(list);
        return code ? findByNumber(records, *code) : nullptr;
    };
    CSysCoor sys;
    sys.system = record(catalogue_.systems, lists.systems);
    sys.meridian = record(catalogue_.meridians, lists.meridians);
    if (sys.meridian == nullptr && sys.system != nullptr) sys.meridian = sys.system->meridian;
    sys.projection = record(catalogue_.projections, lists.projections);
    // A point without a vertical system carries the catalogue's "none", as on the command line.
    sys.vertical = record(catalogue_.verticalSystems, kVerticalSystems);
    if (sys.vertical == nullptr) sys.vertical = &noVerticalSystem();
    return sys;
}

bool PageModel::readPoint(CCoor& d, CCoor& a) {
    d = CCoor{};
    a = CCoor{};
    d.sys = systemOf(Side::Departure);
    a.sys = systemOf(Side::Arrival);
    d.type = storedOrZero(kDepartureTypes);
    d.unit = storedOrZero(kDepartureUnits);
    a.type = storedOrZero(kArrivalTypes);
    a.unit = storedOrZero(kArrivalUnits);

    double altitude = 0.0;
    if (settings_.mode == 0) {
        const int vertical = settings_.verticalChoice;
        if (d.type == kCartesian) {
            d.x = values_[kDepartureX];
            d.y = values_[kDepartureY];
            d.z = values_[kDepartureZ];
            settings_.verticalChoice = kEllipsoidalHeight;
        } else if (d.type == kGeographic) {
            double lon = 0, lat = 0;
            if (d.unit >= kRadians && d.unit <= kSecondsOfHour) {
                lon = values_[kDepartureX];
                lat = values_[kDepartureY];
            } else if (d.unit == kPackedDms || d.unit == kPackedHms) {
                lon = composeDms({values_[kDepartureLonDegrees] < 0,
                                  static_cast<int>(std::abs(values_[kDepartureLonDegrees])),
                                  static_cast<int>(values_[kDepartureLonMinutes]),
                                  values_[kDepartureLonSeconds]});
                lat = composeDms({values_[kDepartureLatDegrees] < 0,
                                  static_cast<int>(std::abs(values_[kDepartureLatDegrees])),
                                  static_cast<int>(values_[kDepartureLatMinutes]),
                                  values_[kDepartureLatSeconds]});
            } else if (d.unit == kPackedDm) {
                lon = composeDm({values_[kDepartureLonDegrees] < 0,
                                 static_cast<int>(std::abs(values_[kDepartureLonDegrees])),
                                 values_[kDepartureLonDecimalMinutes]});
                lat = composeDm({values_[kDepartureLatDegrees] < 0,
                                 static_cast<int>(std::abs(values_[kDepartureLatDegrees])),
                                 values_[kDepartureLatDecimalMinutes]});
            }
            if (lon < 0 || lat < 0) {
                ui_.message(lat < 0 ? texts::kNegativeLatitude : texts::kNegativeLongitude, MessageIcon::None);
                return false;
            }
            d.lon = checked(kDepartureWest) ? -lon : lon;
            d.lat = checked(kDepartureSouth) ? -lat : lat;
            if (vertical == kEllipsoidalHeight) {
                d.h = values_[kDepartureHeight];
            } else if (vertical == kAltitude) {
                altitude = values_[kDepartureAltitude];
                d.h = altitude;
            }
        } else if (d.type == kProjected) {
            d.e = values_[kDepartureEasting];
            d.n = values_[kDepartureNorthing];
            if (vertical == kEllipsoidalHeight)
                d.h = values_[kDepartureHeight];
            else if (vertical == kAltitude)
                altitude = values_[kDepartureAltitude];
        }
    }
    d.altitude = altitude;
    d.verticalMode = settings_.verticalChoice;
    d.convergenceUnit = d.unit;
    d.name = pointName_;

    a.altitude = altitude;
    a.verticalMode = settings_.verticalChoice;
    a.convergenceUnit = a.unit;
    a.name = pointName_;
    return true;
}

void PageModel::showResult(const CCoor& r) {
    // An altitude the geoid grids could not give is not shown as a number.
    const std::string altitude = r.geoidPrecisionCode == kOutsideGeoidGrid ? std::string() : formatted("%.3lf", r.altitude);
    if (r.type == kCartesian) {
        texts_[kArrivalX] = formatted("%.3lf", r.x);
        texts_[kArrivalY] = formatted("%.3lf", r.y);
        texts_[kArrivalZ] = formatted("%.3lf", r.z);
    } else if (r.type == kProjected) {
        texts_[kArrivalEasting] = fmt::sprintf("%.*lf", projectedDecimals(r.sys.projection), r.e);
        texts_[kArrivalNorthing] = fmt::sprintf("%.*lf", projectedDecimals(r.sys.projection), r.n);
        texts_[kArrivalAltitude] = altitude;
        texts_[kArrivalHeight] = formatted("%.3lf", r.h);
        texts_[kAlteration] = formatted("%.1lf", r.alteration);
        texts_[kConvergence] = formatted("%.5lf", r.convergence);
    } else if (r.type == kGeographic) {
        texts_[kArrivalHeight] = formatted("%.3lf", r.h);
        texts_[kArrivalAltitude] = altitude;
        const auto hemispheres = [this](bool west, bool south) {
            check(west ? kArrivalWest : kArrivalEast);
            check(south ? kArrivalSouth : kArrivalNorth);
        };
        static constexpr const char* kDecimalFormats[] = {"", "%.10lf", "%.8lf", "%.8lf", "%.10lf", "%.5lf", "%.6lf"};
        if (r.unit >= kRadians && r.unit <= kSecondsOfHour) {
            texts_[kArrivalX] = formatted(kDecimalFormats[r.unit], std::abs(r.lon));
            texts_[kArrivalY] = formatted(kDecimalFormats[r.unit], std::abs(r.lat));
            hemispheres(r.lon < 0, r.lat < 0);
        } else if (r.unit == kPackedDms || r.unit == kPackedHms) {
            const int decimals = r.unit == kPackedDms ? 5 : 6;
            const char* seconds = r.unit == kPackedDms ? "%.5lf" : "%.6lf";
            const DmsParts lon = shownDms(splitDms(r.lon), decimals), lat = shownDms(splitDms(r.lat), decimals);
            texts_[kArrivalLonDegrees] = std::to_string(lon.degrees);
            texts_[kArrivalLonMinutes] = std::to_string(lon.minutes);
            texts_[kArrivalLonSeconds] = formatted(seconds, lon.seconds);
            texts_[kArrivalLatDegrees] = std::to_string(lat.degrees);
            texts_[kArrivalLatMinutes] = std::to_string(lat.minutes);
            texts_[kArrivalLatSeconds] = formatted(seconds, lat.seconds);
            hemispheres(lon.negative, lat.negative);
        } else if (r.unit == kPackedDm) {
            const DmParts lon = shownDm(splitDm(r.lon), 6), lat = shownDm(splitDm(r.lat), 6);
            texts_[kArrivalLonDegrees] = std::to_string(lon.degrees);
            texts_[kArrivalLonDecimalMinutes] = formatted("%.6lf", lon.minutes);
            texts_[kArrivalLatDegrees] = std::to_string(lat.degrees);
            texts_[kArrivalLatDecimalMinutes] = formatted("%.6lf", lat.minutes);
            hemispheres(lon.negative, lat.negative);
        }
    }
}

void PageModel::computeDisplay(CCoor& r, const CCoor& departure) {
    if (r.type == kProjected) {
        const int unit = storedOrZero(kArrivalUnits);
        r.convergence = convertAngle(r.convergence, r.convergenceUnit, unit);
        r.convergenceUnit = unit;
    }
    showResult(r);
    const std::string plani(precisionText(r.precisionCode)), alti(precisionText(r.geoidPrecisionCode));
    if (departure.sys.system != nullptr && departure.sys.system == r.sys.system)
        comment_ = fmt::sprintf(texts::kPrecisionSameSystem, alti);
    else
        comment_ = fmt::sprintf(texts::kPrecision, plani, alti);
}

void PageModel::noResult(const char* why) {
    for (const int id : kDisplayFields) texts_[id].clear();
    resultShown_ = false;
    comment_ = why;
}

void PageModel::compute() {
    // A field that holds no valid value has said so; computing with its previous value would show
    // a result for a point the user did not type, and the previous result is not this point's.
    if (!store()) return noResult(texts::kNoResultRefusedEntry);
    CCoor departure, arrival;
    if (!readPoint(departure, arrival)) return noResult(texts::kNoResultRefusedEntry);
    if (services_ == nullptr) return;
    if (settings_.mode == 1) {
        if (!fileChecks()) return;
        const FileRunFiles files{storedOrZero(kDepartureFormats), departurePath_,
                                 storedOrZero(kArrivalFormats), arrivalPath_,
                                 reportRequested_ ? reportPath_ : settings_.reportFileName};
        const FileRunOutcome outcome =
            services_->transformFile(type_, checked(kPrintAlteration), departure, arrival, files);
        if (outcome.end == FileRunOutcome::End::Interrupted) {
            comment_ = fmt::sprintf(texts::kFileRunInterrupted, outcome.transformed, arrivalPath_);
            // The same arrival file may be chosen again without the question of an unchanged file.
            lastArrivalPath_.clear();
        } else {
            filesComment();
        }
        return;
    }
    if (!services_->transformPoint(type_, departure, arrival)) return noResult(texts::kNoResultNotComputed);
    computeDisplay(arrival, departure);
    resultShown_ = true;
}

}  // namespace zelvo
