// The transformation page's coordinates and file mode without a display: validation of the entry
// fields, the typed point, the result shown and re-expressed, the file checks in their order, and
// what the compute operation asks of the drivers. The drivers are stand-ins that record the calls.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>

#include "app/application.hpp"
#include "app/configuration.hpp"
#include "catalogue/loader.hpp"
#include "platform/paths.hpp"
#include "geodesy/angles.hpp"
#include "support/test_support.hpp"
#include "geodesy/precision.hpp"
#include "ui/model/page_model.hpp"
#include "ui/model/page_services.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using namespace page;

const std::string kCatalogue =
    "ELG 2 6378137.0 6356752.31414 298.257222101 0.006694380022901 GRS 1980\n"
    "LGO 1 2 0.0 Greenwich\n"
    "LGO 2 3 2.5969213 Paris\n"
    "REG 1 2 1 3D RGF93\nZNE 1 2 -10 40 10 52\nTYPCOOR 1 1 2 3\nUNIT 1 2 10 11 12\n"
    "REG 2 2 1 3D Autre\nZNE 2 2 -10 40 10 52\nTYPCOOR 2 1 2 3\nUNIT 2 2 10 11 12\n"
    "REG 3 2 1 3D Vide\nZNE 3 2 -10 40 10 52\n"
    "TSG 1 1 2 5 0 0 0 0 0 0 0\nTSG 2 1 3 5 0 0 0 0 0 0 0\n"
    "PRC 9 3 2 700000.0 6600000.0 1 2 3 46.5 1 44 49 0 1 Lambert 93\nPROJ 1 9 2 -10 40 10 52\n"
    "PRC 26 3 2 700000.0 6600000.0 1 2 3 46.5 1 44 49 0 1 LAEA Europe\nPROJ 1 26 2 -10 40 10 52\n"
    "PRC 30 0 2 656166.667 0 1 2 3 46.5 0.9999 0 0 0 9807 9003 TM France (ftUS)\nPROJ 1 30 2 -10 40 10 52\n"
    "PRC 31 0 2 700000 0 1 2 3 46.5 0 44 49 0 9822 9001 Albers France\nPROJ 1 31 2 -10 40 10 52\n";

// Drivers that record what the page asks; the single-point one gives the prepared result.
class RecordingServices : public PageServices {
public:
    bool transformPoint(int type, const CCoor& departure, CCoor& arrival) override {
        ++points;
        lastType = type;
        this->departure = departure;
        if (result) {
            arrival = *result;
            last = *result;
        }
        return result.has_value();
    }
    FileRunOutcome transformFile(int type, bool withConversion, const CCoor& departure, const CCoor&,
                                 const FileRunFiles& files) override {
        ++fileRuns;
        lastType = type;
        conversion = withConversion;
        this->departure = departure;
        this->files = files;
        reportAtRun = report;
        return outcome;
    }
    CCoor& lastResult() override { return last; }
    void setReportRequested(bool requested) override { report = requested; }
    // Folders named in the settings, as the application finds them; others as they are.
    std::string folderPath(const std::string& folder) override {
        const auto found = folders.find(folder);
        return found != folders.end() ? found->second : folder;
    }

    FileRunOutcome outcome{FileRunOutcome::End::Written, 1};
    std::map<std::string, std::string> folders;

    std::optional<CCoor> result;  // what the single-point driver gives; none: it stops before
    CCoor last;
    CCoor departure;
    FileRunFiles files;
    int points = 0, fileRuns = 0, lastType = 0;
    bool conversion = false, report = false, reportAtRun = false;
};

// File dialogs answered from a script; the requests are kept.
class ScriptedDialogs : public FileDialogs {
public:
    std::optional<std::string> choose(const FileDialogRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> requests;
};

class PageEntryTest : public ::testing::Test {
public:
    PageModel& page(const PageSettings& loaded) {
        test::writeFile(work_.file("cat.dat"), test::latin1Lines(kCatalogue));
        if (catalogue_.systems.empty()) {
            EXPECT_EQ(loadCatalogue(work_.file("cat.dat"), catalogue_).status, CatalogueLoadStatus::Loaded);
        }
        settings_ = loaded;
        model_ = std::make_unique<PageModel>(catalogue_, 1, settings_, ui_, &services_, &dialogs_);
        model_->initialise();
        return *model_;
    }
    // A geographic page in the given departure and arrival units.
    PageModel& geographic(const std::string& departureUnit = "Degrés décimaux",
                          const std::string& arrivalUnit = "Degrés décimaux") {
        PageSettings s;
        s.departureSystem = "RGF93";
        s.arrivalSystem = "Autre";
        s.departureType = s.arrivalType = "Géographiques";
        s.departureUnit = departureUnit;
        s.arrivalUnit = arrivalUnit;
        return page(s);
    }
    // A file-mode page over files of the work folder.
    PageModel& fileMode() {
        PageSettings s;
        s.mode = 1;
        s.departureSystem = "RGF93";
        s.arrivalSystem = "Autre";
        s.departureType = s.arrivalType = "Planes";
        s.departureFolder = s.arrivalFolder = work_.str() + "/";
        s.departureFileName = "depart.txt";
        s.arrivalFileName = "arrivee.txt";
        s.departureFormat = "Nom E N Altitude";
        s.arrivalFormat = "Nom E N Altitude";
        test::writeFile(work_.file("depart.txt"), "P 1 2 3\n");
        return page(s);
    }
    std::vector<std::string> said() const {
        std::vector<std::string> texts;
        for (const auto& m : ui_.messages) texts.push_back(m.text);
        return texts;
    }

