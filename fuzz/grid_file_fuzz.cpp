// The grid readers on arbitrary files: the first byte chooses the format (by the extension it
// gives the file), the rest is the file. A side file makes the header reach validation and, when
// it passes, the values be read through the binary version.
#include <cstdio>
#include <string>
#include <unistd.h>

#include <cstdint>
#include <vector>
#include "grids/grid.hpp"

namespace {

constexpr const char* kExtensions[] = {".mnt", ".bin", ".gsb", ".gsa", ".gra", ".grd", ".asc", ".egm", ".dis"};
constexpr std::size_t kFormats = sizeof kExtensions / sizeof kExtensions[0];

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string base = "/dev/shm/zelvo-grid-fuzz-" + std::to_string(::getpid());
    const std::string path = base + kExtensions[data[0] % kFormats];
    const std::string binaryVersion = base + ".bin";
    if (path != binaryVersion) std::remove(binaryVersion.c_str());
    writeBytes(path, data + 1, size - 1);
    static const char side[] =
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<GRID_HEADER>\n"
        "<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n</GRID_HEADER>\n";
    writeBytes(base + ".xml", reinterpret_cast<const std::uint8_t*>(side), sizeof side - 1);
    zelvo::clearGridCaches();
    zelvo::CGrille grid;
    grid.NAME = path;
    if (grid.open(1, 0).empty()) {
        std::vector<double> values;
        int code = 0;
        grid.nodeValues(0, 0, values, code);
        grid.interpolate(3, {grid.X_MIN, grid.Y_MIN, 0}, values, code);
    }
    std::remove(path.c_str());
    std::remove(binaryVersion.c_str());
    return 0;
}
