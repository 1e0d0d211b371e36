#pragma once
// GDAL's command-line tools, an independent reader and writer of grid files, as the tests use
// them: reading the values of a raster at a point, and translating a raster to another format.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/number_text.hpp"
#include "support/test_support.hpp"

namespace zelvo::test {

// Where Debian's proj-data installs its grids.
inline const std::filesystem::path kProjGridFolder = "/usr/share/proj";
inline const std::string kGdalLocationInfo = "/usr/bin/gdallocationinfo";
inline const std::string kGdalTranslate = "/usr/bin/gdal_translate";

inline bool gdalAvailable() {
    return std::filesystem::exists(kGdalLocationInfo) && std::filesystem::exists(kGdalTranslate);
}

// The values of every band of a raster at a longitude and latitude in degrees (the pixel that
// holds the point), as GDAL reads them; empty when GDAL reads nothing there.
inline std::vector<double> gdalValuesAt(const std::string& path, double lonDegrees, double latDegrees) {
    RunOptions options;
    options.program = kGdalLocationInfo;
    const RunResult result = run({"-valonly", "-geoloc", path, formatFixed(lonDegrees, 12),
                                  formatFixed(latDegrees, 12)},
                                 options);
    std::vector<double> values;
    if (result.exitCode != 0) return values;
    std::size_t start = 0;
    while (start < result.out.size()) {
        std::size_t end = result.out.find('\n', start);
        if (end == std::string::npos) end = result.out.size();
        double value = 0;
        if (parseDouble(std::string_view(result.out).substr(start, end - start), value)) values.push_back(value);
        start = end + 1;
    }
    return values;
}

// gdal_translate with the given arguments; true when it succeeded.
inline bool gdalTranslate(const std::vector<std::string>& args) {
    RunOptions options;
    options.program = kGdalTranslate;
    std::vector<std::string> all{"-q"};
    all.insert(all.end(), args.begin(), args.end());
    return run(all, options).exitCode == 0;
}

}  // namespace zelvo::test
