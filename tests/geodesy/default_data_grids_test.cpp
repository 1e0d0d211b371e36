// The grid entries of the embedded default data, run through the real binary as a new user would
// run it (no configuration of their own), against cs2cs with the same grids: PROJ's grids are
// copied into a temporary folder given as PROJ_DATA, so that nothing is written beside the
// installed ones.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "platform/number_text.hpp"
#include "reference_tools.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

const fs::path kProjFolder = "/usr/share/proj";
const char* const kDefaultGrids[] = {"ntf_r93.gsb", "egm96_15.gtx", "BETA2007.gsb", "nzgd2kgrid0005.gsb"};

const std::string kNtfLambert2e =
    "+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 +x_0=600000 +y_0=2200000 +a=6378249.2 "
    "+b=6356515 +pm=paris";
const std::string kLambert93 =
    "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=49 +lat_2=44 +x_0=700000 +y_0=6600000 +ellps=GRS80";
const std::string kGaussKruger3 = "+proj=tmerc +lat_0=0 +lon_0=9 +k=1 +x_0=3500000 +y_0=0 +ellps=bessel";
const std::string kEtrs89Utm32 = "+proj=utm +zone=32 +ellps=GRS80";
const std::string kNztm2000 = "+proj=tmerc +lat_0=0 +lon_0=173 +k=0.9996 +x_0=1600000 +y_0=10000000 +ellps=GRS80";
const std::string kWgs84 = "+proj=longlat +ellps=WGS84 +towgs84=0,0,0";

// The numbers of the last line the batch printed before its closing text (the welcome text has
// no line break after it).
std::vector<double> printedValues(const std::string& out) {
    const std::string welcome = "*** Bienvenue dans Zelvo Batch ***";
    // Without a terminal the output just ends its line.
    std::string body = out.ends_with('\n') ? out.substr(0, out.size() - 1) : out;
    if (body.starts_with(welcome)) body = body.substr(welcome.size());
    std::istringstream last(body.substr(body.find_last_of('\n') + 1));
    std::vector<double> values;
    for (std::string word; last >> word;) {
        double v = 0;
        if (parseDouble(word, v)) values.push_back(v);
    }
    return values;
}

// What a case compares: easting and northing (to 1 mm), longitude and latitude (printed to
// 1e-8 degree, under a millimetre), or the altitude the batch prints last (to 1 mm).
enum class Compared { Projected, Geographic, Altitude };

struct DefaultGridCase {
    std::string name;
    std::vector<std::string> args;  // followed by the point's last value
    std::array<double, 3> point;
    std::string projFrom, projTo;  // cs2cs definitions, grids named by %g (the PROJ_DATA folder)
    Compared compared;
};

// Copies the default data's grids from PROJ's folder into proj; the reason to skip otherwise.
std::string copyDefaultGrids(const TempDir& proj) {
    for (const char* grid : kDefaultGrids)
        if (!fs::exists(kProjFolder / grid))
            return std::string(grid) + " is not in " + kProjFolder.string() + " (Debian package proj-data)";
    for (const char* grid : kDefaultGrids) fs::copy_file(kProjFolder / grid, proj.path() / grid);
    return {};
}

