#include "files/drivers.hpp"

#include <fmt/printf.h>

#include "files/data_formats.hpp"
#include "files/log_file.hpp"
#include "files/point_file.hpp"
#include "files/report.hpp"
#include "files/run_context.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/point_pipeline.hpp"
#include "platform/user_interface.hpp"
#include "resources/chain_texts.hpp"
#include "resources/driver_texts.hpp"
#include "resources/file_texts.hpp"
#include "resources/string_table.hpp"

namespace zelvo {
namespace {

GridSelection gridsOf(RunContext& context) {
    return GridSelection{context.catalogue, context.geoidGrid, context.translationGrid, &context.ui};
}

// The status a file run writes for a point's condition.
std::string_view fileStatus(PointCondition condition, const PointPipeline& pipeline, std::string& chainError) {
    switch (condition) {
        case PointCondition::None: return texts::kStatusOk;
        case PointCondition::OutsideTransformationGrid: return loadString(2233);
        case PointCondition::DepartureOutsideProjection: return texts::kDepartureOutsideProjection;
        case PointCondition::DepartureOutsideSystem: return texts::kDepartureOutsideSystem;
        case PointCondition::ArrivalOutsideProjection: return texts::kArrivalOutsideProjection;
        case PointCondition::ArrivalOutsideSystem: return texts::kArrivalOutsideSystem;
        case PointCondition::ChainError:
            chainError = fmt::sprintf(texts::kChainError, pipeline.chainStatus());
            if (chainError.ends_with('\n')) chainError.pop_back();
            return chainError;
    }
    return texts::kStatusOk;
}

// The question a single point outside an extent asks; empty for the other conditions.
std::string extentQuestion(PointCondition condition) {
    const char* text = nullptr;
    switch (condition) {
        case PointCondition::DepartureOutsideProjection: text = texts::kQuestionDepartureOutsideProjection; break;
        case PointCondition::DepartureOutsideSystem: text = texts::kQuestionDepartureOutsideSystem; break;
        case PointCondition::ArrivalOutsideProjection: text = texts::kQuestionArrivalOutsideProjection; break;
        case PointCondition::ArrivalOutsideSystem: text = texts::kQuestionArrivalOutsideSystem; break;
        default: return {};
    }
    return fmt::sprintf(texts::kContinueQuestion, text);
}

// A grid message with the bounds of an extent, in decimal degrees.
std::string withBounds(const char* format, const CZone& extent) {
    const auto degrees = [](const CCoor& corner, double value) { return convertAngle(value, corner.unit, kDecimalDegrees); };
    return fmt::sprintf(format, degrees(extent.min, extent.min.lon), degrees(extent.max, extent.max.lon),
                        degrees(extent.min, extent.min.lat), degrees(extent.max, extent.max.lat));
}

void logPoint(RunContext& context, const CCoor& departure, const CCoor& arrival, int transformationType) {
    if (context.log != nullptr) writeLogEntry(*context.log, departure, arrival, transformationType);
}

}  // namespace

void transformFile(RunContext& context, int transformationType, bool withConversion, const CCoor& departureTemplate,
                   const CCoor& arrivalTemplate, const FileRunFiles& files) {
    UserInterface& ui = context.ui;
    // Names cannot be made up: refused before any file is opened, so that none is touched.
    if (isDataFormat(files.departureFormat) && isDataFormat(files.arrivalFormat) &&
        !dataFormat(files.departureFormat).hasName && dataFormat(files.arrivalFormat).hasName) {
        ui.message(fmt::sprintf(texts::kNamesCannotBeInvented, std::string(dataFormatName(files.departureFormat)),
                                std::string(dataFormatName(files.arrivalFormat))),
                   MessageIcon::Error);
        return;
    }

    // Every file is written safely: a run that fails leaves the previous files as they were.
    Out_Fic report;
    if (context.reportRequested && !report.open(files.reportPath, /*replaceAtClose=*/true)) {
        ui.message(texts::kCannotOpenFileNamed + files.reportPath, MessageIcon::None);
        return;
    }
    In_Fic in;
    Out_Fic out;
    const auto refuse = [&](const std::string& path) {
        report.discard();
        out.discard();
        ui.message(texts::kCannotOpenFileNamed + path, MessageIcon::None);
    };
    if (!in.open(files.departurePath)) return refuse(files.departurePath);
    if (!out.open(files.arrivalPath, /*replaceAtClose=*/true)) return refuse(files.arrivalPath);
    out.annotated = true;
    in.dataFormat = files.departureFormat;
    out.dataFormat = files.arrivalFormat;
    CCoor departureStart = departureTemplate;
    CCoor arrivalStart = arrivalTemplate;
    departureStart.verticalMode = dataFormatVerticalMode(files.departureFormat);
    arrivalStart.verticalMode = dataFormatVerticalMode(files.arrivalFormat);

    const int step = in.countLines() / 100 + 1;
    ui.progressBegin(texts::kFileRunProgress, 100);
    GridSelection grids = gridsOf(context);
    PointPipeline pipeline(grids, transformationType, departureStart, arrivalStart);
    CCoor d, a;
    std::string chainError;
    int counter = 0, succeeded = 0, outside = 0;
    const auto writeLine = [&](std::string_view status) {
        out.writePoint(d, a, transformationType, status, withConversion);
        if (report.isOpen()) writeReportLine(report, d, a, in, out, transformationType, status);
    };
    for (;;) {
        d = departureStart;
        a = arrivalStart;
        if (++counter == step) {
            counter = 0;
            ui.progressStep();
        }
        const std::string_view read = in.readPoint(d);
        if (read == texts::kStatusEnd) break;
        if (read == texts::kStatusComment || read == texts::kStatusBlankLine) continue;
        // A refused line is written as such, and counted neither way.
        if (read != texts::kStatusOk) {
            writeLine(read);
            continue;
        }
        PointCondition condition = pipeline.prepare(d, a);
        if (condition == PointCondition::None) {
            condition = pipeline.transform(a);
            a.convergence = convertAngle(a.convergence, a.convergenceUnit, a.unit);
            a.convergenceUnit = a.unit;
            // Transformed points are logged, outside their arrival extents too.
            if (condition != PointCondition::ChainError) logPoint(context, d, a, transformationType);
            if (condition == PointCondition::None) ++succeeded;
        }
        const std::string_view status = fileStatus(condition, pipeline, chainError);
        if (status != texts::kStatusOk) ++outside;
        writeLine(status);
    }
    ui.progressEnd();
    if (context.log != nullptr) context.log->flush();

    out.writeEnd(texts::kStatusEnd);
    if (!out.close()) {
        report.discard();
        ui.message(fmt::sprintf("%s %s !", texts::kCannotWriteFile, files.arrivalPath), MessageIcon::Error);
        return;
    }
    std::string summary = fmt::sprintf(texts::kFileRunSummary, files.departurePath, files.arrivalPath, succeeded, 0,
                                       outside);
    if (report.isOpen()) {
        writeReportEnd(report);
        if (!report.close()) {
            ui.message(fmt::sprintf("%s %s !", texts::kCannotWriteFile, files.reportPath), MessageIcon::Error);
            return;
        }
        summary += fmt::sprintf(texts::kFileRunReportLine, files.reportPath);
    }
    ui.message(summary, MessageIcon::Information);
}

void transformPoint(RunContext& context, int transformationType, const CCoor& departure, CCoor& arrival) {
    UserInterface& ui = context.ui;
    GridSelection grids = gridsOf(context);
    PointPipeline pipeline(grids, transformationType, departure, arrival);
    PointCondition condition = pipeline.prepare(departure, arrival);
    if (condition == PointCondition::OutsideTransformationGrid) {
        ui.message(withBounds(texts::kOutsideTransformationGridBounds, pipeline.gridExtent()), MessageIcon::None);
        return;
    }
    if (pipeline.geoidSelection() == 0)
        ui.message(withBounds(texts::kOutsideGeoidGridBounds, pipeline.gridExtent()), MessageIcon::None);
    if (const std::string question = extentQuestion(condition);
        !question.empty() && !ui.question(question, MessageIcon::Error, /*yesIsDefault=*/false))
        return;

    condition = pipeline.transform(arrival);
    if (condition == PointCondition::ChainError) {
        ui.message(fmt::sprintf(texts::kChainError, pipeline.chainStatus()), MessageIcon::None);
    } else {
        if (context.lastResult != nullptr) *context.lastResult = arrival;
        if (const std::string question = extentQuestion(condition);
            !question.empty() && !ui.question(question, MessageIcon::Error, /*yesIsDefault=*/false))
            return;
    }
    logPoint(context, departure, arrival, transformationType);
    if (context.log != nullptr) context.log->flush();
}

}  // namespace zelvo
