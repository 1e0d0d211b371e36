// GeoTIFF grids (".tif", the grids of PROJ's collection), read with libtiff: the first image of
// the file, one node per pixel, one value per sample; its georeferencing from the model pixel
// scale and tie point, nodes at pixel centres unless the raster type says pixel-is-point; rows
// from the north. GDAL's no-data value marks unknown values; GDAL's per-file scale and offset,
// when given, turn the stored numbers into values.

#include <fmt/printf.h>
#include <tiffio.h>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <string_view>

#include "grids/raster_formats.hpp"
#include "platform/number_text.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

constexpr ttag_t kModelPixelScaleTag = 33550;
constexpr ttag_t kModelTiepointTag = 33922;
constexpr ttag_t kModelTransformationTag = 34264;
constexpr ttag_t kGeoKeyDirectoryTag = 34735;
constexpr ttag_t kGdalMetadataTag = 42112;
constexpr ttag_t kGdalNodataTag = 42113;
constexpr int kRasterTypeGeoKey = 1025;
constexpr int kRasterPixelIsPoint = 2;
constexpr int kLayoutNw2e2s = 2;
// The largest buffer libtiff may allocate at once for one strip or tile.
constexpr tmsize_t kMaxTiffAllocation = tmsize_t{256} << 20;
// The values of one grid, decoded, may not exceed this (PROJ's largest geoid grids are far smaller).
constexpr long long kMaxDecodedBytes = 1LL << 31;

// libtiff's errors for one file, kept for the message; its warnings are dropped.
int keepError(TIFF*, void* userData, const char*, const char* format, va_list args) {
    auto* error = static_cast<std::string*>(userData);
    if (error->empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        *error = text;
    }
    return 1;
}
int dropWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// One GeoTIFF file opened with libtiff, closed with the object.
class TiffFile {
public:
    explicit TiffFile(const std::string& path) {
        TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
        TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxTiffAllocation);
        TIFFOpenOptionsSetErrorHandlerExtR(options, keepError, &error);
        TIFFOpenOptionsSetWarningHandlerExtR(options, dropWarning, nullptr);
        tif = TIFFOpenExt(path.c_str(), "r", options);
        TIFFOpenOptionsFree(options);
    }
    ~TiffFile() {
        if (tif != nullptr) TIFFClose(tif);
    }
    TiffFile(const TiffFile&) = delete;
    TiffFile& operator=(const TiffFile&) = delete;

    TIFF* tif = nullptr;
    std::string error;
};

// The numbers of an array tag (doubles or shorts), however libtiff knows it; empty when absent.
std::vector<double> arrayTag(TIFF* tif, ttag_t tag) {
    std::vector<double> numbers;
    const TIFFField* field = TIFFFindField(tif, tag, TIFF_ANY);
    if (field == nullptr || !TIFFFieldPassCount(field)) return numbers;
    const void* data = nullptr;
    std::uint32_t count = 0;
    if (TIFFFieldReadCount(field) == TIFF_VARIABLE2) {
        if (TIFFGetField(tif, tag, &count, &data) != 1) return numbers;
    } else {
        std::uint16_t shortCount = 0;
        if (TIFFGetField(tif, tag, &shortCount, &data) != 1) return numbers;
        count = shortCount;
    }
    if (data == nullptr) return numbers;
    for (std::uint32_t k = 0; k < count; ++k) {
        if (TIFFFieldDataType(field) == TIFF_DOUBLE)
            numbers.push_back(static_cast<const double*>(data)[k]);
        else if (TIFFFieldDataType(field) == TIFF_SHORT)
            numbers.push_back(static_cast<const std::uint16_t*>(data)[k]);
    }
    return numbers;
}

