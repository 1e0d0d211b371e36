// The batch through the real binary: point mode and file mode on the reference catalogue.

#include <gtest/gtest.h>

#include <fmt/printf.h>

#include <atomic>
#include <csignal>
#include <chrono>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/number_text.hpp"
#include "batch/batch_fixture.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

const std::string kNtfToL93 = "-type 1 -sys1 2 -sys2 1 -typcoor1 3 6 -typcoor2 3 9";

TEST_F(Batch, PointModePrintsBareOrLabelledValues) {
    auto r = zelvo(kNtfToL93 + " -mode 0 -E 814149.529 -N 1887019.768");
    EXPECT_EQ(r.out, kWelcome + "860690.522 6319037.047" + kClosing);
    r = zelvo("-v " + kNtfToL93 + " -mode 0 -E 814149.529 -N 1887019.768 -alt 2 -H 12.5");
    EXPECT_EQ(r.out, kWelcome + "Ligne de commande validee.\nInitialisation des donnees internes aux calculs...\n\n"
                                "E=860690.522 N=6319037.047 alt=12.500\n" + kClosing);
    const auto cartesian = pointValues("-type 1 -mode 0 -sys1 1 -sys2 1 -typcoor1 2 2 1 -typcoor2 1 -lon 2 -lat 48");
    ASSERT_EQ(cartesian.size(), 3u);
    EXPECT_NEAR(cartesian[0], 4273113.152, 1e-3);
}

// A projection in US survey feet added to the catalogue (NAD83 / Florida East on a system of
// GRS 1980, false easting 656166.667 ftUS): values read and written in feet, labels naming the unit. The
// expected values are PROJ's (cs2cs, +units=us-ft).
TEST_F(Batch, AProjectionInFeetReadsAndWritesFeet) {
    std::string catalogue = readFile(file("catalogue.dat"));
    catalogue += "REG 90 2 1 3D NAD83\nZNE 90 2 -88 24 -79 31\nTYPCOOR 90 1 2 3\nUNIT 90 2\n"
                 "PRC 901 0 2 656166.667 0 1 2 -81 24.3333333333333 0.999941177 0 0 0 9807 9003 Florida East ftUS\n"
                 "PROJ 90 901 2 -88 24 -79 31\n"
                 "PRC 902 0 2 9941.939080848 0 1 2 -81 24.3333333333333 0.999941177 0 0 0 9807 9097 Florida East ch\n"
                 "PROJ 90 902 2 -88 24 -79 31\n";
    writeFile(file("catalogue.dat"), catalogue);
    const std::string toFeet = "-type 1 -sys1 90 -sys2 90 -typcoor1 2 2 1 -typcoor2 3 901";
    const std::string fromFeet = "-type 1 -sys1 90 -sys2 90 -typcoor1 3 901 -typcoor2 2 2 1";
    struct Case {
        std::string line;
        std::string out;  // after the welcome text
    };
    const Case cases[] = {
        {toFeet + " -mode 0 -lon -80.5 -lat 27.5", "818251.398 1151257.755"},
        {"-v " + toFeet + " -mode 0 -lon -80.5 -lat 27.5",
         "Ligne de commande validee.\nInitialisation des donnees internes aux calculs...\n\n"
         "E(ftUS)=818251.398 N(ftUS)=1151257.755\n"},
        {fromFeet + " -mode 0 -E 818251.3984 -N 1151257.7549", "-80.50000000 27.50000000"},
        // A chain is 20 m: two more decimals keep the millimetre.
        {"-type 1 -sys1 90 -sys2 90 -typcoor1 2 2 1 -typcoor2 3 902 -mode 0 -lon -80.5 -lat 27.5",
         "12397.77326 17443.33420"},
    };
    for (const Case& c : cases) {
        const auto r = zelvo(c.line);
        EXPECT_EQ(r.exitCode, 0) << c.line << "\n" << r.err;
        EXPECT_EQ(r.out, kWelcome + c.out + kClosing) << c.line << "\n" << r.err;
    }

    writeFile(file("in.txt"), "P1 -80.5 27.5 10\r\n");
    auto r = zelvo("-type 1 -mode 1 " + toFeet.substr(8) + " -f1 1 in.txt -f2 1 out.txt");
    ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
    EXPECT_NE(readFile(file("out.txt")).find("P1     818251.398    1151257.755     10.000"), std::string::npos)
        << readFile(file("out.txt"));
    r = zelvo("-type 1 -mode 1 " + fromFeet.substr(8) + " -f1 1 out.txt -f2 1 back.txt");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(readFile(file("back.txt")).find("P1"), std::string::npos);
    const std::string back = readFile(file("back.txt"));
    EXPECT_NE(back.find("-80.50000000"), std::string::npos) << back;
    EXPECT_NE(back.find("27.50000000"), std::string::npos) << back;
}

