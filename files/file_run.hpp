#pragma once
// The loop of a file run, shared by the batch and the window's file driver: every line of the
// departure file is read, handed to the driver's handler with its point, and what the handler
// writes reaches the arrival file, the report and the log in line order. Large files are
// transformed by several workers at once, each with its own current grids and pipeline; the
// files come out byte for byte as from one worker.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "files/point_file.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/point_pipeline.hpp"
#include "resources/file_texts.hpp"

namespace zelvo {

struct RunContext;

// The lines read before any is handled.
inline constexpr std::size_t kFileRunLookAhead = PointPipeline::kLookAhead;

// What a handler works with: the pipeline of its worker, the streams to write to (the run's own,
// or the worker's, which the run appends in line order), and its counters.
struct FileRunWorker {
    PointPipeline& pipeline;
    Out_Fic& out;
    Out_Fic* report;  // none without a report
    Out_Fic* log;     // none without a log
    int succeeded = 0;
    int outside = 0;
    std::string chainError{};  // room for a chain error's status text
    // The points of the lines at hand.
    std::array<CCoor, kFileRunLookAhead> departures{}, arrivals{};
};

struct FileRunSetup {
    RunContext& context;
    int transformationType = 1;
    bool withConversion = false;
    const CCoor& departure;  // the templates every line starts from
    const CCoor& arrival;
    In_Fic& in;
    Out_Fic& out;
    Out_Fic* report = nullptr;
    Out_Fic* log = nullptr;
    int progressStep = 0;  // one progress step every so many lines read; 0 for none
};

// The counters of the run's workers, summed; interrupted when the user asked to stop (the run's
// user interface is asked after each block read), the lines after that point left unread.
struct FileRunCounts {
    int succeeded = 0;
    int outside = 0;
    bool interrupted = false;
};

// The points of the first lines a block wrote to the arrival file and to the report: a file that
// starts in the block takes its header from them, as it would on one thread.
struct FileRunFirstLines {
    std::optional<std::pair<CCoor, CCoor>> arrival, report;
};

// Transforms the lines of a block of the departure file (In_Fic::readBlock) into the worker's
// streams, noting the first lines written; returns the number of line feeds met. Called once per
// block: what runs per line is the caller's own, inlined code (runFileLines).
using FileRunBlockHandler = std::function<std::size_t(FileRunWorker&, std::string_view block, FileRunFirstLines&)>;
FileRunCounts runFileBlocks(const FileRunSetup& setup, const FileRunBlockHandler& handler);

// The file run with a handler of each line's point and its status as read ("OK", or why the line
// holds no point): handler(FileRunWorker&, std::string_view status, CCoor& departure, CCoor& arrival).
// Comments and blank lines never reach it.
template <typename Handler>
FileRunCounts runFileLines(const FileRunSetup& setup, Handler handler) {
    return runFileBlocks(setup, [&setup, &handler](FileRunWorker& w, std::string_view block, FileRunFirstLines& first) {
        // Lines are read a few at a time, so that the pipeline computes their departures'
        // geographic forms together (lookAhead); they are then handled one by one, in order.
        std::array<std::string_view, kFileRunLookAhead> statuses;
        std::size_t pending = 0;
        const auto handlePending = [&] {
            std::array<const CCoor*, kFileRunLookAhead> points{};
            std::size_t count = 0;
            for (std::size_t i = 0; i < pending; ++i)
                if (statuses[i] == texts::kStatusOk) points[count++] = &w.departures[i];
            if (count > 1) w.pipeline.lookAhead(std::span(points).first(count));
            for (std::size_t i = 0; i < pending; ++i) {
                CCoor& d = w.departures[i];
                CCoor& a = w.arrivals[i];
                const int outBefore = w.out.linesWritten;
                const int reportBefore = w.report != nullptr ? w.report->linesWritten : 0;
                handler(w, statuses[i], d, a);
                if (!first.arrival && w.out.linesWritten > outBefore) first.arrival.emplace(d, a);
                if (!first.report && w.report != nullptr && w.report->linesWritten > reportBefore)
                    first.report.emplace(d, a);
            }
            pending = 0;
        };
        const std::size_t lineFeeds = In_Fic::splitLines(block, [&](std::string_view line, bool tooLong) {
            CCoor& d = w.departures[pending];
            d = setup.departure;
            const std::string_view status = In_Fic::parseLine(line, tooLong, setup.in.dataFormat, d);
            if (status == texts::kStatusComment || status == texts::kStatusBlankLine) return;
            w.arrivals[pending] = setup.arrival;
            statuses[pending++] = status;
            if (pending == kFileRunLookAhead) handlePending();
        });
        handlePending();
        return lineFeeds;
    });
}

// The arrival convergence expressed in the arrival point's unit, as the file drivers write it.
inline void convergenceInArrivalUnit(CCoor& arrival) {
    if (arrival.convergenceUnit == arrival.unit) return;
    arrival.convergence = convertAngle(arrival.convergence, arrival.convergenceUnit, arrival.unit);
    arrival.convergenceUnit = arrival.unit;
}

// The status a point's condition gives: "OK", the grid and extent messages (the extent texts of
// the string table for the batch, the file driver's own), or the chain error, kept in chainError.
enum class ExtentTexts { StringTable, FileDriver };
std::string_view pointStatus(PointCondition condition, const PointPipeline& pipeline, std::string& chainError,
                             ExtentTexts extentTexts);

// The number of workers for a file of this size: 1 for small files; otherwise ZELVO_THREADS when
// set to a positive number (at most 4 per core, or 16 on smaller machines, and 256), else the
// number of cores.
int fileRunWorkers(long long fileBytes);

}  // namespace zelvo
