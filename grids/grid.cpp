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
    switch (format) {
        case kFormatTextVrd:
        case kFormatGravsoft:
        case kFormatSurfer:
        case kFormatNtv2Text:
        case kFormatEsri:
        case kFormatEgm:
        case kFormatDis:
        case kFormatGtx:
        case kFormatGeoTiff:
            return true;
        default:
            return false;
    }
}

std::string binaryVersionPath(const std::string& path) {
    return path + std::string(grid_vocabulary::kFormatExtensions[kFormatBinaryVrd]);
}

std::string gridText260(std::string_view text) {
    return utf8Prefix(text, kGridTextMax);
}

CGrille::~CGrille() = default;
CGrille1D::~CGrille1D() = default;
CGrille3D::~CGrille3D() = default;

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

long long CGrille::recordSize() const {
    return static_cast<long long>(VALUES_NUMBER) * valueSize + 4LL * (CODE_PREC == 1 ? 1 : 0);
}

void CGrille::nodeValues(int i, int j, std::vector<double>& values, int& code) const {
    values.assign(static_cast<std::size_t>(std::max(VALUES_NUMBER, 0)), 0.0);
    code = 0;
    if (i < 0 || i >= N_COLUMNS || j < 0 || j >= N_LINES || nodeData_ == nullptr) return;
    const long long k = storedPosition(LAYOUT, i, j, N_COLUMNS, N_LINES);
    const long long size = recordSize();
    if (k < 0 || size <= 0) return;
    const auto& bytes = nodeData_->bytes;
    // The size of the data was checked against the header when the grid was opened; a record
    // beyond it can only come from a header changed since, and reads as an outside node.
    if (static_cast<unsigned long long>((k + 1) * size) > bytes.size()) return;
    const unsigned char* record = bytes.data() + k * size;
    for (std::size_t v = 0; v < values.size(); ++v)
        values[v] = decodeValue(record + v * static_cast<std::size_t>(valueSize), VALUES_TYPE);
    if (CODE_PREC == 1)
        code =
            static_cast<std::int32_t>(readLe32(record + values.size() * static_cast<std::size_t>(valueSize)));
    if (VALUE_UNK_TO_ZERO == 1)
        for (double& value : values)
            if (value == VALUE_UNK) value = 0.0;
}

void CGrille::updateValueSize() {
    const int size = grid_vocabulary::valueTypeSize(VALUES_TYPE);
    if (size != 0) valueSize = size;
}

void CGrille::setCanonicalExtension() {
    if (GRID_TYPE <= kFormatUndefined ||
        GRID_TYPE >= static_cast<int>(grid_vocabulary::kFormatExtensions.size()))
        return;
    const PathParts parts = splitPath(NAME);
    NAME = parts.directory + parts.baseName + std::string(grid_vocabulary::kFormatExtensions[GRID_TYPE]);
}

void CGrille::detectFormat() {
    const PathParts parts = splitPath(NAME);
    const std::string& ext = parts.extension;
    struct Known {
        const char* lower;
        const char* upper;
        int format;
    };
    const int ntv2Binary = std::endian::native == std::endian::little ? kFormatNtv2Little : kFormatNtv2Big;
    const Known known[] = {
        {".mnt", ".MNT", kFormatTextVrd},  {".bin", ".BIN", kFormatBinaryVrd},
        {".gra", ".GRA", kFormatGravsoft}, {".grd", ".GRD", kFormatSurfer},
        {".gsb", ".GSB", ntv2Binary},      {".gsa", ".GSA", kFormatNtv2Text},
        {".asc", ".ASC", kFormatEsri},     {".egm", ".EGM", kFormatEgm},
        {".dis", ".DIS", kFormatDis},      {".gtx", ".GTX", kFormatGtx},
        {".tif", ".TIF", kFormatGeoTiff},
    };
    GRID_TYPE = kFormatUndefined;
    for (const Known& k : known)
        if (ext == k.lower || ext == k.upper) GRID_TYPE = k.format;
    if (GRID_TYPE == kFormatNtv2Little || GRID_TYPE == kFormatNtv2Big || GRID_TYPE == kFormatNtv2Text) {
        NODE_COORD_UNIT = INC_UNIT = kGridUnitSeconds;
        VALUES_UNIT = kGridUnitSeconds;
        EAST_TO_WEST = 1;
    } else {
        NODE_COORD_UNIT = INC_UNIT = kGridUnitDegrees;
        VALUES_UNIT = kGridUnitMeters;
        EAST_TO_WEST = 0;
    }
}

void CGrille::computeDimensions() {
    const auto count = [](double span, double increment) {
        const double n = grid_numbers::roundHalfAway(span / increment) + 1;
        return std::isfinite(n) && n >= INT_MIN && n <= INT_MAX ? static_cast<int>(n) : 0;
    };
    N_COLUMNS = count(X_MAX - X_MIN, X_INC);
    N_LINES = count(Y_MAX - Y_MIN, Y_INC);
    const long long nodes = static_cast<long long>(N_COLUMNS) * N_LINES;
    N_NODES = nodes >= INT_MIN && nodes <= INT_MAX ? static_cast<int>(nodes) : 0;
}

