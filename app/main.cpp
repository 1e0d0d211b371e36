#include "app/application.hpp"
#include "platform/console.hpp"
#include "platform/temporary_files.hpp"
#ifdef ZELVO_WINDOW_MODE
#include "app/window_library.hpp"
#endif

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    // An interrupted run leaves no temporary file behind.
    zelvo::removeTemporaryFilesOnSignals();
    zelvo::ConsoleUserInterface ui;
    if (const auto code = zelvo::answerInformationRequest(args, ui)) return *code;
    zelvo::CZelvoApp app;
    zelvo::createLogFile(app);
#ifdef ZELVO_WINDOW_MODE
    if (args.size() <= 1) return zelvo::runWindowLibrary(app, args, argc, argv);
#endif
    return zelvo::startup(app, args, ui);
}
