// The window-mode drivers over the reference catalogue, with a user interface that records what
// they show and answers their questions.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <sys/stat.h>

#include "app/application.hpp"
#include "app/grid_check.hpp"
#include "catalogue/loader.hpp"
#include "files/batch.hpp"
#include "platform/number_text.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

const std::string kNtfToL93 = "-type 1 -sys1 2 -sys2 1 -typcoor1 3 6 -typcoor2 3 9";
const std::string kDepartureOutsideQuestion =
    "\nLes coordonnées ne se trouvent pas dans l'emprise de la projection de départ.\nVoulez-vous continuer ?";
const std::string kArrivalOutsideQuestion =
    "\nLes coordonnées ne se trouvent pas dans l'emprise du référentiel d'arrivée.\nVoulez-vous continuer ?";

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> args{"zelvo"};
    FieldScanner scanner(line);
    std::string word;
    while (scanner.readWord(word)) args.push_back(word);
    return args;
}

std::vector<double> numbers(const std::string& text) {
    std::vector<double> values;
    FieldScanner scanner(text);
    double v = 0;
    std::string word;
    while (!scanner.atEnd()) {
        if (scanner.readDouble(v)) values.push_back(v);
        else if (!scanner.readWord(word)) break;
    }
    return values;
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class Drivers : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string reference = test::referenceDir();
        fs::copy_file(reference + "/catalogue.dat", work_.path() / "catalogue.dat");
        fs::create_directories(work_.path() / "grids");
        for (const auto& entry : fs::directory_iterator(reference + "/grids"))
            fs::copy_file(entry.path(), work_.path() / "grids" / entry.path().filename());
        app_.workingDirectory = work_.str() + "/";
        app_.iniPath = work_.file("zelvo.ini");
        ASSERT_EQ(loadCatalogue(work_.file("catalogue.dat"), app_.catalogue).status, CatalogueLoadStatus::Loaded);
        ASSERT_EQ(checkGrids(app_, ui_), GridCheck::Passed);
        ui_ = {};
        app_.ui = &ui_;
        ASSERT_TRUE(app_.log.open(work_.file("log.txt")));
    }

    // The departure and arrival points of a command line.
    BatchPoints points(const std::string& line) {
        CZelvoCommandLine record;
        EXPECT_TRUE(parseCommandLine(words(line), record, "", ui_)) << line;
        deriveVerticalKind(record);
        return buildPoints(record, app_.catalogue);
    }

    std::string log() {
        app_.log.flush();
        return readFile(work_.file("log.txt"));
    }

    FileRunFiles files(int departureFormat, int arrivalFormat) const {
        return {departureFormat, work_.file("in.txt"), arrivalFormat, work_.file("out.txt"), work_.file("rapport.txt")};
    }

    test::TempDir work_;
    CZelvoApp app_;
    test::RecordingUserInterface ui_;
};

// Data format codes.
constexpr int kNameENAltitude = 16, kENAltitude = 18, kENHeight = 19;

TEST_F(Drivers, FileRunWritesCountsLogsAndSummarises) {
    writeFile(work_.file("in.txt"), "* c\r\n\r\nP1 814149.529 1887019.768 10\r\nbad\r\n"
                                    "Loin 1 2 3\r\nP2 601152.299 2428695.897 35\r\n");
    const auto p = points(kNtfToL93);
    for (const bool report : {false, true}) {
        SCOPED_TRACE(report ? "with a report" : "without a report");
        app_.reportRequested = report;
        ui_ = {};
        app_.transformFile(1, false, p.departure, p.arrival, files(kNameENAltitude, kNameENAltitude));
        std::string summary =
            "Transformation TERMINEE entre les fichiers suivants :\n\n" + work_.file("in.txt") + " \n" +
            work_.file("out.txt") +
            "\n\n2 transformation(s) réussie(s)\n0 transformation(s) non réussie(s)\n1 transformation(s) hors zone";
        if (report) summary += "\n\nRapport dans le fichier " + work_.file("rapport.txt");
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].text, summary);
        EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Information);
        EXPECT_TRUE(ui_.questions.empty());
        EXPECT_EQ(ui_.progressOpened, 1);
        EXPECT_EQ(ui_.progressClosed, 1);

        const std::string out = readFile(work_.file("out.txt"));
        EXPECT_NE(out.find("                  P1     860690.522    6319037.047     10.000"), std::string::npos) << out;
        EXPECT_EQ(count(out, "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : mauvais format de point\r\n"), 1);
        EXPECT_EQ(count(out, "emprise de la projection de d\xE9part !!!\r\n"), 1) << out;
        EXPECT_NE(out.find("\r\n* Fin "), std::string::npos) << "the arrival file is annotated";
        EXPECT_EQ(fs::exists(work_.file("rapport.txt")), report);
    }
    // Each run logs its two transformed points; the bad line and the point outside are not.
    EXPECT_EQ(count(log(), "POINT : "), 4) << log();
    EXPECT_EQ(count(log(), "POINT : P1"), 2);
}

