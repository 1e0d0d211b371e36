// The grid object: the eight node layouts, nodes outside the grid, unknown values read as 0,
// the extent, the format from the file name and the table of formats, and copies.

#include <gtest/gtest.h>

#include <set>

#include "grid_fixtures.hpp"

namespace zelvo {
namespace {

using test::TempDir;

// Each layout's stored order of the nodes of a 3 × 2 grid, read from its name: start corner,
// inner direction, outer direction.
TEST(GridLayout, EveryLayoutStoresNodesInTheOrderItsNameSays) {
    using Node = std::pair<int, int>;
    const struct {
        std::string name;
        std::vector<Node> order;
    } cases[] = {
        {"SW2N2E", {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}},
        {"NW2E2S", {{0, 1}, {1, 1}, {2, 1}, {0, 0}, {1, 0}, {2, 0}}},
        {"NW2S2E", {{0, 1}, {0, 0}, {1, 1}, {1, 0}, {2, 1}, {2, 0}}},
        {"SW2E2N", {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}},
        {"SE2N2W", {{2, 0}, {2, 1}, {1, 0}, {1, 1}, {0, 0}, {0, 1}}},
        {"NE2W2S", {{2, 1}, {1, 1}, {0, 1}, {2, 0}, {1, 0}, {0, 0}}},
        {"NE2S2W", {{2, 1}, {2, 0}, {1, 1}, {1, 0}, {0, 1}, {0, 0}}},
        {"SE2W2N", {{2, 0}, {1, 0}, {0, 0}, {2, 1}, {1, 1}, {0, 1}}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        // Node (i, j) holds 10 i + j and the code 100 + 10 i + j.
        std::string data;
        for (const auto& [i, j] : c.order)
            data += std::to_string(10 * i + j) + " " + std::to_string(100 + 10 * i + j) + "\r\n";
        std::string message;
        // The header names layout 1; the side file's name wins.
        const CGrille grid =
            test::openGrid(test::writeTextGrid(dir, "l", "0 2 0 1 1 1 1 0 1 1 0", data,
                                               {{"LAYOUT", c.name}, {"INTERPOLATION_TYPE", "BILINEAR"}}),
                           message);
        ASSERT_EQ(message, "") << c.name;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 2; ++j) {
                std::vector<double> values;
                int code = 0;
                grid.nodeValues(i, j, values, code);
                EXPECT_EQ(values, std::vector<double>{10.0 * i + j}) << c.name << " node " << i << "," << j;
                EXPECT_EQ(code, 100 + 10 * i + j) << c.name;
            }
        }
    }
    EXPECT_EQ(storedPosition(8, 0, 0, 3, 2), 2);
    EXPECT_EQ(storedPosition(8, 2, 1, 3, 2), 3);
}

TEST(GridNodes, OutsideNodesReadAsZeroAndUnknownsAsZeroOnRequest) {
    TempDir dir;
    std::string message;
    const CGrille grid = test::openGrid(
        test::writeTextGrid(
            dir, "o", "0 2 0 1 1 1 4 0 1 1 0", "5 1 5 2 5 3\r\n-9999 4 5 5 5 6\r\n",
            {{"VALUE_UNK", "-9999"}, {"VALUE_UNK_TO_ZERO", "YES"}, {"INTERPOLATION_TYPE", "BILINEAR"}}),
        message);
    ASSERT_EQ(message, "");
    for (const auto& [i, j] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}}) {
        std::vector<double> values;
        int code = -1;
        grid.nodeValues(i, j, values, code);
        EXPECT_EQ(values, std::vector<double>{0.0}) << i << "," << j;
        EXPECT_EQ(code, 0);
    }
    std::vector<double> values;
    int code = 0;
    grid.nodeValues(0, 1, values, code);
    EXPECT_EQ(values, std::vector<double>{0.0});
    EXPECT_EQ(code, 4);

    TempDir kept;
    const CGrille keeping = test::openGrid(
        test::writeTextGrid(kept, "o", "0 2 0 1 1 1 4 0 1 1 0", "5 1 5 2 5 3\r\n-9999 4 5 5 5 6\r\n",
                            {{"VALUE_UNK", "-9999"}, {"INTERPOLATION_TYPE", "BILINEAR"}}),
        message);
    ASSERT_EQ(message, "");
    keeping.nodeValues(0, 1, values, code);
    EXPECT_EQ(values, std::vector<double>{-9999.0});
}

