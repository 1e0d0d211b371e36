#pragma once
// The grid formats. Each one is described by one entry of the table in grid_formats.cpp: its
// name, its file extension, how its node values reach memory, its header reader and its node
// reader. A new format is a source file of its own holding its readers, plus its line in that
// table (with its readers' declarations above it). This header also gathers what the readers
// share.

#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

struct GridHeader;
struct GridNodeData;
class TextSource;

// The nodes of a GTX or GeoTIFF grid, read one after another in stored order to write its
// binary version.
class ForeignNodeReader {
public:
    virtual ~ForeignNodeReader() = default;
    // The values of the next node; false with message set when they cannot be read.
    virtual bool next(std::vector<double>& values, std::string& message) = 0;
};

// How the node values of a format reach memory.
enum class GridStorage {
    None,       // the undefined format: nothing is read
    Text,       // a text file, copied into a binary version that is then read
    InPlace,    // a binary file whose node records are read as they stand
    Converted,  // a foreign binary file, copied node by node into a binary version
};

// What a header reader reads: a text format from text, any other from file, both at the start
// of the grid file at path, of fileSize bytes. A text reader leaves text at the start of the
// data section.
struct HeaderInput {
    std::string path;
    TextSource* text = nullptr;
    std::FILE* file = nullptr;
    long long fileSize = 0;
};

// What a header reader found.
struct HeaderResult {
    static constexpr int kRead = -10;
    static constexpr int kFault = -1;
    // kRead; kFault, with message; or the position (>= 0) where the header ended too early.
    int status = kRead;
    std::string message;
    // A binary file that does not start with its format's keyword: what it starts with instead
    // (its first bytes up to a zero byte, non-printing ones as '?').
    std::optional<std::string> foundKeyword;
    // A fault after which the program cannot go on (a binary version of an unknown version).
    bool fatal = false;

    bool read() const { return status == kRead; }
    static HeaderResult fault(std::string text) { return {kFault, std::move(text), std::nullopt, false}; }
    static HeaderResult endedAt(int position) { return {position, {}, std::nullopt, false}; }
    // The former integer form of the readers: kRead, kFault with message, or a position.
    static HeaderResult from(int status, std::string message) {
        return {status, status == kFault ? std::move(message) : std::string(), std::nullopt, false};
    }
};

// Reads the header of a grid file into header (which holds NAME and the defaults of the format).
using HeaderReader = HeaderResult (*)(GridHeader& header, HeaderInput& input);
// An InPlace format: the node records of the file that header describes (checked and
// validated), as nodeValues reads them; the empty text, or why they could not be read.
using NodeLoader = std::string (*)(const GridHeader& header, std::shared_ptr<const GridNodeData>& nodes);
// A Converted format: the nodes of the file at path in stored order, for its binary version.
using NodeReaderOpener = std::unique_ptr<ForeignNodeReader> (*)(const GridHeader& header,
                                                                const std::string& path,
                                                                std::string& message);

struct GridFormat {
    // GRID_TYPE: the entry's position in the table.
    int type = 0;
    // The name a side file gives GRID_TYPE.
    std::string_view name;
    // With its dot, in lower case; a file name ending in it in lower or in upper case is read
    // as this format, unless chosenByExtension is false (a format that shares its extension
    // with the one chosen: the NTV2 binary byte order that is not the machine's).
    std::string_view extension;
    bool chosenByExtension = true;
    GridStorage storage = GridStorage::None;
    // The node count is checked against the file's size as soon as the header is read.
    bool countCheckedWithHeader = false;
    // Units (kGridUnit...) and direction a grid of the format has until its side file says
    // otherwise: of the increments and node coordinates, and of the values.
    int coordinateUnit = 0;
    int valuesUnit = 0;
    int eastToWest = 0;
    HeaderReader readHeader = nullptr;
    NodeLoader loadNodes = nullptr;        // InPlace formats
    NodeReaderOpener openNodes = nullptr;  // Converted formats
};

// Every format, in GRID_TYPE order (entry 0 is the undefined format).
std::span<const GridFormat> gridFormats();
// The format of GRID_TYPE type, or null when there is none.
const GridFormat* gridFormatOf(int type);
// The names of the formats in GRID_TYPE order, as a side file gives them.
std::span<const std::string_view> gridFormatNames();

// What the readers share.
// N_COLUMNS, N_LINES and N_NODES from the limits and increments; counts that cannot be held
// are left 0 for validation to refuse.
void computeDimensions(GridHeader& header);
// valueSize from VALUES_TYPE (2, 4, 4, 8); unchanged for the undefined type.
void updateValueSize(GridHeader& header);
// A grid of nodes as GTX and GeoTIFF give it: columns × lines nodes from (xMin, yMin), in
// degrees and metres, stored in layout, one value type; sets wrapColumn (and the extra column)
// when the columns go round the globe. Refuses counts that cannot be held.
std::string applyRasterSettings(GridHeader& header, long long columns, long long lines, double xMin,
                                double yMin, double xInc, double yInc, int layout, int valuesNumber,
                                int valuesType);
// Refuses node counts that overflow or that the file cannot hold, before anything is allocated
// or read. fileSize is the size of the file the values come from.
std::string checkNodeCount(const GridHeader& header, long long fileSize);
// The node records of a binary file, read once for the process: length bytes from dataOffset.
std::string loadBinaryNodes(const GridHeader& header, std::shared_ptr<const GridNodeData>& nodes);
// Writes the native binary header at the start of file and sets dataOffset; false when the file
// cannot be written. A source stamp, when set, is recorded between the header and dataOffset,
// where readers of the format skip it.
bool writeBinaryHeader(GridHeader& header, std::FILE* file);

}  // namespace zelvo