    test::TempDir work_;
    Catalogue catalogue_;
    PageSettings settings_;
    test::RecordingUserInterface ui_;
    RecordingServices services_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<PageModel> model_;
};

TEST_F(PageEntryTest, EntryFieldsAreValidatedInTheirOrder) {
    struct Case {
        int field;
        const char* text;
        const char* message;  // empty: accepted
    } cases[] = {
        {1075, "60", "Tapez un nombre entier compris entre 0 et 59."},
        {1062, "181", "Tapez un nombre entier compris entre 0 et 180."},
        {1073, "-1", "Tapez un nombre entier compris entre 0 et 90."},
        {1069, "1.5", "Tapez un nombre entier."},
        {1069, "", "Tapez un nombre entier."},
        {1071, "60", "Tapez un nombre compris entre 0 et 59.999999999999."},
        {1079, "deux", "Tapez un nombre."},
        {1056, "1e9", "Tapez un nombre compris entre -999999999 et 999999999."},
        {1057, "-1000000000", "Tapez un nombre compris entre -999999999 et 999999999."},
        {1050, "1,5", "Tapez un nombre."},
        {1050, "nan", "Tapez un nombre."},
        {1064, "--2", "Tapez un nombre."},
        {1050, " +12.5 ", ""},
        {1062, " 7 ", ""},
        {1071, "59.999999999999", ""},
        {1058, "-12.25", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " '" + c.text + "'");
        PageModel& p = geographic("Degrés Minutes Secondes");
        ui_.messages.clear();
        p.setText(c.field, c.text);
        const bool stored = p.store();
        if (*c.message == '\0') {
            EXPECT_TRUE(stored);
            EXPECT_TRUE(ui_.messages.empty());
            EXPECT_EQ(p.focus(), 0);
        } else {
            EXPECT_FALSE(stored);
            ASSERT_EQ(ui_.messages.size(), 1u);
            EXPECT_EQ(ui_.messages[0].text, c.message);
            EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Warning);
            EXPECT_EQ(p.focus(), c.field);
        }
    }
    // A failed field leaves the later ones unstored, and the show puts back what was stored.
    PageModel& p = geographic();
    p.setText(1075, "60");
    p.setText(kPointName, "Nouveau nom");
    EXPECT_FALSE(p.store());
    EXPECT_EQ(settings_.pointName, "");
    p.show();
    EXPECT_EQ(p.text(1075), "0");
    // Shown values are written in their shortest form.
    p.setText(1050, "2.50");
    p.setText(1064, "1e2");
    ASSERT_TRUE(p.store());
    p.show();
    EXPECT_EQ(p.text(1050), "2.5");
    EXPECT_EQ(p.text(1064), "100");
}

TEST_F(PageEntryTest, PointNameKeepsThirtyCharacters) {
    PageModel& p = geographic();
    p.setText(kPointName, "Borne géodésique numéro 12345678 du canton");
    EXPECT_EQ(p.text(kPointName), "Borne géodésique numéro 123456");
    ASSERT_TRUE(p.store());
    EXPECT_EQ(settings_.pointName, "Borne géodésique numéro 123456");
}

TEST_F(PageEntryTest, DepartureUnitChangeResetsItsFieldsAndLabels) {
    PageModel& p = geographic();
    p.setText(1050, "2.5");
    p.setText(1062, "12");
    p.setText(1058, "150");
    ASSERT_TRUE(p.store());
    p.selectionChanged(kDepartureUnits, "Degrés Minutes Secondes");
    for (const int id : {1062, 1069, 1071, 1073, 1075, 1077, 1058, 1064}) EXPECT_EQ(p.text(id), "0") << id;
    EXPECT_EQ(p.text(1050), "2.5") << "the hidden decimal field keeps its value";
    for (const int id : {1062, 1069, 1071, 1068, 1070, 1072}) EXPECT_TRUE(p.control(id).visible) << id;
    for (const int id : {1050, 1079, 1080}) EXPECT_FALSE(p.control(id).visible) << id;

    // Selecting the unit already stored resets nothing.
    ASSERT_TRUE(p.store());
    p.setText(1062, "45");
    ASSERT_TRUE(p.store());
    p.selectionChanged(kDepartureUnits, "Degrés Minutes Secondes");
    EXPECT_EQ(p.text(1062), "45");

    struct Step {
        const char* unit;
        const char* degrees;
        const char* minutes;
        const char* seconds;
        std::vector<int> shown, hidden;
    } steps[] = {
        {"Heures Minutes Secondes", "h", "mn", "s", {1062, 1069, 1071, 1072}, {1050, 1079}},
        {"Degrés Minutes Secondes", "°", "'", "\"", {1062, 1069, 1071}, {1050, 1079}},
        {"Degrés Minutes décimales", "°", "'", "\"", {1062, 1068, 1079, 1080, 1081}, {1069, 1071, 1072, 1050}},
        {"Degrés décimaux", "°", "'", "\"", {1050, 1051}, {1062, 1069, 1079, 1068}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.unit);
        ASSERT_TRUE(p.store());
        p.selectionChanged(kDepartureUnits, s.unit);
        EXPECT_EQ(p.text(1068), s.degrees);
        EXPECT_EQ(p.text(1074), s.degrees);
        EXPECT_EQ(p.text(1070), s.minutes);
        EXPECT_EQ(p.text(1078), s.seconds);
        for (const int id : s.shown) EXPECT_TRUE(p.control(id).visible) << id;
        for (const int id : s.hidden) EXPECT_FALSE(p.control(id).visible) << id;
    }
}

