#include "files/command_line.hpp"

#include <fmt/printf.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string_view>

#include "catalogue/catalogue.hpp"
#include "catalogue/registry.hpp"
#include "files/data_formats.hpp"
#include "geodesy/datum.hpp"
#include "platform/number_text.hpp"
#include "platform/user_interface.hpp"
#include "resources/chain_texts.hpp"
#include "resources/file_texts.hpp"

namespace zelvo {
namespace {

struct Option {
    std::string_view name;
    int code;
};

constexpr Option kOptions[] = {
    {"?", 0},  {"init", 1}, {"v", 2},    {"type", 3}, {"mode", 4}, {"sys1", 5},  {"sys2", 6},
    {"alt", 7}, {"typcoor1", 8}, {"typcoor2", 9}, {"f1", 10}, {"f2", 11}, {"x", 12}, {"y", 13},
    {"z", 14}, {"lon", 15}, {"lat", 16}, {"he", 17}, {"E", 18}, {"N", 19}, {"H", 20},
};

// The option named by an argument read where an option may stand ("-name"), or nothing.
const Option* findOption(std::string_view arg) {
    const std::string_view name = arg.substr(1);
    const auto option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                     [name](const Option& o) { return o.name == name; });
    return option == std::end(kOptions) ? nullptr : option;
}

std::string_view optionName(int code) {
    const auto option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                     [code](const Option& o) { return o.code == code; });
    return option == std::end(kOptions) ? std::string_view() : option->name;
}

bool isOptionPosition(const std::string& arg, bool expectValue) {
    return !arg.empty() && arg[0] == '-' && !expectValue;
}

// Options x to H take one real that may begin with "-".
bool takesSignedValue(int code) { return code >= 12 && code <= 20; }

// The unit, meridian or projection values that follow a coordinate type, in their order.
void takeTypeValue(int value, int& type, int& unit, int& meridian, int& projection) {
    if (type == 0) {
        type = value;
    } else if (type == kGeographic) {
        if (unit == 0) unit = value;
        else if (meridian == 0) meridian = value;
    } else if (type == kProjected) {
        if (projection == 0) projection = value;
    }
}

// A value of -typcoor1 or -typcoor2 as it stands: a number, or a registry code in the place of
// the meridian or the projection.
void takeTypeArgument(const std::string& arg, int& type, int& unit, int& meridian, int& projection,
                      int& meridianCode, int& projectionCode) {
    const int code = registryCode(arg);
    if (code == 0) return takeTypeValue(leadingInt(arg), type, unit, meridian, projection);
    if (type == kGeographic && unit != 0 && meridian == 0) {
        meridian = -1;
        meridianCode = code;
    } else if (type == kProjected && projection == 0) {
        projection = -1;
        projectionCode = code;
    }
}

// A system number or a registry code.
void takeSystem(const std::string& arg, int& system, int& code) {
    code = registryCode(arg);
    system = code != 0 ? -1 : leadingInt(arg);
}

void takeFileValue(const std::string& arg, int type, int& format, std::string& file) {
    if (format == 0) {
        if (type >= 1 && type <= 3) format = dataFormatAtMenuPosition(type, leadingInt(arg));
    } else {
        file = arg;
    }
}

bool isValidUnit(int unit) { return (unit >= 1 && unit <= 6) || (unit >= 10 && unit <= 12); }

bool linkedByTransformation(const Catalogue& catalogue, int a, int b, int type) {
    return std::any_of(catalogue.transformations.begin(), catalogue.transformations.end(), [&](const CTsg& t) {
        if (t.type != type || t.source == nullptr || t.target == nullptr) return false;
        return (t.source->number == a && t.target->number == b) || (t.source->number == b && t.target->number == a);
    });
}

bool endsWith(std::string_view text, std::string_view suffix) { return text.ends_with(suffix); }

}  // namespace

