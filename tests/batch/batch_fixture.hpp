#pragma once
// The batch through the real binary in a working folder holding the reference catalogue and its
// grids, with a configuration that names them.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/number_text.hpp"
#include "support/test_support.hpp"

namespace zelvo {

const std::string kWelcome = "*** Bienvenue dans Zelvo Batch ***";
// The runs have no terminal on standard input: no key is asked for, the output just ends its line.
const std::string kClosing = "\n";

class Batch : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string reference = test::referenceDir();
        namespace fs = std::filesystem;
        fs::copy_file(reference + "/catalogue.dat", work_.path() / "catalogue.dat");
        // The catalogue names its grids; the start-up check opens them.
        fs::create_directories(work_.path() / "grids");
        for (const auto& entry : fs::directory_iterator(reference + "/grids"))
            fs::copy_file(entry.path(), work_.path() / "grids" / entry.path().filename());
        test::writeAllUsersConfiguration(profile_.path(), "catalogue.dat");
        // A first start converts the text grids; the runs of the tests then print only their own output.
        ASSERT_EQ(zelvo("-?").exitCode, 0);
    }

    test::RunResult zelvo(const std::string& line, const std::map<std::string, std::optional<std::string>>& env = {},
                          test::RunOptions options = {}) {
        const std::vector<std::string> args = test::words(line);
        options.workingDirectory = work_.str();
        options.env.insert(env.begin(), env.end());
        options.env["ALLUSERSPROFILE"] = profile_.str();
        return test::run(args, options);
    }

    // The values a point-mode run prints after the welcome text.
    std::vector<double> pointValues(const std::string& line) {
        const auto r = zelvo(line);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::vector<double> values;
        FieldScanner scanner(std::string_view(r.out).substr(kWelcome.size()));
        double v = 0;
        while (scanner.readDouble(v)) values.push_back(v);
        return values;
    }

    std::string file(const std::string& name) const { return work_.file(name); }

    test::TempDir work_, profile_;
};


}  // namespace zelvo
