// The grid readers on arbitrary files: the first byte chooses the format (by the extension it
// gives the file: its low six bits, modulo the number of formats) and the side file that goes
// with it (bit 7: one that sets the layout and value type too; bit 6: one that only names the
// interpolation; neither: none), the rest is the file. When the header passes validation the
// values are read (in place, or through the binary version) and interpolated. Every format is
// covered, GTX and GeoTIFF included; the seeds hold NTV2 files of one and of two sub-grids.
#include <vector>

#include "fuzz/fuzz_support.hpp"
#include "geodesy/grid_open_report.hpp"
#include "grids/grid.hpp"

namespace {

constexpr const char* kExtensions[] = {".mnt", ".bin", ".gsb", ".gsa", ".gra", ".grd",
                                       ".asc", ".egm", ".dis", ".gtx", ".tif"};

constexpr const char* kSideFile =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<GRID_HEADER><LAYOUT>SW2N2E</LAYOUT>"
    "<VALUES_NUMBER>1</VALUES_NUMBER><VALUES_TYPE>REAL8</VALUES_TYPE><INTERPOLATION_TYPE>BILINEAR"
    "</INTERPOLATION_TYPE></GRID_HEADER>\n";
constexpr const char* kInterpolationOnly =
    "<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string folder = zelvo::fuzz::freshFolder();
    const std::string base = folder + "/g";
    const std::string path = base + kExtensions[(data[0] & 0x3F) % std::size(kExtensions)];
    zelvo::fuzz::writeBytes(path, data + 1, size - 1);
    if (data[0] & 0xC0) {
        const std::string xml = (data[0] & 0x80) ? kSideFile : kInterpolationOnly;
        zelvo::fuzz::writeBytes(base + ".xml", reinterpret_cast<const std::uint8_t*>(xml.data()), xml.size());
    }
    // Headers are cached per file name for a run; every input is a new file.
    zelvo::clearGridCaches();
    zelvo::fuzz::SilentInterface ui;
    zelvo::CGrille1D grid;
    grid.header.NAME = path;
    if (zelvo::openGridFor(grid, 0, &ui).opened()) {
        grid.computeExtent();
        std::vector<double> values;
        int code = 0;
        grid.nodeValues(0, 0, values, code);
        const double lon = (grid.extent.min.lon + grid.extent.max.lon) / 2;
        const double lat = (grid.extent.min.lat + grid.extent.max.lat) / 2;
        grid.interpolate(3, {lon, lat, 0.0}, values, code);
        grid.apply(3, {grid.extent.min.lon, grid.extent.max.lat, 0.0}, values, code, 4);
    }
    zelvo::clearGridCaches();
    zelvo::CGrille3D header;
    header.header.NAME = path;
    zelvo::openGridFor(header, 2, &ui);
    return 0;
}
