// The grids of the project's reference data (made from proj-data's grids by
// tests/data/make_reference.py), copied into a temporary folder (opening a text grid writes its
// binary version beside it): they open, validate, get their binary version, and interpolate to
// the values computed by hand from their text nodes, and, for the geoid, to the altitude that
// PROJ's vertical grid shift gives in the reference case table.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "geodesy/grid_open_report.hpp"
#include "grid_fixtures.hpp"
#include "platform/number_text.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Copies a reference grid and its side file into dir.
std::string copyReferenceGrid(const TempDir& dir, const std::string& base) {
    for (const char* ext : {".mnt", ".xml"})
        fs::copy_file(fs::path(test::referenceDir()) / "grids" / (base + ext), dir.path() / (base + ext));
    return dir.file(base + ".mnt");
}

// The nodes of a native text grid in layout NW2E2S (rows from the north, each from the west),
// read independently of the grid code: a header of six limits and increments, then numbers.
struct TextNodes {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0, xInc = 0, yInc = 0;
    int columns = 0, lines = 0, valuesPerNode = 0;
    std::vector<double> numbers;

    double node(int i, int j, int k) const {
        const int row = lines - 1 - j;
        return numbers.at((static_cast<std::size_t>(row) * columns + i) * valuesPerNode + k);
    }
    // Bilinear value k at (x, y), strictly inside the node rectangle.
    double bilinear(double x, double y, int k) const {
        const double u = (x - xMin) / xInc, v = (y - yMin) / yInc;
        const int i = static_cast<int>(std::floor(u)), j = static_cast<int>(std::floor(v));
        const double fx = u - i, fy = v - j;
        return node(i, j, k) * (1 - fx) * (1 - fy) + node(i, j + 1, k) * (1 - fx) * fy +
               node(i + 1, j, k) * fx * (1 - fy) + node(i + 1, j + 1, k) * fx * fy;
    }
};

TextNodes readTextNodes(const std::string& path, int valuesPerNode) {
    std::ifstream in(path, std::ios::binary);
    std::string header;
    std::getline(in, header);
    FieldScanner h(header);
    TextNodes t;
    t.valuesPerNode = valuesPerNode;
    h.readDouble(t.xMin);
    h.readDouble(t.xMax);
    h.readDouble(t.yMin);
    h.readDouble(t.yMax);
    h.readDouble(t.xInc);
    h.readDouble(t.yInc);
    t.columns = static_cast<int>(std::lround((t.xMax - t.xMin) / t.xInc)) + 1;
    t.lines = static_cast<int>(std::lround((t.yMax - t.yMin) / t.yInc)) + 1;
    const std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    FieldScanner data(rest);
    double value = 0;
    while (data.readDouble(value)) t.numbers.push_back(value);
    return t;
}

