// The one-value foreign text grids (Gravsoft, Surfer, ESRI, EGM, DIS): what each header gives
// the grid, the headers refused and why, the order of their nodes, a geoid written by GDAL in
// ESRI and Surfer form, and files announcing more than they hold.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "gdal_tools.hpp"
#include "grid_fixtures.hpp"
#include "grids/text_data.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

using Elements = std::vector<std::pair<std::string, std::string>>;
const Elements kBilinear = {{"INTERPOLATION_TYPE", "BILINEAR"}};

// A grid file written in dir with a side file asking for bilinear interpolation, opened fully.
CGrille openBilinear(const TempDir& dir, const std::string& name, const std::string& content, std::string& message) {
    test::writeFile(dir.file(name), content);
    test::writeFile(dir.file("g.xml"), test::xmlSideFile(kBilinear));
    return test::openGrid(dir.file(name), message);
}

std::string withName(std::string text, const std::string& name) {
    if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, name);
    return text;
}

// Reads the header of file name (its format from the extension) with the format's own reader.
int readHeader(const std::string& path, CGrille& grid, std::string& message) {
    grid.header.NAME = path;
    detectFormat(grid.header);
    TextSource source;
    if (!source.open(path)) return -100;
    const GridFormat* format = gridFormatOf(grid.header.GRID_TYPE);
    if (format == nullptr || format->storage != GridStorage::Text) return -100;
    HeaderInput input{path, &source};
    const HeaderResult result = format->readHeader(grid.header, input);
    message = result.message;
    return result.status;
}

// A header written in dir under name, then read as above.
int readWrittenHeader(const TempDir& dir, const std::string& name, const std::string& content, CGrille& grid,
                      std::string& message) {
    test::writeFile(dir.file(name), content);
    return readHeader(dir.file(name), grid, message);
}

const std::string kEsri =
    "ncols         4\r\nnrows         3\r\nxllcorner     0\r\nyllcorner     40\r\n"
    "cellsize      0.5\r\nNODATA_value  -9999\r\n";
const std::string kDisLine = "ORTH 0 42 2 42 0 41 2 41 0.5 0.25 DEGRES 5 5 X 0 0 Y -12.5 250 M 4\r\n";

