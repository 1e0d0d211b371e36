// The XML side file: names, numbers, UNDEFINED, translation lists, text limits, and files that
// cannot be used.

#include <gtest/gtest.h>

#include "grid_fixtures.hpp"

namespace zelvo {
namespace {

using test::TempDir;

TEST(XmlHeader, ValuesAreReadAsTheirElementSays) {
    TempDir dir;
    const std::string xml = test::latin1Lines(
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
        "<GRID_HEADER>\n"
        "\t<GRID_TYPE>Grille texte VRD</GRID_TYPE>\n"
        "\t<ORIGIN>Géoïde de l'IGN</ORIGIN>\n"
        "\t<CREATED>2020</CREATED>\n"
        "\t<DESC>  Une   description </DESC>\n"
        "\t<LAYOUT>NE2S2W</LAYOUT>\n"
        "\t<N_NODES>6</N_NODES>\n"
        "\t<X_INC>0.5</X_INC>\n"
        "\t<X_MIN>-1.25</X_MIN>\n"
        "\t<NODE_COORD_TYPE>LON_LAT</NODE_COORD_TYPE>\n"
        "\t<INC_UNIT>SECONDS</INC_UNIT>\n"
        "\t<NODE_COORD_UNIT>RADIANS</NODE_COORD_UNIT>\n"
        "\t<NODE_COORD_WRITTEN>YES</NODE_COORD_WRITTEN>\n"
        "\t<EAST_TO_WEST>YES</EAST_TO_WEST>\n"
        "\t<VALUES_LOCATION>PIXEL_CENTER</VALUES_LOCATION>\n"
        "\t<SEP>NO</SEP>\n"
        "\t<VALUES_NUMBER>3</VALUES_NUMBER>\n"
        "\t<CODE_PREC>YES</CODE_PREC>\n"
        "\t<VALUES_TYPE>REAL4</VALUES_TYPE>\n"
        "\t<VALUE_UNK>-9999</VALUE_UNK>\n"
        "\t<VALUE_UNK_TO_ZERO>YES</VALUE_UNK_TO_ZERO>\n"
        "\t<TRANSLATION>1.5,0,-2</TRANSLATION>\n"
        "\t<VALUES_UNIT>SECONDS</VALUES_UNIT>\n"
        "\t<INTERPOLATION_TYPE>\n\t\tSPLINE\n\t</INTERPOLATION_TYPE>\n"
        "\t<INTERPOLATION_ORDER>6</INTERPOLATION_ORDER>\n"
        "\t<SYSTEM_F>NTF</SYSTEM_F>\n"
        "\t<MAJOR_F>6378249.2</MAJOR_F>\n"
        "\t<MINOR_F>UNDEFINED</MINOR_F>\n"
        "\t<CRS_CODE_T>IGNF:RGF93G</CRS_CODE_T>\n"
        "\t<SQ_EXC_T>0.00669438</SQ_EXC_T>\n"
        "\t<NODE_COORD_SYST>12</NODE_COORD_SYST>\n"
        "\t<SHIFT_TYPE>2</SHIFT_TYPE>\n"
        "\t<UNKNOWN_ELEMENT>ignored</UNKNOWN_ELEMENT>\n"
        "</GRID_HEADER>\n");
    test::writeFile(dir.file("a.xml"), xml);
    CGrille grid;
    grid.header.NAME = dir.file("a.mnt");
    grid.header.MINOR_F = 5;
    ASSERT_EQ(grid.readXmlHeader(), "");
    EXPECT_EQ(grid.header.GRID_TYPE, 1);
    EXPECT_EQ(grid.header.ORIGIN, "Géoïde de l'IGN");
    EXPECT_EQ(grid.header.CREATED, "2020");
    EXPECT_EQ(grid.header.VERSION, "UNDEFINED");
    EXPECT_EQ(grid.header.DESC, "Une description");
    EXPECT_EQ(grid.header.LAYOUT, 7);
    EXPECT_EQ(grid.header.N_NODES, 6);
    EXPECT_EQ(grid.header.X_INC, 0.5);
    EXPECT_EQ(grid.header.X_MIN, -1.25);
    EXPECT_EQ(grid.header.NODE_COORD_TYPE, 2);
    EXPECT_EQ(grid.header.INC_UNIT, kGridUnitSeconds);
    EXPECT_EQ(grid.header.NODE_COORD_UNIT, kGridUnitRadians);
    EXPECT_EQ(grid.header.NODE_COORD_WRITTEN, 1);
    EXPECT_EQ(grid.header.EAST_TO_WEST, 1);
    EXPECT_EQ(grid.header.VALUES_LOCATION, 1);
    EXPECT_EQ(grid.header.SEP, 0);
    EXPECT_EQ(grid.header.VALUES_NUMBER, 3);
    EXPECT_EQ(grid.header.CODE_PREC, 1);
    EXPECT_EQ(grid.header.VALUES_TYPE, kValuesReal4);
    EXPECT_EQ(grid.header.valueSize, 4);
    EXPECT_EQ(grid.header.VALUE_UNK, -9999);
    EXPECT_EQ(grid.header.VALUE_UNK_TO_ZERO, 1);
    EXPECT_EQ(grid.header.TRANSLATION, (std::vector<double>{1.5, 0, -2}));
    EXPECT_EQ(grid.header.VALUES_UNIT, kGridUnitSeconds);
    EXPECT_EQ(grid.header.INTERPOLATION_TYPE, kInterpolationSpline);
    EXPECT_EQ(grid.header.INTERPOLATION_ORDER, 6);
    EXPECT_EQ(grid.header.SYSTEM_F, "NTF");
    EXPECT_EQ(grid.header.MAJOR_F, 6378249.2);
    EXPECT_EQ(grid.header.MINOR_F, 0);
    EXPECT_EQ(grid.header.CRS_CODE_T, "IGNF:RGF93G");
    EXPECT_EQ(grid.header.SQ_EXC_T, 0.00669438);
    EXPECT_EQ(grid.header.NODE_COORD_SYST, 12);
    EXPECT_EQ(grid.header.SHIFT_TYPE, 2);
}

// One element at a time, on a grid holding the defaults plus a few known values.
TEST(XmlHeader, NamesNumbersAndUndefined) {
    const struct {
        std::string elements;
        std::string field;
        double expected;
    } cases[] = {
        {"<LAYOUT>sw2n2e</LAYOUT>", "LAYOUT", 2},  // names are case-sensitive
        {"<LAYOUT>SW2N2E</LAYOUT>", "LAYOUT", 1},
        {"<LAYOUT></LAYOUT>", "LAYOUT", 2},                               // no content: unchanged
        {"<LAYOUT>SW2N2E</LAYOUT><LAYOUT>SE2W2N</LAYOUT>", "LAYOUT", 1},  // the first one counts
        {"<X_INC>UNDEFINED</X_INC>", "X_INC", 0},
        {"<X_INC>abc</X_INC>", "X_INC", 0.25},             // not a number: unchanged
        {"<X_INC>0.125 degrees</X_INC>", "X_INC", 0.125},  // the number at the start
        {"<X_MIN>UNDEFINED</X_MIN>", "X_MIN", 7},          // no UNDEFINED for the limits
        {"<VALUES_NUMBER>UNDEFINED</VALUES_NUMBER>", "VALUES_NUMBER", 0},
        {"<VALUES_NUMBER>99999999999</VALUES_NUMBER>", "VALUES_NUMBER", 1},
        {"<INTERPOLATION_ORDER>UNDEFINED</INTERPOLATION_ORDER>", "INTERPOLATION_ORDER", 0},
        {"<INTERPOLATION_TYPE>bilinear</INTERPOLATION_TYPE>", "INTERPOLATION_TYPE", 0},
        {"<INTERPOLATION_TYPE>bidon</INTERPOLATION_TYPE>", "INTERPOLATION_TYPE", 3},
        {"<VALUES_LOCATION>NODE</VALUES_LOCATION>", "VALUES_LOCATION", 0},
        {"<VALUES_LOCATION>anything</VALUES_LOCATION>", "VALUES_LOCATION", 0},
        {"<SEP>yes</SEP>", "SEP", 1},  // unmatched: the default stays
        {"<GRID_TYPE>Grille DIS</GRID_TYPE>", "GRID_TYPE", 10},
        {"<VALUES_TYPE>INTEGER2</VALUES_TYPE>", "valueSize", 2},
        {"<VALUES_TYPE>UNDEFINED</VALUES_TYPE>", "valueSize", 8},  // the size stays for no type
        {"<!-- a comment --><LAYOUT>NW2E2S</LAYOUT>", "LAYOUT", 2},
        {"<LAYOUT><!-- c -->SW2N2E</LAYOUT>", "LAYOUT", 2},  // first child is no text
    };
    for (const auto& c : cases) {
        TempDir dir;
        test::writeFile(dir.file("g.xml"),
                        "<?xml version=\"1.0\"?><GRID_HEADER>" + c.elements + "</GRID_HEADER>");
        CGrille grid;
        grid.header.NAME = dir.file("g.mnt");
        grid.header.LAYOUT = 2;
        grid.header.X_INC = 0.25;
        grid.header.X_MIN = 7;
        grid.header.VALUES_NUMBER = 1;
        grid.header.VALUES_TYPE = kValuesReal8;
        grid.header.valueSize = 8;
        ASSERT_EQ(grid.readXmlHeader(), "") << c.elements;
        const std::map<std::string, double> fields = {
            {"LAYOUT", grid.header.LAYOUT},
            {"X_INC", grid.header.X_INC},
            {"X_MIN", grid.header.X_MIN},
            {"VALUES_NUMBER", grid.header.VALUES_NUMBER},
            {"INTERPOLATION_ORDER", grid.header.INTERPOLATION_ORDER},
            {"INTERPOLATION_TYPE", grid.header.INTERPOLATION_TYPE},
            {"VALUES_LOCATION", grid.header.VALUES_LOCATION},
            {"SEP", grid.header.SEP},
            {"GRID_TYPE", grid.header.GRID_TYPE},
            {"valueSize", grid.header.valueSize},
        };
        EXPECT_EQ(fields.at(c.field), c.expected) << c.elements;
    }
}

TEST(XmlHeader, TranslationList) {
    const struct {
        std::string elements;
        std::vector<double> expected;
    } cases[] = {
        {"<VALUES_NUMBER>3</VALUES_NUMBER><TRANSLATION>1.5,0,-2</TRANSLATION>", {1.5, 0, -2}},
        // The count of the same file counts, wherever it is written.
        {"<TRANSLATION>1.5,0,-2</TRANSLATION><VALUES_NUMBER>3</VALUES_NUMBER>", {1.5, 0, -2}},
        {"<TRANSLATION>1.5,0,-2</TRANSLATION>", {1.5}},
        {"<VALUES_NUMBER>3</VALUES_NUMBER><TRANSLATION>1.5</TRANSLATION>", {1.5, 0, 0}},
        {"<VALUES_NUMBER>3</VALUES_NUMBER><TRANSLATION>1,,3</TRANSLATION>", {1, 0, 3}},
        // The text is read from its first 599 characters.
        {"<VALUES_NUMBER>2</VALUES_NUMBER><TRANSLATION>1," + std::string(700, '0') + "5</TRANSLATION>",
         {1, 0}},
        {"<VALUES_NUMBER>2</VALUES_NUMBER><TRANSLATION>" + std::string(590, ' ') + "4,5,6,7</TRANSLATION>",
         {4, 5}},
        {"<VALUES_NUMBER>2000000000</VALUES_NUMBER><TRANSLATION>1,2</TRANSLATION>", {}},
        {"<VALUES_NUMBER>2</VALUES_NUMBER>", {9}},  // no translation element: the list is kept
    };
    for (const auto& c : cases) {
        TempDir dir;
        test::writeFile(dir.file("g.xml"), "<GRID_HEADER>" + c.elements + "</GRID_HEADER>");
        CGrille grid;
        grid.header.NAME = dir.file("g.mnt");
        grid.header.VALUES_NUMBER = 1;
        grid.header.TRANSLATION = {9};
        ASSERT_EQ(grid.readXmlHeader(), "") << c.elements.substr(0, 60);
        EXPECT_EQ(grid.header.TRANSLATION, c.expected) << c.elements.substr(0, 60);
    }
}

TEST(XmlHeader, TextFieldsHoldAtMost259Characters) {
    TempDir dir;
    const std::string longText = std::string(255, 'o') + "ééééé";
    test::writeFile(dir.file("g.xml"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?><GRID_HEADER><ORIGIN>" +
                                           longText + "</ORIGIN><SYSTEM_T>" + std::string(400, 's') +
                                           "</SYSTEM_T><DESC>" + std::string(400, 'd') +
                                           "</DESC></GRID_HEADER>");
    CGrille grid;
    grid.header.NAME = dir.file("g.mnt");
    ASSERT_EQ(grid.readXmlHeader(), "");
    EXPECT_EQ(grid.header.ORIGIN, std::string(255, 'o') + "éééé");
    EXPECT_EQ(grid.header.SYSTEM_T, std::string(259, 's'));
    EXPECT_EQ(grid.header.DESC, std::string(400, 'd')) << "the description has no limit of its own";
}

TEST(XmlHeader, FilesThatCannotBeUsed) {
    const struct {
        std::string name;
        std::string content;  // empty: no file
        std::string message;  // %s: the path
    } cases[] = {
        {"missing", "", "Fichier %s introuvable"},
        {"not xml", "GRID_HEADER, INTERPOLATION_TYPE=BILINEAR\n<<<",
         "Fichier %s non chargé.\nUne piste : l'élément CDATA n'est pas supporté."},
        {"unclosed", "<GRID_HEADER><LAYOUT>SW2N2E</LAYOUT>",
         "Fichier %s non chargé.\nUne piste : l'élément CDATA n'est pas supporté."},
        {"binary", std::string("\0\x01\x02GRID", 7),
         "Fichier %s non chargé.\nUne piste : l'élément CDATA n'est pas supporté."},
        {"other root", "<?xml version=\"1.0\"?><HEADER><LAYOUT>SW2N2E</LAYOUT></HEADER>",
         "Balise non trouvée : \n<GRID_HEADER>"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (!c.content.empty()) test::writeFile(dir.file("g.xml"), c.content);
        CGrille grid;
        grid.header.NAME = dir.file("g.mnt");
        grid.header.LAYOUT = 4;
        std::string expected = c.message;
        if (const auto at = expected.find("%s"); at != std::string::npos)
            expected.replace(at, 2, dir.file("g.xml"));
        EXPECT_EQ(grid.readXmlHeader(), expected) << c.name;
        EXPECT_EQ(grid.header.LAYOUT, 4) << c.name;
    }
    // An explicit path is used as given.
    TempDir dir;
    test::writeFile(dir.file("other.xml"), "<GRID_HEADER><LAYOUT>SE2W2N</LAYOUT></GRID_HEADER>");
    CGrille grid;
    grid.header.NAME = dir.file("g.mnt");
    EXPECT_EQ(grid.readXmlHeader(dir.file("other.xml")), "");
    EXPECT_EQ(grid.header.LAYOUT, 8);
}

// The side file's outcome as the open shows it.
TEST(XmlHeader, OpenWithAndWithoutAUsableSideFile) {
    const std::string interpolationFault = "+ Le type d'interpolation doit être bilinéaire ou spline\n";
    const struct {
        std::string name;
        std::string xml;       // empty: no side file
        std::string expected;  // %s: the grid's path
    } cases[] = {
        {"only the interpolation",
         "<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>", ""},
        {"no side file", "", "%s :\n" + interpolationFault},
        {"side file without the interpolation", "<GRID_HEADER><DESC>x</DESC></GRID_HEADER>",
         "%s :\n" + interpolationFault + "\n(cf fichier XML le cas échéant)"},
        {"other root", "<HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></HEADER>",
         "%s :\n" + interpolationFault},
        {"not xml", "<<<", "%s :\n" + interpolationFault},
        {"undefined increment",
         "<GRID_HEADER><X_INC>UNDEFINED</X_INC><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></"
         "GRID_HEADER>",
         "%s :\n+ Pas non valide\n+ Incohérence des limites, pas et nombre de lignes et de colonnes\n"
         "+ Ajustez mieux les limites et les pas de votre grille\n\n(cf fichier XML le cas échéant)"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = test::writeTextGrid(dir, "g", test::kSmallHeader, test::kSmallData, {});
        if (!c.xml.empty()) test::writeFile(dir.file("g.xml"), c.xml);
        std::string message;
        test::openGrid(path, message, 2);
        std::string expected = c.expected;
        if (const auto at = expected.find("%s"); at != std::string::npos) expected.replace(at, 2, path);
        EXPECT_EQ(message, expected) << c.name;
    }
}

}  // namespace
}  // namespace zelvo
