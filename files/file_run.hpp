#pragma once
// The loop of a file run, shared by the batch and the window's file driver: every line of the
// departure file is read, its point transformed by the run's one operation, and its line written
// to the arrival file, the report and the log in line order. Large files are transformed by
// several workers at once, sharing the operation, each with its own cursor (current grids); the
// files come out byte for byte as from one worker.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "files/point_file.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/coordinates.hpp"
#include "geodesy/operation.hpp"
#include "resources/file_texts.hpp"

namespace zelvo {

struct RunContext;

// The lines read before any is handled: their points are transformed together.
inline constexpr std::size_t kFileRunLookAhead = Operation::kTogether;

// What a worker works with: the run's operation and its own cursor, the streams to write to (the
// run's own, or the worker's, which the run appends in line order), and its counters.
struct FileRunWorker {
    const Operation& operation;
    OperationCursor& cursor;
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

// The texts of a point's outcome: the extent texts of the string table (the batch's), or the file
// driver's own.
enum class ExtentTexts { StringTable, FileDriver };

// How the lines of a run are written besides the arrival file (and the report, when the setup has
// one): whether transformed points are logged (when the setup has a log), whether lines that hold
// no point count as outside, and the texts of outcomes.
struct LineOutput {
    ExtentTexts extentTexts = ExtentTexts::StringTable;
    bool countRefusedLines = true;
};

// The counters of the run's workers, summed; interrupted when the user asked to stop (the run's
// user interface is asked after each block read), the lines after that point left unread.
struct FileRunCounts {
    int succeeded = 0;
    int outside = 0;
    bool interrupted = false;
};

// Transforms the departure file into the arrival file (and the report and log): every line read,
// its point transformed by the run's operation, and written with its status, in line order.
// Comments and blank lines are not written.
FileRunCounts runFileLines(const FileRunSetup& setup, const LineOutput& output);

// The status text of a point's outcome: "OK", the grid and extent messages, or the chain error,
// made in chainError.
std::string_view pointStatus(const PointResult& result, std::string& chainError, ExtentTexts extentTexts);

// The number of workers for a file of this size: 1 for small files; otherwise ZELVO_THREADS when
// set to a positive number (at most 4 per core, or 16 on smaller machines, and 256), else the
// number of cores.
int fileRunWorkers(long long fileBytes);

}  // namespace zelvo