// The text of an ASCII tag; empty when absent.
std::string textTag(TIFF* tif, ttag_t tag) {
    const TIFFField* field = TIFFFindField(tif, tag, TIFF_ANY);
    if (field == nullptr) return {};
    const char* text = nullptr;
    if (TIFFFieldPassCount(field)) {
        std::uint32_t count = 0;
        if (TIFFFieldReadCount(field) == TIFF_VARIABLE2) {
            if (TIFFGetField(tif, tag, &count, &text) != 1) return {};
        } else {
            std::uint16_t shortCount = 0;
            if (TIFFGetField(tif, tag, &shortCount, &text) != 1) return {};
            count = shortCount;
        }
        return text != nullptr ? std::string(text, strnlen(text, count)) : std::string();
    }
    if (TIFFGetField(tif, tag, &text) != 1 || text == nullptr) return {};
    return text;
}

// The number in GDAL's metadata item of the given role ("scale", "offset"), or fallback.
double metadataNumber(const std::string& metadata, std::string_view role, double fallback) {
    const std::string marker = fmt::format("role=\"{}\"", role);
    const std::size_t at = metadata.find(marker);
    if (at == std::string::npos) return fallback;
    const std::size_t start = metadata.find('>', at);
    const std::size_t end = metadata.find('<', start == std::string::npos ? at : start);
    if (start == std::string::npos || end == std::string::npos) return fallback;
    double value = 0;
    return parseDouble(std::string_view(metadata).substr(start + 1, end - start - 1), value) ? value : fallback;
}

// How the samples of the image are stored, and the grid value type that holds them.
struct SampleKind {
    int bytes = 0;
    int format = 0;  // SAMPLEFORMAT_UINT, _INT or _IEEEFP
    int valuesType = kValuesUndefined;
};

SampleKind sampleKind(TIFF* tif) {
    std::uint16_t bits = 0, format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    SampleKind kind{bits / 8, format, kValuesUndefined};
    if (format == SAMPLEFORMAT_IEEEFP && bits == 32) kind.valuesType = kValuesReal4;
    if (format == SAMPLEFORMAT_IEEEFP && bits == 64) kind.valuesType = kValuesReal8;
    if (format == SAMPLEFORMAT_INT && bits == 16) kind.valuesType = kValuesInteger2;
    if (format == SAMPLEFORMAT_INT && bits == 32) kind.valuesType = kValuesInteger4;
    if (format == SAMPLEFORMAT_UINT && bits == 8) kind.valuesType = kValuesInteger2;
    if (format == SAMPLEFORMAT_UINT && bits == 16) kind.valuesType = kValuesInteger4;
    if (format == SAMPLEFORMAT_UINT && bits == 32) kind.valuesType = kValuesReal8;
    return kind;
}

double sampleValue(const unsigned char* p, const SampleKind& kind) {
    switch (kind.valuesType) {
        case kValuesReal4: {
            float v = 0;
            std::memcpy(&v, p, 4);
            return v;
        }
        case kValuesReal8: {
            if (kind.format == SAMPLEFORMAT_UINT) {
                std::uint32_t v = 0;
                std::memcpy(&v, p, 4);
                return v;
            }
            double v = 0;
            std::memcpy(&v, p, 8);
            return v;
        }
        case kValuesInteger2: {
            if (kind.format == SAMPLEFORMAT_UINT) return *p;
            std::int16_t v = 0;
            std::memcpy(&v, p, 2);
            return v;
        }
        default: {
            if (kind.format == SAMPLEFORMAT_UINT) {
                std::uint16_t v = 0;
                std::memcpy(&v, p, 2);
                return v;
            }
            std::int32_t v = 0;
            std::memcpy(&v, p, 4);
            return v;
        }
    }
}

// What the header reader and the node reader both take from the file.
struct TiffLayout {
    std::uint32_t width = 0, height = 0;
    std::uint16_t samples = 1;
    SampleKind kind;
    bool tiled = false;
    std::uint32_t tileWidth = 0, tileHeight = 0;
    double scale = 1, offset = 0;
};