TEST_F(Drivers, FileRunGivesTheBatchArrivalFile) {
    std::string lines;
    for (int i = 0; i < 40; ++i)
        lines += "P" + std::to_string(i) + " " + std::to_string(600000 + 5000 * i) + ".25 " +
                 std::to_string(2400000 - 9000 * i) + ".5 " + std::to_string(i) + "\r\n";
    writeFile(work_.file("in.txt"), lines);
    for (const std::string arrival : {"-typcoor2 3 9 -f2 1", "-typcoor2 2 10 1 -f2 6", "-typcoor2 1 -f2 1"}) {
        SCOPED_TRACE(arrival);
        for (const int type : {1, 2}) {
            const std::string line = "-v -type " + std::to_string(type) +
                                     " -mode 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 in.txt " + arrival + " batch.txt";
            test::RunOptions options;
            options.workingDirectory = work_.str();
            test::TempDir profile;
            test::writeAllUsersConfiguration(profile.path(), "catalogue.dat");
            options.env["ALLUSERSPROFILE"] = profile.str();
            const auto args = words(line);
            ASSERT_EQ(test::run({args.begin() + 1, args.end()}, options).exitCode, 0);

            CZelvoCommandLine record;
            ASSERT_TRUE(parseCommandLine(args, record, "", ui_));
            deriveVerticalKind(record);
            const BatchPoints p = buildPoints(record, app_.catalogue);
            app_.transformFile(type, true, p.departure, p.arrival, files(record.format1, record.format2));
            // Both stamp the header and the end line with the time of their run.
            EXPECT_EQ(test::withoutDatedLines(readFile(work_.file("out.txt"))),
                      test::withoutDatedLines(readFile(work_.file("batch.txt"))));
        }
    }
}

TEST_F(Drivers, FileRunGivesTheSameFilesOnEveryNumberOfWorkers) {
    // Points, comments, bad lines, points outside the departure and the arrival extents and
    // outside the 3-D grid, in a file large enough for several workers.
    std::string lines;
    for (int i = 0; i < 12000; ++i) {
        if (i % 53 == 0) lines += "* commentaire\r\n";
        else if (i % 97 == 0) lines += "P" + std::to_string(i) + " mal formee\r\n";
        else if (i % 61 == 0) lines += "P" + std::to_string(i) + " 5000000 9000000 10\r\n";
        else
            lines += "P" + std::to_string(i) + " " + std::to_string(100000 + (i * 7919) % 900000) + ".5 " +
                     std::to_string(1700000 + (i * 104729) % 950000) + ".25 " + std::to_string(i % 900) + "\r\n";
    }
    writeFile(work_.file("in.txt"), lines);
    // The log's entries are stamped with one fixed time; the other files' stamps are left out.
    app_.log.clock = [] {
        std::tm fixed{};
        fixed.tm_sec = 5, fixed.tm_min = 4, fixed.tm_hour = 3, fixed.tm_mday = 2, fixed.tm_year = 126;
        return fixed;
    };
    const auto undated = [](const std::string& text) { return test::withoutDatedLines(text, "03:04:05"); };
    app_.reportRequested = true;
    for (const int type : {1, 2}) {
        SCOPED_TRACE(type == 1 ? "standard" : "grid");
        const auto p = points("-type " + std::to_string(type) + " -sys1 2 -sys2 1 -typcoor1 3 6 -typcoor2 3 9");
        std::string out, report, logged, summary;
        for (const char* workers : {"1", "2", "7"}) {
            SCOPED_TRACE(std::string(workers) + " workers");
            ::setenv("ZELVO_THREADS", workers, 1);
            const std::size_t logStart = log().size();
            ui_ = {};
            app_.transformFile(type, true, p.departure, p.arrival, files(kNameENAltitude, kNameENAltitude));
            ::unsetenv("ZELVO_THREADS");
            ASSERT_EQ(ui_.messages.size(), 1u);
            const std::string runOut = undated(readFile(work_.file("out.txt")));
            const std::string runReport = undated(readFile(work_.file("rapport.txt")));
            const std::string runLog = log().substr(logStart);
            if (out.empty()) {
                out = runOut, report = runReport, logged = runLog, summary = ui_.messages[0].text;
                EXPECT_GT(count(runLog, "POINT : "), 10000);
                continue;
            }
            EXPECT_TRUE(runOut == out) << "the arrival files differ";
            EXPECT_TRUE(runReport == report) << "the reports differ";
            EXPECT_TRUE(runLog == logged) << "the logs differ";
            EXPECT_EQ(ui_.messages[0].text, summary);
            EXPECT_GE(ui_.progressTaken, 99);
        }
    }
}

