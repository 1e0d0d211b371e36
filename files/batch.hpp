#pragma once
// The console batch: the command line parsed and run.

#include <string>
#include <vector>

namespace zelvo {

class CZelvoApp;
class UserInterface;

// Parses the program arguments (args[0] is the program path) and runs the batch they describe,
// writing its outcome to the console.
void runCommandLine(CZelvoApp& app, const std::vector<std::string>& args, UserInterface& ui);

}  // namespace zelvo
