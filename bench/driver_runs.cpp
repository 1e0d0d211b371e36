// The cost of the window-mode file driver against the console batch on the same file, in one
// process: the batch's file mode, the file driver without report and log, and with both.
// Usage: zelvo_driver_runs <reference folder> [points] [runs]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/application.hpp"
#include "app/grid_check.hpp"
#include "catalogue/loader.hpp"
#include "files/batch.hpp"
#include "platform/user_interface.hpp"

#include <unistd.h>

namespace zelvo {
namespace {

namespace fs = std::filesystem;

class QuietUserInterface : public UserInterface {
public:
    void message(const std::string& text, MessageIcon) override { last = text; }
    bool question(const std::string&, MessageIcon, bool) override { return true; }
    void write(const std::string&) override {}
    void progressBegin(const std::string&, int) override {}
    void progressStep() override {}
    void progressEnd() override {}
    bool cancelRequested() override { return false; }
    std::string last;
};

// Survey-like points in NTF Lambert II étendu: sites of a few hundred points over mainland France.
void writePoints(const fs::path& path, int count) {
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> e(100000, 1000000), n(1700000, 2650000), near(-3000, 3000), alt(0, 900);
    std::ofstream out(path, std::ios::binary);
    double siteE = 0, siteN = 0;
    for (int i = 0; i < count; ++i) {
        if (i % 300 == 0) siteE = e(random), siteN = n(random);
        char line[96];
        const int size = std::snprintf(line, sizeof line, "PT%07d %.3f %.3f %.3f\r\n", i + 1, siteE + near(random),
                                       siteN + near(random), alt(random));
        out.write(line, size);
    }
}

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace
}  // namespace zelvo

int main(int argc, char** argv) {
    using namespace zelvo;
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <reference folder> [points] [runs]\n", argv[0]);
        return 2;
    }
    const fs::path reference = argv[1];
    const int points = argc > 2 ? std::stoi(argv[2]) : 1000000;
    const int runs = argc > 3 ? std::stoi(argv[3]) : 3;
    const fs::path work = fs::temp_directory_path() / ("zelvo-driver-runs-" + std::to_string(::getpid()));
    fs::create_directories(work / "grids");
    fs::copy_file(reference / "catalogue.dat", work / "catalogue.dat");
    for (const auto& entry : fs::directory_iterator(reference / "grids"))
        fs::copy_file(entry.path(), work / "grids" / entry.path().filename());
    writePoints(work / "in.txt", points);
    fs::current_path(work);

    CZelvoApp app;
    QuietUserInterface ui;
    app.workingDirectory = work.string() + "/";
    app.iniPath = (work / "zelvo.ini").string();
    if (loadCatalogue((work / "catalogue.dat").string(), app.catalogue).status != CatalogueLoadStatus::Loaded ||
        checkGrids(app, ui) != GridCheck::Passed) {
        std::fprintf(stderr, "the reference catalogue does not load: %s\n", ui.last.c_str());
        return 1;
    }
    app.ui = &ui;
    app.log.open((work / "log.txt").string());

    const std::vector<std::string> args = {"zelvo", "-v", "-type", "1", "-mode", "1", "-sys1", "2", "-sys2", "1",
                                           "-typcoor1", "3", "6", "-f1", "1", "in.txt", "-typcoor2", "3", "9",
                                           "-f2", "1", "batch.txt"};
    CZelvoCommandLine record;
    parseCommandLine(args, record, "", ui);
    deriveVerticalKind(record);
    const BatchPoints templates = buildPoints(record, app.catalogue);
    const FileRunFiles files{16, "in.txt", 16, "driver.txt", "rapport.txt"};

    struct Measure {
        const char* name;
        std::function<void()> work;
        std::vector<double> times;
    } measures[] = {
        {"batch file mode", [&] {
             RunContext context = app.runContext(ui);
             context.log = nullptr;
             runCommandLine(context, args, "");
         }, {}},
        {"transformFile, no report, no log", [&] {
             app.reportRequested = 0;
             RunContext context = app.runContext(ui);
             context.log = nullptr;
             transformFile(context, 1, true, templates.departure, templates.arrival, files);
         }, {}},
        {"transformFile, report and log", [&] {
             app.reportRequested = 1;
             app.transformFile(1, true, templates.departure, templates.arrival, files);
         }, {}},
    };
    for (int run = 0; run < runs; ++run)
        for (auto& m : measures) m.times.push_back(seconds(m.work));
    std::printf("%d points, %d runs each (seconds: min / median)\n", points, runs);
    double batch = 0;
    for (auto& m : measures) {
        std::sort(m.times.begin(), m.times.end());
        const double median = m.times[m.times.size() / 2];
        if (batch == 0) batch = median;
        std::printf("  %-34s %7.3f / %7.3f   x%.2f of the batch\n", m.name, m.times.front(), median, median / batch);
    }
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(work);
    return 0;
}
