// Surfer text grids (".grd", "DSAA"): the keyword, the numbers of columns and lines, the x, y
// and z ranges, then the values from the south-west corner eastward, row after row northward.

#include <fmt/printf.h>

#include "grids/grid.hpp"
#include "grids/grid_format.hpp"
#include "grids/header_fields.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {

static int readSurferHeaderFields(GridHeader& header, TextSource& source, std::string& message) {
    header_fields::FreeFormatFields fields(source);
    // Surfer's binary grids share the extension; their bytes must not be read as text values.
    std::string keyword;
    if (!fields.word(keyword, 16) || keyword != "DSAA") {
        message = fmt::sprintf(texts::kSurferKeywordMissing, header.NAME);
        return -1;
    }
    const auto failure = [&]() {
        return header_fields::headerFieldFailure(header, source, fields.count() + 1, message);
    };
    if (!fields.integer(header.N_COLUMNS) || !fields.integer(header.N_LINES)) return failure();
    double zMin = 0, zMax = 0;
    for (double* field : {&header.X_MIN, &header.X_MAX, &header.Y_MIN, &header.Y_MAX, &zMin, &zMax})
        if (!fields.real(*field)) return failure();
    // A single column or line has no spacing: the increment is left 0 for validation to refuse.
    header.X_INC = header.N_COLUMNS > 1 ? (header.X_MAX - header.X_MIN) / (header.N_COLUMNS - 1) : 0;
    header.Y_INC = header.N_LINES > 1 ? (header.Y_MAX - header.Y_MIN) / (header.N_LINES - 1) : 0;
    header.NODE_COORD_UNIT = header.INC_UNIT = kGridUnitDegrees;
    header_fields::applyOneValueSettings(header, 4 /* SW2E2N */, kValuesReal8, 1);
    updateValueSize(header);
    return -10;
}

HeaderResult readSurferHeader(GridHeader& header, HeaderInput& input) {
    std::string message;
    const int status = readSurferHeaderFields(header, *input.text, message);
    return HeaderResult::from(status, message);
}

}  // namespace zelvo