TEST_F(Batch, PointOutsideEveryExtentIsStillTransformed) {
    const auto values = pointValues("-type 1 -mode 0 -sys1 1 -sys2 1 -typcoor1 2 2 1 -typcoor2 3 9 -lon 30 -lat 10");
    EXPECT_EQ(values.size(), 2u);
}

TEST_F(Batch, ReportsBadCommandLinesOnStandardError) {
    struct Case {
        std::string line;
        std::string out;
        std::string err;
        int exitCode;
    } cases[] = {
        // Every failure has its own exit code; the help asked for is a success.
        {"-type 1 -bogus 3", kWelcome + kClosing, "bogus : Le flag n'existe pas !\n", 3},
        {"-type 9 -mode 0", kWelcome + kClosing, "Le type de transformation géométrique choisi n'existe pas !\n", 3},
        {"-type 1 -mode 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 a.txt -typcoor2 3 9 -f2 1 a.txt", kWelcome + kClosing,
         "Impossible de lire et d'écrire dans les mêmes fichiers !\n", 3},
        {"-type 1 -mode 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 absent.txt -typcoor2 3 9 -f2 1 b.txt",
         kWelcome + kClosing, "Impossible d'ouvrir le fichier absent.txt !\n", 4},
        {"-type 1 -mode 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 . -typcoor2 3 9 -f2 1 b.txt", kWelcome + kClosing,
         "Impossible d'ouvrir le fichier . !\n", 4},
        {kNtfToL93 + " -mode 0 -E nan -N nan", kWelcome + kClosing, "E : La valeur n'est pas un nombre fini !\n", 3},
        {kNtfToL93 + " -mode 0 -E 814149.529 -N inf", kWelcome + kClosing,
         "N : La valeur n'est pas un nombre fini !\n", 3},
        {kNtfToL93 + " -mode 0 -E 1e999 -N 1887019.768", kWelcome + kClosing,
         "E : La valeur n'est pas un nombre fini !\n", 3},
        {kNtfToL93 + " -mode 0 -E " + std::string(120000, '8') + " -N 1887019.768", kWelcome + kClosing,
         "E : La valeur n'est pas un nombre fini !\n", 3},
        // No arrival file, no success: the exit code says so.
        {"-type 1 -mode 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 in.txt -typcoor2 3 9 -f2 1 no/such/dir/b.txt",
         kWelcome + kClosing, "Impossible d'ouvrir le fichier no/such/dir/b.txt !\n", 2},
        {"/?", kWelcome + "\nAide de test\n" + kClosing, "", 0},
        {"-?", kWelcome + "\nAide de test\n" + kClosing, "", 0},
        {"-v -type 1 -mode 0 -sys1 1 -sys2 1 -typcoor1 2 2 1 -typcoor2 2 2 1 -lon 1 -lat 45",
         kWelcome + "Ligne de commande validee.\nInitialisation des donnees internes aux calculs...\n\n"
                    "Lon=1.00000000 Lat=45.00000000\n" + kClosing,
         "", 0},
    };
    writeFile(file("in.txt"), "P 1 2 3\r\n");
    for (const auto& c : cases) {
        const auto r = zelvo(c.line);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.line.substr(0, 100);
        EXPECT_EQ(r.out, c.out) << c.line.substr(0, 100);
        EXPECT_EQ(r.err, c.err) << c.line.substr(0, 100);
    }
    EXPECT_EQ(readFile(file("in.txt")), "P 1 2 3\r\n");
}

TEST_F(Batch, AsksForAKeyOnlyOnATerminal) {
    test::RunOptions options;
    options.workingDirectory = work_.str();
    options.env["ALLUSERSPROFILE"] = profile_.str();
    const std::string prompt = "Appuyer sur une touche pour quitter l'application ...";
    const auto r = test::runInTerminal({"-?"}, options, prompt, "x");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Aide de test"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(prompt), std::string::npos) << r.out;
    // Without a terminal nothing waits, and nothing asks.
    EXPECT_EQ(zelvo("-?").out.find(prompt), std::string::npos);
}

