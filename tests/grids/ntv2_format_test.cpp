// NTV2 grids: real files of Debian's proj-data and one written by GDAL, read against GDAL's
// own reading of them; headers patched into every fault the reader refuses; the text form.

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>

#include "gdal_tools.hpp"
#include "grid_fixtures.hpp"
#include "grids/text_data.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

const std::vector<std::pair<std::string, std::string>> kBilinear = {{"INTERPOLATION_TYPE", "BILINEAR"}};

// A copy of a grid in the temporary folder, with a side file that makes it usable.
std::string copyWithSideFile(const TempDir& dir, const fs::path& source, const std::string& name) {
    const std::string target = dir.file(name);
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path side = fs::path(target).replace_extension(".xml");
    test::writeFile(side, test::xmlSideFile(kBilinear));
    return target;
}

bool projGridPresent(const std::string& name) {
    return fs::exists(test::kProjGridFolder / name);
}

// Node (i, j) of an opened grid compared with what GDAL reads at the same place: the stored
// values exactly (as REAL4), and the interpolation at the node's coordinates.
void expectNodeAsGdal(const CGrille& grid, const std::string& path, int i, int j) {
    SCOPED_TRACE(testing::Message() << path << " node " << i << ", " << j);
    const double lonDegrees = (grid.header.X_MIN + i * grid.header.X_INC) / 3600;
    const double latDegrees = (grid.header.Y_MIN + j * grid.header.Y_INC) / 3600;
    const std::vector<double> gdal = test::gdalValuesAt(path, lonDegrees, latDegrees);
    ASSERT_EQ(gdal.size(), 4u);
    std::vector<double> stored;
    int code = -1;
    grid.nodeValues(i, j, stored, code);
    std::vector<double> interpolated;
    ASSERT_EQ(grid.interpolate(kGridUnitDegrees, {lonDegrees, latDegrees, 0}, interpolated, code), 0);
    for (std::size_t v = 0; v < 4; ++v) {
        EXPECT_EQ(static_cast<float>(stored[v]), static_cast<float>(gdal[v])) << "value " << v;
        EXPECT_NEAR(interpolated[v], gdal[v], 1e-9) << "value " << v;
    }
}

TEST(Ntv2Binary, RealGridsGiveTheNodeValuesGdalReads) {
    if (!test::gdalAvailable()) ZELVO_MISSING_PREREQUISITE("GDAL's tools are not installed (Debian package gdal-bin)");
    if (!projGridPresent("ntf_r93.gsb")) ZELVO_MISSING_PREREQUISITE("proj-data's NTV2 grids are not installed");
    TempDir dir;
    std::vector<std::string> paths;
    for (const char* name : {"ntf_r93.gsb", "BETA2007.gsb", "nzgd2kgrid0005.gsb"})
        if (projGridPresent(name)) paths.push_back(copyWithSideFile(dir, test::kProjGridFolder / name, name));
    // A sub-grid cut out and written by GDAL's own NTv2 writer.
    const std::string cut = dir.file("cut.gsb");
    ASSERT_TRUE(test::gdalTranslate({"-of", "NTv2", "-srcwin", "10", "20", "7", "5", paths[0], cut}));
    test::writeFile(dir.file("cut.xml"), test::xmlSideFile(kBilinear));
    paths.push_back(cut);

    for (const std::string& path : paths) {
        std::string message;
        CGrille grid = test::openGrid(path, message);
        ASSERT_EQ(message, "") << path;
        const int nc = grid.header.N_COLUMNS, nl = grid.header.N_LINES;
        const int nodes[][2] = {{0, 0},      {nc - 1, 0},  {0, nl - 1},         {nc - 1, nl - 1},
                                {nc / 2, 1}, {1, nl / 2}, {nc / 3, 2 * nl / 3}, {2 * nc / 3, nl / 3}};
        for (const auto& node : nodes) expectNodeAsGdal(grid, path, node[0], node[1]);
    }
}

