#pragma once
// What a transformation page decides, without any widget: the entries and the selection of each
// of its lists, which control is shown or enabled, which radio is checked, what each edit and unit
// label shows, the comment text, and the cascade that refills the lists when a choice changes; the
// typed point read and validated, the result shown and re-expressed, the file checks and the
// compute operation. The page's widgets show this state by control id and forward their events
// here.

#include <map>
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
inline constexpr int kDepartureEastLabel = 1059, kDepartureNorthLabel = 1060;  // "E(m)", "N(m)"
inline constexpr int kArrivalEastLabel = 1092, kArrivalNorthLabel = 1093;
inline constexpr int kPointName = 1118;
inline constexpr int kComment = 1031;
inline constexpr int kDepartureFileName = 1127, kArrivalFileName = 1129;
inline constexpr int kDepartureBrowse = 1128, kArrivalBrowse = 1132;
// The point name holds at most this many characters.
inline constexpr int kPointNameLength = 30;
}  // namespace page

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

    // The user chose an entry of a list (ignored when the list holds no such entry).
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
    const std::vector<std::string>& entries(int listId) const;  // in the list's own (sorted) order
    const std::string& selection(int listId) const;             // empty when nothing is selected
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

    // The settings record the page works on.
    PageSettings& settings() { return settings_; }
    // What the controls show, into the settings record (false when an entry field holds no valid
    // value: its message was shown, the later fields were not stored); and back.
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

    // Refills a list: store (once initialised), empty, add by the list's rule, select, follow up,
    // show.
    void refill(int listId);
    std::vector<std::string> ruleEntries(int listId) const;
    void followUp(int listId);
    void add(int listId, const std::string& entry, bool prefixTest);
    // The entry the list's prefix search finds for a text (case-insensitive), or none.
    const std::string* find(int listId, std::string_view text) const;
    std::string* field(int listId);

    void departureSystemChange();
    void arrivalSystemChange();
    void typeChange(Side side);
    void arrivalProjectionChange();
    // The labels of the projected values, with the unit of the chosen projections.
    void showProjectionUnits();
    // The arrival projection has no point scale factor (no convergence, no alteration).
    bool arrivalWithoutScale() const;
    void applyLayout(Side side, const std::string& type);
    void applyFileModeEnabling(Side side, const std::string& type);
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
    void applyUnitLayout(Side side, const std::string& unit);
    void departureUnitChange();
    void arrivalUnitChange();
    void arrivalMeridianChange();
    void arrivalHemisphereClick(bool east);
    void computeDisplay(CCoor& arrival, const CCoor& departure);
    // Nothing was computed: the display fields emptied, and why in the comment.
    void noResult(const char* why);
    bool validateEntries();
    CCoor& lastResult();
    CSysCoor systemOf(const std::string& system, const std::string& meridian, const std::string& projection) const;

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
    void check(int id);
    void set(std::initializer_list<int> ids, bool visible, bool enabled);
    void setRange(int first, int last, bool visible, bool enabled);
    void setVisible(std::initializer_list<int> ids, bool visible);
    void setEnabled(std::initializer_list<int> ids, bool enabled);

    const Catalogue& catalogue_;
    const int type_;
    PageSettings& settings_;
    UserInterface& ui_;
    PageServices* services_;
    FileDialogs* dialogs_;
    bool initialised_ = false;
    std::map<int, std::vector<std::string>> entries_;
    std::map<int, std::string> selections_;
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