TEST(DefaultDataGrids, ReadmeExamplesAndEachGridAgainstProj) {
    if (!test::cs2csAvailable()) ZELVO_MISSING_PREREQUISITE("PROJ's cs2cs is not installed (Debian package proj-bin)");
    TempDir work, proj, cache, config;
    if (const std::string why = copyDefaultGrids(proj); !why.empty()) ZELVO_MISSING_PREREQUISITE(why);

    const DefaultGridCase cases[] = {
        // The grid page's README example: NTF Lambert II étendu to RGF93 Lambert 93 through ntf_r93.gsb.
        {"NTF to RGF93",
         {"-type", "2", "-mode", "0", "-sys1", "2", "-sys2", "1", "-typcoor1", "3", "6", "-typcoor2", "3", "9", "-E",
          "814149.529", "-N", "1887019.768"},
         {814149.529, 1887019.768, 0},
         kNtfLambert2e + " +nadgrids=%g/ntf_r93.gsb",
         kLambert93 + " +nadgrids=@null",
         Compared::Projected},
        // WGS84 ellipsoidal height to EGM96 altitude (the altitude is printed last).
        {"WGS84 to EGM96",
         {"-type", "1", "-mode", "0", "-sys1", "4", "-sys2", "4", "-alt", "1", "2", "-typcoor1", "2", "2", "1",
          "-typcoor2", "2", "2", "1", "-lon", "2.35", "-lat", "48.85", "-he"},
         {2.35, 48.85, 100.0},
         kWgs84,
         kWgs84 + " +geoidgrids=%g/egm96_15.gtx",
         Compared::Altitude},
        {"DHDN Gauss-Krüger zone 3 to ETRS89 UTM 32",
         {"-type", "2", "-mode", "0", "-sys1", "8", "-sys2", "9", "-typcoor1", "3", "29", "-typcoor2", "3", "32", "-E",
          "3500123.456", "-N"},
         {3500123.456, 5600234.567, 0},
         kGaussKruger3 + " +nadgrids=%g/BETA2007.gsb",
         kEtrs89Utm32 + " +nadgrids=@null",
         Compared::Projected},
        {"NZGD2000 NZTM2000 back to NZGD49 geographic",
         {"-type", "2", "-mode", "0", "-sys1", "11", "-sys2", "10", "-typcoor1", "3", "34", "-typcoor2", "2", "2",
          "1", "-E", "1750000", "-N"},
         {1750000, 5430000, 0},
         kNztm2000 + " +nadgrids=@null",
         "+proj=longlat +ellps=intl +nadgrids=%g/nzgd2kgrid0005.gsb",
         Compared::Geographic},
    };
    for (const DefaultGridCase& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(formatFixed(c.compared == Compared::Altitude ? c.point[2] : c.point[1], 3));
        test::RunOptions options;
        options.workingDirectory = work.str();
        options.env = {{"ALLUSERSPROFILE", std::nullopt}, {"XDG_CONFIG_HOME", config.str()},
                       {"XDG_CONFIG_DIRS", config.str()}, {"XDG_CACHE_HOME", cache.str()},
                       {"PROJ_DATA", proj.str()}};
        const auto r = test::run(args, options);
        ASSERT_EQ(r.exitCode, 0) << c.name << ": " << r.err;
        EXPECT_EQ(test::withoutProgress(r.err), "") << c.name << ": every default grid is there";
        const std::vector<double> ours = printedValues(r.out);

        const auto withGrids = [&proj](std::string definition) {
            for (std::size_t at; (at = definition.find("%g")) != std::string::npos;) definition.replace(at, 2, proj.str());
            return definition;
        };
        const auto theirs = test::runCs2cs(withGrids(c.projFrom), withGrids(c.projTo), {c.point});
        ASSERT_EQ(theirs.size(), 1u) << c.name << ": cs2cs did not run";
        if (c.compared == Compared::Altitude) {
            ASSERT_EQ(ours.size(), 4u) << c.name << ": " << r.out;
            EXPECT_NEAR(ours[3], theirs[0][2], 0.001 + 1e-9) << c.name;
        } else {
            ASSERT_EQ(ours.size(), 2u) << c.name << ": " << r.out;
            const double tolerance = c.compared == Compared::Geographic ? 1e-8 : 0.001 + 1e-9;
            EXPECT_NEAR(ours[0], theirs[0][0], tolerance) << c.name;
            EXPECT_NEAR(ours[1], theirs[0][1], tolerance) << c.name;
        }
    }
    // PROJ's folders are left as they are: the binary version of the GTX grid is in the cache.
    for (const auto& entry : fs::directory_iterator(proj.path()))
        EXPECT_NE(entry.path().extension(), ".bin") << entry.path();
    bool cached = false;
    for (const auto& entry : fs::recursive_directory_iterator(cache.path()))
        cached = cached || (entry.path().extension() == ".bin" && entry.path().filename().string().starts_with("egm96_15."));
    EXPECT_TRUE(cached) << "the binary version of egm96_15.gtx is in the cache folder";
}

// A catalogue grid absent from the machine: reported at start-up, a point of a file that needs it
// is reported as outside the grid, and the standard transformation between the same systems
// still runs.
TEST(DefaultDataGrids, AnAbsentGridLeavesTheOtherTransformationsWorking) {
    TempDir work, proj, cache, config;
    if (const std::string why = copyDefaultGrids(proj); !why.empty()) ZELVO_MISSING_PREREQUISITE(why);
    std::string catalogue = test::readFile(fs::path(ZELVO_BINARY).parent_path().parent_path() / "share/zelvo/catalogue.dat");
    const std::size_t at = catalogue.find("GR3D ntf_r93.gsb");
    ASSERT_NE(at, std::string::npos);
    catalogue.replace(at, 16, "GR3D absent_ntf.gsb");
    test::writeFile(work.file("catalogue.dat"), catalogue);
    test::RunOptions options;
    options.workingDirectory = work.str();
    options.env = {{"ALLUSERSPROFILE", std::nullopt}, {"XDG_CONFIG_HOME", config.str()},
                   {"XDG_CONFIG_DIRS", config.str()}, {"XDG_CACHE_HOME", cache.str()}, {"PROJ_DATA", proj.str()}};
    test::writeFile(work.file("in.txt"), "P 814149.529 1887019.768 0\r\n");
    const auto r = test::run({"-type", "2", "-mode", "1", "-sys1", "2", "-sys2", "1", "-typcoor1", "3", "6", "-f1",
                              "1", "in.txt", "-typcoor2", "3", "9", "-f2", "1", "out.txt"},
                             options);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("Grille introuvable : absent_ntf.gsb\n"), std::string::npos) << r.err;
    EXPECT_EQ(test::readFile(work.file("out.txt")),
              "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
              "e : Les coordonn\xE9"
              "es que vous avez saisies sont hors de la grille de transformation\r\n");

    const auto standard = test::run({"-type", "1", "-mode", "0", "-sys1", "2", "-sys2", "1", "-typcoor1", "3", "6",
                                     "-typcoor2", "3", "9", "-E", "814149.529", "-N", "1887019.768"},
                                    options);
    EXPECT_EQ(printedValues(standard.out), (std::vector<double>{860690.522, 6319037.047}));
    // A single point needing the absent grid is not printed without its datum shift.
    const auto point = test::run({"-type", "2", "-mode", "0", "-sys1", "2", "-sys2", "1", "-typcoor1", "3", "6",
                                  "-typcoor2", "3", "9", "-E", "814149.529", "-N", "1887019.768"},
                                 options);
    EXPECT_EQ(point.exitCode, 2);
    EXPECT_NE(point.err.find("Les coordonnées que vous avez saisies sont hors de la grille de transformation\n"),
              std::string::npos)
        << point.err;
    EXPECT_TRUE(printedValues(point.out).empty()) << point.out;
}

}  // namespace
}  // namespace zelvo