TEST(Ntv2Binary, FranceGridComesOutEastwardOverFrance) {
    if (!projGridPresent("ntf_r93.gsb")) ZELVO_MISSING_PREREQUISITE("proj-data's ntf_r93.gsb is not installed");
    TempDir dir;
    const std::string path = copyWithSideFile(dir, test::kProjGridFolder / "ntf_r93.gsb", "ntf_r93.gsb");
    for (int mode : {0, 2}) {
        std::string message;
        CGrille grid = test::openGrid(path, message, mode);
        ASSERT_EQ(message, "");
        EXPECT_EQ(grid.header.GRID_TYPE, kFormatNtv2Little);
        EXPECT_EQ(grid.header.NAME, path);  // a binary grid keeps its own file
        EXPECT_EQ(grid.loaded, 1);
        EXPECT_EQ(grid.hasNodeData(), mode == 0);
        // Positive west in the file (E_LONG -36000, W_LONG 19800), eastward once validated.
        EXPECT_DOUBLE_EQ(grid.header.X_MIN, -19800);
        EXPECT_DOUBLE_EQ(grid.header.X_MAX, 36000);
        EXPECT_DOUBLE_EQ(grid.header.Y_MIN, 147600);
        EXPECT_DOUBLE_EQ(grid.header.Y_MAX, 187200);
        EXPECT_DOUBLE_EQ(grid.header.X_INC, 360);
        EXPECT_DOUBLE_EQ(grid.header.Y_INC, 360);
        EXPECT_EQ(grid.header.N_COLUMNS, 156);
        EXPECT_EQ(grid.header.N_LINES, 111);
        EXPECT_EQ(grid.header.N_NODES, 17316);
        EXPECT_EQ(grid.header.LAYOUT, 8);
        EXPECT_EQ(grid.header.VALUES_NUMBER, 4);
        EXPECT_EQ(grid.header.VALUES_TYPE, kValuesReal4);
        EXPECT_EQ(grid.header.VALUES_UNIT, kGridUnitSeconds);
        EXPECT_EQ(grid.header.DESC, "FRANCE");
        EXPECT_EQ(grid.header.SYSTEM_F, "NTF");
        EXPECT_EQ(grid.header.SYSTEM_T, "RGF93");
        EXPECT_DOUBLE_EQ(grid.header.MAJOR_F, 6378249.2);
        EXPECT_NEAR(grid.header.SQ_EXC_F, 0.006803487646, 1e-11);  // Clarke 1880 (IGN)
        EXPECT_NEAR(grid.header.SQ_EXC_T, 0.006694380023, 1e-11);  // GRS 1980
        grid.computeExtent();
        EXPECT_DOUBLE_EQ(grid.extent.min.lon, -5.5);
        EXPECT_DOUBLE_EQ(grid.extent.max.lon, 10);
        EXPECT_DOUBLE_EQ(grid.extent.min.lat, 41);
        EXPECT_DOUBLE_EQ(grid.extent.max.lat, 52);
    }
}

// The bytes of a header record, key and value, in the machine's byte order.
std::string record(const std::string& key, const void* value) {
    std::string out = key;
    out.resize(8, ' ');
    out.append(static_cast<const char*>(value), 8);
    return out;
}
std::string intRecord(const std::string& key, std::int32_t value) {
    char bytes[8] = {};
    std::memcpy(bytes, &value, 4);
    return record(key, bytes);
}
std::string realRecord(const std::string& key, double value) {
    return record(key, &value);
}
// Overwrites the value of the record at index (0-based) of a header.
void patchRecord(std::string& bytes, int index, const std::string& replacement) {
    bytes.replace(static_cast<std::size_t>(index) * 16, 16, replacement);
}

