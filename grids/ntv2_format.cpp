// NTV2 grids: the binary form (".gsb", numbers in the machine's byte order) and the text form
// (".gsa"). Only the first sub-grid is read; its nodes are four REAL4 values (latitude shift,
// longitude shift and their accuracies, in seconds), stored from the south-east corner westward,
// then row after row northward, with longitudes counted positive westward.

#include <fmt/printf.h>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "grids/grid.hpp"
#include "grids/grid_format.hpp"
#include "grids/header_fields.hpp"
#include "grids/text_data.hpp"
#include "platform/number_text.hpp"
#include "platform/text_encoding.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

// Eleven overview and eleven sub-grid records of 16 bytes precede the node records.
constexpr long long kRecordBytes = 16;
constexpr long long kNtv2DataOffset = 352;
constexpr int kNodeValues = 4;
constexpr std::size_t kTextLineBuffer = 260;
// Keys and values of the text form.
constexpr int kTextValueColumn = 8;
constexpr std::size_t kKeyChars = 8;

// One 16-byte header record of the binary form: an 8-character key and 8 bytes of value.
struct Record {
    char key[8];
    unsigned char value[8];

    std::string_view keyText() const { return std::string_view(key, 8); }
    int integer() const {
        std::int32_t v = 0;
        std::memcpy(&v, value, 4);
        return v;
    }
    double real() const {
        double v = 0;
        std::memcpy(&v, value, 8);
        return v;
    }
    // The 8 characters of the value, without the blanks or zero bytes that pad them.
    std::string text() const { return trimmed(std::string_view(reinterpret_cast<const char*>(value), 8)); }

    static std::string trimmed(std::string_view bytes) {
        std::string out;
        for (char c : bytes) {
            if (c == '\0') break;
            const auto u = static_cast<unsigned char>(c);
            out.push_back(u < 0x20 || u == 0x7F ? '?' : c);
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return latin1ToUtf8(out);
    }
};

bool readRecord(std::FILE* file, long long& remaining, Record& record) {
    if (remaining < kRecordBytes) return false;
    if (std::fread(&record, 1, sizeof record, file) != sizeof record) return false;
    remaining -= kRecordBytes;
    return true;
}

// The square of the eccentricity of an ellipsoid from its two axes (0 when the major axis is
// not known).
double squaredEccentricity(double major, double minor) {
    if (major == 0) return 0;
    const double ratio = minor / major;
    return 1 - ratio * ratio;
}

}  // namespace

// An NTV2 header fault, named after the grid file.
static std::string ntv2Message(const GridHeader& header, std::string_view text) {
    return fmt::sprintf(texts::kCheckResult, header.NAME, text);
}

// What both NTV2 readers give a grid once its header is read; gsCount is its GS_COUNT. Returns
// the empty text, or the message when the node count does not match the limits.
static std::string applyNtv2Settings(GridHeader& header, long long gsCount) {
    header.LAYOUT = 8;  // SE2W2N
    header.VALUES_LOCATION = 0;
    header.NODE_COORD_WRITTEN = 0;
    header.VALUES_NUMBER = kNodeValues;
    header.VALUES_TYPE = kValuesReal4;
    header.valueSize = 4;
    header.CODE_PREC = 0;
    header.rowEndMarker = 0;
    header.TRANSLATION.assign(kNodeValues, 0.0);
    header.EAST_TO_WEST = 1;
    computeDimensions(header);
    if (static_cast<long long>(header.N_COLUMNS) * header.N_LINES != gsCount || gsCount <= 0)
        return ntv2Message(header, texts::kNtv2NodeCountInconsistent);
    header.N_NODES = static_cast<int>(gsCount);
    return {};
}

