// The batch against results computed by PROJ on the same definitions: every case of each reference
// table (the project's own, and the shared one when present), run through the real binary as a
// user would run it.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <set>

#include "support/test_support.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;

using test::loadReferenceCases;
using test::numbersIn;

// The values a point-mode run printed: they end the output, after the welcome text on the same line
// (the first run of a folder may announce the binary versions of its grids in between).
std::vector<double> printedValues(const std::string& out) {
    const std::string welcome = "*** Bienvenue dans Zelvo Batch ***";
    EXPECT_TRUE(out.starts_with(welcome) && out.ends_with("\n")) << out;
    const std::string body = out.substr(welcome.size(), out.size() - welcome.size() - 1);
    const auto lastLine = body.find_last_of('\n');
    return numbersIn(lastLine == std::string::npos ? body : body.substr(lastLine + 1));
}

class ReferenceCases : public ::testing::Test {
protected:
    // A working folder holding the set's catalogue and grids, and a configuration naming it.
    struct Work {
        explicit Work(const test::ReferenceSet& set) {
            fs::copy_file(set.dir + "/catalogue.dat", work.path() / "catalogue.dat");
            fs::create_directories(work.path() / "grids");
            for (const auto& entry : fs::directory_iterator(set.dir + "/grids"))
                fs::copy_file(entry.path(), work.path() / "grids" / entry.path().filename());
            test::writeAllUsersConfiguration(profile.path(), "catalogue.dat");
        }
        test::TempDir work, profile;
    };

    // Runs each case whose identifier starts with one of the prefixes, in every reference set.
    void runCases(const std::vector<std::string>& prefixes) {
        for (const test::ReferenceSet& set : test::referenceSets()) {
            SCOPED_TRACE(set.name);
            runCases(set, prefixes);
        }
    }

    void runCases(const test::ReferenceSet& set, const std::vector<std::string>& prefixes) {
        const Work w(set);
        int ran = 0;
        for (const auto& c : loadReferenceCases(set.cases)) {
            bool wanted = false;
            for (const auto& p : prefixes) wanted = wanted || c.id.starts_with(p);
            if (!wanted) continue;
            ++ran;
            test::RunOptions options;
            options.workingDirectory = w.work.str();
            options.env["ALLUSERSPROFILE"] = w.profile.str();
            const auto r = test::run(c.args, options);
            ASSERT_EQ(r.exitCode, 0) << c.id << ": " << r.err;
            const auto got = printedValues(r.out);
            ASSERT_EQ(got.size(), c.expected.size()) << c.id << ": \"" << r.out << "\" " << r.err;
            // Both sides are rounded to the printed decimals: one unit of the last place is within a
            // tolerance of that unit, up to the error of reading decimals into doubles.
            for (std::size_t i = 0; i < got.size(); ++i)
                EXPECT_NEAR(got[i], c.expected[i], c.tolerance[i] * (1 + 1e-6)) << c.id << " value " << i;
        }
        EXPECT_GT(ran, 0) << "no reference case matched";
    }
};

bool isOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' && std::isalpha(static_cast<unsigned char>(arg[1]));
}

// The option values of a case's command line: each option with the words that follow it.
std::map<std::string, std::vector<std::string>> options(const std::vector<std::string>& args) {
    std::map<std::string, std::vector<std::string>> found;
    std::string current;
    for (const auto& a : args) {
        if (isOption(a))
            found[current = a.substr(1)];
        else
            found[current].push_back(a);
    }
    return found;
}

TEST_F(ReferenceCases, FileModeGivesThePointModeValues) {
    for (const test::ReferenceSet& set : test::referenceSets()) {
        SCOPED_TRACE(set.name);
        const Work w(set);
        int ran = 0;
        for (const auto& c : loadReferenceCases(set.cases)) {
            SCOPED_TRACE(c.id);
            auto o = options(c.args);
            test::RunOptions run;
            run.workingDirectory = w.work.str();
            run.env["ALLUSERSPROFILE"] = w.profile.str();
            const auto point = test::run(c.args, run);
            ASSERT_EQ(point.exitCode, 0) << point.err;
            const auto pointValues = printedValues(point.out);

            // The same point as the one line of a departure file: with its name, in the format of its
            // type that holds its vertical value (an ellipsoidal height, else an altitude).
            const int from = std::stoi(o["typcoor1"][0]);
            const int to = std::stoi(o["typcoor2"][0]);
            const bool height = o.contains("he");
            std::string line = "P";
            const char* const fields[3][3] = {{"x", "y", "z"}, {"lon", "lat", "he"}, {"E", "N", "he"}};
            for (const char* f : fields[from - 1]) {
                if (from != 1 && std::string(f) == "he") f = height ? "he" : "H";
                line += " " + (o.contains(f) ? o[f][0] : std::string("0"));
            }
            test::writeFile(w.work.file("depart.txt"), line + "\r\n");
            // The case's command line without its mode and point values, then the files.
            const std::set<std::string> pointOptions = {"mode", "x",  "y", "z", "lon",
                                                        "lat",  "he", "E", "N", "H"};
            std::vector<std::string> args;
            bool keep = true;
            for (const auto& a : c.args) {
                if (isOption(a)) keep = !pointOptions.contains(a.substr(1));
                if (keep) args.push_back(a);
            }
            // A cartesian departure gives an ellipsoidal height: the arrival format holds it.
            const bool arrivalHeight = from == 1 && to != 1;
            args.insert(args.end(), {"-mode", "1", "-f1", from != 1 && height ? "2" : "1", "depart.txt",
                                     "-f2", arrivalHeight ? "2" : "1", "arrivee.txt"});
            const auto file = test::run(args, run);
            ASSERT_EQ(file.exitCode, 0) << file.err;
            const std::string written = test::readFile(w.work.file("arrivee.txt"));
            std::vector<double> fileValues = numbersIn(written.substr(written.find(' ')));
            ASSERT_GE(fileValues.size(), 3u) << written;

            // Horizontal values (all three cartesian ones); the file's vertical value (an altitude,
            // or the height of a cartesian departure) is the one point mode prints last.
            const std::size_t horizontal = to == 1 ? 3 : 2;
            ASSERT_GE(pointValues.size(), horizontal) << point.out;
            for (std::size_t i = 0; i < horizontal; ++i)
                EXPECT_EQ(fileValues[i], pointValues[i]) << "value " << i << "\n"
                                                         << point.out << "\n"
                                                         << written;
            if (to != 1 && pointValues.size() > horizontal) {
                EXPECT_EQ(fileValues[2], pointValues.back()) << written;
            }
            ++ran;
        }
        EXPECT_GT(ran, 0) << "no reference case";
    }
}

TEST_F(ReferenceCases, StandardTransformationsAndProjections) {
    runCases({"std_", "std7_", "proj_", "inv_", "cart_"});
}

TEST_F(ReferenceCases, GridTransformationsAndGeoid) {
    runCases({"grid_", "geoid_"});
}

}  // namespace
}  // namespace zelvo
