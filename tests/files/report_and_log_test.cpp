#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/log_file.hpp"
#include "files/point_file.hpp"
#include "files/report.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

using test::latin1Lines;
using test::TempDir;

const std::string kRule(80, '-');

// A small catalogue: NTF (Clarke 1880, Paris), RGF93 (GRS 1980, Greenwich) and a one-letter system,
// two Lambert projections and a vertical system; points are built on them.
class ReportAndLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        clarke.name = "Clarke 1880 IGN";
        clarke.semiMajorAxis = 6378249.2;
        clarke.eccentricitySquared = 0.006803487646;
        grs80.name = "IAG GRS 1980";
        grs80.semiMajorAxis = 6378137.0;
        grs80.eccentricitySquared = 0.00669438002290;
        greenwich.name = "Greenwich";
        paris.name = "Paris";
        ntf.name = "NTF";
        ntf.ellipsoid = &clarke;
        ntf.meridian = &paris;
        rgf93.name = "RGF93";
        rgf93.ellipsoid = &grs80;
        rgf93.meridian = &greenwich;
        w.name = "W";
        w.ellipsoid = &grs80;
        w.meridian = &greenwich;
        lambert2e.name = "Lambert II étendu";
        lambert93.name = "Lambert 93";
        floridaFeet.name = "Florida East (ftUS)";
        floridaFeet.kind = 9807;
        floridaFeet.linearUnit = 9003;
        ngf.name = "NGF-IGN69";
    }

    CCoor point(int type, const CReg& system, int unit = 2) const {
        CCoor p;
        p.type = type;
        p.unit = unit;
        p.sys.system = &system;
        p.sys.meridian = system.meridian;
        p.sys.vertical = &ngf;
        return p;
    }
    CCoor cartesian(const CReg& system, double x, double y, double z) const {
        CCoor p = point(kCartesian, system);
        p.x = x;
        p.y = y;
        p.z = z;
        p.verticalMode = kEllipsoidalHeight;
        return p;
    }
    CCoor geographic(const CReg& system, int unit, double lon, double lat) const {
        CCoor p = point(kGeographic, system, unit);
        p.lon = lon;
        p.lat = lat;
        return p;
    }
    CCoor projected(const CReg& system, const CPrc& projection, double e, double n) const {
        CCoor p = point(kProjected, system);
        p.sys.projection = &projection;
        p.e = e;
        p.n = n;
        return p;
    }
    static CCoor withVertical(CCoor p, int mode, double altitude, double h) {
        p.verticalMode = mode;
        p.altitude = altitude;
        p.h = h;
        return p;
    }
    static CCoor named(CCoor p, const std::string& name) {
        p.name = name;
        return p;
    }

    static std::tm fixedTime() {
        std::tm t{};
        t.tm_wday = 3;
        t.tm_mday = 5;
        t.tm_mon = 2;
        t.tm_year = 125;
        t.tm_hour = 7;
        t.tm_min = 8;
        t.tm_sec = 9;
        return t;
    }

    // The bytes of a report: one line per status for the two points, then the end text.
    static std::string report(const CCoor& departure, const CCoor& arrival, int inFormat, int outFormat, int type,
                              const std::vector<std::string>& statuses) {
        TempDir dir;
        Out_Fic file;
        EXPECT_TRUE(file.open(dir.file("rapport.txt")));
        file.clock = fixedTime;
        In_Fic in;
        in.path = "relevés/départ.txt";
        in.dataFormat = inFormat;
        Out_Fic out;
        out.path = "arrivée.txt";
        out.dataFormat = outFormat;
        for (const auto& status : statuses) writeReportLine(file, departure, arrival, in, out, type, status);
        writeReportEnd(file);
        EXPECT_TRUE(file.close());
        return test::readFile(dir.file("rapport.txt"));
    }

    struct Entry {
        CCoor departure, arrival;
        int type;
    };
    // The bytes of a log holding the entries, in order.
    static std::string log(const std::vector<Entry>& entries) {
        TempDir dir;
        Out_Fic file;
        EXPECT_TRUE(file.open(dir.file("log.txt")));
        file.clock = fixedTime;
        for (const auto& e : entries) writeLogEntry(file, e.departure, e.arrival, e.type);
        EXPECT_TRUE(file.close());
        return test::readFile(dir.file("log.txt"));
    }

    CElg clarke, grs80;
    CLgo greenwich, paris;
    CReg ntf, rgf93, w;
    CPrc lambert2e, lambert93, floridaFeet;
    CRea ngf;
};

