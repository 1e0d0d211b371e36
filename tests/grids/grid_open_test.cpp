// Opening grids: messages of the open, validation texts and their order, normalisation, the
// binary version (created once, reused, never left incomplete, placed in the user's cache
// folder when the grid's folder cannot be written), header-only opens, and data sections that
// do not hold what their header announces.

#include <gtest/gtest.h>

#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <filesystem>

#include "geodesy/grid_open_report.hpp"
#include "grid_fixtures.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::ScopedEnv;
using test::TempDir;

std::string withName(std::string text, const std::string& name) {
    if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, name);
    return text;
}

TEST(GridOpen, MessagesBeforeTheHeader) {
    TempDir dir;
    test::writeFile(dir.file("g.Mnt"), test::kSmallHeader + "\r\n" + test::kSmallData);
    test::writeFile(dir.file("g.txt"), test::kSmallHeader + "\r\n" + test::kSmallData);
    test::writeFile(dir.file("g.gsb"), "NUM_OREC");
    test::writeFile(dir.file("g.asc"), "ncols 3\r\n");
    const struct {
        std::string name;
        std::string message;
    } cases[] = {
        {"", "Le nom du fichier de grille n'est pas initialisé"},
        {dir.file("absent.mnt"), "Impossible d'ouvrir le fichier \n%s"},
        {dir.str(), "Impossible d'ouvrir le fichier \n%s"},
        {dir.file("g.Mnt"), "%s :\nLe type de grille n'est pas reconnu"},
        {dir.file("g.txt"), "%s :\nLe type de grille n'est pas reconnu"},
        {dir.file("g.gsb"), "%s :\nL'en-tête du fichier binaire est incomplet"},
        {dir.file("g.asc"), "%s :\nMot-clé nrows absent de l'en-tête de la grille ESRI"},
    };
    for (const auto& c : cases) {
        for (int mode : {0, 2}) {
            CGrille grid;
            grid.header.NAME = c.name;
            EXPECT_EQ(grid.open(mode).message, withName(c.message, c.name)) << c.name;
        }
    }
}

// A header that passes validation, which each case then spoils.
CGrille validHeader() {
    CGrille grid;
    grid.header.NAME = "g.mnt";
    grid.header.GRID_TYPE = kFormatTextVrd;
    grid.header.LAYOUT = 4;
    grid.header.X_MIN = 0;
    grid.header.X_MAX = 2;
    grid.header.Y_MIN = 0;
    grid.header.Y_MAX = 1;
    grid.header.X_INC = grid.header.Y_INC = 1;
    grid.header.N_COLUMNS = 3;
    grid.header.N_LINES = 2;
    grid.header.VALUES_NUMBER = 1;
    grid.header.VALUES_TYPE = kValuesReal8;
    grid.header.INTERPOLATION_TYPE = kInterpolationBilinear;
    return grid;
}

