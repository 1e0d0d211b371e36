// EPSG registry codes on the command line, against PROJ on the same registry objects: projinfo
// gives the definitions, proj and cct compute.

#include <fmt/printf.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "batch_fixture.hpp"
#include "platform/number_text.hpp"

namespace zelvo {
namespace {

test::RunOptions tool(const std::string& program) {
    test::RunOptions options;
    options.program = program;
    return options;
}

bool toolRuns(const std::string& program) { return test::run({"--version"}, tool(program)).exitCode >= 0; }

class Registry : public Batch {
protected:
    void SetUp() override {
        Batch::SetUp();
        for (const char* program : {"/usr/bin/projinfo", "/usr/bin/cct", "/usr/bin/proj"})
            if (!toolRuns(program)) ZELVO_MISSING_PREREQUISITE("PROJ's tools are not installed (Debian package proj-bin)");
        if (!std::ifstream("/usr/share/proj/proj.db"))
            ZELVO_MISSING_PREREQUISITE("PROJ's database is not installed (Debian package proj-data)");
    }

    // The single-line PROJ string projinfo gives for a CRS or (with -k operation) an operation.
    std::string definition(const std::string& code, bool operation = false) {
        std::vector<std::string> args = {"-o", "PROJ", "-q", "--single-line"};
        if (operation) args.insert(args.end(), {"-k", "operation"});
        args.push_back(code);
        const auto r = test::run(args, tool("/usr/bin/projinfo"));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::string out = r.out;
        while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
        if (const auto crs = out.find(" +type=crs"); crs != std::string::npos) out.erase(crs, 10);
        return out;
    }

    // The numbers a PROJ tool prints for one input line.
    std::vector<double> proj(const std::string& program, const std::string& input, const std::string& definition,
                             bool inverse = false) {
        const std::string in = file("proj_input.txt");
        std::ofstream(in) << input << "\n";
        std::vector<std::string> args = program == "/usr/bin/cct" ? std::vector<std::string>{"-d", "9"}
                                                               : std::vector<std::string>{"-f", "%.6f"};
        if (inverse) args.push_back("-I");
        for (const std::string& word : test::words(definition)) args.push_back(word);
        args.push_back(in);
        const auto r = test::run(args, tool(program));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::vector<double> values;
        FieldScanner scanner(r.out);
        double v = 0;
        while (scanner.readDouble(v)) values.push_back(v);
        return values;
    }
};

// A point-mode run between two registry systems, geographic in degrees from Greenwich both ways.
std::string geographicRun(int from, int to, double lon, double lat) {
    return fmt::sprintf("-type 1 -mode 0 -sys1 EPSG:%d -sys2 EPSG:%d -typcoor1 2 2 EPSG:8901 -typcoor2 2 2 EPSG:8901 "
                        "-lon %.10g -lat %.10g -he 0",
                        from, to, lon, lat);
}

// Zelvo's longitude and latitude against cct's latitude and longitude, within 1e-8 degree (about a
// millimetre).
void expectSamePosition(const std::vector<double>& lonLat, const std::vector<double>& latLon) {
    ASSERT_GE(lonLat.size(), 2u);
    ASSERT_GE(latLon.size(), 2u);
    EXPECT_NEAR(lonLat[0], latLon[1], 1e-8);
    EXPECT_NEAR(lonLat[1], latLon[0], 1e-8);
}

TEST_F(Registry, ProjectedSystemsOfEverySupportedMethodAgreeWithProj) {
    struct Case {
        int projected, base;  // EPSG codes
        double lon, lat;
    } cases[] = {
        {2154, 4171, 2.5, 46.8},      // Lambert conic (2SP)
        {27700, 4277, -1.5, 52.5},    // transverse Mercator, OSGB 1936
        {32631, 4326, 3.5, 45.0},     // UTM
        {2272, 4269, -76.5, 40.2},    // Lambert conic (2SP) in US survey feet
        {3035, 4258, 10.1, 52.2},     // Lambert azimuthal equal-area
        {28992, 4289, 5.3, 52.1},     // oblique stereographic
        {3031, 4326, 30.0, -75.0},    // polar stereographic (B)
        {3395, 4326, -60.0, -20.0},   // Mercator (A)
        {3577, 4283, 135.0, -25.0},   // Albers equal-area
        {5514, 4156, 15.0, 49.5},     // Krovak, north orientated
        {2193, 4167, 174.8, -41.3},   // transverse Mercator, NZGD2000
        {3067, 4258, 25.0, 62.0},     // ETRS-TM35FIN
    };
    // (Swiss LV95, EPSG:2056, is left out: PROJ computes it with its own Swiss oblique Mercator,
    // which differs from the EPSG method by centimetres.)
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "EPSG:" << c.projected);
        const std::string base = "EPSG:" + std::to_string(c.base);
        const std::vector<double> mine = pointValues(fmt::sprintf(
            "-type 1 -mode 0 -sys1 %s -sys2 %s -typcoor1 2 2 EPSG:8901 -typcoor2 3 EPSG:%d -lon %.10g -lat %.10g -he 0",
            base, base, c.projected, c.lon, c.lat));
        const std::vector<double> expected =
            proj("/usr/bin/proj", fmt::sprintf("%.10g %.10g", c.lon, c.lat), definition("EPSG:" + std::to_string(c.projected)));
        ASSERT_GE(mine.size(), 2u);
        ASSERT_GE(expected.size(), 2u);
        EXPECT_NEAR(mine[0], expected[0], 0.001);
        EXPECT_NEAR(mine[1], expected[1], 0.001);
    }
}

