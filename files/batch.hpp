#pragma once
// The console batch: the command line parsed and run, in point mode or file mode.

#include <string>
#include <vector>

#include "files/command_line.hpp"

namespace zelvo {

class CZelvoApp;
class UserInterface;

// Runs the transformation the record describes. False when the run failed before transforming;
// the reason has been written to the console or left in sharedMessage.
bool runBatch(CZelvoApp& app, CZelvoCommandLine record, UserInterface& ui, std::string& sharedMessage);

// Parses the program arguments (args[0] is the program path) and runs the batch they describe,
// writing its outcome to the console.
void runCommandLine(CZelvoApp& app, const std::vector<std::string>& args, UserInterface& ui);

}  // namespace zelvo
