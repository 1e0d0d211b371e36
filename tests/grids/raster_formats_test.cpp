// GTX and GeoTIFF grids written by the tests: where their nodes lie, what a faulty file says, and
// where their binary version goes.

#include <gtest/gtest.h>
#include <tiffio.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "grid_fixtures.hpp"
#include "platform/paths.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

const std::string kSideFile = test::xmlSideFile({{"INTERPOLATION_TYPE", "BILINEAR"}});

void putBig(std::string& out, std::uint64_t bits, int bytes) {
    for (int k = bytes - 1; k >= 0; --k) out.push_back(static_cast<char>((bits >> (8 * k)) & 0xFF));
}

// A GTX file: the header (south, west, increments, rows, columns), then the values row after row
// from the south; values may hold fewer numbers than the header announces.
std::string gtxBytes(double south, double west, double inc, int rows, int columns, const std::vector<float>& values) {
    std::string out;
    for (double v : {south, west, inc, inc}) putBig(out, std::bit_cast<std::uint64_t>(v), 8);
    putBig(out, static_cast<std::uint32_t>(rows), 4);
    putBig(out, static_cast<std::uint32_t>(columns), 4);
    for (float v : values) putBig(out, std::bit_cast<std::uint32_t>(v), 4);
    return out;
}

// A one-band REAL4 TIFF of rows from the north; georeferenced (pixel scale 1, tie point of pixel
// (0, 0) at (10, 50)) unless geo is false, with the given raster type (1 area, 2 point, 0 none).
void writeTiff(const std::string& path, int width, int height, const std::vector<float>& values, bool geo,
               int rasterType) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 32);
    TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    if (geo) {
        static const TIFFFieldInfo fields[] = {
            {33550, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelPixelScaleTag")},
            {33922, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelTiepointTag")},
            {34735, -1, -1, TIFF_SHORT, FIELD_CUSTOM, 1, 1, const_cast<char*>("GeoKeyDirectoryTag")},
        };
        TIFFMergeFieldInfo(tif, fields, 3);
        const double scale[3] = {1, 1, 0};
        const double tiepoint[6] = {0, 0, 0, 10, 50, 0};
        TIFFSetField(tif, 33550, 3, scale);
        TIFFSetField(tif, 33922, 6, tiepoint);
        if (rasterType != 0) {
            const std::uint16_t keys[8] = {1, 1, 0, 1, 1025, 0, 1, static_cast<std::uint16_t>(rasterType)};
            TIFFSetField(tif, 34735, 8, keys);
        }
    }
    std::vector<float> data = values;
    ASSERT_GE(TIFFWriteEncodedStrip(tif, 0, data.data(), static_cast<tmsize_t>(data.size() * 4)), 0);
    TIFFClose(tif);
}

TEST(GtxGrids, NodesFromTheSouthAndTheirBinaryVersion) {
    TempDir dir;
    // 3 columns from 10° east, 2 rows from 40° north, 0.5° apart.
    writeFile(dir.file("g.gtx"), gtxBytes(40, 10, 0.5, 2, 3, {1, 2, 3, 11, 12, 13}));
    writeFile(dir.file("g.xml"), kSideFile);
    std::string message;
    test::RecordingUi ui;
    CGrille1D grid = test::openGrid<CGrille1D>(dir.file("g.gtx"), message, 0, &ui);
    ASSERT_EQ(message, "");
    EXPECT_EQ(grid.header.NAME, dir.file("g.gtx.bin"));
    EXPECT_TRUE(fs::exists(dir.file("g.gtx.bin")));
    EXPECT_NE(ui.written.find("Creation du fichier binaire"), std::string::npos);
    EXPECT_DOUBLE_EQ(grid.header.X_MIN, 10);
    EXPECT_DOUBLE_EQ(grid.header.X_MAX, 11);
    EXPECT_DOUBLE_EQ(grid.header.Y_MIN, 40);
    EXPECT_DOUBLE_EQ(grid.header.Y_MAX, 40.5);
    std::vector<double> values;
    int code = 0;
    const struct {
        double lon, lat, value;
    } rows[] = {{10, 40, 1}, {11, 40, 3}, {10, 40.5, 11}, {11, 40.5, 13}, {10.25, 40.25, 6.5}};
    for (const auto& r : rows) {
        ASSERT_EQ(grid.interpolate(3, {r.lon, r.lat, 0}, values, code), 0);
        EXPECT_DOUBLE_EQ(values[0], r.value) << r.lon << " " << r.lat;
    }
}

TEST(GtxGrids, AGlobalGridReachesTheAntimeridian) {
    TempDir dir;
    // Four columns of 90° from 180° (counted as -180°): the last column is 90° short of closing.
    writeFile(dir.file("w.gtx"), gtxBytes(-45, 180, 90, 2, 4, {0, 1, 2, 3, 10, 11, 12, 13}));
    writeFile(dir.file("w.xml"), kSideFile);
    std::string message;
    CGrille1D grid = test::openGrid<CGrille1D>(dir.file("w.gtx"), message);
    ASSERT_EQ(message, "");
    EXPECT_DOUBLE_EQ(grid.header.X_MIN, -180);
    EXPECT_DOUBLE_EQ(grid.header.X_MAX, 180);
    EXPECT_EQ(grid.header.N_COLUMNS, 5);
    std::vector<double> values;
    int code = 0;
    ASSERT_EQ(grid.interpolate(3, {135, -45, 0}, values, code), 0);
    EXPECT_DOUBLE_EQ(values[0], 1.5) << "between the last column and the copy of the first";
    ASSERT_EQ(grid.interpolate(3, {180, 45, 0}, values, code), 0);
    EXPECT_DOUBLE_EQ(values[0], 10);
}

TEST(GtxGrids, FaultyFilesAreRefusedWithTheirReason) {
    TempDir dir;
    const struct {
        std::string name, bytes, message;  // %s: the file name
    } cases[] = {
        {"cut header", gtxBytes(40, 10, 0.5, 2, 3, {}).substr(0, 30), "%s :\nL'en-tête du fichier binaire est incomplet"},
        {"values missing", gtxBytes(40, 10, 0.5, 2, 3, {1, 2, 3}),
         "%s :\nLe fichier est plus court que ne l'annonce son en-tête (64 octets attendus, 52 présents)"},
        {"no rows", gtxBytes(40, 10, 0.5, 0, 3, {}),
         "%s :\nLa grille annonce trop de nœuds (3 colonnes × 0 lignes)"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file("bad.gtx");
        writeFile(path, c.bytes);
        writeFile(dir.file("bad.xml"), kSideFile);
        clearGridCaches();
        std::string message;
        test::openGrid<CGrille1D>(path, message);
        std::string expected = c.message;
        expected.replace(expected.find("%s"), 2, path);
        EXPECT_EQ(message, expected) << c.name;
        EXPECT_FALSE(fs::exists(dir.file("bad.gtx.bin"))) << c.name;
    }
}

// A grid in one of PROJ's folders keeps that folder untouched: its binary version, with a copy of
// the side file shipped elsewhere, goes to the cache folder.
TEST(GtxGrids, ABinaryVersionOfAGridOfProjGoesToTheCache) {
    TempDir proj, shipped, cache;
    writeFile(proj.file("g.gtx"), gtxBytes(40, 10, 0.5, 2, 3, {1, 2, 3, 11, 12, 13}));
    writeFile(shipped.file("g.xml"), kSideFile);
    setenv("PROJ_DATA", proj.str().c_str(), 1);
    setenv("XDG_CACHE_HOME", cache.str().c_str(), 1);
    CGrille1D grid;
    grid.header.NAME = proj.file("g.gtx");
    grid.header.sideFileFolder = shipped.str();
    const std::string message = grid.open(0).message;
    unsetenv("PROJ_DATA");
    unsetenv("XDG_CACHE_HOME");
    ASSERT_EQ(message, "");
    EXPECT_EQ(splitPath(grid.header.NAME).directory, cache.str() + "/zelvo/");
    EXPECT_EQ(splitPath(grid.header.NAME).extension, ".bin");
    EXPECT_TRUE(
        fs::exists(splitPath(grid.header.NAME).directory + splitPath(grid.header.NAME).baseName + ".xml"));
    EXPECT_EQ(std::distance(fs::directory_iterator(proj.path()), fs::directory_iterator{}), 1)
        << "nothing is written beside the grid";
}

TEST(GeoTiffGrids, NodesAtPixelCentresOrCorners) {
    const struct {
        std::string name;
        int rasterType;
        double xMin, yMax;
    } cases[] = {
        {"pixel is area", 1, 10.5, 49.5},
        {"no raster type (area)", 0, 10.5, 49.5},
        {"pixel is point", 2, 10, 50},
    };
    for (const auto& c : cases) {
        TempDir dir;
        writeTiff(dir.file("t.tif"), 3, 2, {1, 2, 3, 11, 12, 13}, true, c.rasterType);
        writeFile(dir.file("t.xml"), kSideFile);
        std::string message;
        CGrille1D grid = test::openGrid<CGrille1D>(dir.file("t.tif"), message);
        ASSERT_EQ(message, "") << c.name;
        EXPECT_DOUBLE_EQ(grid.header.X_MIN, c.xMin) << c.name;
        EXPECT_DOUBLE_EQ(grid.header.Y_MAX, c.yMax) << c.name;
        EXPECT_DOUBLE_EQ(grid.header.Y_MIN, c.yMax - 1) << c.name;
        std::vector<double> values;
        int code = 0;
        // The first row of the file is the northern one.
        ASSERT_EQ(grid.interpolate(3, {c.xMin, c.yMax, 0}, values, code), 0) << c.name;
        EXPECT_DOUBLE_EQ(values[0], 1) << c.name;
        ASSERT_EQ(grid.interpolate(3, {c.xMin + 2, c.yMax - 1, 0}, values, code), 0) << c.name;
        EXPECT_DOUBLE_EQ(values[0], 13) << c.name;
    }
}

TEST(GeoTiffGrids, FaultyFilesAreRefusedWithTheirReason) {
    TempDir dir;
    writeTiff(dir.file("plain.tif"), 3, 2, {1, 2, 3, 11, 12, 13}, false, 0);
    writeFile(dir.file("noise.tif"), "II*\0garbage that is no image");
    std::string message;
    test::openGrid<CGrille1D>(dir.file("plain.tif"), message);
    EXPECT_EQ(message, dir.file("plain.tif") +
                           " :\nLe fichier GeoTIFF n'est pas une grille en longitude et latitude (pas de "
                           "ModelPixelScale et ModelTiepoint, ou une ModelTransformation)");
    test::openGrid<CGrille1D>(dir.file("noise.tif"), message);
    EXPECT_EQ(message.rfind(dir.file("noise.tif") + " :\nFichier GeoTIFF illisible (", 0), 0u) << message;
}

}  // namespace
}  // namespace zelvo