std::string CGrille::checkNodeCount(long long fileSize) const {
    const long long nodes = static_cast<long long>(N_COLUMNS) * N_LINES;
    if (N_COLUMNS <= 0 || N_LINES <= 0 || nodes > INT_MAX)
        return fmt::sprintf(texts::kTooManyNodes, NAME, N_COLUMNS, N_LINES);
    const int format = readFormat();
    if (format == kFormatBinaryVrd || format == kFormatNtv2Little || format == kFormatNtv2Big) {
        const long long needed = dataOffset + nodes * recordSize();
        if (dataOffset < 0 || needed > fileSize)
            return fmt::sprintf(texts::kBinaryFileTooShort, NAME, needed, fileSize);
    } else if (nodes * std::max(VALUES_NUMBER, 1) > fileSize) {
        // Every value of a text data section takes at least one character.
        return fmt::sprintf(texts::kTextFileTooShort, NAME, nodes);
    }
    return {};
}

void CGrille::computeExtent() {
    const double divisor = VALUES_UNIT == kGridUnitSeconds ? 3600.0 : 1.0;
    extent.min.type = extent.max.type = kGeographic;
    extent.min.unit = extent.max.unit = 2;  // decimal degrees
    extent.min.lon = X_MIN / divisor;
    extent.min.lat = Y_MIN / divisor;
    extent.max.lon = X_MAX / divisor;
    extent.max.lat = Y_MAX / divisor;
}

void CGrille::release() {
    nodeData_.reset();
    TRANSLATION.clear();
}

std::string CGrille::validate(bool normalise) {
    if (normalise) {
        // A native binary file holds its limits eastward and its increments in the node unit
        // already (it is written after this normalisation): a side file naming the units or
        // the direction of the text grid it came from must not apply them a second time.
        if (readFormat() != kFormatBinaryVrd) {
            if (EAST_TO_WEST == 1) {
                const double west = X_MIN;
                X_MIN = -X_MAX;
                X_MAX = -west;
            }
            X_INC = convertGridAngle(X_INC, INC_UNIT, NODE_COORD_UNIT);
            Y_INC = convertGridAngle(Y_INC, INC_UNIT, NODE_COORD_UNIT);
        }
        if (NODE_COORD_UNIT == kGridUnitDegrees && (X_MIN > 360 || X_MAX > 360)) {
            X_MIN -= 360;
            X_MAX -= 360;
        }
    }
    std::string faults;
    if (LAYOUT < 1 || LAYOUT > 8) faults += fmt::sprintf(texts::kCheckLayout, LAYOUT);
    if (X_MAX <= X_MIN) faults += texts::kCheckXRange;
    if (Y_MAX <= Y_MIN) faults += texts::kCheckYRange;
    const bool finiteLimits =
        std::isfinite(X_MIN) && std::isfinite(X_MAX) && std::isfinite(Y_MIN) && std::isfinite(Y_MAX);
    bool badExtent = !finiteLimits;
    if (NODE_COORD_UNIT == kGridUnitSeconds || NODE_COORD_UNIT == kGridUnitDegrees) {
        const double xBound = NODE_COORD_UNIT == kGridUnitSeconds ? 1296000 : 360;
        const double yBound = NODE_COORD_UNIT == kGridUnitSeconds ? 324000 : 90;
        if (std::fabs(X_MIN) > xBound || std::fabs(X_MAX) > xBound || std::fabs(Y_MIN) > yBound ||
            std::fabs(Y_MAX) > yBound || X_MAX == X_MIN || Y_MAX == Y_MIN)
            badExtent = true;
    }
    if (badExtent) faults += texts::kCheckExtent;
    if (!(X_INC >= 1e-10) || !(Y_INC >= 1e-10) || !std::isfinite(X_INC) || !std::isfinite(Y_INC))
        faults += texts::kCheckIncrement;
    using grid_numbers::roundHalfAway;
    // Written so that a limit or increment that is no number fails the checks.
    if (!(std::fabs(N_COLUMNS - roundHalfAway((X_MAX - X_MIN) / X_INC) - 1) <= 1e-10) ||
        !(std::fabs(N_LINES - roundHalfAway((Y_MAX - Y_MIN) / Y_INC) - 1) <= 1e-10))
        faults += texts::kCheckCounts;
    if (!(std::fabs(X_MAX - X_MIN - (N_COLUMNS - 1.0) * X_INC) <= 1e-5) ||
        !(std::fabs(Y_MAX - Y_MIN - (N_LINES - 1.0) * Y_INC) <= 1e-5))
        faults += texts::kCheckAdjust;
    if (VALUES_TYPE == kValuesUndefined) faults += texts::kCheckValuesType;
    if (INTERPOLATION_TYPE != kInterpolationBilinear && INTERPOLATION_TYPE != kInterpolationSpline)
        faults += texts::kCheckInterpolation;
    if (INTERPOLATION_TYPE == kInterpolationSpline && INTERPOLATION_ORDER < 4)
        faults += texts::kCheckSplineOrder;
    if (INTERPOLATION_TYPE == kInterpolationSpline && INTERPOLATION_ORDER > kMaxSplineOrder)
        faults += fmt::sprintf(texts::kCheckSplineOrderTooLarge, INTERPOLATION_ORDER, kMaxSplineOrder);
    // What the node records need to be read at all.
    if (VALUES_NUMBER < 1 || VALUES_NUMBER > kMaxValuesPerNode)
        faults += fmt::sprintf(texts::kCheckValuesNumber, VALUES_NUMBER);
    if (VALUES_TYPE < kValuesUndefined || VALUES_TYPE > kValuesReal8)
        faults += fmt::sprintf(texts::kCheckValuesTypeUnknown, VALUES_TYPE);
    if (CODE_PREC != 0 && CODE_PREC != 1) faults += fmt::sprintf(texts::kCheckCodePrec, CODE_PREC);

    if (!faults.empty() && !NAME.empty()) return fmt::sprintf(texts::kCheckResult, NAME, faults);
    return faults;
}

}  // namespace zelvo
