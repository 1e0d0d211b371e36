// The transformation page decides on catalogue numbers and codes, not on the names it shows: two
// catalogue records of the same name are told apart by the entry the list holds, for the lists
// that follow, the layouts and the point handed to the driver; and the settings record keeps the
// names, so that a configuration file loaded and saved again is the same file.

#include <gtest/gtest.h>

#include <optional>

#include "app/page_settings.hpp"
#include "catalogue/loader.hpp"
#include "geodesy/angles.hpp"
#include "platform/profile.hpp"
#include "support/test_support.hpp"
#include "ui/model/page_model.hpp"
#include "ui/model/page_services.hpp"

namespace zelvo {
namespace {

using namespace page;
using Entries = std::vector<std::string>;

// Two systems named "NTF": number 2, three-dimensional, cartesian only, linked to nothing; and
// number 5, two-dimensional, geographic and projected, linked to RGF93 by a standard record. Two
// projections named "Lambert", one for each of them, with other constants.
const std::string kCatalogue =
    "ELG 1 6378249.2 6356515.0 293.466021294 0.006803487646300 Clarke 1880\n"
    "ELG 2 6378137.0 6356752.31414 298.257222101 0.006694380022901 GRS 1980\n"
    "LGO 1 2 0.0 Greenwich\n"
    "LGO 2 3 2.5969213 Paris\n"
    "REG 1 2 1 3D RGF93\nZNE 1 2 -10 40 10 52\nTYPCOOR 1 2 3\nUNIT 1 2 10\n"
    "REG 2 1 1 3D NTF\nZNE 2 2 -10 40 10 52\nTYPCOOR 2 1\nUNIT 2 3\n"
    "REG 5 1 2 2D NTF\nZNE 5 2 -10 40 10 52\nTYPCOOR 5 2 3\nUNIT 5 10\n"
    "TSG 1 5 1 5 -168 -60 320 0 0 0 0\n"
    "PRC 9 3 2 700000.0 6600000.0 1 2 3 46.5 1 44 49 0 1 Lambert 93\nPROJ 1 9 2 -10 40 10 52\n"
    "PRC 6 3 2 600000.0 200000.0 1 2 3 46.8 1 45.9 47.7 0 1 Lambert\nPROJ 2 6 2 -10 40 10 52\n"
    "PRC 7 3 2 600000.0 2200000.0 1 2 3 46.8 1 45.9 47.7 0 1 Lambert\nPROJ 5 7 2 -10 40 10 52\n";

// A driver that keeps the points the page hands it and computes nothing.
class KeptPoints : public PageServices {
public:
    bool transformPoint(int, const CCoor& d, CCoor& a) override {
        departure = d;
        arrival = a;
        return false;
    }
    FileRunOutcome transformFile(int, bool, const CCoor&, const CCoor&, const FileRunFiles& f) override {
        files = f;
        return {FileRunOutcome::End::Written, 0};
    }
    CCoor& lastResult() override { return last; }
    void setReportRequested(bool) override {}

    std::optional<CCoor> departure, arrival;
    std::optional<FileRunFiles> files;
    CCoor last;
};

class PageCodesTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeFile(work_.file("cat.dat"), test::latin1Lines(kCatalogue));
        const auto result = loadCatalogue(work_.file("cat.dat"), catalogue_);
        ASSERT_EQ(result.status, CatalogueLoadStatus::Loaded) << result.message;
    }

    PageModel& page(const PageSettings& loaded) {
        settings_ = loaded;
        model_ = std::make_unique<PageModel>(catalogue_, 1, settings_, ui_, &services_);
        model_->initialise();
        return *model_;
    }

    // The projected NTF departure and a geographic RGF93 arrival, by name as a file holds them.
    static PageSettings ntfToRgf93() {
        PageSettings s;
        s.verticalChoice = 2;
        s.departureSystem = "NTF";
        s.departureType = "Planes";
        s.departureProjection = "Lambert";
        s.departureUnit = "Degrés Minutes Secondes";
        s.departureMeridian = "Paris";
        s.departureFormat = "Nom E N Altitude";
        s.arrivalSystem = "RGF93";
        s.arrivalType = "Géographiques";
        s.arrivalProjection = "Lambert 93";
        s.arrivalUnit = "Degrés décimaux";
        s.arrivalMeridian = "Greenwich";
        s.arrivalFormat = "Nom Lat Lon Hauteur";
        return s;
    }

    test::TempDir work_;
    Catalogue catalogue_;
    PageSettings settings_;
    test::RecordingUserInterface ui_;
    KeptPoints services_;
    std::unique_ptr<PageModel> model_;
};

