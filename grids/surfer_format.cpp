// Surfer text grids (".grd", "DSAA"): the keyword, the numbers of columns and lines, the x, y
// and z ranges, then the values from the south-west corner eastward, row after row northward.

#include <fmt/printf.h>

#include "grids/grid.hpp"
#include "grids/header_fields.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {

int CGrille::readSurferHeader(TextSource& source, std::string& message) {
    header_fields::FreeFormatFields fields(source);
    // Surfer's binary grids share the extension; their bytes must not be read as text values.
    std::string keyword;
    if (!fields.word(keyword, 16) || keyword != "DSAA") {
        message = fmt::sprintf(texts::kSurferKeywordMissing, NAME);
        return -1;
    }
    const auto failure = [&]() { return header_fields::headerFieldFailure(*this, source, fields.count() + 1, message); };
    if (!fields.integer(N_COLUMNS) || !fields.integer(N_LINES)) return failure();
    double zMin = 0, zMax = 0;
    for (double* field : {&X_MIN, &X_MAX, &Y_MIN, &Y_MAX, &zMin, &zMax})
        if (!fields.real(*field)) return failure();
    // A single column or line has no spacing: the increment is left 0 for validation to refuse.
    X_INC = N_COLUMNS > 1 ? (X_MAX - X_MIN) / (N_COLUMNS - 1) : 0;
    Y_INC = N_LINES > 1 ? (Y_MAX - Y_MIN) / (N_LINES - 1) : 0;
    NODE_COORD_UNIT = INC_UNIT = kGridUnitDegrees;
    header_fields::applyOneValueSettings(*this, 4 /* SW2E2N */, kValuesReal8, 1);
    updateValueSize();
    return -10;
}

}  // namespace zelvo