TEST(Ntv2Binary, PatchedHeadersAreRefused) {
    if (!projGridPresent("ntf_r93.gsb")) ZELVO_MISSING_PREREQUISITE("proj-data's ntf_r93.gsb is not installed");
    const std::string original = test::readFile(test::kProjGridFolder / "ntf_r93.gsb");
    ASSERT_EQ(original.substr(16 * 21, 8), "GS_COUNT");
    const struct {
        const char* what;
        std::function<void(std::string&)> patch;
        std::string message;  // the whole message, or the part after the file name ("%s :\n")
    } cases[] = {
        {"a twelfth overview record",
         [](std::string& b) {
             patchRecord(b, 0, intRecord("NUM_OREC", 12));
             b.insert(16 * 3, intRecord("NUM_FILE", 1));
         },
         "%s :\nIncohérence dans l'en-tête"},
        {"GS_COUNT one short", [](std::string& b) { patchRecord(b, 21, intRecord("GS_COUNT", 17315)); },
         "%s :\nIncohérence dans le nombre d'enregistrements"},
        {"GS_TYPE in minutes", [](std::string& b) { patchRecord(b, 3, record("GS_TYPE ", "MINUTES ")); },
         "%s :\nGS_TYPE imprévu"},
        {"another first key", [](std::string& b) { patchRecord(b, 0, intRecord("NUM_ORC", 11)); },
         "%s :\nGrille non NTV2"},
        {"an unknown overview key", [](std::string& b) { patchRecord(b, 4, record("REVISION", "1       ")); },
         "%s :\nFirstDataElement imprévu : REVISION"},
        {"an unknown sub-grid key", [](std::string& b) { patchRecord(b, 12, record("MOTHER", "NONE    ")); },
         "%s :\nFirstDataElement imprévu : MOTHER"},
        {"too few sub-grid records", [](std::string& b) { patchRecord(b, 1, intRecord("NUM_SREC", 10)); },
         "%s :\nIncohérence dans l'en-tête"},
        {"a file cut in its header", [](std::string& b) { b.resize(100); },
         "%s :\nL'en-tête du fichier binaire est incomplet"},
        {"a file of one key", [](std::string& b) { b.resize(8); },
         "%s :\nL'en-tête du fichier binaire est incomplet"},
        {"an empty file", [](std::string& b) { b.clear(); }, "%s :\nGrille non NTV2"},
        {"a file cut in its nodes", [](std::string& b) { b.resize(1000); },
         "%s :\nLe fichier est plus court que ne l'annonce son en-tête (277408 octets attendus, 1000 présents)"},
        // 50001 columns × 40000 lines, consistent with GS_COUNT: two thousand million nodes
        // announced by a 277 kB file are refused before any allocation.
        {"a huge sub-grid",
         [](std::string& b) {
             patchRecord(b, 19, realRecord("LAT_INC", 39600.0 / 39999));
             patchRecord(b, 20, realRecord("LONG_INC", 55800.0 / 50000));
             patchRecord(b, 21, intRecord("GS_COUNT", 2000040000));
         },
         "%s :\nLe fichier est plus court que ne l'annonce son en-tête (32000640352 octets attendus, 277424 "
         "présents)"},
        // The node records read as sub-grid keys.
        {"a huge NUM_SREC", [](std::string& b) { patchRecord(b, 1, intRecord("NUM_SREC", 2147483647)); },
         "%s :\nFirstDataElement imprévu : "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        std::string bytes = original;
        c.patch(bytes);
        const std::string path = dir.file("patched.gsb");
        test::writeFile(path, bytes);
        test::writeFile(dir.file("patched.xml"), test::xmlSideFile(kBilinear));
        std::string expected = c.message;
        if (const auto at = expected.find("%s"); at != std::string::npos) expected.replace(at, 2, path);
        for (int mode : {0, 2}) {
            std::string message;
            const CGrille grid = test::openGrid(path, message, mode);
            if (std::string(c.what) == "a huge NUM_SREC")
                EXPECT_EQ(message.rfind(expected, 0), 0u) << message;
            else
                EXPECT_EQ(message, expected);
            EXPECT_FALSE(grid.hasNodeData());
        }
    }
}

const std::vector<std::pair<std::string, std::string>> kNtv2TextSideFile = {
    {"INTERPOLATION_TYPE", "BILINEAR"},
    {"NODE_COORD_UNIT", "SECONDS"},
    {"INC_UNIT", "SECONDS"},
    {"VALUES_UNIT", "SECONDS"}};

// A text NTV2 grid of 3 columns (1° to 3° east) and 2 lines (41° to 42°), one degree apart;
// node k in stored order holds k + 0.5, 10 k, 0.01 k and 0.02 k. Each pair is a line's key and
// value; the key is padded to 8 columns.
std::vector<std::pair<std::string, std::string>> gsaHeader() {
    return {{"NUM_OREC", "11"},       {"NUM_SREC", "11"},      {"NUM_FILE", "1"},
            {"GS_TYPE", "SECONDS"},   {"VERSION", "NTv2.0"},   {"SYSTEM_F", "NTF"},
            {"SYSTEM_T", "RGF93"},    {"MAJOR_F", "6378249.2"}, {"MINOR_F", "6356515.0"},
            {"MAJOR_T", "6378137.0"}, {"MINOR_T", "6356752.314"}, {"SUB_NAME", "ESSAI"},
            {"PARENT", "NONE"},       {"CREATED", "01/01/24"}, {"UPDATED", "01/01/24"},
            {"S_LAT", "147600.0"},    {"N_LAT", "151200.0"},   {"E_LONG", "-10800.0"},
            {"W_LONG", "-3600.0"},    {"LAT_INC", "3600.0"},   {"LONG_INC", "3600.0"},
            {"GS_COUNT", "6"}};
}

std::string gsaText(const std::vector<std::pair<std::string, std::string>>& header, int nodes = 6) {
    std::string text;
    for (const auto& [key, value] : header) {
        std::string padded = key;
        if (padded.size() < 8) padded.resize(8, ' ');
        text += padded + value + "\r\n";
    }
    for (int k = 0; k < nodes; ++k)
        text += fmt::format("{} {} {} {}\r\n", k + 0.5, 10 * k, 0.01 * k, 0.02 * k);
    return text;
}

TEST(Ntv2Text, NodesRunFromTheSouthEastWestwardThenNorthward) {
    TempDir dir;
    const std::string path = dir.file("essai.gsa");
    test::writeFile(path, gsaText(gsaHeader()));
    // The native binary version holds no units: the side file, which it shares with the text
    // grid, names them.
    test::writeFile(dir.file("essai.xml"), test::xmlSideFile(kNtv2TextSideFile));
    std::string message;
    CGrille grid = test::openGrid(path, message);
    ASSERT_EQ(message, "");
    EXPECT_EQ(grid.header.NAME, dir.file("essai.gsa.bin"));
    EXPECT_DOUBLE_EQ(grid.header.X_MIN, 3600);
    EXPECT_DOUBLE_EQ(grid.header.X_MAX, 10800);
    EXPECT_EQ(grid.header.N_COLUMNS, 3);
    EXPECT_EQ(grid.header.N_LINES, 2);
    EXPECT_EQ(grid.header.DESC, "ESSAI");
    EXPECT_EQ(grid.header.SYSTEM_T, "RGF93");
    // Stored order: (2,0) (1,0) (0,0) (2,1) (1,1) (0,1).
    const int stored[][2] = {{2, 0}, {1, 0}, {0, 0}, {2, 1}, {1, 1}, {0, 1}};
    for (int k = 0; k < 6; ++k) {
        std::vector<double> values;
        int code = -1;
        grid.nodeValues(stored[k][0], stored[k][1], values, code);
        ASSERT_EQ(values.size(), 4u);
        EXPECT_EQ(values[0], k + 0.5) << k;
        EXPECT_EQ(values[1], 10.0 * k) << k;
        EXPECT_EQ(values[2], static_cast<float>(0.01 * k)) << k;
        EXPECT_EQ(code, 0);
    }
    // The NTV2 grid's units: longitude and latitude in degrees are read in seconds.
    std::vector<double> values;
    int code = 0;
    ASSERT_EQ(grid.interpolate(kGridUnitDegrees, {1.5, 41, 0}, values, code), 0);
    EXPECT_NEAR(values[0], 2.0, 1e-12);  // halfway between stored nodes 2 and 1
}

TEST(Ntv2Text, HeaderLines) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> changes;  // key → line (key included)
        int result;
        std::string message;
        double yMin;
    } cases[] = {
        // N_LAT moved too, so that both readings give 2 lines.
        {"value from column 8", {{"S_LAT", "S_LAT   41.5"}, {"N_LAT", "N_LAT   3641.5"}}, -10, "", 41.5},
        {"value starting before column 8", {{"S_LAT", "S_LAT 41.5"}, {"N_LAT", "N_LAT   3641.5"}}, -10, "", 0.5},
        {"trailing blanks", {{"S_LAT", "S_LAT   41.5   "}, {"N_LAT", "N_LAT   3641.5"}}, -10, "", 41.5},
        {"unknown keys skipped", {{"VERSION", "REVISION 3"}, {"PARENT", "MOTHER  NONE"}}, -10, "", 147600},
        {"another first key", {{"NUM_OREC", "NUMOREC 11"}}, -1, "%s :\nGrille non NTV2", 0},
        {"GS_TYPE in minutes", {{"GS_TYPE", "GS_TYPE MINUTES"}}, -1, "%s :\nGS_TYPE imprévu", 0},
        {"GS_COUNT one short", {{"GS_COUNT", "GS_COUNT5"}}, -1, "%s :\nIncohérence dans le nombre d'enregistrements", 0},
        {"two tokens", {{"S_LAT", "S_LAT   147600.0 N"}}, 17, "", 0},
        {"exponent", {{"MAJOR_F", "MAJOR_F 6.378e6"}}, -1, "Réel attendu dans l'en-tête peu avant la position 16", 0},
        {"decimal count", {{"NUM_SREC", "NUM_SREC11.5"}}, -1,
         "Entier attendu dans : \nNUM_SREC11.5\n(peu avant la position 13", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto header = gsaHeader();
        for (const auto& [key, line] : c.changes)
            for (auto& entry : header)
                if (entry.first == key) entry = {line, ""};
        TempDir dir;
        const std::string path = dir.file("essai.gsa");
        test::writeFile(path, gsaText(header));
        TextSource source;
        ASSERT_TRUE(source.open(path));
        CGrille grid;
        grid.header.NAME = path;
        detectFormat(grid.header);
        std::string message;
        HeaderInput input{path, &source};
        const HeaderResult result = gridFormatOf(kFormatNtv2Text)->readHeader(grid.header, input);
        message = result.message;
        EXPECT_EQ(result.status, c.result);
        std::string expected = c.message;
        if (const auto at = expected.find("%s"); at != std::string::npos) expected.replace(at, 2, path);
        EXPECT_EQ(message, expected);
        if (c.result == -10) {
            EXPECT_DOUBLE_EQ(grid.header.Y_MIN, c.yMin);
        }
    }
}

