#include "app/application.hpp"
#include "platform/console.hpp"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    zelvo::ConsoleUserInterface ui;
    if (const auto code = zelvo::answerInformationRequest(args, ui)) return *code;
    zelvo::CZelvoApp app;
    zelvo::createLogFile(app);
    return zelvo::startup(app, args, ui);
}
