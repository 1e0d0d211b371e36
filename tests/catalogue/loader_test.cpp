#include "catalogue/loader.hpp"

#include <gtest/gtest.h>

#include "support/test_support.hpp"

namespace zelvo {
namespace {

using test::latin1Lines;
using test::TempDir;
using test::writeFile;

const std::string kHead =
    "ELG 1 6378249.2 6356515.0 293.466021294 0.0068034876463 Clarke 1880 (France)\n"
    "LGO 1 2 0.0 Greenwich\n"
    "LGO 2 3 2.5969213 Paris\n"
    "REG 1 1 1 3D Un\n"
    "REG 2 1 2 2D Deux\n";

CatalogueLoadResult load(const std::string& utf8Text, Catalogue& catalogue, TempDir& dir) {
    writeFile(dir.file("cat.dat"), latin1Lines(utf8Text));
    return loadCatalogue(dir.file("cat.dat"), catalogue);
}

TEST(CatalogueLoader, ClassifiesAndChecksLines) {
    struct Case {
        const char* what;
        std::string text;
        int malformedLine;  // 0: loads
    } cases[] = {
        {"comments and blank lines only", "* a\n\n*\n   \n", 0},
        {"ELGX reads as ELG", "ELGX 3 1 2 3 0.1 X\n", 0},
        {"unknown keyword skipped", "XYZ 1 2 3\n", 0},
        {"REG before any ELG", "REG 1 1 1 3D Tôt\n", 0},
        {"REG with an unknown ellipsoid", kHead + "REG 3 9 1 2D X\n", 6},
        {"REG with an unknown meridian", kHead + "REG 3 1 9 2D X\n", 6},
        {"REG without a name", kHead + "REG 3 1 1 2D\n", 6},
        {"ELG without a name", "ELG 1 1 2 3 4\n", 1},
        {"TSG to a system defined later", kHead + "TSG 1 1 3 5 1 2 3 0 0 0 0\nREG 3 1 1 3D T\n", 6},
        {"TSG with eleven values", kHead + "TSG 1 1 2 5 1 2 3 0 0 0\n", 6},
        {"TSG complete", kHead + "TSG 1 1 2 5 1 2 3 0 0 0 0\n", 0},
        {"TSG0 complete", kHead + "TSG0 2 1 1 2 3\n", 0},
        {"TSG0 short", kHead + "TSG0 2 1 1 2\n", 6},
        {"ZNE missing a bound", "ZNE 1 2 -5 41 9\n", 1},
        {"ZNE with an extra value", "ZNE 1 2 -5 41 9 51 7\n", 0},
        {"ZNE with a word for a bound", "ZNE 1 2 -5 41 x 51\n", 1},
        {"PROJ missing a bound", "PROJ 1 9 2 -5 41 9\n", 1},
        {"UNIT with a system only", "UNIT 4\n", 0},
        {"UNIT without a system", "UNIT\n", 1},
        {"TYPCOOR with a system only", "TYPCOOR 3\n", 1},
        {"GR1D without a system", "GR1D geo.mnt\n", 1},
        {"GR3D with one system", "GR3D g.mnt 1\n", 1},
        {"PRC with an unknown ellipsoid", kHead + "PRC 1 1 7 6e5 2e5 2 3 0 52 0.99 0 0 0 1 L\n", 6},
        {"PRC without a name", kHead + "PRC 1 1 1 6e5 2e5 2 3 0 52 0.99 0 0 0 1\n", 6},
        {"PRC of an EPSG method with its unit", kHead + "PRC 1 0 1 2e6 0 1 2 -99 27.8 0 28.4 30.3 0 9802 9003 T\n", 0},
        {"PRC of an EPSG method without its unit", kHead + "PRC 1 0 1 2e6 0 1 2 -99 27.8 0 28.4 30.3 0 9802 T\n", 6},
        {"PRC of an EPSG method, unit but no name", kHead + "PRC 1 0 1 2e6 0 1 2 -99 27.8 0 28.4 30.3 0 9802 9003\n", 6},
        {"PRC of an EPSG method, unknown unit", kHead + "PRC 1 0 1 2e6 0 1 2 -99 27.8 0 28.4 30.3 0 9802 9999 T\n", 6},
        {"PRC of an unknown kind, number as name", kHead + "PRC 1 0 1 2e6 0 1 2 -99 27.8 0 28.4 30.3 0 7 9003\n", 0},
        {"line numbers count comments", "* one\n\n* three\nZNE 1\n", 4},
        {"a 255-character line", "* " + std::string(253, 'x') + "\n", 0},
        {"a 256-character line", "ZNE 1 2 1 2 3 4 " + std::string(240, 'x') + "\n", 1},
        {"a long comment", "* " + std::string(300, 'x') + "\n", 1},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Catalogue catalogue;
        const auto result = load(c.text, catalogue, dir);
        if (c.malformedLine == 0) {
            EXPECT_EQ(result.status, CatalogueLoadStatus::Loaded) << c.what << ": " << result.message;
        } else {
            EXPECT_EQ(result.status, CatalogueLoadStatus::Malformed) << c.what;
            EXPECT_EQ(result.lineNumber, c.malformedLine) << c.what;
        }
    }
}

TEST(CatalogueLoader, StoresRecordsFieldByField) {
    TempDir dir;
    Catalogue c;
    const auto result = load(kHead +
                                 "REA 1 NGF   69 un deux trois quatre cinq\n"
                                 "TSG 4 2 1 5 -168 -60 320 1.5 0.1 0.2 0.3\n"
                                 "TSG0 2 1 -168.0 -60.0 320.0\n"
                                 "PRC 6 1 1 600000.0 2200000.0 2 3 0 52 0.99987742 0 0 0 1 Lambert II Étendu\n"
                                 "PRC 7 0 1 2000000 0 1 2 -99 27.83 0 28.38 30.28 0 9802 9003 Texas South Central\n"
                                 "TYPCOOR 3 1 2 3\n"
                                 "UNIT 1 2 10 12\n"
                                 "GR1D grilles/géoïde.mnt 1 1 2 3 4 5 6 7 8 9 10 11 12\n"
                                 "GR3D g3.mnt 2 1\n"
                                 "ZNE 1 2 -9.86 41.15 10.38 51.56\n"
                                 "PROJ 2 6 2 -4.87 42.33 8.23 51.14\n",
                             c, dir);
    ASSERT_EQ(result.status, CatalogueLoadStatus::Loaded) << result.message;
    EXPECT_EQ(c.ellipsoids[0].name, "Clarke 1880 (France)");
    EXPECT_DOUBLE_EQ(c.ellipsoids[0].eccentricitySquared, 0.0068034876463);
    EXPECT_EQ(c.meridians[1].unit, 3);
    EXPECT_DOUBLE_EQ(c.meridians[1].longitude, 2.5969213);
    EXPECT_EQ(c.systems[1].dimension, 2);
    EXPECT_EQ(c.systems[1].meridian, &c.meridians[1]);
    EXPECT_EQ(c.verticalSystems[0].name, "NGF 69 un deux trois") << "five words at most, joined by one blank";
    const CTsg& tsg = c.transformations[0];
    EXPECT_EQ(tsg.type, 1);
    EXPECT_EQ(tsg.precisionCode, 5);
    EXPECT_EQ(tsg.source, &c.systems[1]);
    EXPECT_EQ(tsg.target, &c.systems[0]);
    EXPECT_DOUBLE_EQ(tsg.scale, 1.5);
    EXPECT_DOUBLE_EQ(tsg.rz, 0.3);
    const CTsg& tsg0 = c.transformations[1];
    EXPECT_EQ(tsg0.type, 2);
    EXPECT_EQ(tsg0.number, 0);
    EXPECT_DOUBLE_EQ(tsg0.tz, 320.0);
    const CPrc& prc = c.projections[0];
    EXPECT_EQ(prc.name, "Lambert II Étendu");
    EXPECT_EQ(prc.kind, 1);
    EXPECT_DOUBLE_EQ(prc.falseNorthing, 2200000.0);
    EXPECT_DOUBLE_EQ(prc.latitudeOrigin, 52.0);
    EXPECT_DOUBLE_EQ(prc.scaleFactor, 0.99987742);
    EXPECT_EQ(prc.meridian, &c.meridians[1]);
    EXPECT_EQ(prc.linearUnit, 9001) << "kinds 1 to 6 are in metres";
    const CPrc& feet = c.projections[1];
    EXPECT_EQ(feet.kind, 9802);
    EXPECT_EQ(feet.linearUnit, 9003);
    EXPECT_EQ(feet.name, "Texas South Central");
    EXPECT_DOUBLE_EQ(feet.parallel2, 30.28);
    EXPECT_EQ(c.coordinateTypes[0].codes, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(c.units[0].codes, (std::vector<int>{12, 10, 2}));
    EXPECT_EQ(c.grids1D[0].fileName, "grilles/géoïde.mnt");
    EXPECT_EQ(c.grids1D[0].reaNumbers, (std::vector<int>{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(c.grids3D[0].regNumberA, 2);
    EXPECT_EQ(c.systemExtents[0].prcNumber, 0);
    EXPECT_DOUBLE_EQ(c.systemExtents[0].max.lat, 51.56);
    EXPECT_EQ(c.projectionExtents[0].prcNumber, 6);
    EXPECT_EQ(c.projectionExtents[0].min.type, kGeographic);
    EXPECT_EQ(c.projectionUses[0].prcNumber, 6);
}

TEST(CatalogueLoader, ReportsFailuresWithTheirTexts) {
    TempDir dir;
    Catalogue c;
    auto result = loadCatalogue(dir.file("absent.dat"), c);
    EXPECT_EQ(result.status, CatalogueLoadStatus::Unreadable);
    EXPECT_EQ(result.message, "Impossible de lire le fichier\n" + dir.file("absent.dat"));
    EXPECT_EQ(loadCatalogue(dir.str(), c).status, CatalogueLoadStatus::Unreadable);

    result = load("* comment\nELG 1 2 Géo\n", c, dir);
    EXPECT_EQ(result.message, "Erreur dans le fichier \"" + dir.file("cat.dat") +
                                  "\" :\nMauvais format à la ligne 2:\n\n\"ELG 1 2 Géo\"");
    EXPECT_TRUE(c.ellipsoids.empty()) << "no partial catalogue survives";
}

TEST(CatalogueLoader, SurvivesGarbage) {
    TempDir dir;
    std::string binary;
    for (int i = 0; i < 100000; ++i) binary.push_back(static_cast<char>((i * 7919) % 256));
    const std::string inputs[] = {"", binary, std::string(1 << 20, 'A'), std::string(3000, '\n'),
                                  "ELG " + std::string(1000, '9') + "\n"};
    for (const auto& bytes : inputs) {
        writeFile(dir.file("g.dat"), bytes);
        Catalogue c;
        const auto result = loadCatalogue(dir.file("g.dat"), c);
        EXPECT_NE(result.status, CatalogueLoadStatus::Unreadable);
    }
}

TEST(CatalogueLoader, LoadsTheReferenceCatalogue) {
    const std::string ref = test::referenceDir();
    Catalogue c;
    const auto result = loadCatalogue(ref + "/catalogue.dat", c);
    ASSERT_EQ(result.status, CatalogueLoadStatus::Loaded) << result.message;
    EXPECT_EQ(c.ellipsoids.size(), 5u);
    EXPECT_EQ(c.meridians.size(), 2u);
    EXPECT_EQ(c.systems.size(), 7u);
    EXPECT_EQ(c.verticalSystems.size(), 2u);
    EXPECT_EQ(c.systemExtents.size(), 7u);
    EXPECT_EQ(c.transformations.size(), 9u);
    EXPECT_EQ(c.projections.size(), 26u);
    EXPECT_EQ(c.projectionExtents.size(), 34u);
    EXPECT_EQ(c.projectionUses.size(), 34u);
    EXPECT_EQ(c.coordinateTypes.size(), 7u);
    EXPECT_EQ(c.units.size(), 7u);
    EXPECT_EQ(c.grids1D.size(), 1u);
    EXPECT_EQ(c.grids3D.size(), 1u);
    for (const auto& s : c.systems) {
        EXPECT_NE(s.ellipsoid, nullptr) << s.name;
        EXPECT_NE(s.meridian, nullptr) << s.name;
    }
    for (const auto& p : c.projections) {
        EXPECT_NE(p.ellipsoid, nullptr) << p.name;
        EXPECT_NE(p.meridian, nullptr) << p.name;
    }
    for (const auto& t : c.transformations) {
        EXPECT_EQ(t.source->number, t.sourceNumber);
        EXPECT_EQ(t.target->number, t.targetNumber);
    }
    EXPECT_EQ(findByNumber(c.systems, 6)->name, "Piton des Neiges (Réunion)");
    EXPECT_EQ(findByName(c.projections, "LAEA Pôle Nord")->number, 27);
    EXPECT_TRUE(findCodeList(c.units, 4)->codes.empty());
}

TEST(Catalogue, LooksUpAndInitialisesCoordinateSystems) {
    TempDir dir;
    Catalogue c;
    ASSERT_EQ(load(kHead + "ELG 1 1 1 1 0.1 Doublon\nREA 1 NGF69\nPRC 6 1 1 6e5 2e5 2 3 0 52 0.99 0 0 0 1 L2E\n", c, dir)
                  .status,
              CatalogueLoadStatus::Loaded);
    EXPECT_EQ(findByNumber(c.ellipsoids, 1), &c.ellipsoids[0]) << "the first of two equal numbers";
    EXPECT_EQ(findByName(c.systems, "Deux"), &c.systems[1]);
    EXPECT_EQ(findByNumber(c.systems, 9), nullptr);
    EXPECT_EQ(findByNumber(std::deque<CReg>{}, 1), nullptr);

    CSysCoor sys;
    EXPECT_TRUE(initSysCoor(sys, c, 2, 1, 1, 6));
    EXPECT_EQ(sys.meridian, &c.meridians[0]);
    CSysCoor fallback;
    EXPECT_TRUE(initSysCoor(fallback, c, 2, 42, 1, 6));
    EXPECT_EQ(fallback.meridian, &c.meridians[1]) << "an unknown meridian falls back on the system's";
    CSysCoor noProjection;
    EXPECT_FALSE(initSysCoor(noProjection, c, 1, 1, 1, 0));
    EXPECT_EQ(noProjection.system, &c.systems[0]) << "found references are kept";
    EXPECT_EQ(noProjection.projection, nullptr);
    CSysCoor noVertical;
    EXPECT_FALSE(initSysCoor(noVertical, c, 1, 1, 0, 6));
    ASSERT_NE(noVertical.vertical, nullptr);
    EXPECT_EQ(noVertical.vertical->number, 0);
    EXPECT_TRUE(noVertical.vertical->name.empty());
}

}  // namespace
}  // namespace zelvo