// The header lines that every report shares, up to the departure file's description.
std::string reportTop(const std::string& typeName) {
    return "KPT / VRD / Information géodésique                Mercredi 5/3/2025 -- 7:08:09\n"
           "Zelvo\n"
           "Transformation de coordonnées géodésiques\n"
           "\n" +
           kRule + "\n Transformation de type " + typeName + "\n" + kRule +
           "\n"
           "COORDONNÉES INITIALES :  Fichier relevés/départ.txt\n";
}

const std::string kNtfLines = "Référentiel géodésique : NTF\n"
                              "Ellipsoïde             : Clarke 1880 IGN(a= 6378249.200, e2= 0.006803487646)\n";
const std::string kRgf93Lines = "Référentiel géodésique : RGF93\n"
                                "Ellipsoïde             : IAG GRS 1980(a= 6378137.000, e2= 0.006694380023)\n";
const std::string kArrivalFile = "\nCOORDONNÉES FINALES :  Fichier arrivée.txt\n";
const std::string kReportEnd = kRule + "\nFin Mercredi 5/3/2025 -- 7:08:09\n";

TEST_F(ReportAndLogTest, ReportsEveryLayout) {
    const CCoor cartesianFrom = named(cartesian(ntf, 4201575.123, 189162.456, 4779064.789), "P1");
    const CCoor cartesianTo = named(cartesian(rgf93, 4201407.0417, 189102.4996, 4779384.1234), "P1");
    const CCoor dms = named(withVertical(geographic(rgf93, 10, 2.20143567, 48.51298765), kAltitude, 35.5, 80.25),
                            "Borne 12");
    const CCoor grads =
        named(withVertical(geographic(ntf, 3, 0.00215678, 53.90341234), kEllipsoidalHeight, 0.0, 82.1234), "Borne 12");
    const CCoor lambertHeight =
        named(withVertical(projected(rgf93, lambert93, 652301.5649, 6861302.7261), kEllipsoidalHeight, 0.0, 80.25),
              "Repère 7");
    const CCoor degrees =
        named(withVertical(geographic(ntf, 2, -1.55338542, 48.84520833), kAltitude, 35.1234, 79.87), "Repère 7");
    const CCoor ntfLambert = withVertical(projected(ntf, lambert2e, 600123.45678, 2428765.4321), kAltitude, 35.5, 35.5);
    CCoor gridLambert = withVertical(projected(rgf93, lambert93, 652301.5649, 6861302.7261), kAltitude, 35.1234, 79.8);
    gridLambert.precisionCode = 4;
    gridLambert.geoidPrecisionCode = -999;

    const std::string rgf93Lambert93 = kRgf93Lines +
                                       "Projection             : Lambert 93\n"
                                       "Coordonnées planes E, N, ";
    struct Case {
        const char* what;
        CCoor departure, arrival;
        int inFormat, outFormat, type;
        std::string expected;
    } cases[] = {
        {"cartesian, name then X Y Z", cartesianFrom, cartesianTo, 6, 7, 1,
         reportTop("Standard") + kNtfLines + "Coordonnées cartésiennes en mètres\n" + kArrivalFile + kRgf93Lines +
             "Coordonnées cartésiennes en mètres\n" + kRule + "\n\n" +
             "                  P1  4201575.123   189162.456 4779064.789 |   4201407.042   189102.500 4779384.123\n" +
             kReportEnd},
        {"geographic, packed DMS to grads", dms, grads, 8, 15, 1,
         reportTop("Standard") + kRgf93Lines +
             "Méridien origine       : Greenwich\n"
             "Coordonnées géographiques en Degrés Minutes Secondes(lon, lat, altitude)\n" +
             kArrivalFile + kNtfLines +
             "Méridien origine       : Paris\n"
             "Coordonnées géographiques en Grades(lat, lon, hauteur)\n" +
             kRule + "\n\n" +
             "            Borne 12   2.201435670  48.512987650   35.500 |    53.90341234    0.00215678   82.123\n" +
             kReportEnd},
        {"Nom E N Hauteur to Lon Lat Altitude: single blanks, the name once", lambertHeight, degrees, 17, 12, 1,
         reportTop("Standard") + rgf93Lambert93 + "Hauteur en mètres\n" + kArrivalFile + kNtfLines +
             "Méridien origine       : Paris\n"
             "Coordonnées géographiques en Degrés décimaux(lon, lat, altitude)\n" +
             kRule + "\n\n" +
             "            Repère 7   652301.565  6861302.726   80.250 |    -1.55338542   48.84520833   35.123\n" +
             kReportEnd},
        {"E N Altitude to E N Altitude in grid mode: three blanks, vertical system, precisions", ntfLambert,
         gridLambert, 18, 18, 2,
         reportTop("Grille") + kNtfLines +
             "Projection             : Lambert II étendu\n"
             "Coordonnées planes E, N, Altitude en mètres\n" +
             kArrivalFile + rgf93Lambert93 + "Altitude en mètres\n" + kRule + "\nSystème altimétrique   : NGF-IGN69\n" +
             kRule + "\n\n" +
             "     600123.457    2428765.432     35.500 |      652301.565    6861302.726     35.123 \t\t de 20à 50cm "
             "\t\t HORS GRILLE DE GEOIDE\n" +
             kReportEnd},
    };
    for (const auto& c : cases)
        EXPECT_EQ(report(c.departure, c.arrival, c.inFormat, c.outFormat, c.type, {"OK"}), latin1Lines(c.expected))
            << c.what;
    // A projection in another unit than the metre names it in the layout line.
    const CCoor feet = withVertical(projected(w, floridaFeet, 818251.3984, 1151257.755), kAltitude, 10.0, 10.0);
    const std::string text = report(ntfLambert, feet, 18, 18, 1, {"OK"});
    EXPECT_NE(text.find(latin1Lines("Projection             : Florida East (ftUS)\n"
                                    "Coordonnées planes E, N en ftUS, Altitude en mètres\n")),
              std::string::npos)
        << text;
}

