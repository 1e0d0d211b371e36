// Start-up as a user meets it: the real binary, temporary configuration folders, no terminal.

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "support/test_support.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::run;
using test::RunOptions;
using test::TempDir;
using test::writeFile;

const std::string kWelcome = "*** Bienvenue dans Zelvo Batch ***";
// The runs have no terminal on standard input: no key is asked for, the output just ends its line.
const std::string kClosing = "\n";
const std::string kCatalogue = "ELG 1 6378137 0 0 0.00669438 GRS 1980\r\nLGO 1 2 0 Greenwich\r\nREG 1 1 1 3D Réf\r\n";

RunOptions inFolder(const TempDir& work, const TempDir& profile) {
    RunOptions options;
    options.workingDirectory = work.str();
    options.env["ALLUSERSPROFILE"] = profile.str();
    return options;
}

TEST(Startup, ConsoleRunGreetsAndCloses) {
    TempDir work, profile;
    test::writeAllUsersConfiguration(profile.path(), "cat.dat");
    writeFile(work.file("cat.dat"), kCatalogue);
    const auto r = run({"-?"}, inFolder(work, profile));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, kWelcome + "\nAide de test\n" + kClosing);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(fs::exists(work.file("log.txt"))) << "the log is created at load";
    EXPECT_EQ(fs::file_size(work.file("log.txt")), 0u);
}

TEST(Startup, AnswersHelpAndVersionAtOnceLikeALinuxCommand) {
    TempDir work, profile;
    test::writeAllUsersConfiguration(profile.path(), "cat.dat");
    const struct {
        std::vector<std::string> args;
        std::string start;  // what the output begins with
    } cases[] = {
        {{"--version"}, std::string("Zelvo ") + ZELVO_VERSION + "\n"},
        {{"--help"}, "Aide de test\n\n  -type "},
        {{"-v", "--help"}, "Aide de test\n\n  -type "},
    };
    for (const auto& c : cases) {
        // On a terminal, where the batch would wait for a key: these never do.
        RunOptions options = inFolder(work, profile);
        options.timeoutSeconds = 20;
        auto r = test::runInTerminal(c.args, options, "\x01never shown", "");
        std::erase(r.out, '\r');  // the terminal's line ends
        EXPECT_EQ(r.exitCode, 0) << c.args[0] << r.out;
        EXPECT_TRUE(r.out.starts_with(c.start)) << r.out;
        EXPECT_EQ(r.out.find(kWelcome), std::string::npos) << "no batch runs";
        EXPECT_FALSE(fs::exists(work.file("log.txt"))) << "nothing is written";
    }
    // Without any configuration file, the help still lists the options.
    TempDir empty;
    const auto r = run({"--help"}, inFolder(work, empty));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.starts_with("  -type ")) << r.out;
    EXPECT_NE(r.out.find("\n  --version "), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");
}

#ifndef ZELVO_WINDOW_MODE
TEST(Startup, WithoutArgumentsABuildWithoutWindowModeSaysSo) {
    TempDir work, profile;
    test::writeAllUsersConfiguration(profile.path(), "cat.dat");
    writeFile(work.file("cat.dat"), kCatalogue);
    const auto r = run({}, inFolder(work, profile));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("mode fenêtre n'est pas disponible"), std::string::npos) << r.out;
}
#else
// Without arguments the program opens its window; where no display can be used it says how to
// use the console batch instead, and fails.
TEST(Startup, WithoutArgumentsNorDisplayExplainsTheConsoleBatch) {
    TempDir work, profile;
    test::writeAllUsersConfiguration(profile.path(), "cat.dat");
    writeFile(work.file("cat.dat"), kCatalogue);
    RunOptions options = inFolder(work, profile);
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) options.env[name] = std::nullopt;
    const auto r = run({}, options);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("Zelvo ne peut pas ouvrir sa fenêtre : aucun affichage graphique n'est disponible.\n", 0), 0u)
        << r.err;
    EXPECT_NE(r.err.find("zelvo -type 1 -mode 0 -sys1 2 -sys2 1"), std::string::npos) << r.err;
}