TEST(GridExtent, LimitsInDegreesOrSecondsOfValues) {
    const struct {
        int valuesUnit, nodeUnit;
        double xMin, xMax, yMin, yMax;
        double lonMin, lonMax, latMin, latMax;
    } cases[] = {
        {kGridUnitSeconds, kGridUnitSeconds, -18000, 28800, 147600, 183600, -5, 8, 41, 51},
        {kGridUnitMeters, kGridUnitDegrees, -5.5, 8.5, 42, 51.5, -5.5, 8.5, 42, 51.5},
        // The test is on the values unit, not on the node unit.
        {kGridUnitMeters, kGridUnitSeconds, -18000, 28800, 0, 3600, -18000, 28800, 0, 3600},
    };
    for (const auto& c : cases) {
        CGrille grid;
        grid.header.VALUES_UNIT = c.valuesUnit;
        grid.header.NODE_COORD_UNIT = c.nodeUnit;
        grid.header.X_MIN = c.xMin;
        grid.header.X_MAX = c.xMax;
        grid.header.Y_MIN = c.yMin;
        grid.header.Y_MAX = c.yMax;
        grid.computeExtent();
        EXPECT_DOUBLE_EQ(grid.extent.min.lon, c.lonMin);
        EXPECT_DOUBLE_EQ(grid.extent.max.lon, c.lonMax);
        EXPECT_DOUBLE_EQ(grid.extent.min.lat, c.latMin);
        EXPECT_DOUBLE_EQ(grid.extent.max.lat, c.latMax);
        EXPECT_EQ(grid.extent.min.unit, 2);
        EXPECT_EQ(grid.extent.max.type, kGeographic);
    }
}

TEST(GridFormat, FromTheExtensionAndBack) {
    const struct {
        std::string name;
        int format;
        int nodeUnit;
        int eastToWest;
        std::string canonical;
    } cases[] = {
        {"/d/g.mnt", 1, kGridUnitDegrees, 0, "/d/g.mnt"},
        {"/d/g.MNT", 1, kGridUnitDegrees, 0, "/d/g.mnt"},
        {"/d/g.Mnt", 0, kGridUnitDegrees, 0, "/d/g.Mnt"},
        {"/d/g.bin", 2, kGridUnitDegrees, 0, "/d/g.bin"},
        {"g.gra", 3, kGridUnitDegrees, 0, "g.gra"},
        {"g.GRD", 4, kGridUnitDegrees, 0, "g.grd"},
        {"/d.x/g.gsb", 5, kGridUnitSeconds, 1, "/d.x/g.gsb"},
        {"g.GSA", 7, kGridUnitSeconds, 1, "g.gsa"},
        {"g.asc", 8, kGridUnitDegrees, 0, "g.asc"},
        {"g.egm", 9, kGridUnitDegrees, 0, "g.egm"},
        {"g.DIS", 10, kGridUnitDegrees, 0, "g.dis"},
        {"g.txt", 0, kGridUnitDegrees, 0, "g.txt"},
        {"/d.mnt/g", 0, kGridUnitDegrees, 0, "/d.mnt/g"},
    };
    for (const auto& c : cases) {
        CGrille grid;
        grid.header.NAME = c.name;
        grid.header.EAST_TO_WEST = 1 - c.eastToWest;
        detectFormat(grid.header);
        EXPECT_EQ(grid.header.GRID_TYPE, c.format) << c.name;
        EXPECT_EQ(grid.header.NODE_COORD_UNIT, c.nodeUnit) << c.name;
        EXPECT_EQ(grid.header.INC_UNIT, c.nodeUnit) << c.name;
        EXPECT_EQ(grid.header.VALUES_UNIT,
                  c.nodeUnit == kGridUnitSeconds ? kGridUnitSeconds : kGridUnitMeters)
            << c.name;
        EXPECT_EQ(grid.header.EAST_TO_WEST, c.eastToWest) << c.name;
        setCanonicalExtension(grid.header);
        EXPECT_EQ(grid.header.NAME, c.canonical) << c.name;
    }
    CGrille grid;
    grid.header.NAME = "/d/g.mnt";
    grid.header.GRID_TYPE = kFormatBinaryVrd;
    setCanonicalExtension(grid.header);
    EXPECT_EQ(grid.header.NAME, "/d/g.bin");
}

