// Settings and node delivery shared by the GTX and GeoTIFF grids.

#include "grids/raster_formats.hpp"

#include <fmt/printf.h>
#include <climits>
#include <cmath>

#include "resources/grid_texts.hpp"

namespace zelvo {
namespace raster {

bool RowNodeReader::next(std::vector<double>& values, std::string& message) {
    const int served = columns_ + (wrap_ ? 1 : 0);
    if (row_.empty() || column_ >= served) {
        row_.clear();
        if (!readRow(row_, message)) return false;
        column_ = 0;
    }
    // The extra node of a grid going round the globe repeats the first of its row.
    const int source = column_ < columns_ ? column_ : 0;
    const auto first = row_.begin() + static_cast<std::ptrdiff_t>(source) * valuesNumber_;
    values.assign(first, first + valuesNumber_);
    ++column_;
    return true;
}

}  // namespace raster

std::string applyRasterSettings(GridHeader& header, long long columns, long long lines, double xMin,
                                double yMin, double xInc, double yInc, int layout, int valuesNumber,
                                int valuesType) {
    // Columns that span the whole circle of longitude, one increment short of closing it.
    const bool aroundTheGlobe = xInc > 0 && std::fabs(static_cast<double>(columns) * xInc - 360.0) < 1e-6;
    header.wrapColumn = aroundTheGlobe ? 1 : 0;
    const long long storedColumns = columns + header.wrapColumn;
    if (columns <= 0 || lines <= 0 || storedColumns > INT_MAX / std::max(lines, 1LL))
        return fmt::sprintf(texts::kTooManyNodes, header.NAME,
                            static_cast<int>(std::min<long long>(columns, INT_MAX)),
                            static_cast<int>(std::min<long long>(lines, INT_MAX)));
    header.N_COLUMNS = static_cast<int>(storedColumns);
    header.N_LINES = static_cast<int>(lines);
    header.N_NODES = header.N_COLUMNS * header.N_LINES;
    header.X_INC = xInc;
    header.Y_INC = yInc;
    header.X_MIN = xMin;
    header.Y_MIN = yMin;
    header.X_MAX = xMin + static_cast<double>(header.N_COLUMNS - 1) * xInc;
    header.Y_MAX = yMin + static_cast<double>(header.N_LINES - 1) * yInc;
    header.INC_UNIT = header.NODE_COORD_UNIT = kGridUnitDegrees;
    header.EAST_TO_WEST = 0;
    header.LAYOUT = layout;
    header.NODE_COORD_WRITTEN = 0;
    header.VALUES_NUMBER = valuesNumber;
    header.VALUES_TYPE = valuesType;
    updateValueSize(header);
    header.CODE_PREC = 0;
    header.rowEndMarker = 0;
    header.TRANSLATION.assign(static_cast<std::size_t>(valuesNumber), 0.0);
    return {};
}

}  // namespace zelvo
