#include "files/drivers.hpp"

#include <fmt/printf.h>

#include "files/data_formats.hpp"
#include "files/file_identity.hpp"
#include "files/file_run.hpp"
#include "files/log_file.hpp"
#include "files/point_file.hpp"
#include "files/report.hpp"
#include "files/run_context.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/precision.hpp"
#include "geodesy/operation.hpp"
#include "platform/user_interface.hpp"
#include "resources/chain_texts.hpp"
#include "resources/driver_texts.hpp"
#include "resources/file_texts.hpp"

namespace zelvo {
namespace {

// The question a single point outside an extent asks; empty for the other conditions.
std::string extentQuestion(Outcome condition) {
    const char* text = nullptr;
    switch (condition) {
        case Outcome::DepartureOutsideProjection: text = texts::kQuestionDepartureOutsideProjection; break;
        case Outcome::DepartureOutsideSystem: text = texts::kQuestionDepartureOutsideSystem; break;
        case Outcome::ArrivalOutsideProjection: text = texts::kQuestionArrivalOutsideProjection; break;
        case Outcome::ArrivalOutsideSystem: text = texts::kQuestionArrivalOutsideSystem; break;
        default: return {};
    }
    return fmt::sprintf(texts::kContinueQuestion, text);
}

// A grid message with the bounds of an extent, in decimal degrees.
std::string withBounds(const char* format, const CZone& extent) {
    const auto degrees = [](const CCorner& corner, double value) { return convertAngle(value, corner.unit, kDecimalDegrees); };
    return fmt::sprintf(format, degrees(extent.min, extent.min.lon), degrees(extent.max, extent.max.lon),
                        degrees(extent.min, extent.min.lat), degrees(extent.max, extent.max.lat));
}

void logPoint(RunContext& context, const CCoor& departure, const CCoor& arrival, int transformationType) {
    if (context.log != nullptr) writeLogEntry(*context.log, departure, arrival, transformationType);
}

}  // namespace

FileRunOutcome transformFile(RunContext& context, int transformationType, bool withConversion, const CCoor& departureTemplate,
                   const CCoor& arrivalTemplate, const FileRunFiles& files) {
    UserInterface& ui = context.ui;
    // Names cannot be made up: refused before any file is opened, so that none is touched.
    if (isDataFormat(files.departureFormat) && isDataFormat(files.arrivalFormat) &&
        !dataFormat(files.departureFormat).hasName && dataFormat(files.arrivalFormat).hasName) {
        ui.message(fmt::sprintf(texts::kNamesCannotBeInvented, std::string(dataFormatName(files.departureFormat)),
                                std::string(dataFormatName(files.arrivalFormat))),
                   MessageIcon::Error);
        return {};
    }

    // No file is written over another of the run, whatever names lead to it: checked before any
    // is opened for writing.
    if (sameFile(files.departurePath, files.arrivalPath)) {
        ui.message(fmt::sprintf("%s !", texts::kSameFiles), MessageIcon::Error);
        return {};
    }
    if (context.reportRequested &&
        (sameFile(files.reportPath, files.departurePath) || sameFile(files.reportPath, files.arrivalPath))) {
        ui.message(fmt::sprintf(texts::kReportIsDataFile, files.reportPath), MessageIcon::Error);
        return {};
    }

    // Every file is written safely: a run that fails leaves the previous files as they were.
    Out_Fic report;
    if (context.reportRequested && !report.open(files.reportPath, /*replaceAtClose=*/true)) {
        ui.message(texts::kCannotOpenFileNamed + files.reportPath, MessageIcon::None);
        return {};
    }
    In_Fic in;
    Out_Fic out;
    const auto refuse = [&](const std::string& path) {
        report.discard();
        out.discard();
        ui.message(texts::kCannotOpenFileNamed + path, MessageIcon::None);
    };
    if (!in.open(files.departurePath)) {
        refuse(files.departurePath);
        return {};
    }
    if (!out.open(files.arrivalPath, /*replaceAtClose=*/true)) {
        refuse(files.arrivalPath);
        return {};
    }
    out.annotated = true;
    in.dataFormat = files.departureFormat;
    out.dataFormat = files.arrivalFormat;
    CCoor departureStart = departureTemplate;
    CCoor arrivalStart = arrivalTemplate;
    departureStart.verticalMode = dataFormatVerticalMode(files.departureFormat);
    arrivalStart.verticalMode = dataFormatVerticalMode(files.arrivalFormat);

    const int step = in.countLines() / 100 + 1;
    ui.progressBegin(texts::kFileRunProgress, 100);
    FileRunSetup setup{context, transformationType, withConversion, departureStart, arrivalStart, in, out};
    setup.report = report.isOpen() ? &report : nullptr;
    setup.log = context.log;
    setup.progressStep = step;
    const FileRunCounts counts = runFileLines(setup, LineOutput{ExtentTexts::FileDriver, /*countRefusedLines=*/false});
    ui.progressEnd();
    if (context.log != nullptr) context.log->flush();
    if (counts.interrupted) {
        out.discard();
        report.discard();
        return {FileRunOutcome::End::Interrupted, counts.succeeded};
    }

    out.writeEnd(texts::kStatusEnd);
    if (!out.close()) {
        report.discard();
        ui.message(fmt::sprintf("%s %s !", texts::kCannotWriteFile, files.arrivalPath), MessageIcon::Error);
        return {};
    }
    std::string summary = fmt::sprintf(texts::kFileRunSummary, files.departurePath, files.arrivalPath,
                                       counts.succeeded, 0, counts.outside);
    if (report.isOpen()) {
        writeReportEnd(report);
        if (!report.close()) {
            ui.message(fmt::sprintf("%s %s !", texts::kCannotWriteFile, files.reportPath), MessageIcon::Error);
            return {};
        }
        summary += fmt::sprintf(texts::kFileRunReportLine, files.reportPath);
    }
    ui.message(summary, MessageIcon::Information);
    return {FileRunOutcome::End::Written, counts.succeeded};
}

bool transformPoint(RunContext& context, int transformationType, const CCoor& departure, CCoor& arrival) {
    UserInterface& ui = context.ui;
    GridSelection grids{context.catalogue, context.geoidGrid, context.translationGrid, &ui};
    const Operation operation(context.catalogue, transformationType, departure, arrival);
    OperationCursor cursor(operation, grids);
    Outcome condition = operation.prepare(cursor, departure, arrival);
    if (condition == Outcome::OutsideTransformationGrid) {
        ui.message(withBounds(texts::kOutsideTransformationGridBounds, cursor.gridExtent()), MessageIcon::None);
        return false;
    }
    if (cursor.geoidSelection() == 0)
        ui.message(withBounds(texts::kOutsideGeoidGridBounds, cursor.gridExtent()), MessageIcon::None);
    if (const std::string question = extentQuestion(condition);
        !question.empty() && !ui.question(question, MessageIcon::Error, /*yesIsDefault=*/false))
        return false;

    condition = operation.finish(cursor, arrival);
    // Grid nodes without a number around the point: outside the grid, as found by the selection.
    if (condition == Outcome::OutsideTransformationGrid) {
        ui.message(withBounds(texts::kOutsideTransformationGridBounds, cursor.gridExtent()), MessageIcon::None);
        return false;
    }
    if (cursor.geoidSelection() == 1 && arrival.geoidPrecisionCode == kOutsideGeoidGrid)
        ui.message(withBounds(texts::kOutsideGeoidGridBounds, cursor.gridExtent()), MessageIcon::None);
    const bool chainError = condition == Outcome::ChainError;
    if (chainError) {
        ui.message(fmt::sprintf(texts::kChainError, cursor.chainStatus()), MessageIcon::None);
    } else {
        if (context.lastResult != nullptr) *context.lastResult = arrival;
        if (const std::string question = extentQuestion(condition);
            !question.empty() && !ui.question(question, MessageIcon::Error, /*yesIsDefault=*/false))
            return false;
    }
    logPoint(context, departure, arrival, transformationType);
    if (context.log != nullptr) context.log->flush();
    return !chainError;
}

}  // namespace zelvo
