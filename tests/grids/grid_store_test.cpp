// The grid store from several threads at once: opens of the same grids (the first full open of
// a text grid makes its binary version, the others take it), header-only opens, and
// interpolation of one grid's shared values by every thread, with no lock of the caller. Run
// under ThreadSanitizer by the test command (the name ends in "Workers").

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <thread>
#include <vector>

#include "grid_fixtures.hpp"
#include "grids/grid_store.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::string thousandNodes() {
    std::string data;
    for (int j = 0; j < 25; ++j)
        for (int i = 0; i < 40; ++i) data += std::to_string(i + 100 * j) + (i == 39 ? "\r\n" : " ");
    return data;
}

TEST(GridStoreWorkers, OpensAndInterpolationsFromSeveralThreads) {
    TempDir dir;
    clearGridCaches();
    const std::vector<std::string> grids = {
        test::writeTextGrid(dir, "a", "0 39 0 24 1 1 4 0 1 0 0", thousandNodes()),
        test::writeTextGrid(dir, "b", test::kSmallHeader, test::kSmallData),
    };
    constexpr int kThreads = 6;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 5; ++round) {
                const std::string& path = grids[static_cast<std::size_t>((t + round) % 2)];
                CGrille1D full;
                full.header.NAME = path;
                CGrille1D header;
                header.header.NAME = path;
                if (!full.open(0).opened() || !header.open(2).opened() || !full.hasNodeData()) ++failures;
                std::vector<double> values;
                int code = 0;
                if (full.interpolate(3, {0.5, 0.5, 0}, values, code) != 0) ++failures;
                const double expected = path == grids[0] ? 50.5 : 5.5;
                if (values.size() != 1 || std::fabs(values[0] - expected) > 1e-9) ++failures;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
    // One binary version per grid, and no temporary file left.
    for (const char* made : {"a.mnt.bin", "b.mnt.bin"}) EXPECT_TRUE(fs::exists(dir.file(made))) << made;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();

    // One grid's values, read by every thread at once.
    CGrille1D shared;
    shared.header.NAME = grids[0];
    ASSERT_EQ(shared.open(0).message, "");
    threads.clear();
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::vector<double> values;
            int code = 0;
            for (int k = 0; k < 200; ++k) {
                const double x = (k + t) % 39 + 0.25;
                const double y = k % 24 + 0.5;
                if (shared.interpolate(3, {x, y, 0}, values, code) != 0 || std::fabs(values[0] - (x + 100 * y)) > 1e-9)
                    ++failures;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
}

// Each worker holds its own copy of a spline grid, sharing the node values of one open: one
// worker releases and opens its copy again and again while the others interpolate from theirs.
TEST(GridStoreWorkers, CopiesOfAGridInterpolateWhileOneIsOpenedAgain) {
    TempDir dir;
    clearGridCaches();
    std::string data;
    for (int j = 0; j < 10; ++j)
        for (int i = 0; i < 10; ++i) data += std::to_string(2 * i + 3 * j + 1) + (i == 9 ? "\r\n" : " ");
    CGrille1D grid;
    grid.header.NAME = test::writeTextGrid(dir, "s", "0 9 0 9 1 1 4 0 1 0 0", data,
                                           {{"INTERPOLATION_TYPE", "SPLINE"}, {"INTERPOLATION_ORDER", "4"}});
    ASSERT_EQ(grid.open(0).message, "");
    constexpr int kThreads = 4;
    std::vector<CGrille1D> copies(kThreads, grid);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            CGrille1D& own = copies[static_cast<std::size_t>(t)];
            std::vector<double> values;
            int code = 0;
            for (int k = 0; k < 100; ++k) {
                if (t == 0) {
                    own.release();
                    if (!own.open(0).opened()) ++failures;
                }
                const double x = (k + t) % 9 + 0.25;
                const double y = k % 9 + 0.5;
                // A plane: the spline gives it back exactly.
                if (own.interpolate(3, {x, y, 0}, values, code) != 0 ||
                    std::fabs(values[0] - (2 * x + 3 * y + 1)) > 1e-9)
                    ++failures;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
}

}  // namespace
}  // namespace zelvo
