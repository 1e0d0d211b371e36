// The transformation page's decisions without a display: list contents and selections, the
// cascade, the layouts per coordinate type, the vertical actions and the settings record, over
// small catalogues written for each case and over the reference catalogue.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/page_settings.hpp"
#include "catalogue/loader.hpp"
#include "platform/profile.hpp"
#include "support/test_support.hpp"
#include "ui/model/page_model.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using namespace page;
using Entries = std::vector<std::string>;

// The head of a catalogue: two ellipsoids, two meridians, an extent per system; the cases add
// their systems, transformations, types, units and projections.
const std::string kHead =
    "ELG 1 6378249.2 6356515.0 293.466021294 0.006803487646300 Clarke 1880\n"
    "ELG 2 6378137.0 6356752.31414 298.257222101 0.006694380022901 GRS 1980\n"
    "LGO 1 2 0.0 Greenwich\n"
    "LGO 2 3 2.5969213 Paris\n";

// A system: number, ellipsoid, meridian, dimension, name; with an extent, types 2 and 3 and the
// given unit codes.
std::string system(int number, int meridian, int dimension, const std::string& name, const std::string& units = "2 10",
                   const std::string& types = "2 3") {
    const std::string n = std::to_string(number);
    return "REG " + n + " 1 " + std::to_string(meridian) + " " + std::to_string(dimension) + "D " + name + "\n" +
           "ZNE " + n + " 2 -10 40 10 52\nTYPCOOR " + n + " " + types + "\nUNIT " + n + " " + units + "\n";
}

std::string standardLink(int number, int source, int target) {
    return "TSG " + std::to_string(number) + " " + std::to_string(source) + " " + std::to_string(target) +
           " 5 -168 -60 320 0 0 0 0\n";
}

std::string gridLink(int source, int target) {
    return "TSG0 " + std::to_string(source) + " " + std::to_string(target) + " -168 -60 320\n";
}

std::string projection(int number, int system, const std::string& name) {
    return "PRC " + std::to_string(number) + " 3 2 700000.0 6600000.0 1 2 3 46.5 1 44 49 0 1 " + name + "\n" +
           "PROJ " + std::to_string(system) + " " + std::to_string(number) + " 2 -10 40 10 52\n";
}

class PageModelTest : public ::testing::Test {
protected:
    // Loads a catalogue text and makes a page of the type on it, with the settings given.
    PageModel& page(const std::string& catalogueText, int type, const PageSettings& loaded = {}) {
        test::writeFile(work_.file("cat.dat"), test::latin1Lines(kHead + catalogueText));
        catalogue_ = std::make_unique<Catalogue>();
        const auto result = loadCatalogue(work_.file("cat.dat"), *catalogue_);
        EXPECT_EQ(result.status, CatalogueLoadStatus::Loaded) << result.message;
        settings_ = loaded;
        model_ = std::make_unique<PageModel>(*catalogue_, type, settings_, ui_);
        model_->initialise();
        return *model_;
    }

    test::TempDir work_;
    std::unique_ptr<Catalogue> catalogue_;
    PageSettings settings_;
    test::RecordingUserInterface ui_;
    std::unique_ptr<PageModel> model_;
};