TEST(ReferenceGrids, GeoidOpensValidatesAndInterpolates) {
    TempDir dir;
    const std::string path = copyReferenceGrid(dir, "geoid_fr_egm96");
    test::RecordingUi ui;
    CGrille1D grid;
    grid.header.NAME = path;
    ASSERT_EQ(openGridFor(grid, 0, &ui).message, "");
    EXPECT_EQ(grid.header.NAME, dir.file("geoid_fr_egm96.mnt.bin"));
    EXPECT_TRUE(fs::exists(dir.file("geoid_fr_egm96.mnt.bin")));
    EXPECT_EQ(ui.written.rfind("Creation du fichier binaire  " + dir.file("geoid_fr_egm96.mnt.bin") + " ...", 0),
              0u);
    EXPECT_EQ(ui.steps, 100) << "160401 nodes: a step every 1604 nodes";
    EXPECT_EQ(grid.header.N_COLUMNS, 421);
    EXPECT_EQ(grid.header.N_LINES, 381);
    EXPECT_EQ(grid.header.LAYOUT, 2);
    EXPECT_EQ(grid.header.INTERPOLATION_TYPE, kInterpolationBilinear);
    EXPECT_EQ(grid.header.DESC, "Geoide EGM96 sur la France");
    grid.computeExtent();
    EXPECT_DOUBLE_EQ(grid.extent.min.lon, -5.5);
    EXPECT_DOUBLE_EQ(grid.extent.max.lat, 51.5);

    const TextNodes nodes = readTextNodes(path, 1);
    ASSERT_EQ(nodes.numbers.size(), 160401u);
    const struct {
        double lon, lat;
    } points[] = {{2.35, 48.85},     {-4.4861, 48.3904}, {7.2619, 43.7102},
                  {5.3698, 43.2965}, {-1.5536, 47.2184}, {0.0, 45.0}};
    for (const auto& p : points) {
        std::vector<double> values;
        int code = -1;
        ASSERT_EQ(grid.interpolate(3, {p.lon, p.lat, 0}, values, code), 0);
        EXPECT_NEAR(values[0], nodes.bilinear(p.lon, p.lat, 0), 1e-9) << p.lon << " " << p.lat;
        EXPECT_GT(values[0], 30);
        EXPECT_LT(values[0], 60);
        EXPECT_EQ(code, 0);
    }
    // PROJ's vertical grid shift on this grid at Paris: the altitude of h 100 m in the case table.
    std::vector<double> values;
    int code = 0;
    ASSERT_EQ(grid.interpolate(3, {2.35, 48.85, 0}, values, code), 0);
    double altitude = 0;
    for (const test::ReferenceCase& c : test::loadReferenceCases(test::referenceDir() + "/cases.tsv"))
        if (c.id == "geoid_rgf_h_alt") altitude = c.expected.at(3);
    EXPECT_NEAR(100 - values[0], altitude, 0.001);

    // The next open reuses the binary version.
    test::RecordingUi again;
    CGrille1D second;
    second.header.NAME = path;
    ASSERT_EQ(openGridFor(second, 0, &again).message, "");
    EXPECT_EQ(again.written, "");
    EXPECT_EQ(second.header.NAME, grid.header.NAME);
}

TEST(ReferenceGrids, TranslationGridOpensValidatesAndInterpolates) {
    TempDir dir;
    const std::string path = copyReferenceGrid(dir, "ntf_rgf93_3d");
    CGrille3D grid;
    grid.header.NAME = path;
    ASSERT_EQ(grid.open(0).message, "");
    EXPECT_EQ(grid.header.NAME, dir.file("ntf_rgf93_3d.mnt.bin"));
    EXPECT_EQ(grid.header.VALUES_NUMBER, 3);
    EXPECT_EQ(grid.header.N_COLUMNS, 156);
    EXPECT_EQ(grid.header.N_LINES, 111);
    EXPECT_EQ(grid.header.SYSTEM_F, "NTF");
    EXPECT_EQ(grid.header.MAJOR_T, 6378137.0);

    const TextNodes nodes = readTextNodes(path, 3);
    ASSERT_EQ(nodes.numbers.size(), 156u * 111u * 3u);
    const struct {
        double lon, lat;
    } points[] = {{2.35, 48.85}, {-4.4861, 48.3904}, {7.2619, 43.7102}, {3.05, 50.63}, {1.44, 43.6}};
    for (const auto& p : points) {
        std::vector<double> values;
        int code = -1;
        ASSERT_EQ(grid.interpolate(3, {p.lon, p.lat, 0}, values, code), 0);
        ASSERT_EQ(values.size(), 3u);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(values[k], nodes.bilinear(p.lon, p.lat, k), 1e-9) << p.lon << " " << k;
        // The geocentric translation NTF to RGF93 is about (-168, -60, 320) m over France.
        EXPECT_NEAR(values[0], -168, 5);
        EXPECT_NEAR(values[1], -60, 5);
        EXPECT_NEAR(values[2], 320, 5);
    }
    // The 3-D grid read header-only, as the grid selection does.
    CGrille3D header;
    header.header.NAME = grid.header.NAME;
    ASSERT_EQ(header.open(2).message, "");
    EXPECT_FALSE(header.hasNodeData());
    EXPECT_EQ(header.loaded, 1);
}

}  // namespace
}  // namespace zelvo
