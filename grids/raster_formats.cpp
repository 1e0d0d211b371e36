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

std::string CGrille::applyRasterSettings(long long columns, long long lines, double xMin, double yMin, double xInc,
                                         double yInc, int layout, int valuesNumber, int valuesType) {
    // Columns that span the whole circle of longitude, one increment short of closing it.
    const bool aroundTheGlobe = xInc > 0 && std::fabs(static_cast<double>(columns) * xInc - 360.0) < 1e-6;
    wrapColumn = aroundTheGlobe ? 1 : 0;
    const long long storedColumns = columns + wrapColumn;
    if (columns <= 0 || lines <= 0 || storedColumns > INT_MAX / std::max(lines, 1LL))
        return fmt::sprintf(texts::kTooManyNodes, NAME, static_cast<int>(std::min<long long>(columns, INT_MAX)),
                            static_cast<int>(std::min<long long>(lines, INT_MAX)));
    N_COLUMNS = static_cast<int>(storedColumns);
    N_LINES = static_cast<int>(lines);
    N_NODES = N_COLUMNS * N_LINES;
    X_INC = xInc;
    Y_INC = yInc;
    X_MIN = xMin;
    Y_MIN = yMin;
    X_MAX = xMin + static_cast<double>(N_COLUMNS - 1) * xInc;
    Y_MAX = yMin + static_cast<double>(N_LINES - 1) * yInc;
    INC_UNIT = NODE_COORD_UNIT = kGridUnitDegrees;
    EAST_TO_WEST = 0;
    LAYOUT = layout;
    NODE_COORD_WRITTEN = 0;
    VALUES_NUMBER = valuesNumber;
    VALUES_TYPE = valuesType;
    updateValueSize();
    CODE_PREC = 0;
    rowEndMarker = 0;
    TRANSLATION.assign(static_cast<std::size_t>(valuesNumber), 0.0);
    return {};
}

std::unique_ptr<ForeignNodeReader> CGrille::openForeignNodes(const std::string& path, std::string& message) const {
    if (fileFormat == kFormatGtx) return raster::openGtxNodes(*this, path, message);
    return raster::openGeoTiffNodes(*this, path, message);
}

}  // namespace zelvo