TEST_F(PageModelTest, SystemListsFollowThePageType) {
    // Standard records link A and B (used from B to A only) and C to A; the grid record links A and D.
    const std::string catalogue = system(1, 1, 3, "Alpha") + system(2, 1, 2, "Beta") + system(3, 1, 3, "Gamma") +
                                  system(4, 1, 2, "Delta") + system(5, 1, 3, "Epsilon") + standardLink(1, 2, 1) +
                                  standardLink(2, 3, 1) + gridLink(4, 1);
    struct Case {
        const char* name;
        int type;
        std::string departure;
        Entries departures, arrivals;
    } cases[] = {
        {"standard from Alpha", 1, "Alpha", {"Alpha", "Beta", "Gamma"}, {"Alpha", "Beta", "Gamma"}},
        {"standard from Beta", 1, "Beta", {"Alpha", "Beta", "Gamma"}, {"Alpha", "Beta"}},
        {"grid from Alpha", 2, "Alpha", {"Alpha", "Delta"}, {"Alpha", "Delta"}},
        {"grid from Delta", 2, "Delta", {"Alpha", "Delta"}, {"Alpha", "Delta"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageSettings loaded;
        loaded.departureSystem = c.departure;
        PageModel& p = page(catalogue, c.type, loaded);
        EXPECT_EQ(p.entries(kDepartureSystems), c.departures);
        EXPECT_EQ(p.selection(kDepartureSystems), c.departure);
        EXPECT_EQ(p.entries(kArrivalSystems), c.arrivals);
        // Epsilon is linked to nothing: it is offered nowhere.
        EXPECT_EQ(std::count(c.departures.begin(), c.departures.end(), "Epsilon"), 0);
    }
    // The departure system is always among the arrivals, even when no record leads anywhere.
    PageModel& p = page(system(1, 1, 3, "Seul") + standardLink(1, 1, 1), 1);
    EXPECT_EQ(p.entries(kArrivalSystems), (Entries{"Seul"}));
}

TEST_F(PageModelTest, ANameThatBeginsAnotherIsNotAddedAfterIt) {
    struct Case {
        std::string systems;
        Entries listed;
    } cases[] = {
        // The longer name first: the shorter is taken for it and left out.
        {system(1, 1, 3, "NTF Paris") + system(2, 1, 2, "ntf"), {"NTF Paris"}},
        // The shorter first: the longer one does not begin any entry, so both are listed.
        {system(1, 1, 3, "NTF") + system(2, 1, 2, "NTF Paris"), {"NTF", "NTF Paris"}},
    };
    for (const auto& c : cases) {
        PageModel& p = page(c.systems + standardLink(1, 1, 2), 1);
        EXPECT_EQ(p.entries(kDepartureSystems), c.listed);
    }
}

TEST_F(PageModelTest, ListsAreSortedAndSelectTheSavedNameOrTheFirstEntry) {
    const std::string catalogue = system(1, 1, 3, "Zulu") + system(2, 2, 2, "alpha") + system(3, 1, 3, "Écho") +
                                  standardLink(1, 1, 2) + standardLink(2, 1, 3);
    PageSettings loaded;
    loaded.departureSystem = "zu";  // a prefix of a listed name selects it
    loaded.arrivalSystem = "Disparu";
    loaded.departureType = "Planes";
    PageModel& p = page(catalogue, 1, loaded);
    EXPECT_EQ(p.entries(kDepartureSystems), (Entries{"alpha", "Écho", "Zulu"}));
    EXPECT_EQ(p.selection(kDepartureSystems), "Zulu");
    EXPECT_EQ(p.selection(kArrivalSystems), "alpha") << "a name the list no longer offers selects the first entry";
    EXPECT_EQ(p.selection(kDepartureTypes), "Planes");
    EXPECT_EQ(settings_.arrivalSystem, "alpha") << "the choice shown is the one kept";
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(PageModelTest, SystemChangeKeepsTheUnitWhereOfferedAndTheMeridianFollows) {
    // Unit codes: 2 decimal degrees, 3 grads, 10 packed DMS.
    const std::string catalogue = system(1, 1, 3, "Alpha", "2 10") + system(2, 2, 2, "Beta", "3 10") +
                                  system(3, 1, 3, "Gamma", "3") + standardLink(1, 1, 2) + standardLink(2, 1, 3) +
                                  standardLink(3, 2, 3);
    PageSettings loaded;
    loaded.departureSystem = "Alpha";
    loaded.departureType = "Géographiques";
    loaded.departureUnit = "Degrés Minutes Secondes";
    PageModel& p = page(catalogue, 1, loaded);
    const std::string dms = p.selection(kDepartureUnits);
    ASSERT_FALSE(dms.empty());
    EXPECT_EQ(p.selection(kDepartureMeridians), "Greenwich");
    struct Step {
        const char* system;
        bool unitKept;
        const char* meridian;
    } steps[] = {{"Beta", true, "Paris"}, {"Gamma", false, "Greenwich"}, {"Alpha", false, "Greenwich"}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.system);
        p.selectionChanged(kDepartureSystems, s.system);
        if (s.unitKept) {
            EXPECT_EQ(p.selection(kDepartureUnits), dms);
        } else {
            EXPECT_EQ(p.selection(kDepartureUnits), p.entries(kDepartureUnits).front());
        }
        EXPECT_EQ(p.selection(kDepartureMeridians), s.meridian);
        EXPECT_EQ(settings_.departureMeridian, s.meridian);
        EXPECT_EQ(p.entries(kDepartureMeridians), (Entries{"Greenwich", "Paris"}));
    }
    // A system whose unit list holds no code offers every unit.
    PageModel& all = page(system(1, 1, 3, "Alpha", "") + standardLink(1, 1, 1), 1);
    EXPECT_EQ(all.entries(kDepartureUnits).size(), 9u);
}

TEST_F(PageModelTest, TwoDimensionalDepartureRefusesHeights) {
    const std::string catalogue = system(1, 1, 2, "NTF") + system(2, 1, 3, "RGF93") + standardLink(1, 1, 2) +
                                  "REA 1 NGF69\nGR1D g.mnt 2 1\n";
    PageSettings loaded;
    loaded.departureSystem = "NTF";
    loaded.arrivalSystem = "RGF93";
    loaded.departureType = "Géographiques";
    loaded.arrivalType = "Géographiques";
    PageModel& p = page(catalogue, 1, loaded);
    EXPECT_TRUE(p.checked(kAltitudeRadio)) << "a 2-D system's geographic layout chooses the altitude";
    p.clicked(kFile);
    for (const std::string& format : p.entries(kDepartureFormats))
        EXPECT_FALSE(format.ends_with("Hauteur")) << format;
    EXPECT_EQ(p.entries(kDepartureFormats).size(), 4u);
    EXPECT_EQ(p.entries(kArrivalFormats).size(), 8u) << "the 3-D arrival keeps its height formats";
    p.clicked(kInteractive);
    ui_.messages.clear();
    p.clicked(kHeightRadio);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "Il est interdit de rentrer des hauteurs sur l'ellipsoïde dans le système NTF.\n");
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(p.checked(kAltitudeRadio));
    EXPECT_FALSE(p.checked(kHeightRadio));
    EXPECT_TRUE(p.control(1058).enabled) << "the departure altitude is entered";
    EXPECT_FALSE(p.control(1064).enabled);

    // On a 3-D departure the height is accepted.
    p.selectionChanged(kDepartureSystems, "RGF93");
    ui_.messages.clear();
    p.clicked(kHeightRadio);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(p.checked(kHeightRadio));
    EXPECT_TRUE(p.control(1064).enabled);
    EXPECT_FALSE(p.control(1058).enabled);
}

TEST_F(PageModelTest, LayoutsPerCoordinateType) {
    const std::string catalogue = system(1, 1, 3, "RGF93", "2 10", "1 2 3") + standardLink(1, 1, 1) +
                                  projection(9, 1, "Lambert 93") + "REA 1 NGF69\nGR1D g.mnt 1 1\n";
    struct Case {
        const char* departureType;
        const char* arrivalType;
        std::vector<int> shown, hidden, enabled, disabled;
    } cases[] = {
        {"Cartésiennes", "Cartésiennes", {1050, 1051, 1052, 1083, 1084, 1085},
         {1056, 1062, 1123, 1124, 1018, 1089, 1099, 1095, 1116}, {1050}, {1007, 1012, 1017, 1008, 1013, 1019}},
        {"Géographiques", "Géographiques", {1062, 1065, 1018, 1023, 1123, 1099, 1038, 1042},
         {1050, 1056, 1083, 1089, 1116}, {1012, 1017, 1013, 1019}, {1007, 1008}},
        {"Planes", "Planes", {1056, 1057, 1089, 1090, 1116, 1117, 1123},
         {1050, 1062, 1018, 1083, 1099, 1037}, {1007, 1008, 1013, 1116}, {1012, 1017, 1019}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.departureType);
        PageSettings loaded;
        loaded.departureType = c.departureType;
        loaded.arrivalType = c.arrivalType;
        loaded.departureUnit = loaded.arrivalUnit = "Degrés Minutes Secondes";
        PageModel& p = page(catalogue, 1, loaded);
        ASSERT_EQ(p.selection(kDepartureTypes), c.departureType);
        for (const int id : c.shown) EXPECT_TRUE(p.control(id).visible) << id;
        for (const int id : c.hidden) EXPECT_FALSE(p.control(id).visible) << id;
        for (const int id : c.enabled) EXPECT_TRUE(p.control(id).enabled) << id;
        for (const int id : c.disabled) EXPECT_FALSE(p.control(id).enabled) << id;
    }
    // Changing the arrival type applies its layout at once, and its comment.
    PageModel& p = page(catalogue, 1);
    p.selectionChanged(kArrivalTypes, "Planes");
    EXPECT_TRUE(p.control(1089).visible);
    EXPECT_FALSE(p.control(1083).visible);
    EXPECT_EQ(p.comment(), "Calcul des coordonnées planes du système d'arrivée en mètres");
}

TEST_F(PageModelTest, NoVerticalSystemHidesTheVerticalGroup) {
    for (const bool withVertical : {true, false}) {
        const std::string catalogue = system(1, 1, 3, "RGF93") + standardLink(1, 1, 1) +
                                      (withVertical ? "REA 1 NGF69\nGR1D g.mnt 1 1\n" : "");
        for (const char* type : {"Géographiques", "Planes"}) {
            SCOPED_TRACE(std::string(type) + (withVertical ? " with" : " without") + " vertical systems");
            PageSettings loaded;
            loaded.departureType = type;
            PageModel& p = page(catalogue, 1, loaded);
            for (const int id : {1123, 1124, 1125, 1126}) EXPECT_EQ(p.control(id).visible, withVertical) << id;
            EXPECT_EQ(p.control(kVerticalSystems).visible, withVertical);
            EXPECT_EQ(p.entries(kVerticalSystems), withVertical ? Entries{"NGF69"} : Entries{});
        }
    }
}

TEST_F(PageModelTest, AnEqualAreaArrivalDisablesConvergenceAndAlteration) {
    const std::string catalogue = system(1, 1, 3, "RGF93") + standardLink(1, 1, 1) + projection(9, 1, "Lambert 93") +
                                  projection(26, 1, "LAEA Europe");
    PageSettings loaded;
    loaded.arrivalType = "Planes";
    loaded.arrivalProjection = "Lambert 93";
    loaded.mode = 1;
    PageModel& p = page(catalogue, 1, loaded);
    p.clicked(kPrintAlteration);
    ASSERT_TRUE(p.checked(kPrintAlteration));
    const std::vector<int> convergence = {kArrivalUnits, 1034, 1116, 1122, 1117, 1121, 1120};
    for (const int id : convergence) EXPECT_TRUE(p.control(id).enabled) << id;
    p.selectionChanged(kArrivalProjections, "LAEA Europe");
    for (const int id : convergence) EXPECT_FALSE(p.control(id).enabled) << id;
    EXPECT_FALSE(p.checked(kPrintAlteration));
    EXPECT_EQ(settings_.arrivalProjection, "LAEA Europe");
    p.selectionChanged(kArrivalProjections, "Lambert 93");
    for (const int id : convergence) EXPECT_TRUE(p.control(id).enabled) << id;

    // A geographic arrival keeps its unit list whatever projection was chosen before.
    p.selectionChanged(kArrivalProjections, "LAEA Europe");
    p.clicked(kInteractive);
    p.selectionChanged(kArrivalTypes, "Géographiques");
    p.selectionChanged(kArrivalSystems, "RGF93");
    EXPECT_TRUE(p.control(kArrivalUnits).enabled);
}

TEST_F(PageModelTest, ModesShowTheirControls) {
    const std::string catalogue = system(1, 1, 3, "RGF93") + standardLink(1, 1, 1) + projection(9, 1, "Lambert 93");
    PageSettings loaded;
    loaded.departureType = "Planes";
    loaded.arrivalType = "Géographiques";
    PageModel& p = page(catalogue, 1, loaded);
    const std::vector<int> fileControls = {1127, 1128, 1129, 1130, 1131, 1132, 1135, 1136, 1138, 1141, 1016};
    for (const int id : fileControls) EXPECT_FALSE(p.control(id).visible) << id;
    EXPECT_TRUE(p.checked(kInteractive));
    p.clicked(kFile);
    EXPECT_EQ(settings_.mode, 1);
    EXPECT_EQ(settings_.verticalChoice, 1);
    for (const int id : fileControls) EXPECT_TRUE(p.control(id).visible) << id;
    for (const int id : {1056, 1099, 1118, 1123}) EXPECT_FALSE(p.control(id).visible) << id;
    EXPECT_TRUE(p.control(kDepartureProjections).enabled);
    EXPECT_FALSE(p.control(kPrintAlteration).enabled) << "a geographic arrival has no alteration";
    EXPECT_EQ(p.entries(kDepartureFormats),
              (Entries{"E N Altitude", "E N Hauteur", "Nom E N Altitude", "Nom E N Hauteur"}));
    EXPECT_EQ(p.comment(), "Saisir les systèmes, les projections, les unités et les fichiers de départ et d'arrivée");
    p.clicked(kInteractive);
    EXPECT_EQ(settings_.mode, 0);
    for (const int id : fileControls) EXPECT_FALSE(p.control(id).visible) << id;
    EXPECT_TRUE(p.control(1056).visible);
    EXPECT_TRUE(p.control(1118).visible);
}

TEST_F(PageModelTest, ReferenceCatalogue) {
    const std::string reference = test::referenceDir();
    Catalogue catalogue;
    ASSERT_EQ(loadCatalogue(reference + "/catalogue.dat", catalogue).status, CatalogueLoadStatus::Loaded);
    PageSettings standardSettings, gridSettings;
    PageModel standard(catalogue, 1, standardSettings, ui_), grid(catalogue, 2, gridSettings, ui_);
    standard.initialise();
    grid.initialise();
    EXPECT_EQ(standard.entries(kDepartureSystems).size(), 7u);
    EXPECT_EQ(grid.entries(kDepartureSystems), (Entries{"NTF", "RGF93"}));
    grid.selectionChanged(kDepartureSystems, "NTF");
    EXPECT_EQ(grid.entries(kArrivalSystems), (Entries{"NTF", "RGF93"}));
    EXPECT_EQ(grid.selection(kDepartureMeridians), "Paris");
    EXPECT_EQ(grid.entries(kVerticalSystems), (Entries{"NGF69"}));
    // NTF is two-dimensional: no height formats, and its projections are the Lambert zones.
    grid.selectionChanged(kDepartureTypes, "Planes");
    grid.clicked(kFile);
    EXPECT_EQ(grid.entries(kDepartureFormats).size(), 2u);
    const Entries& projections = grid.entries(kDepartureProjections);
    EXPECT_NE(std::find(projections.begin(), projections.end(), "Lambert II \xc3\x89tendu"), projections.end())
        << ::testing::PrintToString(projections);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(PageModelTest, ChoicesSurviveQuittingAndStartingAgain) {
    const std::string catalogue = system(1, 1, 3, "RGF93") + system(2, 2, 2, "NTF") + standardLink(1, 2, 1) +
                                  projection(9, 1, "Lambert 93") + projection(6, 2, "Lambert II");
    const std::string ini = work_.file("Zelvo/zelvo.ini");
    test::writeFile(ini, "[Standard]\nMode=0\n");
    {
        ProfileFile profile(ini);
        PageSettings loaded;
        ASSERT_TRUE(loadPageSettings(profile, 1, loaded));
        PageModel& p = page(catalogue, 1, loaded);
        p.selectionChanged(kDepartureSystems, "NTF");
        p.selectionChanged(kArrivalSystems, "RGF93");
        p.selectionChanged(kDepartureTypes, "Planes");
        p.selectionChanged(kArrivalTypes, "Planes");
        p.setPointName("Borne 12");
        p.clicked(kFile);
        p.store();
        ASSERT_TRUE(savePageSettings(profile, 1, p.settings()));
    }
    ProfileFile profile(ini);
    PageSettings loaded;
    ASSERT_TRUE(loadPageSettings(profile, 1, loaded));
    PageModel& p = page(catalogue, 1, loaded);
    EXPECT_EQ(p.selection(kDepartureSystems), "NTF");
    EXPECT_EQ(p.selection(kDepartureTypes), "Planes");
    EXPECT_EQ(p.selection(kDepartureProjections), "Lambert II");
    EXPECT_EQ(p.selection(kArrivalSystems), "RGF93");
    EXPECT_EQ(p.selection(kArrivalProjections), "Lambert 93");
    EXPECT_EQ(p.pointName(), "Borne 12");
    EXPECT_TRUE(p.checked(kFile));

    // A hand-edited file naming what the catalogue does not hold opens without a message.
    test::writeFile(ini, "[Standard]\nMode=7\nSystème de départ=Atlantis\nCoordonnées de départ=Polaires\n"
                         "Projection d'arrivée=Mercator\nVerticale=9\n");
    ProfileFile edited(ini);
    PageSettings odd;
    ASSERT_TRUE(loadPageSettings(edited, 1, odd));
    ui_.messages.clear();
    PageModel& q = page(catalogue, 1, odd);
    EXPECT_EQ(q.selection(kDepartureSystems), q.entries(kDepartureSystems).front());
    EXPECT_EQ(q.selection(kDepartureTypes), q.entries(kDepartureTypes).front());
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(PageModelTest, ToolTipsByControl) {
    EXPECT_EQ(PageModel::toolTip(1002), "Liste des systèmes de référence (SRG)");
    EXPECT_EQ(PageModel::toolTip(1021), "Par convention,négatif à l'Ouest");
    EXPECT_EQ(PageModel::toolTip(1040), "");
    for (const int id : PageModel::toolTipControls()) EXPECT_FALSE(PageModel::toolTip(id).empty()) << id;
}

}  // namespace
}  // namespace zelvo