TEST(ForeignHeaders, FieldsEachFormatGivesTheGrid) {
    const struct {
        const char* what;
        std::string file;
        std::string content;
        double xMin, xMax, yMin, yMax, xInc, yInc;
        int columns, lines, layout, valuesType, coordUnit;
    } cases[] = {
        // The nodes are the centres of the cells.
        {"ESRI, values from column 14", "g.asc", kEsri, 0.25, 1.75, 40.25, 41.25, 0.5, 0.5, 4, 3, 2,
         kValuesInteger2, kGridUnitDegrees},
        // GDAL aligns the values on column 13: read from the end of the keyword, not cut.
        {"ESRI as GDAL writes it", "g.asc",
         "ncols        4\nnrows        3\nxllcorner    -5.125000000000\nyllcorner    40.000000000000\n"
         "cellsize     0.250000000000\nNODATA_value  -9999\n",
         -5.0, -4.25, 40.125, 40.625, 0.25, 0.25, 4, 3, 2, kValuesInteger2, kGridUnitDegrees},
        {"ESRI keywords in any order, other lines skipped", "g.asc",
         "nrows 3\r\nxllcenter 7\r\n# comment\r\nncols 4\r\ncellsize 0.5\r\nyllcorner 40\r\n"
         "xllcorner 0\r\nNODATA_value -9999\r\n",
         0.25, 1.75, 40.25, 41.25, 0.5, 0.5, 4, 3, 2, kValuesInteger2, kGridUnitDegrees},
        // Increments in minutes; the first node is the north-west one.
        {"EGM", "g.egm", "52 -5 1 1 61 121\n", -5, -3, 51, 52, 1.0 / 60, 1.0 / 60, 121, 61, 2, kValuesReal8,
         kGridUnitDegrees},
        {"Surfer", "g.grd", "DSAA\r\n11 3\r\n0 10\r\n40 41\r\n-2.5 7\r\n", 0, 10, 40, 41, 1, 0.5, 11, 3, 4,
         kValuesReal8, kGridUnitDegrees},
        {"Gravsoft", "g.gra", "  41 42 0 2\n 0.5 0.25\n", 0, 2, 41, 42, 0.25, 0.5, 9, 3, 2, kValuesReal8,
         kGridUnitDegrees},
        {"DIS in degrees", "g.dis", kDisLine + "-- second line --\r\n", 0, 2, 41, 42, 0.5, 0.25, 5, 5, 2,
         kValuesInteger4, kGridUnitDegrees},
        {"DIS in metres", "g.dis",
         "ORTH 600000 2400000 700000 2400000 600000 2300000 700000 2300000 1000 1000 METRES 101 101 X 0 0 Y 0 "
         "900 M 6\r\nline\r\n",
         600000, 700000, 2300000, 2400000, 1000, 1000, 101, 101, 2, kValuesInteger4, kGridUnitMeters},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        CGrille grid;
        std::string message;
        ASSERT_EQ(readWrittenHeader(dir, c.file, c.content, grid, message), -10) << message;
        EXPECT_NEAR(grid.header.X_MIN, c.xMin, 1e-12);
        EXPECT_NEAR(grid.header.X_MAX, c.xMax, 1e-12);
        EXPECT_NEAR(grid.header.Y_MIN, c.yMin, 1e-12);
        EXPECT_NEAR(grid.header.Y_MAX, c.yMax, 1e-12);
        EXPECT_NEAR(grid.header.X_INC, c.xInc, 1e-15);
        EXPECT_NEAR(grid.header.Y_INC, c.yInc, 1e-15);
        EXPECT_EQ(grid.header.N_COLUMNS, c.columns);
        EXPECT_EQ(grid.header.N_LINES, c.lines);
        EXPECT_EQ(grid.header.N_NODES, c.columns * c.lines);
        EXPECT_EQ(grid.header.LAYOUT, c.layout);
        EXPECT_EQ(grid.header.VALUES_TYPE, c.valuesType);
        EXPECT_EQ(grid.header.NODE_COORD_UNIT, c.coordUnit);
        EXPECT_EQ(grid.header.INC_UNIT, c.coordUnit);
        EXPECT_EQ(grid.header.VALUES_NUMBER, 1);
        EXPECT_EQ(grid.header.VALUES_UNIT, kGridUnitMeters);
        EXPECT_EQ(grid.header.EAST_TO_WEST, 0);
        EXPECT_EQ(grid.header.TRANSLATION, std::vector<double>{0.0});
    }
}

TEST(ForeignHeaders, EsriNodataAndDisFields) {
    TempDir dir;
    test::writeFile(dir.file("g.asc"), kEsri);
    test::writeFile(dir.file("g.dis"), kDisLine + "second\r\n12 13\r\n");
    CGrille esri, dis;
    std::string message;
    ASSERT_EQ(readHeader(dir.file("g.asc"), esri, message), -10);
    EXPECT_EQ(esri.header.VALUE_UNK, -9999);
    EXPECT_EQ(esri.header.SEP, 1);
    EXPECT_EQ(esri.header.valueSize, 2);
    ASSERT_EQ(readHeader(dir.file("g.dis"), dis, message), -10);
    EXPECT_EQ(dis.header.VALUES_MIN, -12.5);
    EXPECT_EQ(dis.header.VALUES_MAX, 250);
    EXPECT_EQ(dis.header.valueSize, 4);  // the header's width
    EXPECT_EQ(dis.header.SEP, 0);
    EXPECT_EQ(dis.header.rowEndMarker, 1);
}

