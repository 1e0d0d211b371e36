#pragma once
// The console batch: the command line parsed and run, in point mode or file mode.

#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "files/command_line.hpp"

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
    Completed,
    Refused,              // the help, or a command line or departure file refused before transforming
    ArrivalNotWritten,    // the arrival file could not be opened, or a write to it failed
    PointNotTransformed,  // point mode: the point's values could not be computed
};

// Runs the transformation the record describes. The reason of a failure has been shown or is left
// in sharedMessage.
BatchOutcome runBatch(RunContext& context, CZelvoCommandLine record, std::string& sharedMessage);

// Parses the program arguments (args[0] is the program path) and runs the batch they describe,
// writing its outcome to the console; -? shows consoleHelpText. Returns the exit code of the run: 2 when the arrival file
// could not be written or the point could not be transformed, else 0.
int runCommandLine(RunContext& context, const std::vector<std::string>& args, const std::string& consoleHelpText);

}  // namespace zelvo