// The layout of the first image; the empty text, or why it cannot be a grid.
std::string readLayout(TIFF* tif, const std::string& name, TiffLayout& layout) {
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &layout.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &layout.height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &layout.samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    layout.kind = sampleKind(tif);
    layout.tiled = TIFFIsTiled(tif) != 0;
    if (layout.tiled) {
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &layout.tileWidth);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &layout.tileHeight);
    }
    if (layout.kind.valuesType == kValuesUndefined)
        return fmt::sprintf(texts::kGeoTiffSampleType, name, layout.kind.bytes * 8, layout.kind.format);
    if (layout.samples < 1 || layout.samples > kMaxValuesPerNode || (planar != PLANARCONFIG_CONTIG && layout.samples > 1))
        return fmt::sprintf(texts::kGeoTiffBands, name, static_cast<int>(layout.samples));
    if (layout.tiled && (layout.tileWidth == 0 || layout.tileHeight == 0))
        return fmt::sprintf(texts::kGeoTiffUnreadable, name, "TileWidth");
    const long long decoded = static_cast<long long>(layout.width) * layout.height * layout.samples * 8;
    if (layout.width == 0 || layout.height == 0 || decoded > kMaxDecodedBytes)
        return fmt::sprintf(texts::kTooManyNodes, name, static_cast<int>(std::min<std::uint32_t>(layout.width, INT_MAX)),
                            static_cast<int>(std::min<std::uint32_t>(layout.height, INT_MAX)));
    const std::string metadata = textTag(tif, kGdalMetadataTag);
    layout.scale = metadataNumber(metadata, "scale", 1.0);
    layout.offset = metadataNumber(metadata, "offset", 0.0);
    return {};
}

class GeoTiffNodeReader : public raster::RowNodeReader {
public:
    GeoTiffNodeReader(std::unique_ptr<TiffFile> file, const TiffLayout& layout, bool wrap)
        : RowNodeReader(static_cast<int>(layout.width), layout.samples, wrap),
          file_(std::move(file)),
          layout_(layout) {}

protected:
    bool readRow(std::vector<double>& row, std::string& message) override {
        TIFF* tif = file_->tif;
        const std::size_t sampleBytes = static_cast<std::size_t>(layout_.kind.bytes);
        const std::size_t perRow = static_cast<std::size_t>(layout_.width) * layout_.samples;
        row.resize(perRow);
        bool ok = true;
        if (!layout_.tiled) {
            buffer_.resize(static_cast<std::size_t>(std::max<tmsize_t>(TIFFScanlineSize(tif), 0)));
            ok = buffer_.size() >= perRow * sampleBytes && TIFFReadScanline(tif, buffer_.data(), row_, 0) == 1;
            for (std::size_t k = 0; ok && k < perRow; ++k) row[k] = value(&buffer_[k * sampleBytes]);
        } else {
            // The tiles of a whole band of rows are decoded when the band is entered.
            const std::uint32_t band = row_ / layout_.tileHeight;
            const std::size_t tileBytes = static_cast<std::size_t>(std::max<tmsize_t>(TIFFTileSize(tif), 0));
            const std::uint32_t across = (layout_.width + layout_.tileWidth - 1) / layout_.tileWidth;
            if (!bandLoaded_ || band != band_) {
                buffer_.resize(tileBytes * across);
                for (std::uint32_t t = 0; ok && t < across; ++t)
                    ok = TIFFReadTile(tif, buffer_.data() + t * tileBytes, t * layout_.tileWidth,
                                      band * layout_.tileHeight, 0, 0) >= 0;
                band_ = band;
                bandLoaded_ = ok;
            }
            const std::size_t inTile = row_ - band * layout_.tileHeight;
            const std::size_t tileRow = static_cast<std::size_t>(layout_.tileWidth) * layout_.samples;
            ok = ok && tileBytes >= layout_.tileHeight * tileRow * sampleBytes;
            for (std::size_t k = 0; ok && k < perRow; ++k) {
                const std::size_t column = k / layout_.samples;
                const std::size_t tile = column / layout_.tileWidth;
                const std::size_t at = tile * tileBytes +
                                       (inTile * tileRow + (column % layout_.tileWidth) * layout_.samples +
                                        k % layout_.samples) *
                                           sampleBytes;
                row[k] = value(&buffer_[at]);
            }
        }
        if (!ok) {
            message = fmt::sprintf(texts::kGeoTiffUnreadable, TIFFFileName(tif), file_->error);
            return false;
        }
        ++row_;
        return true;
    }

private:
    double value(const unsigned char* p) const {
        return sampleValue(p, layout_.kind) * layout_.scale + layout_.offset;
    }

