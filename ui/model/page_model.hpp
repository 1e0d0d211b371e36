#pragma once
// What a transformation page decides, without any widget: the entries and the selection of each
// of its lists (catalogue numbers and unit, coordinate type and data format codes; their names
// are made only for the widgets and the settings record), which control is shown or enabled, which radio is
// checked, what each edit and unit label shows, the comment text, and the cascade that refills the lists when
// a choice changes; the typed point read and validated, the result shown and re-expressed, the file checks
// and the compute operation. The page's widgets show this state by control id and forward their events here.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/page_settings.hpp"
#include "catalogue/catalogue.hpp"
#include "geodesy/coordinates.hpp"
#include "ui/model/page_services.hpp"

namespace zelvo {

class UserInterface;

// Control ids of the page's lists and radio buttons.
namespace page {
inline constexpr int kDepartureSystems = 1002, kArrivalSystems = 1003;
inline constexpr int kDepartureTypes = 1004, kArrivalTypes = 1005;
inline constexpr int kDepartureProjections = 1007, kArrivalProjections = 1008;
inline constexpr int kDepartureUnits = 1012, kArrivalUnits = 1013;
inline constexpr int kDepartureMeridians = 1017, kArrivalMeridians = 1019;
inline constexpr int kVerticalSystems = 1142;
inline constexpr int kDepartureFormats = 1135, kArrivalFormats = 1136;
inline constexpr int kNoVerticalRadio = 1124, kHeightRadio = 1125, kAltitudeRadio = 1126;
inline constexpr int kInteractive = 1139, kFile = 1140;
inline constexpr int kDepartureEast = 1018, kDepartureWest = 1021, kDepartureNorth = 1022, kDepartureSouth = 1023;
inline constexpr int kArrivalEast = 1038, kArrivalWest = 1039, kArrivalNorth = 1041, kArrivalSouth = 1042;
inline constexpr int kPrintAlteration = 1016;
inline constexpr int kPointName = 1118, kPointNameLabel = 1119;
inline constexpr int kComment = 1031;
// The departure side's labels and frames.
inline constexpr int kDepartureUnitLabel = 1033, kDepartureMeridianGroup = 1046;
inline constexpr int kDepartureLongitudeSigns = 1024, kDepartureLatitudeSigns = 1025;  // frames of the radios
inline constexpr int kDepartureLonLabel = 1065, kDepartureLatLabel = 1066;
inline constexpr int kDepartureEastLabel = 1059, kDepartureNorthLabel = 1060;  // "E(m)", "N(m)"
inline constexpr int kDepartureHeightLabel = 1067, kDepartureAltitudeLabel = 1061;
// The departure side's entry fields. X and Y also hold a decimal longitude and latitude.
inline constexpr int kDepartureX = 1050, kDepartureY = 1051, kDepartureZ = 1052;
inline constexpr int kDepartureEasting = 1056, kDepartureNorthing = 1057;
inline constexpr int kDepartureHeight = 1064, kDepartureAltitude = 1058;
inline constexpr int kDepartureLonDegrees = 1062, kDepartureLonMinutes = 1069, kDepartureLonSeconds = 1071;
inline constexpr int kDepartureLatDegrees = 1073, kDepartureLatMinutes = 1075, kDepartureLatSeconds = 1077;
inline constexpr int kDepartureLonDecimalMinutes = 1079, kDepartureLatDecimalMinutes = 1081;
// The arrival side's labels and frames.
inline constexpr int kArrivalUnitLabel = 1034, kArrivalMeridianGroup = 1045;
inline constexpr int kArrivalLongitudeSigns = 1037, kArrivalLatitudeSigns = 1040;
inline constexpr int kArrivalLonLabel = 1096, kArrivalLatLabel = 1097;
inline constexpr int kArrivalEastLabel = 1092, kArrivalNorthLabel = 1093;
inline constexpr int kArrivalHeightLabel = 1098, kArrivalAltitudeLabel = 1094;
inline constexpr int kConvergenceLabel = 1122, kAlterationLabel = 1121,
                     kAlterationUnitLabel = 1120;  // "mm/km"
// The arrival side's display fields. X and Y also show a decimal longitude and latitude.
inline constexpr int kArrivalX = 1083, kArrivalY = 1084, kArrivalZ = 1085;
inline constexpr int kArrivalEasting = 1089, kArrivalNorthing = 1090;
inline constexpr int kArrivalHeight = 1095, kArrivalAltitude = 1091;
inline constexpr int kArrivalLonDegrees = 1099, kArrivalLonMinutes = 1101, kArrivalLonSeconds = 1103;
inline constexpr int kArrivalLatDegrees = 1105, kArrivalLatMinutes = 1107, kArrivalLatSeconds = 1109;
inline constexpr int kArrivalLonDecimalMinutes = 1111, kArrivalLatDecimalMinutes = 1113;
inline constexpr int kConvergence = 1116, kAlteration = 1117;
// The vertical component.
inline constexpr int kVerticalGroup = 1123, kVerticalSystemLabel = 1143;
// The file controls of file mode.
inline constexpr int kDepartureFileGroup = 1130, kDepartureFormatLabel = 1141;
inline constexpr int kArrivalFileGroup = 1131, kArrivalFormatLabel = 1138;
// Groups of consecutive controls: the value fields of each side as the layouts show them.
struct ControlRange {
    int first, last;
};
inline constexpr ControlRange kDepartureCartesianFields{1050, 1055};  // X, Y, Z and their labels
inline constexpr ControlRange kDepartureValueFields{1056, 1082};      // projected and geographic entry
inline constexpr ControlRange kDepartureAngleParts{1068, 1082};       // degrees, minutes, seconds
inline constexpr ControlRange kArrivalCartesianFields{1083, 1088};
inline constexpr ControlRange kArrivalAngleParts{1099, 1114};
inline constexpr ControlRange kValueFields{1050, 1114};  // every value field of both sides
inline constexpr int kDepartureFileName = 1127, kArrivalFileName = 1129;
inline constexpr int kDepartureBrowse = 1128, kArrivalBrowse = 1132;
// The point name holds at most this many characters.
inline constexpr int kPointNameLength = 30;
}  // namespace page

// An entry of a list: the code it stands for (the number of a system, projection, meridian or
// vertical system; a coordinate type, unit or data format code) and the name the list shows.
struct ListEntry {
    int code;
    std::string name;
};

struct ControlState {
    bool visible = true;
    bool enabled = true;
};

class PageModel {
public:
    // A page of the given transformation type (1 standard, 2 grid) over the catalogue, working on
    // its settings record (loaded from the configuration file, saved when the program quits).
    // Computing needs the services; the browse buttons and the file checks need the dialogs.
    PageModel(const Catalogue& catalogue, int transformationType, PageSettings& settings, UserInterface& ui,
              PageServices* services = nullptr, FileDialogs* dialogs = nullptr);