TEST_F(Registry, HelmertTransformationsOfEachConventionAgreeWithCct) {
    struct Case {
        const char* what;
        int from, to;    // geodetic CRS
        int operation;   // the registry's most accurate transformation between their datums
        double lon, lat;
    } cases[] = {
        {"geocentric translations", 4275, 4326, 1193, 2.1, 47.1},
        {"position vector", 4277, 4326, 1314, -1.5, 52.5},
        {"coordinate frame", 4289, 4258, 9281, 5.1, 52.1},
        {"coordinate frame, taken backwards", 4258, 4289, 9281, 5.1, 52.1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The registry lists it from its source: the other way is its inverse.
        expectSamePosition(pointValues(geographicRun(c.from, c.to, c.lon, c.lat)),
                           proj("/usr/bin/cct", fmt::sprintf("%.10g %.10g 0 0", c.lat, c.lon),
                                definition("EPSG:" + std::to_string(c.operation), true), c.from == 4258));
    }
}

TEST_F(Registry, APointTakesTheMostAccurateTransformationWhoseAreaHoldsIt) {
    // ED50 to WGS 84: the registry has some forty, country by country.
    struct Case {
        const char* where;
        double lon, lat;
        int operation;
    } cases[] = {
        {"Madrid: (28), 1.5 m, Spain; the 1 m ones are elsewhere", -3.7, 40.4, 1633},
        {"Portugal: (34), 1 m", -8.0, 39.5, 1989},
        {"Oslo: (18), 1 m, the North Sea and Norway", 10.7, 59.9, 1311},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        expectSamePosition(pointValues(geographicRun(4230, 4326, c.lon, c.lat)),
                           proj("/usr/bin/cct", fmt::sprintf("%.10g %.10g 0 0", c.lat, c.lon),
                                definition("EPSG:" + std::to_string(c.operation), true)));
    }
}

TEST_F(Registry, DatumsThatNoTransformationLinksGoThroughWgs84) {
    // NTF to BD72 near the Belgian border: NTF to WGS 84 (1), then BD72 to WGS 84 (1) backwards,
    // each step keeping the point's height as PROJ's pipelines do.
    const double lon = 4.0, lat = 50.0;
    // An annotated arrival file says how in its precision text.
    std::ofstream(file("in.txt")) << "P1 4.0 50.0 0\n";
    const auto r = zelvo("-v -type 1 -mode 1 -sys1 EPSG:4275 -sys2 EPSG:4313 -typcoor1 2 2 EPSG:8901 -f1 1 " +
                         file("in.txt") + " -typcoor2 2 2 EPSG:8901 -f2 1 " + file("out.txt"));
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    std::ifstream out(file("out.txt"));
    const std::string written((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
    EXPECT_NE(written.find("2m (par WGS 84)"), std::string::npos) << written;  // "de 1 à 2m", written in Latin-1
    const std::vector<double> wgs84 =
        proj("/usr/bin/cct", fmt::sprintf("%.10g %.10g 0 0", lat, lon), definition("EPSG:1193", true));
    ASSERT_GE(wgs84.size(), 2u);
    expectSamePosition(pointValues(geographicRun(4275, 4313, lon, lat)),
                       proj("/usr/bin/cct", fmt::sprintf("%.12g %.12g 0 0", wgs84[0], wgs84[1]),
                            definition("EPSG:1609", true), /*inverse=*/true));
}

TEST_F(Registry, CodesThatCannotBeUsedAreRefusedByName) {
    struct Case {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"-sys1 EPSG:999999 -sys2 EPSG:4326 -typcoor1 2 2 1", "EPSG:999999 : ce code n'est pas un système géodésique du registre !"},
        {"-sys1 EPSG:2154 -sys2 EPSG:4326 -typcoor1 2 2 1", "EPSG:2154 : ce code n'est pas un système géodésique du registre !"},
        {"-sys1 EPSG:4140 -sys2 EPSG:4326 -typcoor1 2 2 1", "EPSG:4140 : système abandonné par le registre !"},
        {"-sys1 EPSG:4326 -sys2 EPSG:4326 -typcoor1 3 EPSG:3857", "EPSG:3857 : méthode de projection non prise en charge (EPSG:1024) !"},
        {"-sys1 EPSG:4326 -sys2 EPSG:4326 -typcoor1 3 EPSG:2154", "EPSG:2154 : projection d'un autre système !"},
        {"-sys1 EPSG:4326 -sys2 EPSG:4326 -typcoor1 2 2 EPSG:4326", "EPSG:4326 : ce code n'est pas un méridien du registre !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto r = zelvo(std::string("-type 1 -mode 0 ") + c.arguments + " -typcoor2 2 2 1 -lon 1 -lat 45 -he 0");
        EXPECT_EQ(r.exitCode, 3);
        EXPECT_NE((r.out + r.err).find(c.message), std::string::npos) << r.out << r.err;
    }
}

TEST_F(Registry, AnUnreadableRegistryIsSaid) {
    std::ofstream(file("proj.db")) << "not a database";
    const auto r = zelvo("-type 1 -mode 0 -sys1 EPSG:4326 -sys2 EPSG:4326 -typcoor1 2 2 1 -typcoor2 2 2 1 -lon 1 -lat 45 -he 0",
                         {{"PROJ_DATA", work_.str()}});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE((r.out + r.err).find("Registre EPSG illisible : " + file("proj.db")), std::string::npos) << r.out << r.err;
}

}  // namespace
}  // namespace zelvo