// A display that is named but cannot be reached gives the same explanation, not an abort.
TEST(Startup, AnUnreachableDisplayExplainsTheConsoleBatch) {
    TempDir work, profile;
    test::writeAllUsersConfiguration(profile.path(), "cat.dat");
    writeFile(work.file("cat.dat"), kCatalogue);
    RunOptions options = inFolder(work, profile);
    options.env["DISPLAY"] = ":9999";
    options.env["WAYLAND_DISPLAY"] = std::nullopt;
    options.env["QT_QPA_PLATFORM"] = std::nullopt;
    const auto r = run({}, options);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Zelvo ne peut pas ouvrir sa fenêtre"), std::string::npos) << r.err;
}
#endif

TEST(Startup, FindsTheConfigurationFileUnderTheAllUsersProfile) {
    TempDir work;
    writeFile(work.file("cat.dat"), kCatalogue);
    writeFile(work.file("bad.dat"), "ZNE 1\r\n");
    {
        // Neither candidate: the message names the second one.
        TempDir profile;
        const auto r = run({"-?"}, inFolder(work, profile));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "Le fichier " + profile.str() + "/Application Data/Zelvo/zelvo.ini n'existe pas\n");
        EXPECT_EQ(r.out, "");
    }
    {
        // Only the second candidate: it is used.
        TempDir profile;
        writeFile(profile.file("Application Data/Zelvo/zelvo.ini"), "[DATA]\r\nData=cat.dat\r\n");
        const auto r = run({"-?"}, inFolder(work, profile));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(r.out.starts_with(kWelcome) && r.out.ends_with(kClosing)) << r.out;
    }
    {
        // Both: the first wins (the second names a malformed catalogue).
        TempDir profile;
        writeFile(profile.file("Zelvo/zelvo.ini"), "[DATA]\r\nData=cat.dat\r\n");
        writeFile(profile.file("Application Data/Zelvo/zelvo.ini"), "[DATA]\r\nData=bad.dat\r\n");
        const auto r = run({"-?"}, inFolder(work, profile));
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
}

TEST(Startup, FindsTheConfigurationFileInTheUsualLinuxFolders) {
    TempDir work, home, dirs;
    writeFile(work.file("cat.dat"), kCatalogue);
    RunOptions options;
    options.workingDirectory = work.str();
    options.env["ALLUSERSPROFILE"] = std::nullopt;
    options.env["HOME"] = home.str();
    options.env["XDG_CONFIG_HOME"] = std::nullopt;
    options.env["XDG_CONFIG_DIRS"] = dirs.str() + "/a:" + dirs.str() + "/b";
    // A copy of the program whose tree has no default data, so that only the folders count.
    TempDir prefix;
    fs::create_directories(prefix.path() / "bin");
    fs::copy_file(ZELVO_BINARY, prefix.path() / "bin" / "zelvo");
    options.program = (prefix.path() / "bin" / "zelvo").string();

    auto r = run({"-?"}, options);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Le fichier " + prefix.str() + "/share/zelvo/zelvo.ini n'existe pas\n");

    writeFile(dirs.file("b/Zelvo/zelvo.ini"), "[DATA]\r\nData=cat.dat\r\n");
    r = run({"-?"}, options);
    EXPECT_EQ(r.exitCode, 0) << r.err;

    writeFile(dirs.file("a/Zelvo/zelvo.ini"), "[DATA]\r\nData=absent.dat\r\n");
    r = run({"-?"}, options);
    EXPECT_EQ(r.exitCode, 1) << "a catalogue that cannot be read stops the run";
    EXPECT_NE(r.err.find("absent.dat"), std::string::npos) << "the first folder of XDG_CONFIG_DIRS wins";

    writeFile(home.file(".config/Zelvo/zelvo.ini"), "[DATA]\r\nData=cat.dat\r\n");
    r = run({"-?"}, options);
    EXPECT_EQ(r.err, "") << "the user's own folder comes first";

    options.env["XDG_CONFIG_HOME"] = work.str() + "/cfg";
    writeFile(work.file("cfg/Zelvo/zelvo.ini"), "[DATA]\r\nData=bad.dat\r\n");
    writeFile(work.file("bad.dat"), "ZNE 1\r\n");
    r = run({"-?"}, options);
    EXPECT_EQ(r.exitCode, 1) << "XDG_CONFIG_HOME replaces ~/.config";
}

