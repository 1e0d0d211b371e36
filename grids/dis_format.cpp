// DIS grids (".dis"), the distribution format of an elevation database: one header line of
// tokens (the four corners, the increments, the units, the counts, the value range and the
// width of a value), one more line that is discarded, then fixed-width INTEGER4 values from the
// north-west corner eastward, each row ending with a line break.

#include <fmt/printf.h>

#include "grids/grid.hpp"
#include "grids/grid_format.hpp"
#include "grids/header_fields.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

constexpr std::size_t kLineBuffer = 2600;

}  // namespace

static int readDisHeaderFields(GridHeader& header, TextSource& source, std::string& message) {
    std::string line;
    if (!source.readLine(line, kLineBuffer)) {
        message = fmt::sprintf(texts::kTextHeaderTruncated, header.NAME);
        return -1;
    }
    // A longer line would leave its end to be taken as the discarded line and the values.
    if (line.size() == kLineBuffer - 1 && line.back() != '\n') {
        message = fmt::sprintf(texts::kGridHeaderLineTooLong, header.NAME, static_cast<int>(kLineBuffer) - 2);
        return -1;
    }
    int position = 0;
    std::string token;
    int result = 0;
    // The next token, which must be followed by another; on failure result is what to return.
    const auto next = [&](TokenKind kind) {
        const int read = CGrille::readToken(line, position, token, kind);
        if (read == 0) return true;
        if (read == -1) message = token;
        result = position;
        return false;
    };
    const auto real = [&](TokenKind kind, double& field) {
        if (!next(kind)) return false;
        header_fields::convertReal(token, field);
        return true;
    };

    const int orth = CGrille::readToken(line, position, token, TokenKind::Text);
    if (token != "ORTH") {
        message = texts::kDisOrthMissing;
        return -1;
    }
    if (orth != 0) return position;
    double nwX = 0, nwY = 0, neX = 0, neY = 0, swX = 0, swY = 0, seX = 0, seY = 0;
    for (double* corner : {&nwX, &nwY, &neX, &neY, &swX, &swY, &seX, &seY})
        if (!real(TokenKind::Real, *corner)) return result;
    if (swX != nwX || neY != nwY || seX != neX || seY != swY) {
        message = texts::kDisNotOrthogonal;
        return -1;
    }
    if (!real(TokenKind::Real, header.X_INC) || !real(TokenKind::RealForce, header.Y_INC)) return result;
    if (!next(TokenKind::Text)) return result;
    header.NODE_COORD_UNIT = header.INC_UNIT = token == "METRES" ? kGridUnitMeters : kGridUnitDegrees;
    if (!next(TokenKind::Integer)) return result;
    header_fields::convertInt(token, header.N_COLUMNS);
    if (!next(TokenKind::IntegerForce)) return result;
    header_fields::convertInt(token, header.N_LINES);
    double ignored = 0;
    if (!next(TokenKind::Text) || !real(TokenKind::Real, ignored) || !real(TokenKind::RealForce, ignored) || !next(TokenKind::Text))
        return result;
    if (!real(TokenKind::Real, header.VALUES_MIN) || !real(TokenKind::RealForce, header.VALUES_MAX) ||
        !next(TokenKind::Text))
        return result;
    // The width ends the line: whether more follows does not matter, but it must be a number.
    if (CGrille::readToken(line, position, token, TokenKind::Integer) == -1) {
        message = token;
        return -1;
    }
    header_fields::convertInt(token, header.valueSize);

    for (int c = source.get(); c >= 0 && c != '\n'; c = source.get()) {
    }
    header.X_MIN = nwX;
    header.X_MAX = neX;
    header.Y_MIN = swY;
    header.Y_MAX = nwY;
    header_fields::applyOneValueSettings(header, 2 /* NW2E2S */, kValuesInteger4, 0);
    header.rowEndMarker = 1;
    return -10;
}

HeaderResult readDisHeader(GridHeader& header, HeaderInput& input) {
    std::string message;
    const int status = readDisHeaderFields(header, *input.text, message);
    return HeaderResult::from(status, message);
}

}  // namespace zelvo
