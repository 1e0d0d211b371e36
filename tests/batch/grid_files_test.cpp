// Grid files as a user meets them through the real program: nodes that hold no number, grids of
// one base name in one catalogue, a grid rewritten in place, and the binary versions that go with
// them.

#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>

#include "batch_fixture.hpp"
#include "grids/gdal_tools.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
const std::string kBilinearSideFile =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<GRID_HEADER>\n\t<INTERPOLATION_TYPE>BILINEAR"
    "</INTERPOLATION_TYPE>\n</GRID_HEADER>\n";

void putBig(std::string& out, std::uint64_t bits, int bytes) {
    for (int k = bytes - 1; k >= 0; --k) out.push_back(static_cast<char>((bits >> (8 * k)) & 0xFF));
}

// A GTX geoid over 2°..4° E, 47°..49° N every 0.5° (5 × 5 nodes), rows from the south.
std::string gtxGeoid(const std::vector<float>& values) {
    std::string out;
    for (double v : {47.0, 2.0, 0.5, 0.5}) putBig(out, std::bit_cast<std::uint64_t>(v), 8);
    putBig(out, 5, 4);
    putBig(out, 5, 4);
    for (float v : values) putBig(out, std::bit_cast<std::uint32_t>(v), 4);
    return out;
}

// The 25 nodes of the geoid fixtures: 45 m, with NaN at the north-east node (4° E, 49° N) and
// minus infinity at the north-west one (2° E, 49° N).
std::vector<float> geoidNodes(float value = 45.0f) {
    std::vector<float> nodes(25, value);
    nodes[24] = kNaN;
    nodes[20] = -kInf;
    return nodes;
}

std::string asText(float v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    return formatFixed(v, 3);
}

// The same geoid as a native text grid (layout SW2E2N).
std::string mntGeoid() {
    std::string text = "2 4 47 49 0.5 0.5 4 0 1 0 0\r\n";
    const auto nodes = geoidNodes();
    for (std::size_t k = 0; k < nodes.size(); ++k) text += asText(nodes[k]) + (k % 5 == 4 ? "\r\n" : " ");
    return text;
}

void putLittle(std::string& out, const void* bytes, std::size_t n) { out.append(static_cast<const char*>(bytes), n); }

std::string ntv2Record(const char* key, const std::string& value) {
    std::string record(key);
    record.resize(8, ' ');
    std::string v = value;
    v.resize(8, ' ');
    return record + v;
}
std::string ntv2Int(const char* key, std::int32_t value) {
    std::string v(8, '\0');
    std::memcpy(v.data(), &value, 4);
    return ntv2Record(key, v);
}
std::string ntv2Real(const char* key, double value) {
    std::string v(8, '\0');
    std::memcpy(v.data(), &value, 8);
    return ntv2Record(key, v);
}

// An NTV2 grid from NTF to RGF93 over 2°..4° E, 47°..49° N every 1° (3 × 3 nodes), shifting by
// 0.1" north and 0.2" east, with NaN in the node at 4° E, 49° N.
std::string ntv2Shift() {
    std::string out = ntv2Int("NUM_OREC", 11) + ntv2Int("NUM_SREC", 11) + ntv2Int("NUM_FILE", 1) +
                      ntv2Record("GS_TYPE", "SECONDS") + ntv2Record("VERSION", "NTv2.0") +
                      ntv2Record("SYSTEM_F", "NTF") + ntv2Record("SYSTEM_T", "RGF93") +
                      ntv2Real("MAJOR_F", 6378249.2) + ntv2Real("MINOR_F", 6356515.0) +
                      ntv2Real("MAJOR_T", 6378137.0) + ntv2Real("MINOR_T", 6356752.314);
    out += ntv2Record("SUB_NAME", "FIXTURE") + ntv2Record("PARENT", "NONE") + ntv2Record("CREATED", "") +
           ntv2Record("UPDATED", "") + ntv2Real("S_LAT", 47 * 3600.0) + ntv2Real("N_LAT", 49 * 3600.0) +
           ntv2Real("E_LONG", -4 * 3600.0) + ntv2Real("W_LONG", -2 * 3600.0) + ntv2Real("LAT_INC", 3600.0) +
           ntv2Real("LONG_INC", 3600.0) + ntv2Int("GS_COUNT", 9);
    // From the south-east node westward, then row after row northward.
    for (int k = 0; k < 9; ++k) {
        const bool north_east = k == 6;
        const float node[4] = {north_east ? kNaN : 0.1f, -0.2f, 0.0f, 0.0f};
        putLittle(out, node, sizeof node);
    }
    return out;
}

