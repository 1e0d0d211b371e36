#include "app/application.hpp"
#include "platform/console.hpp"
#ifdef ZELVO_WINDOW_MODE
#include "ui/window_mode.hpp"
#endif

int main(int argc, char** argv) {
    zelvo::CZelvoApp app;
    zelvo::createLogFile(app);
    const std::vector<std::string> args(argv, argv + argc);
#ifdef ZELVO_WINDOW_MODE
    if (args.size() <= 1) return zelvo::ui::runWindowMode(app, args, argc, argv);
#endif
    zelvo::ConsoleUserInterface ui;
    return zelvo::startup(app, args, ui);
}
