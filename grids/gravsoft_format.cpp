// Gravsoft grids (".gra"): six reals (latitude min and max, longitude min and max, latitude and
// longitude increments, in degrees), then the values from the north-west corner eastward, row
// after row southward.

#include "grids/grid.hpp"
#include "grids/header_fields.hpp"

namespace zelvo {

int CGrille::readGravsoftHeader(TextSource& source, std::string& message) {
    header_fields::FreeFormatFields fields(source);
    for (double* field : {&Y_MIN, &Y_MAX, &X_MIN, &X_MAX, &Y_INC, &X_INC})
        if (!fields.real(*field)) return header_fields::headerFieldFailure(*this, source, fields.count() + 1, message);
    computeDimensions();
    NODE_COORD_UNIT = INC_UNIT = kGridUnitDegrees;
    header_fields::applyOneValueSettings(*this, 2 /* NW2E2S */, kValuesReal8, 1);
    updateValueSize();
    return -10;
}

}  // namespace zelvo
