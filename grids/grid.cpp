#include "grids/grid.hpp"

#include <fmt/printf.h>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/paths.hpp"
#include "platform/text_encoding.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

std::uint32_t readLe32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint64_t readLe64(const unsigned char* p) {
    return static_cast<std::uint64_t>(readLe32(p)) | static_cast<std::uint64_t>(readLe32(p + 4)) << 32;
}

double decodeValue(const unsigned char* p, int valuesType) {
    switch (valuesType) {
        case kValuesInteger2:
            return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
        case kValuesInteger4:
            return static_cast<std::int32_t>(readLe32(p));
        case kValuesReal4:
            return std::bit_cast<float>(readLe32(p));
        case kValuesReal8:
            return std::bit_cast<double>(readLe64(p));
        default:
            return 0.0;
    }
}

}  // namespace

bool hasBinaryVersion(int format) {
    const GridFormat* entry = gridFormatOf(format);
    return entry != nullptr &&
           (entry->storage == GridStorage::Text || entry->storage == GridStorage::Converted);
}

std::string binaryVersionPath(const std::string& path) {
    return path + std::string(gridFormatOf(kFormatBinaryVrd)->extension);
}

std::string gridText260(std::string_view text) {
    return utf8Prefix(text, kGridTextMax);
}

long long storedPosition(int layout, long long i, long long j, long long nc, long long nl) {
    switch (layout) {
        case 1:
            return j + i * nl;  // SW2N2E
        case 2:
            return i + nc * (nl - 1 - j);  // NW2E2S
        case 3:
            return (i + 1) * nl - j - 1;  // NW2S2E
        case 4:
            return i + nc * j;  // SW2E2N
        case 5:
            return j + (nc - 1 - i) * nl;  // SE2N2W
        case 6:
            return nc * (nl - j) - i - 1;  // NE2W2S
        case 7:
            return (nc - i) * nl - j - 1;  // NE2S2W
        case 8:
            return (j + 1) * nc - i - 1;  // SE2W2N
        default:
            return -1;
    }
}

long long recordSize(const GridHeader& header) {
    return static_cast<long long>(header.VALUES_NUMBER) * header.valueSize +
           4LL * (header.CODE_PREC == 1 ? 1 : 0);
}

void CGrille::nodeValues(int i, int j, std::vector<double>& values, int& code) const {
    values.assign(static_cast<std::size_t>(std::max(header.VALUES_NUMBER, 0)), 0.0);
    code = 0;
    if (i < 0 || i >= header.N_COLUMNS || j < 0 || j >= header.N_LINES || nodeData_ == nullptr) return;
    const long long k = storedPosition(header.LAYOUT, i, j, header.N_COLUMNS, header.N_LINES);
    const long long size = recordSize(header);
    if (k < 0 || size <= 0) return;
    const auto& bytes = nodeData_->bytes;
    // The size of the data was checked against the header when the grid was opened; a record
    // beyond it can only come from a header changed since, and reads as an outside node.
    if (static_cast<unsigned long long>((k + 1) * size) > bytes.size()) return;
    const unsigned char* record = bytes.data() + k * size;
    for (std::size_t v = 0; v < values.size(); ++v)
        values[v] = decodeValue(record + v * static_cast<std::size_t>(header.valueSize), header.VALUES_TYPE);
    if (header.CODE_PREC == 1)
        code = static_cast<std::int32_t>(
            readLe32(record + values.size() * static_cast<std::size_t>(header.valueSize)));
    if (header.VALUE_UNK_TO_ZERO == 1)
        for (double& value : values)
            if (value == header.VALUE_UNK) value = 0.0;
}

int readFormat(const GridHeader& header) {
    return header.fileFormat != 0 ? header.fileFormat : header.GRID_TYPE;
}

void updateValueSize(GridHeader& header) {
    const int size = grid_vocabulary::valueTypeSize(header.VALUES_TYPE);
    if (size != 0) header.valueSize = size;
}

void setCanonicalExtension(GridHeader& header) {
    const GridFormat* format = gridFormatOf(header.GRID_TYPE);
    if (format == nullptr || header.GRID_TYPE == kFormatUndefined) return;
    const PathParts parts = splitPath(header.NAME);
    header.NAME = parts.directory + parts.baseName + std::string(format->extension);
}

