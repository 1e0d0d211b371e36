// The start-up grid check: in process (the catalogue entries it rewrites) and through the real
// binary (its messages and exit codes, and the binary versions it leaves).

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.hpp"
#include "app/grid_check.hpp"
#include "platform/user_interface.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

const std::string kGridHeader = "0 2 0 1 1 1 4 0 1 0 0\r\n";
const std::string kGridData = "0 1 2\r\n10 11 12\r\n";
const std::string kSideFile = "<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>";

void writeGrid(const fs::path& folder, const std::string& base) {
    writeFile(folder / (base + ".mnt"), kGridHeader + kGridData);
    writeFile(folder / (base + ".xml"), kSideFile);
}

class SilentUi : public UserInterface {
public:
    void message(const std::string& text, MessageIcon) override { messages.push_back(text); }
    bool question(const std::string&, MessageIcon, bool) override { return false; }
    void write(const std::string& text) override { written += text; }
    void progressBegin(const std::string& status, int) override { written += status; }
    void progressStep() override { written += "|"; }
    void progressEnd() override {}
    bool cancelRequested() override { return false; }
    std::vector<std::string> messages;
    std::string written;
};

struct App {
    explicit App(const TempDir& work, const TempDir& config) {
        app.workingDirectory = work.str() + "/";
        app.iniPath = config.file("zelvo.ini");
        app.consoleMode = 1;
    }
    CZelvoApp app;
};

TEST(GridCheck, EntriesNameTheBinaryVersionsAfterwards) {
    TempDir work, config;
    writeGrid(work.path(), "geoid");
    writeGrid(config.path(), "shift");  // found beside the configuration file
    writeGrid(work.path() / "sub", "other");
    App a(work, config);
    a.app.catalogue.grids1D.push_back({"geoid.mnt", 1, {1}, ""});
    a.app.catalogue.grids3D.push_back({"shift.mnt", 2, 1, ""});
    a.app.catalogue.grids3D.push_back({work.file("sub/other.mnt"), 2, 3, ""});
    SilentUi ui;
    ASSERT_EQ(checkGrids(a.app, ui), GridCheck::Passed);
    EXPECT_EQ(a.app.catalogue.grids1D[0].fileName, work.file("geoid.mnt.bin"));
    EXPECT_EQ(a.app.catalogue.grids3D[0].fileName, config.file("shift.mnt.bin"));
    EXPECT_EQ(a.app.catalogue.grids3D[1].fileName, work.file("sub/other.mnt.bin"));
    EXPECT_TRUE(ui.messages.empty());
    for (const char* created : {"geoid.mnt.bin", "sub/other.mnt.bin"})
        EXPECT_TRUE(fs::exists(work.file(created))) << created;
    EXPECT_TRUE(fs::exists(config.file("shift.mnt.bin")));
}

TEST(GridCheck, NoGridsPassAndAFailingGeoidGridStopsTheCheck) {
    TempDir work, config;
    {
        App a(work, config);
        SilentUi ui;
        EXPECT_EQ(checkGrids(a.app, ui), GridCheck::Passed);
    }
    writeGrid(work.path(), "shift");
    writeFile(work.file("bad.mnt"), kGridHeader + kGridData);  // no side file
    App a(work, config);
    a.app.catalogue.grids1D.push_back({"bad.mnt", 1, {1}, ""});
    a.app.catalogue.grids3D.push_back({"shift.mnt", 2, 1, ""});
    SilentUi ui;
    EXPECT_EQ(checkGrids(a.app, ui), GridCheck::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("Le type d'interpolation doit être bilinéaire ou spline"), std::string::npos);
    EXPECT_FALSE(fs::exists(work.file("shift.mnt.bin"))) << "no 3-D grid is opened after a failing 1-D grid";
    EXPECT_EQ(a.app.catalogue.grids3D[0].fileName, "shift.mnt");
}

// A grid found in no folder is reported with the folders searched, and the check goes on: the
// transformations that do not need it stay available.
TEST(GridCheck, AnAbsentGridIsReportedAndTheOthersStillOpen) {
    TempDir work, config, proj;
    writeGrid(work.path(), "shift");
    App a(work, config);
    a.app.catalogue.grids1D.push_back({"absent.gtx", 1, {1}, ""});
    a.app.catalogue.grids3D.push_back({"shift.mnt", 2, 1, ""});
    SilentUi ui;
    setenv("PROJ_DATA", proj.str().c_str(), 1);
    const GridCheck result = checkGrids(a.app, ui);
    unsetenv("PROJ_DATA");
    EXPECT_EQ(result, GridCheck::Passed);
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& message = ui.messages[0];
    EXPECT_EQ(message.rfind("Grille introuvable : absent.gtx\n", 0), 0u) << message;
    for (const std::string& folder : {work.str() + "/", config.str() + "/", proj.str() + "/"})
        EXPECT_NE(message.find(folder), std::string::npos) << folder << " in " << message;
    EXPECT_NE(message.find("proj-data"), std::string::npos);
    EXPECT_EQ(a.app.catalogue.grids3D[0].fileName, work.file("shift.mnt.bin"));
}

