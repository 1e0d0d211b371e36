#pragma once
// The application object and start-up: working directory, program name, configuration file,
// start-up keys, catalogue, run mode.

#include <optional>
#include <string>
#include <vector>

#include "app/configuration.hpp"
#include "catalogue/catalogue.hpp"
#include "files/drivers.hpp"
#include "files/point_file.hpp"
#include "files/run_context.hpp"
#include "geodesy/coordinates.hpp"
#include "grids/grid.hpp"

namespace zelvo {

class UserInterface;
class WindowMode;

class CZelvoApp {
public:
    CZelvoApp() = default;
    CZelvoApp(const CZelvoApp&) = delete;
    CZelvoApp& operator=(const CZelvoApp&) = delete;
    ~CZelvoApp() = default;

    std::string workingDirectory;  // current directory at start-up, always ending with '/'
    std::string programName;       // base name of the program file, no folder, no extension
    std::string iniPath;           // the configuration file found
    ConfigurationSearch configuration;  // how it was found; where the window's settings are saved
    std::string title;             // INFORMATIONS/Titre
    std::string dataPath;          // catalogue data file
    std::string helpPath;          // stored, read by nothing
    std::string consoleHelpText;   // AIDE/Console as read: the console help
    std::string logPath;           // stored, read by nothing
    std::string examplesPath;      // stored, read by nothing
    int consoleMode = 0;           // 1 in console mode, 0 in window mode
    int reportRequested = 0;
    Catalogue catalogue;
    CGrille1D geoidGrid;        // the current geoid grid, loaded on demand by the drivers
    CGrille3D translationGrid;  // the current 3-D grid, loaded on demand by the drivers
    Out_Fic log;                // "log.txt", created empty when the program is loaded
    CCoor lastResult;           // the last single point transformed
    UserInterface* ui = nullptr;  // whoever the program talks to, set at start-up

    // Folder of the configuration file, ending with '/'.
    std::string configurationDirectory() const;
    // A configured relative name: in the working directory when a file of that name exists
    // there, otherwise beside the configuration file, otherwise in the default data (so that a
    // user's copy of the default configuration finds the default catalogue). Absolute names are
    // kept; an empty name gives the working directory itself.
    std::string resolvePath(const std::string& name) const;

    // What the drivers of a run work with: the catalogue, the current grids and the user.
    RunContext runContext(UserInterface& user);

    // The window-mode drivers, on the application's grids, log and last result.
    FileRunOutcome transformFile(int transformationType, bool withConversion, const CCoor& departureTemplate,
                                 const CCoor& arrivalTemplate, const FileRunFiles& files);
    bool transformPoint(int transformationType, const CCoor& departure, CCoor& arrival);
};

// Creates (or empties) "log.txt" in the current directory; done when the program is loaded.
void createLogFile(CZelvoApp& app);

// "--help" and "--version" (files/command_line.hpp): answered on the console before the program
// loads anything else (no log file, no grid check, no key wait); the exit code, 0. Nothing for
// any other command line, which start-up then runs.
std::optional<int> answerInformationRequest(const std::vector<std::string>& args, UserInterface& ui);

// Start-up and the whole run: the batch in console mode (with arguments), the main window in
// window mode (without, when a window mode is given; a build without one says so). args[0] is
// the program path. Returns the process exit code: 1 for a missing configuration file, a
// malformed catalogue line or a fatal grid condition at the start-up grid check (a binary grid
// of an unknown version, a binary version that can be written nowhere), else 0.
int startup(CZelvoApp& app, const std::vector<std::string>& args, UserInterface& ui, WindowMode* window = nullptr);

}  // namespace zelvo
