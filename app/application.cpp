#include "app/application.hpp"

#include <fmt/printf.h>
#include <unistd.h>

#include "app/configuration.hpp"
#include "app/grid_check.hpp"
#include "app/window_mode.hpp"
#include "catalogue/loader.hpp"
#include "files/batch.hpp"
#include "files/command_line.hpp"
#include "platform/console.hpp"
#include "platform/paths.hpp"
#include "platform/profile.hpp"
#include "platform/user_interface.hpp"
#include "resources/app_texts.hpp"
#include "resources/catalogue_texts.hpp"
#include "resources/file_texts.hpp"

namespace zelvo {
namespace {

constexpr std::size_t kTitleBuffer = 80;
constexpr std::size_t kPathBuffer = 260;

// A failed start-up grid check ends the program, never as a success; the user's cancel is no failure.
int exitCodeOf(GridCheck check) {
    return check == GridCheck::Passed || check == GridCheck::Cancelled ? kExitSuccess : kExitStartFailed;
}

std::string programNameOf(const std::vector<std::string>& args) {
    return splitPath(args.empty() ? std::string("zelvo") : args[0]).baseName;
}

}  // namespace

std::string CZelvoApp::configurationDirectory() const { return splitPath(iniPath).directory; }

std::string CZelvoApp::resolvePath(const std::string& name) const {
    if (name.empty()) return workingDirectory;
    if (isAbsolutePath(name)) return name;
    const std::string inWorkingDirectory = workingDirectory + name;
    if (fileExists(inWorkingDirectory)) return inWorkingDirectory;
    const std::string besideConfiguration = configurationDirectory() + name;
    if (fileExists(besideConfiguration)) return besideConfiguration;
    const std::string inDefaultData = joinPath(embeddedDataDirectory(), name);
    if (fileExists(inDefaultData)) return inDefaultData;
    return inWorkingDirectory;
}

RunContext CZelvoApp::runContext(UserInterface& user) {
    return RunContext{catalogue, geoidGrid, translationGrid, user, reportRequested != 0,
                      log.isOpen() ? &log : nullptr, &lastResult};
}

FileRunOutcome CZelvoApp::transformFile(int transformationType, bool withConversion, const CCoor& departureTemplate,
                                        const CCoor& arrivalTemplate, const FileRunFiles& files) {
    if (ui == nullptr) return {};
    RunContext context = runContext(*ui);
    return zelvo::transformFile(context, transformationType, withConversion, departureTemplate, arrivalTemplate, files);
}

bool CZelvoApp::transformPoint(int transformationType, const CCoor& departure, CCoor& arrival) {
    if (ui == nullptr) return false;
    RunContext context = runContext(*ui);
    return zelvo::transformPoint(context, transformationType, departure, arrival);
}

std::optional<int> answerInformationRequest(const std::vector<std::string>& args, UserInterface& ui) {
    switch (informationRequest(args)) {
        case InformationRequest::None: return std::nullopt;
        case InformationRequest::Version: ui.write(fmt::sprintf(texts::kVersionLine, ZELVO_VERSION)); break;
        case InformationRequest::Help: {
            // The help text of "-?" when a configuration file is found; the option lines in any case.
            const ConfigurationSearch search = locateConfiguration(programNameOf(args));
            const std::string consoleHelp =
                search.found ? ProfileFile(*search.found).readString("AIDE", "Console", "", kPathBuffer) : "";
            ui.write(helpWithOptions(consoleHelp));
            break;
        }
    }
    return 0;
}

void createLogFile(CZelvoApp& app) { app.log.openForAppending("log.txt"); }

int startup(CZelvoApp& app, const std::vector<std::string>& args, UserInterface& ui, WindowMode* window) {
    app.ui = &ui;
    app.workingDirectory = currentDirectory();
    if (app.workingDirectory.empty()) return kExitStartFailed;
    if (app.workingDirectory.back() != '/') app.workingDirectory += '/';

    app.programName = programNameOf(args);

    app.configuration = locateConfiguration(app.programName);
    const ConfigurationSearch& search = app.configuration;
    if (!search.found) {
        ui.message(fmt::sprintf(texts::kConfigurationMissing, search.candidates.back()), MessageIcon::Error);
        return kExitStartFailed;
    }
    app.iniPath = *search.found;
    // A configuration that cannot be read as a whole (a pipe, a device, a file too large or not
    // readable) is named as the file that failed, before anything else is looked for.
    const std::string cannotReadConfiguration = std::string(texts::kCannotReadFile) + "\n" + app.iniPath;
    if (!isRegularFileWithin(app.iniPath, kMaxProfileBytes) || ::access(app.iniPath.c_str(), R_OK) != 0) {
        ui.message(cannotReadConfiguration, MessageIcon::Error);
        return kExitStartFailed;
    }

    const ProfileFile profile(app.iniPath);
    app.title = profile.readString("INFORMATIONS", "Titre", "", kTitleBuffer);
    const std::string data = profile.readString("DATA", "Data", "", kPathBuffer);
    const std::string help = profile.readString("AIDE", "Aide_html", "", kPathBuffer);
    app.consoleHelpText = profile.readString("AIDE", "Console", "", kPathBuffer);
    const std::string logName = profile.readString("LOG", "Log", "", kPathBuffer);
    const std::string examples = profile.readString("EXEMPLES", "Exemples", "", kPathBuffer);
    // An empty or garbled configuration names no catalogue: the file at fault is the configuration.
    if (data.empty()) {
        ui.message(cannotReadConfiguration, MessageIcon::Error);
        return kExitStartFailed;
    }

    app.dataPath = app.resolvePath(data);
    app.helpPath = app.resolvePath(help);
    app.logPath = app.resolvePath(logName);
    app.examplesPath = app.resolvePath(examples);

    const CatalogueLoadResult loaded = loadCatalogue(app.dataPath, app.catalogue);
    if (loaded.status != CatalogueLoadStatus::Loaded) {
        ui.message(loaded.message, MessageIcon::Error);
        return kExitStartFailed;
    }

    if (args.size() <= 1) {
        if (window == nullptr) {
            ui.write(std::string(texts::kWindowModeUnavailable) + "\n");
            return kExitStartFailed;
        }
        app.consoleMode = 0;
        window->createMainWindow(app);
        const GridCheck check = checkGrids(app, ui);
        if (check != GridCheck::Passed) return exitCodeOf(check);
        window->runMainWindow();
        return 0;
    }

    setConsoleTitle(app.title);
    ui.write(texts::kWelcome);
    app.consoleMode = 1;
    const GridCheck check = checkGrids(app, ui);
    if (check != GridCheck::Passed) return exitCodeOf(check);
    // The batch keeps no log.
    RunContext context = app.runContext(ui);
    context.log = nullptr;
    context.registryCatalogue = &app.catalogue;
    const int code = runCommandLine(context, args, app.consoleHelpText);
    // The closing text asks for a key only where one can be pressed.
    if (canWaitForKey()) {
        ui.write(fmt::sprintf("\n%s\n", texts::kPressAKey));
        waitForKey();
    } else {
        ui.write("\n");
    }
    return code;
}

}  // namespace zelvo
