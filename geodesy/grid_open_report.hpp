#pragma once
// Opening a grid on behalf of the user: the making of a binary version shown as progress (and
// stopped when the user cancels), and what a binary grid file holds instead of its keyword shown
// before the fault is reported. The grid layer itself never speaks to the user.

#include "grids/grid.hpp"

namespace zelvo {

class UserInterface;

// The wording of a binary grid file that does not start with its keyword: found is what the
// open returned in foundKeyword, path the file.
std::string unexpectedKeywordText(const std::string& found, const std::string& path);

// grid.open(mode) with ui (when given) told as above. The result's message is left for the
// caller to show.
GridOpenResult openGridFor(CGrille& grid, int mode, UserInterface* ui);

}  // namespace zelvo