TEST_F(ReportAndLogTest, ReportStartsWithTheFullHeaderBeforeAnErrorLine) {
    const CCoor from = named(cartesian(ntf, 1.0, -2.0, 3.0), "A");
    const CCoor to = named(cartesian(rgf93, 4.0, 5.0, -6.0), "A");
    const std::string text = report(from, to, 6, 7, 1,
                                    {"mauvais format de point", "OK",
                                     "Les coordonnées ne se trouvent pas dans l'emprise du référentiel de départ !!!"});
    const std::string expected =
        reportTop("Standard") + kNtfLines + "Coordonnées cartésiennes en mètres\n" + kArrivalFile + kRgf93Lines +
        "Coordonnées cartésiennes en mètres\n" + kRule + "\n\n" +
        "ERREUR à la ligne  du fichier initial : mauvais format de point\n"
        "                   A        1.000       -2.000    3.000 |         4.000        5.000   -6.000\n"
        "ERREUR à la ligne  du fichier initial : Les coordonnées ne se trouvent pas dans l'emprise du "
        "référentiel de départ !!!\n" +
        kReportEnd;
    EXPECT_EQ(text, latin1Lines(expected));
    // On disk: one byte per character, CR LF line ends.
    EXPECT_EQ(text.substr(0, 36), "KPT / VRD / Information g\xE9od\xE9sique  ");
    EXPECT_NE(text.find("\r\nCOORDONN\xC9" "ES INITIALES :  Fichier relev\xE9s/d\xE9part.txt\r\n"), std::string::npos);
}