void detectFormat(GridHeader& header) {
    const std::string& extension = splitPath(header.NAME).extension;
    const auto upper = [](std::string_view text) {
        std::string out(text);
        for (char& c : out)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return out;
    };
    const GridFormat* found = &gridFormats()[kFormatUndefined];
    for (const GridFormat& format : gridFormats())
        if (format.chosenByExtension && !format.extension.empty() &&
            (extension == format.extension || extension == upper(format.extension)))
            found = &format;
    header.GRID_TYPE = found->type;
    header.NODE_COORD_UNIT = header.INC_UNIT = found->coordinateUnit;
    header.VALUES_UNIT = found->valuesUnit;
    header.EAST_TO_WEST = found->eastToWest;
}

void computeDimensions(GridHeader& header) {
    const auto count = [](double span, double increment) {
        const double n = grid_numbers::roundHalfAway(span / increment) + 1;
        return std::isfinite(n) && n >= INT_MIN && n <= INT_MAX ? static_cast<int>(n) : 0;
    };
    header.N_COLUMNS = count(header.X_MAX - header.X_MIN, header.X_INC);
    header.N_LINES = count(header.Y_MAX - header.Y_MIN, header.Y_INC);
    const long long nodes = static_cast<long long>(header.N_COLUMNS) * header.N_LINES;
    header.N_NODES = nodes >= INT_MIN && nodes <= INT_MAX ? static_cast<int>(nodes) : 0;
}

std::string checkNodeCount(const GridHeader& header, long long fileSize) {
    const long long nodes = static_cast<long long>(header.N_COLUMNS) * header.N_LINES;
    if (header.N_COLUMNS <= 0 || header.N_LINES <= 0 || nodes > INT_MAX)
        return fmt::sprintf(texts::kTooManyNodes, header.NAME, header.N_COLUMNS, header.N_LINES);
    const GridFormat* format = gridFormatOf(readFormat(header));
    if (format != nullptr && format->storage == GridStorage::InPlace) {
        const long long needed = header.dataOffset + nodes * recordSize(header);
        if (header.dataOffset < 0 || needed > fileSize)
            return fmt::sprintf(texts::kBinaryFileTooShort, header.NAME, needed, fileSize);
    } else if (nodes * std::max(header.VALUES_NUMBER, 1) > fileSize) {
        // Every value of a text data section takes at least one character.
        return fmt::sprintf(texts::kTextFileTooShort, header.NAME, nodes);
    }
    return {};
}

void CGrille::computeExtent() {
    const double divisor = header.VALUES_UNIT == kGridUnitSeconds ? 3600.0 : 1.0;
    extent.min.type = extent.max.type = kGeographic;
    extent.min.unit = extent.max.unit = 2;  // decimal degrees
    extent.min.lon = header.X_MIN / divisor;
    extent.min.lat = header.Y_MIN / divisor;
    extent.max.lon = header.X_MAX / divisor;
    extent.max.lat = header.Y_MAX / divisor;
}

void CGrille::release() {
    nodeData_.reset();
    header.TRANSLATION.clear();
}

