#pragma once
// The console batch: the command line parsed and run, in point mode or file mode.

#include <string>
#include <vector>

#include "files/command_line.hpp"

namespace zelvo {

class CZelvoApp;
class UserInterface;

enum class BatchOutcome {
    Completed,
    Refused,              // the help, or a command line or departure file refused before transforming
    ArrivalNotWritten,    // the arrival file could not be opened, or a write to it failed
    PointNotTransformed,  // point mode: the point's values could not be computed
};

// Runs the transformation the record describes. The reason of a failure has been shown or is left
// in sharedMessage.
BatchOutcome runBatch(CZelvoApp& app, CZelvoCommandLine record, UserInterface& ui, std::string& sharedMessage);

// Parses the program arguments (args[0] is the program path) and runs the batch they describe,
// writing its outcome to the console. Returns the exit code of the run: 2 when the arrival file
// could not be written or the point could not be transformed, else 0.
int runCommandLine(CZelvoApp& app, const std::vector<std::string>& args, UserInterface& ui);

}  // namespace zelvo