TEST_F(Drivers, FileRunProgressAndEmptyFiles) {
    // One step every lines / 100 + 1 lines read (the end of the file may take one more read).
    struct Case {
        int lines;
        int step;
    } cases[] = {{150, 2}, {99, 1}, {250, 3}, {0, 1}};
    const auto p = points(kNtfToL93);
    for (const auto& c : cases) {
        std::string lines;
        for (int i = 0; i < c.lines; ++i) lines += "* commentaire\r\n";
        writeFile(work_.file("in.txt"), lines);
        ui_ = {};
        app_.transformFile(1, false, p.departure, p.arrival, files(kNameENAltitude, kNameENAltitude));
        EXPECT_EQ(ui_.progressSteps, 100);
        EXPECT_GE(ui_.progressTaken, c.lines / c.step) << c.lines << " lines";
        EXPECT_LE(ui_.progressTaken, (c.lines + 2) / c.step) << c.lines << " lines";
        // Only comments: the arrival file holds its end line, and nothing was transformed.
        const std::string out = readFile(work_.file("out.txt"));
        EXPECT_TRUE(out.starts_with("* Fin ") && count(out, "\n") == 1) << out;
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_NE(ui_.messages[0].text.find("\n\n0 transformation(s) réussie(s)\n0 transformation(s) non réussie(s)\n"
                                            "0 transformation(s) hors zone"),
                  std::string::npos);
    }
    EXPECT_EQ(log(), "");
}

TEST_F(Drivers, FileRunRefusalsLeaveThePreviousFiles) {
    writeFile(work_.file("in.txt"), "P1 814149.529 1887019.768 10\r\n");
    const std::string previous = "previous\r\n";
    const auto p = points(kNtfToL93);
    app_.reportRequested = true;
    const std::string cannotOpen = "Impossible d'ouvrir le fichier ";
    struct Case {
        const char* name;
        FileRunFiles files;
        std::string message;
        MessageIcon icon;
    } cases[] = {
        {"names cannot be invented", files(kENAltitude, kNameENAltitude),
         "ERREUR!!! Il est impossible de passer du type de données E N Altitude\nau type de données Nom E N Altitude,"
         "\n\nOn ne peut pas inventer de noms !",
         MessageIcon::Error},
        {"no departure file", {kNameENAltitude, work_.file("absent.txt"), kNameENAltitude, work_.file("out.txt"),
                               work_.file("rapport.txt")},
         cannotOpen + work_.file("absent.txt"), MessageIcon::None},
        {"no arrival folder", {kNameENAltitude, work_.file("in.txt"), kNameENAltitude, work_.file("no/out.txt"),
                               work_.file("rapport.txt")},
         cannotOpen + work_.file("no/out.txt"), MessageIcon::None},
        {"no report folder", {kNameENAltitude, work_.file("in.txt"), kNameENAltitude, work_.file("out.txt"),
                              work_.file("no/rapport.txt")},
         cannotOpen + work_.file("no/rapport.txt"), MessageIcon::None},
        {"arrival a folder", {kNameENAltitude, work_.file("in.txt"), kNameENAltitude, work_.file("grids"),
                              work_.file("rapport.txt")},
         cannotOpen + work_.file("grids"), MessageIcon::None},
    };
    for (const auto& c : cases) {
        writeFile(work_.file("out.txt"), previous);
        writeFile(work_.file("rapport.txt"), previous);
        ui_ = {};
        app_.transformFile(1, false, p.departure, p.arrival, c.files);
        ASSERT_EQ(ui_.messages.size(), 1u) << c.name;
        EXPECT_EQ(ui_.messages[0].text, c.message) << c.name;
        EXPECT_EQ(ui_.messages[0].icon, c.icon) << c.name;
        EXPECT_EQ(ui_.progressOpened, 0) << c.name;
        EXPECT_EQ(readFile(work_.file("out.txt")), previous) << c.name;
        EXPECT_EQ(readFile(work_.file("rapport.txt")), previous) << c.name;
    }
    // Names may be dropped.
    ui_ = {};
    app_.transformFile(1, false, p.departure, p.arrival, files(kNameENAltitude, kENHeight));
    EXPECT_EQ(ui_.messages.back().icon, MessageIcon::Information);
    EXPECT_EQ(count(log(), "POINT : P1"), 1) << log();
}