std::string CGrille::validate(bool normalise) {
    if (normalise) {
        // A native binary file holds its limits eastward and its increments in the node unit
        // already (it is written after this normalisation): a side file naming the units or
        // the direction of the text grid it came from must not apply them a second time.
        if (readFormat(header) != kFormatBinaryVrd) {
            if (header.EAST_TO_WEST == 1) {
                const double west = header.X_MIN;
                header.X_MIN = -header.X_MAX;
                header.X_MAX = -west;
            }
            header.X_INC = convertGridAngle(header.X_INC, header.INC_UNIT, header.NODE_COORD_UNIT);
            header.Y_INC = convertGridAngle(header.Y_INC, header.INC_UNIT, header.NODE_COORD_UNIT);
        }
        if (header.NODE_COORD_UNIT == kGridUnitDegrees && (header.X_MIN > 360 || header.X_MAX > 360)) {
            header.X_MIN -= 360;
            header.X_MAX -= 360;
        }
    }
    std::string faults;
    if (header.LAYOUT < 1 || header.LAYOUT > 8) faults += fmt::sprintf(texts::kCheckLayout, header.LAYOUT);
    if (header.X_MAX <= header.X_MIN) faults += texts::kCheckXRange;
    if (header.Y_MAX <= header.Y_MIN) faults += texts::kCheckYRange;
    const bool finiteLimits = std::isfinite(header.X_MIN) && std::isfinite(header.X_MAX) &&
                              std::isfinite(header.Y_MIN) && std::isfinite(header.Y_MAX);
    bool badExtent = !finiteLimits;
    if (header.NODE_COORD_UNIT == kGridUnitSeconds || header.NODE_COORD_UNIT == kGridUnitDegrees) {
        const double xBound = header.NODE_COORD_UNIT == kGridUnitSeconds ? 1296000 : 360;
        const double yBound = header.NODE_COORD_UNIT == kGridUnitSeconds ? 324000 : 90;
        if (std::fabs(header.X_MIN) > xBound || std::fabs(header.X_MAX) > xBound ||
            std::fabs(header.Y_MIN) > yBound || std::fabs(header.Y_MAX) > yBound ||
            header.X_MAX == header.X_MIN || header.Y_MAX == header.Y_MIN)
            badExtent = true;
    }
    if (badExtent) faults += texts::kCheckExtent;
    if (!(header.X_INC >= 1e-10) || !(header.Y_INC >= 1e-10) || !std::isfinite(header.X_INC) ||
        !std::isfinite(header.Y_INC))
        faults += texts::kCheckIncrement;
    using grid_numbers::roundHalfAway;
    // Written so that a limit or increment that is no number fails the checks.
    if (!(std::fabs(header.N_COLUMNS - roundHalfAway((header.X_MAX - header.X_MIN) / header.X_INC) - 1) <=
          1e-10) ||
        !(std::fabs(header.N_LINES - roundHalfAway((header.Y_MAX - header.Y_MIN) / header.Y_INC) - 1) <=
          1e-10))
        faults += texts::kCheckCounts;
    if (!(std::fabs(header.X_MAX - header.X_MIN - (header.N_COLUMNS - 1.0) * header.X_INC) <= 1e-5) ||
        !(std::fabs(header.Y_MAX - header.Y_MIN - (header.N_LINES - 1.0) * header.Y_INC) <= 1e-5))
        faults += texts::kCheckAdjust;
    if (header.VALUES_TYPE == kValuesUndefined) faults += texts::kCheckValuesType;
    if (header.INTERPOLATION_TYPE != kInterpolationBilinear &&
        header.INTERPOLATION_TYPE != kInterpolationSpline)
        faults += texts::kCheckInterpolation;
    if (header.INTERPOLATION_TYPE == kInterpolationSpline && header.INTERPOLATION_ORDER < 4)
        faults += texts::kCheckSplineOrder;
    if (header.INTERPOLATION_TYPE == kInterpolationSpline && header.INTERPOLATION_ORDER > kMaxSplineOrder)
        faults += fmt::sprintf(texts::kCheckSplineOrderTooLarge, header.INTERPOLATION_ORDER, kMaxSplineOrder);
    // What the node records need to be read at all.
    if (header.VALUES_NUMBER < 1 || header.VALUES_NUMBER > kMaxValuesPerNode)
        faults += fmt::sprintf(texts::kCheckValuesNumber, header.VALUES_NUMBER);
    if (header.VALUES_TYPE < kValuesUndefined || header.VALUES_TYPE > kValuesReal8)
        faults += fmt::sprintf(texts::kCheckValuesTypeUnknown, header.VALUES_TYPE);
    if (header.CODE_PREC != 0 && header.CODE_PREC != 1)
        faults += fmt::sprintf(texts::kCheckCodePrec, header.CODE_PREC);

    if (!faults.empty() && !header.NAME.empty())
        return fmt::sprintf(texts::kCheckResult, header.NAME, faults);
    return faults;
}

}  // namespace zelvo