TEST(GridValidate, EveryTextInOrder) {
    const std::string counts = "+ Incohérence des limites, pas et nombre de lignes et de colonnes\n";
    const std::string adjust = "+ Ajustez mieux les limites et les pas de votre grille\n";
    const std::string extent = "+ Emprise de la grille non valide\n";
    const struct {
        std::string name;
        void (*spoil)(CGrille&);
        std::string faults;
    } cases[] = {
        {"valid", [](CGrille&) {}, ""},
        {"layout 0", [](CGrille& g) { g.header.LAYOUT = 0; }, "+ Type de rangement imprévu : 0\n"},
        {"layout 9", [](CGrille& g) { g.header.LAYOUT = 9; }, "+ Type de rangement imprévu : 9\n"},
        {"x range empty", [](CGrille& g) { g.header.X_MAX = 0; },
         "+ XMin >= XMax\n" + extent + counts + adjust},
        {"y range reversed", [](CGrille& g) { g.header.Y_MAX = -1; }, "+ YMin >= YMax\n" + counts + adjust},
        {"latitude beyond 90",
         [](CGrille& g) {
             g.header.Y_MIN = 89;
             g.header.Y_MAX = 91;
             g.header.Y_INC = 2;
         },
         extent},
        {"longitudes 350 to 370",
         [](CGrille& g) {
             g.header.X_MIN = 350;
             g.header.X_MAX = 370;
             g.header.X_INC = 10;
         },
         ""},
        {"metres beyond 360",
         [](CGrille& g) {
             g.header.NODE_COORD_UNIT = g.header.INC_UNIT = kGridUnitMeters;
             g.header.X_MAX = 2000;
             g.header.X_INC = 1000;
         },
         ""},
        {"seconds within bounds",
         [](CGrille& g) {
             g.header.NODE_COORD_UNIT = g.header.INC_UNIT = kGridUnitSeconds;
             g.header.Y_MAX = 324000;
             g.header.Y_MIN = 0;
             g.header.Y_INC = 324000;
         },
         ""},
        {"seconds beyond bounds",
         [](CGrille& g) {
             g.header.NODE_COORD_UNIT = g.header.INC_UNIT = kGridUnitSeconds;
             g.header.Y_MAX = 324001;
             g.header.Y_MIN = 1;
             g.header.Y_INC = 324000;
         },
         extent},
        {"no limit value", [](CGrille& g) { g.header.X_MAX = NAN; }, extent + counts + adjust},
        {"increment 0", [](CGrille& g) { g.header.X_INC = 0; }, "+ Pas non valide\n" + counts + adjust},
        {"increment below 1e-10", [](CGrille& g) { g.header.Y_INC = 1e-11; },
         "+ Pas non valide\n" + counts + adjust},
        {"11.5 columns",
         [](CGrille& g) {
             g.header.X_MAX = 10.5;
             g.header.N_COLUMNS = 11;
         },
         counts + adjust},
        {"lines miscounted", [](CGrille& g) { g.header.N_LINES = 3; }, counts + adjust},
        {"limits off by 0.001", [](CGrille& g) { g.header.X_MAX = 2.001; }, adjust},
        {"limits off by 1e-6", [](CGrille& g) { g.header.X_MAX = 2.000001; }, ""},
        {"no value type", [](CGrille& g) { g.header.VALUES_TYPE = 0; }, "+ TypeVal non initialisé\n"},
        {"node values", [](CGrille& g) { g.header.INTERPOLATION_TYPE = kInterpolationNodeValue; },
         "+ Le type d'interpolation doit être bilinéaire ou spline\n"},
        {"spline order 3",
         [](CGrille& g) {
             g.header.INTERPOLATION_TYPE = kInterpolationSpline;
             g.header.INTERPOLATION_ORDER = 3;
         },
         "+ Pour une interpolation spline, l'ordre doit être >= 4\n"},
        {"spline order 4",
         [](CGrille& g) {
             g.header.INTERPOLATION_TYPE = kInterpolationSpline;
             g.header.INTERPOLATION_ORDER = 4;
         },
         ""},
        {"spline order too large",
         [](CGrille& g) {
             g.header.INTERPOLATION_TYPE = kInterpolationSpline;
             g.header.INTERPOLATION_ORDER = 100000;
         },
         "+ Ordre d'interpolation spline trop grand : 100000 (64 au plus)\n"},
        {"no values", [](CGrille& g) { g.header.VALUES_NUMBER = 0; },
         "+ Nombre de valeurs par nœud non valide : 0\n"},
        {"unknown value type", [](CGrille& g) { g.header.VALUES_TYPE = 9; },
         "+ Type de valeur imprévu : 9\n"},
        {"several faults",
         [](CGrille& g) {
             g.header.LAYOUT = 12;
             g.header.Y_INC = 0;
             g.header.VALUES_TYPE = 0;
             g.header.INTERPOLATION_TYPE = 3;
         },
         "+ Type de rangement imprévu : 12\n+ Pas non valide\n" + counts + adjust +
             "+ TypeVal non initialisé\n"
             "+ Le type d'interpolation doit être bilinéaire ou spline\n"},
    };
    for (const auto& c : cases) {
        CGrille grid = validHeader();
        c.spoil(grid);
        EXPECT_EQ(grid.validate(true), c.faults.empty() ? "" : "g.mnt :\n" + c.faults) << c.name;
        CGrille unnamed = validHeader();
        c.spoil(unnamed);
        unnamed.header.NAME.clear();
        EXPECT_EQ(unnamed.validate(true), c.faults) << c.name;
    }
}