TEST_F(PageEntryTest, TypedPointCarriesItsSignsAndVerticalValue) {
    struct Case {
        const char* unit;
        std::vector<std::pair<int, const char*>> typed;
        int clickLon, clickLat;  // hemisphere radios
        int vertical;            // radio
        const char* refusal;     // empty: computed
        double lon, lat, h, altitude;
    } cases[] = {
        {"Degrés Minutes Secondes", {{1073, "45"}, {1075, "30"}, {1077, "15.5"}, {1062, "2"}}, kDepartureEast,
         kDepartureSouth, kHeightRadio, "", 2.0, -45.30155, 0, 0},
        {"Degrés décimaux", {{1050, "-2"}, {1051, "45"}}, kDepartureEast, kDepartureNorth, kHeightRadio,
         "Ne pas saisir de signe négatif pour la longitude,\nutiliser le radio bouton \"Ouest\"", 0, 0, 0, 0},
        {"Degrés décimaux", {{1050, "-2"}, {1051, "-45"}}, kDepartureEast, kDepartureNorth, kHeightRadio,
         "Ne pas saisir de signe négatif pour la latitude ,\nutiliser le radio bouton \"Sud\"\nDe plus, en france "
         "la latitude est d'environ 45° !",
         0, 0, 0, 0},
        {"Degrés décimaux", {{1050, "2"}, {1051, "45"}, {1064, "100"}}, kDepartureWest, kDepartureNorth,
         kHeightRadio, "", -2.0, 45.0, 100, 0},
        {"Degrés décimaux", {{1050, "2"}, {1051, "45"}, {1058, "35.5"}}, kDepartureEast, kDepartureNorth,
         kAltitudeRadio, "", 2.0, 45.0, 35.5, 35.5},
        {"Degrés décimaux", {{1050, "2"}, {1051, "45"}, {1058, "35.5"}}, kDepartureEast, kDepartureNorth,
         kNoVerticalRadio, "", 2.0, 45.0, 0, 0},
        {"Degrés Minutes décimales", {{1062, "3"}, {1079, "7.5"}, {1073, "47"}, {1081, "0.25"}}, kDepartureWest,
         kDepartureNorth, kHeightRadio, "", -3.075, 47.0025, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " " + c.typed.front().second);
        services_ = {};
        PageModel& p = geographic(c.unit);
        p.setPointName("B12");
        for (const auto& [id, text] : c.typed) p.setText(id, text);
        p.clicked(c.clickLon);
        p.clicked(c.clickLat);
        p.clicked(c.vertical);
        ui_.messages.clear();
        p.compute();
        if (*c.refusal != '\0') {
            ASSERT_EQ(said(), std::vector<std::string>{c.refusal});
            EXPECT_EQ(ui_.messages[0].icon, MessageIcon::None);
            EXPECT_EQ(services_.points, 0);
            continue;
        }
        ASSERT_EQ(services_.points, 1);
        const CCoor& d = services_.departure;
        EXPECT_EQ(d.type, kGeographic);
        EXPECT_DOUBLE_EQ(d.lon, c.lon);
        EXPECT_DOUBLE_EQ(d.lat, c.lat);
        EXPECT_DOUBLE_EQ(d.h, c.h);
        EXPECT_DOUBLE_EQ(d.altitude, c.altitude);
        EXPECT_EQ(d.name, "B12");
        EXPECT_EQ(d.sys.system->name, "RGF93");
        EXPECT_EQ(d.sys.meridian->name, "Greenwich");
        EXPECT_EQ(d.verticalMode, c.vertical == kHeightRadio ? 1 : c.vertical == kAltitudeRadio ? 2 : 0);
    }
}