TEST_F(Drivers, FileRunNeverWritesOverTheFilesItReads) {
    // Whatever name leads to the departure file (or the arrival file, for the report), nothing is
    // opened for writing: the departure stays whole, the other files as they were.
    const std::string departure = "P1 814149.529 1887019.768 10\r\n";
    writeFile(work_.file("in.txt"), departure);
    std::filesystem::create_symlink(work_.file("in.txt"), work_.file("lien.txt"));
    std::filesystem::create_hard_link(work_.file("in.txt"), work_.file("dur.txt"));
    const std::string relativeIn = std::filesystem::relative(work_.file("in.txt")).string();
    const auto p = points(kNtfToL93);
    const std::string sameFiles = "Impossible de lire et d'écrire dans les mêmes fichiers !";
    const auto inUse = [](const std::string& path) {
        return "Le fichier " + path + " est déjà utilisé, ce n'est pas un fichier rapport !";
    };
    const std::string in = work_.file("in.txt"), out = work_.file("out.txt");
    const struct Case {
        std::string departure, arrival, report;  // report: none when empty
        std::string message;
    } cases[] = {
        {relativeIn, in, "", sameFiles},
        {in, work_.str() + "/./in.txt", "", sameFiles},
        {in, work_.file("lien.txt"), "", sameFiles},
        {in, work_.file("dur.txt"), "", sameFiles},
        {work_.file("lien.txt"), work_.file("dur.txt"), "", sameFiles},
        {in, out, work_.file("dur.txt"), inUse(work_.file("dur.txt"))},
        {in, out, relativeIn, inUse(relativeIn)},
        {in, work_.file("new.txt"), work_.str() + "/grids/../new.txt", inUse(work_.str() + "/grids/../new.txt")},
    };
    for (const auto& c : cases) {
        writeFile(out, "previous\r\n");
        ui_ = {};
        app_.reportRequested = !c.report.empty();
        app_.transformFile(1, false, p.departure, p.arrival,
                           {kNameENAltitude, c.departure, kNameENAltitude, c.arrival, c.report});
        ASSERT_EQ(ui_.messages.size(), 1u) << c.arrival << " " << c.report;
        EXPECT_EQ(ui_.messages[0].text, c.message) << c.arrival << " " << c.report;
        EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(readFile(in), departure) << c.arrival << " " << c.report;
        EXPECT_EQ(readFile(out), "previous\r\n") << c.arrival << " " << c.report;
        EXPECT_FALSE(std::filesystem::exists(work_.file("new.txt")));
    }
}

