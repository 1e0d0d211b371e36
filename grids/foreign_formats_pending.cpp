// Header readers of the foreign grid formats (NTV2, Gravsoft, Surfer, ESRI, EGM, DIS) that this
// version does not read yet. Each refuses the grid with a message naming its format; a reader
// replaces its stub here by a definition in a file of its own (grids/<format>_format.cpp).
// A text format's reader leaves the source at the start of its data section, which the shared
// TextDataReader then reads (rowEndMarker and valueSize set as the format needs).

#include <fmt/printf.h>

#include "grids/grid.hpp"
#include "grids/text_data.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

int notSupported(const CGrille& grid, std::string& message) {
    message = fmt::sprintf(texts::kGridFormatNotSupported, grid.NAME,
                           std::string(grid_vocabulary::kFormats[grid.GRID_TYPE]));
    return -1;
}

}  // namespace

int CGrille::readGravsoftHeader(TextSource&, std::string& message) {
    return notSupported(*this, message);
}
int CGrille::readSurferHeader(TextSource&, std::string& message) {
    return notSupported(*this, message);
}
int CGrille::readNtv2TextHeader(TextSource&, std::string& message) {
    return notSupported(*this, message);
}
int CGrille::readNtv2BinaryHeader(std::FILE*, long long, std::string& message) {
    return notSupported(*this, message);
}
int CGrille::readEsriHeader(TextSource&, std::string& message) {
    return notSupported(*this, message);
}
int CGrille::readEgmHeader(TextSource&, std::string& message) {
    return notSupported(*this, message);
}
int CGrille::readDisHeader(TextSource&, std::string& message) {
    return notSupported(*this, message);
}
std::string CGrille::loadNtv2BinaryNodes() {
    std::string message;
    notSupported(*this, message);
    return message;
}

}  // namespace zelvo
