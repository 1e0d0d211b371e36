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
    {1064, false, -kUnbounded, kUnbounded}, {1058, false, -kUnbounded, kUnbounded},
    {1056, false, -999999999, 999999999},   {1075, true, 0, 59},
    {1073, true, 0, 90},                    {1081, false, 0, kLastSecond},
    {1077, false, 0, kLastSecond},          {1062, true, 0, 180},
    {1069, true, 0, 59},                    {1079, false, 0, kLastSecond},
    {1071, false, 0, kLastSecond},          {1057, false, -999999999, 999999999},
    {1050, false, -kUnbounded, kUnbounded}, {1051, false, -kUnbounded, kUnbounded},
    {1052, false, -kUnbounded, kUnbounded},
};

const EntryField* entryField(int id) {
    for (const EntryField& f : kEntryFields)
        if (f.id == id) return &f;
    return nullptr;
}

// The display fields of the arrival side.
constexpr int kDisplayFields[] = {1083, 1084, 1085, 1089, 1090, 1091, 1095, 1099, 1101, 1103,
                                  1105, 1107, 1109, 1111, 1113, 1116, 1117};

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
const UnitLayoutControls kDepartureLayouts{{1062, 1069, 1071, 1068, 1070, 1072, 1073, 1075, 1077, 1074, 1076, 1078},
                                           {1062, 1068, 1079, 1080, 1073, 1074, 1081, 1082},
                                           {1050, 1051}};
const UnitLayoutControls kArrivalLayouts{{1099, 1101, 1103, 1100, 1102, 1104, 1105, 1107, 1109, 1106, 1108, 1110},
                                         {1099, 1100, 1111, 1112, 1105, 1106, 1113, 1114},
                                         {1083, 1084}};

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

