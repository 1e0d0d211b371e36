#include "files/point_file.hpp"

#include <gtest/gtest.h>

#include "files/data_formats.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

using test::TempDir;
using test::writeFile;

struct Read {
    std::string status;
    CCoor point;
};

// Every line of a file as a file run reads it: blocks of whole lines (of at least blockBytes
// bytes), cut into lines, each classified in the data format.
std::vector<Read> readAll(const std::string& bytes, int format, std::size_t blockBytes = 1 << 16) {
    TempDir dir;
    writeFile(dir.file("in.txt"), bytes);
    In_Fic in;
    EXPECT_TRUE(in.open(dir.file("in.txt")));
    std::vector<Read> reads;
    std::string block;
    while (in.readBlock(block, blockBytes))
        In_Fic::splitLines(block, [&](std::string_view line, bool tooLong) {
            Read r;
            r.status = std::string(lineStatusText(In_Fic::parseLine(line, tooLong, format, r.point)));
            reads.push_back(r);
        });
    return reads;
}

std::vector<std::string> statuses(const std::vector<Read>& reads) {
    std::vector<std::string> s;
    for (const auto& r : reads) s.push_back(r.status);
    return s;
}

TEST(In_Fic, ClassifiesLines) {
    struct Case {
        const char* what;
        std::string bytes;
        int format;
        std::vector<std::string> statuses;
    } cases[] = {
        {"last line with a line feed", "1 2 3\r\n", 7, {"OK"}},
        {"last line without one", "1 2 3", 7, {"OK"}},
        {"LF only", "1 2 3\n4 5 6\n", 7, {"OK", "OK"}},
        {"empty file", "", 7, {}},
        {"blank and comment lines", "   \t\r\n  * texte 1 2 3\r\n*\r\n", 7,
         {"ligne blanche", "commentaires", "commentaires"}},
        {"one value", "1.5\r\n", 7, {"mauvais format de point"}},
        {"a word for a value", "1 abc 3\r\n", 7, {"mauvais format de point"}},
        {"no format chosen", "1 2 3\r\n* c\r\n\r\n", 0, {"type de fichier inconnu", "commentaires", "ligne blanche"}},
        {"name only", "P1\r\n", 6, {"mauvais format de point"}},
        {"a 256-character line, then a good one", std::string(251, ' ') + "1 2 3\r\n4 5 6\r\n", 7,
         {"mauvais format de point", "OK"}},
        {"a 255-character line", std::string(250, ' ') + "1 2 3\r\n", 7, {"mauvais format de point"}},
        {"binary garbage", std::string("\x01\x02\xFF\xFE\x00\x10", 6), 7, {"mauvais format de point"}},
    };
    // A line of exactly 255 characters is still a line; 250 blanks and "1 2 3" make 255.
    cases[10].statuses = {"OK"};
    // Lines cut across blocks read the same as in one block.
    for (const auto& c : cases)
        for (const std::size_t blockBytes : {std::size_t{1} << 16, std::size_t{1}, std::size_t{7}})
            EXPECT_EQ(statuses(readAll(c.bytes, c.format, blockBytes)), c.statuses) << c.what << ", blocks of " << blockBytes;
}

