#pragma once
// The start-up grid check: every grid file the catalogue lists is opened once, in full.

namespace zelvo {

class CZelvoApp;
class UserInterface;

// False when a grid could not be opened; its message has been shown.
bool checkGrids(CZelvoApp& app, UserInterface& ui);

}  // namespace zelvo
