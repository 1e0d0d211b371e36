#include "files/batch.hpp"

#include <fmt/printf.h>

#include <filesystem>

#include "catalogue/projection_codes.hpp"
#include "files/file_identity.hpp"
#include "files/file_run.hpp"
#include "files/point_file.hpp"
#include "files/run_context.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/chain.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/grid_selection.hpp"
#include "geodesy/operation.hpp"
#include "geodesy/precision.hpp"
#include "geodesy/status.hpp"
#include "platform/number_text.hpp"
#include "platform/user_interface.hpp"
#include "resources/chain_texts.hpp"
#include "resources/file_texts.hpp"
#include "resources/string_table.hpp"

namespace zelvo {

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
            // A projection in another unit than the metre names it: "E(ftUS)=".
            const std::string_view unit = nonMetreUnitLabel(a.sys.projection);
            const std::string east = unit.empty() ? "E=" : "E(" + std::string(unit) + ")=";
            const std::string north = unit.empty() ? "N=" : "N(" + std::string(unit) + ")=";
            value(east.c_str(), a.e, projectedDecimals(a.sys.projection));
            value(north.c_str(), a.n, projectedDecimals(a.sys.projection));
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

BatchOutcome runBatch(RunContext& context, CZelvoCommandLine r, std::string& sharedMessage) {
    UserInterface& ui = context.ui;
    if (r.currentOption == 0) {
        ui.write(fmt::sprintf("\n%s\n", r.helpText));
        return BatchOutcome::Completed;
    }
    deriveVerticalKind(r);
    if (hasRegistryCodes(r)) {
        std::string refusal;
        if (context.registryCatalogue == nullptr) refusal = texts::kRegistryCodesNotTaken;
        else if (!resolveRegistryCodes(r, *context.registryCatalogue, refusal)) refusal += " !";
        if (!refusal.empty()) {
            ui.message(refusal, MessageIcon::Error);
            return BatchOutcome::Refused;
        }
    }
    std::string validation;
    const bool valid = validateCommandLine(r, context.catalogue, validation);
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
            return BatchOutcome::DepartureNotRead;
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

    const BatchPoints initial = buildPoints(r, context.catalogue);
    if (!fileMode) {
        // Point mode shows the values, outside an extent too; a point whose values cannot be
        // computed (outside the 3-D grids, outside every geoid grid it needs, a chain error) shows
        // why instead.
        GridSelection grids{context.catalogue, context.geoidGrid, context.translationGrid, &ui};
        const Operation operation(context.catalogue, r.type, initial.departure, initial.arrival);
        OperationCursor cursor(operation, grids);
        CCoor a = initial.arrival;
        PointResult result{operation.prepare(cursor, initial.departure, a)};
        if (result.outcome != Outcome::OutsideTransformationGrid) {
            result.outcome = operation.finish(cursor, a);
            result.chainStatus = cursor.chainStatus();
            convergenceInArrivalUnit(a);
        }
        if (result.outcome == Outcome::OutsideTransformationGrid || result.outcome == Outcome::ChainError) {
            std::string chainError;
            ui.message(std::string(pointStatus(result, chainError, ExtentTexts::StringTable)), MessageIcon::Error);
            return BatchOutcome::PointNotTransformed;
        }
        if (a.geoidPrecisionCode == kOutsideGeoidGrid) {
            ui.message(std::string(loadString(2232)), MessageIcon::Error);
            return BatchOutcome::PointNotTransformed;
        }
        ui.write(pointResult(r, a));
        return BatchOutcome::Completed;
    }

    const FileRunSetup setup{context, r.type, true, initial.departure, initial.arrival, in, out};
    const FileRunCounts counts = runFileLines(setup, LineOutput{ExtentTexts::StringTable, /*countRefusedLines=*/true});
    if (r.verbose) out.writeEnd(texts::kStatusEnd);
    if (!out.close()) {
        // A full disk or a lost device: the arrival file is left as it was before the run, and
        // the run is no success.
        ui.message(fmt::sprintf("%s %s !", texts::kCannotWriteFile, r.file2), MessageIcon::Error);
        return BatchOutcome::ArrivalNotWritten;
    }
    if (r.verbose) {
        const std::string rule(66, '-');
        ui.write(fmt::sprintf("\n%s\n%s\n%s \n%s\n\n%d %s\n%d %s\n%s\n", rule, texts::kRunFinished, r.file1, r.file2,
                              counts.succeeded, texts::kSucceeded, counts.outside, texts::kOutside, rule));
    }
    return BatchOutcome::Completed;
}

int runCommandLine(RunContext& context, const std::vector<std::string>& args, const std::string& consoleHelpText) {
    CZelvoCommandLine record;
    if (!parseCommandLine(args, record, consoleHelpText, context.ui)) return kExitRefused;
    std::string sharedMessage;
    const BatchOutcome outcome = runBatch(context, record, sharedMessage);
    if (!sharedMessage.empty()) context.ui.message(sharedMessage, MessageIcon::Error);
    switch (outcome) {
        case BatchOutcome::Completed: return kExitSuccess;
        case BatchOutcome::Refused: return kExitRefused;
        case BatchOutcome::DepartureNotRead: return kExitDepartureUnread;
        case BatchOutcome::ArrivalNotWritten:
        case BatchOutcome::PointNotTransformed: return kExitNotTransformed;
    }
    return kExitNotTransformed;
}

}  // namespace zelvo
