#include "grids/header_fields.hpp"

#include <fmt/printf.h>
#include <climits>

#include "resources/grid_texts.hpp"

namespace zelvo::header_fields {

void applyOneValueSettings(GridHeader& grid, int layout, int valuesType, int separated) {
    grid.VALUES_NUMBER = 1;
    grid.TRANSLATION.assign(1, 0.0);
    grid.NODE_COORD_WRITTEN = 0;
    grid.CODE_PREC = 0;
    grid.VALUES_LOCATION = 0;
    grid.EAST_TO_WEST = 0;
    grid.VALUES_UNIT = kGridUnitMeters;
    grid.LAYOUT = layout;
    grid.VALUES_TYPE = valuesType;
    grid.SEP = separated;
    grid.rowEndMarker = 0;
    const long long nodes = static_cast<long long>(grid.N_COLUMNS) * grid.N_LINES;
    grid.N_NODES = nodes >= INT_MIN && nodes <= INT_MAX ? static_cast<int>(nodes) : 0;
}

int headerFieldFailure(const GridHeader& grid, TextSource& source, int field, std::string& message) {
    message = source.skipBlanks() ? fmt::sprintf(texts::kTextHeaderUnreadable, grid.NAME, field)
                                  : fmt::sprintf(texts::kTextHeaderTruncated, grid.NAME);
    return -1;
}

std::string headerLine(std::string line) {
    for (char& c : line)
        if (c == '\t') c = ' ';
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

}  // namespace zelvo::header_fields