TEST(Startup, ReportsCatalogueProblems) {
    TempDir work, profile;
    struct Case {
        const char* what;
        std::string ini;
        std::string catalogue;  // empty: no file
        int exitCode;
        std::string err;
    } cases[] = {
        {"missing DATA/Data", "[INFORMATIONS]\r\nTitre=x\r\n", "", 1,
         "Impossible de lire le fichier\n" + profile.str() + "/Zelvo/zelvo.ini\n"},
        {"unreadable catalogue", "[DATA]\r\nData=absent.dat\r\n", "", 1,
         "Impossible de lire le fichier\n" + work.str() + "/absent.dat\n"},
        {"malformed line", "[DATA]\r\nData=cat.dat\r\n", "* commentaire\r\n\r\nZNE 1 2 R\xE9union\r\n", 1,
         "Erreur dans le fichier \"" + work.str() + "/cat.dat\" :\nMauvais format à la ligne 3:\n\n\"ZNE 1 2 "
         "Réunion\"\n"},
    };
    for (auto& c : cases) {
        writeFile(profile.file("Zelvo/zelvo.ini"), c.ini);
        fs::remove(work.file("cat.dat"));
        if (!c.catalogue.empty()) writeFile(work.file("cat.dat"), c.catalogue);
        const auto r = run({"-?"}, inFolder(work, profile));
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what;
        EXPECT_EQ(r.err, c.err) << c.what;
        EXPECT_EQ(r.out, "") << c.what << ": nothing happens after a catalogue failure";
    }
}

TEST(Startup, ARenamedProgramReadsItsOwnConfiguration) {
    TempDir work, profile, bin;
    writeFile(work.file("cat.dat"), kCatalogue);
    writeFile(profile.file("Zelvo/geo.ini"), "[DATA]\r\nData=cat.dat\r\n");
    const auto copy = bin.path() / "geo";
    fs::copy_file(ZELVO_BINARY, copy);
    RunOptions options = inFolder(work, profile);
    options.program = copy.string();
    auto r = run({"-?"}, options);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    options.program = ZELVO_BINARY;
    r = run({"-?"}, options);
    EXPECT_EQ(r.exitCode, 1) << "zelvo.ini does not exist";
}

TEST(Startup, ResolvesRelativeNamesBesideTheConfigurationFile) {
    TempDir work, profile;
    writeFile(profile.file("Zelvo/zelvo.ini"), "[DATA]\r\nData=cat.dat\r\n");
    writeFile(profile.file("Zelvo/cat.dat"), kCatalogue);
    auto r = run({"-?"}, inFolder(work, profile));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // A file of that name in the working directory takes precedence.
    writeFile(work.file("cat.dat"), "ZNE 1\r\n");
    r = run({"-?"}, inFolder(work, profile));
    EXPECT_EQ(r.exitCode, 1);
}

TEST(Startup, RunsOnTheEmbeddedDefaultDataFromAnyFolder) {
    TempDir work, home;
    RunOptions options;
    options.workingDirectory = work.str();
    options.env["ALLUSERSPROFILE"] = std::nullopt;
    options.env["HOME"] = home.str();
    options.env["XDG_CONFIG_HOME"] = std::nullopt;
    options.env["XDG_CONFIG_DIRS"] = home.str() + "/none";
    const auto r = run({"-?"}, options);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with(kWelcome)) << r.out;
    EXPECT_EQ(test::withoutProgress(r.err), "");
}