bool parseCommandLine(const std::vector<std::string>& args, CZelvoCommandLine& r, const std::string& consoleHelpText,
                      UserInterface& ui) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (isOptionPosition(arg, r.expectValue)) {
            const Option* option = findOption(arg);
            if (option == nullptr) {
                ui.message(fmt::sprintf("%s : %s !", arg.substr(1), texts::kUnknownFlag), MessageIcon::Error);
                return false;
            }
            r.currentOption = option->code;
            r.expectValue = takesSignedValue(option->code);
            if (option->code == 2) r.verbose = true;
            // Asking for help with -? alone shows the help text too.
            if (option->code == 0) r.helpText = consoleHelpText;
            continue;
        }
        r.expectValue = false;
        // A point's value is a finite number that fits a double, as in a point file: "nan", "inf",
        // "1e999" or "12abc" is refused, never read as something else.
        double value = 0.0;
        if (takesSignedValue(r.currentOption) && (!parseDouble(arg, value) || !std::isfinite(value))) {
            ui.message(fmt::sprintf("%s : %s !", optionName(r.currentOption), texts::kValueNotANumber),
                       MessageIcon::Error);
            return false;
        }
        switch (r.currentOption) {
            case 0: r.helpText = consoleHelpText; break;
            case 1: r.initFile = arg; break;
            case 2: break;
            case 3: r.type = leadingInt(arg); break;
            case 4: r.mode = leadingInt(arg); break;
            case 5: takeSystem(arg, r.sys1, r.sys1Code); break;
            case 6: takeSystem(arg, r.sys2, r.sys2Code); break;
            case 7:
                if (r.verticalKind == 0) r.verticalKind = leadingInt(arg);
                else r.verticalSystem = leadingInt(arg);
                break;
            case 8:
                takeTypeArgument(arg, r.typcoor1, r.unit1, r.meridian1, r.projection1, r.meridian1Code,
                                 r.projection1Code);
                break;
            case 9:
                takeTypeArgument(arg, r.typcoor2, r.unit2, r.meridian2, r.projection2, r.meridian2Code,
                                 r.projection2Code);
                break;
            case 10: takeFileValue(arg, r.typcoor1, r.format1, r.file1); break;
            case 11: takeFileValue(arg, r.typcoor2, r.format2, r.file2); break;
            case 12: r.x = value; break;
            case 13: r.y = value; break;
            case 14: r.z = value; break;
            case 15: r.lon = value; break;
            case 16: r.lat = value; break;
            case 17: r.he = value; break;
            case 18: r.E = value; break;
            case 19: r.N = value; break;
            case 20: r.H = value; break;
        }
    }
    return true;
}

InformationRequest informationRequest(const std::vector<std::string>& args) {
    bool expectValue = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!isOptionPosition(arg, expectValue)) {
            expectValue = false;
            continue;
        }
        if (arg == "--help") return InformationRequest::Help;
        if (arg == "--version") return InformationRequest::Version;
        const Option* option = findOption(arg);
        if (option == nullptr) return InformationRequest::None;  // the parser stops here
        expectValue = takesSignedValue(option->code);
    }
    return InformationRequest::None;
}

std::string helpWithOptions(const std::string& consoleHelpText) {
    std::string out = consoleHelpText.empty() ? std::string() : consoleHelpText + "\n\n";
    for (const auto& [usage, meaning] : texts::kOptionHelp) {
        out += fmt::sprintf("  %-22s %s\n", usage, meaning);
    }
    return out;
}

void deriveVerticalKind(CZelvoCommandLine& r) {
    if (r.mode == 1 && isDataFormat(r.format1)) r.verticalKind = dataFormatVerticalMode(r.format1);
    else if (r.mode == 0 && (r.x != 0 || r.y != 0 || r.z != 0)) r.verticalKind = kEllipsoidalHeight;
}

bool hasRegistryCodes(const CZelvoCommandLine& r) {
    return r.sys1Code != 0 || r.sys2Code != 0 || r.meridian1Code != 0 || r.meridian2Code != 0 ||
           r.projection1Code != 0 || r.projection2Code != 0;
}

bool resolveRegistryCodes(CZelvoCommandLine& r, Catalogue& catalogue, std::string& message) {
    const std::unique_ptr<Registry> registry = Registry::open(registryPath(), message);
    if (registry == nullptr) return false;
    const auto resolve = [&](int code, int& number, auto add) {
        if (code == 0) return true;
        number = add(code);
        return number != 0;
    };
    if (!resolve(r.sys1Code, r.sys1, [&](int c) { return registry->addSystem(catalogue, c, message); }) ||
        !resolve(r.sys2Code, r.sys2, [&](int c) { return registry->addSystem(catalogue, c, message); }) ||
        !resolve(r.meridian1Code, r.meridian1, [&](int c) { return registry->addMeridian(catalogue, c, message); }) ||
        !resolve(r.meridian2Code, r.meridian2, [&](int c) { return registry->addMeridian(catalogue, c, message); }) ||
        !resolve(r.projection1Code, r.projection1,
                 [&](int c) { return registry->addProjection(catalogue, c, r.sys1, message); }) ||
        !resolve(r.projection2Code, r.projection2,
                 [&](int c) { return registry->addProjection(catalogue, c, r.sys2, message); }))
        return false;
    if (r.sys1Code != 0 && r.sys2Code != 0 && r.sys1 != r.sys2)
        registry->addTransformations(catalogue, r.sys1, r.sys2);
    return true;
}

