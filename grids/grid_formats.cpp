// The table of grid formats: one line per format, in GRID_TYPE order. A new format takes the
// next number, a source file of its own for its readers, their declarations here, and its line.

#include <array>
#include <bit>

#include "grids/grid.hpp"

namespace zelvo {

// Header readers, each in the source file of its format.
HeaderResult readTextVrdHeader(GridHeader& header, HeaderInput& input);     // native_formats.cpp
HeaderResult readBinaryVrdHeader(GridHeader& header, HeaderInput& input);   // native_formats.cpp
HeaderResult readGravsoftHeader(GridHeader& header, HeaderInput& input);    // gravsoft_format.cpp
HeaderResult readSurferHeader(GridHeader& header, HeaderInput& input);      // surfer_format.cpp
HeaderResult readNtv2BinaryHeader(GridHeader& header, HeaderInput& input);  // ntv2_format.cpp
HeaderResult readNtv2TextHeader(GridHeader& header, HeaderInput& input);    // ntv2_format.cpp
HeaderResult readEsriHeader(GridHeader& header, HeaderInput& input);        // esri_format.cpp
HeaderResult readEgmHeader(GridHeader& header, HeaderInput& input);         // egm_format.cpp
HeaderResult readDisHeader(GridHeader& header, HeaderInput& input);         // dis_format.cpp
HeaderResult readGtxHeader(GridHeader& header, HeaderInput& input);         // gtx_format.cpp
HeaderResult readGeoTiffHeader(GridHeader& header, HeaderInput& input);     // geotiff_format.cpp
// Node readers.
std::string loadNtv2BinaryNodes(const GridHeader& header, std::shared_ptr<const GridNodeData>& nodes);
std::unique_ptr<ForeignNodeReader> openGtxNodes(const GridHeader& header, const std::string& path,
                                                std::string& message);
std::unique_ptr<ForeignNodeReader> openGeoTiffNodes(const GridHeader& header, const std::string& path,
                                                    std::string& message);

namespace {

using enum GridStorage;
constexpr bool kLittleEndian = std::endian::native == std::endian::little;
constexpr int kS = kGridUnitSeconds;
constexpr int kD = kGridUnitDegrees;
constexpr int kM = kGridUnitMeters;

// clang-format off
constexpr std::array kFormats = {
//  type, name as a side file gives it,          extension, chosen, storage, count with header,
//  coordinate unit, values unit, east to west, header reader, node loader, node reader
GridFormat{kFormatUndefined, "UNDEFINED",                         "",     true,  None,      false, kD, kM, 0, nullptr, nullptr, nullptr},
GridFormat{kFormatTextVrd,   "Grille texte VRD",                  ".mnt", true,  Text,      true,  kD, kM, 0, readTextVrdHeader, nullptr, nullptr},
GridFormat{kFormatBinaryVrd, "Grille binaire VRD",                ".bin", true,  InPlace,   true,  kD, kM, 0, readBinaryVrdHeader, loadBinaryNodes, nullptr},
GridFormat{kFormatGravsoft,  "Grille texte Gravsoft",             ".gra", true,  Text,      true,  kD, kM, 0, readGravsoftHeader, nullptr, nullptr},
GridFormat{kFormatSurfer,    "Grille texte Surfer",               ".grd", true,  Text,      true,  kD, kM, 0, readSurferHeader, nullptr, nullptr},
GridFormat{kFormatNtv2Little,"Grille NTV2 binaire little endian", ".gsb", kLittleEndian,  InPlace, false, kS, kS, 1, readNtv2BinaryHeader, loadNtv2BinaryNodes, nullptr},
GridFormat{kFormatNtv2Big,   "Grille NTV2 binaire big endian",    ".gsb", !kLittleEndian, InPlace, false, kS, kS, 1, readNtv2BinaryHeader, loadNtv2BinaryNodes, nullptr},
GridFormat{kFormatNtv2Text,  "Grille NTV2 texte",                 ".gsa", true,  Text,      true,  kS, kS, 1, readNtv2TextHeader, nullptr, nullptr},
GridFormat{kFormatEsri,      "Grille ESRI",                       ".asc", true,  Text,      true,  kD, kM, 0, readEsriHeader, nullptr, nullptr},
GridFormat{kFormatEgm,       "Grille EGM",                        ".egm", true,  Text,      true,  kD, kM, 0, readEgmHeader, nullptr, nullptr},
GridFormat{kFormatDis,       "Grille DIS",                        ".dis", true,  Text,      true,  kD, kM, 0, readDisHeader, nullptr, nullptr},
GridFormat{kFormatGtx,       "Grille GTX",                        ".gtx", true,  Converted, false, kD, kM, 0, readGtxHeader, nullptr, openGtxNodes},
GridFormat{kFormatGeoTiff,   "Grille GeoTIFF",                    ".tif", true,  Converted, false, kD, kM, 0, readGeoTiffHeader, nullptr, openGeoTiffNodes},
};
// clang-format on

constexpr bool inTypeOrder() {
    for (std::size_t k = 0; k < kFormats.size(); ++k)
        if (kFormats[k].type != static_cast<int>(k)) return false;
    return true;
}
static_assert(inTypeOrder(), "each format's line sits at the position of its GRID_TYPE");

constexpr std::array<std::string_view, kFormats.size()> namesOf() {
    std::array<std::string_view, kFormats.size()> names{};
    for (std::size_t k = 0; k < kFormats.size(); ++k) names[k] = kFormats[k].name;
    return names;
}
constexpr auto kNames = namesOf();

}  // namespace

std::span<const GridFormat> gridFormats() {
    return kFormats;
}

const GridFormat* gridFormatOf(int type) {
    if (type < 0 || type >= static_cast<int>(kFormats.size())) return nullptr;
    return &kFormats[static_cast<std::size_t>(type)];
}

std::span<const std::string_view> gridFormatNames() {
    return kNames;
}

}  // namespace zelvo