TEST(GridValidate, Normalisation) {
    const struct {
        std::string name;
        void (*set)(CGrille&);
        double xMin, xMax, xInc, yInc;
    } cases[] = {
        {"370 to 380 moves to 10 to 20",
         [](CGrille& g) {
             g.header.X_MIN = 370;
             g.header.X_MAX = 380;
             g.header.X_INC = 5;
         },
         10, 20, 5, 1},
        {"350 to 370 moves to -10 to 10",
         [](CGrille& g) {
             g.header.X_MIN = 350;
             g.header.X_MAX = 370;
             g.header.X_INC = 10;
         },
         -10, 10, 10, 1},
        {"west-positive seconds become eastward, increments kept",
         [](CGrille& g) {
             g.header.NODE_COORD_UNIT = g.header.INC_UNIT = kGridUnitSeconds;
             g.header.EAST_TO_WEST = 1;
             g.header.X_MIN = -36000;
             g.header.X_MAX = 18000;
             g.header.X_INC = 18000;
         },
         -18000, 36000, 18000, 1},
        {"increments in seconds for a degree grid",
         [](CGrille& g) {
             g.header.INC_UNIT = kGridUnitSeconds;
             g.header.X_INC = 3600;
             g.header.Y_INC = 1800;
         },
         0, 2, 1, 0.5},
    };
    for (const auto& c : cases) {
        CGrille grid = validHeader();
        c.set(grid);
        grid.validate(true);
        EXPECT_DOUBLE_EQ(grid.header.X_MIN, c.xMin) << c.name;
        EXPECT_DOUBLE_EQ(grid.header.X_MAX, c.xMax) << c.name;
        EXPECT_DOUBLE_EQ(grid.header.X_INC, c.xInc) << c.name;
        EXPECT_DOUBLE_EQ(grid.header.Y_INC, c.yInc) << c.name;
        CGrille untouched = validHeader();
        c.set(untouched);
        const CGrille before = untouched;
        untouched.validate(false);
        EXPECT_EQ(untouched.header.X_MIN, before.header.X_MIN) << c.name;
        EXPECT_EQ(untouched.header.X_INC, before.header.X_INC) << c.name;
    }
}

std::string thousandNodes() {
    // 40 columns × 25 lines, layout SW2E2N, node (i, j) holds i + 100 j.
    std::string data;
    for (int j = 0; j < 25; ++j)
        for (int i = 0; i < 40; ++i) data += std::to_string(i + 100 * j) + (i == 39 ? "\r\n" : " ");
    return data;
}
const std::string kThousandHeader = "0 39 0 24 1 1 4 0 1 0 0";

