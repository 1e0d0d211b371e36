#pragma once
// A grid file opened for interpolation: a regular lattice of nodes over a rectangle of longitude
// and latitude (or easting and northing), each node carrying VALUES_NUMBER values and optionally
// a precision code. 1-D grids carry a geoid height, 3-D grids three translations (or seven
// datum-shift parameters).
//
// Life of a grid: construct, set NAME, open (header, XML side file, validation, and in full mode
// the node values, through the binary version of a text grid), interpolate, release.

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/records.hpp"
#include "grids/grid_format.hpp"
#include "grids/grid_numbers.hpp"
#include "grids/grid_vocabulary.hpp"

namespace zelvo {

class TextSource;

// What the making of a binary version tells the layer above while it runs, and how that layer
// asks it to stop. Nothing here speaks to the user: the implementer words and shows it.
class GridOpenObserver {
public:
    virtual ~GridOpenObserver() = default;
    // The binary version at path is being made, in `steps` steps.
    virtual void binaryVersionBegun(const std::string& path, int steps) = 0;
    virtual void binaryVersionStep() = 0;
    virtual void binaryVersionEnded() = 0;
    // Asked after every step: true stops the making (the open then reports Cancelled).
    virtual bool cancelRequested() = 0;
};

// How an open ended.
enum class GridOpenCondition {
    Opened,
    Failed,
    // The program cannot go on: a binary version of an unknown version, or one that can be
    // written nowhere (the caller ends with exit code 1).
    Fatal,
    // The observer asked to stop the making of a binary version.
    Cancelled,
};

struct GridOpenResult {
    GridOpenCondition condition = GridOpenCondition::Opened;
    // Why the open failed; empty when opened.
    std::string message;
    // A binary grid file that does not start with its keyword: what was found instead (its
    // first five bytes up to a zero byte, non-printing ones as '?'), which the caller shows
    // before the message.
    std::optional<std::string> foundKeyword;
    bool opened() const { return condition == GridOpenCondition::Opened; }
};

// Status of an interpolation that needs a node holding NaN or an infinity: the point counts as
// outside the grid.
inline constexpr int kInterpolationNotFinite = 4;

// What a token of a text header must be: an integer (digits and "-"), a real (digits, "." and
// "-"), either of them glued to the text that follows it (the token stops at the first other
// character), or any text up to the next space.
enum class TokenKind { Integer, Real, IntegerForce, RealForce, Text };

// Texts held in 260-byte fields keep at most this many characters.
inline constexpr std::size_t kGridTextMax = 259;
// Values per node that a grid may carry: 1 (geoid), 3 or 7 (datum shift), 4 (NTV2), and room
// for other uses; a header announcing more is refused.
inline constexpr int kMaxValuesPerNode = 64;
// Widest spline window (nodes per side) that a grid may ask for.
inline constexpr int kMaxSplineOrder = 64;

// Size and modification time of the grid file a binary version was made from, as the binary
// version records them (size -1: none recorded).
struct GridSourceStamp {
    long long size = -1;
    long long seconds = 0;
    long long nanoseconds = 0;
    bool operator==(const GridSourceStamp&) const = default;
};

// The header of a grid, each field named by its XML tag, with its default.
struct GridHeader {
    int GRID_TYPE = kFormatUndefined;
    std::string NAME = "UNDEFINED";  // path of the grid file (never cut: it names a file)
    std::string ORIGIN = "UNDEFINED";
    std::string CREATED = "UNDEFINED";
    std::string VERSION = "UNDEFINED";
    std::string KEY = "UNDEFINED";
    std::string DESC = "UNDEFINED";
    int LAYOUT = 0;
    int N_NODES = 0;
    int N_COLUMNS = 0;
    int N_LINES = 0;
    double X_INC = 0;  // in INC_UNIT until validation, then in NODE_COORD_UNIT
    double Y_INC = 0;
    double X_MIN = 0;
    double X_MAX = 0;
    double Y_MIN = 0;
    double Y_MAX = 0;
    int NODE_COORD_TYPE = 0;
    int INC_UNIT = kGridUnitDegrees;
    int NODE_COORD_UNIT = kGridUnitDegrees;
    int NODE_COORD_WRITTEN = 0;
    int EAST_TO_WEST = 0;
    int VALUES_LOCATION = 0;  // 0 NODE, 1 PIXEL_CENTER
    int SEP = 1;
    int VALUES_NUMBER = 0;
    int CODE_PREC = 0;
    int VALUES_TYPE = kValuesUndefined;
    double VALUE_UNK = 0;
    int VALUE_UNK_TO_ZERO = 0;
    std::vector<double> TRANSLATION{0.0};
    double VALUES_MIN = 0;
    double VALUES_MAX = 0;
    int VALUES_UNIT = kGridUnitMeters;
    int INTERPOLATION_TYPE = kInterpolationUndefined;
    int INTERPOLATION_ORDER = 0;
    std::string CRS_CODE_F = "KPTF:WGS84G";
    std::string SYSTEM_F = "UNDEFINED";
    double MAJOR_F = 0;
    double MINOR_F = 0;
    double SQ_EXC_F = 0;
    std::string CRS_CODE_T = "KPTF:WGS84G";
    std::string SYSTEM_T = "UNDEFINED";
    double MAJOR_T = 0;
    double MINOR_T = 0;
    double SQ_EXC_T = 0;
    int NODE_COORD_SYST = 0;
    int SHIFT_TYPE = 0;