TEST(In_Fic, StoresValuesByFormat) {
    struct Case {
        int format;
        std::string line;
        std::string name;
        double x, y, z, lon, lat, h, e, n, altitude;
    } cases[] = {
        {7, "1.5 2.5", "", 1.5, 2.5, 0, 0, 0, 0, 0, 0, 0},
        {6, "P1 10 20", "P1", 10, 20, 0, 0, 0, 0, 0, 0, 0},
        {6, "10 20 30", "10", 20, 30, 0, 0, 0, 0, 0, 0, 0},
        {6, "Pt 1 2 3 reste", "Pt", 1, 2, 3, 0, 0, 0, 0, 0, 0},
        {8, "A 2.5 48.5 100", "A", 0, 0, 0, 2.5, 48.5, 100, 0, 0, 100},
        {9, "A 48.5 2.5 100", "A", 0, 0, 0, 2.5, 48.5, 100, 0, 0, 100},
        {10, "A 2.5 48.5 100", "A", 0, 0, 0, 2.5, 48.5, 100, 0, 0, 0},
        {11, "A 48.5 2.5 100", "A", 0, 0, 0, 2.5, 48.5, 100, 0, 0, 0},
        {12, "2.5 48.5 100", "", 0, 0, 0, 2.5, 48.5, 100, 0, 0, 100},
        {13, "48.5 2.5 100", "", 0, 0, 0, 2.5, 48.5, 100, 0, 0, 100},
        {14, "2.5 48.5 100", "", 0, 0, 0, 2.5, 48.5, 100, 0, 0, 0},
        {15, "48.5 2.5 100", "", 0, 0, 0, 2.5, 48.5, 100, 0, 0, 0},
        {16, "B 600000 2400000 35", "B", 0, 0, 0, 0, 0, 35, 600000, 2400000, 35},
        {17, "B 600000 2400000 35", "B", 0, 0, 0, 0, 0, 35, 600000, 2400000, 0},
        {18, "600000 2400000 35", "", 0, 0, 0, 0, 0, 35, 600000, 2400000, 35},
        {19, "-1e3 2.5E2 -0.5", "", 0, 0, 0, 0, 0, -0.5, -1000, 250, 0},
        {16, "R\xE9union 1 2 3", "Réunion", 0, 0, 0, 0, 0, 3, 1, 2, 3},
        {16, std::string(100, 'N') + " 1 2 3", std::string(100, 'N'), 0, 0, 0, 0, 0, 3, 1, 2, 3},
    };
    for (const auto& c : cases) {
        const auto reads = readAll(c.line + "\r\n", c.format);
        ASSERT_EQ(reads.size(), 1u) << c.line;
        ASSERT_EQ(reads[0].status, "OK") << c.format << ": " << c.line;
        const CCoor& p = reads[0].point;
        EXPECT_EQ(p.name, c.name) << c.line;
        EXPECT_EQ(p.x, c.x) << c.line;
        EXPECT_EQ(p.y, c.y) << c.line;
        EXPECT_EQ(p.z, c.z) << c.line;
        EXPECT_EQ(p.lon, c.lon) << c.line;
        EXPECT_EQ(p.lat, c.lat) << c.line;
        EXPECT_EQ(p.h, c.h) << c.line;
        EXPECT_EQ(p.e, c.e) << c.line;
        EXPECT_EQ(p.n, c.n) << c.line;
        EXPECT_EQ(p.altitude, c.altitude) << c.line;
    }
}

TEST(DataFormats, NamesMenusAndVerticalModes) {
    EXPECT_EQ(dataFormatName(6), "Nom X Y Z");
    EXPECT_EQ(dataFormatName(9), "Nom Lat Lon Altitude");
    EXPECT_EQ(dataFormatName(19), "E N Hauteur");
    EXPECT_EQ(dataFormatName(5), "");
    EXPECT_EQ(dataFormatCode("Lat Lon Hauteur"), 15);
    EXPECT_EQ(dataFormatCode("lat lon hauteur"), 0);
    const int verticalModes[] = {1, 1, 2, 2, 1, 1, 2, 2, 1, 1, 2, 1, 2, 1};
    for (int code = 6; code <= 19; ++code) EXPECT_EQ(dataFormatVerticalMode(code), verticalModes[code - 6]) << code;
    EXPECT_EQ(dataFormatVerticalMode(0), 0);
    struct Menu {
        int type;
        std::vector<int> codes;
    } menus[] = {{1, {6, 7}}, {2, {8, 10, 12, 14, 9, 11, 13, 15}}, {3, {16, 17, 18, 19}}};
    for (const auto& m : menus) {
        EXPECT_EQ(dataFormatAtMenuPosition(m.type, 0), 0);
        for (std::size_t i = 0; i < m.codes.size(); ++i)
            EXPECT_EQ(dataFormatAtMenuPosition(m.type, static_cast<int>(i) + 1), m.codes[i]);
        EXPECT_EQ(dataFormatAtMenuPosition(m.type, static_cast<int>(m.codes.size()) + 1), 0) << "past the menu";
    }
    EXPECT_EQ(dataFormatAtMenuPosition(4, 1), 0);
}

class Out_FicTest : public ::testing::Test {
protected:
    void SetUp() override {
        ellipsoid.name = "Clarke 1880";
        greenwich.name = "Greenwich";
        paris.name = "Paris";
        ntf.name = "NTF";
        ntf.ellipsoid = &ellipsoid;
        ntf.meridian = &paris;
        rgf.name = "RGF93";
        rgf.ellipsoid = &ellipsoid;
        rgf.meridian = &greenwich;
        l93.name = "Lambert 93";
        ngf.name = "NGF69";
        departure.type = kCartesian;
        departure.sys.system = &ntf;
        arrival.type = kProjected;
        arrival.sys.system = &rgf;
        arrival.sys.projection = &l93;
        arrival.sys.vertical = &ngf;
    }
    std::string write(int format, bool annotated, bool withConversion, const std::vector<std::string>& statuses) {
        TempDir dir;
        Out_Fic out;
        EXPECT_TRUE(out.open(dir.file("out.txt")));
        out.dataFormat = format;
        out.annotated = annotated;
        out.clock = [] {
            std::tm t{};
            t.tm_wday = 1;
            t.tm_mday = 3;
            t.tm_mon = 1;
            t.tm_year = 114;
            t.tm_hour = 9;
            t.tm_min = 5;
            t.tm_sec = 7;
            return t;
        };
        for (const auto& s : statuses) out.writePoint(departure, arrival, 1, s, withConversion);
        out.writeEnd("Fin");
        out.writeEnd("autre");
        EXPECT_TRUE(out.close());
        return test::readFile(dir.file("out.txt"));
    }
    CElg ellipsoid;
    CLgo greenwich, paris;
    CReg ntf, rgf;
    CPrc l93;
    CRea ngf;
    CCoor departure, arrival;
};