TEST(ForeignHeaders, RefusedHeaders) {
    const struct {
        const char* what;
        std::string file;
        std::string content;
        int result;
        std::string message;
    } cases[] = {
        {"ESRI NODATA_value as a decimal", "g.asc",
         "ncols 4\nnrows 3\nxllcorner 0\nyllcorner 40\ncellsize 0.5\nNODATA_value  -9999.5\n", -1,
         "Entier attendu dans : \nNODATA_value  -9999.5\n(peu avant la position 22"},
        {"ESRI ending before NODATA_value", "g.asc", "ncols 4\nnrows 3\nxllcorner 0\nyllcorner 40\ncellsize 0.5\n",
         -1, "%s :\nMot-clé NODATA_value absent de l'en-tête de la grille ESRI"},
        {"ESRI of one line", "g.asc", "ncols 3\r\n", -1, "%s :\nMot-clé nrows absent de l'en-tête de la grille ESRI"},
        {"ESRI empty", "g.asc", "", -1, "%s :\nMot-clé ncols absent de l'en-tête de la grille ESRI"},
        {"ESRI with centres, not corners", "g.asc",
         "ncols 4\nnrows 3\nxllcenter 0\nyllcenter 40\ncellsize 0.5\nNODATA_value -9999\n", -1,
         "%s :\nMot-clé xllcorner absent de l'en-tête de la grille ESRI"},
        {"ESRI value followed by more", "g.asc", "ncols         4 5\n", 16, ""},
        {"ESRI keyword without value", "g.asc", "ncols\n", 5, ""},
        {"ESRI real with exponent", "g.asc", "cellsize      2.5e-1\n", -1,
         "Réel attendu dans l'en-tête peu avant la position 21"},
        {"DIS without ORTH", "g.dis", "GRID 0 42 2 42 0 41 2 41\r\nx\r\n", -1, "Mot-clé ORTH non trouvé"},
        {"DIS not orthogonal", "g.dis", "ORTH 0 42 2 42.5 0 41 2 41 0.5 0.25 DEGRES 5 5 X 0 0 Y 0 9 M 4\r\nx\r\n",
         -1, "Grille non orthogonale"},
        {"DIS line too short", "g.dis", "ORTH 0 42 2 42 0 41 2 41 0.5\r\nx\r\n", 30, ""},
        {"DIS decimal column count", "g.dis", "ORTH 0 42 2 42 0 41 2 41 0.5 0.25 DEGRES 5.5 5 X\r\n", -1,
         "Entier attendu dans : \nORTH 0 42 2 42 0 41 2 41 0.5 0.25 DEGRES 5.5 5 X\n(peu avant la position 45"},
        {"DIS empty", "g.dis", "", -1, "%s :\nL'en-tête s'arrête avant sa fin"},
        {"Surfer binary", "g.grd", std::string("DSBB\x0b\x00\x03\x00", 8), -1,
         "%s :\nMot-clé DSAA non trouvé (grille Surfer au format texte attendue)"},
        {"Surfer cut", "g.grd", "DSAA\n11 3\n0", -1, "%s :\nL'en-tête s'arrête avant sa fin"},
        {"Surfer count not a number", "g.grd", "DSAA\n11 x 0 10 40 41 0 1\n", -1,
         "%s :\nL'en-tête est incomplet ou illisible (valeur n° 3)"},
        {"EGM with a word", "g.egm", "52 -5 un 1 61 121\n", -1,
         "%s :\nL'en-tête est incomplet ou illisible (valeur n° 3)"},
        {"Gravsoft cut", "g.gra", "41 42 0\n", -1, "%s :\nL'en-tête s'arrête avant sa fin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        CGrille grid;
        std::string message;
        EXPECT_EQ(readWrittenHeader(dir, c.file, c.content, grid, message), c.result);
        EXPECT_EQ(message, withName(c.message, dir.file(c.file)));
    }
}

// Each format holding the 3 × 2 grid whose node (i, j) is 10 j + i, x from 0 to 2, y from 0 to 1.
TEST(ForeignData, NodesComeInTheFormatsOrder) {
    const struct {
        const char* file;
        std::string content;
    } cases[] = {
        {"g.asc", "ncols 3\nnrows 2\nxllcorner -0.5\nyllcorner -0.5\ncellsize 1\nNODATA_value -9999\n10 11 12\n0 1 2\n"},
        {"g.gra", "0 1 0 2 1 1\n10 11 12\n0 1 2\n"},
        {"g.grd", "DSAA\n3 2\n0 2\n0 1\n0 12\n0 1 2\n\n10 11 12\n"},
        {"g.egm", "1 0 60 60 2 3\n10.0 11.0 12.0 0.0 1.0 2.0\n"},
        // Fixed-width values of 4 characters, a line break ending each row.
        {"g.dis", "ORTH 0 1 2 1 0 0 2 0 1 1 DEGRES 3 2 A 0 0 B 0 12 M 4\r\nnot data\r\n  10  11  12\r\n   0   1   2\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir dir;
        const std::string path = dir.file(c.file);
        std::string message;
        CGrille grid = openBilinear(dir, c.file, c.content, message);
        ASSERT_EQ(message, "");
        EXPECT_EQ(grid.header.NAME, path + ".bin");
        for (int j = 0; j < 2; ++j) {
            for (int i = 0; i < 3; ++i) {
                std::vector<double> values;
                int code = -1;
                grid.nodeValues(i, j, values, code);
                ASSERT_EQ(values.size(), 1u);
                EXPECT_EQ(values[0], 10 * j + i) << i << ", " << j;
            }
        }
        std::vector<double> values;
        int code = 0;
        ASSERT_EQ(grid.interpolate(kGridUnitDegrees, {0.5, 0.5, 0}, values, code), 0);
        EXPECT_DOUBLE_EQ(values[0], 5.5);
    }
}

// A geoid grid cut out of proj-data's EGM96 by GDAL and written by GDAL as ESRI ASCII and as
// Surfer ASCII gives, at every node, the geoid height GDAL reads in the source there.
TEST(ForeignData, GeoidWrittenByGdalAsEsriAndSurfer) {
    if (!test::gdalAvailable()) ZELVO_MISSING_PREREQUISITE("GDAL's tools are not installed (Debian package gdal-bin)");
    const fs::path source = test::kProjGridFolder / "egm96_15.gtx";
    if (!fs::exists(source)) ZELVO_MISSING_PREREQUISITE("proj-data's egm96_15.gtx is not installed");
    TempDir dir;
    // 9 columns × 6 lines at 0.25° over Brittany and the Channel.
    const std::vector<std::string> window = {"-srcwin", "700", "150", "9", "6"};
    auto args = window;
    args.insert(args.end(), {"-of", "AAIGrid", "-a_nodata", "-9999", source.string(), dir.file("geoid.asc")});
    ASSERT_TRUE(test::gdalTranslate(args));
    args = window;
    args.insert(args.end(), {"-of", "GSAG", source.string(), dir.file("geoid.grd")});
    ASSERT_TRUE(test::gdalTranslate(args));
    // ESRI grids are read as INTEGER2 unless the side file says otherwise.
    test::writeFile(dir.file("geoid.xml"),
                    test::xmlSideFile({{"INTERPOLATION_TYPE", "BILINEAR"}, {"VALUES_TYPE", "REAL8"}}));
    const struct {
        const char* file;
        double tolerance;  // GDAL writes every digit in ESRI form, twelve significant ones in Surfer form
    } cases[] = {{"geoid.asc", 1e-12}, {"geoid.grd", 1e-9}};
    std::vector<std::vector<double>> expected(6, std::vector<double>(9));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string message;
        CGrille grid = test::openGrid(dir.file(c.file), message);
        ASSERT_EQ(message, "");
        ASSERT_EQ(grid.header.N_COLUMNS, 9);
        ASSERT_EQ(grid.header.N_LINES, 6);
        EXPECT_NEAR(grid.header.X_MIN, -5.0, 1e-12);
        EXPECT_NEAR(grid.header.Y_MAX, 90 - 150 * 0.25, 1e-12);
        for (int j = 0; j < 6; ++j) {
            for (int i = 0; i < 9; ++i) {
                const double lon = grid.header.X_MIN + i * grid.header.X_INC;
                const double lat = grid.header.Y_MIN + j * grid.header.Y_INC;
                const std::vector<double> gdal = test::gdalValuesAt(source.string(), lon, lat);
                ASSERT_EQ(gdal.size(), 1u);
                std::vector<double> values;
                int code = 0;
                ASSERT_EQ(grid.interpolate(kGridUnitDegrees, {lon, lat, 0}, values, code), 0);
                EXPECT_NEAR(values[0], gdal[0], c.tolerance + 1e-12) << i << ", " << j;
            }
        }
    }
}

// Files announcing more nodes than they hold, or more than a grid can count: each is refused
// with a message before anything is allocated for its nodes, and leaves no binary version.
TEST(ForeignData, CountsBeyondTheFileAreRefused) {
    const std::string esriTop = "xllcorner 0\nyllcorner 0\ncellsize 0.0001\nNODATA_value -9999\n";
    const struct {
        const char* what;
        std::string file;
        std::string content;
        std::string message;
    } cases[] = {
        {"ESRI overflowing", "g.asc", "ncols 100000\nnrows 100000\n" + esriTop + "1 2 3\n",
         "%s :\nLa grille annonce trop de nœuds (100000 colonnes × 100000 lignes)"},
        {"ESRI beyond the file", "g.asc", "ncols 3000\nnrows 3000\n" + esriTop + "1 2 3\n",
         "%s :\nLe fichier ne peut pas contenir les 9000000 nœuds qu'annonce son en-tête"},
        {"ESRI negative", "g.asc", "ncols -3\nnrows 2\n" + esriTop + "1 2 3\n",
         "%s :\n+ XMin >= XMax\n\n(cf fichier XML le cas échéant)"},
        {"Surfer beyond the file", "g.grd", "DSAA 40000 40000 0 1 0 1 0 0\n1 2 3\n",
         "%s :\nLe fichier ne peut pas contenir les 1600000000 nœuds qu'annonce son en-tête"},
        {"EGM beyond the file", "g.egm", "1 0 0.001 0.001 1000 1000\n1 2 3\n",
         "%s :\nLe fichier ne peut pas contenir les 1000000 nœuds qu'annonce son en-tête"},
        {"DIS beyond the file", "g.dis", "ORTH 0 1 1 1 0 0 1 0 0.0001 0.0001 DEGRES 10001 10001 A 0 0 B 0 1 M 4\nx\n1\n",
         "%s :\nLe fichier ne peut pas contenir les 100020001 nœuds qu'annonce son en-tête"},
        {"Gravsoft data cut", "g.gra", "0 1 0 2 1 1\n10 11 12\n0 1\n",
         "%s :\nLes données s'arrêtent après 5 nœuds, l'en-tête en annonce 6"},
        {"ESRI value not a number", "g.asc",
         "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n1 2 3\n4 x 6\n",
         "%s :\nValeur illisible dans les données (nœud 5)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = dir.file(c.file);
        std::string message;
        const CGrille grid = openBilinear(dir, c.file, c.content, message);
        std::string expected = withName(c.message, path);
        EXPECT_EQ(message, expected);
        EXPECT_FALSE(grid.hasNodeData());
        EXPECT_FALSE(fs::exists(path + ".bin"));
    }
}

}  // namespace
}  // namespace zelvo