    // State that comes with the header.
    long long dataOffset = 0;  // byte offset of the first node record in a binary file
    int valueSize = 0;         // bytes per binary value; a field width for fixed-width text
    int rowEndMarker = 0;      // a line break ends every row of the text data section
    // The format the file is read as, from its extension (GRID_TYPE may be renamed by the side
    // file afterwards); 0 before an open.
    int fileFormat = 0;
    // A GTX or GeoTIFF grid that goes round the globe gets, in its binary version, a copy of its
    // first column after its last, so that longitudes up to 180° east lie inside it.
    int wrapColumn = 0;
    // Folder where the XML side file is looked for when none lies beside the grid (the side files
    // shipped with the default data for PROJ's grids); empty for none.
    std::string sideFileFolder;
    // A binary version's record of the grid it was made from: read from its header, and written
    // into it when set.
    GridSourceStamp source;

    bool operator==(const GridHeader&) const = default;
};

// The node records of a binary grid, held in memory once the grid is fully open: record k (in
// stored order) starts at byte k × recordSize. Shared by copies of a grid.
struct GridNodeData {
    std::vector<unsigned char> bytes;
};

// Whether grids of this format are read through a binary version (the text formats, GTX and
// GeoTIFF).
bool hasBinaryVersion(int format);
// The binary version of the grid file at path: the whole file name followed by ".bin", so that
// "a.gtx" and "a.tif" get binary versions of their own.
std::string binaryVersionPath(const std::string& path);

// Cuts a text to what a 260-byte field holds.
std::string gridText260(std::string_view text);

// GRID_TYPE from the extension of NAME, and the units that go with the format.
void detectFormat(GridHeader& header);
// Replaces the extension of NAME by that of GRID_TYPE; the undefined format keeps it.
void setCanonicalExtension(GridHeader& header);
// The format the file is read as: fileFormat once opened, else GRID_TYPE.
int readFormat(const GridHeader& header);
// Bytes of one node record in a binary file.
long long recordSize(const GridHeader& header);

class CGrille {
public:
    // The grid's header: the file's own, completed by its XML side file.
    GridHeader header;
    // Node values reachable (and, for the grid selection, usable for the current point).
    int loaded = 0;
    // The area covered by the nodes; the chain fills its system numbers.
    CZone extent;

    // The values of node (i, j), column i from X_MIN eastward, line j from Y_MIN northward, and
    // its precision code (0 without codes). A node outside the grid, or a grid whose values are
    // not in memory, gives zeros and code 0.
    void nodeValues(int i, int j, std::vector<double>& values, int& code) const;

