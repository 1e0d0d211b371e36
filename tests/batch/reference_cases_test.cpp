// The batch against results computed by PROJ on the same definitions: every case of the shared
// reference table, run through the real binary as a user would run it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/number_text.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;

struct ReferenceCase {
    std::string id;
    std::vector<std::string> args;
    std::vector<double> expected;
    std::vector<double> tolerance;
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::vector<double> numbers(const std::string& text) {
    std::vector<double> values;
    for (const auto& word : split(text, ' ')) {
        double v = 0;
        if (parseDouble(word, v)) values.push_back(v);
    }
    return values;
}

std::vector<ReferenceCase> loadCases(const std::string& path) {
    std::vector<ReferenceCase> cases;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto fields = split(line, '\t');
        if (fields.size() < 4) continue;
        cases.push_back({fields[0], split(fields[1], ' '), numbers(fields[2]), numbers(fields[3])});
    }
    return cases;
}

class ReferenceCases : public ::testing::Test {
protected:
    void SetUp() override {
        reference_ = test::sharedReferenceDir();
        if (reference_.empty()) GTEST_SKIP() << "the shared reference folder is absent";
        fs::copy_file(reference_ + "/catalogue.dat", work_.path() / "catalogue.dat");
        fs::create_directories(work_.path() / "grids");
        for (const auto& entry : fs::directory_iterator(reference_ + "/grids"))
            fs::copy_file(entry.path(), work_.path() / "grids" / entry.path().filename());
        test::writeAllUsersConfiguration(profile_.path(), "catalogue.dat");
    }

    // Runs each case whose identifier starts with one of the prefixes.
    void runCases(const std::vector<std::string>& prefixes) {
        int ran = 0;
        for (const auto& c : loadCases(reference_ + "/cases.tsv")) {
            bool wanted = false;
            for (const auto& p : prefixes) wanted = wanted || c.id.starts_with(p);
            if (!wanted) continue;
            ++ran;
            test::RunOptions options;
            options.workingDirectory = work_.str();
            options.env["ALLUSERSPROFILE"] = profile_.str();
            const auto r = test::run(c.args, options);
            ASSERT_EQ(r.exitCode, 0) << c.id << ": " << r.err;
            const std::string welcome = "*** Bienvenue dans Zelvo Batch ***";
            ASSERT_TRUE(r.out.starts_with(welcome)) << c.id << ": " << r.out;
            // The values end the last line before the closing text (the first run of a folder may
            // announce the binary versions of its grids in between).
            const std::string closing = "\nAppuyer sur une touche pour quitter l'application ...\n";
            ASSERT_TRUE(r.out.ends_with(closing)) << c.id << ": " << r.out;
            const std::string body = r.out.substr(welcome.size(), r.out.size() - welcome.size() - closing.size());
            const std::string values = body.substr(body.find_last_of('\n') == std::string::npos ? 0 : body.find_last_of('\n') + 1);
            const auto got = numbers(values);
            ASSERT_EQ(got.size(), c.expected.size()) << c.id << ": \"" << values << "\" " << r.err;
            // Both sides are rounded to the printed decimals: one unit of the last place is within a
            // tolerance of that unit, up to the error of reading decimals into doubles.
            for (std::size_t i = 0; i < got.size(); ++i)
                EXPECT_NEAR(got[i], c.expected[i], c.tolerance[i] * (1 + 1e-6)) << c.id << " value " << i;
        }
        EXPECT_GT(ran, 0) << "no reference case matched";
    }

    std::string reference_;
    test::TempDir work_, profile_;
};

TEST_F(ReferenceCases, StandardTransformationsAndProjections) { runCases({"std_", "std7_", "proj_", "inv_"}); }

TEST_F(ReferenceCases, GridTransformationsAndGeoid) { runCases({"grid_", "geoid_"}); }

}  // namespace
}  // namespace zelvo