// The same shift as a native text grid of three translations (metres), with one NaN.
std::string mntShift() {
    std::string text = "2 4 47 49 1 1 4 0 3 0 0 0 0\r\n";
    for (int k = 0; k < 9; ++k) text += k == 8 ? "nan -60 320\r\n" : "-168 -60 320\r\n";
    return text;
}

// The reference catalogue with its grid entries replaced by the given lines.
std::string catalogueWith(const std::string& gridLines) {
    std::string catalogue = readFile(test::referenceDir() + "/catalogue.dat");
    const auto first = catalogue.find("GR1D grids/");
    const auto last = catalogue.find("GR3D grids/");
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(last, std::string::npos);
    const auto end = catalogue.find('\n', last);
    catalogue.replace(first, end + 1 - first, gridLines);
    return catalogue;
}

class BatchGridFiles : public ::testing::Test {
protected:
    // A working folder whose catalogue names the given grid lines.
    void useCatalogue(const std::string& gridLines) {
        writeFile(work_.file("catalogue.dat"), catalogueWith(gridLines));
        test::writeAllUsersConfiguration(profile_.path(), "catalogue.dat");
    }

    test::RunResult zelvo(const std::string& line) {
        const std::vector<std::string> args = test::words(line);
        test::RunOptions options;
        options.workingDirectory = work_.str();
        options.env["ALLUSERSPROFILE"] = profile_.str();
        options.env["XDG_CACHE_HOME"] = cache_.str();
        return test::run(args, options);
    }

    std::string file(const std::string& name) const { return work_.file(name); }

    // What point mode prints for a point 100 m above the ellipsoid, by the geoid of vertical
    // system alt.
    // What a point-mode run with vertical system alt prints: its progress (on standard error),
    // then its output.
    std::string altitude(int alt) {
        const std::string a = std::to_string(alt);
        const test::RunResult r = zelvo("-type 1 -mode 0 -sys1 1 -sys2 1 -alt 1 " + a +
                                        " -typcoor1 2 2 1 -typcoor2 2 2 1 -he 100 -lon 2.8 -lat 47.7");
        return r.err + r.out;
    }

    test::TempDir work_, profile_, cache_;
};

// No word of the text is a printed NaN or infinity ("nan", "-nan", "inf", "-inf", any case).
bool holdsNoNumberText(const std::string& text) {
    std::string word;
    for (std::size_t k = 0; k <= text.size(); ++k) {
        const char c = k < text.size() ? text[k] : ' ';
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            std::string lower;
            for (char w : word) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(w))));
            if (!lower.empty() && lower[0] == '-') lower.erase(0, 1);
            if (lower == "nan" || lower == "inf" || lower == "infinity") return false;
            word.clear();
        } else {
            word.push_back(c);
        }
    }
    return true;
}

const std::string kGeoidPoint =
    "-type 1 -mode 0 -sys1 1 -sys2 1 -alt 1 1 -typcoor1 2 2 1 -typcoor2 2 2 1 -he 100 ";
const std::string kGeoidFile = "-v -type 1 -mode 1 -sys1 1 -sys2 1 -alt 1 1 -typcoor1 2 2 1 -f1 2 in.txt "
                               "-typcoor2 2 2 1 -f2 1 out.txt";
const std::string kOutsideGeoid = "Les coordonnées que vous avez saisies sont hors de la grille de geoide\n";
const std::string kOutsideShift = "Les coordonnées que vous avez saisies sont hors de la grille de transformation\n";