bool validateCommandLine(const CZelvoCommandLine& r, const Catalogue& catalogue, std::string& message) {
    auto fail = [&message](std::string text) {
        message = std::move(text);
        return false;
    };
    auto plain = [](const char* text) { return fmt::sprintf("%s !\n", text); };
    auto named = [](const CReg* system, const char* text) { return fmt::sprintf("%s : %s !\n", system->name, text); };

    if (r.mode != 0 && r.mode != 1) return fail(plain(texts::kNoSuchTransformationType));
    if (r.type != 1 && r.type != 2) return fail(plain(texts::kNoSuchTransformationType));
    const CReg* departure = findByNumber(catalogue.systems, r.sys1);
    if (departure == nullptr) return fail(plain(texts::kNoDepartureSystem));
    const CReg* arrival = findByNumber(catalogue.systems, r.sys2);
    if (arrival == nullptr) return fail(plain(texts::kNoArrivalSystem));
    if (r.verticalSystem != 0 && findByNumber(catalogue.verticalSystems, r.verticalSystem) == nullptr)
        return fail(plain(texts::kNoVerticalSystem));
    // Registry systems may be linked through WGS 84.
    if (r.sys1 != r.sys2 && !linkedByTransformation(catalogue, r.sys1, r.sys2, r.type) &&
        !(r.type == kStandardTransformation && resolveStandardTransformation(departure, arrival, catalogue).found))
        return fail(fmt::sprintf("%s %s\" !\n", texts::kNoTransformation, texts::kTransformationNames[r.type]));

    const bool fileMode = r.mode == 1;
    if (r.typcoor1 < 1 || r.typcoor1 > 3) return fail(plain(texts::kNoDepartureType));
    if (r.typcoor2 < 1 || r.typcoor2 > 3) return fail(plain(texts::kNoArrivalType));
    if (r.typcoor1 == kCartesian && departure->dimension == 2)
        return fail(fmt::sprintf("%s(\"%s\")!\n", texts::kNoCartesianDeparture, departure->name));
    if (r.typcoor2 == kCartesian && arrival->dimension == 2)
        return fail(fmt::sprintf("%s(\"%s\")!\n", texts::kNoCartesianArrival, arrival->name));
    if (r.typcoor1 == kGeographic && !isValidUnit(r.unit1)) return fail(plain(texts::kBadDepartureUnit));
    if (r.typcoor2 == kGeographic && !isValidUnit(r.unit2)) return fail(plain(texts::kBadArrivalUnit));
    if (r.typcoor1 == kGeographic && findByNumber(catalogue.meridians, r.meridian1) == nullptr)
        return fail(named(departure, texts::kBadMeridian));
    if (r.typcoor2 == kGeographic && findByNumber(catalogue.meridians, r.meridian2) == nullptr)
        return fail(named(arrival, texts::kBadMeridian));
    if (r.typcoor1 == kProjected && findByNumber(catalogue.projections, r.projection1) == nullptr)
        return fail(named(departure, texts::kBadProjection));
    if (r.typcoor2 == kProjected && findByNumber(catalogue.projections, r.projection2) == nullptr)
        return fail(named(arrival, texts::kBadProjection));

    auto allows = [&catalogue](int system, int type) {
        const CodeList* list = findCodeList(catalogue.coordinateTypes, system);
        return list != nullptr && std::find(list->codes.begin(), list->codes.end(), type) != list->codes.end();
    };
    if (!allows(r.sys1, r.typcoor1)) return fail(plain(texts::kDepartureTypeNotAllowed));
    if (!allows(r.sys2, r.typcoor2)) return fail(plain(texts::kArrivalTypeNotAllowed));

    if (r.typcoor1 == kCartesian && fileMode && r.format1 != 6 && r.format1 != 7)
        return fail(named(departure, texts::kBadDataFormat));
    if (r.typcoor2 == kCartesian && fileMode && r.format2 != 6 && r.format2 != 7)
        return fail(named(arrival, texts::kBadDataFormat));

    // Geographic and projected sides: the format must fit the type, and a 2-D system takes no
    // ellipsoidal heights.
    auto checkDeparture = [&](int first, int last) -> bool {
        if (r.format1 < first || r.format1 > last) {
            if (fileMode) return fail(named(departure, texts::kBadDataFormat));
            if (departure->dimension == 2 && r.verticalKind == kEllipsoidalHeight)
                return fail(named(departure, texts::kNoEllipsoidalHeights));
        } else if (departure->dimension == 2 && endsWith(dataFormatName(r.format1), "Hauteur")) {
            return fail(named(departure, texts::kNoEllipsoidalHeights));
        }
        return true;
    };
    auto checkArrival = [&](int first, int last) -> bool {
        if (r.format2 < first || r.format2 > last) {
            if (fileMode) return fail(named(arrival, texts::kBadDataFormat));
        } else if (arrival->dimension == 2 && endsWith(dataFormatName(r.format2), "Hauteur")) {
            return fail(named(arrival, texts::kNoEllipsoidalHeights));
        }
        return true;
    };
    if (r.typcoor1 == kGeographic && !checkDeparture(8, 15)) return false;
    if (r.typcoor2 == kGeographic && !checkArrival(8, 15)) return false;
    if (r.typcoor1 == kProjected && !checkDeparture(16, 19)) return false;
    if (r.typcoor2 == kProjected && !checkArrival(16, 19)) return false;

    if (fileMode && r.file1.empty()) return fail(plain(texts::kNoDepartureFile));
    if (fileMode && r.file2.empty()) return fail(plain(texts::kNoArrivalFile));
    message = fmt::sprintf("%s\n", texts::kCommandLineValid);
    return true;
}

}  // namespace zelvo