TEST_F(Batch, RefusesTheSameFileUnderAnotherName) {
    const std::string original = "P 814149.529 1887019.768 10\r\n";
    writeFile(file("a.txt"), original);
    fs::create_symlink(file("a.txt"), file("lien.txt"));
    fs::create_hard_link(file("a.txt"), file("dur.txt"));
    for (const std::string& arrival : {std::string("./a.txt"), std::string("lien.txt"), std::string("dur.txt"),
                                       "../" + work_.path().filename().string() + "/a.txt", file("a.txt")}) {
        const auto r = zelvo("-type 1 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 a.txt -f2 1 " + arrival);
        EXPECT_EQ(r.err, "Impossible de lire et d'écrire dans les mêmes fichiers !\n") << arrival;
        EXPECT_EQ(r.exitCode, 3) << arrival;
        EXPECT_EQ(readFile(file("a.txt")), original) << arrival;
    }
}

TEST_F(Batch, FileModeMatchesPointModeInEveryFormat) {
    // NTF Lambert II étendu to RGF93, as projected, geographic and cartesian points.
    const std::string e = "814149.529", n = "1887019.768";
    struct Case {
        const char* arrival;  // -typcoor2 values
        int position;         // -f2 menu position
        bool latitudeFirst;
    } cases[] = {
        {"3 9", 1, false},   {"3 9", 4, false}, {"2 2 1", 1, false}, {"2 10 1", 5, true},
        {"2 1 1", 8, true}, {"1", 1, false},   {"1", 2, false},     {"2 12 1", 3, false},
    };
    writeFile(file("in.txt"), "* points\r\n\r\nP1 " + e + " " + n + " 35.5\r\nP2 " + e + " " + n + " 35.5");
    const std::string before = readFile(file("in.txt"));
    for (const auto& c : cases) {
        const auto point = pointValues("-type 1 -mode 0 -sys1 2 -sys2 1 -typcoor1 3 6 -typcoor2 " +
                                       std::string(c.arrival) + " -alt 2 -E " + e + " -N " + n + " -H 35.5");
        const auto r = zelvo("-type 1 -mode 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 in.txt -typcoor2 " +
                             std::string(c.arrival) + " -f2 " + std::to_string(c.position) + " out.txt");
        ASSERT_EQ(r.out, kWelcome + kClosing) << c.arrival << " " << c.position;
        const std::string written = readFile(file("out.txt"));
        ASSERT_EQ(std::count(written.begin(), written.end(), '\n'), 2) << written;
        std::vector<double> values;
        FieldScanner scanner(written);
        std::string word;
        double v = 0;
        for (int k = 0; k < 4 && !scanner.atEnd(); ++k) {
            if (scanner.readDouble(v)) values.push_back(v);
            else scanner.readWord(word);
        }
        ASSERT_GE(values.size(), 2u) << written;
        if (c.latitudeFirst) std::swap(values[0], values[1]);
        for (std::size_t i = 0; i < 2; ++i)
            EXPECT_NEAR(values[i], point[i], 1e-3) << c.arrival << " format position " << c.position << "\n" << written;
        EXPECT_EQ(written.find("\r\n"), written.find('\n') - 1) << "CR LF line ends";
    }
    EXPECT_EQ(readFile(file("in.txt")), before) << "the departure file is never modified";
}

TEST_F(Batch, FileRoundTripReturnsTheDepartureValues) {
    writeFile(file("a.txt"),
              "Paris 601152.299 2428695.897 35.000\r\nLyon 794390.282 2087943.390 170.000\r\n"
              "Brest 95210.271 2398759.847 40.000\r\nChamonix 951192.871 2112725.242 1035.000\r\n");
    auto r = zelvo("-type 1 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 a.txt -f2 1 b.txt");
    ASSERT_EQ(r.out, kWelcome + kClosing);
    r = zelvo("-type 1 -mode 1 -sys1 1 -sys2 2 -typcoor1 3 9 -f1 1 b.txt -typcoor2 3 6 -f2 1 c.txt");
    ASSERT_EQ(r.out, kWelcome + kClosing);
    const auto read = [](const std::string& text) {
        std::vector<double> v;
        FieldScanner s(text);
        std::string name;
        double x = 0;
        while (s.readWord(name))
            for (int k = 0; k < 3 && s.readDouble(x); ++k) v.push_back(x);
        return v;
    };
    const auto a = read(readFile(file("a.txt")));
    const auto c = read(readFile(file("c.txt")));
    ASSERT_EQ(a.size(), c.size()) << readFile(file("c.txt"));
    // Each file holds millimetres: a unit of the last place is the rounding of the two writes.
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], c[i], 1e-3 * (1 + 1e-6)) << i;
}

