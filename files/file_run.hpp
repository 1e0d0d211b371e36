#pragma once
// The loop of a file run, shared by the batch and the window's file driver: every line of the
// departure file is read, handed to the driver's handler with its point, and what the handler
// writes reaches the arrival file, the report and the log in line order. Large files are
// transformed by several workers at once, each with its own current grids and pipeline; the
// files come out byte for byte as from one worker.

#include <functional>
#include <string>
#include <string_view>

#include "catalogue/records.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/point_pipeline.hpp"

namespace zelvo {

class In_Fic;
class Out_Fic;
struct RunContext;

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

// A line's point and its status as read ("OK", or why the line holds no point); comments and
// blank lines never reach the handler.
using FileRunHandler = std::function<void(FileRunWorker&, std::string_view status, CCoor& departure, CCoor& arrival)>;

// The counters of the run's workers, summed.
struct FileRunCounts {
    int succeeded = 0;
    int outside = 0;
};

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

FileRunCounts runFileLines(const FileRunSetup& setup, const FileRunHandler& handler);

// The number of workers for a file of this size: 1 for small files; otherwise ZELVO_THREADS when
// set to a positive number, else the number of cores.
int fileRunWorkers(long long fileBytes);

}  // namespace zelvo
