#include "files/command_line.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "catalogue/loader.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out{"zelvo"};
    std::string w;
    for (char c : line + " ") {
        if (c == ' ') {
            if (!w.empty()) out.push_back(w);
            w.clear();
        } else {
            w += c;
        }
    }
    return out;
}

struct Parsed {
    bool ok;
    CZelvoCommandLine r;
    std::string error;  // the error messages shown, one after the other
};

Parsed parse(const std::string& line) {
    Parsed p;
    test::RecordingUserInterface ui;
    p.ok = parseCommandLine(words(line), p.r, "AIDE", ui);
    EXPECT_EQ(ui.console, "") << "nothing but errors is shown while parsing";
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.icon, MessageIcon::Error);
        p.error += m.text;
    }
    return p;
}

TEST(CommandLineParser, FillsTheRecordSlots) {
    auto p = parse("-lon -1.5 -lat 45.3 -E 1e3 -N -0");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.r.lon, -1.5);
    EXPECT_EQ(p.r.lat, 45.3);
    EXPECT_EQ(p.r.E, 1000.0);
    EXPECT_EQ(p.r.N, 0.0);

    p = parse("-alt 1 -3");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "3 : Le flag n'existe pas !");

    p = parse("-type 1 -type 2 -mode 02 -sys1 x7 -sys2 -5");
    EXPECT_FALSE(p.ok) << "-5 is an option for sys2";
    EXPECT_EQ(p.r.type, 2);
    EXPECT_EQ(p.r.mode, 2);
    EXPECT_EQ(p.r.sys1, 0);

    p = parse("-typcoor1 2 2 1 -typcoor1 3 5 -typcoor2 3 9 4");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.r.typcoor1, 2);
    EXPECT_EQ(p.r.unit1, 2);
    EXPECT_EQ(p.r.meridian1, 1);
    EXPECT_EQ(p.r.projection1, 0);
    EXPECT_EQ(p.r.typcoor2, 3);
    EXPECT_EQ(p.r.projection2, 9);

    p = parse("-alt 0 5 7");
    EXPECT_EQ(p.r.verticalKind, 5) << "a zero never fills a slot";
    EXPECT_EQ(p.r.verticalSystem, 7);

    p = parse("-f1 2 pts.txt -typcoor1 3 6");
    EXPECT_EQ(p.r.format1, 0) << "-f1 before -typcoor1 spends its values";
    EXPECT_EQ(p.r.file1, "");

    p = parse("-typcoor1 2 2 1 -f1 5 a.txt -f1 3 b.txt -typcoor2 1 -f2 9 c.txt");
    EXPECT_EQ(p.r.format1, 9);
    EXPECT_EQ(p.r.file1, "b.txt") << "a later path replaces an earlier one";
    EXPECT_EQ(p.r.format2, 0) << "a position past the menu picks no format";

    p = parse("-v -x 1 -y -2 -z 3 -he 4 -H 5 -init f.ini");
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.r.verbose);
    EXPECT_EQ(p.r.y, -2.0);
    EXPECT_EQ(p.r.H, 5.0);
    EXPECT_EQ(p.r.initFile, "f.ini");
    EXPECT_EQ(p.r.currentOption, 1);

    p = parse("/?");
    EXPECT_EQ(p.r.currentOption, 0);
    EXPECT_EQ(p.r.helpText, "AIDE");
    p = parse("-?");
    EXPECT_EQ(p.r.helpText, "AIDE");
    p = parse("-Type 1");
    EXPECT_FALSE(p.ok) << "options are case-sensitive";
    EXPECT_EQ(p.error, "Type : Le flag n'existe pas !");
}

TEST(CommandLineParser, RefusesPointValuesThatAreNoFiniteNumber) {
    const std::string huge(120000, '1');
    const struct {
        std::string line;
        std::string error;  // empty: accepted
    } cases[] = {
        {"-E nan -N nan", "E : La valeur n'est pas un nombre fini !"},
        {"-lon -inf", "lon : La valeur n'est pas un nombre fini !"},
        {"-x infinity", "x : La valeur n'est pas un nombre fini !"},
        {"-E 1e999", "E : La valeur n'est pas un nombre fini !"},
        {"-N -1e400", "N : La valeur n'est pas un nombre fini !"},
        {"-H " + huge, "H : La valeur n'est pas un nombre fini !"},
        {"-he 12abc", "he : La valeur n'est pas un nombre fini !"},
        {"-z abc", "z : La valeur n'est pas un nombre fini !"},
        {"-lat 1e-400", ""},  // a value below the smallest double is 0, as in a point file
        {"-E 814149.529 -N 1.887019768e6", ""},
    };
    for (const auto& c : cases) {
        const Parsed p = parse(c.line);
        EXPECT_EQ(p.ok, c.error.empty()) << c.line.substr(0, 40);
        EXPECT_EQ(p.error, c.error) << c.line.substr(0, 40);
    }
}