// A point whose stream has a format of another type gets no value order, but its description line
// still ends before the next line of the header.
TEST_F(ReportAndLogTest, ReportFormatOfAnotherTypeLeavesTheValueOrderOut) {
    const CCoor from = geographic(rgf93, 2, 2.5, 48.5);
    const CCoor to = projected(ntf, lambert2e, 600000.0, 2400000.0);
    const std::string expected = reportTop("Standard") + kRgf93Lines +
                                 "Méridien origine       : Greenwich\n"
                                 "Coordonnées géographiques en Degrés décimaux\n" +
                                 kArrivalFile + kNtfLines +
                                 "Projection             : Lambert II étendu\n"
                                 "Coordonnées planes E, N, \n" +
                                 kRule + "\n\n" + "ERREUR à la ligne  du fichier initial : ligne blanche\n" + kReportEnd;
    EXPECT_EQ(report(from, to, 7, 12, 1, {"ligne blanche"}), latin1Lines(expected));
}

const std::string kLogTop = "Mercredi 5/3/2025 -- 7:08:09\n";
const std::string kLogEnd = "\n" + kRule + "\n";

TEST_F(ReportAndLogTest, LogsEveryLayout) {
    const CCoor cartesianFrom = named(cartesian(ntf, 4201575.123, -189162.456, 4779064.789), "P1");
    const CCoor cartesianTo = cartesian(w, 4201407.0417, -189102.4996, 4779384.1234);
    const CCoor dms =
        named(withVertical(geographic(rgf93, 10, 2.20143567, 48.51298765), kEllipsoidalHeight, 0.0, 80.25), "Borne 12");
    CCoor lambert = withVertical(projected(ntf, lambert2e, 600123.45678, 2428765.4321), kAltitude, 35.1234, 79.9);
    lambert.convergence = -1.23456789;
    lambert.convergenceUnit = 2;
    lambert.alteration = -12.34;
    const CCoor lambert93Point =
        named(withVertical(projected(rgf93, lambert93, 652301.5649, 6861302.7261), kNoVertical, 1.0, 2.0), "Repère 7");
    const CCoor grads = withVertical(geographic(ntf, 3, 0.00215678, 53.90341234), kAltitude, 35.1234, 79.8765);
    const std::string cartesianEntry = kLogTop +
                                       "POINT : P1\tTransformation : Standard\n"
                                       "SYSTEME DE DEPART : NTF Cartésiennes\n"
                                       "x= 4201575.1230 y= -189162.4560 z= 4779064.7890\n"
                                       "SYSTEME DE D'ARRIVEE :  W Cartésiennes\n"
                                       "x= 4201407.0417 y= -189102.4996 z= 4779384.1234\n" +
                                       kLogEnd;

    struct Case {
        const char* what;
        std::vector<Entry> entries;
        std::string expected;
    } cases[] = {
        {"cartesian to cartesian, a one-letter system in two characters",
         {{cartesianFrom, cartesianTo, 1}},
         cartesianEntry},
        {"packed DMS to projected, with convergence and alteration",
         {{dms, lambert, 1}},
         kLogTop +
             "POINT : Borne 12\tTransformation : Standard\n"
             "SYSTEME DE DEPART : RGF93 Géographiques Degrés Minutes Secondes\n"
             "Ellipsoïde  : IAG GRS 1980\n"
             "Méridien  : Greenwich\n"
             "lon= 2.2014356700 lat= 48.5129876500 h = 80.2500\n"
             "SYSTEME DE D'ARRIVEE : NTF Planes\n"
             "Ellipsoïde  : Clarke 1880 IGN\n"
             "Projection  : Lambert II étendu\n"
             "E= 600123.4568 N= 2428765.4321 alt = 35.1234\n"
             "Convergence : -1.234568 (Degrés décimaux) Altération linéaire : -12.3 mm/km\n" +
             kLogEnd},
        {"projected without vertical to geographic in grid mode, two entries in a row",
         {{lambert93Point, grads, 2}, {cartesianFrom, cartesianTo, 1}},
         kLogTop +
             "POINT : Repère 7\tTransformation : Grille\n"
             "SYSTEME DE DEPART : RGF93 Planes\n"
             "Ellipsoïde  : IAG GRS 1980\n"
             "Projection  : Lambert 93\n"
             "E= 652301.5649 N= 6861302.7261 aucune info sur la composante verticale \n"
             "SYSTEME D'ARRIVEE : NTF Géographiques Grades\n"
             "Ellipsoïde  : Clarke 1880 IGN\n"
             "Méridien  : Paris\n"
             "lon= 0.0021567800 lat= 53.9034123400 alt = 35.1234 h = 79.8765\n" +
             kLogEnd + cartesianEntry},
    };
    for (const auto& c : cases) EXPECT_EQ(log(c.entries), latin1Lines(c.expected)) << c.what;
    const CCoor feet = named(withVertical(projected(w, floridaFeet, 818251.3984, 1151257.755), kNoVertical, 0, 0), "M");
    const std::string text = log({{feet, grads, 1}});
    EXPECT_NE(text.find("E(ftUS)= 818251.3984 N(ftUS)= 1151257.7550"), std::string::npos) << text;
}