    void setFileDialogs(FileDialogs* dialogs) { dialogs_ = dialogs; }

    // The page's window is made: every list filled from the settings, the mode applied.
    void initialise();
    bool initialised() const { return initialised_; }

    // The user chose the entry at a position of a list (ignored when the list holds no such entry).
    void entryChosen(int listId, std::size_t index);
    // The same by the entry's name.
    void selectionChanged(int listId, const std::string& entry);
    // The user clicked a radio button or the check box.
    void clicked(int id);
    // The user typed into the point name.
    void setPointName(const std::string& text) { setText(page::kPointName, text); }
    // The user typed into an edit (entry fields, point name, file names).
    void setText(int id, const std::string& text);
    // "C&alculer": the typed point, or the file run, transformed and its result shown.
    void compute();

    // What the widgets show.
    const std::vector<ListEntry>& listEntries(int listId) const;  // in the list's own (sorted) order
    std::vector<std::string> entries(int listId) const;           // their names
    // The code of the selected entry, its position in the list and its name; none (and an empty
    // name) when nothing is selected.
    std::optional<int> selectedCode(int listId) const;
    std::optional<std::size_t> selectedIndex(int listId) const;
    const std::string& selection(int listId) const;
    ControlState control(int id) const;
    bool checked(int id) const;
    const std::string& pointName() const { return pointName_; }
    const std::string& comment() const { return comment_; }
    // What an edit or a unit label shows (empty for a control without a text of the model's).
    const std::string& text(int id) const;
    // The controls whose text the model gives.
    static std::vector<int> textControls();
    // The entry field that a failed validation gave the focus to; 0 when none did.
    int focus() const { return focus_; }
    // The file paths of the run (full paths).
    const std::string& departurePath() const { return departurePath_; }
    const std::string& arrivalPath() const { return arrivalPath_; }
    const std::string& reportPath() const { return reportPath_; }
    int transformationType() const { return type_; }
    // The tool tip of a control; empty when it has none.
    static std::string_view toolTip(int id);
    // The controls that have a tool tip.
    static std::vector<int> toolTipControls();

    // The settings record the page works on: the configuration file's view of the choices, by
    // name. The page reads the names of the loaded record once, when its lists are first filled,
    // and writes the names of its choices back at every store.
    PageSettings& settings() { return settings_; }
    // The stored choice of a list, as a code: the one of the last store; before the first store,
    // the entry the list's search finds for the loaded setting's name. None for an empty list.
    std::optional<int> storedCode(int listId) const;
    // What the controls show, into the choices and the settings record (false when an entry field
    // holds no valid value: its message was shown, the later fields were not stored); and back.
    bool store();
    void show();

