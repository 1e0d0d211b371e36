#include "app/application.hpp"
#include "platform/console.hpp"

int main(int argc, char** argv) {
    zelvo::CZelvoApp app;
    zelvo::createLogFile(app);
    zelvo::ConsoleUserInterface ui;
    return zelvo::startup(app, std::vector<std::string>(argv, argv + argc), ui);
}
