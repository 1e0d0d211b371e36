// The console batch without the window's libraries: a point run opens no Qt library and stays
// small, and the window library, loaded only when the program starts without arguments, is
// refused with a clear message when it is missing or is no library.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/test_support.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::run;
using test::RunOptions;
using test::TempDir;

const std::vector<std::string> kPointRun = {"-type", "1", "-mode", "0", "-sys1", "2", "-sys2", "1", "-typcoor1",
                                            "3", "6", "-typcoor2", "3", "9", "-E", "814149.529", "-N", "1887019.768"};
const std::string kPointResult = "860690.522 6319037.047";

fs::path defaultData() { return fs::path(ZELVO_BINARY).parent_path().parent_path() / "share" / "zelvo"; }

// A run on the embedded default data, from a fresh folder and home.
RunOptions onDefaultData(const TempDir& work, const TempDir& home) {
    RunOptions options;
    options.workingDirectory = work.str();
    options.env["ALLUSERSPROFILE"] = std::nullopt;
    options.env["HOME"] = home.str();
    options.env["XDG_CONFIG_HOME"] = std::nullopt;
    options.env["XDG_CONFIG_DIRS"] = home.str() + "/none";
    return options;
}

TEST(ConsoleWithoutQt, APointRunOpensNoQtLibrary) {
    if (!fs::exists("/usr/bin/strace")) ZELVO_MISSING_PREREQUISITE("strace is not installed (Debian package strace)");
    TempDir work, home, traces;
    RunOptions options = onDefaultData(work, home);
    options.program = "/usr/bin/strace";
    // In a sanitizer build, the leak check cannot run under strace (it traces the process itself).
    const char* asanOptions = std::getenv("ASAN_OPTIONS");
    options.env["ASAN_OPTIONS"] = std::string(asanOptions != nullptr ? asanOptions : "") + ":detect_leaks=0";
    const std::string trace = traces.file("openat");
    std::vector<std::string> args = {"-f", "-qq", "-e", "trace=open,openat", "-o", trace, ZELVO_BINARY};
    args.insert(args.end(), kPointRun.begin(), kPointRun.end());
    const auto r = run(args, options);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(kPointResult), std::string::npos) << r.out;
    const std::string opened = test::readFile(trace);
    // The trace is the program's: it saw the catalogue read and the C++ library loaded.
    ASSERT_NE(opened.find("catalogue.dat"), std::string::npos) << opened;
    ASSERT_NE(opened.find("libstdc++"), std::string::npos) << opened;
    for (const char* library : {"libQt", "libzelvo_window"}) {
        std::istringstream lines(opened);
        for (std::string line; std::getline(lines, line);)
            EXPECT_EQ(line.find(library), std::string::npos) << line;
    }
}

// The program's own footprint in a point run: peak resident memory, on the default catalogue
// without its grids (the start-up check of the 4 MB geoid grid of the default data reads all its
// nodes, which is the grids' cost, not the program's).
TEST(ConsoleWithoutQt, APointRunStaysUnderTenMegabytes) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory and allocator make the peak of this build meaningless";
#endif
    if (!fs::exists("/usr/bin/time")) ZELVO_MISSING_PREREQUISITE("GNU time is not installed (Debian package time)");
    TempDir work, profile, traces;
    std::string catalogue;
    std::istringstream lines(test::readFile(defaultData() / "catalogue.dat"));
    for (std::string line; std::getline(lines, line);)
        if (!line.starts_with("GR1D") && !line.starts_with("GR3D")) catalogue += line + "\n";
    test::writeFile(work.file("catalogue.dat"), catalogue);
    test::writeAllUsersConfiguration(profile.path(), work.file("catalogue.dat"));
    RunOptions options;
    options.workingDirectory = work.str();
    options.env["ALLUSERSPROFILE"] = profile.str();
    options.program = "/usr/bin/time";
    const std::string peak = traces.file("peak");
    std::vector<std::string> args = {"-f", "%M", "-o", peak, ZELVO_BINARY};
    args.insert(args.end(), kPointRun.begin(), kPointRun.end());
    const auto r = run(args, options);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(kPointResult), std::string::npos) << r.out;
    const long kibibytes = std::stol(test::readFile(peak));
    EXPECT_LE(kibibytes, 10 * 1024) << "peak resident memory in KiB";
}

#ifdef ZELVO_WINDOW_MODE
// Started without arguments, a copy of the program whose window library is missing, or is no
// library, says which file it could not load and fails; it writes nothing on standard output.
TEST(ConsoleWithoutQt, AWindowLibraryThatCannotBeLoadedIsRefusedClearly) {
    struct Case {
        const char* name;
        const char* libraryContent;  // null: no library at all
        const char* reason;
    } cases[] = {
        {"missing", nullptr, "No such file or directory"},
        {"not a library", "This text stands where the window library should be, and is no shared object.\n",
         "invalid ELF header"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir tree, work, home;
        fs::create_directories(tree.path() / "bin");
        fs::copy_file(ZELVO_BINARY, tree.path() / "bin" / "zelvo");
        fs::create_directory_symlink(defaultData().parent_path(), tree.path() / "share");
        const fs::path library = tree.path() / ZELVO_WINDOW_RELATIVE_DIR / "libzelvo_window.so";
        if (c.libraryContent != nullptr) {
            fs::create_directories(library.parent_path());
            test::writeFile(library, c.libraryContent);
        }
        RunOptions options = onDefaultData(work, home);
        options.program = (tree.path() / "bin" / "zelvo").string();
        options.env["QT_QPA_PLATFORM"] = "offscreen";
        const auto r = run({}, options);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("Zelvo ne peut pas ouvrir sa fenêtre : sa bibliothèque " + library.string() +
                                  " ne se charge pas\n(",
                              0),
                  0u)
            << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("zelvo -? pour l'aide"), std::string::npos) << r.err;
    }
}
#endif

}  // namespace
}  // namespace zelvo
