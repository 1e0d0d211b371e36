// PROJ's grids of Debian's proj-data against PROJ's cs2cs on the same files, over a lattice of
// points covering each grid: the NTV2 grids through the grid transformation (selection, loading
// and datum shift, as the batch runs them), both ways, and the geoid grids in GTX and in GeoTIFF
// (written from the GTX by gdal_translate). The grids are copied into a temporary folder first.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

#include "catalogue/loader.hpp"
#include "geodesy/angles.hpp"
#include "geodesy/grid_selection.hpp"
#include "reference_tools.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

const fs::path kProjFolder = "/usr/share/proj";
constexpr double kMetresPerDegree = 111320.0;
const std::string kSideFile = "<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>";

// Copies a grid of PROJ's folder beside a side file into dir; the reason to skip otherwise.
std::string copyProjGrid(const TempDir& dir, const std::string& file, std::string& path) {
    if (!test::cs2csAvailable()) return "PROJ's cs2cs is not installed (Debian package proj-bin)";
    if (!fs::exists(kProjFolder / file)) return file + " is not in " + kProjFolder.string() + " (Debian package proj-data)";
    fs::copy_file(kProjFolder / file, dir.path() / file);
    writeFile(dir.path() / (fs::path(file).stem().string() + ".xml"), kSideFile);
    path = dir.file(file);
    return {};
}

// Horizontal distance in metres between two positions in degrees.
double metresBetween(double lon1, double lat1, double lon2, double lat2) {
    const double east = (lon1 - lon2) * kMetresPerDegree * std::cos(lat1 * kPi / 180.0);
    return std::hypot(east, (lat1 - lat2) * kMetresPerDegree);
}

struct Ntv2Case {
    std::string grid;
    std::string from, to;          // system names
    std::string fromEllipsoid;     // ELG fields: a b 1/f e²
    std::string toEllipsoid;
    std::string projFrom, projTo;  // the same ellipsoids for cs2cs
    bool accuracies;               // the grid gives accuracies (else every precision code is 0)
};

const Ntv2Case kNtv2Cases[] = {
    {"ntf_r93.gsb", "NTF", "RGF93", "6378249.2 6356515.0 293.466021294 0.006803487646300",
     "6378137.0 6356752.314140 298.257222101 0.006694380022901", "+a=6378249.2 +b=6356515", "+ellps=GRS80", true},
    {"BETA2007.gsb", "DHDN", "ETRS89", "6377397.155 6356078.962818 299.1528128 0.006674372231802",
     "6378137.0 6356752.314140 298.257222101 0.006694380022901", "+ellps=bessel", "+ellps=GRS80", false},
    {"nzgd2kgrid0005.gsb", "NZGD49", "NZGD2000", "6378388.0 6356911.946128 297.0 0.006722670022333",
     "6378137.0 6356752.314140 298.257222101 0.006694380022901", "+ellps=intl", "+ellps=GRS80", true},
    {"CHENYX06.gsb", "CH1903", "CH1903+", "6377397.155 6356078.962818 299.1528128 0.006674372231802",
     "6377397.155 6356078.962818 299.1528128 0.006674372231802", "+ellps=bessel", "+ellps=bessel", true},
};

// A lattice of 13 × 13 points strictly inside an extent (off the nodes), at 100 m.
std::vector<std::array<double, 3>> latticeIn(const CZone& extent, double inset) {
    std::vector<std::array<double, 3>> points;
    constexpr int kSteps = 12;
    const double west = extent.min.lon + inset, east = extent.max.lon - inset;
    const double south = extent.min.lat + inset, north = extent.max.lat - inset;
    for (int i = 0; i <= kSteps; ++i)
        for (int j = 0; j <= kSteps; ++j)
            points.push_back({west + (east - west) * (i + 0.37 * (j % 2)) / (kSteps + 0.37),
                              south + (north - south) * (j + 0.29 * (i % 3)) / (kSteps + 0.58), 100.0});
    return points;
}

class Ntv2AgainstProj : public ::testing::TestWithParam<Ntv2Case> {};

