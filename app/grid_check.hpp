#pragma once
// The start-up grid check: every grid file the catalogue lists is opened once, in full, so that
// each is known to be readable and every text grid has its binary version before work begins.

#include <string>
#include <vector>

namespace zelvo {

class CZelvoApp;
class UserInterface;

enum class GridCheck {
    Passed,  // every grid found opened (an absent one was reported); each entry names its file
    Failed,  // a grid could not be opened: its message has been shown, the program ends (code 1)
    Fatal,   // a grid condition that ends the program with exit code 1 (message shown)
    Cancelled,  // the user stopped the making of a binary version: the program ends (code 0)
};

GridCheck checkGrids(CZelvoApp& app, UserInterface& ui);

// Where a grid named by the catalogue lies: a relative name in the working folder, else beside
// the configuration file, else in PROJ's folders (PROJ_DATA, then /usr/share/proj).
struct GridLocation {
    std::string path;                   // empty when the file is in none of the folders
    std::vector<std::string> searched;  // the folders looked in, in order
    // The folder of the side file when the grid's folder has none: beside the configuration
    // file, else in the default data; empty when neither holds one.
    std::string sideFileFolder;
};
GridLocation locateGrid(const CZelvoApp& app, const std::string& fileName);

}  // namespace zelvo