UnitLayout unitLayoutOf(std::string_view unit) {
    if (unit == unitName(kPackedDms) || unit == unitName(kPackedHms)) return UnitLayout::Sexagesimal;
    if (unit == unitName(kPackedDm)) return UnitLayout::DegreesMinutes;
    for (const int code : {kRadians, kDecimalDegrees, kGrads, kDecimalHours, kSecondsOfDegree, kSecondsOfHour})
        if (unit == unitName(code)) return UnitLayout::Decimal;
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

void PageModel::applyUnitLayout(Side side, const std::string& unit) {
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
    const bool hours = unit == unitName(kPackedHms);
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
    const std::string& unit = selection(kDepartureUnits);
    if (unit != settings_.departureUnit) {
        // The fields of the new unit start from 0, so that hidden fields stay valid numbers.
        std::vector<int> reset;
        switch (const int code = unitCode(unit)) {
            case kPackedDms:
            case kPackedHms: reset = {1062, 1069, 1071, 1073, 1075, 1077}; break;
            case kPackedDm: reset = {1062, 1079, 1073, 1081}; break;
            default:
                if (code >= kRadians && code <= kSecondsOfHour) reset = {1050, 1051};
                break;
        }
        if (!reset.empty()) reset.insert(reset.end(), {1058, 1064});
        for (const int id : reset) {
            values_[id] = 0.0;
            texts_[id] = "0";
        }
    }
    applyUnitLayout(Side::Departure, unit);
}

CCoor& PageModel::lastResult() { return services_ != nullptr ? services_->lastResult() : ownLastResult_; }

void PageModel::arrivalUnitChange() {
    const std::string unit = selection(kArrivalUnits);
    if (settings_.mode != 0 || !initialised_) return;
    const int type = coordinateTypeCode(selection(kArrivalTypes));
    if (type == kGeographic) {
        store();
        CCoor copy = lastResult();
        copy.setUnit(unitCode(unit));
        if (resultShown_) showResult(copy);
        applyUnitLayout(Side::Arrival, unit);
        settings_.arrivalUnit = unit;
        show();
    } else if (type == kProjected) {
        const CCoor& last = lastResult();
        const double convergence = convertAngle(last.convergence, last.convergenceUnit, unitCode(unit));
        store();
        settings_.arrivalUnit = unit;
        if (resultShown_) texts_[1116] = formatted("%.5lf", convergence);
        show();
    }
}

void PageModel::arrivalMeridianChange() {
    const CLgo* previous = findByName(catalogue_.meridians, settings_.arrivalMeridian);
    const CLgo* chosen = findByName(catalogue_.meridians, selection(kArrivalMeridians));
    CCoor copy = lastResult();
    if (previous != nullptr) {
        copy.setUnit(previous->unit);
        copy.lon += previous->longitude;
    }
    if (chosen != nullptr) {
        copy.setUnit(chosen->unit);
        copy.lon -= chosen->longitude;
    }
    copy.setUnit(unitCode(settings_.arrivalUnit));
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
    copy.setUnit(unitCode(settings_.arrivalUnit));
    showResult(copy);
    lastResult() = copy;
    check(east ? kArrivalEast : kArrivalWest);
    show();
}

CSysCoor PageModel::systemOf(const std::string& system, const std::string& meridian,
                             const std::string& projection) const {
    CSysCoor sys;
    sys.system = findByName(catalogue_.systems, system);
    sys.meridian = findByName(catalogue_.meridians, meridian);
    if (sys.meridian == nullptr && sys.system != nullptr) sys.meridian = sys.system->meridian;
    sys.projection = findByName(catalogue_.projections, projection);
    // A point without a vertical system carries the catalogue's "none", as on the command line.
    sys.vertical = findByName(catalogue_.verticalSystems, settings_.verticalSystem);
    if (sys.vertical == nullptr) sys.vertical = &noVerticalSystem();
    return sys;
}

bool PageModel::readPoint(CCoor& d, CCoor& a) {
    d = CCoor{};
    a = CCoor{};
    d.sys = systemOf(settings_.departureSystem, settings_.departureMeridian, settings_.departureProjection);
    a.sys = systemOf(settings_.arrivalSystem, settings_.arrivalMeridian, settings_.arrivalProjection);
    d.type = coordinateTypeCode(settings_.departureType);
    d.unit = unitCode(settings_.departureUnit);
    a.type = coordinateTypeCode(settings_.arrivalType);
    a.unit = unitCode(settings_.arrivalUnit);

    double altitude = 0.0;
    if (settings_.mode == 0) {
        const int vertical = settings_.verticalChoice;
        if (d.type == kCartesian) {
            d.x = values_[1050];
            d.y = values_[1051];
            d.z = values_[1052];
            settings_.verticalChoice = kEllipsoidalHeight;
        } else if (d.type == kGeographic) {
            double lon = 0, lat = 0;
            if (d.unit >= kRadians && d.unit <= kSecondsOfHour) {
                lon = values_[1050];
                lat = values_[1051];
            } else if (d.unit == kPackedDms || d.unit == kPackedHms) {
                lon = composeDms({values_[1062] < 0, static_cast<int>(std::abs(values_[1062])),
                                  static_cast<int>(values_[1069]), values_[1071]});
                lat = composeDms({values_[1073] < 0, static_cast<int>(std::abs(values_[1073])),
                                  static_cast<int>(values_[1075]), values_[1077]});
            } else if (d.unit == kPackedDm) {
                lon = composeDm({values_[1062] < 0, static_cast<int>(std::abs(values_[1062])), values_[1079]});
                lat = composeDm({values_[1073] < 0, static_cast<int>(std::abs(values_[1073])), values_[1081]});
            }
            if (lon < 0 || lat < 0) {
                ui_.message(lat < 0 ? texts::kNegativeLatitude : texts::kNegativeLongitude, MessageIcon::None);
                return false;
            }
            d.lon = checked(kDepartureWest) ? -lon : lon;
            d.lat = checked(kDepartureSouth) ? -lat : lat;
            if (vertical == kEllipsoidalHeight) {
                d.h = values_[1064];
            } else if (vertical == kAltitude) {
                altitude = values_[1058];
                d.h = altitude;
            }
        } else if (d.type == kProjected) {
            d.e = values_[1056];
            d.n = values_[1057];
            if (vertical == kEllipsoidalHeight) d.h = values_[1064];
            else if (vertical == kAltitude) altitude = values_[1058];
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
        texts_[1083] = formatted("%.3lf", r.x);
        texts_[1084] = formatted("%.3lf", r.y);
        texts_[1085] = formatted("%.3lf", r.z);
    } else if (r.type == kProjected) {
        texts_[1089] = fmt::sprintf("%.*lf", projectedDecimals(r.sys.projection), r.e);
        texts_[1090] = fmt::sprintf("%.*lf", projectedDecimals(r.sys.projection), r.n);
        texts_[1091] = altitude;
        texts_[1095] = formatted("%.3lf", r.h);
        texts_[1117] = formatted("%.1lf", r.alteration);
        texts_[1116] = formatted("%.5lf", r.convergence);
    } else if (r.type == kGeographic) {
        texts_[1095] = formatted("%.3lf", r.h);
        texts_[1091] = altitude;
        const auto hemispheres = [this](bool west, bool south) {
            check(west ? kArrivalWest : kArrivalEast);
            check(south ? kArrivalSouth : kArrivalNorth);
        };
        static constexpr const char* kDecimalFormats[] = {"", "%.10lf", "%.8lf", "%.8lf", "%.10lf", "%.5lf", "%.6lf"};
        if (r.unit >= kRadians && r.unit <= kSecondsOfHour) {
            texts_[1083] = formatted(kDecimalFormats[r.unit], std::abs(r.lon));
            texts_[1084] = formatted(kDecimalFormats[r.unit], std::abs(r.lat));
            hemispheres(r.lon < 0, r.lat < 0);
        } else if (r.unit == kPackedDms || r.unit == kPackedHms) {
            const int decimals = r.unit == kPackedDms ? 5 : 6;
            const char* seconds = r.unit == kPackedDms ? "%.5lf" : "%.6lf";
            const DmsParts lon = shownDms(splitDms(r.lon), decimals), lat = shownDms(splitDms(r.lat), decimals);
            texts_[1099] = std::to_string(lon.degrees);
            texts_[1101] = std::to_string(lon.minutes);
            texts_[1103] = formatted(seconds, lon.seconds);
            texts_[1105] = std::to_string(lat.degrees);
            texts_[1107] = std::to_string(lat.minutes);
            texts_[1109] = formatted(seconds, lat.seconds);
            hemispheres(lon.negative, lat.negative);
        } else if (r.unit == kPackedDm) {
            const DmParts lon = shownDm(splitDm(r.lon), 6), lat = shownDm(splitDm(r.lat), 6);
            texts_[1099] = std::to_string(lon.degrees);
            texts_[1111] = formatted("%.6lf", lon.minutes);
            texts_[1105] = std::to_string(lat.degrees);
            texts_[1113] = formatted("%.6lf", lat.minutes);
            hemispheres(lon.negative, lat.negative);
        }
    }
}

void PageModel::computeDisplay(CCoor& r, const CCoor& departure) {
    if (r.type == kProjected) {
        const int unit = unitCode(settings_.arrivalUnit);
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
    static constexpr int kDisplays[] = {1083, 1084, 1085, 1089, 1090, 1091, 1095, 1099, 1101,
                                        1103, 1105, 1107, 1109, 1111, 1113, 1116, 1117};
    for (const int id : kDisplays) texts_[id].clear();
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
        const FileRunFiles files{dataFormatCode(settings_.departureFormat), departurePath_,
                                 dataFormatCode(settings_.arrivalFormat), arrivalPath_,
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