// A geoid node that holds no number makes every point whose interpolation needs it a point
// outside the geoid grid, in point mode and in file mode alike, whatever the grid's format.
TEST_F(BatchGridFiles, GeoidNodesWithoutANumberAreOutsideTheGrid) {
    const struct {
        const char* name;
        std::function<bool(const test::TempDir&)> make;  // writes g.<ext>; false when it cannot
    } formats[] = {
        {"g.gtx", [](const test::TempDir& t) { return writeFile(t.file("g.gtx"), gtxGeoid(geoidNodes())), true; }},
        {"g.mnt", [](const test::TempDir& t) { return writeFile(t.file("g.mnt"), mntGeoid()), true; }},
        {"g.tif",
         [](const test::TempDir& t) {
             writeFile(t.file("source.gtx"), gtxGeoid(geoidNodes()));
             return test::gdalAvailable() &&
                    test::gdalTranslate({"-of", "GTiff", t.file("source.gtx"), t.file("g.tif")});
         }},
    };
    for (const auto& format : formats) {
        SCOPED_TRACE(format.name);
        fs::remove_all(work_.path());
        fs::create_directories(work_.path());
        if (!format.make(work_)) {
            ZELVO_MISSING_PREREQUISITE("GDAL's gdal_translate is not installed");
            continue;
        }
        writeFile(file("g.xml"), kBilinearSideFile);
        useCatalogue("GR1D " + std::string(format.name) + " 1 1\r\n");
        // A first start makes the binary version; the runs then print only their own output.
        ASSERT_EQ(zelvo("-?").exitCode, 0);

        const auto inside = zelvo(kGeoidPoint + "-lon 2.8 -lat 47.7");
        EXPECT_EQ(inside.out, kWelcome + "2.80000000 47.70000000 100.000 55.000" + kClosing) << inside.err;
        EXPECT_EQ(inside.exitCode, 0);
        for (const char* point : {"-lon 3.8 -lat 48.8", "-lon 2.2 -lat 48.8", "-lon 4 -lat 49"}) {
            const auto r = zelvo(kGeoidPoint + point);
            EXPECT_EQ(r.out, kWelcome + kClosing) << point;
            EXPECT_EQ(r.err, kOutsideGeoid) << point;
            EXPECT_EQ(r.exitCode, 2) << point;
        }

        writeFile(file("in.txt"), "A 2.8 47.7 100.0\r\nB 3.8 48.8 100.0\r\nC 2.2 48.8 100.0\r\n");
        const auto run = zelvo(kGeoidFile);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string out = readFile(file("out.txt"));
        EXPECT_TRUE(holdsNoNumberText(out)) << out;
        EXPECT_NE(out.find("A    2.80000000   47.70000000   55.000"), std::string::npos) << out;
        for (const char* outside : {"B    3.80000000   48.80000000    0.000 \t\t aucune information \t\t "
                                    "HORS GRILLE DE GEOIDE\r\n",
                                    "C    2.20000000   48.80000000    0.000 \t\t aucune information \t\t "
                                    "HORS GRILLE DE GEOIDE\r\n"})
            EXPECT_NE(out.find(outside), std::string::npos) << out;
    }
}

// The same for the grids of the datum shift: NTV2 (geographic shifts) and the native text grid
// of translations. A point whose interpolation needs the node without a number is outside the
// grid; the others are shifted.
TEST_F(BatchGridFiles, ShiftNodesWithoutANumberAreOutsideTheGrid) {
    const struct {
        const char* name;
        std::string bytes;
    } formats[] = {
        {"s.gsb", ntv2Shift()},
        {"s.mnt", mntShift()},
    };
    const std::string point = "-type 2 -mode 0 -sys1 2 -sys2 1 -typcoor1 2 2 1 -typcoor2 2 2 1 ";
    for (const auto& format : formats) {
        SCOPED_TRACE(format.name);
        fs::remove_all(work_.path());
        fs::create_directories(work_.path());
        writeFile(file(format.name), format.bytes);
        writeFile(file("s.xml"), kBilinearSideFile);
        useCatalogue("GR3D " + std::string(format.name) + " 2 1\r\n");
        ASSERT_EQ(zelvo("-?").exitCode, 0);

        const auto inside = zelvo(point + "-lon 2.3 -lat 47.3");
        EXPECT_EQ(inside.exitCode, 0) << inside.err;
        EXPECT_TRUE(holdsNoNumberText(inside.out)) << inside.out;
        EXPECT_NE(inside.out, kWelcome + kClosing);
        const auto outside = zelvo(point + "-lon 3.7 -lat 48.7");
        EXPECT_EQ(outside.out, kWelcome + kClosing);
        EXPECT_EQ(outside.err, kOutsideShift);
        EXPECT_EQ(outside.exitCode, 2);

        writeFile(file("in.txt"), "A 2.3 47.3 0\r\nB 3.7 48.7 0\r\n");
        const auto run = zelvo("-type 2 -mode 1 -sys1 2 -sys2 1 -typcoor1 2 2 1 -f1 1 in.txt -typcoor2 2 2 1 -f2 1 out.txt");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string out = readFile(file("out.txt"));
        EXPECT_TRUE(holdsNoNumberText(out)) << out;
        EXPECT_EQ(out.find("ERREUR"), out.rfind("ERREUR")) << "one line refused: " << out;
        EXPECT_NE(out.find("* ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : Les coordonn\xE9"
                           "es que vous avez saisies sont hors de la grille de transformation\r\n"),
                  std::string::npos)
            << out;
        EXPECT_NE(out.find("                   A    2."), std::string::npos) << out;
    }
}

