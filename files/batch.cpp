#include "files/batch.hpp"

#include <fmt/printf.h>

#include <cstring>
#include <filesystem>

#include "app/application.hpp"
#include "files/point_file.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/chain.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/grid_selection.hpp"
#include "geodesy/precision.hpp"
#include "geodesy/status.hpp"
#include "platform/number_text.hpp"
#include "platform/user_interface.hpp"
#include "resources/chain_texts.hpp"
#include "resources/file_texts.hpp"
#include "resources/string_table.hpp"

namespace zelvo {
namespace {

// Two names of one file: the same text, or two paths that reach the same file.
bool sameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

struct BatchPoints {
    CCoor departure;
    CCoor arrival;
};

BatchPoints buildPoints(const CZelvoCommandLine& r, const Catalogue& catalogue) {
    BatchPoints p;
    CSysCoor departureSys, arrivalSys;
    initSysCoor(departureSys, catalogue, r.sys1, r.meridian1, r.verticalSystem, r.projection1);
    initSysCoor(arrivalSys, catalogue, r.sys2, r.meridian2, r.verticalSystem, r.projection2);
    const int unit1 = r.unit1 == 0 ? 2 : r.unit1;
    const int unit2 = r.unit2 == 0 ? 2 : r.unit2;

    CCoor& d = p.departure;
    d.type = r.typcoor1;
    d.unit = unit1;
    d.x = r.x;
    d.y = r.y;
    d.z = r.z;
    d.lon = r.lon;
    d.lat = r.lat;
    d.h = r.he;
    d.e = r.E;
    d.n = r.N;
    d.altitude = r.H;
    d.verticalMode = r.verticalKind;
    d.convergenceUnit = unit1;
    d.sys = departureSys;

    CCoor& a = p.arrival;
    a.type = r.typcoor2;
    a.unit = unit2;
    a.verticalMode = r.verticalKind;
    a.convergenceUnit = unit2;
    a.sys = arrivalSys;
    return p;
}

// The point-mode result on the console, labelled with -v.
std::string pointResult(const CZelvoCommandLine& r, const CCoor& a) {
    std::string out;
    auto value = [&](const char* label, double v, int decimals) {
        if (!out.empty()) out += ' ';
        if (r.verbose) out += label;
        appendFixed(out, v, decimals);
    };
    if (a.type == kCartesian) {
        value("X=", a.x, 3);
        value("Y=", a.y, 3);
        value("Z=", a.z, 3);
    } else if (a.type == kGeographic || a.type == kProjected) {
        if (r.verticalKind < 0 || r.verticalKind > 2) return {};
        if (a.type == kGeographic) {
            value("Lon=", a.lon, 8);
            value("Lat=", a.lat, 8);
        } else {
            value("E=", a.e, 3);
            value("N=", a.n, 3);
        }
        if (r.verticalKind != 0) {
            if (r.verticalSystem != 0) {
                value("he=", a.h, 3);
                value("alt=", a.altitude, 3);
            } else if (r.verticalKind == kEllipsoidalHeight) {
                value("he=", a.h, 3);
            } else {
                value("alt=", a.altitude, 3);
            }
        }
    } else {
        return {};
    }
    if (r.verbose) out += '\n';
    return out;
}

// Whether a status is the given fixed text (its length known here, so no library call).
bool is(std::string_view status, std::string_view text) {
    return status.size() == text.size() && std::memcmp(status.data(), text.data(), text.size()) == 0;
}

std::string_view departureExtentMessage(ExtentResult result) {
    return loadString(result == ExtentResult::OutsideProjection ? 2234 : 2235);
}

std::string_view arrivalExtentMessage(ExtentResult result) {
    return loadString(result == ExtentResult::OutsideProjection ? 2236 : 2237);
}

}  // namespace

BatchOutcome runBatch(CZelvoApp& app, CZelvoCommandLine r, UserInterface& ui, std::string& sharedMessage) {
    if (r.currentOption == 0) {
        ui.write(fmt::sprintf("\n%s\n", r.helpText));
        return BatchOutcome::Refused;
    }
    deriveVerticalKind(r);
    std::string validation;
    const bool valid = validateCommandLine(r, app.catalogue, validation);
    if (!valid) {
        if (validation.ends_with('\n')) validation.pop_back();
        ui.message(validation, MessageIcon::Error);
        return BatchOutcome::Refused;
    }
    if (r.verbose) ui.write(validation);

    const bool fileMode = r.mode == 1;
    In_Fic in;
    Out_Fic out;
    if (fileMode) {
        if (sameFile(r.file1, r.file2)) {
            sharedMessage = fmt::sprintf("%s !", texts::kSameFiles);
            return BatchOutcome::Refused;
        }
        if (!in.open(r.file1)) {
            sharedMessage = fmt::sprintf("%s %s !", texts::kCannotOpenFile, r.file1);
            return BatchOutcome::Refused;
        }
        if (!out.open(r.file2, /*replaceAtClose=*/true)) {
            sharedMessage = fmt::sprintf("%s %s !", texts::kCannotOpenFile, r.file2);
            return BatchOutcome::ArrivalNotWritten;
        }
        in.dataFormat = r.format1;
        out.dataFormat = r.format2;
        out.annotated = r.verbose;
    }
    if (r.verbose) ui.write(fmt::sprintf("%s\n\n", texts::kInitialising));

    GridSelection grids{app.catalogue, app.geoidGrid, app.translationGrid, app.consoleMode, &ui};
    CurrentGeoid geoid(app.geoidGrid);
    const BatchPoints initial = buildPoints(r, app.catalogue);
    BatchPoints points = initial;
    int succeeded = 0;
    int outside = 0;
    BatchOutcome outcome = BatchOutcome::Completed;
    std::string chainError;
    // The status of the point: one of the fixed status and message texts, or the geoid
    // selection's text, which lives as long as the loop.
    std::string_view status;
    std::string geoidStatus;
    const CLgo* greenwich = greenwichMeridian(app.catalogue);
    CCoor departureGeographic, arrivalGeographic;
    CZone gridExtent;
    // Every point of the run has the systems and projections of the command line.
    const ExtentTest departureExtents(app.catalogue, initial.departure);
    const ExtentTest arrivalExtents(app.catalogue, initial.arrival);
    for (;;) {
        if (fileMode) {
            points = initial;
            const std::string_view read = in.readPoint(points.departure);
            if (is(read, texts::kStatusComment) || is(read, texts::kStatusBlankLine)) continue;
            status = read;
        }
        if (is(status, texts::kStatusEnd)) break;
        CCoor& d = points.departure;
        CCoor& a = points.arrival;
        chainError.clear();

        // The departure in geographic form, computed once: the grid selections and the extent test
        // read it, and the transformation starts from it (the same values as from the departure).
        departureGeographic = d;
        departureGeographic.toGeographic(greenwich);

        // A line already refused keeps its own status: no grid is looked for its values.
        if (r.type == 2 && (status.empty() || is(status, texts::kStatusOk))) {
            if (select3DGrid(grids, departureGeographic, a.sys, gridExtent) != 1) status = loadString(2233);
            else if (app.translationGrid.loaded == 0) loadCurrentGrid(grids, CurrentGrid::Translation);
        }
        if (selectGeoidGrid(grids, r.type, departureGeographic, a, gridExtent, geoidStatus) == 1 &&
            app.geoidGrid.loaded == 0 && !loadCurrentGrid(grids, CurrentGrid::Geoid)) {
            // A geoid grid that no longer loads leaves the point without its geoid term: say so.
            departureGeographic.geoidPrecisionCode = kOutsideGeoidGrid;
            a.geoidPrecisionCode = kOutsideGeoidGrid;
        }
        if (status.empty() || is(status, texts::kStatusOk)) status = geoidStatus;

        // A status already set (a badly formed line, a point outside the grid) is the one reported.
        if (status.empty() || is(status, texts::kStatusOk)) {
            const ExtentResult departureExtent = departureExtents.test(d, departureGeographic);
            if (departureExtent != ExtentResult::Inside) status = departureExtentMessage(departureExtent);
        }

        // A point outside every 3-D grid has no datum shift: it is not transformed, in point mode
        // either, where the values would be plainly wrong.
        const bool transformable = is(status, texts::kStatusOk) || (!fileMode && !is(status, loadString(2233)));
        if (transformable) {
            const int chainStatus =
                r.type == 1 ? standardPointTransform(departureGeographic, a, app.catalogue, &geoid, &arrivalGeographic)
                            : gridPointTransform(departureGeographic, a, app.catalogue, &geoid, app.translationGrid,
                                                 &arrivalGeographic);
            a.convergence = convertAngle(a.convergence, a.convergenceUnit, a.unit);
            a.convergenceUnit = a.unit;
            if (chainStatus != kStatusOk) {
                chainError = fmt::sprintf(texts::kChainError, chainStatus);
                if (chainError.ends_with('\n')) chainError.pop_back();
                status = chainError;
            } else if (const ExtentResult arrivalExtent = arrivalExtents.test(a, arrivalGeographic);
                       arrivalExtent != ExtentResult::Inside) {
                status = arrivalExtentMessage(arrivalExtent);
            } else {
                ++succeeded;
            }
        }
        if (fileMode) {
            if (!is(status, texts::kStatusOk)) ++outside;
            out.writePoint(d, a, r.type, status, true);
            status = {};
        } else {
            // Point mode shows the values, outside an extent too; a point whose values could not be
            // computed (outside the 3-D grids, outside every geoid grid it needs, a chain error)
            // shows why instead.
            if (!transformable) {
                ui.message(std::string(status), MessageIcon::Error);
                outcome = BatchOutcome::PointNotTransformed;
            } else if (!chainError.empty()) {
                ui.message(chainError, MessageIcon::Error);
                outcome = BatchOutcome::PointNotTransformed;
            } else if (a.geoidPrecisionCode == kOutsideGeoidGrid) {
                ui.message(std::string(loadString(2232)), MessageIcon::Error);
                outcome = BatchOutcome::PointNotTransformed;
            } else {
                ui.write(pointResult(r, a));
            }
            status = texts::kStatusEnd;
        }
    }
    if (fileMode && r.verbose) out.writeEnd(texts::kStatusEnd);
    if (fileMode && !out.close()) {
        // A full disk or a lost device: the arrival file is left as it was before the run, and
        // the run is no success.
        ui.message(fmt::sprintf("%s %s !", texts::kCannotWriteFile, r.file2), MessageIcon::Error);
        return BatchOutcome::ArrivalNotWritten;
    }
    if (fileMode && r.verbose) {
        const std::string rule(66, '-');
        ui.write(fmt::sprintf("\n%s\n%s\n%s \n%s\n\n%d %s\n%d %s\n%s\n", rule, texts::kRunFinished, r.file1, r.file2,
                              succeeded, texts::kSucceeded, outside, texts::kOutside, rule));
    }
    return outcome;
}

int runCommandLine(CZelvoApp& app, const std::vector<std::string>& args, UserInterface& ui) {
    CZelvoCommandLine record;
    if (!parseCommandLine(args, record, app.consoleHelpText, ui)) return 0;
    std::string sharedMessage;
    const BatchOutcome outcome = runBatch(app, record, ui, sharedMessage);
    if (!sharedMessage.empty()) ui.message(sharedMessage, MessageIcon::Error);
    return outcome == BatchOutcome::ArrivalNotWritten || outcome == BatchOutcome::PointNotTransformed ? 2 : 0;
}

}  // namespace zelvo