TEST_F(ReportAndLogTest, LogsTheVerticalPartByModeAndTransformationType) {
    struct Case {
        int departureMode, arrivalMode, type;
        const char* departureValues;
        const char* arrivalValues;
    } cases[] = {
        {kAltitude, kAltitude, 1, " alt = 35.5000", " alt = 36.1234"},
        {kEllipsoidalHeight, kEllipsoidalHeight, 1, " h = 80.2500", " h = 81.8765"},
        {kNoVertical, kNoVertical, 1, " aucune info sur la composante verticale ",
         " aucune info sur la composante verticale "},
        {kAltitude, kAltitude, 2, " alt = 35.5000", " alt = 36.1234 h = 81.8765"},
        {kEllipsoidalHeight, kEllipsoidalHeight, 2, " h = 80.2500", " alt = 36.1234 h = 81.8765"},
        {kAltitude, kNoVertical, 2, " alt = 35.5000", " aucune info sur la composante verticale "},
    };
    for (const auto& c : cases) {
        const CCoor from = named(withVertical(geographic(rgf93, 2, 2.35, 48.85), c.departureMode, 35.5, 80.25), "Q");
        const CCoor to = withVertical(geographic(rgf93, 1, 0.041, 0.8526), c.arrivalMode, 36.1234, 81.8765);
        const std::string expected = kLogTop + "POINT : Q\tTransformation : " + (c.type == 1 ? "Standard" : "Grille") +
                                     "\n"
                                     "SYSTEME DE DEPART : RGF93 Géographiques Degrés décimaux\n"
                                     "Ellipsoïde  : IAG GRS 1980\n"
                                     "Méridien  : Greenwich\n"
                                     "lon= 2.3500000000 lat= 48.8500000000" +
                                     c.departureValues +
                                     "\n"
                                     "SYSTEME D'ARRIVEE : RGF93 Géographiques Radians\n"
                                     "Ellipsoïde  : IAG GRS 1980\n"
                                     "Méridien  : Greenwich\n"
                                     "lon= 0.0410000000 lat= 0.8526000000" +
                                     c.arrivalValues + "\n" + kLogEnd;
        EXPECT_EQ(log({{from, to, c.type}}), latin1Lines(expected))
            << c.departureMode << " " << c.arrivalMode << " " << c.type;
    }
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

TEST(LogFile, EntriesFollowWhatAnotherRunLeftOfTheFile) {
    // Another run in the same folder empties log.txt: the next entry starts the file again,
    // with no hole of NUL bytes before it.
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    test::writeFile(path, "an older run\r\n");
    Out_Fic log;
    ASSERT_TRUE(log.openForAppending(path));
    EXPECT_EQ(test::readFile(path), "") << "each start begins a new log";
    log.writeText("first entry\n");
    ASSERT_TRUE(log.flush());
    test::writeFile(path, "");
    log.writeText("second\n");
    ASSERT_TRUE(log.flush());
    EXPECT_EQ(test::readFile(path), "second\r\n");
}

}  // namespace
}  // namespace zelvo