TEST_P(Ntv2AgainstProj, BothWaysWithinAMillimetre) {
    const Ntv2Case& c = GetParam();
    TempDir dir;
    std::string path;
    if (const std::string why = copyProjGrid(dir, c.grid, path); !why.empty()) ZELVO_MISSING_PREREQUISITE(why);

    // Systems 1 (departure of the grid) and 2, linked by the grid alone: no companion record.
    writeFile(dir.file("cat.dat"), "ELG 1 " + c.fromEllipsoid + " From\nELG 2 " + c.toEllipsoid +
                                       " To\nLGO 1 2 0.0 Greenwich\nREG 1 1 1 2D " + c.from + "\nREG 2 2 1 3D " +
                                       c.to + "\nGR3D " + path + " 1 2\n");
    Catalogue catalogue;
    ASSERT_EQ(loadCatalogue(dir.file("cat.dat"), catalogue).status, CatalogueLoadStatus::Loaded);
    CGrille1D geoidGrid;
    CGrille3D grid;
    GridSelection grids{catalogue, geoidGrid, grid, nullptr};

    CGrille header;
    header.header.NAME = path;
    ASSERT_EQ(header.open(2).message, "");
    header.computeExtent();
    const auto lattice =
        latticeIn(header.extent, std::min(header.header.X_INC, header.header.Y_INC) / 3600.0 / 2);

    const std::string gridFrom = "+proj=longlat " + c.projFrom + " +nadgrids=" + path;
    const std::string nullTo = "+proj=longlat " + c.projTo + " +nadgrids=@null";
    for (const bool forward : {true, false}) {
        const auto proj = forward ? test::runCs2cs(gridFrom, nullTo, lattice) : test::runCs2cs(nullTo, gridFrom, lattice);
        ASSERT_EQ(proj.size(), lattice.size()) << "cs2cs did not run";
        const CReg* departure = &catalogue.systems[forward ? 0 : 1];
        const CReg* arrival = &catalogue.systems[forward ? 1 : 0];
        double worst = 0.0;
        for (std::size_t k = 0; k < lattice.size(); ++k) {
            CCoor d;
            d.type = kGeographic;
            d.unit = kDecimalDegrees;
            d.lon = lattice[k][0];
            d.lat = lattice[k][1];
            d.h = lattice[k][2];
            d.verticalMode = kEllipsoidalHeight;
            d.sys.meridian = &catalogue.meridians[0];
            d.sys.system = departure;
            CCoor a = d;
            a.sys.system = arrival;
            CZone extent;
            ASSERT_EQ(select3DGrid(grids, d, a.sys, extent), 1) << d.lon << " " << d.lat;
            if (grid.loaded == 0) {
                ASSERT_TRUE(loadCurrentGrid(grids, CurrentGrid::Translation));
            }
            ASSERT_EQ(gridPointTransform(d, a, catalogue, nullptr, grid), 0);
            ASSERT_FALSE(std::isnan(proj[k][0])) << "cs2cs refused " << d.lon << " " << d.lat;
            worst = std::max(worst, metresBetween(a.lon, a.lat, proj[k][0], proj[k][1]));
            EXPECT_NEAR(a.h, 100.0, 1e-4) << "the ellipsoidal height is kept";
            if (c.accuracies)
                EXPECT_NE(a.precisionCode, 0) << "the grid's accuracies give the precision";
            else
                EXPECT_EQ(a.precisionCode, 0);
        }
        std::cout << "[ cs2cs    ] " << c.grid << (forward ? " forward" : " reverse") << ": max |ours - PROJ| "
                  << worst << " m over " << lattice.size() << " points\n";
        EXPECT_LT(worst, 0.001) << c.grid << (forward ? " forward" : " reverse");
    }
}

INSTANTIATE_TEST_SUITE_P(ProjData, Ntv2AgainstProj, ::testing::ValuesIn(kNtv2Cases),
                         [](const auto& info) { return fs::path(info.param.grid).stem().string(); });

// The undulation of a geoid grid at every point of a lattice over the globe, longitudes up to
// 180° east included (the grid's last column is one step short of it), against cs2cs.
void compareGeoid(const std::string& path, const std::string& label) {
    CGrille1D grid;
    grid.header.NAME = path;
    ASSERT_EQ(grid.open(0).message, "") << label;
    std::vector<std::array<double, 3>> lattice;
    for (int i = 0; i <= 40; ++i)
        for (int j = 0; j <= 20; ++j)
            lattice.push_back({-180.0 + 9.0 * i + (i == 40 ? 0.0 : 0.123 * (j % 3)), -88.7 + 8.87 * j, 0.0});
    for (int j = 0; j <= 20; ++j) lattice.push_back({179.9, -88.7 + 8.87 * j, 0.0});
    const std::string wgs84 = "+proj=longlat +ellps=WGS84 +towgs84=0,0,0";
    const auto proj = test::runCs2cs(wgs84, wgs84 + " +geoidgrids=" + path, lattice);
    ASSERT_EQ(proj.size(), lattice.size()) << "cs2cs did not run";
    double worst = 0.0;
    std::vector<double> values;
    for (std::size_t k = 0; k < lattice.size(); ++k) {
        int code = 0;
        ASSERT_EQ(grid.interpolate(3, lattice[k], values, code), 0) << lattice[k][0] << " " << lattice[k][1];
        // cs2cs gives the altitude of a point at ellipsoidal height 0: minus the undulation.
        worst = std::max(worst, std::fabs(values[0] + proj[k][2]));
        EXPECT_LT(std::fabs(values[0] + proj[k][2]), 0.001) << label << " at " << lattice[k][0] << " " << lattice[k][1];
    }
    std::cout << "[ cs2cs    ] " << label << ": max |ours - PROJ| " << worst << " m over " << lattice.size()
              << " points\n";
}

TEST(GeoidAgainstProj, Egm96InGtxAndInGeoTiff) {
    TempDir dir;
    std::string gtx;
    if (const std::string why = copyProjGrid(dir, "egm96_15.gtx", gtx); !why.empty()) ZELVO_MISSING_PREREQUISITE(why);
    compareGeoid(gtx, "egm96_15.gtx");

    if (!fs::exists("/usr/bin/gdal_translate")) ZELVO_MISSING_PREREQUISITE("GDAL's gdal_translate is not installed (gdal-bin)");
    // A striped file as GDAL writes it by default, and a tiled, compressed one with a predictor.
    const struct {
        std::string name;
        std::vector<std::string> options;
    } tiffs[] = {{"egm96_striped", {}},
                 {"egm96_tiled", {"-co", "TILED=YES", "-co", "COMPRESS=DEFLATE", "-co", "PREDICTOR=3"}}};
    for (const auto& t : tiffs) {
        std::vector<std::string> args{"-q", gtx, dir.file(t.name + ".tif")};
        args.insert(args.end(), t.options.begin(), t.options.end());
        test::RunOptions options;
        options.program = "/usr/bin/gdal_translate";
        ASSERT_EQ(test::run(args, options).exitCode, 0) << t.name;
        writeFile(dir.file(t.name + ".xml"), kSideFile);
        compareGeoid(dir.file(t.name + ".tif"), t.name + ".tif");
    }
}

}  // namespace
}  // namespace zelvo
