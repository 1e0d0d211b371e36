// Sub-grids of the EGM2008 geoid model (".egm"): the north latitude and west longitude of the
// first node, the latitude and longitude increments in minutes, the numbers of lines and
// columns, then the values from the north-west corner eastward, row after row southward.

#include "grids/grid.hpp"
#include "grids/grid_format.hpp"
#include "grids/header_fields.hpp"

namespace zelvo {

static int readEgmHeaderFields(GridHeader& header, TextSource& source, std::string& message) {
    header_fields::FreeFormatFields fields(source);
    const auto failure = [&]() {
        return header_fields::headerFieldFailure(header, source, fields.count() + 1, message);
    };
    for (double* field : {&header.Y_MAX, &header.X_MIN, &header.Y_INC, &header.X_INC})
        if (!fields.real(*field)) return failure();
    if (!fields.integer(header.N_LINES) || !fields.integer(header.N_COLUMNS)) return failure();
    constexpr double kMinutesPerDegree = 60;
    header.X_INC /= kMinutesPerDegree;
    header.Y_INC /= kMinutesPerDegree;
    header.X_MAX = header.X_MIN + (static_cast<double>(header.N_COLUMNS) - 1) * header.X_INC;
    header.Y_MIN = header.Y_MAX - (static_cast<double>(header.N_LINES) - 1) * header.Y_INC;
    header.NODE_COORD_UNIT = header.INC_UNIT = kGridUnitDegrees;
    header_fields::applyOneValueSettings(header, 2 /* NW2E2S */, kValuesReal8, 1);
    updateValueSize(header);
    return -10;
}

HeaderResult readEgmHeader(GridHeader& header, HeaderInput& input) {
    std::string message;
    const int status = readEgmHeaderFields(header, *input.text, message);
    return HeaderResult::from(status, message);
}

}  // namespace zelvo