TEST_F(PageCodesTest, TheListedRecordOfANameDrivesTheListsAndTheLayouts) {
    PageModel& p = page(ntfToRgf93());
    // One "NTF" entry: the linked system's.
    EXPECT_EQ(p.entries(kDepartureSystems), (Entries{"NTF", "RGF93"}));
    EXPECT_EQ(p.selectedCode(kDepartureSystems), 5);
    // Its types, units, meridian and projection, not those of the other "NTF".
    EXPECT_EQ(p.entries(kDepartureTypes), (Entries{"Géographiques", "Planes"}));
    EXPECT_EQ(p.entries(kDepartureUnits), (Entries{"Degrés Minutes Secondes"}));
    EXPECT_EQ(p.selectedCode(kDepartureMeridians), 2);
    EXPECT_EQ(p.selectedCode(kDepartureProjections), 7);
    // The projected layout of a two-dimensional system: no ellipsoidal height.
    EXPECT_TRUE(p.control(kDepartureEasting).visible);
    EXPECT_TRUE(p.checked(kAltitudeRadio));
    p.clicked(kHeightRadio);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "Il est interdit de rentrer des hauteurs sur l'ellipsoïde dans le système NTF.\n");
    p.clicked(kFile);
    EXPECT_EQ(p.entries(kDepartureFormats), (Entries{"E N Altitude", "Nom E N Altitude"}));

    // The widgets choose by position; the model answers with the entry's code and name.
    p.clicked(kInteractive);
    p.entryChosen(kDepartureTypes, 0);
    EXPECT_EQ(p.selectedCode(kDepartureTypes), kGeographic);
    EXPECT_EQ(p.selection(kDepartureTypes), "Géographiques");
    EXPECT_TRUE(p.control(kDepartureLonDegrees).visible);
    EXPECT_FALSE(p.control(kDepartureEasting).visible);
    p.entryChosen(kDepartureTypes, 7);  // no such entry: nothing changes
    EXPECT_EQ(p.selectedCode(kDepartureTypes), kGeographic);
}

TEST_F(PageCodesTest, TheRunGetsTheChosenRecords) {
    struct Case {
        const char* name;
        int mode;
    } cases[] = {{"typed point", 0}, {"file", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageSettings s = ntfToRgf93();
        s.mode = c.mode;
        s.departureFolder = s.arrivalFolder = work_.str() + "/";
        s.departureFileName = "depart.txt";
        s.arrivalFileName = "arrivee.txt";
        test::writeFile(work_.file("depart.txt"), "P 600000 2200000 100\n");
        services_.departure.reset();
        services_.files.reset();
        PageModel& p = page(s);
        p.compute();
        if (c.mode == 0) {
            ASSERT_TRUE(services_.departure.has_value());
            const CCoor& departure = *services_.departure;
            ASSERT_NE(departure.sys.system, nullptr);
            EXPECT_EQ(departure.sys.system->number, 5);
            ASSERT_NE(departure.sys.projection, nullptr);
            EXPECT_EQ(departure.sys.projection->number, 7);
            EXPECT_EQ(departure.sys.meridian->number, 2);
            EXPECT_EQ(departure.type, kProjected);
            EXPECT_EQ(services_.arrival->sys.system->number, 1);
            EXPECT_EQ(services_.arrival->unit, kDecimalDegrees);
        } else {
            ASSERT_TRUE(services_.files.has_value());
            EXPECT_EQ(services_.files->departureFormat, 16);  // "Nom E N Altitude"
            EXPECT_EQ(services_.files->arrivalFormat, 11);    // "Nom Lat Lon Hauteur"
        }
    }
}

TEST_F(PageCodesTest, SettingsLoadedAndSavedAreTheSameFile) {
    // The file as the program writes it for these choices.
    PageSettings chosen = ntfToRgf93();
    chosen.pointName = "Borne é";
    chosen.reportFileName = "rapport.prt";
    chosen.reportFolder = "rapports/";
    chosen.departureFileName = "depart.txt";
    chosen.departureFolder = "exemples/";
    chosen.arrivalFileName = "arrivee.txt";
    chosen.arrivalFolder = "sorties/";
    const std::string ini = work_.file("Zelvo/zelvo.ini");
    test::writeFile(ini, "[Standard]\n");
    {
        ProfileFile profile(ini);
        ASSERT_TRUE(savePageSettings(profile, 1, chosen));
    }
    const std::string before = test::readFile(ini);
    ASSERT_NE(before.find("Projection de d"), std::string::npos);

    // Loaded, shown on a page, stored and saved again.
    ProfileFile profile(ini);
    PageSettings loaded;
    ASSERT_TRUE(loadPageSettings(profile, 1, loaded));
    PageModel& p = page(loaded);
    EXPECT_EQ(p.selectedCode(kDepartureSystems), 5);
    EXPECT_EQ(p.selectedCode(kDepartureProjections), 7);
    EXPECT_EQ(p.selectedCode(kArrivalFormats), 11);
    ASSERT_TRUE(p.store());
    ASSERT_TRUE(savePageSettings(profile, 1, p.settings()));
    EXPECT_EQ(test::readFile(ini), before);
}

}  // namespace
}  // namespace zelvo
