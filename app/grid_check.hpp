#pragma once
// The start-up grid check: every grid file the catalogue lists is opened once, in full, so that
// each is known to be readable and every text grid has its binary version before work begins.

namespace zelvo {

class CZelvoApp;
class UserInterface;

enum class GridCheck {
    Passed,  // every grid opened; each catalogue entry now names the file to open from then on
    Failed,  // a grid could not be opened: its message has been shown, the program ends (code 0)
    Fatal,   // a grid condition that ends the program with exit code 1 (message shown)
};

GridCheck checkGrids(CZelvoApp& app, UserInterface& ui);

}  // namespace zelvo