// Two grids of one base name keep binary versions of their own, and a grid rewritten in place
// gives its new values at the next start.
TEST_F(BatchGridFiles, BinaryVersionsFollowTheirGridFile) {
    if (!test::gdalAvailable()) ZELVO_MISSING_PREREQUISITE("GDAL's gdal_translate is not installed");
    writeFile(file("source.gtx"), gtxGeoid(std::vector<float>(25, 10.0f)));
    ASSERT_TRUE(test::gdalTranslate({"-of", "GTiff", file("source.gtx"), file("geo.tif")}));
    writeFile(file("geo.gtx"), gtxGeoid(std::vector<float>(25, 45.0f)));
    writeFile(file("geo.mnt"), "2 4 47 49 2 2 4 0 1 0 0\r\n30 30\r\n30 30\r\n");
    writeFile(file("geo.xml"), kBilinearSideFile);
    // NGF69 by the GTX grid, EGM96 by the GeoTIFF grid; the native text grid for a third system
    // (coarser than the GeoTIFF grid, which the selection prefers).
    useCatalogue("GR1D geo.gtx 1 1\r\nGR1D geo.tif 1 2\r\nGR1D geo.mnt 1 2\r\n");
    ASSERT_EQ(zelvo("-?").exitCode, 0);
    EXPECT_EQ(altitude(1), kWelcome + "2.80000000 47.70000000 100.000 55.000" + kClosing);
    EXPECT_EQ(altitude(2), kWelcome + "2.80000000 47.70000000 100.000 90.000" + kClosing);
    for (const char* made : {"geo.gtx.bin", "geo.tif.bin", "geo.mnt.bin"})
        EXPECT_TRUE(fs::exists(file(made))) << made;
    EXPECT_FALSE(fs::exists(file("geo.bin")));

    // The GTX grid rewritten in place, same size: its new values, its binary version made again.
    const auto before = fs::last_write_time(file("geo.gtx.bin"));
    writeFile(file("geo.gtx"), gtxGeoid(std::vector<float>(25, 30.0f)));
    fs::last_write_time(file("geo.gtx"), fs::last_write_time(file("geo.gtx")) + std::chrono::seconds(2));
    const std::string remade = "Creation du fichier binaire  " + file("geo.gtx.bin") + " ...\n";
    EXPECT_EQ(altitude(1), remade + kWelcome + "2.80000000 47.70000000 100.000 70.000" + kClosing);
    EXPECT_NE(fs::last_write_time(file("geo.gtx.bin")), before);
    // The other grid's binary version is left as it was, and still used.
    const auto tif = fs::last_write_time(file("geo.tif.bin"));
    EXPECT_EQ(altitude(2), kWelcome + "2.80000000 47.70000000 100.000 90.000" + kClosing);
    EXPECT_EQ(fs::last_write_time(file("geo.tif.bin")), tif);

    // A binary version that records no source (or another one) beside its grid is made again.
    writeFile(file("geo.gtx.bin"), readFile(file("geo.tif.bin")));
    EXPECT_EQ(altitude(1), remade + kWelcome + "2.80000000 47.70000000 100.000 70.000" + kClosing);
    EXPECT_EQ(altitude(1), kWelcome + "2.80000000 47.70000000 100.000 70.000" + kClosing);
}

}  // namespace
}  // namespace zelvo
