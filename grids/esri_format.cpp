// ESRI ASCII grids (".asc"): keyword lines (ncols, nrows, xllcorner, yllcorner, cellsize and,
// last, NODATA_value), then the values from the north-west corner eastward, row after row
// southward. The nodes are the centres of the cells.

#include <fmt/printf.h>
#include <array>

#include "grids/grid.hpp"
#include "grids/grid_format.hpp"
#include "grids/header_fields.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

constexpr std::size_t kLineBuffer = 260;

struct Keyword {
    const char* name;
    TokenKind kind;
};
// NODATA_value, the last, ends the header.
constexpr std::array<Keyword, 6> kKeywords = {{
    {"ncols", TokenKind::Integer},
    {"nrows", TokenKind::Integer},
    {"xllcorner", TokenKind::Real},
    {"yllcorner", TokenKind::Real},
    {"cellsize", TokenKind::Real},
    {"NODATA_value", TokenKind::Integer},
}};
constexpr std::size_t kNodata = 5;

}  // namespace

static int readEsriHeaderFields(GridHeader& header, TextSource& source, std::string& message) {
    std::array<bool, kKeywords.size()> seen{};
    int columns = 0, lines = 0, nodata = 0;
    double xCorner = 0, yCorner = 0, cellSize = 0;
    std::string raw;
    std::string token;
    while (!seen[kNodata]) {
        // A file that ends before its NODATA_value line has no complete header.
        if (!source.readLine(raw, kLineBuffer)) break;
        const std::string line = header_fields::headerLine(raw);
        std::size_t begin = line.find_first_not_of(' ');
        if (begin == std::string::npos) continue;
        std::size_t end = line.find(' ', begin);
        if (end == std::string::npos) end = line.size();
        const std::string_view word = std::string_view(line).substr(begin, end - begin);
        std::size_t index = 0;
        while (index < kKeywords.size() && word != kKeywords[index].name) ++index;
        if (index == kKeywords.size()) continue;
        // The value is the last token of the line, read from the end of its keyword (writers
        // align values on different columns).
        int position = static_cast<int>(end);
        const int result = CGrille::readToken(line, position, token, kKeywords[index].kind);
        if (result == -1) {
            message = token;
            return -1;
        }
        if (result != 2 || token.empty()) return result != 2 ? position : static_cast<int>(line.size());
        switch (index) {
            case 0: header_fields::convertInt(token, columns); break;
            case 1: header_fields::convertInt(token, lines); break;
            case 2: header_fields::convertReal(token, xCorner); break;
            case 3: header_fields::convertReal(token, yCorner); break;
            case 4: header_fields::convertReal(token, cellSize); break;
            default: header_fields::convertInt(token, nodata); break;
        }
        seen[index] = true;
    }
    for (std::size_t k = 0; k < kKeywords.size(); ++k) {
        if (!seen[k]) {
            message = fmt::sprintf(texts::kEsriKeywordMissing, header.NAME, kKeywords[k].name);
            return -1;
        }
    }
    header.N_COLUMNS = columns;
    header.N_LINES = lines;
    header.X_INC = header.Y_INC = cellSize;
    header.X_MIN = xCorner + cellSize / 2;
    header.Y_MIN = yCorner + cellSize / 2;
    header.X_MAX = header.X_MIN + cellSize * (static_cast<double>(columns) - 1);
    header.Y_MAX = header.Y_MIN + cellSize * (static_cast<double>(lines) - 1);
    header.VALUE_UNK = nodata;
    header.NODE_COORD_UNIT = header.INC_UNIT = kGridUnitDegrees;
    header_fields::applyOneValueSettings(header, 2 /* NW2E2S */, kValuesInteger2, 1);
    updateValueSize(header);
    return -10;
}

HeaderResult readEsriHeader(GridHeader& header, HeaderInput& input) {
    std::string message;
    const int status = readEsriHeaderFields(header, *input.text, message);
    return HeaderResult::from(status, message);
}

}  // namespace zelvo