TEST_F(Batch, VerboseFileRunAnnotatesAndSummarises) {
    writeFile(file("in.txt"), "* c\r\nP1 814149.529 1887019.768 10\r\nP2 1 2\r\nbad\r\nP3 x\r\n");
    const auto r = zelvo("-v -type 1 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 in.txt -f2 1 out.txt");
    const std::string summary =
        "\n------------------------------------------------------------------\n"
        "Transformation terminée entre les fichiers suivants :\nin.txt \nout.txt\n\n"
        "1 transformation(s) réussie(s)\n3 transformation(s) hors zone\n"
        "------------------------------------------------------------------\n";
    EXPECT_NE(r.out.find(summary), std::string::npos) << r.out;
    const std::string out = readFile(file("out.txt"));
    EXPECT_NE(out.find("                  P1     860690.522    6319037.047     10.000"), std::string::npos) << out;
    EXPECT_NE(out.find("* ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : Les coordonn\xE9" "es ne se trouvent pas "
                       "dans l'emprise de la projection de d\xE9part\r\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("* ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : mauvais format de point\r\n"),
              std::string::npos);
    EXPECT_NE(out.find("\r\n* Fin "), std::string::npos);
}

TEST_F(Batch, WritesTheSameBytesUnderAFrenchLocale) {
    writeFile(file("in.txt"), "P1 814149.529 1887019.768 10.25\r\nP2 700000 2000000 -3.5\r\n");
    const std::string line = "-type 1 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 in.txt -f2 1 ";
    const auto c = zelvo(line + "c.txt", {{"LC_ALL", "C"}});
    const auto fr = zelvo(line + "fr.txt", {{"LC_ALL", "fr_FR.UTF-8"}});
    EXPECT_EQ(c.out, fr.out);
    EXPECT_EQ(readFile(file("c.txt")), readFile(file("fr.txt")));
    EXPECT_NE(readFile(file("fr.txt")).find("."), std::string::npos);
}

TEST_F(Batch, AnInterruptedRunLeavesThePreviousArrivalFile) {
    // The departure file is a pipe that delivers some points and then nothing: the run has
    // read and written part of the file, and waits for more, when it is killed, however fast
    // it is.
    const std::string pipe = file("in.txt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int fd = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    std::atomic<bool> stop = false;
    std::thread feeder([&] {
        std::string lines;
        for (int i = 0; i < 20000; ++i) lines += "P" + std::to_string(i) + " 814149.529 1887019.768 10\r\n";
        std::size_t sent = 0;
        while (sent < lines.size() && !stop) {
            const ssize_t n = ::write(fd, lines.data() + sent, lines.size() - sent);
            if (n > 0) sent += static_cast<std::size_t>(n);
            else std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    writeFile(file("out.txt"), "previous results\r\n");
    test::RunOptions options;
    options.workingDirectory = work_.str();
    options.env["ALLUSERSPROFILE"] = profile_.str();
    options.timeoutSeconds = 2;
    const auto killed = test::run({"-type", "1", "-mode", "1", "-sys1", "2", "-sys2", "1", "-typcoor1", "3", "6", "-f1",
                                   "1", "in.txt", "-typcoor2", "3", "9", "-f2", "1", "out.txt"},
                                  options);
    stop = true;
    feeder.join();
    ::close(fd);
    ASSERT_EQ(killed.exitCode, -2) << "the run ended before it was interrupted: " << killed.out;
    EXPECT_EQ(readFile(file("out.txt")), "previous results\r\n");
    // What the killed run had written went to a temporary file, not to the arrival file.
    bool partial = false;
    for (const auto& entry : fs::directory_iterator(work_.path()))
        partial = partial || (entry.path().filename().string().ends_with(".tmp") && fs::file_size(entry.path()) > 0);
    EXPECT_TRUE(partial);
    fs::remove(pipe);

    // The next run completes, replaces the file, and clears what the killed run left.
    writeFile(file("in.txt"), "P1 814149.529 1887019.768 10\r\n");
    const auto r = zelvo("-type 1 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 in.txt -f2 1 out.txt");
    EXPECT_EQ(readFile(file("out.txt")), "                  P1     860690.522    6319037.047     10.000\r\n");
    for (const auto& entry : fs::directory_iterator(work_.path()))
        EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp")) << entry.path();
}

TEST_F(Batch, ASignalEndsTheRunWithoutDebris) {
    // As above, a pipe that delivers some points and then nothing; the run is then asked to end.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const std::string pipe = file("in.txt");
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        const int fd = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);
        ASSERT_GE(fd, 0);
        std::string lines;
        for (int i = 0; i < 2000; ++i) lines += "P" + std::to_string(i) + " 814149.529 1887019.768 10\r\n";
        ASSERT_EQ(::write(fd, lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
        writeFile(file("out.txt"), "previous results\r\n");
        test::RunOptions options;
        options.timeoutSeconds = 1.5;
        options.timeoutSignal = signal;
        const auto r = zelvo("-type 1 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 in.txt -f2 1 out.txt", {}, options);
        ::close(fd);
        fs::remove(pipe);
        EXPECT_EQ(r.exitCode, 128 + signal) << signal;
        EXPECT_EQ(readFile(file("out.txt")), "previous results\r\n") << signal;
        for (const auto& entry : fs::directory_iterator(work_.path()))
            EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp")) << signal << ": " << entry.path();
    }
}

TEST_F(Batch, GeoidHeightsAndPointsOutsideTheGeoidGrid) {
    // RGF93 geographic with ellipsoidal heights to altitudes NGF69: Paris inside the geoid grid,
    // a point east of Corsica inside RGF93 but outside the grid.
    writeFile(file("in.txt"), "Paris 2.35 48.85 100.0\r\nLarge 9.5 45.0 100.0\r\n");
    const auto r = zelvo("-v -type 1 -mode 1 -sys1 1 -sys2 1 -alt 1 1 -typcoor1 2 2 1 -f1 2 in.txt -typcoor2 2 2 1 "
                         "-f2 1 out.txt");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string out = readFile(file("out.txt"));
    EXPECT_NE(out.find("               Paris    2.35000000   48.85000000   55.433"), std::string::npos) << out;
    // Outside the grid no altitude can be computed: the line says so in its precision column.
    EXPECT_NE(out.find("               Large    9.50000000   45.00000000    0.000 \t\t aucune information \t\t "
                       "HORS GRILLE DE GEOIDE\r\n"),
              std::string::npos)
        << out;
    EXPECT_NE(r.out.find("2 transformation(s) réussie(s)"), std::string::npos) << r.out;
    // Point mode has no precision column: the altitude it cannot compute is not printed at all.
    const std::string point = "-type 1 -mode 0 -sys1 1 -sys2 1 -alt 1 1 -typcoor1 2 2 1 -typcoor2 2 2 1 -he 100 ";
    const auto outside = zelvo(point + "-lon 9.5 -lat 45");
    EXPECT_EQ(outside.out, kWelcome + kClosing);
    EXPECT_EQ(outside.err, "Les coordonnées que vous avez saisies sont hors de la grille de geoide\n");
    EXPECT_EQ(outside.exitCode, 2);
    const auto inside = zelvo(point + "-lon 2.35 -lat 48.85");
    EXPECT_EQ(inside.out, kWelcome + "2.35000000 48.85000000 100.000 55.433" + kClosing);
    EXPECT_EQ(inside.exitCode, 0);
}

TEST_F(Batch, GridModeInBothDirections) {
    // NTF Lambert II étendu to RGF93 by the grid, then back by the same grid: its parameters are
    // applied forward one way and inverted the other.
    writeFile(file("a.txt"), "Paris 601152.299 2428695.897 35.000\r\nLyon 794390.282 2087943.390 170.000\r\n");
    auto r = zelvo("-type 2 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 a.txt -f2 1 b.txt");
    ASSERT_EQ(r.out, kWelcome + kClosing);
    r = zelvo("-type 2 -mode 1 -sys1 1 -sys2 2 -typcoor1 3 9 -f1 1 b.txt -typcoor2 3 6 -f2 1 c.txt");
    ASSERT_EQ(r.out, kWelcome + kClosing);
    const auto values = [](const std::string& text) {
        std::vector<double> v;
        FieldScanner s(text);
        std::string name;
        double x = 0;
        while (s.readWord(name))
            for (int k = 0; k < 3 && s.readDouble(x); ++k) v.push_back(x);
        return v;
    };
    const auto a = values(readFile(file("a.txt")));
    const auto c = values(readFile(file("c.txt")));
    ASSERT_EQ(a.size(), c.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], c[i], 1e-3 * (1 + 1e-6)) << i;
    // The grid moves points differently from the three-parameter record.
    const auto standard = pointValues("-type 1 -mode 0 " + kNtfToL93.substr(8) + " -E 601152.299 -N 2428695.897");
    const auto grid = pointValues("-type 2 -mode 0 " + kNtfToL93.substr(8) + " -E 601152.299 -N 2428695.897");
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_GT(std::abs(standard[0] - grid[0]) + std::abs(standard[1] - grid[1]), 0.1);
}

TEST_F(Batch, GridModeReportsABadlyFormedLineAsSuch) {
    writeFile(file("a.txt"), "Paris 601152.299 2428695.897 35.000\r\nmal formee\r\nLyon abc 2087943.390 170.000\r\n");
    const auto r = zelvo("-v -type 2 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 a.txt -f2 1 b.txt");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string out = readFile(file("b.txt"));
    const std::string bad = "* ERREUR!!! Sur cette ligne du fichier d'entr\xe9" "e : mauvais format de point\r\n";
    EXPECT_NE(out.find(bad + bad), std::string::npos) << out;
    EXPECT_EQ(out.find("hors de la grille"), std::string::npos) << out;
    EXPECT_NE(r.out.find("1 transformation(s) réussie(s)"), std::string::npos) << r.out;
}

TEST_F(Batch, GridModeWithinOneSystemNeedsNoGrid) {
    const auto values = pointValues("-type 2 -mode 0 -sys1 1 -sys2 1 -typcoor1 2 2 1 -typcoor2 3 9 -lon 2.35 -lat 48.85");
    ASSERT_EQ(values.size(), 2u);
    EXPECT_NEAR(values[0], 652301.565, 1e-3);
    // Far from every grid there is no datum shift: point mode says so instead of printing values
    // without one, and file mode writes an error line.
    const auto far = zelvo("-type 2 -mode 0 " + kNtfToL93.substr(8) + " -E 0 -N 0");
    EXPECT_EQ(far.out, kWelcome + kClosing);
    EXPECT_EQ(far.err, "Les coordonnées que vous avez saisies sont hors de la grille de transformation\n");
    EXPECT_EQ(far.exitCode, 2);
    writeFile(file("in.txt"), "Loin 0 0 0\r\n");
    zelvo("-type 2 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 in.txt -f2 1 out.txt");
    EXPECT_EQ(readFile(file("out.txt")), "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : Les coordonn\xE9"
                                         "es que vous avez saisies sont hors de la grille de transformation\r\n");
}

TEST_F(Batch, PointFileLinesEndingInALoneCarriageReturn) {
    // An old Mac file: each line is transformed, as with CR LF ends.
    const std::string line = "                  P%d     860690.522    6319037.047     10.000\r\n";
    const std::string expected = fmt::sprintf(line, 1) + fmt::sprintf(line, 2) + fmt::sprintf(line, 3);
    for (const char* end : {"\r", "\r\n"}) {
        std::string departure;
        for (int i = 1; i <= 3; ++i) departure += "P" + std::to_string(i) + " 814149.529 1887019.768 10" + end;
        writeFile(file("in.txt"), departure);
        const auto r = zelvo("-type 1 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 in.txt -f2 1 out.txt");
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(readFile(file("out.txt")), expected) << testing::PrintToString(end);
    }
}

TEST_F(Batch, SurvivesABinaryDepartureFile) {
    std::string binary;
    for (int i = 0; i < 300000; ++i) binary.push_back(static_cast<char>((i * 2654435761u) >> 24));
    writeFile(file("bin.txt"), binary);
    const auto r = zelvo("-type 1 -mode 1 " + kNtfToL93.substr(8) + " -f1 1 bin.txt -f2 1 out.txt");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(readFile(file("bin.txt")), binary);
}

}  // namespace
}  // namespace zelvo
