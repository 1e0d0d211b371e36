// File runs on several workers: the arrival file comes out byte for byte as from one worker,
// whatever the transformation, the data format and the mix of lines.

#include <cmath>
#include <filesystem>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "batch/batch_fixture.hpp"
#include "files/file_run.hpp"

namespace zelvo {
namespace {

using test::readFile;
using test::writeFile;

// A file of `count` lines around France in the given layout: points, comments, blank lines, badly
// formed lines and points far outside every extent and grid.
std::string mixedFile(int count, int coordinateType) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const double t = i * 0.618033988749895;
        const double u = t - std::floor(t), v = std::fmod(i * 0.414213562373095, 1.0);
        std::string line;
        if (i % 53 == 0) line = "* commentaire " + std::to_string(i);
        else if (i % 89 == 0) line = "";
        else if (i % 97 == 0) line = "P" + std::to_string(i) + " mal formee";
        else if (i % 61 == 0 && coordinateType == 3) line = "P" + std::to_string(i) + " 5000000 9000000 10";
        else if (i % 61 == 0 && coordinateType == 2) line = "P" + std::to_string(i) + " 40.5 -10.25 10";
        else if (i % 61 == 0) line = "P" + std::to_string(i) + " 1000 2000 3000";
        else if (coordinateType == 3)
            line = "P" + std::to_string(i) + " " + formatFixed(100000 + 900000 * u, 3) + " " +
                   formatFixed(1750000 + 850000 * v, 3) + " " + formatFixed(1000 * v, 3);
        else if (coordinateType == 2)
            line = "P" + std::to_string(i) + " " + formatFixed(-4.5 + 12 * u, 8) + " " + formatFixed(42.5 + 8 * v, 8) +
                   " " + formatFixed(100 + 500 * u, 3);
        else {
            const double lon = (-4.5 + 12 * u) * M_PI / 180, lat = (42.5 + 8 * v) * M_PI / 180, r = 6378137.0;
            line = "P" + std::to_string(i) + " " + formatFixed(r * std::cos(lat) * std::cos(lon), 3) + " " +
                   formatFixed(r * std::cos(lat) * std::sin(lon), 3) + " " + formatFixed(6356752.0 * std::sin(lat), 3);
        }
        text += line + "\r\n";
    }
    return text;
}

TEST_F(Batch, FileRunsGiveTheSameBytesOnEveryNumberOfWorkers) {
    struct Case {
        const char* name;
        int departureType;
        std::string line;  // without the files
    } cases[] = {
        {"standard, projected to projected", 3, "-mode 1 -type 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 in.txt -typcoor2 3 9 -f2 1"},
        {"grid, projected to geographic", 3, "-mode 1 -type 2 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 in.txt -typcoor2 2 10 1 -f2 5"},
        {"grid, projected to cartesian", 3, "-mode 1 -type 2 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 in.txt -typcoor2 1 -f2 1"},
        {"geoid, geographic to projected", 2,
         "-mode 1 -type 1 -sys1 1 -sys2 1 -alt 1 1 -typcoor1 2 2 1 -f1 2 in.txt -typcoor2 3 9 -f2 1"},
        {"standard, cartesian to geographic", 1, "-mode 1 -type 1 -sys1 1 -sys2 3 -typcoor1 1 -f1 1 in.txt -typcoor2 2 3 1 -f2 7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(file("in.txt"), mixedFile(12000, c.departureType));
        ::setenv("ZELVO_THREADS", "7", 1);
        ASSERT_EQ(fileRunWorkers(static_cast<long long>(std::filesystem::file_size(file("in.txt")))), 7)
            << "the file is large enough for workers";
        ::unsetenv("ZELVO_THREADS");
        std::string first, firstVerbose, firstSummary;
        for (const char* workers : {"1", "2", "7"}) {
            SCOPED_TRACE(std::string(workers) + " workers");
            auto r = zelvo(c.line + " out.txt", {{"ZELVO_THREADS", workers}});
            ASSERT_EQ(r.exitCode, 0) << r.err;
            const std::string out = readFile(file("out.txt"));
            r = zelvo("-v " + c.line + " verbose.txt", {{"ZELVO_THREADS", workers}});
            ASSERT_EQ(r.exitCode, 0) << r.err;
            const std::string verbose = test::withoutDatedLines(readFile(file("verbose.txt")));
            if (first.empty()) {
                first = out;
                firstVerbose = verbose;
                firstSummary = r.out;
                // The mix reaches every kind of line.
                EXPECT_NE(out.find("mauvais format"), std::string::npos);
                EXPECT_NE(out.find("ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : Les coordonn"), std::string::npos);
                EXPECT_GT(out.size(), 300000u);
                continue;
            }
            EXPECT_TRUE(out == first) << "the arrival files differ";
            EXPECT_TRUE(verbose == firstVerbose) << "the annotated arrival files differ";
            EXPECT_EQ(r.out, firstSummary);
        }
    }
}

TEST_F(Batch, AnyNumberOfWorkersAskedForRunsToTheEnd) {
    // However many workers are asked for, the run takes at most a few per core (and 256), and
    // ends as a run on one worker does, without a temporary file left.
    const long long large = 1 << 20;
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int cap = std::min(256, std::max(16, 4 * cores));
    const struct {
        const char* value;
        int workers;
    } requests[] = {{"3", 3}, {"100000", cap}, {"99999999999999999999", cap}, {"0", cores}, {"-4", cores}, {"x", cores}};
    for (const auto& request : requests) {
        test::ScopedEnv threads("ZELVO_THREADS", request.value);
        EXPECT_EQ(fileRunWorkers(large), request.workers) << request.value;
    }
    writeFile(file("in.txt"), mixedFile(12000, 3));
    const std::string line = "-mode 1 -type 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 in.txt -typcoor2 3 9 -f2 1 ";
    auto r = zelvo(line + "one.txt", {{"ZELVO_THREADS", "1"}});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* many : {"100000", "99999999999999999999"}) {
        r = zelvo(line + "many.txt", {{"ZELVO_THREADS", many}});
        EXPECT_EQ(r.exitCode, 0) << many << ": " << r.err;
        EXPECT_TRUE(readFile(file("many.txt")) == readFile(file("one.txt"))) << many;
        for (const auto& entry : std::filesystem::directory_iterator(work_.path()))
            EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp")) << entry.path();
    }
}

}  // namespace
}  // namespace zelvo
