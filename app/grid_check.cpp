#include "app/grid_check.hpp"

#include "app/application.hpp"
#include "grids/grid.hpp"
#include "platform/user_interface.hpp"

namespace zelvo {
namespace {

// Opens the grid of one catalogue entry in full; on success the entry takes the name the grid
// now holds (a text grid's binary version).
template <typename Grid>
GridCheck checkOne(const CZelvoApp& app, UserInterface& ui, std::string& fileName) {
    Grid grid;
    grid.NAME = app.resolvePath(fileName);
    const std::string message = grid.open(0, &ui);
    grid.computeExtent();
    grid.release();
    if (!message.empty()) {
        ui.message(message, MessageIcon::Error);
        return grid.fatalExitCode() != 0 ? GridCheck::Fatal : GridCheck::Failed;
    }
    fileName = grid.NAME;
    return GridCheck::Passed;
}

}  // namespace

GridCheck checkGrids(CZelvoApp& app, UserInterface& ui) {
    for (Grid1DEntry& entry : app.catalogue.grids1D) {
        const GridCheck result = checkOne<CGrille1D>(app, ui, entry.fileName);
        if (result != GridCheck::Passed) return result;
    }
    for (Grid3DEntry& entry : app.catalogue.grids3D) {
        const GridCheck result = checkOne<CGrille3D>(app, ui, entry.fileName);
        if (result != GridCheck::Passed) return result;
    }
    return GridCheck::Passed;
}

}  // namespace zelvo