static int readNtv2BinaryHeaderFields(GridHeader& header, std::FILE* file, long long fileSize,
                                      std::string& message) {
    if (std::fseek(file, 0, SEEK_SET) != 0) {
        message = ntv2Message(header, texts::kNtv2NotNtv2);
        return -1;
    }
    long long remaining = fileSize;
    Record record{};
    const std::size_t got = fileSize > 0 ? std::fread(&record, 1, sizeof record, file) : 0;
    if (got < sizeof record.key || record.keyText() != "NUM_OREC") {
        message = ntv2Message(header, texts::kNtv2NotNtv2);
        return -1;
    }
    const std::string truncated = fmt::sprintf(texts::kBinaryHeaderTruncated, header.NAME);
    if (got < sizeof record) {
        message = truncated;
        return -1;
    }
    remaining -= kRecordBytes;
    const long long overviewCount = record.integer();
    long long subGridCount = 0;
    const auto unexpectedKey = [&]() {
        message =
            ntv2Message(header, fmt::sprintf(texts::kNtv2UnexpectedKey, Record::trimmed(record.keyText())));
        return -1;
    };
    for (long long k = 1; k < overviewCount; ++k) {
        if (!readRecord(file, remaining, record)) {
            message = truncated;
            return -1;
        }
        const std::string_view key = record.keyText();
        if (key == "NUM_SREC") {
            subGridCount = record.integer();
        } else if (key == "NUM_FILE" || key == "VERSION ") {
        } else if (key == "GS_TYPE ") {
            if (std::memcmp(record.value, "SECONDS", 7) != 0) {
                message = ntv2Message(header, texts::kNtv2UnexpectedGsType);
                return -1;
            }
            header.VALUES_UNIT = header.NODE_COORD_UNIT = header.INC_UNIT = kGridUnitSeconds;
        } else if (key == "SYSTEM_F") {
            header.SYSTEM_F = record.text();
        } else if (key == "SYSTEM_T") {
            header.SYSTEM_T = record.text();
        } else if (key == "MAJOR_F ") {
            header.MAJOR_F = record.real();
        } else if (key == "MINOR_F ") {
            header.SQ_EXC_F = squaredEccentricity(header.MAJOR_F, record.real());
        } else if (key == "MAJOR_T ") {
            header.MAJOR_T = record.real();
        } else if (key == "MINOR_T ") {
            header.SQ_EXC_T = squaredEccentricity(header.MAJOR_T, record.real());
        } else {
            return unexpectedKey();
        }
    }
    long long gsCount = header.N_NODES;
    for (long long k = 0; k < subGridCount; ++k) {
        if (!readRecord(file, remaining, record)) {
            message = truncated;
            return -1;
        }
        const std::string_view key = record.keyText();
        if (key == "SUB_NAME") {
            header.DESC = record.text();
        } else if (key == "PARENT  " || key == "CREATED " || key == "UPDATED ") {
        } else if (key == "S_LAT   ") {
            header.Y_MIN = record.real();
        } else if (key == "N_LAT   ") {
            header.Y_MAX = record.real();
        } else if (key == "E_LONG  ") {
            header.X_MIN = record.real();
        } else if (key == "W_LONG  ") {
            header.X_MAX = record.real();
        } else if (key == "LAT_INC ") {
            header.Y_INC = record.real();
        } else if (key == "LONG_INC") {
            header.X_INC = record.real();
        } else if (key == "GS_COUNT") {
            gsCount = record.integer();
        } else {
            return unexpectedKey();
        }
    }
    if (kRecordBytes * (overviewCount + subGridCount) != kNtv2DataOffset) {
        message = ntv2Message(header, texts::kNtv2HeaderInconsistent);
        return -1;
    }
    message = applyNtv2Settings(header, gsCount);
    if (!message.empty()) return -1;
    // The first sub-grid's nodes must all be in the file before anything is allocated for them.
    const long long needed = kNtv2DataOffset + gsCount * kRecordBytes;
    if (needed > fileSize) {
        message = fmt::sprintf(texts::kBinaryFileTooShort, header.NAME, needed, fileSize);
        return -1;
    }
    header.dataOffset = kNtv2DataOffset;
    return -10;
}

HeaderResult readNtv2BinaryHeader(GridHeader& header, HeaderInput& input) {
    std::string message;
    const int status = readNtv2BinaryHeaderFields(header, input.file, input.fileSize, message);
    return HeaderResult::from(status, message);
}

