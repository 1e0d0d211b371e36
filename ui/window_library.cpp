// The entry point of the window library (libzelvo_window.so), which the program loads when it is
// started without arguments (app/window_library.hpp).

#include "app/window_library.hpp"
#include "ui/window_mode.hpp"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) int zelvo_run_window_mode(zelvo::CZelvoApp& app,
                                                                            const std::vector<std::string>& args,
                                                                            int& argc, char** argv) {
    return zelvo::ui::runWindowMode(app, args, argc, argv);
}

// The entry point has the type the program calls it through.
static_assert(std::is_same_v<decltype(&zelvo_run_window_mode), zelvo::WindowEntry>);
