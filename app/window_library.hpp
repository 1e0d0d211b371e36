#pragma once
// The window mode lives in its own shared library (libzelvo_window.so, with Qt), loaded only when
// the program is started without arguments, so that a console run never loads Qt. The library
// lies in ZELVO_WINDOW_RELATIVE_DIR under the folder above the executable's, in the build tree as
// after installation, as the default data does.

#include <string>
#include <vector>

namespace zelvo {

class CZelvoApp;

// The name of the function the window library exports, and its type: the start-up in window mode
// (zelvo::ui::runWindowMode), returning the process exit code.
inline constexpr const char* kWindowEntryName = "zelvo_run_window_mode";
using WindowEntry = int (*)(CZelvoApp& app, const std::vector<std::string>& args, int& argc, char** argv);

// Where the program looks for its window library.
std::string windowLibraryPath();

// Loads the window library and runs the window mode from it. When the library is missing or
// cannot be loaded, says so on the standard error, with how to use the console batch instead,
// and returns 1.
int runWindowLibrary(CZelvoApp& app, const std::vector<std::string>& args, int& argc, char** argv);

}  // namespace zelvo