// What a new format's line must give for the open to use it: a header reader, the node reader
// its storage needs, an extension that names it, and a name of its own for the side file.
TEST(GridFormat, EveryLineOfTheTableIsComplete) {
    std::set<std::string_view> names;
    for (const GridFormat& format : gridFormats()) {
        const std::string label(format.name);
        EXPECT_EQ(gridFormatOf(format.type), &format) << label;
        EXPECT_EQ(gridFormatNames()[static_cast<std::size_t>(format.type)], format.name) << label;
        EXPECT_TRUE(names.insert(format.name).second) << label << ": a name of its own";
        if (format.type == kFormatUndefined) continue;
        EXPECT_NE(format.readHeader, nullptr) << label;
        EXPECT_EQ(format.loadNodes != nullptr, format.storage == GridStorage::InPlace) << label;
        EXPECT_EQ(format.openNodes != nullptr, format.storage == GridStorage::Converted) << label;
        EXPECT_EQ(hasBinaryVersion(format.type),
                  format.storage == GridStorage::Text || format.storage == GridStorage::Converted)
            << label;
        ASSERT_EQ(format.extension.substr(0, 1), ".") << label;
        if (!format.chosenByExtension) continue;
        GridHeader header;
        header.NAME = "/d/g" + std::string(format.extension);
        detectFormat(header);
        EXPECT_EQ(header.GRID_TYPE, format.type) << label;
        EXPECT_EQ(header.INC_UNIT, format.coordinateUnit) << label;
        setCanonicalExtension(header);
        EXPECT_EQ(header.NAME, "/d/g" + std::string(format.extension)) << label;
    }
    EXPECT_EQ(gridFormatOf(static_cast<int>(gridFormats().size())), nullptr);
    EXPECT_EQ(gridFormatOf(-1), nullptr);
}

TEST(GridDefaults, HeaderFieldsStartAtTheirDefaults) {
    const CGrille grid;
    EXPECT_EQ(grid.header.NAME, "UNDEFINED");
    EXPECT_EQ(grid.header.DESC, "UNDEFINED");
    EXPECT_EQ(grid.header.CRS_CODE_F, "KPTF:WGS84G");
    EXPECT_EQ(grid.header.CRS_CODE_T, "KPTF:WGS84G");
    EXPECT_EQ(grid.header.SEP, 1);
    EXPECT_EQ(grid.header.INC_UNIT, kGridUnitDegrees);
    EXPECT_EQ(grid.header.NODE_COORD_UNIT, kGridUnitDegrees);
    EXPECT_EQ(grid.header.VALUES_UNIT, kGridUnitMeters);
    EXPECT_EQ(grid.header.TRANSLATION, std::vector<double>{0.0});
    EXPECT_EQ(grid.loaded, 0);
    EXPECT_FALSE(grid.hasNodeData());
}

// Copies share the node values: releasing one leaves the other usable.
TEST(GridCopy, CopiesShareValuesAndOutliveTheOriginal) {
    TempDir dir;
    CGrille1D original;
    original.header.NAME = test::writeTextGrid(dir, "c", test::kSmallHeader, test::kSmallData);
    ASSERT_EQ(original.open(0).message, "");
    CGrille1D copy(original);
    CGrille1D assigned;
    assigned = original;
    original.release();
    for (const CGrille1D* g : {&copy, &assigned}) {
        std::vector<double> values;
        int code = 0;
        ASSERT_EQ(g->interpolate(3, {0.5, 0.5, 0}, values, code), 0);
        EXPECT_DOUBLE_EQ(values[0], 5.5);
        EXPECT_EQ(g->header.NAME, dir.file("c.mnt.bin"));
        EXPECT_EQ(g->loaded, 1);
    }
    EXPECT_TRUE(original.header.TRANSLATION.empty());
    EXPECT_FALSE(original.hasNodeData());
}

}  // namespace
}  // namespace zelvo
