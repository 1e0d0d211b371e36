#pragma once
// The console batch: the command line parsed and run, in point mode or file mode.

#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "files/command_line.hpp"
#include "geodesy/coordinates.hpp"

namespace zelvo {

struct RunContext;

// The departure and arrival points of a command line: systems, types, units and point values.
struct BatchPoints {
    CCoor departure;
    CCoor arrival;
};
BatchPoints buildPoints(const CZelvoCommandLine& record, const Catalogue& catalogue);

// The values of a point-mode result as the console shows them, labelled with -v.
std::string pointResult(const CZelvoCommandLine& record, const CCoor& arrival);

enum class BatchOutcome {
    Completed,            // what was asked was done (the help shown, the point or the file transformed)
    Refused,              // the command line was refused before anything was transformed
    DepartureNotRead,     // the departure file could not be opened
    ArrivalNotWritten,    // the arrival file could not be opened, or a write to it failed
    PointNotTransformed,  // point mode: the point's values could not be computed
};

// The exit codes of the program: 0 for a run that did what was asked (a file whose bad lines were
// written as error lines is one), a code of its own for each kind of failure.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitStartFailed = 1,     // configuration, catalogue or start-up grid check: nothing could start
    kExitNotTransformed = 2,  // the arrival file was not written, or the point not transformed
    kExitRefused = 3,         // the command line was refused
    kExitDepartureUnread = 4, // the departure file could not be read
};

// Runs the transformation the record describes. The reason of a failure has been shown or is left
// in sharedMessage.
BatchOutcome runBatch(RunContext& context, CZelvoCommandLine record, std::string& sharedMessage);

// Parses the program arguments (args[0] is the program path) and runs the batch they describe,
// writing its outcome to the console; -? shows consoleHelpText. Returns the run's exit code.
int runCommandLine(RunContext& context, const std::vector<std::string>& args, const std::string& consoleHelpText);

}  // namespace zelvo