TEST_F(Drivers, FileRunWriteFailureIsNoSuccess) {
    writeFile(work_.file("in.txt"), "P1 814149.529 1887019.768 10\r\n");
    const auto p = points(kNtfToL93);
    app_.transformFile(1, false, p.departure, p.arrival,
                       {kNameENAltitude, work_.file("in.txt"), kNameENAltitude, "/dev/full", ""});
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "Impossible d'écrire dans le fichier /dev/full !");
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Error);
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(Drivers, AnInterruptedFileRunLeavesThePreviousFiles) {
    // The user stops the run after a few blocks of lines: the run ends there, the previous arrival
    // file and report are kept (or stay absent), no temporary file is left and nothing is said.
    struct StoppingUserInterface : test::RecordingUserInterface {
        int pollsBeforeStop = 0;
        bool cancelRequested() override { return pollsBeforeStop-- <= 0; }
    };
    constexpr int kLines = 30000;
    std::string lines;
    for (int i = 0; i < kLines; ++i)
        lines += "P" + std::to_string(i) + " " + std::to_string(600000 + i) + ".5 " + std::to_string(2400000 + i) +
                 ".25 10\r\n";
    writeFile(work_.file("in.txt"), lines);
    const auto p = points(kNtfToL93);
    app_.reportRequested = true;
    struct Case {
        const char* name;
        const char* workers;
        int pollsBeforeStop;
        bool previousFiles;
    } cases[] = {
        {"one worker, at the first block", "1", 0, true},
        {"one worker, later", "1", 3, true},
        {"several workers", "3", 2, true},
        {"several workers, no previous files", "3", 0, false},
    };
    const std::string previous = "previous\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(work_.file("out.txt"));
        fs::remove(work_.file("rapport.txt"));
        if (c.previousFiles) {
            writeFile(work_.file("out.txt"), previous);
            writeFile(work_.file("rapport.txt"), previous);
        }
        std::set<std::string> before;
        for (const auto& entry : fs::directory_iterator(work_.path())) before.insert(entry.path().filename());
        StoppingUserInterface stopping;
        stopping.pollsBeforeStop = c.pollsBeforeStop;
        app_.ui = &stopping;
        ::setenv("ZELVO_THREADS", c.workers, 1);
        const FileRunOutcome outcome =
            app_.transformFile(1, false, p.departure, p.arrival, files(kNameENAltitude, kNameENAltitude));
        ::unsetenv("ZELVO_THREADS");
        app_.ui = &ui_;
        EXPECT_EQ(outcome.end, FileRunOutcome::End::Interrupted);
        EXPECT_GT(outcome.transformed, 0);
        EXPECT_LT(outcome.transformed, kLines);
        EXPECT_TRUE(stopping.messages.empty()) << stopping.messages[0].text;
        EXPECT_EQ(stopping.progressOpened, 1);
        EXPECT_EQ(stopping.progressClosed, 1);
        EXPECT_EQ(fs::exists(work_.file("out.txt")), c.previousFiles);
        if (c.previousFiles) {
            EXPECT_EQ(readFile(work_.file("out.txt")), previous);
            EXPECT_EQ(readFile(work_.file("rapport.txt")), previous);
        }
        std::set<std::string> after;
        for (const auto& entry : fs::directory_iterator(work_.path())) after.insert(entry.path().filename());
        EXPECT_EQ(after, before) << "a file was left behind";
    }
    // Not stopped, the same run writes its files.
    const FileRunOutcome outcome =
        app_.transformFile(1, false, p.departure, p.arrival, files(kNameENAltitude, kNameENAltitude));
    EXPECT_EQ(outcome.end, FileRunOutcome::End::Written);
    EXPECT_EQ(outcome.transformed, kLines);
    EXPECT_NE(readFile(work_.file("out.txt")), previous);
}

