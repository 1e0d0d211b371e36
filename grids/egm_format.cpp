// Sub-grids of the EGM2008 geoid model (".egm"): the north latitude and west longitude of the
// first node, the latitude and longitude increments in minutes, the numbers of lines and
// columns, then the values from the north-west corner eastward, row after row southward.

#include "grids/grid.hpp"
#include "grids/header_fields.hpp"

namespace zelvo {

int CGrille::readEgmHeader(TextSource& source, std::string& message) {
    header_fields::FreeFormatFields fields(source);
    const auto failure = [&]() { return header_fields::headerFieldFailure(*this, source, fields.count() + 1, message); };
    for (double* field : {&Y_MAX, &X_MIN, &Y_INC, &X_INC})
        if (!fields.real(*field)) return failure();
    if (!fields.integer(N_LINES) || !fields.integer(N_COLUMNS)) return failure();
    constexpr double kMinutesPerDegree = 60;
    X_INC /= kMinutesPerDegree;
    Y_INC /= kMinutesPerDegree;
    X_MAX = X_MIN + (static_cast<double>(N_COLUMNS) - 1) * X_INC;
    Y_MIN = Y_MAX - (static_cast<double>(N_LINES) - 1) * Y_INC;
    NODE_COORD_UNIT = INC_UNIT = kGridUnitDegrees;
    header_fields::applyOneValueSettings(*this, 2 /* NW2E2S */, kValuesReal8, 1);
    updateValueSize();
    return -10;
}

}  // namespace zelvo