// A relative name found in neither the working folder nor beside the configuration file is
// looked up in PROJ's folders, PROJ_DATA first; a side file shipped beside the configuration
// file serves a grid whose folder has none.
TEST(GridCheck, GridsAreLookedUpInProjFolders) {
    TempDir work, config, proj;
    writeGrid(proj.path(), "shift");
    fs::rename(proj.file("shift.xml"), config.file("shift.xml"));
    App a(work, config);
    setenv("PROJ_DATA", ("/nonexistent:" + proj.str()).c_str(), 1);
    const GridLocation location = locateGrid(a.app, "shift.mnt");
    unsetenv("PROJ_DATA");
    EXPECT_EQ(location.path, proj.file("shift.mnt"));
    EXPECT_EQ(location.sideFileFolder, config.str() + "/");
    EXPECT_EQ(location.searched,
              (std::vector<std::string>{work.str() + "/", config.str() + "/", "/nonexistent/", proj.str() + "/",
                                        "/usr/share/proj/"}));
}

const std::string kCatalogue =
    "ELG 1 6378137 0 0 0.00669438 GRS 1980\r\nLGO 1 2 0 Greenwich\r\nREG 1 1 1 3D Réf\r\n";
const std::string kWelcome = "*** Bienvenue dans Zelvo Batch ***";
// What -? prints with the test configuration, before the closing text.
const std::string kHelp = "\nAide de test\n";
// The runs have no terminal on standard input: no key is asked for, the output just ends its line.
const std::string kClosing = "\n";

test::RunOptions inFolder(const TempDir& work, const TempDir& profile) {
    test::RunOptions options;
    options.workingDirectory = work.str();
    options.env["ALLUSERSPROFILE"] = profile.str();
    return options;
}

TEST(StartupGrids, CataloguesWhoseGridsDoNotOpen) {
    const struct {
        std::string name;
        std::string lines;                     // catalogue grid lines
        void (*prepare)(const TempDir& work);  // grid files
        int exitCode;
        std::string err;  // %w: the working folder
    } cases[] = {
        {"unknown format", "GR3D shift.txt 1 2\r\n",
         [](const TempDir& w) { writeFile(w.file("shift.txt"), "x"); }, 1,
         "%w/shift.txt :\nLe type de grille n'est pas reconnu\n"},
        {"no side file", "GR1D g.mnt 1 1\r\n",
         [](const TempDir& w) { writeFile(w.file("g.mnt"), kGridHeader + kGridData); }, 1,
         "%w/g.mnt :\n+ Le type d'interpolation doit être bilinéaire ou spline\n\n"},
        {"truncated data", "GR1D g.mnt 1 1\r\n",
         [](const TempDir& w) {
             writeFile(w.file("g.mnt"), kGridHeader + "0 1 2\r\n");
             writeFile(w.file("g.xml"), kSideFile);
         },
         1, "%w/g.mnt :\nLes données s'arrêtent après 3 nœuds, l'en-tête en annonce 6\n"},
        {"side file that is not XML", "GR1D g.mnt 1 1\r\n",
         [](const TempDir& w) {
             writeFile(w.file("g.mnt"), kGridHeader + kGridData);
             writeFile(w.file("g.xml"), "\x89PNG\r\n\x1a\n");
         },
         1, "%w/g.mnt :\n+ Le type d'interpolation doit être bilinéaire ou spline\n\n"},
        {"binary of an unknown version", "GR1D g.bin 1 1\r\n",
         [](const TempDir& w) {
             writeFile(w.file("g.bin"), std::string("GRID\0\x09\0\0\0", 9) + std::string(100, '\0'));
             writeFile(w.file("g.xml"), kSideFile);
         },
         1, "Numéro de version imprévu : 9\n(%w/g.bin)\n"},
        {"binary that does not start with its keyword", "GR1D g.bin 1 1\r\n",
         [](const TempDir& w) {
             writeFile(w.file("g.bin"), std::string("GRIX\0\x03\0\0\0", 9) + std::string(100, '\0'));
             writeFile(w.file("g.xml"), kSideFile);
         },
         1, "Mot-clé imprévu : GRIX\n(%w/g.bin)\nProblème dans l'en-tête de\n%w/g.bin (position 2)\n"},
        {"binary announcing 4 billion nodes", "GR1D g.bin 1 1\r\n",
         [](const TempDir& w) {
             std::string b("GRID\0\x03\0\0\0\x5d\0\0\0", 13);
             const double limits[] = {0, 65535, 0, 65535, 1, 1};
             for (double v : limits) b.append(reinterpret_cast<const char*>(&v), 8);
             const int ints[] = {4, 0, 1, 4, 0};
             for (int v : ints) b.append(reinterpret_cast<const char*>(&v), 4);
             const double zero = 0;
             b.append(reinterpret_cast<const char*>(&zero), 8);
             b.append(4, '\0');
             writeFile(w.file("g.bin"), b);
             writeFile(w.file("g.xml"),
                       "<GRID_HEADER><NODE_COORD_UNIT>METERS</NODE_COORD_UNIT><INC_UNIT>METERS</INC_UNIT>"
                       "<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>");
         },
         1, "%w/g.bin :\nLa grille annonce trop de nœuds (65536 colonnes × 65536 lignes)\n"},
    };
    for (const auto& c : cases) {
        TempDir work, profile;
        test::writeAllUsersConfiguration(profile.path(), "cat.dat");
        writeFile(work.file("cat.dat"), kCatalogue + c.lines);
        c.prepare(work);
        const auto r = test::run({"-?"}, inFolder(work, profile));
        std::string err = c.err;
        for (std::size_t at; (at = err.find("%w")) != std::string::npos;) err.replace(at, 2, work.str());
        EXPECT_EQ(r.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(test::withoutProgress(r.err), err) << c.name;
        EXPECT_EQ(r.out.find("Creation du fichier binaire"), std::string::npos) << c.name << ": progress on stdout";
        EXPECT_EQ(r.out.find("Aide de test"), std::string::npos)
            << c.name << ": the run stops before the command line is run";
        EXPECT_FALSE(fs::exists(work.file("g.bin.part"))) << c.name;
    }
}

TEST(StartupGrids, AnAbsentGridIsReportedAndTheRunGoesOn) {
    TempDir work, profile;
    test::writeAllUsersConfiguration(profile.path(), "cat.dat");
    writeFile(work.file("cat.dat"), kCatalogue + "GR1D absent.gtx 1 1\r\n");
    test::RunOptions options = inFolder(work, profile);
    options.env["PROJ_DATA"] = work.str();
    const auto r = test::run({"-?"}, options);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err.rfind("Grille introuvable : absent.gtx\n", 0), 0u) << r.err;
    EXPECT_NE(r.out.find(kClosing), std::string::npos) << "the run goes on: " << r.out;
}

