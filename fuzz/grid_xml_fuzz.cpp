// The XML side file of a grid, arbitrary, beside a small valid native text grid.
#include "fuzz/fuzz_support.hpp"
#include "geodesy/grid_open_report.hpp"
#include "grids/grid.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = zelvo::fuzz::freshFolder();
    const std::string grid = "0 2 0 1 1 1 4 0 1 0 0\r\n0 1 2\r\n10 11 12\r\n";
    zelvo::fuzz::writeBytes(folder + "/g.mnt", reinterpret_cast<const std::uint8_t*>(grid.data()), grid.size());
    zelvo::fuzz::writeBytes(folder + "/g.xml", data, size);
    zelvo::clearGridCaches();
    zelvo::fuzz::SilentInterface ui;
    zelvo::CGrille1D g;
    g.header.NAME = folder + "/g.mnt";
    g.readXmlHeader();
    zelvo::CGrille1D full;
    full.header.NAME = folder + "/g.mnt";
    if (zelvo::openGridFor(full, 0, &ui).opened()) {
        std::vector<double> values;
        int code = 0;
        full.interpolate(3, {0.5, 0.5, 0.0}, values, code);
    }
    return 0;
}