TEST(BinaryVersion, CreatedOnceWithItsProgressThenReused) {
    TempDir dir;
    const std::string path = test::writeTextGrid(dir, "big", kThousandHeader, thousandNodes());
    test::RecordingUi ui;
    CGrille1D grid;
    grid.header.NAME = path;
    ASSERT_EQ(openGridFor(grid, 0, &ui).message, "");
    EXPECT_EQ(grid.header.NAME, dir.file("big.mnt.bin"));
    EXPECT_EQ(grid.header.GRID_TYPE, kFormatBinaryVrd);
    EXPECT_EQ(grid.loaded, 1);
    EXPECT_EQ(ui.written,
              "Creation du fichier binaire  " + dir.file("big.mnt.bin") + " ..." + std::string(100, '|'));
    EXPECT_EQ(ui.begun, 1);
    EXPECT_EQ(ui.ended, 1);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << "no temporary file is left";
    std::vector<double> values;
    int code = 0;
    ASSERT_EQ(grid.interpolate(3, {38.5, 23.5, 0}, values, code), 0);
    EXPECT_DOUBLE_EQ(values[0], 38.5 + 2350);

    // The next open of the unchanged text grid takes the binary version as it stands.
    const auto stamp = fs::last_write_time(dir.file("big.mnt.bin"));
    test::RecordingUi again;
    CGrille1D second;
    second.header.NAME = path;
    ASSERT_EQ(openGridFor(second, 0, &again).message, "");
    EXPECT_EQ(second.header.NAME, dir.file("big.mnt.bin"));
    EXPECT_EQ(again.written, "");
    EXPECT_EQ(fs::last_write_time(dir.file("big.mnt.bin")), stamp);
    // And the binary version opens as a grid of its own.
    CGrille1D direct;
    direct.header.NAME = dir.file("big.mnt.bin");
    ASSERT_EQ(openGridFor(direct, 0, &again).message, "");
    ASSERT_EQ(direct.interpolate(3, {0.25, 0.5, 0}, values, code), 0);
    EXPECT_DOUBLE_EQ(values[0], 0.25 + 50);
    EXPECT_EQ(again.written, "");
}