TEST(StartupGrids, TextGridsGetTheirBinaryVersionOnce) {
    TempDir work, profile;
    test::writeAllUsersConfiguration(profile.path(), "cat.dat");
    writeFile(work.file("cat.dat"), kCatalogue + "GR1D geoid.mnt 1 1\r\nGR3D shift.mnt 1 2\r\n");
    writeGrid(work.path(), "geoid");
    writeGrid(profile.path() / "Zelvo", "shift");  // beside the configuration file
    auto r = test::run({"-?"}, inFolder(work, profile));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // The progress goes to standard error, apart from what the program prints.
    EXPECT_EQ(r.err, "Creation du fichier binaire  " + work.file("geoid.mnt.bin") + " ...\n" +
                         "Creation du fichier binaire  " + profile.file("Zelvo/shift.mnt.bin") + " ...\n");
    EXPECT_EQ(r.out, kWelcome + kHelp + kClosing);
    EXPECT_TRUE(fs::exists(work.file("geoid.mnt.bin")));
    EXPECT_TRUE(fs::exists(profile.file("Zelvo/shift.mnt.bin")));

    r = test::run({"-?"}, inFolder(work, profile));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, kWelcome + kHelp + kClosing) << "the binary versions are reused";
}

TEST(StartupGrids, ReferenceCatalogueAndGrids) {
    const std::string reference = test::referenceDir();
    TempDir work, profile;
    fs::copy_file(fs::path(reference) / "catalogue.dat", work.path() / "catalogue.dat");
    fs::create_directory(work.path() / "grids");
    for (const char* name :
         {"geoid_fr_egm96.mnt", "geoid_fr_egm96.xml", "ntf_rgf93_3d.mnt", "ntf_rgf93_3d.xml"})
        fs::copy_file(fs::path(reference) / "grids" / name, work.path() / "grids" / name);
    test::writeAllUsersConfiguration(profile.path(), "catalogue.dat");
    const auto r = test::run({"-?"}, inFolder(work, profile));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "Creation du fichier binaire  " + work.file("grids/geoid_fr_egm96.mnt.bin") + " ..." +
                         std::string(100, '|') + "\nCreation du fichier binaire  " +
                         work.file("grids/ntf_rgf93_3d.mnt.bin") + " ..." + std::string(100, '|') + "\n");
    EXPECT_EQ(r.out, kWelcome + kHelp + kClosing);
}

}  // namespace
}  // namespace zelvo