TEST_F(PageEntryTest, ResultsShownPerUnitAndReexpressed) {
    struct Case {
        int unit;
        double lon, lat;
        std::vector<std::pair<int, const char*>> shown;
        bool west, south;
    } cases[] = {
        {kDecimalDegrees, -2.5, 45.25, {{1083, "2.50000000"}, {1084, "45.25000000"}}, true, false},
        {kRadians, 0.1, -0.5, {{1083, "0.1000000000"}, {1084, "0.5000000000"}}, false, true},
        {kSecondsOfHour, 3600, 1, {{1083, "3600.000000"}, {1084, "1.000000"}}, false, false},
        {kPackedDms, -2.30155, 45.0001, {{1099, "2"}, {1101, "30"}, {1103, "15.50000"}, {1105, "45"}, {1107, "0"},
                                         {1109, "1.00000"}}, true, false},
        {kPackedHms, 1.3, 3, {{1099, "1"}, {1101, "30"}, {1103, "0.000000"}}, false, false},
        // Seconds and minutes that round up to 60 carry.
        {kPackedDms, 2.2059999999999, 48.5959999999999, {{1099, "2"}, {1101, "21"}, {1103, "0.00000"}, {1105, "49"},
                                                         {1107, "0"}, {1109, "0.00000"}}, false, false},
        {kPackedHms, 1.2959999999999, 0, {{1099, "1"}, {1101, "30"}, {1103, "0.000000"}}, false, false},
        {kPackedDm, 2.5999999999999, 0, {{1099, "3"}, {1111, "0.000000"}}, false, false},
        {kPackedDm, 2.075, -47.1, {{1099, "2"}, {1111, "7.500000"}, {1105, "47"}, {1113, "10.000000"}}, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        PageModel& p = geographic();
        CCoor r;
        r.type = kGeographic;
        r.unit = c.unit;
        r.lon = c.lon;
        r.lat = c.lat;
        r.h = 51.25;
        r.altitude = 2;
        p.showResult(r);
        for (const auto& [id, text] : c.shown) EXPECT_EQ(p.text(id), text) << id;
        EXPECT_EQ(p.text(1095), "51.250");
        EXPECT_EQ(p.text(1091), "2.000");
        EXPECT_EQ(p.checked(kArrivalWest), c.west);
        EXPECT_EQ(p.checked(kArrivalSouth), c.south);
        // Outside every geoid grid the altitude is not known: nothing is shown for it.
        r.geoidPrecisionCode = kOutsideGeoidGrid;
        p.showResult(r);
        EXPECT_EQ(p.text(1091), "");
        EXPECT_EQ(p.text(1095), "51.250");
    }

    // The arrival hemisphere turns the last result round the world.
    PageModel& p = geographic();
    CCoor r;
    r.type = kGeographic;
    r.unit = kDecimalDegrees;
    r.lon = -2.5;
    services_.result = r;
    p.setText(1050, "1");
    p.setText(1051, "45");
    p.compute();
    EXPECT_EQ(p.text(1083), "2.50000000");
    EXPECT_TRUE(p.checked(kArrivalWest));
    p.clicked(kArrivalEast);
    EXPECT_EQ(p.text(1083), "357.50000000");
    EXPECT_TRUE(p.checked(kArrivalEast));
    EXPECT_DOUBLE_EQ(services_.last.lon, 357.5);
    p.clicked(kArrivalEast);
    EXPECT_EQ(p.text(1083), "357.50000000") << "a positive longitude stays";
    services_.last.lon = 0;
    p.clicked(kArrivalEast);
    EXPECT_EQ(p.text(1083), "360.00000000");
    services_.last.lon = 0;
    p.clicked(kArrivalWest);
    EXPECT_EQ(p.text(1083), "360.00000000");
    EXPECT_TRUE(p.checked(kArrivalWest));

    // Another arrival unit shows the same result in it, without changing the result.
    services_.last.lon = 2.5;
    services_.last.lat = 45.5;
    p.selectionChanged(kArrivalUnits, "Degrés Minutes Secondes");
    EXPECT_EQ(p.text(1099), "2");
    EXPECT_EQ(p.text(1101), "30");
    EXPECT_EQ(p.text(1107), "30");
    EXPECT_TRUE(p.control(1099).visible);
    EXPECT_FALSE(p.control(1083).visible);
    EXPECT_EQ(settings_.arrivalUnit, "Degrés Minutes Secondes");
    EXPECT_DOUBLE_EQ(services_.last.lon, 2.5);

    // Another arrival meridian re-counts the longitude from it and keeps that result.
    p.selectionChanged(kArrivalMeridians, "Paris");
    EXPECT_NEAR(services_.last.lon, degreesToDms(2.5 - 2.5969213 * 0.9), 1e-9);
    EXPECT_TRUE(p.checked(kArrivalEast));
}

TEST_F(PageEntryTest, ProjectedResultWithConvergenceAndPrecision) {
    // The projections with a point scale factor enable the convergence; the labels name the
    // projection's linear unit.
    const struct {
        const char* projection;
        bool scaled;
        const char* east;
        const char* north;
    } cases[] = {{"Lambert 93", true, "E(m)", "N(m)"},
                 {"LAEA Europe", false, "E(m)", "N(m)"},
                 {"TM France (ftUS)", true, "E(ftUS)", "N(ftUS)"},
                 {"Albers France", false, "E(m)", "N(m)"}};
    for (const auto& c : cases) {
        const char* projection = c.projection;
        SCOPED_TRACE(projection);
        PageSettings s;
        s.departureSystem = "RGF93";
        s.arrivalSystem = "RGF93";
        s.departureType = "Géographiques";
        s.arrivalType = "Planes";
        s.arrivalProjection = projection;
        s.arrivalUnit = "Degrés Minutes Secondes";
        PageModel& p = page(s);
        CCoor r;
        r.type = kProjected;
        r.sys.system = findByName(catalogue_.systems, "RGF93");
        r.e = 652301.5654;
        r.n = 6861302.7256;
        r.altitude = 35;
        r.alteration = -12.34;
        r.convergence = 0.5;  // decimal degrees
        r.convergenceUnit = kDecimalDegrees;
        r.precisionCode = 1;
        services_.result = r;
        p.setText(1050, "2.35");
        p.setText(1051, "48.85");
        p.compute();
        EXPECT_EQ(p.text(1089), "652301.565");
        EXPECT_EQ(p.text(1090), "6861302.726");
        EXPECT_EQ(p.text(1091), "35.000");
        EXPECT_EQ(p.text(1117), "-12.3");
        EXPECT_EQ(p.text(1116), "0.30000") << "in the arrival unit";
        EXPECT_EQ(p.control(1116).enabled, c.scaled);
        EXPECT_EQ(p.text(kArrivalEastLabel), c.east);
        EXPECT_EQ(p.text(kArrivalNorthLabel), c.north);
        EXPECT_TRUE(p.control(1116).visible);
        EXPECT_EQ(p.comment().rfind("La transformation sans changement de système ne dégrade pas la précision", 0),
                  0u)
            << p.comment();
    }
    // A different arrival system gives the precision of both components.
    PageModel& p = geographic();
    CCoor r;
    r.type = kGeographic;
    r.unit = kDecimalDegrees;
    r.sys.system = findByName(catalogue_.systems, "Autre");
    services_.result = r;
    p.compute();
    EXPECT_EQ(p.comment().rfind("La précision de la transformation est : ", 0), 0u) << p.comment();
}

TEST_F(PageEntryTest, NothingComputedShowsNoResult) {
    // After a shown result, a computation that gives none empties every arrival value (the previous
    // result is not this point's) and says why; the arrival unit and hemisphere then bring
    // nothing back.
    const std::string refused = "Aucun résultat : la saisie a été refusée. Corrigez-la, puis lancez le calcul à nouveau.";
    const std::string notComputed = "Aucun résultat : le point n'a pas été transformé (voir le message précédent).";
    struct Case {
        const char* name;
        const char* departureType;
        std::function<void(PageModel&, RecordingServices&)> arrange;
        std::string comment;
        int driverCalls;  // after the first, successful computation
    } cases[] = {
        {"refused entry", "Planes", [](PageModel& p, RecordingServices&) { p.setText(1056, "abc"); }, refused, 1},
        {"negative longitude", "Géographiques", [](PageModel& p, RecordingServices&) { p.setText(1050, "-2"); },
         refused, 1},
        {"driver gives none (declined, outside the grid, chain error)", "Planes",
         [](PageModel&, RecordingServices& s) { s.result.reset(); }, notComputed, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services_ = {};
        ui_ = {};
        PageSettings s;
        s.departureSystem = "RGF93";
        s.arrivalSystem = "Autre";
        s.departureType = c.departureType;
        s.arrivalType = "Planes";
        s.arrivalUnit = "Degrés décimaux";
        PageModel& p = page(s);
        CCoor r;
        r.type = kProjected;
        r.e = 652000;
        r.n = 6862000;
        r.altitude = 12.5;
        r.convergence = 0.5;
        r.convergenceUnit = kDecimalDegrees;
        services_.result = r;
        p.setText(1050, "2");
        p.setText(1051, "45");
        p.setText(1056, "652000");
        p.setText(1057, "6862000");
        p.compute();
        ASSERT_EQ(p.text(1089), "652000.000");
        ASSERT_TRUE(p.resultShown());

        c.arrange(p, services_);
        p.compute();
        EXPECT_EQ(services_.points, c.driverCalls);
        EXPECT_FALSE(p.resultShown());
        for (const int id : {1089, 1090, 1091, 1095, 1116, 1117}) EXPECT_EQ(p.text(id), "") << id;
        EXPECT_EQ(p.comment(), c.comment);
        p.selectionChanged(kArrivalUnits, "Grades");
        EXPECT_EQ(p.text(1116), "") << "the convergence of the previous result";
    }
    // A geographic arrival: the hemisphere and meridian bring back nothing either.
    services_ = {};
    PageModel& p = geographic();
    p.setText(1050, "1");
    p.setText(1051, "45");
    p.compute();
    EXPECT_EQ(p.text(1083), "");
    services_.last.type = kGeographic;
    services_.last.unit = kDecimalDegrees;
    services_.last.lon = -2.5;
    p.clicked(kArrivalEast);
    p.selectionChanged(kArrivalMeridians, "Paris");
    p.selectionChanged(kArrivalUnits, "Degrés Minutes Secondes");
    for (const int id : {1083, 1084, 1099, 1101, 1103}) EXPECT_EQ(p.text(id), "") << id;
}

TEST_F(PageEntryTest, FileChecksInTheirOrder) {
    struct Case {
        const char* name;
        std::function<void(PageModel&, PageEntryTest&)> arrange;
        std::vector<bool> answers;                        // to the questions, in order
        std::deque<std::optional<std::string>> choices;  // of the dialogs, in order
        std::vector<std::string> messages;
        std::vector<std::string> questions;
        int dialogsOpened;
        bool runs;
    };
    const std::string folder = work_.str() + "/";
    const std::string report = "\nSouhaitez vous l'écriture d'un fichier rapport contenant:\n\t-les systèmes,\n\t-les "
                               "projections,\n\t-les unités,\n\t-les ellipsoïdes,\n\t-les coordonnées de départ et "
                               "d'arrivée  ?\n\n\nAttention!Le temps de calcul en sera environ doublé!";
    const std::vector<Case> cases = {
        {"empty departure name", [](PageModel& p, PageEntryTest&) { p.setText(kDepartureFileName, ""); }, {}, {},
         {"Veuillez saisir un nom de fichier de départ, s'il vous plait !"}, {}, 0, false},
        {"empty arrival name", [](PageModel& p, PageEntryTest&) { p.setText(kArrivalFileName, ""); }, {}, {},
         {"Veuillez saisir un nom de fichier d'arrivée s'il vous plait !"}, {}, 0, false},
        {"departure is arrival", [](PageModel& p, PageEntryTest&) { p.setText(kArrivalFileName, "depart.txt"); },
         {}, {}, {"Impossible de lire et d'écrire dans les mêmes fichiers !"}, {}, 0, false},
        // Another name of the departure file is the same file: refused before the existing-file
        // question, whose yes would replace it.
        {"arrival typed as ./departure", [](PageModel& p, PageEntryTest&) { p.setText(kArrivalFileName, "./depart.txt"); },
         {}, {}, {"Impossible de lire et d'écrire dans les mêmes fichiers !"}, {}, 0, false},
        {"arrival a symbolic link to the departure",
         [](PageModel& p, PageEntryTest& t) {
             std::filesystem::create_symlink(t.work_.file("depart.txt"), t.work_.file("lien.txt"));
             p.setText(kArrivalFileName, "lien.txt");
         },
         {}, {}, {"Impossible de lire et d'écrire dans les mêmes fichiers !"}, {}, 0, false},
        {"arrival a hard link to the departure",
         [](PageModel& p, PageEntryTest& t) {
             std::filesystem::create_hard_link(t.work_.file("depart.txt"), t.work_.file("dur.txt"));
             p.setText(kArrivalFileName, "dur.txt");
         },
         {}, {}, {"Impossible de lire et d'écrire dans les mêmes fichiers !"}, {}, 0, false},
        {"arrival chosen in the dialog under another spelling",
         [](PageModel& p, PageEntryTest& t) {
             std::filesystem::create_directories(t.work_.path() / "sous");
             t.dialogs_.answers = {t.work_.str() + "/sous/../depart.txt"};
             p.clicked(kArrivalBrowse);
         },
         {}, {}, {"Impossible de lire et d'écrire dans les mêmes fichiers !"}, {}, 1, false},
        {"report a link to the departure",
         [](PageModel&, PageEntryTest& t) {
             std::filesystem::create_symlink(t.work_.file("depart.txt"), t.work_.file("rapport.prt"));
         },
         {true}, {folder + "rapport.prt"},
         {"Le fichier " + folder + "rapport.prt est déjà utilisé, ce n'est pas un fichier rapport !"}, {report}, 1,
         false},
        {"report the arrival under another spelling", [](PageModel&, PageEntryTest&) {}, {true},
         {folder + "./arrivee.txt"},
         {"Le fichier " + folder + "./arrivee.txt est déjà utilisé, ce n'est pas un fichier rapport !"}, {report}, 1,
         false},
        {"no arrival format", [](PageModel& p, PageEntryTest&) { p.selectionChanged(kArrivalSystems, "Vide"); }, {},
         {}, {"Veuillez choisir un format de données pour le fichier d'arrivée"}, {}, 0, false},
        {"no report", [](PageModel&, PageEntryTest&) {}, {false}, {}, {}, {report}, 0, true},
        {"report chosen", [](PageModel&, PageEntryTest&) {}, {true}, {folder + "rapport.prt"}, {}, {report}, 1, true},
        {"report dialog cancelled", [](PageModel&, PageEntryTest&) {}, {true}, {std::nullopt}, {}, {report}, 1, true},
        {"report is the departure", [](PageModel&, PageEntryTest&) {}, {true}, {folder + "depart.txt"},
         {"Le fichier " + folder + "depart.txt est déjà utilisé, ce n'est pas un fichier rapport !"}, {report}, 1,
         false},
        {"typed arrival exists, kept",
         [](PageModel& p, PageEntryTest& t) {
             test::writeFile(t.work_.file("existe.txt"), "x");
             p.setText(kArrivalFileName, "existe.txt");
         },
         {false}, {std::nullopt}, {}, {folder + "existe.txt existe déjà.\nVoulez-vous le remplacer ?"}, 1, false},
        {"typed arrival exists, replaced",
         [](PageModel& p, PageEntryTest& t) {
             test::writeFile(t.work_.file("existe.txt"), "x");
             p.setText(kArrivalFileName, "existe.txt");
         },
         {true, false}, {}, {}, {folder + "existe.txt existe déjà.\nVoulez-vous le remplacer ?", report}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services_ = {};
        dialogs_ = {};
        ui_ = {};
        for (const char* name : {"lien.txt", "dur.txt", "rapport.prt"}) std::filesystem::remove(work_.file(name));
        PageModel& p = fileMode();
        c.arrange(p, *this);
        ui_.answers = c.answers;
        dialogs_.answers = c.choices;
        p.compute();
        EXPECT_EQ(said(), c.messages);
        std::vector<std::string> asked;
        for (const auto& q : ui_.questions) asked.push_back(q.text);
        EXPECT_EQ(asked, c.questions);
        EXPECT_EQ(static_cast<int>(dialogs_.requests.size()), c.dialogsOpened);
        EXPECT_EQ(services_.fileRuns, c.runs ? 1 : 0);
        if (c.runs) {
            EXPECT_EQ(services_.files.departurePath, folder + "depart.txt");
            EXPECT_EQ(services_.files.departureFormat, 16);
            EXPECT_EQ(services_.reportAtRun, !c.choices.empty() && c.choices.front().has_value());
        }
    }
    // The existing-file question has No as its default, and No opens the arrival dialog.
    services_ = {};
    dialogs_ = {};
    ui_ = {};
    PageModel& p = fileMode();
    test::writeFile(work_.file("existe.txt"), "x");
    p.setText(kArrivalFileName, "existe.txt");
    ui_.answers = {false};
    dialogs_.answers = {folder + "existe.txt"};  // the same name picked in the dialog
    p.compute();
    ASSERT_EQ(ui_.questions.size(), 1u);
    EXPECT_FALSE(ui_.questions[0].yesIsDefault);
    EXPECT_EQ(ui_.questions[0].icon, MessageIcon::Warning);
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    EXPECT_EQ(dialogs_.requests[0].kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(dialogs_.requests[0].fileName, "existe.txt");
    // The name picked in the dialog is the one shown, so nothing was typed: no question this time,
    // except that the arrival file has not changed since the last run that was checked.
    ui_ = {};
    ui_.answers = {true, false};
    p.compute();
    std::vector<std::string> asked;
    for (const auto& q : ui_.questions) asked.push_back(q.text);
    EXPECT_EQ(asked, (std::vector<std::string>{"Vous n'avez pas changé le fichier d'arrivée depuis le dernier calcul "
                                               "!\nVoulez-vous continuer ?",
                                               report}));
    EXPECT_EQ(services_.fileRuns, 1);
    // Running again with the same arrival asks first; No runs nothing.
    ui_ = {};
    ui_.answers = {false};
    p.compute();
    EXPECT_EQ(ui_.questions.size(), 1u);
    EXPECT_EQ(services_.fileRuns, 1);
}

TEST_F(PageEntryTest, BrowsingSetsPathsAndATypedDepartureNameIsRead) {
    PageModel& p = fileMode();
    const std::string folder = work_.str() + "/";
    fs::create_directories(work_.path() / "autre");
    dialogs_.answers = {folder + "autre/mesures.txt", folder + "autre/resultat.txt"};
    p.clicked(kDepartureBrowse);
    p.clicked(kArrivalBrowse);
    ASSERT_EQ(dialogs_.requests.size(), 2u);
    EXPECT_EQ(dialogs_.requests[0].kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(dialogs_.requests[0].folder, folder);
    EXPECT_EQ(dialogs_.requests[0].fileName, "depart.txt");
    EXPECT_EQ(dialogs_.requests[0].defaultExtension, "*.txt");
    EXPECT_EQ(settings_.departureFolder, folder + "autre/");
    EXPECT_EQ(p.text(kDepartureFileName), "mesures.txt");
    EXPECT_EQ(p.text(kArrivalFileName), "resultat.txt");
    EXPECT_EQ(p.comment(), "Saisir les systèmes et unités.-- Fichiers : de " + folder + "autre/mesures.txt vers " + folder +
                               "autre/resultat.txt");
    // A departure name typed after browsing is read from the browsed folder.
    p.setText(kDepartureFileName, "autres_mesures.txt");
    ui_.answers = {false};
    p.compute();
    EXPECT_EQ(services_.files.departurePath, folder + "autre/autres_mesures.txt");
    EXPECT_EQ(services_.files.arrivalPath, folder + "autre/resultat.txt");
}

TEST_F(PageEntryTest, TypedNamesFoldersAndTheFilesComment) {
    // Names typed into the edits: a name goes into its setting's folder, as the application finds
    // it (a relative folder such as the examples of the default data); a full path is taken as
    // it is. The comment names the files the next run uses, as they are typed.
    const std::string folder = work_.str() + "/";
    fs::create_directories(work_.path() / "exemples");
    services_.folders["exemples/"] = folder + "exemples/";
    struct Case {
        const char* name;
        const char* departure;
        const char* arrival;
        std::string departurePath, arrivalPath;
    } cases[] = {
        {"names", "a.txt", "b.txt", folder + "exemples/a.txt", folder + "b.txt"},
        {"full paths", "/tmp/zelvo-a.txt", "/tmp/zelvo-b.txt", "/tmp/zelvo-a.txt", "/tmp/zelvo-b.txt"},
        {"a full arrival path", "a.txt", "/tmp/x/b.txt", folder + "exemples/a.txt", "/tmp/x/b.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services_.fileRuns = 0;
        ui_ = {};
        PageSettings s = settings_;
        s.mode = 1;
        s.departureSystem = "RGF93";
        s.arrivalSystem = "Autre";
        s.departureType = s.arrivalType = "Planes";
        s.departureFolder = "exemples/";
        s.arrivalFolder = folder;
        s.departureFormat = s.arrivalFormat = "Nom E N Altitude";
        PageModel& p = page(s);
        p.setText(kDepartureFileName, c.departure);
        EXPECT_NE(p.comment().find("de " + c.departurePath + " vers "), std::string::npos) << p.comment();
        p.setText(kArrivalFileName, c.arrival);
        EXPECT_EQ(p.comment(), "Saisir les systèmes et unités.-- Fichiers : de " + c.departurePath + " vers " +
                                   c.arrivalPath);
        ui_.answer = false;  // no report
        p.compute();
        ASSERT_EQ(services_.fileRuns, 1);
        EXPECT_EQ(services_.files.departurePath, c.departurePath);
        EXPECT_EQ(services_.files.arrivalPath, c.arrivalPath);
        EXPECT_EQ(settings_.departureFolder, "exemples/") << "the setting keeps its folder as written";
    }
    // The browse dialogs start in the folders as found.
    PageModel& p = page(settings_);
    dialogs_ = {};
    p.clicked(kDepartureBrowse);
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    EXPECT_EQ(dialogs_.requests[0].folder, folder + "exemples/");
}

TEST(ApplicationServices, FoldersOfTheSettingsAreFoundAsTheDataIs) {
    // A relative folder is the working folder's, else the configuration's, else the default
    // data's; an absolute one is kept; an empty one is the working folder.
    test::TempDir dir;
    CZelvoApp app;
    app.workingDirectory = dir.str() + "/travail/";
    app.iniPath = dir.file("conf/zelvo.ini");
    fs::create_directories(dir.path() / "travail/ici");
    fs::create_directories(dir.path() / "conf/ici");
    fs::create_directories(dir.path() / "conf/seulement");
    ApplicationServices services(app);
    struct Case {
        std::string folder, path;
    } cases[] = {
        {"", dir.str() + "/travail/"},
        {"ici", dir.str() + "/travail/ici/"},
        {"seulement/", dir.str() + "/conf/seulement/"},
        {"exemples/", joinPath(embeddedDataDirectory(), "exemples/")},
        {"nulle/part/", dir.str() + "/travail/nulle/part/"},
        {"/un/dossier", "/un/dossier/"},
    };
    for (const Case& c : cases) EXPECT_EQ(services.folderPath(c.folder), c.path) << c.folder;
    EXPECT_TRUE(fs::is_regular_file(services.folderPath("exemples/") + "ntf_lambert2e.txt"))
        << "the default settings' example file";
}

TEST_F(PageEntryTest, FileRunEndInTheComment) {
    // A finished run leaves the files' comment; an interrupted one says so, with the points done,
    // and the same arrival file can be chosen again without the unchanged-file question.
    PageModel& p = fileMode();
    ui_.answers = {false};
    services_.outcome = {FileRunOutcome::End::Interrupted, 1234};
    p.compute();
    ASSERT_EQ(services_.fileRuns, 1);
    EXPECT_EQ(p.comment(), "Transformation interrompue après 1234 point(s) transformé(s) : le fichier d'arrivée " +
                               work_.str() + "/arrivee.txt et le rapport sont restés tels qu'ils étaient.");
    ui_ = {};
    ui_.answers = {false};
    services_.outcome = {FileRunOutcome::End::Written, 2};
    p.compute();
    EXPECT_EQ(services_.fileRuns, 2);
    ASSERT_EQ(ui_.questions.size(), 1u) << "only the report question";
    EXPECT_EQ(p.comment(), "Saisir les systèmes et unités.-- Fichiers : de " + work_.str() + "/depart.txt vers " +
                               work_.str() + "/arrivee.txt");
}

TEST_F(PageEntryTest, FileModeControlsAndBackToInteractive) {
    PageModel& p = geographic("Degrés Minutes Secondes");
    p.clicked(kFile);
    EXPECT_EQ(settings_.verticalChoice, 1);
    for (const int id : {1127, 1128, 1129, 1132, 1135, 1136, kPrintAlteration}) EXPECT_TRUE(p.control(id).visible) << id;
    for (const int id : {1062, 1099, 1018, 1123, kPointName}) EXPECT_FALSE(p.control(id).visible) << id;
    // File mode keeps the departure unit without resetting anything.
    p.setText(1062, "12");
    p.selectionChanged(kDepartureUnits, "Degrés décimaux");
    EXPECT_EQ(p.text(1062), "12");
    p.selectionChanged(kDepartureUnits, "Degrés Minutes Secondes");
    p.clicked(kInteractive);
    for (const int id : {1062, 1069, 1071, 1083, 1084, kPointName}) EXPECT_TRUE(p.control(id).visible) << id;
    for (const int id : {1127, 1050, 1099}) EXPECT_FALSE(p.control(id).visible) << id;
}

}  // namespace
}  // namespace zelvo