    // Reads the typed point (in file mode only the systems, types and units): false when the signs
    // refuse it.
    bool readPoint(CCoor& departure, CCoor& arrival);
    // Shows an arrival point in the display fields and the arrival hemisphere radios.
    void showResult(const CCoor& point);
    // True while the display fields show the result of the last computation.
    bool resultShown() const { return resultShown_; }

private:
    enum class Side { Departure, Arrival };
    // The lists of a side.
    struct SideLists {
        int systems, types, projections, units, meridians, formats;
    };
    static const SideLists& listsOf(Side side);

    // Refills a list: store (once initialised), empty, add by the list's rule, select, follow up,
    // show.
    void refill(int listId);
    std::vector<ListEntry> ruleEntries(int listId) const;
    void followUp(int listId);
    void add(int listId, const ListEntry& entry, bool prefixTest);
    // The entry the list's prefix search finds for a text (case-insensitive), or none.
    const ListEntry* find(int listId, std::string_view text) const;
    const ListEntry* findCode(int listId, int code) const;
    // The settings record's name of a list's choice: the loaded one, then the name of the last
    // stored choice.
    const std::string& storedName(int listId) const;
    // The entry of a list's stored choice: the one of its code, else the one the list's search
    // finds for its name; none when neither is listed.
    const ListEntry* storedEntry(int listId) const;

    void departureSystemChange();
    void arrivalSystemChange();
    void typeChange(Side side);
    void arrivalProjectionChange();
    // The labels of the projected values, with the unit of the chosen projections.
    void showProjectionUnits();
    // The arrival projection has no point scale factor (no convergence, no alteration).
    bool arrivalWithoutScale() const;
    void applyLayout(Side side, int type);
    void applyFileModeEnabling(Side side, int type);
    // The coordinate type chosen in a type list (kCartesian, kGeographic, kProjected; 0 for none).
    int selectedType(int typeList) const;
    void applyProjectionRule();
    void verticalChoiceOfLayout();
    void verticalGroupByCatalogue();
    void noVerticalAction();
    void altitudeAction();
    void heightAction();
    void interactiveModeAction();
    void fileModeAction();

    // Coordinate entry and display.
    void initialiseTexts();
    void showEntries();
    void applyUnitLayout(Side side, int unit);
    void departureUnitChange();
    void arrivalUnitChange();
    void arrivalMeridianChange();
    void arrivalHemisphereClick(bool east);
    void computeDisplay(CCoor& arrival, const CCoor& departure);
    // Nothing was computed: the display fields emptied, and why in the comment.
    void noResult(const char* why);
    bool validateEntries();
    CCoor& lastResult();
    CSysCoor systemOf(Side side) const;

    // File mode.
    // A file chosen in a dialog becomes the side's path, with its name and folder; false when the
    // dialog was cancelled.
    bool browse(FileDialogRequest::Kind kind, std::string& fileName, std::string& folder, std::string& path);
    void browseDeparture();
    void browseArrival();
    void arrivalNameChanged(const std::string& text);
    bool fileChecks();
    void filesComment();
    // The folder of a setting as a path (see PageServices::folderPath).
    std::string folderPath(const std::string& folder) const;
    // A file name typed or stored: an absolute path as it is, else in the setting's folder.
    std::string pathIn(const std::string& folder, const std::string& name) const;

    const CReg* selectedSystem(Side side) const;
    const CReg* storedSystem(Side side) const;
    const CPrc* storedProjection(int listId) const;
    // The stored code of a list, 0 for none (the unit, type and format lists, whose codes start at 1).
    int storedOrZero(int listId) const { return storedCode(listId).value_or(0); }
    void check(int id);
    void set(std::initializer_list<int> ids, bool visible, bool enabled);
    void setRange(page::ControlRange range, bool visible, bool enabled);
    void setVisible(std::initializer_list<int> ids, bool visible);
    void setEnabled(std::initializer_list<int> ids, bool enabled);

    const Catalogue& catalogue_;
    const int type_;
    PageSettings& settings_;
    UserInterface& ui_;
    PageServices* services_;
    FileDialogs* dialogs_;
    bool initialised_ = false;
    std::map<int, std::vector<ListEntry>> entries_;
    std::map<int, int> selections_;  // the selected entry's code, by list
    // The stored choices, by list: absent until the first store (the loaded names stand for them),
    // none where the list was empty.
    std::map<int, std::optional<int>> choices_;
    std::map<int, ControlState> controls_;
    std::set<int> checked_;
    std::string pointName_;
    std::string comment_;
    std::map<int, std::string> texts_;  // edits and unit labels
    std::map<int, double> values_;      // the entry fields' stored values
    int focus_ = 0;
    CCoor ownLastResult_;  // without services, the page's own
    std::string departurePath_, arrivalPath_, lastArrivalPath_, reportPath_;
    bool arrivalNameTyped_ = false;
    bool reportRequested_ = false;
    bool resultShown_ = false;
};

}  // namespace zelvo
