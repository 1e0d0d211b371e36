#include "app/grid_check.hpp"

#include <fmt/printf.h>

#include "app/application.hpp"
#include "app/configuration.hpp"
#include "geodesy/grid_open_report.hpp"
#include "grids/grid.hpp"
#include "platform/paths.hpp"
#include "platform/user_interface.hpp"
#include "resources/app_texts.hpp"

namespace zelvo {
namespace {

// Opens the grid of one catalogue entry in full; on success the entry takes the name the grid
// now holds (a text grid's binary version). A grid found nowhere is reported and skipped: the
// transformations that do not need it stay available.
template <typename Grid, typename Entry>
GridCheck checkOne(const CZelvoApp& app, UserInterface& ui, Entry& entry) {
    const GridLocation location = locateGrid(app, entry.fileName);
    if (location.path.empty()) {
        std::string folders;
        for (const std::string& folder : location.searched) folders += (folders.empty() ? "" : ", ") + folder;
        ui.message(fmt::sprintf(texts::kGridAbsent, entry.fileName, folders), MessageIcon::Warning);
        return GridCheck::Passed;
    }
    Grid grid;
    grid.header.NAME = location.path;
    grid.header.sideFileFolder = location.sideFileFolder;
    const GridOpenResult result = openGridFor(grid, 0, &ui);
    grid.computeExtent();
    grid.release();
    if (!result.opened()) {
        ui.message(result.message, MessageIcon::Error);
        if (result.condition == GridOpenCondition::Cancelled) return GridCheck::Cancelled;
        return result.condition == GridOpenCondition::Fatal ? GridCheck::Fatal : GridCheck::Failed;
    }
    entry.fileName = grid.header.NAME;
    entry.sideFileFolder = location.sideFileFolder;
    return GridCheck::Passed;
}

}  // namespace

GridLocation locateGrid(const CZelvoApp& app, const std::string& fileName) {
    GridLocation location;
    if (isAbsolutePath(fileName)) {
        location.searched.push_back(splitPath(fileName).directory);
        if (fileExists(fileName)) location.path = fileName;
    } else {
        location.searched = {app.workingDirectory, app.configurationDirectory()};
        for (const std::string& folder : projDataFolders()) location.searched.push_back(folder);
        for (const std::string& folder : location.searched) {
            if (fileExists(joinPath(folder, fileName))) {
                location.path = joinPath(folder, fileName);
                break;
            }
        }
    }
    const std::string sideFile = splitPath(fileName).baseName + ".xml";
    for (const std::string& folder : {app.configurationDirectory(), embeddedDataDirectory()}) {
        if (fileExists(joinPath(folder, sideFile))) {
            location.sideFileFolder = folder;
            break;
        }
    }
    return location;
}

GridCheck checkGrids(CZelvoApp& app, UserInterface& ui) {
    for (Grid1DEntry& entry : app.catalogue.grids1D) {
        const GridCheck result = checkOne<CGrille1D>(app, ui, entry);
        if (result != GridCheck::Passed) return result;
    }
    for (Grid3DEntry& entry : app.catalogue.grids3D) {
        const GridCheck result = checkOne<CGrille3D>(app, ui, entry);
        if (result != GridCheck::Passed) return result;
    }
    return GridCheck::Passed;
}

}  // namespace zelvo
