// Gravsoft grids (".gra"): six reals (latitude min and max, longitude min and max, latitude and
// longitude increments, in degrees), then the values from the north-west corner eastward, row
// after row southward.

#include "grids/grid.hpp"
#include "grids/grid_format.hpp"
#include "grids/header_fields.hpp"

namespace zelvo {

static int readGravsoftHeaderFields(GridHeader& header, TextSource& source, std::string& message) {
    header_fields::FreeFormatFields fields(source);
    for (double* field :
         {&header.Y_MIN, &header.Y_MAX, &header.X_MIN, &header.X_MAX, &header.Y_INC, &header.X_INC})
        if (!fields.real(*field))
            return header_fields::headerFieldFailure(header, source, fields.count() + 1, message);
    computeDimensions(header);
    header.NODE_COORD_UNIT = header.INC_UNIT = kGridUnitDegrees;
    header_fields::applyOneValueSettings(header, 2 /* NW2E2S */, kValuesReal8, 1);
    updateValueSize(header);
    return -10;
}

HeaderResult readGravsoftHeader(GridHeader& header, HeaderInput& input) {
    std::string message;
    const int status = readGravsoftHeaderFields(header, *input.text, message);
    return HeaderResult::from(status, message);
}

}  // namespace zelvo