// A binary version beside the text grid is used only when it records the text grid as it is now
// (its size and modification time); any other file of that name is replaced by a new binary
// version, and the values are the text grid's.
TEST(BinaryVersion, ReplacedUnlessItRecordsTheTextGridAsItIs) {
    TempDir dir;
    const std::string path = test::writeTextGrid(dir, "stale", test::kSmallHeader, test::kSmallData);
    const struct {
        const char* name;
        std::function<void()> prepare;
    } cases[] = {
        {"a file cut in its header",
         [&] { test::writeFile(dir.file("stale.mnt.bin"), std::string("GRID\0\x03\0\0\0", 9)); }},
        {"the binary version of another grid",
         [&] {
             const std::string other = test::writeTextGrid(dir, "other", test::kSmallHeader, "7 7 7\r\n7 7 7\r\n");
             std::string message;
             test::openGrid(other, message);
             fs::copy_file(dir.file("other.mnt.bin"), dir.file("stale.mnt.bin"),
                           fs::copy_options::overwrite_existing);
         }},
        {"the text grid changed since",
         [&] {
             std::string message;
             test::openGrid(path, message);
             test::writeFile(path, std::string(test::kSmallHeader) + "\r\n" + test::kSmallData);
             fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        clearGridCaches();
        test::RecordingUi ui;
        std::string message;
        const CGrille grid = test::openGrid(path, message, 0, &ui);
        ASSERT_EQ(message, "");
        EXPECT_EQ(ui.written, "Creation du fichier binaire  " + dir.file("stale.mnt.bin") + " ...");
        std::vector<double> values;
        int code = 0;
        ASSERT_EQ(grid.interpolate(3, {0.5, 0.5, 0}, values, code), 0);
        EXPECT_DOUBLE_EQ(values[0], 5.5);
    }
}

TEST(BinaryVersion, FewerThanHundredNodesShowNoSteps) {
    TempDir dir;
    test::RecordingUi ui;
    std::string message;
    test::openGrid(test::writeTextGrid(dir, "s", test::kSmallHeader, test::kSmallData), message, 0, &ui);
    ASSERT_EQ(message, "");
    EXPECT_EQ(ui.written, "Creation du fichier binaire  " + dir.file("s.mnt.bin") + " ...");
    EXPECT_EQ(ui.ended, 1);
}

// Whatever stops the creation, no binary version is left behind, and the grid keeps naming the
// text file; the next open creates the binary version afresh.
TEST(BinaryVersion, NeverLeftIncomplete) {
    const struct {
        std::string name;
        std::string data;
        int cancelAfter;
        std::string message;  // %s: the text grid
    } cases[] = {
        {"cancelled", thousandNodes(), 3,
         "%s :\nCréation du fichier binaire interrompue : la grille n'est pas utilisable"},
        {"data cut short", thousandNodes().substr(0, 3000), -1, "%s :\nLes données s'arrêtent après"},
        {"a value that is no number", "0 1 2\r\n10 x 12\r\n", -1,
         "%s :\nValeur illisible dans les données (nœud 5)"},
        {"a node cut by the end", "0 1 2\r\n10 11", -1,
         "%s :\nLes données s'arrêtent après 5 nœuds, l'en-tête en annonce 6"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const bool big = c.data.size() > 100;
        const std::string path =
            test::writeTextGrid(dir, "g", big ? kThousandHeader : test::kSmallHeader, c.data);
        test::RecordingUi ui;
        ui.cancelAfter = c.cancelAfter;
        CGrille grid;
        grid.header.NAME = path;
        const GridOpenResult result = openGridFor(grid, 0, &ui);
        const std::string& message = result.message;
        EXPECT_EQ(message.rfind(withName(c.message, path), 0), 0u) << c.name << ": " << message;
        EXPECT_EQ(result.condition,
                  c.cancelAfter >= 0 ? GridOpenCondition::Cancelled : GridOpenCondition::Failed)
            << c.name;
        EXPECT_EQ(grid.header.NAME, path) << c.name;
        EXPECT_FALSE(grid.hasNodeData()) << c.name;
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, (std::vector<std::string>{"g.mnt", "g.xml"})) << c.name;
        if (c.cancelAfter >= 0) {
            EXPECT_EQ(ui.steps, c.cancelAfter);
            ui.cancelAfter = -1;
            EXPECT_EQ(openGridFor(grid, 0, &ui).message, "") << "opened again without a cancel";
            EXPECT_EQ(grid.header.NAME, dir.file("g.mnt.bin"));
        }
    }
}

// Makes the text grid's folder refuse the binary version: its folder is made read-only, and
// since that does not stop a privileged user, a folder stands in the way of the temporary file.
void blockBinaryVersionBeside(const TempDir& dir, const std::string& base) {
    fs::create_directory(dir.file(base + ".mnt.bin.part" + std::to_string(::getpid())));
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
}

void unblock(const TempDir& dir) {
    fs::permissions(dir.path(), fs::perms::owner_all);
}

TEST(BinaryVersion, GoesToTheUserCacheWhenTheGridFolderCannotBeWritten) {
    TempDir dir, cache;
    const ScopedEnv xdg("XDG_CACHE_HOME", cache.str());
    const std::string path =
        test::writeTextGrid(dir, "ro", test::kSmallHeader, test::kSmallData,
                            {{"INTERPOLATION_TYPE", "BILINEAR"}, {"TRANSLATION", "0.5"}});
    blockBinaryVersionBeside(dir, "ro");
    test::RecordingUi ui;
    CGrille1D grid;
    grid.header.NAME = path;
    const std::string message = openGridFor(grid, 0, &ui).message;
    unblock(dir);
    ASSERT_EQ(message, "");
    EXPECT_EQ(grid.header.NAME.rfind(cache.file("zelvo/ro."), 0), 0u) << grid.header.NAME;
    EXPECT_EQ(grid.header.NAME.substr(grid.header.NAME.size() - 4), ".bin");
    EXPECT_FALSE(fs::exists(dir.file("ro.mnt.bin")));
    EXPECT_NE(ui.written.find(grid.header.NAME), std::string::npos);
    std::vector<double> values;
    int code = 0;
    ASSERT_EQ(grid.interpolate(3, {0.5, 0.5, 0}, values, code), 0);
    EXPECT_DOUBLE_EQ(values[0], 6.0) << "opened with the text grid's side file";

    // The next open finds it there.
    blockBinaryVersionBeside(dir, "ro");
    test::RecordingUi again;
    CGrille1D second;
    second.header.NAME = path;
    const std::string secondMessage = openGridFor(second, 0, &again).message;
    unblock(dir);
    EXPECT_EQ(secondMessage, "");
    EXPECT_EQ(second.header.NAME, grid.header.NAME);
    EXPECT_EQ(again.written, "");
}

TEST(BinaryVersion, WrittenNowhereEndsTheProgram) {
    TempDir dir, cache;
    test::writeFile(cache.file("not-a-folder"), "x");
    const ScopedEnv xdg("XDG_CACHE_HOME", cache.file("not-a-folder"));
    const std::string path = test::writeTextGrid(dir, "nw", test::kSmallHeader, test::kSmallData);
    blockBinaryVersionBeside(dir, "nw");
    CGrille grid;
    grid.header.NAME = path;
    const GridOpenResult result = grid.open(0);
    unblock(dir);
    EXPECT_EQ(result.message, "Impossible d'ouvrir le fichier\n " + dir.file("nw.mnt.bin"));
    EXPECT_EQ(result.condition, GridOpenCondition::Fatal);
    EXPECT_EQ(grid.header.NAME, path);
}

TEST(GridOpen, HeaderOnly) {
    TempDir dir;
    const std::string path = test::writeTextGrid(dir, "h", test::kSmallHeader, test::kSmallData);
    std::string message;
    const CGrille text = test::openGrid(path, message, 2);
    ASSERT_EQ(message, "");
    EXPECT_EQ(text.header.NAME, path);
    EXPECT_EQ(text.loaded, 0);
    EXPECT_FALSE(text.hasNodeData());
    EXPECT_FALSE(fs::exists(dir.file("h.mnt.bin"))) << "a header-only open creates nothing";
    EXPECT_EQ(text.header.N_COLUMNS, 3);
    EXPECT_EQ(text.header.TRANSLATION, std::vector<double>{0});

    test::openGrid(path, message, 0);
    ASSERT_EQ(message, "");
    const CGrille binary = test::openGrid(dir.file("h.mnt.bin"), message, 2);
    ASSERT_EQ(message, "");
    EXPECT_EQ(binary.loaded, 1);
    EXPECT_FALSE(binary.hasNodeData());
}

// An object opened again keeps nothing of its earlier values when the new open fails.
TEST(GridOpen, ReopeningDropsEarlierValues) {
    TempDir dir;
    const std::string good = test::writeTextGrid(dir, "good", test::kSmallHeader, test::kSmallData);
    const std::string bad = test::writeTextGrid(dir, "bad", "0 4 0 1 1 1 4 0 1 0 0", "1 2\r\n");
    CGrille grid;
    grid.header.NAME = good;
    ASSERT_EQ(grid.open(0).message, "");
    ASSERT_TRUE(grid.hasNodeData());
    grid.header.NAME = bad;
    EXPECT_NE(grid.open(0).message, "");
    EXPECT_FALSE(grid.hasNodeData());
    std::vector<double> values;
    int code = 0;
    EXPECT_EQ(grid.interpolate(3, {0.5, 0.5, 0}, values, code), 3);
}

// A grid file changed during the run is read afresh.
TEST(GridOpen, ChangedFilesAreReadAgain) {
    TempDir dir;
    const std::string path = test::writeTextGrid(dir, "c", test::kSmallHeader, test::kSmallData);
    std::string message;
    EXPECT_EQ(test::openGrid(path, message, 2).header.X_MAX, 2);
    EXPECT_EQ(test::openGrid(path, message, 2).header.X_MAX, 2);
    test::writeTextGrid(dir, "c", "0 4 0 1 2 1 4 0 1 0 0 changed", test::kSmallData);
    const CGrille changed = test::openGrid(path, message, 2);
    EXPECT_EQ(changed.header.X_MAX, 4);
    EXPECT_EQ(changed.header.DESC, "changed");
    test::writeFile(dir.file("c.xml"),
                    test::xmlSideFile({{"INTERPOLATION_TYPE", "SPLINE"}, {"INTERPOLATION_ORDER", "4"}}));
    EXPECT_EQ(test::openGrid(path, message, 2).header.INTERPOLATION_TYPE, kInterpolationSpline);
}

// Data sections with node coordinates, fixed-width values, and a text grid whose header says
// its x runs westward: its binary version holds eastward limits, and reading it again with the
// same side file does not turn them round a second time.
TEST(GridOpen, DataSectionVariantsAndWestwardGrids) {
    const struct {
        std::string name;
        std::string header;
        std::string data;
        std::vector<std::pair<std::string, std::string>> xml;
        double x, y, value;
    } cases[] = {
        {"coordinates written",
         "0 2 0 1 1 1 4 1 1 0 0",
         "0 0 0\r\n1 0 1\r\n2 0 2\r\n0 1 10\r\n1 1 11\r\n2 1 12\r\n",
         {{"INTERPOLATION_TYPE", "BILINEAR"}},
         0.5,
         0.5,
         5.5},
        {"fixed width",
         "0 2 0 1 1 1 4 0 1 0 0",
         "     0.0     1.0     2.0\r\n    10.0    11.0    12.0\r\n",
         {{"SEP", "NO"}, {"INTERPOLATION_TYPE", "BILINEAR"}},
         0.5,
         0.5,
         5.5},
        {"fixed width glued",
         "0 2 0 1 1 1 4 0 1 0 0",
         "0.000000-1.00000002.0000000\r\n10.00000011.00000012.000000\r\n",
         {{"SEP", "NO"}, {"INTERPOLATION_TYPE", "BILINEAR"}},
         1,
         0,
         -1},
        {"westward",
         "0 2 0 1 1 1 4 0 1 0 0",
         test::kSmallData,
         {{"EAST_TO_WEST", "YES"}, {"INTERPOLATION_TYPE", "BILINEAR"}},
         -1.5,
         0.5,
         5.5},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = test::writeTextGrid(dir, "v", c.header, c.data, c.xml);
        std::string message;
        const CGrille header = test::openGrid(path, message, 2);
        ASSERT_EQ(message, "") << c.name;
        const CGrille grid = test::openGrid(path, message, 0);
        ASSERT_EQ(message, "") << c.name;
        EXPECT_EQ(grid.header.X_MIN, header.header.X_MIN) << c.name;
        EXPECT_EQ(grid.header.X_MAX, header.header.X_MAX) << c.name;
        std::vector<double> values;
        int code = 0;
        ASSERT_EQ(grid.interpolate(3, {c.x, c.y, 0}, values, code), 0) << c.name;
        EXPECT_DOUBLE_EQ(values[0], c.value) << c.name;
    }
}

// A side file may rename the format; the file is still read as its extension says.
TEST(GridOpen, FormatNamedBySideFile) {
    for (const std::string named : {"Grille texte VRD", "Grille binaire VRD", "Grille NTV2 texte"}) {
        TempDir dir;
        const std::string path =
            test::writeTextGrid(dir, "f", test::kSmallHeader, test::kSmallData,
                                {{"GRID_TYPE", named}, {"INTERPOLATION_TYPE", "BILINEAR"}});
        for (const std::string& name : {path, dir.file("f.mnt.bin")}) {
            std::string message;
            const CGrille grid = test::openGrid(name, message);
            ASSERT_EQ(message, "") << named << " " << name;
            EXPECT_EQ(grid.header.GRID_TYPE, grid_vocabulary::indexOf(gridFormatNames(), named));
            EXPECT_EQ(grid.header.fileFormat, kFormatBinaryVrd);
            std::vector<double> values;
            int code = 0;
            ASSERT_EQ(grid.interpolate(3, {0.5, 0.5, 0}, values, code), 0) << named << " " << name;
            EXPECT_DOUBLE_EQ(values[0], 5.5);
        }
    }
}

// Text grids whose header announces more nodes than any grid or than the file can hold.
TEST(GridOpen, TextHeadersAnnouncingAbsurdSizes) {
    const std::vector<std::pair<std::string, std::string>> metres = {
        {"NODE_COORD_UNIT", "METERS"}, {"INC_UNIT", "METERS"}, {"INTERPOLATION_TYPE", "BILINEAR"}};
    const struct {
        std::string header;
        std::string message;
    } cases[] = {
        {"0 40000 0 40000 1 1 4 0 1 0 0",
         "%s :\nLe fichier ne peut pas contenir les 1600080001 nœuds qu'annonce son en-tête"},
        {"0 1000000000 0 1000000000 1 1 4 0 1 0 0",
         "%s :\nLa grille annonce trop de nœuds (1000000001 colonnes × 1000000001 lignes)"},
        // 1e16 columns: no count holds them.
        {"0 1000000 0 1 0.0000000001 1 4 0 1 0 0",
         "%s :\n+ Incohérence des limites, pas et nombre de lignes et de colonnes\n"
         "+ Ajustez mieux les limites et les pas de votre grille\n\n(cf fichier XML le cas échéant)"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = test::writeTextGrid(dir, "a", c.header, test::kSmallData, metres);
        for (int mode : {2, 0}) {
            std::string message;
            const CGrille grid = test::openGrid(path, message, mode);
            EXPECT_EQ(message, withName(c.message, path)) << c.header;
            EXPECT_FALSE(fs::exists(dir.file("a.mnt.bin")));
        }
    }
}

// Files of every kind of garbage: the open answers with a message or opens a usable grid,
// never crashes, never reads past what it has.
TEST(GridOpen, SurvivesGarbageFiles) {
    std::string noise;
    for (int i = 0; i < 5000; ++i) noise.push_back(static_cast<char>((i * 7919 + 13) % 256));
    const std::string side = test::xmlSideFile({{"INTERPOLATION_TYPE", "BILINEAR"}});
    const struct {
        std::string name;
        std::string bytes;
    } cases[] = {
        {"g.mnt", ""},
        {"g.mnt", noise},
        {"g.mnt", "\r\n\r\n"},
        {"g.mnt", test::kSmallHeader},
        {"g.mnt", test::kSmallHeader + "\r\n" + noise},
        {"g.mnt", test::kSmallHeader + "\r\n0 1 2 10 11 12 13 14 15 16"},
        {"g.mnt", "0 2 0 1 1 1 4 1 1 1 0\r\n0 0"},
        {"g.mnt", std::string(100000, '1')},
        {"g.mnt", std::string(100000, '\n')},
        {"g.mnt", "-0 -2 -0 -1 -1 -1 4 0 1 0 0\r\n" + test::kSmallData},
        {"g.mnt", "0 2 0 1 1 1 -4 0 1 0 0\r\n" + test::kSmallData},
        {"g.mnt", "0 2 0 1 1 1 4 0 1 7 0\r\n" + test::kSmallData},
        {"g.bin", noise},
        {"g.bin", std::string("GRID\0", 5) + noise},
        {"g.bin", std::string("GRID\0\x03\0\0\0", 9) + noise},
        {"g.bin", std::string("GRID\0\x02\0\0\0", 9) + noise},
    };
    for (const auto& c : cases) {
        TempDir dir;
        test::writeFile(dir.file(c.name), c.bytes);
        test::writeFile(dir.file("g.xml"), side);
        for (int mode : {2, 0}) {
            CGrille grid;
            grid.header.NAME = dir.file(c.name);
            const std::string message = grid.open(mode).message;
            std::vector<double> values;
            int code = 0;
            for (double x : {-1.0, 0.0, 0.5, 1.0, 2.0, 1e300}) grid.interpolate(3, {x, 0.5, 0}, values, code);
            for (int i = -1; i < 4; ++i) grid.nodeValues(i, 0, values, code);
            if (!message.empty()) {
                EXPECT_FALSE(grid.hasNodeData()) << c.bytes.substr(0, 30);
            }
        }
    }
}

}  // namespace
}  // namespace zelvo