TEST_F(Out_FicTest, WritesPlainLines) {
    arrival.name = "Pt1";
    arrival.e = 652301.5649;
    arrival.n = 6861302.7261;
    arrival.altitude = 35.0;
    arrival.h = 80.1234;
    EXPECT_EQ(write(16, false, true, {"OK", "mauvais format de point"}),
              "                 Pt1     652301.565    6861302.726     35.000\r\n"
              "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : mauvais format de point\r\n"
              "* Fin Lundi 3/2/2014 -- 9:05:07\r\n");
    EXPECT_EQ(write(19, false, false, {"OK"}), "     652301.565    6861302.726     80.123\r\n* Fin Lundi 3/2/2014 -- 9:05:07\r\n");
}

TEST_F(Out_FicTest, WritesTheAnnotatedHeader) {
    arrival.name = "Réunion";
    arrival.e = 1.0;
    arrival.n = -2.0;
    arrival.altitude = 3.0;
    arrival.convergence = -0.123456789;
    arrival.convergenceUnit = 2;
    arrival.alteration = -12.34;
    arrival.precisionCode = 5;
    arrival.geoidPrecisionCode = -999;
    const std::string text = write(16, true, true, {"OK"});
    const std::string expected =
        "*Lundi 3/2/2014 -- 9:05:07\r\n"
        "*R\xE9sultat de la transformation de type Standard entre :\r\n"
        "*SYSTEME :        NTF\r\n"
        "*COORDONN\xC9" "ES :   Cart\xE9siennes\r\n"
        "\r\n"
        "*SYSTEME :        RGF93\r\n"
        "*COORDONN\xC9" "ES :   Planes\r\n"
        "*ELLIPSO\xCF" "DE :     Clarke 1880\r\n"
        "*PROJECTION:    Lambert 93\r\n"
        "\r\n"
        "*SYSTEME ALTIMETRIQUE :       NGF69\r\n"
        "\r\n\r\n\r\n"
        "*          Nom              E              N             Alt     Conv(Degr\xE9s d\xE9" "cimaux)  Alt "
        "Lin(mm/km)\t\tpr\xE9" "c. plani\t\tpr\xE9" "c alti\r\n"
        "             R\xE9union          1.000         -2.000      3.000      -0.123457      -12.3 \t\t de 1 \xE0 2m "
        "\t\t HORS GRILLE DE GEOIDE\r\n"
        "* Fin Lundi 3/2/2014 -- 9:05:07\r\n";
    EXPECT_EQ(text, expected);
}

TEST_F(Out_FicTest, WritesAnglesInTheirUnitFormat) {
    arrival.type = kGeographic;
    arrival.lon = 2.35;
    arrival.lat = 48.85;
    arrival.h = 100;
    arrival.altitude = 56.2051;
    struct Case {
        int unit;
        int format;
        std::string line;
    } cases[] = {
        {2, 12, "    2.35000000   48.85000000   56.205"},
        {2, 15, "   48.85000000    2.35000000  100.000"},
        {1, 14, "  2.3500000000 48.8500000000  100.000"},
        {5, 14, "       2.35000      48.85000  100.000"},
        {6, 14, "      2.350000     48.850000  100.000"},
        {10, 14, "   2.350000000  48.850000000  100.000"},
        {7, 14, "    100.000"},
    };
    for (const auto& c : cases) {
        arrival.unit = c.unit;
        EXPECT_EQ(write(c.format, false, false, {"OK"}), c.line + "\r\n* Fin Lundi 3/2/2014 -- 9:05:07\r\n") << c.unit;
    }
}

TEST(DateStamp, FormatsLikeTheFiles) {
    std::tm t{};
    t.tm_wday = 0;
    t.tm_mday = 31;
    t.tm_mon = 11;
    t.tm_year = 126;
    t.tm_hour = 23;
    t.tm_min = 0;
    t.tm_sec = 59;
    EXPECT_EQ(dateStamp(t), "Dimanche 31/12/2026 -- 23:00:59");
}

}  // namespace
}  // namespace zelvo