TEST(Startup, AUsersCopyOfTheDefaultConfigurationUsesTheDefaultData) {
    // What the first save of the window's settings leaves: the default file copied to the user's
    // folder, its relative names unchanged.
    TempDir work, home;
    const fs::path installed = fs::path(ZELVO_BINARY).parent_path().parent_path() / "share/zelvo/zelvo.ini";
    writeFile(home.file("cfg/Zelvo/zelvo.ini"), test::readFile(installed));
    RunOptions options;
    options.workingDirectory = work.str();
    options.env["ALLUSERSPROFILE"] = std::nullopt;
    options.env["XDG_CONFIG_HOME"] = home.file("cfg");
    options.env["XDG_CONFIG_DIRS"] = home.file("none");
    const auto r = run({"-type", "1", "-mode", "0", "-sys1", "2", "-sys2", "1", "-typcoor1", "3", "6",
                        "-typcoor2", "3", "9", "-E", "814149.529", "-N", "1887019.768"},
                       options);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, kWelcome + "860690.522 6319037.047" + kClosing);
}

TEST(Startup, SurvivesGarbageCatalogues) {
    TempDir work, profile;
    test::writeAllUsersConfiguration(profile.path(), "cat.dat");
    std::string binary;
    for (int i = 0; i < 200000; ++i) binary.push_back(static_cast<char>((i * 131 + 7) % 256));
    for (const std::string& bytes : {std::string(), binary, std::string(2 << 20, 'x')}) {
        writeFile(work.file("cat.dat"), bytes);
        const auto r = run({"-?"}, inFolder(work, profile));
        EXPECT_GE(r.exitCode, 0) << "no crash, no hang";
        EXPECT_LE(r.exitCode, 1);
    }
}

TEST(Startup, RefusesConfigurationsAndCataloguesThatCannotBeReadAsAWhole) {
    // A pipe or a device would hang or never end, a huge configuration costs a long start, an
    // empty or garbled one names no catalogue: each is refused at once, naming the file at fault.
    const struct {
        const char* what;
        int configuration;  // 0 a pipe, 1 a device, 2 too large, 3 empty, 4 garbage, 5 good
        bool cataloguePipe;
    } cases[] = {
        {"configuration a pipe", 0, false}, {"configuration a device", 1, false},
        {"configuration over 1 MiB", 2, false}, {"empty configuration", 3, false},
        {"garbled configuration", 4, false}, {"catalogue a pipe", 5, true},
    };
    for (const auto& c : cases) {
        TempDir work, profile;
        const std::string ini = profile.file("Zelvo/zelvo.ini");
        fs::create_directories(profile.path() / "Zelvo");
        switch (c.configuration) {
            case 0: ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0); break;
            case 1: fs::create_symlink("/dev/zero", ini); break;
            case 2: writeFile(ini, "[DATA]\r\nData=cat.dat\r\n;" + std::string(1024 * 1024, 'x') + "\r\n"); break;
            case 3: writeFile(ini, ""); break;
            case 4: writeFile(ini, std::string("\x7f\x45\x4c\x46\x02\x01\x01\0\0\xff\xfe", 11)); break;
            default: test::writeAllUsersConfiguration(profile.path(), "cat.dat");
        }
        if (c.cataloguePipe) ASSERT_EQ(::mkfifo(work.file("cat.dat").c_str(), 0600), 0);
        else writeFile(work.file("cat.dat"), kCatalogue);
        RunOptions options = inFolder(work, profile);
        options.timeoutSeconds = 10;
        const auto r = run({"-?"}, options);
        EXPECT_EQ(r.exitCode, 1) << c.what;
        EXPECT_EQ(r.err, "Impossible de lire le fichier\n" + (c.cataloguePipe ? work.file("cat.dat") : ini) + "\n")
            << c.what;
        // The help of --help reads the configuration too, and must not hang either.
        EXPECT_EQ(run({"--help"}, options).exitCode, 0) << c.what;
    }
}

}  // namespace
}  // namespace zelvo