    std::unique_ptr<TiffFile> file_;
    TiffLayout layout_;
    std::vector<unsigned char> buffer_;
    std::uint32_t row_ = 0;
    std::uint32_t band_ = 0;
    bool bandLoaded_ = false;
};

}  // namespace

static int readGeoTiffHeaderFields(GridHeader& header, std::string& message) {
    TiffFile file(header.NAME);
    if (file.tif == nullptr) {
        message = fmt::sprintf(texts::kGeoTiffUnreadable, header.NAME, file.error);
        return -1;
    }
    TiffLayout layout;
    message = readLayout(file.tif, header.NAME, layout);
    if (!message.empty()) return -1;
    const std::vector<double> scale = arrayTag(file.tif, kModelPixelScaleTag);
    const std::vector<double> tiepoint = arrayTag(file.tif, kModelTiepointTag);
    if (scale.size() < 2 || tiepoint.size() < 6 || !arrayTag(file.tif, kModelTransformationTag).empty()) {
        message = fmt::sprintf(texts::kGeoTiffNotGeoreferenced, header.NAME);
        return -1;
    }
    bool pixelIsPoint = false;
    const std::vector<double> keys = arrayTag(file.tif, kGeoKeyDirectoryTag);
    for (std::size_t k = 4; k + 3 < keys.size(); k += 4)
        if (keys[k] == kRasterTypeGeoKey && keys[k + 1] == 0) pixelIsPoint = keys[k + 3] == kRasterPixelIsPoint;

    // The node of pixel (i, j) lies at the pixel's centre, or at its corner for pixel-is-point.
    const double half = pixelIsPoint ? 0.0 : 0.5;
    const double xInc = scale[0], yInc = scale[1];
    const double west = tiepoint[3] + (half - tiepoint[0]) * xInc;
    const double north = tiepoint[4] - (half - tiepoint[1]) * yInc;
    const double south = north - static_cast<double>(layout.height - 1) * yInc;
    const bool scaled = layout.scale != 1.0 || layout.offset != 0.0;
    const int valuesType = scaled ? kValuesReal8 : layout.kind.valuesType;
    message = applyRasterSettings(header, layout.width, layout.height, west, south, xInc, yInc, kLayoutNw2e2s,
                                  layout.samples, valuesType);
    if (!message.empty()) return -1;
    const std::string nodata = textTag(file.tif, kGdalNodataTag);
    double unknown = 0;
    if (!nodata.empty() && parseDouble(nodata, unknown) && std::isfinite(unknown)) {
        unknown = unknown * layout.scale + layout.offset;
        // As the binary version holds it, so that the values read back compare equal to it.
        header.VALUE_UNK =
            valuesType == kValuesReal4 ? static_cast<double>(grid_numbers::toReal4(unknown)) : unknown;
    }
    header.dataOffset = 0;
    return -10;
}

HeaderResult readGeoTiffHeader(GridHeader& header, HeaderInput& /*input: read by path*/) {
    std::string message;
    const int status = readGeoTiffHeaderFields(header, message);
    return HeaderResult::from(status, message);
}

std::unique_ptr<ForeignNodeReader> openGeoTiffNodes(const GridHeader& grid, const std::string& path,
                                                    std::string& message) {
    auto file = std::make_unique<TiffFile>(path);
    TiffLayout layout;
    if (file->tif == nullptr) {
        message = fmt::sprintf(texts::kGeoTiffUnreadable, path, file->error);
        return nullptr;
    }
    message = readLayout(file->tif, path, layout);
    if (!message.empty()) return nullptr;
    return std::make_unique<GeoTiffNodeReader>(std::move(file), layout, grid.wrapColumn == 1);
}

}  // namespace zelvo