TEST(Ntv2Text, TruncatedAndOversizedHeaders) {
    TempDir dir;
    const std::string text = gsaText(gsaHeader());
    const auto lineEnd = [&](int lines) {
        std::size_t at = 0;
        for (int k = 0; k < lines; ++k) at = text.find('\n', at) + 1;
        return at;
    };
    const struct {
        const char* what;
        std::string content;
        std::string message;  // after the file name
    } cases[] = {
        {"cut in the overview", text.substr(0, lineEnd(5)), "%s :\nL'en-tête s'arrête avant sa fin"},
        {"cut in the sub-grid", text.substr(0, lineEnd(15)), "%s :\nL'en-tête s'arrête avant sa fin"},
        {"empty", "", "%s :\nL'en-tête s'arrête avant sa fin"},
        {"nodes missing", text.substr(0, lineEnd(25)),
         "%s :\nLes données s'arrêtent après 3 nœuds, l'en-tête en annonce 6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.file("cut.gsa");
        test::writeFile(path, c.content);
        test::writeFile(dir.file("cut.xml"), test::xmlSideFile(kBilinear));
        std::string message;
        const CGrille grid = test::openGrid(path, message);
        std::string expected = c.message;
        expected.replace(expected.find("%s"), 2, path);
        EXPECT_EQ(message, expected);
        EXPECT_FALSE(fs::exists(dir.file("cut.gsa.bin")));
    }
}

TEST(Ntv2Text, ANodeCountBeyondTheFileIsRefusedBeforeReading) {
    TempDir dir;
    auto header = gsaHeader();
    // 3 columns × 40001 lines 0.1" apart: 120003 nodes announced in a file of a few hundred bytes.
    header[16].second = "151600.0";
    header[19].second = "0.1";
    header[21].second = "120003";
    const std::string path = dir.file("big.gsa");
    test::writeFile(path, gsaText(header));
    test::writeFile(dir.file("big.xml"), test::xmlSideFile(kBilinear));
    std::string message;
    test::openGrid(path, message);
    EXPECT_EQ(message, path + " :\nLe fichier ne peut pas contenir les 120003 nœuds qu'annonce son en-tête");
    EXPECT_FALSE(fs::exists(dir.file("big.gsa.bin")));
}

}  // namespace
}  // namespace zelvo