    // Interpolation at a point given in node units; 0 inside the domain, 2 outside (then every
    // value is VALUE_UNK, or 0 when VALUE_UNK_TO_ZERO, and code is left as it was), 4
    // (kInterpolationNotFinite) when a node it needs, or its result, is not a finite number (then
    // every value is 0: the point is outside the grid's usable nodes).
    int interpolateBilinear(double x, double y, std::vector<double>& values, int& code) const;
    int interpolateSpline(int n, double x, double y, std::vector<double>& values, int& code) const;

    // Drops the node values and TRANSLATION; the grid must be opened again to be read.
    void release();
    // Values at a point whose longitude and latitude are in grid unit `unit` (2 SECONDS,
    // 3 DEGREES, 4 RADIANS), by the given interpolation type (2 BILINEAR, 4 SPLINE). values
    // receives VALUES_NUMBER values in VALUES_UNIT, in node record order. Status 0 inside, 2
    // outside, 3 when the grid's values are not in memory (not fully open) or the type is not
    // an interpolation, 4 (kInterpolationNotFinite) when a node it needs is not finite.
    // The node values are immutable once loaded: any number of threads may interpolate in the
    // same grid at once, each with its own values.
    int apply(int unit, const std::array<double, 3>& point, std::vector<double>& values, int& code,
              int type) const;
    // apply with the grid's own INTERPOLATION_TYPE.
    int interpolate(int unit, const std::array<double, 3>& point, std::vector<double>& values,
                    int& code) const;
    // Checks (and first normalises, when asked) the header; the empty text when valid.
    std::string validate(bool normalise);

    // Opens the grid named by NAME: mode 0 opens fully (a text grid is switched to its binary
    // version, created when missing, and NAME then names it), mode 2 reads the header only.
    // observer, when given, follows the making of a binary version and may stop it. Nothing is
    // shown to the user: the result says how the open ended, and the caller words it.
    GridOpenResult open(int mode, GridOpenObserver* observer = nullptr);
    // The former (console flag, mode) form: refused, so that a call written for it does not
    // compile as a mode with a null observer.
    GridOpenResult open(int, int, GridOpenObserver* = nullptr) = delete;

    // The XML side file: an empty path means sideFilePath(). Returns the empty text when it was
    // read, otherwise why it was not used.
    std::string readXmlHeader(const std::string& path = "");
    // NAME with the extension ".xml"; when no such file exists, the file of that name in
    // sideFileFolder, if there is one.
    std::string sideFilePath() const;

    // The lower and upper corners of extent from the limits, in decimal degrees.
    void computeExtent();

    // Reads the next token of a header line from position: 0 when a space follows it, 2 when
    // it ends the line, -1 on a kind error (token then holds the message, position -1).
    static int readToken(const std::string& line, int& position, std::string& token, TokenKind kind);

    // Whether the node values are in memory.
    bool hasNodeData() const { return nodeData_ != nullptr; }

private:
    std::string openOnce(int mode, GridOpenObserver* observer, GridOpenResult& result);
    std::string readHeaderPhase(TextSource& text, GridOpenResult& result, bool useCache, bool& xmlRead);
    std::string loadValues(GridOpenObserver* observer, TextSource& text, GridOpenResult& result);

    std::shared_ptr<const GridNodeData> nodeData_;
};

// The application's current geoid grid: one value per node.
class CGrille1D : public CGrille {
public:
};

// The application's current 3-D grid: three translations, or seven datum-shift parameters.
class CGrille3D : public CGrille {
public:
};

// Stored position of node (i, j) in layout 1..8 of a grid of nc columns and nl lines; -1 for
// another layout.
long long storedPosition(int layout, long long i, long long j, long long nc, long long nl);

// Natural cubic spline with unit spacing through y[0..n-1] (positions 1..n): its second
// derivatives, then its value at t, continued linearly beyond both ends.
void splineSecondDerivatives(const double* y, int n, double* m);
double splineEvaluate(double t, const double* y, int n, const double* m);

// Forgets every header and every node file the process's grid store remembers (for tests that
// rewrite a file in place).
void clearGridCaches();

}  // namespace zelvo