TEST_F(Drivers, SinglePointAsksAboutExtentsAndLogsWhatItKeeps) {
    struct Case {
        const char* name;
        std::string line;
        std::vector<bool> answers;
        std::vector<std::string> questions;
        bool result;  // lastResult receives the arrival point
        bool logged;
        bool shown;  // the driver gives a result to show
    } cases[] = {
        {"inside", kNtfToL93 + " -E 814149.529 -N 1887019.768", {}, {}, true, true, true},
        {"departure outside, declined", kNtfToL93 + " -E 1 -N 2", {false}, {kDepartureOutsideQuestion}, false, false,
         false},
        {"departure outside, accepted", kNtfToL93 + " -E 1 -N 2", {true, true},
         {kDepartureOutsideQuestion,
          "\nLes coordonnées ne se trouvent pas dans l'emprise de la projection d'arrivée.\nVoulez-vous continuer ?"},
         true, true, true},
        {"arrival outside, declined", "-type 1 -sys1 4 -sys2 1 -typcoor1 2 2 1 -typcoor2 2 2 1 -lon 0 -lat 0",
         {false}, {kArrivalOutsideQuestion}, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = log();
        app_.lastResult = CCoor{};
        ui_ = {};
        ui_.answers = c.answers;
        auto p = points(c.line);
        EXPECT_EQ(app_.transformPoint(1, p.departure, p.arrival), c.shown);
        ASSERT_EQ(ui_.questions.size(), c.questions.size());
        for (std::size_t i = 0; i < c.questions.size(); ++i) {
            EXPECT_EQ(ui_.questions[i].text, c.questions[i]);
            EXPECT_EQ(ui_.questions[i].icon, MessageIcon::Error);
            EXPECT_FALSE(ui_.questions[i].yesIsDefault);
        }
        EXPECT_TRUE(ui_.messages.empty());
        EXPECT_EQ(app_.lastResult.type != 0, c.result);
        if (c.result) {
            EXPECT_EQ(app_.lastResult.lon, p.arrival.lon);
            EXPECT_EQ(app_.lastResult.e, p.arrival.e);
        }
        EXPECT_EQ(log().size() > before.size(), c.logged) << log();
    }
}

TEST_F(Drivers, SinglePointOutsideTheGrids) {
    // Grid mode far from the 3-D grid: the bounds of the grid, nothing computed or logged.
    auto p = points("-type 2 -sys1 2 -sys2 1 -typcoor1 3 6 -typcoor2 3 9 -E 330000 -N 1360000");
    EXPECT_FALSE(app_.transformPoint(2, p.departure, p.arrival));
    ASSERT_EQ(ui_.messages.size(), 1u);
    const std::string& shown = ui_.messages[0].text;
    EXPECT_TRUE(shown.starts_with("\nLes coordonnées que vous avez saisies sont hors grille de paramètres de "
                                  "transformation :\n\n\t"))
        << shown;
    EXPECT_TRUE(shown.ends_with("°\n\n(Vos coordonnées ont été transformées en degrés décimaux , et\nla longitude est "
                                "ramenée au méridien de greenwich si nécessaire)"));
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::None);
    const auto bounds = numbers(shown.substr(shown.find(":\n")));
    ASSERT_EQ(bounds.size(), 4u) << shown;
    EXPECT_LT(bounds[0], bounds[1]);
    EXPECT_LT(bounds[2], bounds[3]);
    EXPECT_EQ(app_.lastResult.type, 0);
    EXPECT_EQ(log(), "");

    // Outside the geoid grid: said, and the point is still transformed.
    ui_ = {};
    p = points("-type 1 -sys1 1 -sys2 1 -alt 1 1 -typcoor1 2 2 1 -typcoor2 2 2 1 -lon 9.5 -lat 45 -he 100");
    EXPECT_TRUE(app_.transformPoint(1, p.departure, p.arrival));
    ASSERT_FALSE(ui_.messages.empty());
    EXPECT_TRUE(ui_.messages[0].text.starts_with("\nLes coordonnées que vous avez saisies sont hors grille de geoide"));
    EXPECT_NE(app_.lastResult.type, 0);
}

TEST_F(Drivers, SinglePointGivesTheBatchValues) {
    int ran = 0;
    for (const test::ReferenceCase& c : test::loadReferenceCases(test::referenceDir() + "/cases.tsv")) {
        SCOPED_TRACE(c.id);
        std::vector<std::string> args{"zelvo"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        CZelvoCommandLine record;
        ASSERT_TRUE(parseCommandLine(args, record, "", ui_));
        deriveVerticalKind(record);
        BatchPoints p = buildPoints(record, app_.catalogue);
        ui_ = {};
        ui_.answer = true;
        app_.transformPoint(record.type, p.departure, p.arrival);
        EXPECT_TRUE(ui_.messages.empty()) << ui_.messages[0].text;
        const auto got = numbers(pointResult(record, app_.lastResult));
        ASSERT_EQ(got.size(), c.expected.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], c.expected[i], c.tolerance[i] * (1 + 1e-6)) << "value " << i;
        ++ran;
    }
    EXPECT_GT(ran, 0) << "no reference case";
}

}  // namespace
}  // namespace zelvo