TEST(CommandLineParser, FindsHelpAndVersionRequestsOnlyWhereAnOptionStands) {
    const struct {
        const char* line;
        InformationRequest expected;
    } cases[] = {
        {"--help", InformationRequest::Help},
        {"--version", InformationRequest::Version},
        {"-v -type 1 --version --help", InformationRequest::Version},
        {"-typcoor1 2 2 1 --help", InformationRequest::Help},
        {"-lon --help", InformationRequest::None},     // the value of -lon, read as 0
        {"-E -1 --version", InformationRequest::Version},
        {"-bogus --help", InformationRequest::None},   // the parser stops at -bogus
        {"-help", InformationRequest::None},           // one dash: an unknown option, as before
        {"-? /help", InformationRequest::None},
        {"", InformationRequest::None},
    };
    for (const auto& c : cases) EXPECT_EQ(informationRequest(words(c.line)), c.expected) << c.line;
}

TEST(CommandLineParser, KnowsEveryOptionTheHelpLists) {
    const std::string help = helpWithOptions("AIDE");
    ASSERT_TRUE(help.starts_with("AIDE\n\n")) << help;
    std::istringstream lines(help.substr(6));
    int options = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string option;
        fields >> option;
        ASSERT_TRUE(option.starts_with("-")) << line;
        ++options;
        if (option.starts_with("--")) continue;
        const auto p = parse(option);
        EXPECT_TRUE(p.ok) << option << ": " << p.error;
    }
    EXPECT_GT(options, 0);
}

TEST(CommandLineParser, DerivesTheVerticalKind) {
    struct Case {
        const char* line;
        int kind;
    } cases[] = {
        {"-mode 1 -typcoor1 3 9 -f1 1 a", 2},  {"-mode 1 -typcoor1 3 9 -f1 2 a", 1},
        {"-mode 1 -typcoor1 1 -f1 1 a", 1},    {"-mode 1 -alt 2", 2},
        {"-mode 0 -alt 2 -x 1", 1},            {"-mode 0 -alt 2 -E 1", 2},
        {"-mode 0", 0},
    };
    for (const auto& c : cases) {
        auto p = parse(c.line);
        deriveVerticalKind(p.r);
        EXPECT_EQ(p.r.verticalKind, c.kind) << c.line;
    }
}

