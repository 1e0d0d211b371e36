// GTX grids (".gtx", the vertical grids of PROJ's collection): a 40-byte big-endian header (south
// latitude, west longitude, latitude and longitude increments in degrees, then the numbers of
// rows and columns as 4-byte integers), then REAL4 values, big endian, row after row from the
// south, each row from the west. -88.8888 marks an unknown value.

#include <fmt/printf.h>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "grids/raster_formats.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

constexpr long long kGtxHeaderBytes = 40;
constexpr int kLayoutSw2e2n = 4;
// The unknown value as a REAL4 file holds it, so that the values read back compare equal to it.
const double kGtxUnknown = static_cast<double>(static_cast<float>(-88.8888));

std::uint64_t bigEndian(const unsigned char* bytes, int count) {
    std::uint64_t bits = 0;
    for (int k = 0; k < count; ++k) bits = (bits << 8) | bytes[k];
    return bits;
}

struct GtxHeader {
    double south = 0, west = 0, latInc = 0, lonInc = 0;
    long long rows = 0, columns = 0;
};

bool readGtxHeaderBytes(std::FILE* file, GtxHeader& header) {
    unsigned char bytes[kGtxHeaderBytes];
    if (std::fseek(file, 0, SEEK_SET) != 0 || std::fread(bytes, 1, sizeof bytes, file) != sizeof bytes) return false;
    header.south = std::bit_cast<double>(bigEndian(bytes, 8));
    header.west = std::bit_cast<double>(bigEndian(bytes + 8, 8));
    header.latInc = std::bit_cast<double>(bigEndian(bytes + 16, 8));
    header.lonInc = std::bit_cast<double>(bigEndian(bytes + 24, 8));
    header.rows = static_cast<std::int32_t>(bigEndian(bytes + 32, 4));
    header.columns = static_cast<std::int32_t>(bigEndian(bytes + 36, 4));
    return true;
}

class GtxNodeReader : public raster::RowNodeReader {
public:
    GtxNodeReader(std::FILE* file, const GtxHeader& header, bool wrap)
        : RowNodeReader(static_cast<int>(header.columns), 1, wrap),
          file_(file),
          bytes_(static_cast<std::size_t>(header.columns) * 4) {}
    ~GtxNodeReader() override { std::fclose(file_); }
    GtxNodeReader(const GtxNodeReader&) = delete;
    GtxNodeReader& operator=(const GtxNodeReader&) = delete;

protected:
    bool readRow(std::vector<double>& row, std::string& message) override {
        if (std::fread(bytes_.data(), 1, bytes_.size(), file_) != bytes_.size()) {
            message = texts::kForeignValuesUnreadable;
            return false;
        }
        row.resize(bytes_.size() / 4);
        for (std::size_t k = 0; k < row.size(); ++k) {
            const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(bigEndian(&bytes_[4 * k], 4)));
            row[k] = static_cast<double>(value);
        }
        return true;
    }

private:
    std::FILE* file_;
    std::vector<unsigned char> bytes_;
};

}  // namespace

static int readGtxHeaderFields(GridHeader& header, std::FILE* file, long long fileSize,
                               std::string& message) {
    GtxHeader gtx;
    if (fileSize < kGtxHeaderBytes || !readGtxHeaderBytes(file, gtx)) {
        message = fmt::sprintf(texts::kBinaryHeaderTruncated, header.NAME);
        return -1;
    }
    // PROJ counts a west longitude of 180° or more from the antimeridian westward.
    const double west = gtx.west >= 180.0 ? gtx.west - 360.0 : gtx.west;
    message = applyRasterSettings(header, gtx.columns, gtx.rows, west, gtx.south, gtx.lonInc, gtx.latInc,
                                  kLayoutSw2e2n, 1, kValuesReal4);
    if (!message.empty()) return -1;
    const long long needed = kGtxHeaderBytes + gtx.rows * gtx.columns * 4;
    if (needed > fileSize) {
        message = fmt::sprintf(texts::kBinaryFileTooShort, header.NAME, needed, fileSize);
        return -1;
    }
    header.VALUE_UNK = kGtxUnknown;
    header.dataOffset = kGtxHeaderBytes;
    return -10;
}

HeaderResult readGtxHeader(GridHeader& header, HeaderInput& input) {
    std::string message;
    const int status = readGtxHeaderFields(header, input.file, input.fileSize, message);
    return HeaderResult::from(status, message);
}

std::unique_ptr<ForeignNodeReader> openGtxNodes(const GridHeader& grid, const std::string& path,
                                                std::string& message) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    GtxHeader header;
    if (file == nullptr || !readGtxHeaderBytes(file, header) || header.columns <= 0 || header.rows <= 0) {
        if (file != nullptr) std::fclose(file);
        message = fmt::sprintf(texts::kGridCannotOpen, path);
        return nullptr;
    }
    return std::make_unique<GtxNodeReader>(file, header, grid.wrapColumn == 1);
}

}  // namespace zelvo