static int readNtv2TextHeaderFields(GridHeader& header, TextSource& source, std::string& message) {
    std::string line;
    std::string key;
    std::string token;
    int result = 0;
    const auto nextLine = [&]() {
        std::string raw;
        if (!source.readLine(raw, kTextLineBuffer)) {
            message = fmt::sprintf(texts::kTextHeaderTruncated, header.NAME);
            return false;
        }
        line = header_fields::headerLine(raw);
        FieldScanner words(line);
        key.clear();
        words.readWord(key, kKeyChars);
        return true;
    };
    // The value of the current line, from column 8: it must end the line. On failure result is
    // the position to report (-1 after a kind error, whose message is then set).
    const auto value = [&](TokenKind kind) {
        int position = kTextValueColumn;
        const int read = CGrille::readToken(line, position, token, kind);
        if (read == 2) return true;
        if (read == -1) message = token;
        result = position;
        return false;
    };
    // A name: the first word from column 8, at most 8 characters (the key's 8 columns may be
    // followed by a blank or by the name itself); the field is kept when there is none.
    const auto name = [&](std::string& field) {
        if (line.size() <= static_cast<std::size_t>(kTextValueColumn)) return;
        FieldScanner words(std::string_view(line).substr(kTextValueColumn));
        std::string word;
        if (words.readWord(word, kKeyChars)) field = latin1ToUtf8(word);
    };

    if (!nextLine()) return -1;
    if (key != "NUM_OREC") {
        message = ntv2Message(header, texts::kNtv2NotNtv2);
        return -1;
    }
    int overviewCount = 0;
    if (!value(TokenKind::Integer)) return result;
    header_fields::convertInt(token, overviewCount);
    int subGridCount = 0;
    for (int k = 1; k < overviewCount; ++k) {
        if (!nextLine()) return -1;
        if (key == "NUM_SREC" || key == "NUM_FILE") {
            if (!value(TokenKind::Integer)) return result;
            if (key == "NUM_SREC") header_fields::convertInt(token, subGridCount);
        } else if (key == "GS_TYPE") {
            if (!value(TokenKind::Text)) return result;
            if (token != "SECONDS") {
                message = ntv2Message(header, texts::kNtv2UnexpectedGsType);
                return -1;
            }
            header.VALUES_UNIT = header.NODE_COORD_UNIT = header.INC_UNIT = kGridUnitSeconds;
        } else if (key == "VERSION") {
            if (!value(TokenKind::Text)) return result;
        } else if (key == "SYSTEM_F") {
            name(header.SYSTEM_F);
        } else if (key == "SYSTEM_T") {
            name(header.SYSTEM_T);
        } else if (key == "MAJOR_F" || key == "MINOR_F" || key == "MAJOR_T" || key == "MINOR_T") {
            if (!value(TokenKind::Real)) return result;
            double axis = 0;
            header_fields::convertReal(token, axis);
            if (key == "MAJOR_F") header.MAJOR_F = axis;
            if (key == "MAJOR_T") header.MAJOR_T = axis;
            if (key == "MINOR_F") header.SQ_EXC_F = squaredEccentricity(header.MAJOR_F, axis);
            if (key == "MINOR_T") header.SQ_EXC_T = squaredEccentricity(header.MAJOR_T, axis);
        }
    }
    long long gsCount = header.N_NODES;
    for (int k = 0; k < subGridCount; ++k) {
        if (!nextLine()) return -1;
        double* real = key == "S_LAT"      ? &header.Y_MIN
                       : key == "N_LAT"    ? &header.Y_MAX
                       : key == "E_LONG"   ? &header.X_MIN
                       : key == "W_LONG"   ? &header.X_MAX
                       : key == "LAT_INC"  ? &header.Y_INC
                       : key == "LONG_INC" ? &header.X_INC
                                           : nullptr;
        if (real != nullptr) {
            if (!value(TokenKind::Real)) return result;
            header_fields::convertReal(token, *real);
        } else if (key == "SUB_NAME") {
            name(header.DESC);
        } else if (key == "GS_COUNT") {
            if (!value(TokenKind::Integer)) return result;
            int count = 0;
            header_fields::convertInt(token, count);
            gsCount = count;
        }
    }
    message = applyNtv2Settings(header, gsCount);
    if (!message.empty()) return -1;
    header.SEP = 1;
    return -10;
}

HeaderResult readNtv2TextHeader(GridHeader& header, HeaderInput& input) {
    std::string message;
    const int status = readNtv2TextHeaderFields(header, *input.text, message);
    return HeaderResult::from(status, message);
}

std::string loadNtv2BinaryNodes(const GridHeader& header, std::shared_ptr<const GridNodeData>& nodes) {
    // The side file may have changed the counts or the value type: the records they describe
    // are checked against the real file before anything is allocated.
    std::error_code error;
    const auto size = std::filesystem::file_size(header.NAME, error);
    if (error) return fmt::sprintf(texts::kGridCannotOpen, header.NAME);
    std::string message = checkNodeCount(header, static_cast<long long>(size));
    if (!message.empty()) return message;
    message = loadBinaryNodes(header, nodes);
    if (!message.empty() || std::endian::native == std::endian::little) return message;
    // Records in the machine's byte order are turned into the little-endian ones nodeValues reads.
    auto swapped = std::make_shared<GridNodeData>(*nodes);
    const auto width = static_cast<std::size_t>(std::max(header.valueSize, 1));
    auto& bytes = swapped->bytes;
    for (std::size_t at = 0; at + width <= bytes.size(); at += width)
        std::reverse(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                     bytes.begin() + static_cast<std::ptrdiff_t>(at + width));
    nodes = std::move(swapped);
    return {};
}

}  // namespace zelvo