TEST(CommandLineValidation, ChecksInOrder) {
    const std::string ref = test::referenceDir();
    Catalogue catalogue;
    ASSERT_EQ(loadCatalogue(ref + "/catalogue.dat", catalogue).status, CatalogueLoadStatus::Loaded);
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {"-mode 2 -type 7", "Le type de transformation géométrique choisi n'existe pas !\n"},
        {"-mode 0 -type 3", "Le type de transformation géométrique choisi n'existe pas !\n"},
        {"-type 1 -sys1 9 -sys2 99", "Le référentiel géodésique de départ choisi n'existe pas !\n"},
        {"-type 1 -sys1 1 -sys2 99", "Le référentiel géodésique d'arrivée choisi n'existe pas !\n"},
        {"-type 1 -sys1 1 -sys2 1 -alt 2 9", "Le référentiel altimétrique choisi n'existe pas !\n"},
        {"-type 1 -sys1 5 -sys2 1",
         "La transformation entre les deux referentiels n'existe pas en mode transformation Standard\" !\n"},
        {"-type 2 -sys1 3 -sys2 1",
         "La transformation entre les deux referentiels n'existe pas en mode transformation Grille\" !\n"},
        {"-type 1 -sys1 1 -sys2 1", "Le type de coordonnées de départ selectionné n'existe pas !\n"},
        {"-type 1 -sys1 1 -sys2 1 -typcoor1 2", "Le type de coordonnées d'arrivée selectionné n'existe pas !\n"},
        {"-type 1 -sys1 2 -sys2 1 -typcoor1 1 -typcoor2 1",
         "Il est interdit de saisir des coordonnées cartésiennes avec le référentiel de départ(\"NTF\")!\n"},
        {"-type 1 -sys1 1 -sys2 2 -typcoor1 1 -typcoor2 1",
         "Il est interdit de saisir des coordonnées cartésiennes avec le référentiel d'arrivée(\"NTF\")!\n"},
        {"-type 1 -sys1 1 -sys2 1 -typcoor1 2 -typcoor2 1", "L'unité choisie au départ n'est pas valide  !\n"},
        {"-type 1 -sys1 1 -sys2 1 -typcoor1 2 7 -typcoor2 1", "L'unité choisie au départ n'est pas valide  !\n"},
        {"-type 1 -sys1 1 -sys2 1 -typcoor1 1 -typcoor2 2 13", "L'unité choisie à l'arrivée n'est pas valide  !\n"},
        {"-type 1 -sys1 1 -sys2 1 -typcoor1 2 2 3 -typcoor2 1",
         "RGF93 : Le méridien origine choisi n'est pas valide !\n"},
        {"-type 1 -sys1 2 -sys2 1 -typcoor1 3 99 -typcoor2 1",
         "NTF : La projection choisie pour n'est pas valide !\n"},
        {"-type 1 -sys1 2 -sys2 1 -typcoor1 3 6 -typcoor2 3",
         "RGF93 : La projection choisie pour n'est pas valide !\n"},
        {"-type 1 -sys1 2 -sys2 1 -typcoor1 1 -typcoor2 1",
         "Il est interdit de saisir des coordonnées cartésiennes avec le référentiel de départ(\"NTF\")!\n"},
        {"-type 1 -sys1 3 -sys2 4 -typcoor1 3 21 -typcoor2 1 -f2 1 b -mode 1",
         "ED50 : Le type de données choisi n'est pas valide !\n"},
        {"-type 1 -sys1 4 -sys2 1 -typcoor1 1 -f1 1 a -typcoor2 1 -mode 1",
         "RGF93 : Le type de données choisi n'est pas valide !\n"},
        {"-type 1 -sys1 2 -sys2 1 -typcoor1 2 3 2 -f1 2 a -typcoor2 1 -f2 1 b -mode 1",
         "NTF : Il est interdit de rentrer des hauteurs sur l'ellipsoïde avec le référentiel !\n"},
        {"-type 1 -sys1 2 -sys2 1 -typcoor1 2 3 2 -typcoor2 1 -x 1",
         "NTF : Il est interdit de rentrer des hauteurs sur l'ellipsoïde avec le référentiel !\n"},
        {"-type 1 -sys1 1 -sys2 2 -typcoor1 1 -typcoor2 3 6 -f2 2 b", "NTF : Il est interdit de rentrer des hauteurs "
                                                                      "sur l'ellipsoïde avec le référentiel !\n"},
        {"-type 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 a -typcoor2 3 9 -f2 1 -mode 1",
         "Le nom du fichier d'arrivée n'est pas saisi !\n"},
        {"-type 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 -typcoor2 3 9 -f2 1 b -mode 1",
         "Le nom du fichier de départ n'est pas saisi !\n"},
        {"-type 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 a -typcoor2 3 9 -f2 1 b -mode 1", "Ligne de commande validee.\n"},
        {"-type 1 -sys1 2 -sys2 1 -typcoor1 3 6 -typcoor2 3 9 -E 1 -N 2", "Ligne de commande validee.\n"},
        {"-type 1 -sys1 1 -sys2 1 -f1 1 a -typcoor1 3 9 -typcoor2 3 9", "Ligne de commande validee.\n"},
        {"-type 2 -sys1 1 -sys2 2 -typcoor1 2 2 1 -typcoor2 3 6", "Ligne de commande validee.\n"},
    };
    for (const auto& c : cases) {
        auto p = parse(c.line);
        ASSERT_TRUE(p.ok) << c.line;
        deriveVerticalKind(p.r);
        std::string message;
        const bool valid = validateCommandLine(p.r, catalogue, message);
        EXPECT_EQ(message, c.message) << c.line;
        EXPECT_EQ(valid, std::string(c.message) == "Ligne de commande validee.\n") << c.line;
    }
}

}  // namespace
}  // namespace zelvo
